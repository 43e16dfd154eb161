#include "design/widgets/JoinButton.h"

#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "platform/workspace/Workspace.h"

#include <QFontMetricsF>
#include <QPainter>

namespace popover {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qreal kSpacing = 6;
constexpr qreal kDiscSide = 18;
constexpr qreal kDiscSymbolSize = 8;
constexpr qreal kSymbolSize = 10;
// The disc of the prominent button reaches into the capsule's padding, so it
// sits as close to the round end as to the top and bottom.
constexpr qreal kPrimaryLeadingOffset = -8;

const QString& joinText() {
    static const QString text = u"Join"_s;
    return text;
}

}  // namespace

JoinButton::JoinButton(model::MeetingLink link, design::ODButtonKind kind, design::ODButtonSize size,
                       platform::Workspace& workspace, QWidget* parent)
    : design::ODStyledButton(design::ODButtonStyle(kind, size), parent),
      m_link(std::move(link)),
      m_workspace(workspace) {
    updateTexts();
    connect(this, &QAbstractButton::clicked, this, [this] { join(m_link, m_workspace); });
}

void JoinButton::setLink(model::MeetingLink link) {
    if (link == m_link)
        return;
    m_link = std::move(link);
    updateTexts();
    labelChanged();
}

void JoinButton::updateTexts() {
    const QString name = u"Join "_s + model::displayName(m_link.provider);
    setToolTip(name);
    setAccessibleName(name);
}

QString JoinButton::symbolFor(model::MeetingProvider provider) {
    switch (provider) {
        case model::MeetingProvider::teams:
            return u"person.2.fill"_s;
        case model::MeetingProvider::chime:
            return u"phone.fill"_s;
        case model::MeetingProvider::slack:
            return u"number"_s;
        case model::MeetingProvider::discord:
            return u"headphones"_s;
        default:
            return u"video.fill"_s;
    }
}

bool JoinButton::join(const model::MeetingLink& link, platform::Workspace& workspace) {
    return link.isWebLink() && workspace.open(link.url);
}

bool JoinButton::isPrimary() const {
    return buttonStyle().kind() == design::ODButtonKind::primary;
}

QSizeF JoinButton::labelSize() const {
    const QFontMetricsF metrics(buttonStyle().labelFont());
    const qreal glyph = isPrimary() ? kDiscSide : design::Symbols::boxSide(kSymbolSize);
    const qreal offset = isPrimary() ? kPrimaryLeadingOffset : 0;
    return QSizeF(glyph + kSpacing + metrics.horizontalAdvance(joinText()) + offset,
                  std::max(glyph, metrics.height()));
}

void JoinButton::paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const {
    const QString symbol = symbolFor(m_link.provider);
    qreal x = labelRect.left();
    qreal glyph = 0;
    if (isPrimary()) {
        x += kPrimaryLeadingOffset;
        glyph = kDiscSide;
        const QRectF disc(x, labelRect.center().y() - kDiscSide / 2, kDiscSide, kDiscSide);
        design::Shape::circle().fill(painter, disc, design::toQColor(design::Theme::onAccent()));
        design::Symbols::paint(painter, disc, symbol, design::toQColor(design::Theme::flame()), kDiscSymbolSize,
                               design::FontWeight::bold);
    } else {
        glyph = design::Symbols::boxSide(kSymbolSize);
        design::Symbols::paint(painter, QRectF(x, labelRect.top(), glyph, labelRect.height()), symbol, color,
                               kSymbolSize, design::FontWeight::semibold);
    }
    x += glyph + kSpacing;
    painter.save();
    painter.setFont(buttonStyle().labelFont());
    painter.setPen(color);
    painter.drawText(QRectF(x, labelRect.top(), labelRect.right() - x + 1, labelRect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, joinText());
    painter.restore();
}

}  // namespace popover
