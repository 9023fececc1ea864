// Program entry: the program folder, the settings file and the version are fixed first, then the
// long-lived modules are created in their order and the main window runs until it is closed.
#include "app/AppVer.h"
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "app/ProgramFolder.h"
#include "app/TermSignal.h"
#include "browser/ufMain.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    ReadVersionInfo();
    QApplication::setApplicationName(QStringLiteral("Velkor Adatbázis"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velkor"));
    QApplication::setWindowIcon(ProgramIcon());
    InstallQtTranslations(app);

    // A build or a copied folder keeps everything beside the executable; an installed program
    // whose folder is read-only works in the user's data folder, filled from the installed demo.
    const QString exeDir = QCoreApplication::applicationDirPath();
    QString error;
    const QString programDir =
        ChooseProgramFolder(exeDir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                            InstalledDemoFolder(exeDir), &error);
    if (programDir.isEmpty()) {
        ShowErrorDialog(QStringLiteral("Hiba a programmappa előkészítése közben"), error);
        return 1;
    }
    // The picture folder setting is relative to the working folder, which is the program folder.
    QDir::setCurrent(programDir);

    TProgram program(programDir);
    program.Create();
    fMain->AssignMenuMnemonics();
    // Before the window shows: a stop request that arrives as soon as it is visible must close
    // it the ordinary way (settings written), not end the process by the signal's default.
    CloseWindowOnTermination(fMain);
    fMain->show();
    // Lets the benchmark time a start: the window closes as soon as the event loop runs.
    if (qEnvironmentVariableIsSet("VELKOR_EXIT_AFTER_START")) QTimer::singleShot(0, fMain, &QWidget::close);
    return app.exec();
}
