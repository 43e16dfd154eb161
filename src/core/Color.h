#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstdint>
#include <optional>

namespace core {

// An sRGB colour with alpha, 8 bits a channel. QtCore-only stand-in for a GUI colour.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    static constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
        return Color{r, g, b, a};
    }
    // Six or eight hex digits (RRGGBB or RRGGBBAA), an optional leading "#".
    static std::optional<Color> fromHex(QStringView text);

    double redF() const { return red / 255.0; }
    double greenF() const { return green / 255.0; }
    double blueF() const { return blue / 255.0; }
    double alphaF() const { return alpha / 255.0; }
    Color withAlpha(double alphaF) const;

    // "#RRGGBB", or "#RRGGBBAA" when not opaque.
    QString toHex() const;

    constexpr bool operator==(const Color&) const = default;
};

size_t qHash(const Color& color, size_t hashSeed = 0) noexcept;

}  // namespace core
