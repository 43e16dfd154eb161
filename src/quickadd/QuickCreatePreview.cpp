#include "quickadd/QuickCreatePreview.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/PlainTextButton.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/Tilt.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace quickadd {

using design::FontWeight;
using design::Theme;

namespace {

// The row: padding, the bar, the gap to the text and the least room before the mark.
constexpr qreal kRowLeft = 8;
constexpr qreal kRowRight = 12;
constexpr qreal kRowVertical = 6;
constexpr qreal kBarWidth = 4;
constexpr qreal kBarInset = 2;
constexpr qreal kBarGap = 10;
constexpr qreal kLineGap = 1;
constexpr qreal kMarkGap = 4;
constexpr qreal kRowRadius = 10;
constexpr qreal kBorderWidth = 1.5;

// The "new!" tag and the overlap mark.
constexpr qreal kTagHorizontal = 7;
constexpr qreal kTagVertical = 2;
constexpr qreal kTagTilt = -4;
constexpr qreal kOverlapSpacing = 3;

constexpr int kFlashInMs = 150;
constexpr int kFlashOutMs = 300;

QFont timeFont() {
    return design::ODFont::body(11, FontWeight::medium);
}
QFont titleFont() {
    return design::ODFont::body(13, FontWeight::bold);
}
QFont markFont() {
    return design::ODFont::body(11, FontWeight::bold);
}

const QString kNewTag = u"new!"_s;
const QString kOverlapWord = u"Overlap"_s;
const QString kWarningSymbol = u"exclamationmark.triangle"_s;

}  // namespace

// --- ConflictRow ------------------------------------------------------------------------------------

ConflictRow::ConflictRow(QWidget* parent)
    : QWidget(parent),
      m_text(new design::TextLine({}, design::ODFont::body(12, FontWeight::semibold), Theme::amberInk(), this)),
      m_show(
          new design::PlainTextButton(u"Show"_s, design::ODFont::body(12, FontWeight::bold), Theme::amberInk(), this)) {
    // What is cut to fit is the title (see fitText); what is left over is cut at its end.
    m_text->installEventFilter(this);
    m_show->setToolTip(u"Show it in the day"_s);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(8);
    row->addWidget(new design::SymbolView(kWarningSymbol, 11, FontWeight::semibold, Theme::amberInk(), this));
    row->addWidget(m_text, 1);
    row->addSpacing(4);
    row->addWidget(m_show);
    connect(m_show, &QAbstractButton::clicked, this, &ConflictRow::showClicked);
    design::followAppearance(this);
}

void ConflictRow::setConflict(const model::ODEvent& first, int count) {
    m_full = QuickCreateModel::conflictText(first, count);
    m_title = first.title;
    fitText();
}

QString ConflictRow::shownText() const {
    return m_text->text();
}

bool ConflictRow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text && event->type() == QEvent::Resize)
        fitText();
    return QWidget::eventFilter(watched, event);
}

void ConflictRow::fitText() {
    // The times say when the clash is, so they stay whole and the title gives way.
    const QFontMetricsF metrics(m_text->font());
    const qsizetype at = m_full.indexOf(m_title);
    const qreal room = m_text->width();
    if (m_title.isEmpty() || at < 0 || metrics.horizontalAdvance(m_full) <= room) {
        m_text->setText(m_full);
        return;
    }
    const QString before = m_full.left(at);
    const QString after = m_full.mid(at + m_title.size());
    const qreal titleRoom = std::max<qreal>(0, room - metrics.horizontalAdvance(before + after));
    // With no room at all the title is still there, as an ellipsis.
    const QString title = metrics.elidedText(m_title, Qt::ElideRight, titleRoom);
    m_text->setText(before + (title.isEmpty() ? u"…"_s : title) + after);
}

void ConflictRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    design::Shape::rounded(10).fill(painter, rect(), design::toQColor(Theme::amber().withAlpha(0.2)));
}

// --- PreviewRow ---------------------------------------------------------------------------------------

PreviewRow::PreviewRow(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::StaticText);
    design::followAppearance(this);
}

