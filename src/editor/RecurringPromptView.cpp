#include "editor/RecurringPromptView.h"

#include "design/values/Theme.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "editor/EditorTexts.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::FontWeight;
using design::Theme;

namespace {

constexpr int kPadding = 18;
constexpr int kTile = 40;
constexpr qreal kCardRadius = 16;
constexpr qreal kTileRadius = 10;
constexpr int kMargin = 8;

// The repeat symbol on its soft accent square.
class RepeatTile final : public QWidget {
public:
    explicit RepeatTile(QWidget* parent) : QWidget(parent) {
        design::odSquare(this, kTile);
        design::setAccessibleRole(this, QAccessible::Graphic);
        design::followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF square = design::odSquare(QRectF(rect()), kTile);
        design::Shape::rounded(kTileRadius).fill(painter, square, design::toQColor(Theme::flameSoft()));
        design::Symbols::paint(painter, square, u"repeat"_s, design::toQColor(Theme::flame()), 15,
                               FontWeight::semibold);
    }
};

}  // namespace

RecurringPromptView::RecurringPromptView(const QString& actionTitle, const QString& eventTitle,
                                         model::RecurrenceOption recurrence, QWidget* parent)
    : QWidget(parent),
      m_title(new design::TextLine(texts::recurringPromptTitle(actionTitle), design::ODFont::display(19),
                                   Theme::text(), this)),
      m_subtitle(new design::TextBlock(texts::recurringPromptSentence(actionTitle, eventTitle, recurrence),
                                       design::ODFont::body(12), Theme::text2(), this)),
      m_future(new design::KeycapButton(
          u"All future events"_s, std::nullopt, u"↩"_s,
          texts::isDeleteAction(actionTitle) ? design::ODButtonKind::danger : design::ODButtonKind::primary,
          design::ODButtonSize::medium, true, this)),
      m_thisEvent(new design::ODButton(u"Only this event"_s, std::nullopt, design::ODButtonKind::secondary,
                                       design::ODButtonSize::medium, true, this)),
      m_cancel(new design::KeycapButton(u"Cancel"_s, std::nullopt, u"esc"_s, design::ODButtonKind::ghost,
                                        design::ODButtonSize::medium, true, this)) {
    setObjectName(u"RecurringPromptView"_s);
    setFixedWidth(kWidth);
    design::setAccessibleRole(this, QAccessible::Dialog);
    setAccessibleName(m_title->text());
    setAccessibleDescription(m_subtitle->text());
    design::followAppearance(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(8);
    auto* tile = new RepeatTile(this);
    layout->addWidget(tile, 0, Qt::AlignLeft);
    layout->addSpacing(4);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
    layout->addSpacing(6);
    layout->addWidget(m_future);
    layout->addWidget(m_thisEvent);
    layout->addWidget(m_cancel);

    connect(m_future, &QAbstractButton::clicked, this, [this] { emit chosen(model::EditSpan::futureEvents); });
    connect(m_thisEvent, &QAbstractButton::clicked, this, [this] { emit chosen(model::EditSpan::thisEvent); });
    connect(m_cancel, &QAbstractButton::clicked, this, &RecurringPromptView::cancelled);
}

QString RecurringPromptView::title() const {
    return m_title->text();
}

QString RecurringPromptView::subtitle() const {
    return m_subtitle->text();
}

void RecurringPromptView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const design::Shape card = design::Shape::rounded(kCardRadius);
    card.fill(painter, QRectF(rect()), design::toQColor(Theme::card()));
    card.strokeBorder(painter, QRectF(rect()), design::toQColor(Theme::line()), 1);
}

void RecurringPromptView::mousePressEvent(QMouseEvent* event) {
    // A click on the card is no click on the dimmed editor behind it.
    event->accept();
}

// ---------------------------------------------------------------------------------------------

