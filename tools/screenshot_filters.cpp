// Starts the program on a temporary copy of the demo catalogue and saves pictures of the query
// editor (a demo filter with three rows in two groups, a long accented name, the first row
// selected), the filter list (every category colour, a long name, choose mode too) and the
// related-card sets window (five cards in the set, a search under way).
// Usage: screenshot_filters <folder>   (QT_QPA_PLATFORM=offscreen is enough)
#include "app/Guard.h"
#include "app/Program.h"
#include "filters/DataListBox.h"
#include "filters/ufFilters.h"
#include "filters/ufKapcs.h"
#include "filters/ufQueries.h"
#include "storage/uAM.h"
#include "widgets/LComboBox.h"

#include "ScreenshotTool.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_filters <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    TProgram program(dir.path());
    program.Create();
    AM->ADOConnection.ExecuteDirect(
        "UPDATE TFILTERBASE SET FB_NAME = 'Erős hadak: nagy szintű, sok Hatalom Pontot érő lények és "
        "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP' WHERE FB_ID = 3;"
        "INSERT INTO TFILTERBASE (FB_NAME, FB_CATEGORY) VALUES ('Régi, ismeretlen kategóriájú szűrés', 'XX');"
        "INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) VALUES (3, 25);");

    bool ok = true;
    {
        TFormOpenPars pars;
        pars.Mode = fmEdit;
        pars.Id = 3;
        TfQueries w(pars);
        w.show();
        w.lv->setFocus();
        w.cbLapok->SelectByKey("25");
        w.cbLapokChange();
        ok &= Save(&w, folder, "query_editor.png");
        w.lv->setCurrentItem(w.lv->topLevelItem(1));
        ok &= Save(&w, folder, "query_editor_row2.png");
    }
    {
        TFormOpenPars pars;
        TfFilters w(pars);
        w.show();
        w.lbFilters->setCurrentRow(3);
        ok &= Save(&w, folder, "filter_list.png");
        w.lbFilters->scrollToBottom();
        ok &= Save(&w, folder, "filter_list_bottom.png");
    }
    {
        TFormOpenPars pars;
        pars.Mode = fmChoose;
        TfFilters w(pars);
        w.show();
        ok &= Save(&w, folder, "filter_list_choose.png");
    }
    {
        TfKapcs w;
        w.show();
        QTest::qWait(50);
        w.eNev->setText("Napkorona kezdő csomag – Őrzők és Ünnepi lények");
        for (int n : {4, 9, 17, 30, 31}) w.lb1->item(n)->setSelected(true);
        w.KapcsListbox_DragDrop(w.lb2, w.lb1);
        w.eKeres->setText("sz");
        ok &= Save(&w, folder, "related_cards.png");
    }
    return ok ? 0 : 1;
}
