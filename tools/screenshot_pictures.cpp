// Starts the program on a temporary copy of the demo catalogue with the demo pictures and saves the
// picture page in its four modes: the window as the user sees it, and each whole page picture.
// The cards chosen show a people card with its picture (029), one without (421) and portrait cards
// whose picture is missing (033).
// Usage: screenshot_pictures <folder>   (QT_QPA_PLATFORM=offscreen is enough)
#include "app/Guard.h"
#include "app/Program.h"
#include "browser/uPicturePage.h"
#include "browser/ufMain.h"
#include "storage/uAM.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {
bool Save(const QString& folder, const QString& name)
{
    QTest::qWait(100);
    const QString window = QDir(folder).filePath(name + ".png");
    const QString page = QDir(folder).filePath(name + "_page.png");
    const bool ok = fMain->grab().save(window) && fMain->ts3->PagePicture().save(page);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(window));
    return ok;
}

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
        std::fprintf(stderr, "usage: screenshot_pictures <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    QFile ini(QDir(dir.path()).filePath("velkor.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[PATHS]\nGfxPath=" + QFile::encodeName(QDir(QStringLiteral(VELKOR_PROGRAM_DIR)).filePath("GFX")) + "\n");
    ini.close();
    TProgram program(dir.path());
    program.Create();
    fMain->show();
    fMain->acTs3Execute();
    QTest::qWait(200);

    bool ok = true;
    ok &= ShowCard("001") && Save(folder, "pic_single_links");
    ok &= ShowCard("029") && Save(folder, "pic_single_people");
    ok &= ShowCard("421") && Save(folder, "pic_single_people_back");
    ok &= ShowCard("033") && Save(folder, "pic_single_missing");
    ok &= ShowCard("027");
    fMain->acPicMode2->trigger();
    ok &= Save(folder, "pic_half");
    ok &= ShowCard("017");
    fMain->acPicMode3->trigger();
    ok &= Save(folder, "pic_quarter");
    ok &= ShowCard("417");
    fMain->acPicMode1->trigger();
    fMain->acPicMode3->trigger();
    ok &= Save(folder, "pic_quarter_421");
    ok &= ShowCard("028");
    fMain->acPicMode4->trigger();
    ok &= Save(folder, "pic_series");
    return ok ? 0 : 1;
}
