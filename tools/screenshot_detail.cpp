// Starts the program on a temporary copy of the demo catalogue and saves pictures of the detail
// page for a main god, a people card and card 025 (three abilities, two of them wrapping), and of
// the abilities editor in its new state, and of a card whose stored texts exceed the edit limits.
// Usage: screenshot_detail <folder>   (QT_QPA_PLATFORM=offscreen is enough)
#include "app/Guard.h"
#include "app/Program.h"
#include "browser/uDetailPage.h"
#include "browser/ufMain.h"
#include "refdata/ufSpec.h"
#include "storage/uAM.h"

#include "ScreenshotTool.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {
bool ShowCard(const QString& number)
{
    if (!AM->qLapok.Locate("L_LAPSZAM", number)) {
        std::printf("no card %s\n", qPrintable(number));
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_detail <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    TProgram program(dir.path());
    program.Create();
    fMain->show();
    fMain->acTs1Execute();
    QTest::qWait(200);

    bool ok = true;
    ok &= ShowCard("001") && Save(fMain, folder, "detail_main_god.png");
    ok &= ShowCard("029") && Save(fMain, folder, "detail_people.png");
    ok &= ShowCard("025") && Save(fMain, folder, "detail_025.png");

    TFormOpenPars pars;
    pars.Id = AM->qLapok.FieldByName("L_ID").AsLargeInt();
    TfSpec editor(pars);
    editor.LoadSpecs();
    editor.show();
    QTest::qWait(100);
    ok &= Save(&editor, folder, "spec_browse.png");
    editor.btnUjClick();
    ok &= Save(&editor, folder, "spec_new.png");
    editor.hide();

    // A stored name and number longer than their boxes' limits are shown whole.
    AM->ADOConnection.ExecuteDirect("UPDATE TLAP SET L_NEV = 'Az Ezerarcú Homokvihar Öreg Ura, a Mélység Hangja', "
                                    "L_LAPSZAM = '12345', L_SZINT = 12345 WHERE L_LAPSZAM = '025'");
    AM->ReQuery();
    ok &= ShowCard("12345") && Save(fMain, folder, "detail_long_texts.png");
    return ok ? 0 : 1;
}
