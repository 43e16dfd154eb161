#include "popover/EventRowView.h"

#include "design/widgets/CountdownSticker.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/JoinButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "state/AppState.h"
#include "state/PlatformWords.h"
#include "state/PopoverActions.h"

#include <QAction>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qreal kHorizontalPadding = 10;
constexpr qreal kHighlightedPadding = 8;
constexpr qreal kPadding = 6;
constexpr qreal kColumnSpacing = 10;
constexpr qreal kLineSpacing = 4;
constexpr qreal kBarWidth = 4;
constexpr qreal kBarGap = 10;
// The lines under the head line start under the time, past the accent bar.
constexpr qreal kIndent = kBarWidth + kBarGap;
constexpr qreal kProgressHeight = 4;
constexpr qreal kCornerRadius = 12;
constexpr qreal kStickerTilt = -2.5;
constexpr qreal kTrailingSpacing = 8;
constexpr qreal kDotSide = 7;
constexpr qreal kDotTrailingPadding = 6;
const QString kOverlapsAnotherEvent = QStringLiteral("Overlaps another event");

QFont timeFont(bool inProgress) {
    return design::ODFont::body(12, inProgress ? design::FontWeight::bold : design::FontWeight::medium);
}

QFont titleFont(bool declined) {
    QFont font = design::ODFont::body(15, design::FontWeight::semibold);
    font.setStrikeOut(declined);
    return font;
}

QFont tagFont() {
    return design::ODFont::body(11, design::FontWeight::semibold);
}

QFont declinedFont() {
    return design::ODFont::body(12, design::FontWeight::semibold);
}

QFont locationFont() {
    return design::ODFont::body(12);
}

// A capsule of a small bold symbol and a short text, padded: the overlap tag
// and the "Declined" pill.
struct Badge {
    QString symbol;
    QString text;
    QFont font;
    QMarginsF padding;

    static constexpr qreal kSymbolSize = 9;
    static constexpr qreal kSpacing = 4;

    QSizeF size() const {
        const QFontMetricsF metrics(font);
        const qreal glyph = design::Symbols::boxSide(kSymbolSize);
        return QSizeF(padding.left() + glyph + kSpacing + metrics.horizontalAdvance(text) + padding.right(),
                      padding.top() + std::max(glyph, metrics.height()) + padding.bottom());
    }

    void paint(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& ink) const {
        design::Shape::capsule().fill(painter, rect, fill);
        const QRectF inner = rect.marginsRemoved(padding);
        const qreal glyph = design::Symbols::boxSide(kSymbolSize);
        design::Symbols::paint(painter, QRectF(inner.left(), inner.top(), glyph, inner.height()), symbol, ink,
                               kSymbolSize, design::FontWeight::bold);
        const qreal textLeft = inner.left() + glyph + kSpacing;
        const QFontMetricsF metrics(font);
        painter.save();
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(QRectF(textLeft, inner.top(), inner.right() - textLeft + 1, inner.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(text, Qt::ElideRight, inner.right() - textLeft + 1));
        painter.restore();
    }
};

Badge overlapBadge(const QString& text) {
    return Badge{u"exclamationmark.triangle"_s, text, tagFont(), QMarginsF(7, 2, 7, 2)};
}

Badge declinedBadge() {
    return Badge{u"xmark"_s, u"Declined"_s, declinedFont(), QMarginsF(9, 3, 9, 3)};
}

QSize ceilSize(const QSizeF& size) {
    return QSize(static_cast<int>(std::ceil(size.width() - 0.01)), static_cast<int>(std::ceil(size.height() - 0.01)));
}

}  // namespace

// The event's place, with a map pin: a click searches the map for it, Alt and
// a click copies it. The arrow after it shows while the pointer is on the row.
class LocationLink final : public QAbstractButton {
public:
    LocationLink(platform::Workspace& workspace, QWidget* parent) : QAbstractButton(parent), m_workspace(workspace) {
        setFocusPolicy(Qt::TabFocus);
        design::followAppearance(this);
        design::odFocusRing(this, design::Shape::rounded(4));
        setToolTip(app::words::openInMap() + u" ("_s + app::words::alt() + u"-click to copy)"_s);
        connect(this, &QAbstractButton::clicked, this, [this] { PopoverActions::openMaps(m_place, m_workspace); });
    }

