// Starts the program on a temporary copy of the demo catalogue, gives each lookup table a long
// accented name, and saves pictures of the lookup table editor on each of its four tables, with
// the grid scrolled to the end, a cell being edited and a new row pending.
// Usage: screenshot_tulajd <folder>   (QT_QPA_PLATFORM=offscreen is enough)
#include "app/Guard.h"
#include "app/Program.h"
#include "refdata/ufTulajd.h"
#include "storage/uAM.h"

#include "ScreenshotTool.h"

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    TVelkorApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_tulajd <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir dir;
    CopyCatalogue(QStringLiteral(VELKOR_PROGRAM_DIR), dir.path());
    TProgram program(dir.path());
    program.Create();
    TConnection& c = AM->ADOConnection;
    c.ExecuteDirect("INSERT INTO TVELKOR VALUES ('M099', 'Őrzőszellemek ősi, árnyékos völgye')");
    c.ExecuteDirect("INSERT INTO TLAPTIPUS (LAPTIPUS_ID, LAPTIPUS_NEV) VALUES ('L099', "
                    "'Különleges, ünnepi kiadású építmény vagy ereklye, csak versenyen')");
    c.ExecuteDirect("INSERT INTO TTULAJDONSAG VALUES ('T099', 'Árvíztűrő tükörfúrógép-kezelő hősök tulajdonsága, "
                    "amely túl hosszú a cellához')");
    c.ExecuteDirect("INSERT INTO TKATEGORIA VALUES ('S099', 'Ünnepélyes, gyűjtői ritkaságnak számító hibás nyomat')");

    TfTulajd w;
    w.FormShow();
    w.show();
    bool ok = Save(&w, folder, "tulajd_velkor.png");
    w.rb2->click();
    ok &= Save(&w, folder, "tulajd_laptipus.png");
    w.grTul->scrollToBottom();
    ok &= Save(&w, folder, "tulajd_laptipus_scrolled.png");
    w.rb3->click();
    ok &= Save(&w, folder, "tulajd_tulajdonsag.png");
    w.rb4->click();
    ok &= Save(&w, folder, "tulajd_egyeb.png");

    // A cell being edited, then a new row waiting to be written.
    w.grTul->setCurrentIndex(w.tblTul.index(2, 0));
    w.grTul->edit(w.grTul->currentIndex());
    if (auto* e = qobject_cast<QLineEdit*>(w.grTul->CellEditor())) e->setText(e->text() + QStringLiteral(" – javítva"));
    ok &= Save(&w, folder, "tulajd_editing.png");
    w.grTul->CommitEditor();
    w.grTulAppend();
    if (auto* e = qobject_cast<QLineEdit*>(w.grTul->CellEditor())) e->setText(QStringLiteral("Új, még nem mentett tétel"));
    w.grTul->CommitEditor();
    ok &= Save(&w, folder, "tulajd_new_row.png");
    return ok ? 0 : 1;
}
