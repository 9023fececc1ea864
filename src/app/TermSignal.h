#pragma once
// A termination request (SIGTERM, SIGINT, SIGHUP: a logout, a shutdown, Ctrl+C in a terminal)
// closes the main window the ordinary way, so the settings are written as on any other close.
class QWidget;

void CloseWindowOnTermination(QWidget* window);

// What a termination request does: an open modal window (a question, a dialog) is closed first
// as if cancelled, and only when none is left is the main window closed. So no question can be
// answered, and nothing written because of it, after the settings were written at the close.
void CloseForTermination(QWidget* window);
