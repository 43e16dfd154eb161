#include "design/values/Theme.h"

#include "model/ODCalendar.h"

#include <QChar>

#include <atomic>
#include <cstdint>
#include <limits>

namespace design {

namespace {

bool isHorizontalSpace(QChar c) {
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// A hexadecimal unsigned 64-bit number at the start of the text, after any white
// space or line breaks, with an optional "0x"; saturates on overflow; 0 when
// nothing is scanned.
std::uint64_t scanHex(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        hexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0) {
            break;
        }
        if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
            overflow = true;
        }
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return overflow ? std::numeric_limits<std::uint64_t>::max() : value;
}

std::uint8_t byteAt(std::uint64_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

// One word, so that a reader never sees half of a change.
constexpr unsigned kDark = 1;
constexpr unsigned kIncreaseContrast = 2;
constexpr unsigned kReduceMotion = 4;
std::atomic<unsigned> g_appearance{0};

unsigned pack(Appearance appearance) {
    return (appearance.isDark ? kDark : 0) | (appearance.increaseContrast ? kIncreaseContrast : 0) |
           (appearance.reduceMotion ? kReduceMotion : 0);
}

}  // namespace

core::Color colorFromHex(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isHorizontalSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isHorizontalSpace(text[end - 1])) {
        --end;
    }
    QStringView digits = text.sliced(begin, end - begin);
    if (digits.startsWith(u'#')) {
        digits = digits.sliced(1);
    }
    const std::uint64_t value = scanHex(digits);
    if (digits.size() == 8) {
        return core::Color::rgb(byteAt(value, 24), byteAt(value, 16), byteAt(value, 8), byteAt(value, 0));
    }
    return core::Color::rgb(byteAt(value, 16), byteAt(value, 8), byteAt(value, 0), 255);
}

DynamicColor::DynamicColor(QStringView light, QStringView dark, std::optional<QStringView> lightHighContrast,
                           std::optional<QStringView> darkHighContrast)
    : m_light(colorFromHex(light)),
      m_dark(colorFromHex(dark)),
      m_lightHighContrast(lightHighContrast ? colorFromHex(*lightHighContrast) : m_light),
      m_darkHighContrast(darkHighContrast ? colorFromHex(*darkHighContrast) : m_dark) {}

core::Color DynamicColor::resolve(Appearance appearance) const {
    if (appearance.isDark) {
        return appearance.increaseContrast ? m_darkHighContrast : m_dark;
    }
    return appearance.increaseContrast ? m_lightHighContrast : m_light;
}

core::Color DynamicColor::resolve() const {
    return resolve(Theme::appearance());
}

Appearance Theme::appearance() {
    const unsigned bits = g_appearance.load();
    return Appearance{(bits & kDark) != 0, (bits & kIncreaseContrast) != 0, (bits & kReduceMotion) != 0};
}

void Theme::setAppearance(Appearance appearance) {
    if (g_appearance.exchange(pack(appearance)) != pack(appearance))
        emit AppearanceSignal::instance().changed(appearance);
}

AppearanceSignal& AppearanceSignal::instance() {
    static AppearanceSignal* const signal = [] {
        qRegisterMetaType<design::Appearance>();
        return new AppearanceSignal;
    }();
    return *signal;
}

#define ORBITDAY_PLAIN_TOKEN(name, hex)                         \
    core::Color Theme::name() {                                 \
        static const core::Color color = colorFromHex(u"" hex); \
        return color;                                           \
    }

ORBITDAY_PLAIN_TOKEN(snow, "#F6F7F8")
ORBITDAY_PLAIN_TOKEN(ink, "#1C1F24")
ORBITDAY_PLAIN_TOKEN(subtle, "#6E747C")
ORBITDAY_PLAIN_TOKEN(flame, "#F0561D")
ORBITDAY_PLAIN_TOKEN(amber, "#F5A524")
ORBITDAY_PLAIN_TOKEN(teal, "#14A39A")
ORBITDAY_PLAIN_TOKEN(green, "#4FA45A")

#undef ORBITDAY_PLAIN_TOKEN

core::Color Theme::sky() {
    return model::kDefaultCalendarColor;
}

