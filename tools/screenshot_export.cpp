// Starts the program on a temporary copy of the demo catalogue and saves pictures of the export
// commands: the grid's context menu, the "Adatok" -> "Export" menu and the progress dialog of a
// long export; the workbook of the list is written into the output folder as well.
// Usage: screenshot_export <out folder>   (offscreen or under Xvfb)
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "browser/ufMain.h"
#include "export/uExportProgress.h"
#include "export/udmExport.h"
#include "storage/uAM.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    TTestUiHost ui;  // the workbook is written, not opened
    TProgram program(dir.path());
    program.Create();
    fMain->show();
    QTest::qWait(200);

    fMain->pmGrid->popup(fMain->mapToGlobal(QPoint(200, 200)));
    QTest::qWait(100);
    bool ok = fMain->pmGrid->grab().save(out.filePath("export-pmGrid.png"));
    fMain->pmGrid->hide();

    for (QAction* a : fMain->menuBar()->actions())
        if (WithoutMnemonic(a->text()) == "Adatok" && a->menu()) {
            a->menu()->popup(fMain->mapToGlobal(QPoint(0, 20)));
            QTest::qWait(100);
            for (QAction* sub : a->menu()->actions())
                if (sub->menu()) {
                    sub->menu()->popup(fMain->mapToGlobal(QPoint(150, 40)));
                    QTest::qWait(100);
                    ok = sub->menu()->grab().save(out.filePath("export-menu.png")) && ok;
                    sub->menu()->hide();
                }
            a->menu()->hide();
        }

    TDialogProgress progress;
    progress.ShowAfterMs = 0;
    progress.Start(AM->qLapok.RecordCount());
    progress.Step(AM->qLapok.RecordCount() / 3);
    QTest::qWait(100);
    if (progress.Dialog()) ok = progress.Dialog()->grab().save(out.filePath("export-progress.png")) && ok;
    progress.Finish();

    dmExport->WorkbookFolder = out.path();
    fMain->acExportExcel->trigger();
    ok = !dmExport->LastWorkbook().isEmpty() && ok;
    fMain->close();
    return ok ? 0 : 1;
}
