// The new deck wizard on a copy of the demo program folder: the god list, the button states of its
// pages, how an item is painted, and what finishing or cancelling stores and opens.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "bitmaps/Bitmaps.h"
#include "browser/ufMain.h"
#include "decks/ufUjPakli.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

namespace {

class NewDeckWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(AM->Connected());
    }
    void TearDown() override
    {
        Wizard.reset();
        Program.reset();
    }

    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }
    // Every deck row and card row, to see that nothing was written.
    QString Dump()
    {
        TQuery q(&AM->ADOConnection);
        q.SetSQL("SELECT 'P', P_ID, P_NEV, P_MEGJ, P_FOISTENLID FROM TPAKLI UNION ALL "
                 "SELECT 'L', PL_PID, PL_LID, PL_LDB, NULL FROM TPAKLILAP ORDER BY 1, 2, 3, 4");
        q.Open();
        QString out;
        for (int r = 0; r < q.RecordCount(); ++r)
            for (int c = 0; c < q.FieldCount(); ++c) out += q.ValueText(r, c) + (c + 1 < q.FieldCount() ? "|" : "\n");
        return out;
    }
    // The wizard opening decks in the real main window, counting the calls.
    TfUjPakli& Make()
    {
        Wizard = std::make_unique<TfUjPakli>(
            *AM, [this](qint64 id) { Opened.push_back(id); fMain->OpenDeck(id); }, fMain->PictureFolder());
        return *Wizard;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    std::unique_ptr<TfUjPakli> Wizard;
    std::vector<qint64> Opened;
};

}  // namespace

TEST_F(NewDeckWizardTest, WindowAndPages)
{
    TfUjPakli& w = Make();
    EXPECT_EQ(w.windowTitle(), "Új pakli összeállítása");
    EXPECT_EQ(w.size(), QSize(486, 388));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.pcWiz->tabBar()->isVisibleTo(&w));
    EXPECT_EQ(w.pcWiz->count(), 2);
    EXPECT_EQ(w.btnCancel->text(), "Mégsem");
    EXPECT_EQ(w.btnPrev->text(), "Előző");
    EXPECT_EQ(w.btnNext->text(), "Következő");
    EXPECT_EQ(w.btnOk->text(), "KÉSZ");
    EXPECT_EQ(w.eNev->maxLength(), 80);
    EXPECT_TRUE(w.eNev->text().isEmpty());
    EXPECT_EQ(w.cbOpc1->text(), "Játék egy Velkorral érvényben");
    EXPECT_FALSE(w.cbOpc1->isChecked());
    EXPECT_EQ(w.lOpc1Megj->text(),
              "A játékos csak a főistenével megegyező velkorú lapokért kapja meg a Hatalom-pontokat.");
    EXPECT_TRUE(w.lOpc1Megj->wordWrap());
    // The second column of path icons and digits (420 to 458) is inside the list, scroll bar shown.
    w.show();
    EXPECT_TRUE(w.lbFoisten->verticalScrollBar()->isVisible());
    EXPECT_GE(w.lbFoisten->viewport()->width(), 460);
}