    const QString& place() const { return m_place; }
    void setPlace(const QString& place) {
        if (place == m_place)
            return;
        m_place = place;
        setAccessibleName(u"Location: "_s + place + u". "_s + app::words::openInMap());
        updateGeometry();
        update();
    }
    void setArrowShown(bool shown) {
        if (shown == m_arrowShown)
            return;
        m_arrowShown = shown;
        update();
    }
    void setOpacity(qreal opacity) {
        m_opacity = opacity;
        update();
    }

    QSize sizeHint() const override {
        const qreal width = design::Symbols::boxSide(kPinSize) + kSpacing +
                            QFontMetricsF(locationFont()).horizontalAdvance(m_place) + kSpacing +
                            design::Symbols::boxSide(kArrowSize);
        return ceilSize(QSizeF(width, height()));
    }
    QSize minimumSizeHint() const override {
        return ceilSize(QSizeF(design::Symbols::boxSide(kPinSize) + 2 * kSpacing + design::Symbols::boxSide(kArrowSize),
                               height()));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(m_opacity);
        const qreal pin = design::Symbols::boxSide(kPinSize);
        const qreal arrow = design::Symbols::boxSide(kArrowSize);
        const QRectF area(rect());
        design::Symbols::paint(painter, QRectF(0, 0, pin, area.height()), u"mappin.and.ellipse"_s,
                               design::toQColor(design::Theme::sky()), kPinSize, design::FontWeight::semibold);
        const QFontMetricsF metrics(locationFont());
        const qreal textLeft = pin + kSpacing;
        const qreal room = std::max<qreal>(0, area.width() - textLeft - kSpacing - arrow);
        const QString shown = metrics.elidedText(m_place, Qt::ElideRight, room);
        painter.setFont(locationFont());
        painter.setPen(design::toQColor(design::Theme::text2()));
        painter.drawText(QRectF(textLeft, 0, room + 1, area.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
        if (!m_arrowShown)
            return;
        // The arrow follows the text, even when a short place leaves room.
        const qreal arrowLeft = textLeft + metrics.horizontalAdvance(shown) + kSpacing;
        design::Symbols::paint(painter, QRectF(arrowLeft, 0, arrow, area.height()), u"arrow.up.right"_s,
                               design::toQColor(design::Theme::text3()), kArrowSize, design::FontWeight::bold);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (!design::clickOnReturn(this, event))
            QAbstractButton::keyPressEvent(event);
    }

private:
    static constexpr qreal kPinSize = 10;
    static constexpr qreal kArrowSize = 8;
    static constexpr qreal kSpacing = 4;

    qreal height() const {
        return std::max({design::Symbols::boxSide(kPinSize), QFontMetricsF(locationFont()).height(),
                         design::Symbols::boxSide(kArrowSize)});
    }

    platform::Workspace& m_workspace;
    QString m_place;
    bool m_arrowShown = false;
    qreal m_opacity = 1;
};

EventRowView::EventRowView(EventRowInput input, app::AppState& appState, platform::Workspace& workspace,
                           QWidget* parent)
    : QAbstractButton(parent),
      m_appState(appState),
      m_workspace(workspace),
      m_content(std::move(input)),
      m_join(nullptr),
      m_sticker(new design::CountdownSticker(QString(), kStickerTilt, this)),
      m_location(new LocationLink(workspace, this)),
      m_joinAction(new QAction(u"Join meeting"_s, this)) {
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::Button);
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::rounded(kCornerRadius));
    setAccessibleDescription(u"Opens event details"_s);
    addAction(m_joinAction);

