#include "GalleryEntries.h"

#include "FieldEntries.h"
#include "FormEntries.h"
#include "GalleryParts.h"

#include "design/values/SymbolTable.h"
#include "design/widgets/CalendarMarks.h"
#include "design/widgets/CountdownSticker.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SectionHeader.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/Tilt.h"
#include "state/PlatformWords.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <cmath>

namespace gallery {

namespace {

using namespace design;

// A grid whose first row and column are captions.
class Table : public QWidget {
public:
    Table(const QStringList& columns) {
        m_grid = new QGridLayout(this);
        m_grid->setContentsMargins(0, 0, 0, 0);
        m_grid->setHorizontalSpacing(16);
        m_grid->setVerticalSpacing(12);
        for (int c = 0; c < columns.size(); ++c)
            m_grid->addWidget(caption(columns[c]), 0, c + 1);
    }
    void addRow(const QString& title, const QList<QWidget*>& cells) {
        const int row = m_grid->rowCount();
        m_grid->addWidget(caption(title), row, 0);
        for (int c = 0; c < cells.size(); ++c)
            if (cells[c] != nullptr)
                m_grid->addWidget(cells[c], row, c + 1, Qt::AlignLeft | Qt::AlignVCenter);
    }

private:
    QGridLayout* m_grid;
};

QString kindName(ODButtonKind kind) {
    switch (kind) {
        case ODButtonKind::primary:
            return QStringLiteral("primary");
        case ODButtonKind::secondary:
            return QStringLiteral("secondary");
        case ODButtonKind::ghost:
            return QStringLiteral("ghost");
        case ODButtonKind::danger:
            return QStringLiteral("danger");
    }
    return {};
}

QWidget* buttons() {
    auto* table = new Table({QStringLiteral("small"), QStringLiteral("medium"), QStringLiteral("large"),
                             QStringLiteral("pressed"), QStringLiteral("disabled")});
    for (ODButtonKind kind : {ODButtonKind::primary, ODButtonKind::secondary, ODButtonKind::ghost,
                              ODButtonKind::danger}) {
        auto* pressed = new ODButton(QStringLiteral("Pressed"), std::nullopt, kind);
        pressed->setDown(true);
        auto* disabled = new ODButton(QStringLiteral("Disabled"), std::nullopt, kind);
        disabled->setEnabled(false);
        table->addRow(kindName(kind),
                      {new ODButton(QStringLiteral("Add event"), QStringLiteral("plus"), kind, ODButtonSize::small),
                       new ODButton(QStringLiteral("Join"), QStringLiteral("video.fill"), kind),
                       new ODButton(QStringLiteral("Delete"), QStringLiteral("trash"), kind, ODButtonSize::large),
                       pressed, disabled});
    }
    table->addRow(QStringLiteral("label"),
                  {new ODButton(QString(), QStringLiteral("gearshape"), ODButtonKind::secondary),
                   new ODButton(QStringLiteral("Title only"), std::nullopt, ODButtonKind::secondary),
                   new ODButton(QString(), std::nullopt, ODButtonKind::secondary)});
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(table);
    column->addWidget(caption(QStringLiteral("full width")));
    column->addWidget(new ODButton(QStringLiteral("Choose image…"), QStringLiteral("photo"), ODButtonKind::primary,
                                   ODButtonSize::medium, true));
    return page;
}

QWidget* iconButtons() {
    auto* table = new Table({QStringLiteral("24"), QStringLiteral("28"), QStringLiteral("30"),
                             QStringLiteral("pressed"), QStringLiteral("disabled")});
    auto* pressed = new ODIconButton(QStringLiteral("chevron.right"), 28);
    pressed->setDown(true);
    auto* disabled = new ODIconButton(QStringLiteral("speaker.wave.2"), 26, QStringLiteral("Preview sound"));
    disabled->setEnabled(false);
    table->addRow(QStringLiteral("icon"), {new ODIconButton(QStringLiteral("xmark"), 24, QStringLiteral("Dismiss")),
                                           new ODIconButton(QStringLiteral("chevron.left"), 28,
                                                            QStringLiteral("Previous month")),
                                           new ODIconButton(QStringLiteral("link"), 30,
                                                            QStringLiteral("Copy meeting link")),
                                           pressed, disabled});
    return table;
}

QWidget* focusRings() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(20);
    auto* button = new ODButton(QStringLiteral("Focused"), std::nullopt, ODButtonKind::secondary);
    new FocusWhenShown(button);
    row->addWidget(button);
    auto* plain = new ODButton(QStringLiteral("Not focused"), std::nullopt, ODButtonKind::secondary);
    row->addWidget(plain);
    row->addStretch(1);
    return page;
}

QWidget* iconFocusRing() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(8, 8, 8, 8);
    auto* button = new ODIconButton(QStringLiteral("chevron.right"), 28, QStringLiteral("Next month"));
    new FocusWhenShown(button);
    row->addWidget(button);
    row->addStretch(1);
    return page;
}

