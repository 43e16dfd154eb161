#include "design/KitWidget.h"

#include "design/Theme.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QWidget>

namespace design {

namespace {

const char* const kRoleProperty = "orbitdayAccessibleRole";

QAccessibleInterface* kitAccessible(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
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

}  // namespace design
