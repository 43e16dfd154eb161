#include "design/widgets/DurationList.h"

#include "design/values/ODFormat.h"
#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace design {

namespace {

constexpr qreal kRowHorizontal = 10;
constexpr qreal kRowVertical = 5;

// One length, on the menu's highlight when it is the chosen one.
class DurationRow final : public PlainButton {
public:
    DurationRow(int minutes, QWidget* parent) : PlainButton(Shape::rounded(6), parent) {
        setText(ODFormat::duration(minutes * 60.0));
        setAccessibleName(text());
        setAccessibleRole(this, QAccessible::MenuItem);
        setCheckable(true);
        setFont(ODFont::body(13, FontWeight::semibold));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        return QSize(DurationList::kRowWidth,
                     static_cast<int>(std::ceil(QFontMetricsF(font()).height() + 2 * kRowVertical)));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        beginPaint(painter);
        const QRectF frame(rect());
        if (isChecked())
            Shape::rounded(6).fill(painter, frame, toQColor(Theme::menuItem()));
        painter.setPen(toQColor(Theme::text()));
        painter.drawText(frame.adjusted(kRowHorizontal, 0, -kRowHorizontal, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
        if (isChecked()) {
            const qreal side = Symbols::boxSide(10);
            Symbols::paint(painter, QRectF(frame.right() - kRowHorizontal - side, (height() - side) / 2, side, side),
                           u"checkmark"_s, toQColor(Theme::flame()), 10, FontWeight::bold);
        }
    }
};

}  // namespace

const std::vector<int>& DurationList::standardMinutes() {
    static const std::vector<int> minutes{15, 30, 45, 60, 90, 120, 180};
    return minutes;
}

DurationList::DurationList(std::vector<int> minutes, QWidget* parent) : QWidget(parent), m_minutes(std::move(minutes)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(2);
    for (const int length : m_minutes) {
        auto* row = new DurationRow(length, this);
        column->addWidget(row);
        m_rows.push_back(row);
        // The row's own toggling is not the choice: the owner marks what it holds.
        connect(row, &QAbstractButton::clicked, this, [this, row, length] {
            row->setChecked(m_selected == length);
            emit chosen(length);
        });
    }
    setFocusProxy(m_rows.empty() ? nullptr : m_rows.front());
}

void DurationList::setSelected(std::optional<int> minutes) {
    m_selected = minutes;
    for (size_t i = 0; i < m_rows.size(); ++i)
        static_cast<QAbstractButton*>(m_rows[i])->setChecked(minutes == m_minutes[i]);
}

QWidget* DurationList::row(int minutes) const {
    for (size_t i = 0; i < m_minutes.size(); ++i)
        if (m_minutes[i] == minutes)
            return m_rows[i];
    return nullptr;
}

}  // namespace design
