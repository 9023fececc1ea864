#pragma once
// Where the program keeps its settings, catalogue and pictures, and the desktop integration that
// start-up sets once (Qt's own texts in Hungarian, the menu entry's name, the window icon).
#include <QIcon>
#include <QString>

class QApplication;

// The program folder: the executable's own folder when it is writable (a build, a copy in the
// user's home), else dataDir (the user's data folder) — created when missing and filled, where it
// has no catalogue (resp. no picture of that name), from demoDir, the installed demo. Returns an
// empty text when neither can be used; errorText then says why.
QString ChooseProgramFolder(const QString& exeDir, const QString& dataDir, const QString& demoDir,
                            QString* errorText = nullptr);

// The installed demo beside an installed executable (<prefix>/bin -> <prefix>/share/velkor/demo).
QString InstalledDemoFolder(const QString& exeDir);

// Loads Qt's own Hungarian texts (file dialogs, edit menus) when the translation is installed.
bool InstallQtTranslations(QApplication& app);

// The program's icon in every size it ships with, from the program's resources.
QIcon ProgramIcon();
