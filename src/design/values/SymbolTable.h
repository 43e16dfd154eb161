#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace design {

// Where the drawing of a named symbol lives among the bundled icons.
struct SymbolSource {
    // A resource path (":/icons/outline/calendar.svg").
    QString path;
    // Drawn as filled shapes, so a stroke weight does not apply.
    bool filled = false;

    bool operator==(const SymbolSource&) const = default;
};

// The table from the symbol names the screens use ("calendar", "chevron.down",
// "video.fill") to the bundled drawings.
class SymbolTable {
public:
    SymbolTable() = delete;

    // Whether a symbol of that name can be drawn: screens that have a second
    // choice for a symbol ask this first.
    static bool hasSymbol(const QString& name);
    static std::optional<SymbolSource> source(const QString& name);
    // The neutral glyph drawn in place of a name the table does not know.
    static SymbolSource fallback();
    // Every name, sorted.
    static QStringList names();
};

}  // namespace design