QWidget* keycaps() {
    constexpr std::uint32_t command = 0x100;
    constexpr std::uint32_t shift = 0x200;
    constexpr std::uint32_t option = 0x800;
    auto* page = new QWidget;
    auto* rows = new QVBoxLayout(page);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(10);
    const QList<QStringList> shortcuts{
        app::words::shortcutParts(command | option, QStringLiteral("C")),
        app::words::shortcutParts(command | shift, QStringLiteral("N")),
        {QStringLiteral("↩")},
        {QStringLiteral("esc")},
        {QStringLiteral("K"), QStringLiteral("1"), QStringLiteral("⇥"), QStringLiteral("⌫")},
    };
    for (const QStringList& parts : shortcuts) {
        auto* row = new QHBoxLayout;
        row->setSpacing(4);
        for (const QString& part : parts)
            row->addWidget(new Keycap(part));
        row->addStretch(1);
        rows->addLayout(row);
    }
    return page;
}

QWidget* stickers() {
    auto* table = new Table({QStringLiteral("−2.5°"), QStringLiteral("0°"), QStringLiteral("+4°")});
    table->addRow(QStringLiteral("sticker"), {new CountdownSticker(QStringLiteral("in 5 min"), -2.5),
                                              new CountdownSticker(QStringLiteral("now"), 0),
                                              new CountdownSticker(QStringLiteral("in 1h 20m"), 4)});
    return table;
}

QWidget* calendarMarks() {
    auto* table = new Table({QStringLiteral("flame"), QStringLiteral("amber"), QStringLiteral("teal"),
                             QStringLiteral("sky"), QStringLiteral("green")});
    QList<QWidget*> dots;
    QList<QWidget*> bigDots;
    QList<QWidget*> pills;
    QList<QWidget*> bars;
    for (const core::Color& color : Theme::calendarPalette()) {
        dots << new CalendarDot(color, 6);
        bigDots << new CalendarDot(color, 10);
        pills << new CalendarPill(color, 3, 14);
        bars << new CalendarPill(color, 24, 6);
    }
    table->addRow(QStringLiteral("dot 6"), dots);
    table->addRow(QStringLiteral("dot 10"), bigDots);
    table->addRow(QStringLiteral("pill 3×14"), pills);
    table->addRow(QStringLiteral("pill 24×6"), bars);
    return table;
}

QWidget* headersAndLines() {
    auto* page = new QWidget;
    page->setMinimumWidth(280);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(new SectionHeader(QStringLiteral("Calendars")));
    column->addWidget(new Hairline);
    auto* reminders = new SectionHeader(QStringLiteral("Reminders"));
    reminders->setTrailingText(QStringLiteral("3 due"));
    column->addWidget(reminders);
    auto* row = new QHBoxLayout;
    row->addWidget(caption(QStringLiteral("left")));
    row->addWidget(new Hairline(Qt::Vertical));
    row->addWidget(caption(QStringLiteral("right")));
    row->addStretch(1);
    column->addLayout(row);
    return page;
}

// Every symbol of the table, with its name, and one unknown name.
class SymbolSheet : public QWidget {
public:
    SymbolSheet() : m_names(SymbolTable::names()) {
        m_names << QStringLiteral("no.such.symbol");
        setFixedSize(kColumns * kCell.width(), ((m_names.size() + kColumns - 1) / kColumns) * kCell.height());
        followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(ODFont::body(9, FontWeight::medium));
        for (int i = 0; i < m_names.size(); ++i) {
            const QRectF cell(QPointF((i % kColumns) * kCell.width(), (i / kColumns) * kCell.height()), kCell);
            const QColor tint = m_names[i] == QLatin1String("sparkles") ? toQColor(Theme::flame())
                                                                          : toQColor(Theme::text());
            Symbols::paint(painter, cell.adjusted(0, 4, 0, -18), m_names[i], tint, 16, FontWeight::semibold);
            painter.setPen(toQColor(Theme::text3()));
            painter.drawText(cell.adjusted(2, 0, -2, -3), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine,
                             QFontMetricsF(painter.font()).elidedText(m_names[i], Qt::ElideMiddle, kCell.width() - 4));
        }
    }

private:
    static constexpr int kColumns = 8;
    static constexpr QSizeF kCell{96, 52};
    QStringList m_names;
};

