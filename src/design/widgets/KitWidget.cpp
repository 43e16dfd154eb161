#include "design/widgets/KitWidget.h"

#include "design/values/Theme.h"

#include <QAbstractButton>
#include <QAction>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QTextDocument>
#include <QWidget>

namespace design {

namespace {

const char* const kRoleProperty = "orbitdayAccessibleRole";
const char* const kValueProperty = "orbitdayAccessibleValue";
const char* const kSelectedProperty = "orbitdayAccessibleSelected";

// A custom-painted widget as assistive technologies see it: its role, its value,
// and for a button, the check state and the press or toggle action a plain
// widget would not report.
class KitAccessible final : public QAccessibleWidget {
public:
    KitAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (const QAbstractButton* button = this->button(); button != nullptr && button->isCheckable()) {
            state.checkable = true;
            state.checked = button->isChecked();
        }
        if (const QVariant selected = widget()->property(kSelectedProperty); selected.isValid()) {
            state.selectable = true;
            state.selected = selected.toBool();
        }
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return widget()->property(kValueProperty).toString();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (const QAbstractButton* button = this->button(); button != nullptr && button->isEnabled())
            names.prepend(button->isCheckable() ? toggleAction() : pressAction());
        for (const QAction* action : widget()->actions())
            if (action->isEnabled() && !action->text().isEmpty())
                names << action->text();
        return names;
    }

    void doAction(const QString& name) override {
        QAbstractButton* button = this->button();
        if (button != nullptr && button->isEnabled() && (name == pressAction() || name == toggleAction())) {
            button->click();
            return;
        }
        for (QAction* action : widget()->actions()) {
            if (action->isEnabled() && action->text() == name) {
                action->trigger();
                return;
            }
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton* button() const { return qobject_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* kitAccessible(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new KitAccessible(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void followAppearance(QWidget* widget) {
    QObject::connect(&AppearanceSignal::instance(), &AppearanceSignal::changed, widget,
                     [widget] { widget->update(); });
}

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(kitAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void makeOverlay(QWidget* overlay) {
    overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
    overlay->setAttribute(Qt::WA_NoSystemBackground);
    overlay->setFocusPolicy(Qt::NoFocus);
    setAccessibleRole(overlay, QAccessible::NoRole);
    followAppearance(overlay);
}

void setAccessibleValue(QWidget* widget, const QString& value) {
    if (widget->property(kValueProperty).toString() == value)
        return;
    widget->setProperty(kValueProperty, value);
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

void setAccessibleSelected(QWidget* widget, bool selected) {
    const QVariant previous = widget->property(kSelectedProperty);
    if (previous.isValid() && previous.toBool() == selected)
        return;
    widget->setProperty(kSelectedProperty, selected);
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

bool clickOnReturn(QAbstractButton* button, QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Enter on the keypad carries the keypad modifier.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!isReturn || !plain || event->isAutoRepeat())
        return false;
    button->click();
    event->accept();
    return true;
}

QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

void announce(QWidget* widget, const QString& text) {
    widget->setAccessibleDescription(text);
    QAccessibleEvent alert(widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace design
