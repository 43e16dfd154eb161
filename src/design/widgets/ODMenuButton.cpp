#include "design/widgets/ODMenuButton.h"

#include "design/widgets/CalendarMarks.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr QMarginsF kPadding{10, 6, 10, 6};
constexpr qreal kSpacing = 8;
// The least room between the texts and the chevron: a spacer of 4 with the
// row's spacing on each side.
constexpr qreal kChevronGap = kSpacing + 4 + kSpacing;
constexpr QSizeF kPillSize{12, 6};
constexpr qreal kChevronSize = 9;

QFont titleFont() {
    return ODFont::body(13, FontWeight::medium);
}

QFont detailFont() {
    return ODFont::body(11);
}

void drawLine(QPainter& painter, qreal left, const QRectF& row, qreal width, const QString& text, const QFont& font,
              const QColor& color) {
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRectF(left, row.top(), width + 1, row.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(text, Qt::ElideRight, width + 0.5));
}

}  // namespace

MenuButtonControl::MenuButtonControl(qreal width, const QString& placeholder, bool focused, QWidget* parent)
    : QAbstractButton(parent), m_givenWidth(width), m_width(width), m_placeholder(placeholder), m_focused(focused) {
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    setAccessibleRole(this, QAccessible::ComboBox);
    followAppearance(this);
    odFocusRing(this, Shape::rounded(FieldBackground::kCornerRadius));
    connect(this, &QAbstractButton::clicked, this, &MenuButtonControl::popUp);
}

void MenuButtonControl::setPlaceholder(const QString& placeholder) {
    m_placeholder = placeholder;
    showCurrent();
}

void MenuButtonControl::setShowsFocused(bool focused) {
    m_focused = focused;
    update();
}

void MenuButtonControl::setEntries(std::vector<Entry> entries, std::optional<size_t> current) {
    m_entries = std::move(entries);
    m_current = current;
    fitWidth();
    showCurrent();
}

void MenuButtonControl::fitLongestTitle(qreal mostWidth) {
    m_mostWidth = mostWidth;
    fitWidth();
}

qreal MenuButtonControl::widthToShow(const MenuRow& row) {
    const qreal swatch = row.swatch ? kPillSize.width() + kSpacing : 0;
    return kPadding.left() + swatch + QFontMetricsF(titleFont()).horizontalAdvance(row.title) + kChevronGap +
           Symbols::boxSide(kChevronSize) + kPadding.right();
}

void MenuButtonControl::fitWidth() {
    if (!m_mostWidth)
        return;
    qreal width = m_givenWidth;
    for (const Entry& entry : m_entries)
        width = std::max(width, std::ceil(widthToShow(entry.row)));
    width = std::min(width, std::max(m_givenWidth, *m_mostWidth));
    if (width == m_width)
        return;
    m_width = width;
    setFixedSize(sizeHint());
}

void MenuButtonControl::showCurrent() {
    setAccessibleValue(this, m_current ? m_entries[*m_current].row.title : m_placeholder);
    update();
}

qreal MenuButtonControl::detailStop(qreal width) {
    return std::max(kMinimumTextWidth, width) - kDetailInset;
}

std::unique_ptr<KitMenu> MenuButtonControl::buildMenu() const {
    auto menu = std::make_unique<KitMenu>(
        KitMenu::Look{ODFont::nsBody(13, FontWeight::semibold), KitMenu::Swatch::pill, detailStop(m_width)});
    menu->setMinimumWidth(static_cast<int>(std::ceil(m_width)));
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].separatorBefore)
            menu->addSeparator();
        menu->addRow(m_entries[i].row, choice(i));
    }
    return menu;
}

QPoint MenuButtonControl::menuPosition() const {
    return mapToGlobal(QPoint(0, height() + kMenuGap));
}

void MenuButtonControl::popUp() {
    // Runs the menu to its end; the chosen entry's action has run by then, and it
    // may have replaced this button: nothing here is touched afterwards.
    const std::unique_ptr<KitMenu> menu = buildMenu();
    menu->run(menuPosition());
}

QSize MenuButtonControl::sizeHint() const {
    const qreal height = QFontMetricsF(titleFont()).height() + kPadding.top() + kPadding.bottom();
    return QSize(static_cast<int>(std::ceil(m_width)), static_cast<int>(std::ceil(height)));
}

void MenuButtonControl::paint(QPainter& painter, const QRectF& rect, const Entry* current,
                              const QString& placeholder, bool focused) {
    FieldBackground::paint(painter, rect, focused, false);
    const QRectF row = rect.marginsRemoved(kPadding);
    const qreal chevronSide = Symbols::boxSide(kChevronSize);
    const QRectF chevron(row.right() - chevronSide, row.top(), chevronSide, row.height());
    Symbols::paint(painter, chevron, QStringLiteral("chevron.up.chevron.down"), toQColor(Theme::text2()),
                   kChevronSize, FontWeight::semibold);
    const qreal end = chevron.left() - kChevronGap;

    qreal x = row.left();
    if (current != nullptr && current->row.swatch) {
        const QRectF pill(QPointF(x, row.center().y() - kPillSize.height() / 2), kPillSize);
        CalendarPill::paint(painter, pill, *current->row.swatch);
        x += kPillSize.width() + kSpacing;
    }
    painter.save();
    const QString title = current != nullptr ? current->row.title : placeholder;
    const qreal titleWidth = std::clamp(QFontMetricsF(titleFont()).horizontalAdvance(title), 0.0, std::max(0.0, end - x));
    drawLine(painter, x, row, titleWidth, title, titleFont(),
             toQColor(current != nullptr ? Theme::text() : Theme::text3()));
    x += titleWidth + kSpacing;
    // The detail gives way first when the field is narrow.
    if (current != nullptr && current->row.detail && end - x > 0)
        drawLine(painter, x, row, std::min(QFontMetricsF(detailFont()).horizontalAdvance(*current->row.detail), end - x),
                 *current->row.detail, detailFont(), toQColor(Theme::text3()));
    painter.restore();
}

void MenuButtonControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(kDisabledOpacity);
    paint(painter, QRectF(rect()), m_current ? &m_entries[*m_current] : nullptr, m_placeholder, m_focused);
}

void MenuButtonControl::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace design