    connect(this, &QAbstractButton::clicked, this,
            [this] { m_appState.setRoute(app::PopoverRoute::eventEdit(m_content.event().id)); });
    connect(m_joinAction, &QAction::triggered, this, [this] {
        if (const auto& meeting = m_content.event().meeting)
            JoinButton::join(*meeting, m_workspace);
    });
    refresh();
}

EventRowView::~EventRowView() = default;

void EventRowView::setInput(EventRowInput input) {
    if (input == m_content.input())
        return;
    m_content = EventRowContent(std::move(input));
    refresh();
}

void EventRowView::setOpacity(qreal opacity) {
    if (qFuzzyCompare(opacity, m_opacity))
        return;
    m_opacity = opacity;
    m_location->setOpacity(opacity);
    update();
}

JoinButton* EventRowView::joinButton() const {
    return m_join != nullptr && !m_join->isHidden() ? m_join : nullptr;
}

design::CountdownSticker* EventRowView::sticker() const {
    return m_sticker->isHidden() ? nullptr : m_sticker;
}

QAbstractButton* EventRowView::locationLink() const {
    return m_location->isHidden() ? nullptr : m_location;
}

void EventRowView::refresh() {
    const model::ODEvent& event = m_content.event();
    setToolTip(design::plainToolTip(event.title));
    setAccessibleName(m_content.accessibilityText(core::Calendar()));

    const EventRowContent::Trailing trailing = m_content.trailing();
    const bool highlighted = trailing == EventRowContent::Trailing::highlighted;
    const auto stickerText = highlighted ? m_content.stickerText() : std::nullopt;
    m_sticker->setVisible(stickerText.has_value());
    if (stickerText)
        m_sticker->setText(*stickerText);

    const bool showsJoin = event.meeting && (highlighted || trailing == EventRowContent::Trailing::join);
    if (showsJoin) {
        const design::ODButtonStyle style = highlighted
                                                ? design::ODButtonStyle(design::ODButtonKind::primary, design::ODButtonSize::medium)
                                                : design::ODButtonStyle(design::ODButtonKind::ghost, design::ODButtonSize::small);
        if (m_join == nullptr) {
            m_join = new JoinButton(*event.meeting, style.kind(), style.size(), m_workspace, this);
        } else {
            m_join->setLink(*event.meeting);
            m_join->setButtonStyle(style);
        }
        m_join->show();
    } else if (m_join != nullptr) {
        m_join->hide();
    }

    const auto place = m_content.location();
    m_location->setVisible(place.has_value());
    if (place)
        m_location->setPlace(*place);

    m_sizes.reset();
    m_sizeHint.reset();
    m_geometry.reset();
    updateGeometry();
    placeChildren();
    update();
}

const EventRowView::Geometry& EventRowView::geometry(qreal width) const {
    if (!m_geometry || m_geometry->first != width)
        m_geometry.emplace(width, measure(width));
    return m_geometry->second;
}

const EventRowView::Sizes& EventRowView::sizes() const {
    if (m_sizes)
        return *m_sizes;
    Sizes& sizes = m_sizes.emplace();
    QSizeF& trailing = sizes.trailing;
    QSizeF& stickerSize = sizes.sticker;
    QSizeF& joinSize = sizes.join;
    switch (m_content.trailing()) {
        case EventRowContent::Trailing::declined:
            trailing = declinedBadge().size();
            break;
        case EventRowContent::Trailing::highlighted:
        case EventRowContent::Trailing::join:
            if (!m_sticker->isHidden())
                stickerSize = m_sticker->sizeHint();
            if (m_join != nullptr && !m_join->isHidden())
                joinSize = m_join->sizeHint();
            trailing = QSizeF(stickerSize.width() + joinSize.width() +
                                  (stickerSize.isEmpty() || joinSize.isEmpty() ? 0 : kTrailingSpacing),
                              std::max(stickerSize.height(), joinSize.height()));
            break;
        case EventRowContent::Trailing::overlapDot:
            trailing = QSizeF(kDotSide + kDotTrailingPadding, kDotSide);
            break;
        case EventRowContent::Trailing::none:
            break;
    }
    sizes.time = QFontMetricsF(timeFont(m_content.isInProgress())).height();
    sizes.title = QFontMetricsF(titleFont(false)).height();
    if (!m_location->isHidden())
        sizes.location = m_location->sizeHint();
    if (const auto tag = m_content.overlapTag())
        sizes.tag = overlapBadge(*tag).size();
    return sizes;
}

