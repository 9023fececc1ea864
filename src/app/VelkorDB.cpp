// Program entry: the settings file and the version are fixed first, then the long-lived modules
// are created in their order and the main window runs until it is closed.
#include "app/AppVer.h"
#include "app/Guard.h"
#include "app/Program.h"
#include "app/TermSignal.h"
#include "browser/ufMain.h"

#include <QTimer>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    ReadVersionInfo();
    QApplication::setApplicationName(QStringLiteral("Velkor Adatbázis"));

    TProgram program(QCoreApplication::applicationDirPath());
    program.Create();
    fMain->show();
    CloseWindowOnTermination(fMain);
    // Lets the benchmark time a start: the window closes as soon as the event loop runs.
    if (qEnvironmentVariableIsSet("VELKOR_EXIT_AFTER_START")) QTimer::singleShot(0, fMain, &QWidget::close);
    return app.exec();
}
