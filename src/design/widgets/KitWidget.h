#pragma once

#include <QAccessible>
#include <QString>

class QAbstractButton;
class QKeyEvent;
class QWidget;

namespace design {

// Repaints the widget whenever the appearance changes (dark, light, contrast,
// motion), for as long as it lives. Every widget of the kit calls it once.
void followAppearance(QWidget* widget);

// The role assistive technologies are told for a custom-painted widget (a plain
// widget would say "client"); its name is its accessibleName(). The widget's
// own QActions (QWidget::addAction) are offered as named actions beside a
// button's press.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// A widget drawn over its parent's other children (a focus ring, a field's
// border): clicks pass through it, it takes no focus, is not read out, and
// repaints with the appearance.
void makeOverlay(QWidget* overlay);

// What assistive technologies read as the widget's value (the choice a menu
// button shows, for instance), for a widget given a role above.
void setAccessibleValue(QWidget* widget, const QString& value);

// Tells assistive technologies whether the widget is the selected one of a set
// (a day in a calendar), for a widget given a role above.
void setAccessibleSelected(QWidget* widget, bool selected);

// Return or Enter clicks a focused kit button, as Space does; true when it did.
bool clickOnReturn(QAbstractButton* button, QKeyEvent* event);

// Has assistive technologies say `text` now, as coming from the widget.
void announce(QWidget* widget, const QString& text);
// A tooltip that shows the text as it stands, never as markup: titles and
// places come from calendar files, and "<b>" in one is just text.
QString plainToolTip(const QString& text);

}  // namespace design