void PreviewRow::setItem(const QuickCreateModel::PreviewItem& item) {
    if (item == m_item)
        return;
    m_item = item;
    QString spoken = m_item.title + u", "_s +
                     (m_item.isAllDay ? u"all day"_s : QuickCreateModel::timeRange(m_item.start, m_item.end));
    if (m_item.isNew)
        spoken += u", new"_s;
    else if (m_item.overlaps)
        spoken += u", overlaps"_s;
    setAccessibleName(spoken);
    update();
}

void PreviewRow::setFlash(qreal strength) {
    m_flash = strength;
    update();
}

QSize PreviewRow::sizeHint() const {
    const qreal height =
        2 * kRowVertical + QFontMetricsF(timeFont()).height() + kLineGap + QFontMetricsF(titleFont()).height();
    return QSize(200, static_cast<int>(std::ceil(height)));
}

QSize PreviewRow::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

qreal PreviewRow::trailingMarkWidth() const {
    const QFontMetricsF metrics(markFont());
    if (m_item.isNew)
        return metrics.horizontalAdvance(kNewTag) + 2 * kTagHorizontal;
    if (m_item.overlaps)
        return design::Symbols::boxSide(10) + kOverlapSpacing + metrics.horizontalAdvance(kOverlapWord);
    return 0;
}

void PreviewRow::paintTrailingMark(QPainter& painter, qreal right, qreal centreY) const {
    const QFontMetricsF metrics(markFont());
    painter.setFont(markFont());
    if (m_item.isNew) {
        const QSizeF size(trailingMarkWidth(), metrics.height() + 2 * kTagVertical);
        const QRectF tag(QPointF(right - size.width(), centreY - size.height() / 2), size);
        painter.save();
        design::odTilt(painter, tag, kTagTilt);
        const design::Shape capsule = design::Shape::capsule();
        capsule.fill(painter, tag, design::toQColor(Theme::amber()));
        capsule.strokeBorder(painter, tag, design::toQColor(Theme::ink()), 1);
        painter.setPen(design::toQColor(Theme::ink()));
        painter.drawText(tag, Qt::AlignCenter | Qt::TextSingleLine, kNewTag);
        painter.restore();
    } else if (m_item.overlaps) {
        const QColor ink = design::toQColor(Theme::amberInk());
        const qreal width = trailingMarkWidth();
        const qreal side = design::Symbols::boxSide(10);
        design::Symbols::paint(painter, QRectF(right - width, centreY - side / 2, side, side), kWarningSymbol, ink, 10,
                               FontWeight::semibold);
        painter.setPen(ink);
        painter.drawText(QRectF(right - width + side + kOverlapSpacing, centreY - metrics.height() / 2,
                                width - side - kOverlapSpacing, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, kOverlapWord);
    }
}

void PreviewRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(rect());
    const design::Shape shape = design::Shape::rounded(kRowRadius);
    shape.fill(painter, frame, design::toQColor(m_item.isNew ? Theme::card() : Theme::fillSoft()));

    const qreal contentTop = kRowVertical;
    const qreal contentBottom = frame.height() - kRowVertical;
    design::Shape::rounded(2).fill(
        painter, QRectF(kRowLeft, contentTop + kBarInset, kBarWidth, contentBottom - contentTop - 2 * kBarInset),
        design::toQColor(m_item.color));

    const qreal markWidth = trailingMarkWidth();
    const qreal textLeft = kRowLeft + kBarWidth + kBarGap;
    const qreal textRight = frame.width() - kRowRight - (markWidth > 0 ? markWidth + kMarkGap : 0);
    const qreal textWidth = std::max<qreal>(0, textRight - textLeft);
    const QFontMetricsF timeMetrics(timeFont());
    const QFontMetricsF titleMetrics(titleFont());
    const QString time = m_item.isAllDay ? u"All day"_s : QuickCreateModel::timeRange(m_item.start, m_item.end);
    painter.setFont(timeFont());
    painter.setPen(design::toQColor(Theme::text2()));
    painter.drawText(QRectF(textLeft, contentTop, textWidth, timeMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     timeMetrics.elidedText(time, Qt::ElideRight, textWidth));
    painter.setFont(titleFont());
    painter.setPen(design::toQColor(Theme::text()));
    painter.drawText(QRectF(textLeft, contentTop + timeMetrics.height() + kLineGap, textWidth, titleMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     titleMetrics.elidedText(m_item.title, Qt::ElideRight, textWidth));

    paintTrailingMark(painter, frame.width() - kRowRight, frame.height() / 2);

    if (m_item.isNew) {
        shape.strokeBorder(painter, frame, design::toQColor(m_item.color), kBorderWidth);
    } else if (m_flash > 0) {
        QColor amber = design::toQColor(Theme::amber());
        amber.setAlphaF(static_cast<float>(m_flash));
        shape.strokeBorder(painter, frame, amber, kBorderWidth);
    }
}

// --- DayPreview ----------------------------------------------------------------------------------------

DayPreview::DayPreview(QWidget* parent)
    : QWidget(parent),
      m_layout(new QVBoxLayout(this)),
      m_heading(new design::TextLine({}, design::ODFont::body(11, FontWeight::bold), Theme::text(), this)),
      m_closing(new design::TextLine({}, design::ODFont::body(12), Theme::text3(), this)),
      m_flashMotion(new QVariantAnimation(this)) {
    m_heading->setTracking(0.8);
    design::setAccessibleRole(m_heading, QAccessible::Heading);
    m_layout->setContentsMargins(0, 2, 0, 0);
    m_layout->setSpacing(6);
    m_layout->addWidget(m_heading);
    for (int i = 0; i < QuickCreateModel::kPreviewRows; ++i) {
        auto* row = new PreviewRow(this);
        row->hide();
        m_rows.push_back(row);
        m_layout->addWidget(row);
    }
    m_layout->addWidget(m_closing);
    m_closing->hide();

    m_flashMotion->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_flashMotion, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        if (m_flashing)
            m_flashing->setFlash(value.toReal());
    });
}

