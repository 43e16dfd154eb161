#include "imageimport/review/ReviewKindToggle.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/Symbols.h"
#include "platform/keys/KeyTable.h"
#include "state/PlatformWords.h"

#include <QHBoxLayout>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;

namespace imageimport {

namespace {
constexpr int kSegmentHeight = 28;
constexpr qreal kSegmentRadius = 8;
constexpr int kSpacing = 6;
constexpr qreal kSymbolSize = 12;
}  // namespace

// One half of the toggle: its symbol and word, on a card while it is the kind chosen.
class KindSegment final : public design::PlainButton {
public:
    KindSegment(QString label, QString symbol, QString key, QWidget* parent)
        : PlainButton(design::Shape::rounded(kSegmentRadius), parent), m_symbol(std::move(symbol)) {
        setText(label);
        setAccessibleName(label);
        setToolTip(label + u" ("_s + app::words::shortcutText(platform::keys::carbon::kCommand, key) + u")"_s);
        setCheckable(true);
        setFixedHeight(kSegmentHeight);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        design::setAccessibleRole(this, QAccessible::RadioButton);
    }

    void setSelected(bool selected) {
        setChecked(selected);
        design::setAccessibleSelected(this, selected);
        update();
    }

    QSize sizeHint() const override {
        const QFontMetricsF metrics(labelFont(true));
        const qreal width = design::Symbols::boxSide(kSymbolSize) + kSpacing + metrics.horizontalAdvance(text());
        return QSize(static_cast<int>(std::ceil(width)) + 16, kSegmentHeight);
    }

protected:
    void nextCheckState() override {}

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        beginPaint(painter);
        const bool selected = isChecked();
        const QRectF box(rect());
        const design::Shape shape = design::Shape::rounded(kSegmentRadius);
        if (selected) {
            shape.fill(painter, box, design::toQColor(Theme::card()));
            shape.strokeBorder(painter, box, design::toQColor(Theme::line()), 1);
        }
        const QFont font = labelFont(selected);
        const qreal symbolSide = design::Symbols::boxSide(kSymbolSize);
        const qreal textWidth = QFontMetricsF(font).horizontalAdvance(text());
        const qreal left = (box.width() - symbolSide - kSpacing - textWidth) / 2;
        const QRectF symbol(left, (box.height() - symbolSide) / 2, symbolSide, symbolSide);
        design::Symbols::paint(painter, symbol, m_symbol,
                               (selected ? design::Tint(Theme::flame()) : design::Tint(Theme::text2())).resolve(), kSymbolSize,
                               FontWeight::semibold);
        painter.setFont(font);
        painter.setPen(design::toQColor(selected ? Theme::text() : Theme::text2()));
        painter.drawText(QRectF(symbol.right() + kSpacing, 0, textWidth + 1, box.height()),
                         Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text());
    }

private:
    static QFont labelFont(bool selected) {
        return design::ODFont::body(13, selected ? FontWeight::bold : FontWeight::semibold);
    }

    QString m_symbol;
};

ReviewKindToggle::ReviewKindToggle(QWidget* parent)
    : QWidget(parent),
      m_event(new KindSegment(u"Event"_s, u"calendar.badge.plus"_s, u"1"_s, this)),
      m_reminder(new KindSegment(u"Reminder"_s, u"checklist"_s, u"2"_s, this)) {
    setObjectName(u"ReviewKindToggle"_s);
    setAccessibleName(u"Create as"_s);
    design::setAccessibleRole(this, QAccessible::Grouping);
    design::followAppearance(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(3);
    row->addWidget(m_event, 1);
    row->addWidget(m_reminder, 1);
    connect(m_event, &QAbstractButton::clicked, this, [this] { emit chosen(ImageExtraction::Kind::event); });
    connect(m_reminder, &QAbstractButton::clicked, this, [this] { emit chosen(ImageExtraction::Kind::reminder); });
    setKind(ImageExtraction::Kind::event);
}

void ReviewKindToggle::setKind(ImageExtraction::Kind kind) {
    m_event->setSelected(kind == ImageExtraction::Kind::event);
    m_reminder->setSelected(kind == ImageExtraction::Kind::reminder);
}

KindSegment* ReviewKindToggle::segment(ImageExtraction::Kind kind) const {
    return kind == ImageExtraction::Kind::event ? m_event : m_reminder;
}

void ReviewKindToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    design::Shape::rounded(kTrackRadius).fill(painter, QRectF(rect()), design::toQColor(Theme::fillSoft()));
}

}  // namespace imageimport
