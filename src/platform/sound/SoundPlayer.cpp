#include "platform/sound/SoundPlayer.h"

#include <array>
#include <utility>

namespace platform {

using namespace Qt::Literals::StringLiterals;

namespace {

// Each alert sound stands for a theme sound of a like character; the
// freedesktop theme has every one of these, so none falls back to another.
const std::array<std::pair<QString, QString>, 12>& soundTable() {
    static const std::array<std::pair<QString, QString>, 12> table{{
        {u"Pop"_s, u"message-new-instant"_s},
        {u"Glass"_s, u"complete"_s},
        {u"Ping"_s, u"message"_s},
        {u"Purr"_s, u"dialog-information"_s},
        {u"Tink"_s, u"audio-volume-change"_s},
        {u"Submarine"_s, u"device-added"_s},
        {u"Hero"_s, u"service-login"_s},
        {u"Funk"_s, u"dialog-warning"_s},
        {u"Bottle"_s, u"window-attention"_s},
        {u"Blow"_s, u"trash-empty"_s},
        {u"Morse"_s, u"phone-incoming-call"_s},
        {u"Sosumi"_s, u"dialog-error"_s},
    }};
    return table;
}

}  // namespace

const QStringList& alertSoundNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const auto& entry : soundTable())
            list << entry.first;
        return list;
    }();
    return names;
}

std::optional<QString> themeSoundFor(const QString& name) {
    for (const auto& [alertName, themeName] : soundTable()) {
        if (alertName == name)
            return themeName;
    }
    return std::nullopt;
}

}  // namespace platform
