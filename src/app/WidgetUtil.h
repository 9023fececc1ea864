#pragma once
// Small scope guards and placement helpers that every window shares.
#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <vector>

// The wait (hourglass) cursor for the life of the scope: every walk over the card list, an export,
// a multi-card picture view. Nests; an exception leaving the scope restores the cursor too.
class TWaitCursor {
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// Painting of the given widgets held back for the life of the scope (a list refilled item by item
// repaints once); restored however the scope is left, and a widget destroyed meanwhile is skipped.
class TUpdatesSuspended {
public:
    TUpdatesSuspended(std::initializer_list<QWidget*> widgets);
    ~TUpdatesSuspended();
    TUpdatesSuspended(const TUpdatesSuspended&) = delete;
    TUpdatesSuspended& operator=(const TUpdatesSuspended&) = delete;

private:
    std::vector<QPointer<QWidget>> FWidgets;
};

// Moves a window so that its frame stands in the middle of the primary screen, raised by `above`
// pixels: left = screen width div 2 - width div 2, top = screen height div 2 - height div 2 - above.
void CenterOnScreen(QWidget* window, int above = 0);
// Moves a window so that it stands centred over its parent's window (on the screen when that is
// not shown), kept on that screen.
void CenterOverOwner(QWidget* window);

class QDialog;
class QPainter;
class QStyleOptionViewItem;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

// Keys that finish a dialog without the mouse. Enter on a focused button presses that button
// (also where buttons are kept from being the default, so that it is never the default button that
// fires instead); Ctrl+Enter presses the first shown, enabled button of `finish` from anywhere in
// the dialog; with `plainEnter`, so does an Enter that no control used. Esc stays the dialog's own.
void SetFinishKeys(QDialog* dialog, std::initializer_list<QPushButton*> finish, bool plainEnter);

// The keyboard's place in a list whose items are painted by hand: the style's focus frame over the
// item, when the item has the focus.
void DrawFocusMark(QPainter& painter, const QStyleOptionViewItem& option);

// The editor's text exactly as typed or set: toPlainText() would turn a no-break space into a plain
// one. Paragraphs are joined with "\n".
QString ExactPlainText(const QPlainTextEdit* editor);

// Gives every menu of the bar and every item of those menus (sub-menus included) a keyboard
// mnemonic ("&") that no sibling shares: a text that has one keeps it; the others take the first
// free letter, word beginnings first, then any letter of the text. The visible text is unchanged.
void AssignMnemonics(QMenuBar* bar);
void AssignMnemonics(QMenu* menu);

// A caption without its mnemonic marks ("&Kilépés" -> "Kilépés", "a && b" -> "a & b").
QString WithoutMnemonic(const QString& text);
