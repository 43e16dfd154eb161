#pragma once

class QWidget;

// The gallery's pages for the line fields, plain buttons and the pieces of the
// small field cards and their pop-overs.
namespace gallery::fields {

QWidget* lineFields();
QWidget* plainButtons();

}  // namespace gallery::fields