void DayPreview::setPreview(core::Date day, const QuickCreateModel::Preview& preview,
                            const std::optional<QString>& flashID) {
    m_heading->setText(QuickCreateModel::dayHeading(day));
    PreviewRow* flashed = nullptr;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        PreviewRow* row = m_rows[i];
        if (i >= preview.rows.size()) {
            row->hide();
            continue;
        }
        row->setItem(preview.rows[i]);
        const bool isFlashed = flashID && preview.rows[i].id == *flashID && !preview.rows[i].isNew;
        if (isFlashed)
            flashed = row;
        row->show();
    }
    m_closing->setVisible(preview.closingLine.has_value());
    m_closing->setText(preview.closingLine.value_or(QString()));

    const std::optional<QString> previous = std::exchange(m_flashID, flashID);
    if (flashed && (flashID != previous || flashed != m_flashing)) {
        fadeFlash(flashed, 1, kFlashInMs);
    } else if (!flashed && m_flashing && !m_flashing->isHidden() && m_flashing->item().id == previous) {
        // The flashed row stayed in view: its border fades out.
        fadeFlash(m_flashing, 0, kFlashOutMs);
    } else if (!flashed) {
        m_flashMotion->stop();
        m_flashing = nullptr;
    }
    // A row shown anew may have carried the border of another event.
    for (PreviewRow* row : m_rows) {
        if (row != m_flashing)
            row->setFlash(0);
    }
}

void DayPreview::fadeFlash(PreviewRow* row, qreal to, int milliseconds) {
    m_flashMotion->stop();
    m_flashing = row;
    if (Theme::appearance().reduceMotion) {
        row->setFlash(to);
        return;
    }
    m_flashMotion->setDuration(milliseconds);
    m_flashMotion->setStartValue(row->flash());
    m_flashMotion->setEndValue(to);
    m_flashMotion->start();
}

QString DayPreview::heading() const {
    return m_heading->text();
}

std::vector<PreviewRow*> DayPreview::rows() const {
    std::vector<PreviewRow*> shown;
    std::copy_if(m_rows.begin(), m_rows.end(), std::back_inserter(shown),
                 [](const PreviewRow* row) { return !row->isHidden(); });
    return shown;
}

std::optional<QString> DayPreview::closingLine() const {
    if (m_closing->isHidden())
        return std::nullopt;
    return m_closing->text();
}

}  // namespace quickadd