RecurringPromptOverlay::RecurringPromptOverlay(QWidget* parent)
    : QWidget(parent),
      m_return(new QShortcut(QKeySequence(Qt::Key_Return), this)),
      m_enter(new QShortcut(QKeySequence(Qt::Key_Enter), this)),
      m_opacity(new QGraphicsOpacityEffect(this)),
      m_fade(new QVariantAnimation(this)) {
    setObjectName(u"RecurringPromptOverlay"_s);
    design::followAppearance(this);
    // Drawn whole only while it fades: a settled overlay is painted as it is.
    m_opacity->setEnabled(false);
    setGraphicsEffect(m_opacity);
    m_fade->setDuration(kFadeMs);
    m_fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_fade, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { m_opacity->setOpacity(value.toReal()); });
    connect(m_fade, &QVariantAnimation::finished, this, [this] {
        m_opacity->setEnabled(false);
        if (!m_presented)
            hide();
    });
    for (QShortcut* shortcut : {m_return, m_enter}) {
        shortcut->setEnabled(false);
        connect(shortcut, &QShortcut::activated, this, &RecurringPromptOverlay::answerReturn);
    }
    hide();
}

void RecurringPromptOverlay::present(const QString& actionTitle, const QString& eventTitle,
                                     model::RecurrenceOption recurrence) {
    delete m_card;
    m_card = new RecurringPromptView(actionTitle, eventTitle, recurrence, this);
    connect(m_card, &RecurringPromptView::chosen, this, &RecurringPromptOverlay::chosen);
    connect(m_card, &RecurringPromptView::cancelled, this, &RecurringPromptOverlay::cancelled);
    m_presented = true;
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    for (QShortcut* shortcut : {m_return, m_enter})
        shortcut->setEnabled(true);
    if (QWidget* covered = parentWidget())
        setGeometry(covered->rect());
    placeCard();
    m_card->show();
    raise();
    show();
    fade(1);
}

void RecurringPromptOverlay::answerReturn() {
    if (!m_presented || !m_card)
        return;
    // The window-wide shortcut sees Return before the focused button does: a
    // button the user moved to answers, the default one only when none has focus.
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    if (focused && m_card->isAncestorOf(focused) && focused->isEnabled())
        focused->click();
    else
        m_card->futureEventsButton()->click();
}

void RecurringPromptOverlay::dismiss() {
    if (!m_presented)
        return;
    m_presented = false;
    // While it fades out, clicks reach the editor it uncovers.
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    for (QShortcut* shortcut : {m_return, m_enter})
        shortcut->setEnabled(false);
    fade(0);
}

void RecurringPromptOverlay::fade(qreal to) {
    const qreal from = m_fade->state() == QAbstractAnimation::Running ? m_opacity->opacity() : 1 - to;
    m_fade->stop();
    if (design::Theme::appearance().reduceMotion || !isVisible()) {
        m_opacity->setEnabled(false);
        m_opacity->setOpacity(to);
        setVisible(to > 0);
        return;
    }
    m_opacity->setOpacity(from);
    m_opacity->setEnabled(true);
    m_fade->setStartValue(from);
    m_fade->setEndValue(to);
    m_fade->start();
}

void RecurringPromptOverlay::placeCard() {
    if (!m_card)
        return;
    const int cardHeight = m_card->heightForWidth(RecurringPromptView::kWidth) > 0
                               ? m_card->heightForWidth(RecurringPromptView::kWidth)
                               : m_card->sizeHint().height();
    // On a popover too short for the whole card below its usual place, it moves up.
    const int top = std::max(kMargin, std::min(kCardTop, height() - cardHeight - kMargin));
    m_card->setGeometry((width() - RecurringPromptView::kWidth) / 2, top, RecurringPromptView::kWidth, cardHeight);
}

void RecurringPromptOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design::toQColor(Theme::ink().withAlpha(kDim)));
}

void RecurringPromptOverlay::mousePressEvent(QMouseEvent* event) {
    // The card takes its own clicks; what reaches here fell on the dimmed editor.
    event->accept();
    if (m_presented)
        emit cancelled();
}

void RecurringPromptOverlay::resizeEvent(QResizeEvent* event) {
    placeCard();
    QWidget::resizeEvent(event);
}

}  // namespace editor
