#pragma once

#include "core/Color.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace design {

// The appearance colours are resolved against, with the one display preference
// that is not a colour: drawings that would move or tilt stay still when it is set.
struct Appearance {
    bool isDark = false;
    bool increaseContrast = false;
    bool reduceMotion = false;

    bool operator==(const Appearance&) const = default;
};

// Six or eight hex digits (RRGGBB or RRGGBBAA), an optional leading "#". Never
// fails: scanning stops at the first character that is not a hex digit, and what
// was scanned is used (nothing scanned: black), as the design files expect.
core::Color colorFromHex(QStringView text);

// A colour with a light, a dark, and two increased-contrast variants.
class DynamicColor {
public:
    // The increased-contrast variants default to the plain variant of the same appearance.
    DynamicColor(QStringView light, QStringView dark, std::optional<QStringView> lightHighContrast = std::nullopt,
                 std::optional<QStringView> darkHighContrast = std::nullopt);

    core::Color resolve(Appearance appearance) const;
    // Against the appearance in effect now (Theme::appearance()).
    core::Color resolve() const;

    core::Color light() const { return m_light; }
    core::Color dark() const { return m_dark; }
    core::Color lightHighContrast() const { return m_lightHighContrast; }
    core::Color darkHighContrast() const { return m_darkHighContrast; }

    bool operator==(const DynamicColor&) const = default;

private:
    core::Color m_light;
    core::Color m_dark;
    core::Color m_lightHighContrast;
    core::Color m_darkHighContrast;
};

// The single source of colour. Tokens are built once on first use, from any thread.
class Theme {
public:
    Theme() = delete;

    // The appearance dynamic tokens resolve against. Light, without increased contrast,
    // until set; the application sets it from the system and from its own setting.
    // A change is announced by AppearanceSignal, so drawn views can repaint.
    static Appearance appearance();
    static void setAppearance(Appearance appearance);

    // One colour in every appearance.
    static core::Color snow();
    static core::Color ink();
    static core::Color subtle();
    static core::Color flame();
    static core::Color amber();
    static core::Color teal();
    static core::Color sky();
    static core::Color green();
    static core::Color onAccent();

    static const DynamicColor& primary();
    static const DynamicColor& primaryPressed();
    static const DynamicColor& text();
    static const DynamicColor& text2();
    static const DynamicColor& text3();
    static const DynamicColor& textPast();
    static const DynamicColor& textFaint();
    static const DynamicColor& year();
    static const DynamicColor& surface();
    static const DynamicColor& surfaceSunk();
    static const DynamicColor& card();
    static const DynamicColor& line();
    static const DynamicColor& strokeStrong();
    static const DynamicColor& fillSoft();
    static const DynamicColor& flameSoft();
    static const DynamicColor& menuItem();
    static const DynamicColor& checkBg();
    static const DynamicColor& checkFg();
    static const DynamicColor& focus();
    static const DynamicColor& amberSoft();
    static const DynamicColor& amberInk();
    static const DynamicColor& leafSoft();
    static const DynamicColor& leafInk();
    // The faint tile behind an accent glyph (a flame symbol on a small square).
    static const DynamicColor& inkTile();

    // flame, amber, teal, sky, green: colours picked by index where nothing else gives one.
    static const std::array<core::Color, 5>& calendarPalette();
};

// Announces changes of Theme::appearance(). Lives as long as the process; its
// signal is emitted on the thread that changed the appearance, and reaches
// receivers on other threads queued.
class AppearanceSignal : public QObject {
    Q_OBJECT

public:
    static AppearanceSignal& instance();

signals:
    void changed(design::Appearance appearance);

private:
    AppearanceSignal() = default;
};

}  // namespace design

Q_DECLARE_METATYPE(design::Appearance)
