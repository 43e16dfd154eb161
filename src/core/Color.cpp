#include "core/Color.h"

#include <algorithm>
#include <cmath>

namespace core {

std::optional<Color> Color::fromHex(QStringView text) {
    QStringView digits = text.trimmed();
    if (digits.startsWith(QLatin1Char('#')))
        digits = digits.mid(1);
    if (digits.size() != 6 && digits.size() != 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (QChar c : digits) {
        int nibble;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            nibble = c.unicode() - '0';
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            nibble = c.unicode() - 'a' + 10;
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            nibble = c.unicode() - 'A' + 10;
        else
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(nibble);
    }
    if (digits.size() == 6)
        value = (value << 8) | 0xFF;
    return Color{static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                 static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Color Color::withAlpha(double a) const {
    Color c = *this;
    c.alpha = static_cast<std::uint8_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255.0));
    return c;
}

QString Color::toHex() const {
    auto hex2 = [](std::uint8_t v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); };
    QString s = QLatin1Char('#') + hex2(red) + hex2(green) + hex2(blue);
    if (alpha != 255)
        s += hex2(alpha);
    return s;
}

size_t qHash(const Color& color, size_t hashSeed) noexcept {
    const quint32 packed = (quint32(color.red) << 24) | (quint32(color.green) << 16) | (quint32(color.blue) << 8) |
                           quint32(color.alpha);
    return ::qHash(packed, hashSeed);
}

}  // namespace core
