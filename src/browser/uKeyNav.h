#pragma once
// The main window without a mouse: Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PgDn / Ctrl+PgUp step
// through its pages from whatever control has the focus, and "Nézet" gains the deck page.

class QAction;
class QMenu;
class QTabWidget;
class TfMain;

// Makes the current page the one delta pages on, wrapping around at either end.
void StepPage(QTabWidget* pages, int delta);

// Called once by the main window while it builds its menus; returns the "Pakli nézet" item, which
// the main window shows only while a deck is open.
QAction* AddPageKeys(TfMain* main, QMenu* viewMenu);