// Symbols at the sizes and weights the screens ask for, beside text of that size.
class SymbolWeights : public QWidget {
public:
    SymbolWeights() {
        setFixedSize(kLabelWidth + kWeights.size() * kColumnWidth, kSizes.size() * kRowHeight + kRowHeight / 2);
        followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(toQColor(Theme::text3()));
        painter.setFont(ODFont::body(10, FontWeight::medium));
        for (size_t w = 0; w < kWeights.size(); ++w)
            painter.drawText(QRectF(kLabelWidth + w * kColumnWidth, 0, kColumnWidth, kRowHeight / 2),
                             Qt::AlignLeft | Qt::AlignVCenter, avenirName(kWeights[w]).mid(11));
        for (size_t r = 0; r < kSizes.size(); ++r) {
            const qreal size = kSizes[r];
            const qreal top = kRowHeight / 2 + r * kRowHeight;
            painter.setPen(toQColor(Theme::text3()));
            painter.setFont(ODFont::body(10, FontWeight::medium));
            painter.drawText(QRectF(0, top, kLabelWidth, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::number(size));
            for (size_t w = 0; w < kWeights.size(); ++w) {
                const qreal left = kLabelWidth + w * kColumnWidth;
                const qreal side = Symbols::boxSide(size);
                qreal x = left;
                for (const QString& name : {QStringLiteral("calendar"), QStringLiteral("chevron.down"),
                                            QStringLiteral("video.fill")}) {
                    Symbols::paint(painter, QRectF(x, top, side, kRowHeight), name, toQColor(Theme::text()), size,
                                   kWeights[w]);
                    x += side + 2;
                }
                painter.setPen(toQColor(Theme::text()));
                painter.setFont(ODFont::body(size, kWeights[w]));
                painter.drawText(QRectF(x + 2, top, kColumnWidth, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                                 QStringLiteral("Ag"));
            }
        }
    }

private:
    static constexpr int kLabelWidth = 28;
    static constexpr int kColumnWidth = 140;
    static constexpr int kRowHeight = 30;
    static constexpr std::array<qreal, 4> kSizes{9, 12, 15, 20};
    static constexpr std::array<FontWeight, 4> kWeights{FontWeight::regular, FontWeight::medium,
                                                        FontWeight::semibold, FontWeight::bold};
};

// Symbols on the small tiles the screens put them on: the faint ink tile behind
// an accent glyph, and the soft and tinted tiles beside it.
class IconTiles : public QWidget {
public:
    IconTiles() {
        setFixedSize(kTiles * kCell, kCell + 16);
        followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        struct Tile {
            QString symbol;
            QColor tint;
            QColor fill;
            qreal side;
            qreal radius;
            qreal size;
            FontWeight weight;
            qreal tilt;
            QString caption;
        };
        const Tile tiles[kTiles] = {
            {QStringLiteral("calendar"), toQColor(Theme::flame()), toQColor(Theme::inkTile()), 22, 6, 11,
             FontWeight::bold, 0, QStringLiteral("inkTile")},
            {QStringLiteral("plus"), toQColor(Theme::flame()), toQColor(Theme::inkTile()), 22, 6, 11,
             FontWeight::bold, 0, QStringLiteral("inkTile")},
            {QStringLiteral("photo.badge.plus"), toQColor(Theme::flame()), toQColor(Theme::flameSoft()), 22, 7, 11,
             FontWeight::semibold, 0, QStringLiteral("flameSoft")},
            {QStringLiteral("checklist"), toQColor(Theme::text2()), toQColor(Theme::fillSoft()), 28, 8, 12,
             FontWeight::semibold, 0, QStringLiteral("fillSoft")},
            {QStringLiteral("party.popper"), toQColor(Theme::onAccent()), toQColor(Theme::green()), 26, 8, 12,
             FontWeight::semibold, -4, QStringLiteral("green")},
            {QStringLiteral("sun.max"), toQColor(Theme::ink()), toQColor(Theme::amber()), 44, 13, 20,
             FontWeight::semibold, -4, QStringLiteral("amber")},
        };
        for (int i = 0; i < kTiles; ++i) {
            const Tile& tile = tiles[i];
            const QRectF cell(i * kCell, 0, kCell, kCell);
            const QRectF square = odSquare(cell, tile.side);
            painter.save();
            odTilt(painter, square, tile.tilt);
            Shape::rounded(tile.radius).fill(painter, square, tile.fill);
            Symbols::paint(painter, square, tile.symbol, tile.tint, tile.size, tile.weight);
            painter.restore();
            painter.setPen(toQColor(Theme::text3()));
            painter.setFont(ODFont::body(9, FontWeight::medium));
            painter.drawText(QRectF(cell.left(), kCell, kCell, 16), Qt::AlignCenter, tile.caption);
        }
    }

private:
    static constexpr int kTiles = 6;
    static constexpr int kCell = 64;
};

QWidget* fonts() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    const QFont body = ODFont::body(13);
    column->addWidget(caption(QStringLiteral("body: ") + QFontInfo(body).family() + QStringLiteral(", display: ") +
                              QFontInfo(ODFont::display(19)).family()));
    column->addWidget(new TextLine(QStringLiteral("Display 19 · Change a repeating event"), ODFont::display(19),
                                   Theme::text()));
    for (FontWeight weight : {FontWeight::regular, FontWeight::medium, FontWeight::semibold, FontWeight::bold})
        column->addWidget(new TextLine(QStringLiteral("Body 13 %1 · Standup tomorrow 9:30 for 15m")
                                           .arg(avenirName(weight)),
                                       ODFont::body(13, weight), Theme::text()));
    column->addWidget(new TextLine(QStringLiteral("Secondary 12 · text2"), ODFont::body(12), Theme::text2()));
    column->addWidget(new TextLine(QStringLiteral("Tertiary 11 · text3"), ODFont::body(11), Theme::text3()));
    return page;
}

}  // namespace

