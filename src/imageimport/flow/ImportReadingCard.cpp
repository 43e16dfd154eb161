#include "imageimport/flow/ImportReadingCard.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "platform/images/QtImages.h"
#include "state/PlatformWords.h"

#include <QEasingCurve>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

constexpr int kWellHeight = 220;
constexpr int kWellSide = 12;
constexpr int kWellTop = 6;
constexpr QSizeF kThumbnailBounds(260, 190);
constexpr qreal kGlowHeight = 40;
constexpr qreal kBarTrack = 200;
constexpr qreal kBarHeight = 6;
// One way of the sweep; the motion goes there and back.
constexpr int kSweepMs = 1200;

bool reduceMotion() {
    return design::Theme::appearance().reduceMotion;
}

}  // namespace

ImportReadingCard::ImportReadingCard(QWidget* parent) : QWidget(parent), m_motion(new QVariantAnimation(this)) {
    setObjectName(u"ImportReadingCard"_s);
    design::followAppearance(this);
    design::setAccessibleRole(this, QAccessible::StaticText);
    setAccessibleName(accessibleLabel());

    auto* title = new design::TextLine(u"Reading the text…"_s, design::ODFont::display(20), design::Theme::text(), this);
    auto* subtitle = new design::TextLine(u"Looking for dates, times, places and links."_s,
                                          design::ODFont::body(12.5, design::FontWeight::medium),
                                          design::Theme::text2(), this);
    auto* privacy = new QWidget(this);
    auto* privacyRow = new QHBoxLayout(privacy);
    privacyRow->setContentsMargins(0, 0, 0, 0);
    privacyRow->setSpacing(6);
    auto* lock = new design::SymbolView(u"lock"_s, 10, design::FontWeight::semibold, design::Theme::text3(), privacy);
    privacyRow->addWidget(lock);
    privacyRow->addWidget(new design::TextLine(u"On "_s + app::words::thisComputer() + u". Nothing is uploaded."_s,
                                               design::ODFont::body(11.5, design::FontWeight::semibold),
                                               design::Theme::text3(), privacy));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kWellTop + kWellHeight + 18, 0, 18);
    layout->setSpacing(0);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addSpacing(4);
    layout->addWidget(subtitle, 0, Qt::AlignHCenter);
    // The bar is painted by the card in the room kept here.
    layout->addSpacing(16 + static_cast<int>(kBarHeight) + 14);
    layout->addWidget(privacy, 0, Qt::AlignHCenter);

    // There and back with an ease at each end, for as long as the card shows.
    m_motion->setStartValue(0.0);
    m_motion->setEndValue(2.0);
    m_motion->setDuration(2 * kSweepMs);
    m_motion->setLoopCount(-1);
    connect(m_motion, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const qreal along = value.toReal();
        const qreal leg = along <= 1 ? along : 2 - along;
        m_phase = QEasingCurve(QEasingCurve::InOutSine).valueForProgress(leg);
        update();
    });
}

QString ImportReadingCard::accessibleLabel() {
    return u"Reading the text in the image. On "_s + app::words::thisComputer() +
           u", nothing is uploaded. Escape cancels."_s;
}

void ImportReadingCard::setThumbnail(const std::optional<platform::LoadedImage>& image) {
    m_thumbnail = image ? platform::images::toQImage(*image) : QImage();
    update();
}

bool ImportReadingCard::isMoving() const {
    return m_motion->state() == QAbstractAnimation::Running;
}

void ImportReadingCard::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!reduceMotion() && !isMoving())
        m_motion->start();
}

void ImportReadingCard::hideEvent(QHideEvent* event) {
    m_motion->stop();
    QWidget::hideEvent(event);
}

QRectF ImportReadingCard::wellRect() const {
    return QRectF(kWellSide, kWellTop, width() - 2 * kWellSide, kWellHeight);
}

QRectF ImportReadingCard::thumbnailRect() const {
    if (m_thumbnail.isNull())
        return {};
    const QSizeF fitted = QSizeF(m_thumbnail.size()).scaled(kThumbnailBounds, Qt::KeepAspectRatio);
    QRectF rect(QPointF(), fitted);
    rect.moveCenter(wellRect().center());
    return rect;
}

qreal ImportReadingCard::scanLineY() const {
    const QRectF thumbnail = thumbnailRect();
    return thumbnail.top() + (0.15 + 0.7 * (reduceMotion() ? 0 : m_phase)) * thumbnail.height();
}

qreal ImportReadingCard::barWidth() const {
    return reduceMotion() ? 120 : 40 + 120 * m_phase;
}

QRectF ImportReadingCard::barTrackRect() const {
    // Under the subtitle, where the layout kept its room.
    const QWidget* privacy = layout()->itemAt(layout()->count() - 1)->widget();
    const qreal top = privacy->geometry().top() - 14 - kBarHeight;
    return QRectF((width() - kBarTrack) / 2, top, kBarTrack, kBarHeight);
}

void ImportReadingCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const design::Shape well = design::Shape::rounded(14);
    well.fill(painter, wellRect(), design::toQColor(design::Theme::surfaceSunk()));
    well.strokeBorder(painter, wellRect(), design::toQColor(design::Theme::line()), 1);

    if (m_thumbnail.isNull()) {
        design::Symbols::paint(painter, wellRect(), u"photo"_s, design::toQColor(design::Theme::text3()), 28,
                               design::FontWeight::regular);
    } else {
        const QRectF thumbnail = thumbnailRect();
        painter.save();
        painter.setClipPath(design::Shape::rounded(8).path(thumbnail));
        painter.drawImage(thumbnail, m_thumbnail);
        painter.restore();
        // The glow ends at the line and may reach above the image: nothing clips it.
        const QColor flame = design::toQColor(design::Theme::flame());
        const qreal y = scanLineY();
        QLinearGradient glow(0, y - kGlowHeight, 0, y);
        QColor clear = flame;
        clear.setAlphaF(0);
        QColor tinted = flame;
        tinted.setAlphaF(0.22f);
        glow.setColorAt(0, clear);
        glow.setColorAt(1, tinted);
        painter.fillRect(QRectF(thumbnail.left(), y - kGlowHeight, thumbnail.width(), kGlowHeight), glow);
        painter.fillRect(QRectF(thumbnail.left(), y, thumbnail.width(), 2), flame);
    }

    const QRectF track = barTrackRect();
    design::Shape::capsule().fill(painter, track, design::toQColor(design::Theme::fillSoft()));
    design::Shape::capsule().fill(painter, QRectF(track.topLeft(), QSizeF(barWidth(), kBarHeight)),
                                  design::toQColor(design::Theme::flame()));
}

}  // namespace imageimport
