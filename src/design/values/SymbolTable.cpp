#include "design/values/SymbolTable.h"

#include <QHash>

#include <algorithm>

namespace design {

namespace {

struct Entry {
    const char16_t* name;
    const char16_t* file;
    bool filled;
};

// Symbol name, then the drawing of the bundled set that shows the same thing.
// Where the set has no exact counterpart the nearest one is used (noted on the
// line). A name whose screen offers a second choice is left out rather than
// mapped loosely, so that the screen falls back to its own choice.
constexpr Entry kEntries[] = {
    {u"airplane", u"plane", true},
    {u"alarm", u"alarm", false},
    {u"arrow.counterclockwise", u"arrow-counterclockwise", false},
    {u"arrow.right", u"arrow-right", false},
    {u"arrow.right.circle", u"circle-arrow-right", false},
    {u"arrow.triangle.2.circlepath", u"refresh", false},
    {u"arrow.up.right", u"arrow-up-right", false},
    {u"arrow.uturn.backward", u"arrow-back-up", false},
    {u"bell", u"bell", false},
    {u"briefcase", u"briefcase", false},
    {u"bubble.left.and.bubble.right", u"messages", false},
    {u"calendar", u"calendar", false},
    {u"calendar.badge.clock", u"calendar-clock", false},
    {u"calendar.badge.exclamationmark", u"calendar-exclamation", false},
    {u"calendar.badge.minus", u"calendar-minus", false},
    {u"calendar.badge.plus", u"calendar-plus", false},
    {u"checklist", u"list-check", false},
    {u"checkmark", u"check", false},
    {u"checkmark.circle", u"circle-check", false},
    {u"checkmark.shield", u"shield-check", false},
    {u"chevron.down", u"chevron-down", false},
    {u"chevron.left", u"chevron-left", false},
    {u"chevron.right", u"chevron-right", false},
    {u"chevron.up", u"chevron-up", false},
    {u"chevron.up.chevron.down", u"selector", false},
    {u"circle.dashed", u"circle-dashed", false},
    {u"clock", u"clock", false},
    {u"clock.arrow.circlepath", u"history", false},
    {u"command", u"command", false},
    {u"display", u"device-desktop", false},
    {u"dot.radiowaves.left.and.right", u"broadcast", false},
    {u"exclamationmark.triangle", u"alert-triangle", false},
    {u"flag", u"flag", false},
    {u"folder", u"folder", false},
    {u"gearshape", u"settings", false},
    {u"gift", u"gift", false},
    {u"headphones", u"headphones", false},
    {u"icloud", u"cloud", false},
    {u"info.circle", u"info-circle", false},
    {u"key.fill", u"key", true},
    {u"laptopcomputer", u"device-laptop", false},
    {u"link", u"link", false},
    {u"list.bullet", u"list", false},
    {u"lock", u"lock", false},
    {u"mappin.and.ellipse", u"map-pin", false},
    {u"moon", u"moon", false},
    {u"nosign", u"ban", false},
    {u"number", u"hash", false},
    {u"party.popper", u"confetti", false},  // nearest: a popper's burst of confetti
    {u"pencil", u"pencil", false},
    {u"person.2", u"users", false},
    {u"person.2.fill", u"users", false},  // nearest: the set draws two people in outline only
    {u"person.crop.circle", u"user-circle", false},
    {u"phone.fill", u"phone", true},
    {u"photo", u"photo", false},
    {u"photo.badge.arrow.down", u"photo-down", false},
    {u"photo.badge.plus", u"photo-plus", false},
    {u"plus", u"plus", false},
    {u"questionmark.circle", u"help-circle", false},
    {u"repeat", u"repeat", false},
    {u"sparkles", u"sparkles", true},
    {u"speaker.wave.2", u"volume", false},
    {u"sun.max", u"sun", false},
    {u"text.viewfinder", u"text-scan-2", false},
    {u"textformat", u"letter-case", false},
    {u"timer", u"stopwatch", false},  // nearest: a dial with a crown
    {u"trash", u"trash", false},
    {u"video", u"video", false},
    {u"video.fill", u"video", true},
    {u"xmark", u"x", false},
    {u"xmark.circle", u"circle-x", false},
};

SymbolSource sourceOf(const Entry& entry) {
    const QString folder = entry.filled ? QStringLiteral(":/icons/filled/") : QStringLiteral(":/icons/outline/");
    return SymbolSource{folder + QString::fromUtf16(entry.file) + QStringLiteral(".svg"), entry.filled};
}

const QHash<QString, SymbolSource>& table() {
    static const QHash<QString, SymbolSource> sources = [] {
        QHash<QString, SymbolSource> built;
        for (const Entry& entry : kEntries)
            built.insert(QString::fromUtf16(entry.name), sourceOf(entry));
        return built;
    }();
    return sources;
}

}  // namespace

bool SymbolTable::hasSymbol(const QString& name) {
    return table().contains(name);
}

std::optional<SymbolSource> SymbolTable::source(const QString& name) {
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return std::nullopt;
    return *it;
}

SymbolSource SymbolTable::fallback() {
    return sourceOf(Entry{u"", u"circle-dot", false});
}

QStringList SymbolTable::names() {
    QStringList all = table().keys();
    std::sort(all.begin(), all.end());
    return all;
}

}  // namespace design
