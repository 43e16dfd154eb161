#include "design/values/FontWeight.h"

namespace design {

QString avenirName(FontWeight weight) {
    switch (weight) {
        case FontWeight::bold:
        case FontWeight::heavy:
        case FontWeight::black:
            return QStringLiteral("AvenirNext-Bold");
        case FontWeight::semibold:
            return QStringLiteral("AvenirNext-DemiBold");
        case FontWeight::medium:
            return QStringLiteral("AvenirNext-Medium");
        case FontWeight::ultraLight:
        case FontWeight::thin:
        case FontWeight::light:
        case FontWeight::regular:
            break;
    }
    return QStringLiteral("AvenirNext-Regular");
}

}  // namespace design
