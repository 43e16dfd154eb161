#include "design/widgets/KitMenu.h"

#include "design/widgets/CalendarMarks.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <cmath>

namespace design {

namespace {

// Row geometry, in the row's own coordinates.
constexpr qreal kInset = 5;  // of the highlight from the menu's sides
constexpr qreal kCheckWidth = 18;
constexpr qreal kSwatchGap = 6;
constexpr qreal kTrailing = 14;
constexpr qreal kDetailGap = 12;
constexpr qreal kHighlightRadius = 4;
constexpr qreal kCheckSize = 11;
constexpr int kPanelBorder = 1;
constexpr int kVerticalMargin = 4;
constexpr qreal kDisabledSwatchOpacity = 0.45;

constexpr QSizeF kDotBox{10, 10};
constexpr qreal kDotDiameter = 8;
constexpr QSizeF kPillSize{12, 6};
constexpr qreal kSymbolSize = 12;

QFont detailFont() {
    return ODFont::nsBody(11);
}

// The title and detail ride in the option's text, split by a tab as menus carry
// a shortcut; a tab inside either is shown as a space.
QString joined(const MenuRow& row) {
    QString text = row.title;
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (row.detail) {
        QString detail = *row.detail;
        detail.replace(QLatin1Char('\t'), QLatin1Char(' '));
        text += QLatin1Char('\t') + detail;
    }
    return text;
}

std::pair<QString, std::optional<QString>> split(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return {text, std::nullopt};
    return {text.left(tab), text.mid(tab + 1)};
}

QSizeF swatchSize(KitMenu::Swatch shape) {
    return shape == KitMenu::Swatch::dot ? kDotBox : kPillSize;
}

// An icon drawn afresh at every size and state, its pixmaps included.
class DrawnIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
};

class SwatchEngine final : public DrawnIconEngine {
public:
    SwatchEngine(core::Color color, KitMenu::Swatch shape) : m_color(color), m_shape(shape) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            painter->setOpacity(painter->opacity() * kDisabledSwatchOpacity);
        const QSizeF size = swatchSize(m_shape);
        const QRectF box(QRectF(rect).center() - QPointF(size.width() / 2, size.height() / 2), size);
        if (m_shape == KitMenu::Swatch::dot)
            CalendarDot::paint(*painter, box, m_color, kDotDiameter);
        else
            CalendarPill::paint(*painter, box, m_color);
        painter->restore();
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return swatchSize(m_shape).toSize().boundedTo(size);
    }

    QIconEngine* clone() const override { return new SwatchEngine(m_color, m_shape); }
    QString key() const override { return QStringLiteral("orbitday-swatch"); }

private:
    core::Color m_color;
    KitMenu::Swatch m_shape;
};

// A symbol in the colour of the row's text: white on the highlight, faint when disabled.
class SymbolEngine final : public DrawnIconEngine {
public:
    explicit SymbolEngine(QString name) : m_name(std::move(name)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QColor color = toQColor(Theme::text());
        if (mode == QIcon::Disabled)
            color = toQColor(Theme::textFaint());
        else if (mode == QIcon::Selected)
            color = toQColor(Theme::onAccent());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        Symbols::paint(*painter, QRectF(rect), m_name, color, kSymbolSize, FontWeight::regular);
        painter->restore();
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = static_cast<int>(std::ceil(Symbols::boxSide(kSymbolSize)));
        return QSize(side, side).boundedTo(size);
    }

    QIconEngine* clone() const override { return new SymbolEngine(m_name); }
    QString key() const override { return QStringLiteral("orbitday-menu-symbol"); }

private:
    QString m_name;
};