TEST_F(NewDeckWizardTest, TheGodListHoldsExactlyTheMainGodsInCardNumberOrder)
{
    // A god numbered before every other, an ordinary card of a low number, and a god whose
    // pantheon is not in the catalogue (the list joins the pantheons, so it is left out).
    Exec("INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_UTAK, L_INFO) VALUES "
         "(9001, '000', 'Ősatya Árpád', 'M002', 'L004', '1111', 'Hosszú, ékezetes információs szöveg.');"
         "INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_UTAK) VALUES "
         "(9002, '0000', 'Nem isten', 'M001', 'L001', '');"
         "INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_UTAK) VALUES "
         "(9003, '0001', 'Hontalan isten', 'M999', 'L004', '0000');");
    TfUjPakli& w = Make();
    const int gods = Scalar("SELECT COUNT(*) FROM TLAP INNER JOIN TVELKOR ON L_VELKOR = VELKOR_ID "
                            "WHERE L_LAPTIPUS = 'L004'").toInt();
    ASSERT_GT(gods, 20);
    ASSERT_EQ(int(w.mdTemp.size()), gods);
    ASSERT_EQ(w.lbFoisten->count(), gods);
    const TFoistenRow& first = w.mdTemp.front();
    EXPECT_EQ(first.L_ID, 9001);
    EXPECT_EQ(first.L_LAPSZAM, "000");
    EXPECT_EQ(first.VELKOR_NEV, Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M002'"));
    EXPECT_EQ(first.L_UTAK, "1111");
    EXPECT_EQ(first.L_INFO, "Hosszú, ékezetes információs szöveg.");
    for (int i = 0; i < gods; ++i) {
        const TFoistenRow& row = w.mdTemp[size_t(i)];
        EXPECT_EQ(row.INDEX, i);
        EXPECT_EQ(w.lbFoisten->item(i)->text(), row.L_NEV);
        EXPECT_EQ(Scalar("SELECT L_LAPTIPUS FROM TLAP WHERE L_ID = " + QString::number(row.L_ID)), "L004");
        EXPECT_NE(row.L_ID, 9003);
        if (i > 0) {
            EXPECT_LT(w.mdTemp[size_t(i - 1)].L_LAPSZAM, row.L_LAPSZAM);
        }
    }
    EXPECT_EQ(w.lbFoisten->sizeHintForRow(0), 64);
    EXPECT_EQ(w.lbFoisten->sizeHintForRow(gods - 1), 64);
}

TEST_F(NewDeckWizardTest, ButtonStatesOnEachPage)
{
    TfUjPakli& w = Make();
    w.FormShow();
    EXPECT_EQ(w.pcWiz->currentWidget(), w.ts1);
    EXPECT_FALSE(w.btnOk->isEnabled());
    EXPECT_FALSE(w.btnPrev->isEnabled());
    EXPECT_TRUE(w.btnNext->isEnabled());

    w.btnNext->click();
    EXPECT_EQ(w.pcWiz->currentWidget(), w.ts2);
    EXPECT_TRUE(w.btnOk->isEnabled());
    EXPECT_TRUE(w.btnPrev->isEnabled());
    EXPECT_FALSE(w.btnNext->isEnabled());
    // Past the last page there is nowhere to go.
    w.btnNextClick();
    EXPECT_EQ(w.pcWiz->currentWidget(), w.ts2);

    w.btnPrev->click();
    EXPECT_EQ(w.pcWiz->currentWidget(), w.ts1);
    EXPECT_FALSE(w.btnOk->isEnabled());
    EXPECT_FALSE(w.btnPrev->isEnabled());
    EXPECT_TRUE(w.btnNext->isEnabled());

    // Showing again starts on the first page.
    w.btnNext->click();
    w.FormShow();
    EXPECT_EQ(w.pcWiz->currentWidget(), w.ts1);
    EXPECT_FALSE(w.btnOk->isEnabled());
}

TEST_F(NewDeckWizardTest, AnItemIsPaintedWhereItsPartsBelong)
{
    TfUjPakli& w = Make();
    ASSERT_EQ(w.mdTemp.front().L_LAPSZAM, "001");
    QPalette palette = w.lbFoisten->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    QImage item(460, 64, QImage::Format_RGB32);
    item.fill(Qt::red);
    {
        QPainter p(&item);
        DrawGodItem(w, p, item.rect(), 0, false, palette);
    }
    // The grey frame from (8, 8) to (63, 56), the lighter inside from (10, 10) to (61, 54).
    EXPECT_EQ(QColor(item.pixel(8, 8)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(item.pixel(62, 55)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(item.pixel(10, 10)), QColor(160, 160, 160));
    EXPECT_EQ(QColor(item.pixel(60, 53)), QColor(160, 160, 160));
    EXPECT_EQ(QColor(item.pixel(63, 56)), QColor(Qt::white));
    EXPECT_EQ(QColor(item.pixel(7, 7)), QColor(Qt::white));
    // The portrait from (12, 12).
    const QImage portrait = BuiltinBitmap("FOIST_001");
    ASSERT_FALSE(portrait.isNull());
    EXPECT_EQ(QColor(item.pixel(12 + 20, 12 + 20)), QColor(portrait.pixel(20, 20)));
    // Something of each path icon and digit is painted; nothing red is left.
    for (const QPoint at : {QPoint(380, 8), QPoint(420, 8), QPoint(380, 32), QPoint(420, 32)}) {
        bool painted = false;
        for (int x = at.x(); x < at.x() + 18; ++x)
            for (int y = at.y(); y < at.y() + 18; ++y) painted |= QColor(item.pixel(x, y)) != QColor(Qt::white);
        EXPECT_TRUE(painted) << at.x() << "," << at.y();
    }
    for (int x = 0; x < item.width(); ++x)
        for (int y = 0; y < item.height(); ++y) ASSERT_NE(QColor(item.pixel(x, y)), QColor(Qt::red));

    // Selected: the selection colour around the frame.
    {
        QPainter p(&item);
        DrawGodItem(w, p, item.rect(), 0, true, palette);
    }
    EXPECT_EQ(QColor(item.pixel(2, 2)), QColor(0, 0, 200));
    EXPECT_EQ(QColor(item.pixel(8, 8)), QColor(128, 128, 128));
}

TEST_F(NewDeckWizardTest, FinishingWithNoGodSelectedCreatesAnEmptyDeckOfTheFirstGodAndOpensIt)
{
    TfUjPakli& w = Make();
    const int decks = Scalar("SELECT COUNT(*) FROM TPAKLI").toInt();
    ASSERT_EQ(w.SelectedGod(), -1);
    w.btnNext->click();
    w.eNev->setText("Árvíztűrő próbapakli");
    w.btnOk->click();

    ASSERT_EQ(Opened.size(), 1u);
    const qint64 id = Opened.front();
    EXPECT_EQ(w.NewDeckId(), id);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLI").toInt(), decks + 1);
    const QString where = " FROM TPAKLI WHERE P_ID = " + QString::number(id);
    EXPECT_EQ(Scalar("SELECT P_NEV" + where), "Árvíztűrő próbapakli");
    EXPECT_EQ(Scalar("SELECT P_FOISTENLID" + where).toLongLong(), w.mdTemp.front().L_ID);
    // An empty description, stored as text.
    EXPECT_EQ(Scalar("SELECT typeof(P_MEGJ) || ':' || P_MEGJ" + where), "text:");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = " + QString::number(id)).toInt(), 0);

    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->DeckId(), id);
    EXPECT_EQ(frame->lFoisten->text(), w.mdTemp.front().L_NEV);
    EXPECT_EQ(frame->lLapszam->text(), "1 lap");
    EXPECT_EQ(frame->mdPakli.RecordCount(), 0);
}

TEST_F(NewDeckWizardTest, TheSelectedGodHeadsTheDeckAndAnEmptyNameIsStoredAsItIs)
{
    TfUjPakli& w = Make();
    w.lbFoisten->setCurrentRow(5);
    ASSERT_EQ(w.SelectedGod(), 5);
    const qint64 id = w.CreateDeck();
    ASSERT_GT(id, 0);
    EXPECT_EQ(Scalar("SELECT P_FOISTENLID FROM TPAKLI WHERE P_ID = " + QString::number(id)).toLongLong(),
              w.mdTemp[5].L_ID);
    EXPECT_EQ(Scalar("SELECT typeof(P_NEV) || ':' || P_NEV FROM TPAKLI WHERE P_ID = " + QString::number(id)),
              "text:");
    EXPECT_TRUE(Opened.empty());  // CreateDeck alone opens nothing
}

TEST_F(NewDeckWizardTest, CancellingOrTheCloseBoxStoresNothing)
{
    const QString before = Dump();
    {
        TfUjPakli& w = Make();
        w.lbFoisten->setCurrentRow(2);
        w.btnNext->click();
        w.eNev->setText("Nem kell");
        w.btnCancel->click();
        EXPECT_EQ(w.result(), QDialog::Rejected);
    }
    {
        TfUjPakli& w = Make();
        w.show();
        w.btnNext->click();
        w.eNev->setText("Ez sem");
        w.close();
        EXPECT_EQ(w.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(fMain->FindDeckFrame(), nullptr);
}

TEST_F(NewDeckWizardTest, TheNewIdIsTheRowJustInsertedEvenWhenAnotherDeckArrivesAtOnce)
{
    // A deck added at the same moment, as another writer would, takes a higher id.
    Exec("CREATE TRIGGER OTHER_WRITER AFTER INSERT ON TPAKLI WHEN NEW.P_NEV = 'Az enyém' BEGIN "
         "INSERT INTO TPAKLI (P_NEV, P_MEGJ, P_FOISTENLID) VALUES ('Másik író', '', 2); END;");
    TfUjPakli& w = Make();
    w.eNev->setText("Az enyém");
    w.btnOkClick();
    ASSERT_EQ(Opened.size(), 1u);
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = " + QString::number(Opened.front())), "Az enyém");
    EXPECT_LT(Opened.front(), Scalar("SELECT MAX(P_ID) FROM TPAKLI").toLongLong());
    ASSERT_NE(fMain->FindDeckFrame(), nullptr);
    EXPECT_EQ(fMain->FindDeckFrame()->eNev->text(), "Az enyém");
}

TEST_F(NewDeckWizardTest, WithoutAnyMainGodNothingIsStored)
{
    Exec("UPDATE TLAP SET L_LAPTIPUS = 'L001' WHERE L_LAPTIPUS = 'L004';");
    TfUjPakli& w = Make();
    EXPECT_EQ(w.lbFoisten->count(), 0);
    const QString before = Dump();
    w.btnNext->click();
    w.btnOk->click();
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_NE(w.result(), QDialog::Accepted);
}

TEST_F(NewDeckWizardTest, TheActionShowsTheWizardModally)
{
    ASSERT_TRUE(fMain->acNewDeck->isEnabled());
    QString caption;
    // Answers the modal window as soon as it stands.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* w = qobject_cast<TfUjPakli*>(QApplication::activeModalWidget())) {
            caption = w->windowTitle();
            w->btnCancel->click();
        }
    });
    answer.start(10);
    fMain->acNewDeck->trigger();
    EXPECT_EQ(caption, "Új pakli összeállítása");
    EXPECT_EQ(fMain->FindDeckFrame(), nullptr);

    // With a deck open, the action is off.
    fMain->OpenDeck(1);
    EXPECT_FALSE(fMain->acNewDeck->isEnabled());
}
