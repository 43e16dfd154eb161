#pragma once

#include <QString>

namespace design {

// The weights the kit's texts and symbols are given in, lightest first.
enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };

// The face of the kit's text family that stands for a weight: the family has four,
// so every weight falls onto one of them ("AvenirNext-DemiBold" for semibold).
QString avenirName(FontWeight weight);

}  // namespace design
