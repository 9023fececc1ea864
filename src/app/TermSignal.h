#pragma once
// A termination request (SIGTERM, SIGINT, SIGHUP: a logout, a shutdown, Ctrl+C in a terminal)
// closes the main window the ordinary way, so the settings are written as on any other close.
class QWidget;

void CloseWindowOnTermination(QWidget* window);
