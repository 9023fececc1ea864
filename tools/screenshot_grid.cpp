// Starts the program on a temporary copy of the demo catalogue, sorts the grid by two columns,
// types into a quick-filter box, runs the filter and saves a picture of the window.
// Usage: screenshot_grid <out.png>   (under Xvfb: DISPLAY set, QT_QPA_PLATFORM=xcb)
#include "app/Guard.h"
#include "app/Program.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "storage/QueryModel.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) return 2;
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    TProgram program(dir.path());
    program.Create();
    fMain->show();
    QTest::qWait(300);

    TGridPage* page = fMain->ts2;
    const QStringList fields = page->Model()->ColumnFields();
    page->grQueryTitleClick(fields.indexOf("LAPTIPUS_NEV"));
    fMain->CtrlHeld = true;
    page->grQueryTitleClick(fields.indexOf("L_NEV"));
    fMain->CtrlHeld = false;
    if (auto* box = fMain->pnGridTop->findChild<QLineEdit*>("e__L_SZINT")) {
        box->setText(">=2");
        QTest::keyClick(box, Qt::Key_Return);
    }
    QTest::qWait(300);
    const QPixmap shot = fMain->screen()->grabWindow(0);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