const std::vector<Entry>& entries() {
    static const std::vector<Entry> all{
        {QStringLiteral("buttons"), buttons},
        {QStringLiteral("icon-buttons"), iconButtons},
        {QStringLiteral("focus-ring"), focusRings},
        {QStringLiteral("icon-focus-ring"), iconFocusRing},
        {QStringLiteral("keycaps"), keycaps},
        {QStringLiteral("countdown-stickers"), stickers},
        {QStringLiteral("calendar-marks"), calendarMarks},
        {QStringLiteral("icon-tiles"), [] { return static_cast<QWidget*>(new IconTiles); }},
        {QStringLiteral("headers-and-lines"), headersAndLines},
        {QStringLiteral("symbols"), [] { return static_cast<QWidget*>(new SymbolSheet); }},
        {QStringLiteral("symbol-weights"), [] { return static_cast<QWidget*>(new SymbolWeights); }},
        {QStringLiteral("fonts"), fonts},
        {QStringLiteral("switches"), forms::switches},
        {QStringLiteral("segmented"), forms::segmented},
        {QStringLiteral("field-backgrounds"), forms::fieldBackgrounds},
        {QStringLiteral("settings-rows"), forms::settingsRows},
        {QStringLiteral("settings-notes"), forms::settingsNotes},
        {QStringLiteral("link-buttons"), forms::linkButtons},
        {QStringLiteral("flow-layout"), forms::flowLayout},
        {QStringLiteral("menu-buttons"), forms::menuButtons},
        {QStringLiteral("menu-button-open"), forms::openMenuButton},
        {QStringLiteral("popup-menu-open"), forms::openPopupMenu},
        {QStringLiteral("form-tiles"), forms::formTiles},
        {QStringLiteral("text-fields"), forms::textFields},
        {QStringLiteral("calendar-chips"), forms::calendarChips},
        {QStringLiteral("field-choice-buttons"), forms::fieldChoiceButtons},
        {QStringLiteral("keycap-buttons"), forms::keycapButtons},
        {QStringLiteral("avatars"), forms::avatars},
        {QStringLiteral("line-fields"), fields::lineFields},
        {QStringLiteral("plain-buttons"), fields::plainButtons},
        {QStringLiteral("field-cards"), fields::fieldCards},
        {QStringLiteral("month-picker"), fields::monthPicker},
        {QStringLiteral("time-pickers"), fields::timePickers},
        {QStringLiteral("durations-and-quick-choices"), fields::durationsAndQuickChoices},
        {QStringLiteral("anchored-popover"), fields::anchoredPopover},
    };
    return all;
}

const std::vector<NamedAppearance>& appearances() {
    static const std::vector<NamedAppearance> all{
        {QStringLiteral("light"), design::Appearance{false, false}},
        {QStringLiteral("dark"), design::Appearance{true, false}},
        {QStringLiteral("light-contrast"), design::Appearance{false, true}},
        {QStringLiteral("dark-contrast"), design::Appearance{true, true}},
    };
    return all;
}

}  // namespace gallery
