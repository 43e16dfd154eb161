#pragma once

#include "core/Color.h"

#include <QFont>
#include <QHash>
#include <QIcon>
#include <QMenu>
#include <QString>

#include <functional>
#include <optional>

namespace design {

// One choice of a kit menu.
struct MenuRow {
    QString title;
    // Grey text at the right end of the row.
    std::optional<QString> detail;
    // A colour swatch before the title, in the menu's swatch shape.
    std::optional<core::Color> swatch;
    bool checked = false;
    bool enabled = true;
    // A symbol before the title, in the row's text colour, in the swatches' column.
    std::optional<QString> symbol;
};

// The pop-up menu of the kit: a plain QMenu, so the keyboard works as in any
// menu (arrows skip separators and disabled rows, Return chooses, Escape
// dismisses), with rows drawn in the kit's colours: a check mark column, an
// optional colour swatch, the title, and a grey detail right-aligned at a
// common stop. Typing selects the first enabled row whose title starts with
// what was typed. A row's action runs once when the row is chosen; dismissing
// runs nothing. The actions live as long as the menu.
class KitMenu : public QMenu {
    Q_OBJECT

public:
    enum class Swatch {
        // A round dot, 8 across in a 10 × 10 square.
        dot,
        // A 12 × 6 pill, the shape of a calendar's pill.
        pill,
    };
    struct Look {
        QFont titleFont;
        Swatch swatch = Swatch::dot;
        // Where details end, measured from the start of the titles. A row whose
        // title and detail need more moves the stop out for every row, so the
        // details of a menu always line up.
        std::optional<qreal> detailStop;
    };

    static constexpr int kRowHeight = 22;
    static constexpr int kSeparatorHeight = 11;
    // Typed letters more than this far apart start a new search.
    static constexpr int kTypeAheadPauseMs = 1000;

    explicit KitMenu(Look look, QWidget* parent = nullptr);

    QAction* addRow(const MenuRow& row, std::function<void()> action);
    // Runs the menu at a point until it closes. A menu without entries is not
    // shown at all: it would be an invisible window holding the keyboard and
    // the pointer until a click or Escape.
    void run(const QPoint& at);
    // Null for a separator or an action that is not a row.
    const MenuRow* row(const QAction* action) const;
    const Look& look() const { return m_look; }
    bool hasSwatches() const { return m_swatchCount > 0; }
    // The width of the column of swatches and symbols before the titles; 0 without either.
    qreal iconColumnWidth() const;

    // Where a row's title starts, where the details end (from the titles'
    // start) and the widest a row needs to be, in the row's own coordinates.
    qreal titleLeft() const;
    qreal detailEnd() const { return m_detailEnd; }
    qreal rowWidth(const QString& title, const std::optional<QString>& detail) const;

    // The swatch of a row as an icon that draws crisply at any scale.
    static QIcon swatchIcon(core::Color color, Swatch shape);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool typeAhead(QKeyEvent* event);
    QAction* firstRowStartingWith(const QString& prefix) const;

    Look m_look;
    QHash<const QAction*, MenuRow> m_rows;
    int m_swatchCount = 0;
    int m_symbolCount = 0;
    qreal m_detailEnd = 0;
    QString m_typed;
    quint64 m_lastTypedAt = 0;
};

}  // namespace design
