#pragma once

class QWidget;

// The gallery's pages for the settings controls, form pieces, avatars and menus.
namespace gallery::forms {

QWidget* switches();
QWidget* segmented();
QWidget* fieldBackgrounds();
QWidget* settingsRows();
QWidget* settingsNotes();
QWidget* linkButtons();
QWidget* flowLayout();
QWidget* menuButtons();
QWidget* openMenuButton();
QWidget* openPopupMenu();
QWidget* formTiles();
QWidget* textFields();
QWidget* calendarChips();
QWidget* fieldChoiceButtons();
QWidget* keycapButtons();
QWidget* avatars();

}  // namespace gallery::forms
