#include "imageimport/flow/ImportHeader.h"

#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/TextLine.h"
#include "state/AppState.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

constexpr int kBadge = 22;

QString badgeSymbol() {
    static const QString symbol =
        design::SymbolTable::hasSymbol(u"photo.badge.plus"_s) ? u"photo.badge.plus"_s : u"photo"_s;
    return symbol;
}

// A key cap that is itself the button, with no plate around it. It is for the
// pointer only: the key it shows is how the keyboard leaves, and as a focus stop
// it would take the Return meant for the card's own button.
class KeycapKey final : public QAbstractButton {
public:
    KeycapKey(const QString& key, QWidget* parent) : QAbstractButton(parent) {
        setText(key);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
        design::followAppearance(this);
        setFixedSize(design::Keycap::sizeFor(key).toSize());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        design::Keycap::paint(painter, QRectF(rect()), text());
    }
};

}  // namespace

ImportHeader::ImportHeader(app::AppState& appState, QWidget* parent)
    : QWidget(parent), m_close(new KeycapKey(u"esc"_s, this)) {
    setObjectName(u"ImportHeader"_s);
    auto* title = new design::TextLine(u"New from image"_s, design::ODFont::body(13, design::FontWeight::bold),
                                       design::Theme::text(), this);
    design::setAccessibleRole(title, QAccessible::Heading);
    m_close->setAccessibleName(u"Close"_s);
    m_close->setToolTip(u"Cancel (esc)"_s);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 6);
    row->setSpacing(8);
    row->addWidget(new design::SymbolTile(
        {.symbol = badgeSymbol(), .weight = design::FontWeight::semibold, .side = kBadge, .cornerRadius = 7}, this));
    row->addWidget(title);
    row->addStretch(1);
    row->addWidget(m_close);
    connect(static_cast<QAbstractButton*>(m_close), &QAbstractButton::clicked, this,
            [&appState] { appState.setRoute(app::PopoverRoute::main()); });
}

}  // namespace imageimport
