// Starts the program on a temporary copy of the demo catalogue, opens the first demo deck and writes
// its sheet and the card list as PDF files into the output folder, with pictures of the "Adatok"
// and "Pakli" menus and of the deck frame's menu.
// Usage: screenshot_print <out folder> [program folder] [deck id]   (offscreen or under Xvfb);
// pdftoppm makes pages pictures.
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "browser/uListPrint.h"
#include "browser/ufMain.h"
#include "decks/uDeckPrint.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir dir;
    CopyCatalogue(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    TTestUiHost ui;
    TProgram program(dir.path());
    program.Create();
    fMain->show();
    QTest::qWait(200);
    bool ok = true;
    auto menu = [&](const QString& title, const QString& file) {
        for (QAction* a : fMain->menuBar()->actions())
            if (WithoutMnemonic(a->text()) == title && a->menu()) {
                a->menu()->popup(fMain->mapToGlobal(QPoint(0, 20)));
                QTest::qWait(100);
                ok = a->menu()->grab().save(out.filePath(file)) && ok;
                a->menu()->hide();
            }
    };
    menu("Adatok", "print-menu-adatok.png");
    ui.PushSaveFile(out.filePath("lista.pdf"));
    fMain->acListPdf->trigger();

    TQuery q(&AM->ADOConnection);
    q.SetSQL(argc > 3 ? "SELECT P_ID FROM TPAKLI WHERE P_ID = " + QString::number(QString(argv[3]).toLongLong())
                      : QStringLiteral("SELECT P_ID FROM TPAKLI ORDER BY P_ID LIMIT 1"));
    q.Open();
    fMain->OpenDeck(q.Fields(0).AsLargeInt());
    QTest::qWait(200);
    menu("Pakli", "print-menu-pakli.png");
    if (TfmPakli* frame = fMain->findChild<TfmPakli*>()) {
        frame->pmPakli->popup(fMain->mapToGlobal(QPoint(300, 60)));
        QTest::qWait(100);
        ok = frame->pmPakli->grab().save(out.filePath("print-menu-frame.png")) && ok;
        frame->pmPakli->hide();
    }
    ui.PushSaveFile(out.filePath("pakli.pdf"));
    fMain->acPakliPdf->trigger();
    for (const QString& t : ui.Texts()) std::printf("%s\n", qPrintable(t));
    return ok ? 0 : 1;
}