EventRowView::Geometry EventRowView::measure(qreal width) const {
    Geometry g;
    const bool inProgress = m_content.isInProgress();
    const qreal padding = m_content.input().isHighlighted ? kHighlightedPadding : kPadding;
    const Sizes& sizes = this->sizes();
    const QSizeF& trailing = sizes.trailing;
    const QSizeF& stickerSize = sizes.sticker;
    const QSizeF& joinSize = sizes.join;
    const bool hasTrailing = trailing.width() > 0;

    const qreal left = kHorizontalPadding;
    const qreal columnWidth =
        std::max<qreal>(kIndent, width - 2 * kHorizontalPadding - (hasTrailing ? trailing.width() + kColumnSpacing : 0));
    const qreal lineLeft = left + kIndent;
    const qreal lineWidth = columnWidth - kIndent;

    // The left column, from 0; moved down below when the trailing end is taller.
    const qreal timeHeight = sizes.time;
    const qreal titleHeight = sizes.title;
    const qreal headHeight = timeHeight + 1 + titleHeight;
    g.bar = QRectF(left, 0, kBarWidth, headHeight);
    g.time = QRectF(lineLeft, 0, lineWidth, timeHeight);
    g.title = QRectF(lineLeft, timeHeight + 1, lineWidth, titleHeight);
    qreal y = headHeight;
    if (inProgress) {
        g.progress = QRectF(lineLeft, y + kLineSpacing, lineWidth, kProgressHeight);
        y = g.progress.bottom();
    }
    if (sizes.location) {
        const QSizeF& hint = *sizes.location;
        g.location = QRectF(lineLeft, y + kLineSpacing, std::min(hint.width(), lineWidth), hint.height());
        y = g.location.bottom();
    }
    if (sizes.tag) {
        const QSizeF& size = *sizes.tag;
        g.tag = QRectF(lineLeft, y + kLineSpacing, std::min(size.width(), lineWidth), size.height());
        y = g.tag.bottom();
    }

    const qreal contentHeight = std::max(y, trailing.height());
    const qreal columnTop = padding + (contentHeight - y) / 2;
    for (QRectF* rect : {&g.bar, &g.time, &g.title, &g.progress, &g.location, &g.tag})
        if (!rect->isNull())
            rect->translate(0, columnTop);
    g.height = contentHeight + 2 * padding;

    if (hasTrailing) {
        const qreal centre = padding + contentHeight / 2;
        const qreal right = width - kHorizontalPadding;
        const auto centred = [centre](qreal x, const QSizeF& size) {
            return QRectF(x, centre - size.height() / 2, size.width(), size.height());
        };
        switch (m_content.trailing()) {
            case EventRowContent::Trailing::declined:
                g.declined = centred(right - trailing.width(), trailing);
                break;
            case EventRowContent::Trailing::overlapDot:
                g.dot = centred(right - trailing.width(), QSizeF(kDotSide, kDotSide));
                break;
            default:
                if (!joinSize.isEmpty())
                    g.join = centred(right - joinSize.width(), joinSize);
                if (!stickerSize.isEmpty())
                    g.sticker = centred(right - trailing.width(), stickerSize);
                break;
        }
    }
    return g;
}

QSize EventRowView::sizeHint() const {
    // Wide enough for a short title; the agenda gives the row its full width.
    constexpr qreal kNaturalWidth = 300;
    if (!m_sizeHint)
        m_sizeHint = ceilSize(QSizeF(kNaturalWidth, measure(kNaturalWidth).height));
    return *m_sizeHint;
}

