#include "imageimport/flow/ImageDropZone.h"

#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "state/PlatformWords.h"

#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

constexpr qreal kCardInset = 8;
constexpr qreal kTextInset = 24;
constexpr qreal kTile = 56;
constexpr qreal kSpacing = 10;

QFont titleFont() {
    return design::ODFont::display(22);
}
QFont subtitleFont() {
    return design::ODFont::body(13, design::FontWeight::medium);
}

// The narrowest width that keeps the text on as few lines as `width` allows, so a
// title that must wrap breaks into lines of about one length, not a word alone.
qreal balancedWidth(const QString& text, const QFont& font, qreal width) {
    const qreal height = design::TextBlock::heightFor(text, font, width);
    qreal fits = width;
    qreal tooNarrow = width / 2;
    while (fits - tooNarrow > 1) {
        const qreal middle = (fits + tooNarrow) / 2;
        (design::TextBlock::heightFor(text, font, middle) > height ? tooNarrow : fits) = middle;
    }
    return std::ceil(fits);
}

}  // namespace

ImageDropZone::ImageDropZone(QWidget* parent) : QWidget(parent), m_fade(new QVariantAnimation(this)) {
    setObjectName(u"ImageDropZone"_s);
    design::makeOverlay(this);
    // Read as one thing, not as its title and subtitle apart.
    design::setAccessibleRole(this, QAccessible::StaticText);
    nameForAccessibility();
    m_fade->setDuration(kFadeMs);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_presence = value.toReal();
        update();
    });
    connect(m_fade, &QVariantAnimation::finished, this, [this] {
        if (!m_shown)
            hide();
    });
}

void ImageDropZone::setAccepts(bool accepts) {
    if (m_accepts == accepts)
        return;
    m_accepts = accepts;
    nameForAccessibility();
    update();
}

void ImageDropZone::nameForAccessibility() {
    setAccessibleName(m_accepts ? u"Drop image to create an event"_s : u"Only images can be dropped here"_s);
}

void ImageDropZone::setShown(bool shown) {
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_fade->stop();
    if (design::Theme::appearance().reduceMotion) {
        m_presence = 1;
        setVisible(shown);
        return;
    }
    if (shown && !isVisible()) {
        m_presence = 0;
        show();
    }
    m_fade->setStartValue(m_presence);
    m_fade->setEndValue(shown ? 1.0 : 0.0);
    m_fade->setEasingCurve(shown ? QEasingCurve::OutQuad : QEasingCurve::InQuad);
    m_fade->start();
}

QString ImageDropZone::title(bool accepts) {
    return accepts ? u"Drop to create an event"_s : u"Only images can be dropped here"_s;
}

QString ImageDropZone::subtitle(bool accepts) {
    return accepts ? u"Orbitday reads the date, time and place.\nIt all happens on "_s + app::words::thisComputer() + u"."_s
                   : u"png, jpg, heic, tiff or the first page of a pdf."_s;
}

QString ImageDropZone::symbol(bool accepts) {
    if (!accepts)
        return u"nosign"_s;
    static const QString arrow =
        design::SymbolTable::hasSymbol(u"photo.badge.arrow.down"_s) ? u"photo.badge.arrow.down"_s : u"photo"_s;
    return arrow;
}

void ImageDropZone::paintEvent(QPaintEvent*) {
    using design::Theme;
    using design::toQColor;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_presence);
    QColor wash = toQColor(Theme::surface());
    wash.setAlphaF(0.75f);
    painter.fillRect(rect(), wash);

    const QRectF card = QRectF(rect()).adjusted(kCardInset, kCardInset, -kCardInset, -kCardInset);
    const design::Shape shape = design::Shape::rounded(14);
    shape.fill(painter, card, toQColor(m_accepts ? Theme::flameSoft() : Theme::fillSoft()));
    shape.strokeBorder(painter, card, m_accepts ? toQColor(Theme::flame()) : toQColor(Theme::strokeStrong()), 2);

    // The column of tile, title and subtitle, centred in the card.
    const qreal textWidth = width() - 2 * kTextInset;
    const QString heading = title(m_accepts);
    const qreal titleWidth = balancedWidth(heading, titleFont(), textWidth);
    // The subtitle's own line breaks stand; each of its lines wraps on its own.
    const QStringList lines = subtitle(m_accepts).split(u'\n');
    const qreal titleHeight = design::TextBlock::heightFor(heading, titleFont(), textWidth);
    qreal subtitleHeight = 0;
    for (const QString& line : lines)
        subtitleHeight += design::TextBlock::heightFor(line, subtitleFont(), textWidth);
    const qreal total = kTile + kSpacing + titleHeight + kSpacing + subtitleHeight;
    qreal top = card.center().y() - total / 2;

    const QRectF tile((width() - kTile) / 2, top, kTile, kTile);
    design::Shape::circle().fill(painter, tile, m_accepts ? toQColor(Theme::flame()) : toQColor(Theme::fillSoft()));
    design::Symbols::paint(painter, tile, symbol(m_accepts), m_accepts ? toQColor(Theme::onAccent()) : toQColor(Theme::text2()),
                           24, design::FontWeight::medium);
    top += kTile + kSpacing;
    design::TextBlock::paint(painter, QRectF((width() - titleWidth) / 2, top, titleWidth, titleHeight), heading,
                             titleFont(), toQColor(Theme::text()), Qt::AlignHCenter);
    top += titleHeight + kSpacing;
    for (const QString& line : lines) {
        const qreal height = design::TextBlock::heightFor(line, subtitleFont(), textWidth);
        design::TextBlock::paint(painter, QRectF(kTextInset, top, textWidth, height), line, subtitleFont(),
                                 toQColor(Theme::text2()), Qt::AlignHCenter);
        top += height;
    }
}

}  // namespace imageimport