// Draws the panel and rows of kit menus and gives them their metrics; anything
// else is the application style's.
class KitMenuStyle final : public QProxyStyle {
public:
    static KitMenuStyle* instance() {
        static KitMenuStyle* style = [] {
            auto* made = new KitMenuStyle;
            made->setParent(qApp);
            return made;
        }();
        return style;
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (qobject_cast<const KitMenu*>(widget) != nullptr) {
            switch (metric) {
                case PM_MenuPanelWidth:
                    return kPanelBorder;
                case PM_MenuHMargin:
                case PM_MenuDesktopFrameWidth:
                case PM_MenuTearoffHeight:
                    return 0;
                case PM_MenuVMargin:
                    return kVerticalMargin;
                default:
                    break;
            }
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (qobject_cast<const KitMenu*>(widget) != nullptr) {
            switch (hint) {
                case SH_Menu_AllowActiveAndDisabled:
                case SH_Menu_KeyboardSearch:  // the menu's own type-ahead does it
                case SH_Menu_FlashTriggeredItem:
                case SH_Menu_FadeOutOnHide:
                case SH_Menu_SupportsSections:
                case SH_Menu_Mask:
                    return 0;
                case SH_Menu_SpaceActivatesItem:
                case SH_Menu_MouseTracking:
                case SH_Menu_Scrollable:
                    return 1;
                default:
                    break;
            }
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* menu = qobject_cast<const KitMenu*>(widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (menu != nullptr && type == CT_Menu)
            return size;
        if (menu == nullptr || item == nullptr || type != CT_MenuItem)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return QSize(1, KitMenu::kSeparatorHeight);
        const auto [title, detail] = split(item->text);
        return QSize(static_cast<int>(std::ceil(menu->rowWidth(title, detail))), KitMenu::kRowHeight);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (qobject_cast<const KitMenu*>(widget) != nullptr) {
            if (element == PE_PanelMenu) {
                painter->fillRect(option->rect, toQColor(Theme::card()));
                return;
            }
            if (element == PE_FrameMenu) {
                Shape::rectangle().strokeBorder(*painter, QRectF(option->rect), toQColor(Theme::strokeStrong()),
                                                kPanelBorder);
                return;
            }
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* menu = qobject_cast<const KitMenu*>(widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (menu != nullptr && element == CE_MenuEmptyArea)
            return;  // the panel is filled already
        if (menu == nullptr || item == nullptr || element != CE_MenuItem) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            drawSeparator(*painter, QRectF(item->rect));
        else
            drawRow(*painter, *menu, *item);
        painter->restore();
    }

private:
    static void drawSeparator(QPainter& painter, const QRectF& rect) {
        const qreal y = std::floor(rect.center().y());
        painter.fillRect(QRectF(rect.left() + 2 * kInset, y, rect.width() - 4 * kInset, 1), toQColor(Theme::line()));
    }

    static void drawRow(QPainter& painter, const KitMenu& menu, const QStyleOptionMenuItem& item) {
        const QRectF rect(item.rect);
        const bool enabled = (item.state & State_Enabled) != 0;
        const bool selected = enabled && (item.state & State_Selected) != 0;
        if (selected)
            Shape::rounded(kHighlightRadius)
                .fill(painter, rect.adjusted(kInset, 0, -kInset, 0), toQColor(Theme::primary()));

        QColor ink = toQColor(Theme::text());
        QColor grey = toQColor(Theme::text3());
        if (!enabled) {
            ink = toQColor(Theme::textFaint());
            grey = ink;
        } else if (selected) {
            ink = toQColor(Theme::onAccent());
            grey = toQColor(Theme::onAccent().withAlpha(0.8));
        }

        if (item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked)
            Symbols::paint(painter, QRectF(rect.left() + kInset, rect.top(), kCheckWidth, rect.height()),
                           QStringLiteral("checkmark"), ink, kCheckSize, FontWeight::bold);
        if (!item.icon.isNull() && menu.iconColumnWidth() > 0) {
            const qreal width = menu.iconColumnWidth();
            const QRect box = QRectF(rect.left() + kInset + kCheckWidth, rect.top(), width, rect.height()).toRect();
            const QIcon::Mode mode = !enabled ? QIcon::Disabled : selected ? QIcon::Selected : QIcon::Normal;
            item.icon.paint(&painter, box, Qt::AlignCenter, mode);
        }

        const auto [title, detail] = split(item.text);
        const QFont titleFont = menu.look().titleFont;
        const QFontMetricsF titleMetrics(titleFont);
        const QFontMetricsF detailMetrics(detailFont());
        const qreal left = rect.left() + menu.titleLeft();
        const qreal end = rect.right() + 1 - kTrailing - kInset;
        const qreal detailWidth = detail ? detailMetrics.horizontalAdvance(*detail) : 0;
        const qreal titleRoom = std::max<qreal>(0, end - left - (detail ? kDetailGap + detailWidth : 0));
        const qreal titleWidth = std::min(titleMetrics.horizontalAdvance(title), titleRoom);
        painter.setFont(titleFont);
        painter.setPen(ink);
        painter.drawText(QRectF(left, rect.top(), titleWidth + 1, rect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         titleMetrics.elidedText(title, Qt::ElideRight, titleWidth + 0.5));
        if (!detail)
            return;
        const qreal right = std::min(end, left + menu.detailEnd());
        const qreal detailLeft = std::max(left + titleWidth + kDetailGap, right - detailWidth);
        painter.setFont(detailFont());
        painter.setPen(grey);
        painter.drawText(QRectF(detailLeft, rect.top(), right - detailLeft + 0.5, rect.height()),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         detailMetrics.elidedText(*detail, Qt::ElideRight, right - detailLeft + 0.5));
    }
};

QString withoutMnemonics(const QString& title) {
    QString escaped = title;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

KitMenu::KitMenu(Look look, QWidget* parent) : QMenu(parent), m_look(std::move(look)) {
    setStyle(KitMenuStyle::instance());
    setFont(m_look.titleFont);
    setSeparatorsCollapsible(false);
    setToolTipsVisible(false);
}

QAction* KitMenu::addRow(const MenuRow& row, std::function<void()> action) {
    // A title is shown as it stands: "&" marks no shortcut letter.
    auto* item = new QAction(withoutMnemonics(row.title), this);
    item->setCheckable(row.checked);
    item->setChecked(row.checked);
    item->setEnabled(row.enabled);
    if (row.swatch) {
        item->setIcon(swatchIcon(*row.swatch, m_look.swatch));
        item->setIconVisibleInMenu(true);
        ++m_swatchCount;
    } else if (row.symbol) {
        item->setIcon(QIcon(new SymbolEngine(*row.symbol)));
        item->setIconVisibleInMenu(true);
        ++m_symbolCount;
    }
    if (row.detail) {
        const qreal needed = QFontMetricsF(m_look.titleFont).horizontalAdvance(row.title) + kDetailGap +
                             QFontMetricsF(detailFont()).horizontalAdvance(*row.detail);
        m_detailEnd = std::max({m_detailEnd, needed, m_look.detailStop.value_or(0)});
    }
    m_rows.insert(item, row);
    connect(item, &QAction::triggered, this, [run = std::move(action)] {
        if (run)
            run();
    });
    addAction(item);
    return item;
}

void KitMenu::run(const QPoint& at) {
    if (actions().isEmpty())
        return;
    exec(at);
}

const MenuRow* KitMenu::row(const QAction* action) const {
    const auto found = m_rows.constFind(action);
    return found == m_rows.constEnd() ? nullptr : &found.value();
}

qreal KitMenu::iconColumnWidth() const {
    qreal width = hasSwatches() ? swatchSize(m_look.swatch).width() : 0;
    if (m_symbolCount > 0)
        width = std::max(width, Symbols::boxSide(kSymbolSize));
    return width;
}

qreal KitMenu::titleLeft() const {
    qreal left = kInset + kCheckWidth;
    if (iconColumnWidth() > 0)
        left += iconColumnWidth() + kSwatchGap;
    return left;
}

qreal KitMenu::rowWidth(const QString& title, const std::optional<QString>& detail) const {
    qreal content = QFontMetricsF(m_look.titleFont).horizontalAdvance(title);
    if (detail)
        content = m_detailEnd;
    return titleLeft() + content + kTrailing + kInset;
}

QIcon KitMenu::swatchIcon(core::Color color, Swatch shape) {
    return QIcon(new SwatchEngine(color, shape));
}

void KitMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    if (const MenuRow* shown = row(action))
        option->text = joined(*shown);
}

void KitMenu::keyPressEvent(QKeyEvent* event) {
    if (typeAhead(event))
        return;
    QMenu::keyPressEvent(event);
}

bool KitMenu::typeAhead(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const QString text = event->text();
    if (modifiers != Qt::NoModifier || text.isEmpty() || !text.at(0).isPrint())
        return false;
    const qint64 sinceLast = static_cast<qint64>(event->timestamp() - m_lastTypedAt);
    const bool fresh = m_typed.isEmpty() || sinceLast > kTypeAheadPauseMs;
    // Space on its own chooses the selected row; inside a search it is a letter.
    if (fresh && text == QLatin1String(" "))
        return false;
    m_lastTypedAt = event->timestamp();
    QString typed = fresh ? text : m_typed + text;
    QAction* match = firstRowStartingWith(typed);
    if (match == nullptr && !fresh) {
        typed = text;
        match = firstRowStartingWith(typed);
    }
    m_typed = typed;
    if (match != nullptr)
        setActiveAction(match);
    event->accept();
    return true;
}

QAction* KitMenu::firstRowStartingWith(const QString& prefix) const {
    for (QAction* action : actions()) {
        const MenuRow* candidate = row(action);
        if (candidate != nullptr && action->isEnabled() && action->isVisible() &&
            candidate->title.startsWith(prefix, Qt::CaseInsensitive))
            return action;
    }
    return nullptr;
}

}  // namespace design