QSize EventRowView::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void EventRowView::placeChildren() {
    const Geometry& g = geometry(width());
    m_sticker->setGeometry(g.sticker.toAlignedRect());
    if (m_join != nullptr)
        m_join->setGeometry(g.join.toAlignedRect());
    m_location->setGeometry(g.location.toAlignedRect());
    m_location->setArrowShown(m_hovering);
}

void EventRowView::resizeEvent(QResizeEvent* event) {
    placeChildren();
    QAbstractButton::resizeEvent(event);
}

void EventRowView::enterEvent(QEnterEvent* event) {
    setHovering(true);
    QAbstractButton::enterEvent(event);
}

void EventRowView::leaveEvent(QEvent* event) {
    setHovering(false);
    QAbstractButton::leaveEvent(event);
}

void EventRowView::setHovering(bool hovering) {
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_location->setArrowShown(hovering);
    update();
}

bool EventRowView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The dot explains itself; everywhere else the row shows the full title.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QRectF dot = geometry(width()).dot;
        if (!dot.isNull() && dot.adjusted(-4, -4, 4, 4).contains(help->pos())) {
            QToolTip::showText(help->globalPos(), kOverlapsAnotherEvent, this, dot.toAlignedRect());
            return true;
        }
    }
    return QAbstractButton::event(event);
}

void EventRowView::keyPressEvent(QKeyEvent* event) {
    if (!design::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

void EventRowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    const Geometry& g = geometry(width());
    const model::ODEvent& event = m_content.event();
    const bool declined = m_content.isDeclined();
    const bool inProgress = m_content.isInProgress();

    const design::Shape background = design::Shape::rounded(kCornerRadius);
    if (m_content.input().isHighlighted) {
        background.fill(painter, rect(), design::toQColor(design::Theme::card()));
        background.strokeBorder(painter, rect(), design::toQColor(design::Theme::line()), 1);
    } else if (m_hovering) {
        background.fill(painter, rect(), design::toQColor(design::Theme::fillSoft()));
    }

    const QColor color = design::toQColor(event.color);
    if (declined)
        design::Shape::capsule().strokeBorder(painter, g.bar, color, 1.5);
    else
        design::Shape::capsule().fill(painter, g.bar, color);

    const QFont time = timeFont(inProgress);
    painter.setFont(time);
    painter.setPen(inProgress ? design::toQColor(design::Theme::teal()) : design::toQColor(design::Theme::text2()));
    painter.drawText(g.time, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(time).elidedText(m_content.timeText(core::Calendar()), Qt::ElideRight,
                                                    g.time.width()));

    const QFont title = titleFont(declined);
    painter.setFont(title);
    painter.setPen(design::toQColor(declined ? design::Theme::text2() : design::Theme::text()));
    painter.drawText(g.title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(title).elidedText(event.title, Qt::ElideRight, g.title.width()));

    if (!g.progress.isNull()) {
        const design::Shape capsule = design::Shape::capsule();
        capsule.fill(painter, g.progress, design::toQColor(design::Theme::fillSoft()));
        const qreal filled = g.progress.width() * m_content.progress();
        if (filled > 0)
            capsule.fill(painter, QRectF(g.progress.topLeft(), QSizeF(filled, g.progress.height())),
                         design::toQColor(design::Theme::teal()));
    }
    if (const auto tag = m_content.overlapTag(); tag && !g.tag.isNull())
        overlapBadge(*tag).paint(painter, g.tag, design::toQColor(design::Theme::amberSoft()),
                                 design::toQColor(design::Theme::amberInk()));
    if (!g.declined.isNull())
        declinedBadge().paint(painter, g.declined, design::toQColor(design::Theme::fillSoft()),
                              design::toQColor(design::Theme::text2()));
    if (!g.dot.isNull())
        design::Shape::circle().fill(painter, g.dot, design::toQColor(design::Theme::amber()));
}

}  // namespace popover
