// Starts the program on a temporary copy of the demo catalogue, opens a demo deck on its statistics
// page and saves pictures of it in the short and the detailed form; then exports a deck whose
// names hold accented letters, "&", "<" and a character outside Windows-1250, as an HTML page for
// tools/render_deck_html.sh to show in a browser.
// Usage: screenshot_summary <folder> [deck id] [--dialog]
//   --dialog also opens the real save dialog of the export and saves a picture of it (then cancels)
//   (under Xvfb the whole screen is saved; with QT_QPA_PLATFORM=offscreen only the main window)
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufMain.h"
#include "decks/uDeckSummary.h"
#include "decks/ufmPakli.h"

#include "ScreenshotTool.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>

namespace {
bool Save(const QString& folder, const QString& name) { return SaveScreen(fMain, folder, name); }
}  // namespace

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_summary <folder> [deck id]\n");
        return 2;
    }
    const QString folder = QDir().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    const qint64 deckId = argc > 2 && argv[2][0] != '-' ? QByteArray(argv[2]).toLongLong() : 1;
    const bool dialog = QByteArray(argv[argc - 1]) == "--dialog";
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    QDir::setCurrent(dir.path());
    {
        // A deck with names that a page must escape and encode: accented, "&", "<", a quote, and a
        // letter Windows-1250 lacks.
        sqlite3* db = nullptr;
        sqlite3_open(dir.filePath("DB/Velkor.db").toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "UPDATE TLAP SET L_NEV = 'Tűz & Jég <új>' WHERE L_ID = 100;"
                     "UPDATE TLAP SET L_NEV = 'Árvíztűrő \"Ősök\" ñ' WHERE L_ID = 101;"
                     "INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (91, "
                     "'Főisten & társai <próba>', 'Első sor: őű ŐŰ.\r\nMásodik sor: € ñ Ж.', 1);"
                     "INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) SELECT 91, L_ID, 1 + (L_ID % 3) FROM TLAP "
                     "WHERE L_ID BETWEEN 95 AND 125;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    TTestUiHost ui;  // the tool answers its own questions
    TProgram program(dir.path());
    program.Create();
    fMain->resize(1000, 720);
    fMain->show();
    QTest::qWait(200);

    bool ok = true;
    Guarded([deckId] { fMain->OpenDeck(deckId); });
    TfmPakli* frame = fMain->FindDeckFrame();
    if (!frame) return 1;
    frame->pcPakli->setCurrentWidget(frame->tsOsszesites);
    ok &= Save(folder, "deck_summary_short.png");
    frame->Summary->cbReszl->click();
    ok &= Save(folder, "deck_summary_detailed.png");
    QScrollBar* bar = frame->Summary->sbOssz->verticalScrollBar();
    bar->setValue(bar->maximum());
    ok &= Save(folder, "deck_summary_detailed_end.png");

    ui.PushYesNoCancel(TYesNoCancel::No);
    Guarded([] { fMain->acCloseDeckExecute(); });
    QTest::qWait(50);
    Guarded([] { fMain->OpenDeck(91); });
    if (TfmPakli* other = fMain->FindDeckFrame()) {

        other->Summary->cbReszl->click();

        ok &= Save(folder, "deck_summary_escaped.png");
        QScrollBar* otherBar = other->Summary->sbOssz->verticalScrollBar();
        otherBar->setValue(otherBar->maximum());
        ok &= Save(folder, "deck_summary_escaped_end.png");
        const QString page = QDir(folder).filePath("deck_export.htm");
        ui.PushSaveFile(page);
        Guarded([other] { other->ExportDeckHtml(); });
        const bool written = QFile::exists(page) && ui.Count(TUiKind::ErrorDialog) == 0;
        std::printf("%s %s\n", written ? "exported" : "FAILED", qPrintable(page));
        ok &= written;
        if (dialog) {
            // The real dialog: it opens on the previous name, with the two filter choices.
            TQtUiHost qt;
            TUiHost* test = SetUiHost(&qt);
            QTimer::singleShot(1500, [&] {
                ok &= Save(folder, "deck_export_dialog.png");
                if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            });
            Guarded([other] { other->ExportDeckHtml(); });
            SetUiHost(test);
        }
    }
    return ok ? 0 : 1;
}
