#include "design/widgets/SettingsNote.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/TextBlock.h"

#include <QHBoxLayout>
#include <QPainter>

namespace design {

namespace {

constexpr qreal kCornerRadius = 8;
constexpr qreal kGoodFillOpacity = 0.12;

Tint toneColor(SettingsNote::Tone tone) {
    if (tone == SettingsNote::Tone::good)
        return Theme::green();
    return Theme::text2();
}

}  // namespace

SettingsNote::SettingsNote(const QString& icon, const QString& text, Tone tone, QWidget* trailing, QWidget* parent)
    : QWidget(parent), m_tone(tone), m_trailing(trailing) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 7, 12, 7);
    row->setSpacing(8);
    row->addWidget(new SymbolView(icon, 11, FontWeight::medium, toneColor(tone)), 0, Qt::AlignVCenter);
    m_text = new TextBlock(text, ODFont::body(12, FontWeight::medium), toneColor(tone));
    row->addWidget(m_text, 1, Qt::AlignVCenter);
    if (trailing != nullptr) {
        row->addSpacing(kTrailingGap);
        row->addWidget(trailing, 0, Qt::AlignVCenter);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAccessibleRole(this, QAccessible::Grouping);
    followAppearance(this);
}

void SettingsNote::setText(const QString& text) {
    m_text->setText(text);
}

void SettingsNote::paintBackground(QPainter& painter, const QRectF& rect, Tone tone) {
    const QColor fill = tone == Tone::good
                            ? toQColor(Theme::green().withAlpha(kGoodFillOpacity * Theme::green().alphaF()))
                            : toQColor(Theme::fillSoft());
    Shape::rounded(kCornerRadius).fill(painter, rect, fill);
}

void SettingsNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter, QRectF(rect()), m_tone);
}

}  // namespace design
