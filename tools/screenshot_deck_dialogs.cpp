// Starts the program on a temporary copy of the demo catalogue and saves pictures of the new deck
// wizard (both pages, a god selected, a long accented name) and of the deck browser with three
// decks, two of them around the same god, one selected with its description.
// Usage: screenshot_deck_dialogs <folder>
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufMain.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "storage/uAM.h"

#include "ScreenshotTool.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_deck_dialogs <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    QDir::setCurrent(dir.path());
    TTestUiHost ui;
    TProgram program(dir.path());
    program.Create();
    // A third deck around the god of the first demo deck, with a long accented name.
    AM->ADOConnection.ExecuteDirect(QStringLiteral(
        "INSERT INTO TPAKLI (P_NEV, P_MEGJ, P_FOISTENLID) VALUES ('Árvíztűrő tükörfúrógép – a Napkorona "
        "második, nagyon hosszú nevű paklija', 'Lassú, védekező pakli.\r\nA második sor: őŐűŰ áéíóöúü.', 1);"));
    int failures = 0;
    const TOpenDeck none = [](qint64) {};
    {
        TfUjPakli wizard(*AM, none, fMain->PictureFolder());
        wizard.show();
        wizard.FormShow();
        wizard.lbFoisten->setCurrentRow(1);
        failures += !Save(&wizard, folder, "wizard_page1.png");
        wizard.lbFoisten->scrollToBottom();
        wizard.lbFoisten->setCurrentRow(wizard.lbFoisten->count() - 1);
        failures += !Save(&wizard, folder, "wizard_page1_scrolled.png");
        wizard.btnNext->click();
        wizard.eNev->setText(QStringLiteral("Őszi ünnepi különkiadás: Árvíztűrő tükörfúrógép pakli"));
        failures += !Save(&wizard, folder, "wizard_page2.png");
    }
    {
        TfPakliBong browser(*AM, none, fMain->PictureFolder());
        browser.show();
        browser.FormShow();
        browser.lbPakli->setCurrentRow(1);
        failures += !Save(&browser, folder, "browser.png");
    }
    return failures ? 1 : 0;
}
