// Starts the program on a temporary copy of the demo catalogue, opens a demo deck and saves
// pictures of its page: the quick editor with a few cards added, the search box dropped down
// after typing, the description page, and a deck whose god has no built-in portrait.
// Usage: screenshot_deck <folder>   (under Xvfb the whole screen is saved, drop-down included;
// with QT_QPA_PLATFORM=offscreen only the main window)
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufMain.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include "ScreenshotTool.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>

namespace {
bool Save(const QString& folder, const QString& name) { return SaveScreen(fMain, folder, name); }

void Type(QWidget* w, const QString& text)
{
    for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}
}  // namespace

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_deck <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    // The demo pictures, for the god without a built-in portrait.
    QDir().mkpath(dir.filePath("GFX"));
    for (const QString& f : QDir(QStringLiteral(VELKOR_PROGRAM_DIR "/GFX")).entryList(QDir::Files))
        QFile::copy(QStringLiteral(VELKOR_PROGRAM_DIR "/GFX/") + f, dir.filePath("GFX/" + f));
    QDir::setCurrent(dir.path());
    {
        // A third deck around the god 180, which has no built-in portrait, with a long accented name.
        sqlite3* db = nullptr;
        sqlite3_open(dir.filePath("DB/Velkor.db").toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (90, "
                     "'Árvíztűrő tükörfúrógép – hosszú nevű, ékezetes próbapakli', 'Első sor.\r\nMásodik sor.', 180);"
                     "INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) SELECT 90, L_ID, 1 FROM TLAP "
                     "WHERE L_ID BETWEEN 100 AND 112;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    TTestUiHost ui;  // the tool answers its own questions
    TProgram program(dir.path());
    program.Create();
    fMain->show();
    QTest::qWait(200);

    bool ok = true;
    Guarded([] { fMain->OpenDeck(1); });
    TfmPakli* frame = fMain->FindDeckFrame();
    if (!frame) return 1;
    frame->pcPakli->setCurrentWidget(frame->tsSzerk);
    // A few adds from the card list, across groups.
    for (const char* number : {"021", "035", "120", "200", "300"}) {
        if (!AM->qLapok.Locate("L_LAPSZAM", QString::fromLatin1(number))) continue;
        Guarded([] { fMain->acAddCardExecute(); });
    }
    frame->mdPakli.SetRecNo(3);
    QTest::qWait(100);
    ok &= Save(folder, "deck_quick_editor.png");

    frame->cbLapKeres->setFocus();
    Type(frame->cbLapKeres->lineEdit(), QStringLiteral("kö"));
    frame->cbLapKeres->showPopup();
    ok &= Save(folder, "deck_search_dropped.png");
    frame->cbLapKeres->hidePopup();

    frame->pcPakli->setCurrentWidget(frame->tsMegj);
    ok &= Save(folder, "deck_description.png");

    ui.PushYesNoCancel(TYesNoCancel::No);
    frame->pcPakli->setCurrentWidget(frame->tsSzerk);
    fMain->pc->setCurrentWidget(frame->parentWidget());
    Guarded([] { fMain->acCloseDeckExecute(); });
    QTest::qWait(50);
    Guarded([] { fMain->OpenDeck(90); });
    if (TfmPakli* other = fMain->FindDeckFrame()) {
        other->pcPakli->setCurrentWidget(other->tsSzerk);
        ok &= Save(folder, "deck_thumbnail_god.png");
    }
    return ok ? 0 : 1;
}
