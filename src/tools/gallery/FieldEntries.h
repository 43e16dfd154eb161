#pragma once

class QWidget;

// The gallery's pages for the line fields, plain buttons and the pieces of the
// small field cards and their pop-overs.
namespace gallery::fields {

QWidget* lineFields();
QWidget* plainButtons();
QWidget* fieldCards();
QWidget* monthPicker();
QWidget* timePickers();
QWidget* durationsAndQuickChoices();
QWidget* anchoredPopover();

}  // namespace gallery::fields
