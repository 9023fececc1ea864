// Starts the program on a temporary copy of the demo catalogue, opens a demo deck on its "Grafikon"
// page and saves a picture of it; then one of a large deck with every group, and the quick editor
// with the missing counts marked.
// Usage: screenshot_charts <folder> [deck id]
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufMain.h"
#include "decks/uDeckCharts.h"
#include "decks/ufmPakli.h"

#include "ScreenshotTool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
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
        std::fprintf(stderr, "usage: screenshot_charts <folder> [deck id]\n");
        return 2;
    }
    const QString folder = QDir().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    const qint64 deckId = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1;
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    QDir::setCurrent(dir.path());
    {
        // A large deck: 60 cards over every group, with several copies each.
        sqlite3* db = nullptr;
        sqlite3_open(dir.filePath("DB/Velkor.db").toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (92, 'Nagy pakli', '', 4);"
                     "INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) SELECT 92, L_ID, 1 + (L_ID % 4) FROM TLAP "
                     "WHERE L_LAPTIPUS <> 'L004' AND L_ID % 7 = 0;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    TTestUiHost ui;
    TProgram program(dir.path());
    program.Create();
    fMain->resize(1000, 720);
    fMain->show();
    QTest::qWait(200);

    bool ok = true;
    for (const qint64 id : {deckId, qint64(92)}) {
        Guarded([id] { fMain->OpenDeck(id); });
        TfmPakli* frame = fMain->FindDeckFrame();
        if (!frame) return 1;
        frame->pcPakli->setCurrentWidget(frame->tsSzerk);
        ok &= Save(folder, QStringLiteral("deck_missing_%1.png").arg(id));
        frame->pcPakli->setCurrentWidget(frame->Charts);
        ok &= Save(folder, QStringLiteral("deck_charts_%1.png").arg(id));
        // How long a redraw of the page takes for this deck (a rough figure, printed only).
        QElapsedTimer clock;
        clock.start();
        constexpr int kRounds = 20;
        for (int i = 0; i < kRounds; ++i) {
            frame->Charts->Redraw(frame->mdPakli);
            frame->Charts->repaint();
        }
        std::printf("deck %lld: %d rows, redraw and paint of the charts page %.1f ms\n", static_cast<long long>(id),
                    frame->mdPakli.RecordCount(), double(clock.nsecsElapsed()) / 1e6 / kRounds);
        ui.PushYesNoCancel(TYesNoCancel::No);
        Guarded([] { fMain->acCloseDeckExecute(); });
        QTest::qWait(50);
    }
    return ok ? 0 : 1;
}