core::Color Theme::onAccent() {
    return core::Color::rgb(255, 255, 255);
}

#define ORBITDAY_DYNAMIC_TOKEN(name, ...)             \
    const DynamicColor& Theme::name() {               \
        static const DynamicColor color(__VA_ARGS__); \
        return color;                                 \
    }

// Where the design leaves an alpha open, the choice follows the neighbouring
// variants: increased contrast is always at least as strong as the plain variant,
// and faint text stays fainter than past text.
ORBITDAY_DYNAMIC_TOKEN(primary, u"#C53D0A", u"#C53D0A", u"#A52E06", u"#A52E06")
ORBITDAY_DYNAMIC_TOKEN(primaryPressed, u"#B33308", u"#B33308", u"#8D2604", u"#8D2604")
ORBITDAY_DYNAMIC_TOKEN(text, u"#1C1F24", u"#F6F7F8")
ORBITDAY_DYNAMIC_TOKEN(text2, u"#5C626B", u"#A3A9B1", u"#33383F", u"#D5D9DE")
ORBITDAY_DYNAMIC_TOKEN(text3, u"#6E747C", u"#8A9099", u"#40454C", u"#C4C9CF")
ORBITDAY_DYNAMIC_TOKEN(textPast, u"#1C1F2499", u"#F6F7F899", u"#1C1F24D9", u"#F6F7F8D9")
ORBITDAY_DYNAMIC_TOKEN(textFaint, u"#1C1F244D", u"#F6F7F84D", u"#1C1F2480", u"#F6F7F880")
ORBITDAY_DYNAMIC_TOKEN(year, u"#1C1F2440", u"#F6F7F840", u"#1C1F2466", u"#F6F7F866")
ORBITDAY_DYNAMIC_TOKEN(surface, u"#F6F7F8", u"#24282E")
ORBITDAY_DYNAMIC_TOKEN(surfaceSunk, u"#EDEFF1", u"#1E2126")
ORBITDAY_DYNAMIC_TOKEN(card, u"#FFFFFF", u"#2E333A")
ORBITDAY_DYNAMIC_TOKEN(line, u"#1C1F241A", u"#F6F7F81A", u"#1C1F24", u"#F6F7F8B3")
ORBITDAY_DYNAMIC_TOKEN(strokeStrong, u"#1C1F2459", u"#F6F7F859", u"#1C1F24", u"#F6F7F8")
ORBITDAY_DYNAMIC_TOKEN(fillSoft, u"#1C1F240F", u"#F6F7F812")
ORBITDAY_DYNAMIC_TOKEN(flameSoft, u"#F0561D1A", u"#F0561D2E")
ORBITDAY_DYNAMIC_TOKEN(menuItem, u"#1C1F2414", u"#F6F7F814")
ORBITDAY_DYNAMIC_TOKEN(checkBg, u"#1C1F24", u"#F6F7F8")
ORBITDAY_DYNAMIC_TOKEN(checkFg, u"#FFFFFF", u"#1C1F24")
ORBITDAY_DYNAMIC_TOKEN(focus, u"#3E8ED0", u"#5AA6E6")
ORBITDAY_DYNAMIC_TOKEN(amberSoft, u"#F5A52433", u"#F5A5243D")
ORBITDAY_DYNAMIC_TOKEN(amberInk, u"#94600A", u"#F5C26B")
ORBITDAY_DYNAMIC_TOKEN(leafSoft, u"#4FA45A24", u"#4FA45A2E")
ORBITDAY_DYNAMIC_TOKEN(leafInk, u"#2F7A3A", u"#8FD39A")
// A shade above fillSoft, so the tile still shows on the sunken and card surfaces
// it sits on, and light enough that a flame glyph keeps its contrast; increased
// contrast doubles it so the tile's edge stays visible.
ORBITDAY_DYNAMIC_TOKEN(inkTile, u"#1C1F2414", u"#F6F7F81A", u"#1C1F2429", u"#F6F7F833")

#undef ORBITDAY_DYNAMIC_TOKEN

const std::array<core::Color, 5>& Theme::calendarPalette() {
    static const std::array<core::Color, 5> palette{flame(), amber(), teal(), sky(), green()};
    return palette;
}

}  // namespace design
