#include "popover/EmptyStateView.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/Tilt.h"

#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace popover {

namespace {

constexpr int kTileSide = 44;
constexpr qreal kTileCornerRadius = 13;
constexpr qreal kTileTilt = -4;
constexpr qreal kSymbolSize = 20;
constexpr int kSpacing = 6;
constexpr int kBelowTile = 6;
constexpr int kAboveAccessory = 8;

}  // namespace

// The turned tile. It keeps room for its turned corners whether or not it is
// turned, so the block does not jump when reduced motion is switched.
class EmptyStateView::Tile final : public QWidget {
public:
    Tile(QString symbol, design::Tint tint, design::Tint foreground, QWidget* parent)
        : QWidget(parent), m_symbol(std::move(symbol)), m_tint(tint), m_foreground(foreground) {
        const QMarginsF room = design::tiltOutset(QSizeF(kTileSide, kTileSide), kTileTilt);
        const int side = kTileSide + 2 * static_cast<int>(std::ceil(room.left()));
        setFixedSize(side, side);
        design::setAccessibleRole(this, QAccessible::NoRole);
        design::followAppearance(this);
    }

    const QString& symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile = design::odSquare(QRectF(rect()), kTileSide);
        design::odTilt(painter, tile, kTileTilt);
        design::Shape::rounded(kTileCornerRadius).fill(painter, tile, m_tint.resolve());
        design::Symbols::paint(painter, tile, m_symbol, m_foreground.resolve(), kSymbolSize,
                               design::FontWeight::semibold);
    }

private:
    QString m_symbol;
    design::Tint m_tint;
    design::Tint m_foreground;
};

EmptyStateView::EmptyStateView(const QString& symbol, design::Tint tint, const QString& title, const QString& message,
                               design::Tint iconForeground, QWidget* accessory, QWidget* parent)
    : QWidget(parent),
      m_tile(new Tile(symbol, tint, iconForeground, this)),
      m_title(new design::TextLine(title, design::ODFont::display(18), design::Theme::text(), this)),
      m_message(new design::TextBlock(message, design::ODFont::body(12), design::Theme::text2(), this)),
      m_accessory(accessory) {
    design::setAccessibleRole(this, QAccessible::Grouping);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_message->setAlignment(Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSpacing);
    layout->addWidget(m_tile, 0, Qt::AlignHCenter);
    layout->addSpacing(kBelowTile);
    layout->addWidget(m_title, 0, Qt::AlignHCenter);
    layout->addWidget(m_message);
    if (accessory != nullptr) {
        accessory->setParent(this);
        layout->addSpacing(kAboveAccessory);
        layout->addWidget(accessory, 0, Qt::AlignHCenter);
    }
}

QString EmptyStateView::symbol() const {
    return m_tile->symbol();
}

QString EmptyStateView::title() const {
    return m_title->text();
}

QString EmptyStateView::message() const {
    return m_message->text();
}

}  // namespace popover
