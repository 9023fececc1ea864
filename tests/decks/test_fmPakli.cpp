// The deck frame on a copy of the demo catalogue, with a host of the test's own: loading, adding and
// removing, the totals, the search box and its keys, and saving (also when it fails midway or the
// deck was changed by someone else).
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "decks/uCardLists.h"
#include "decks/uDeckHost.h"
#include "decks/uDeckModel.h"
#include "decks/ufmPakli.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <sqlite3.h>

namespace {

class TTestDeckHost : public TDeckHost {
public:
    QString PictureFolder() const override { return Folder; }
    QList<QAction*> DeckMenuActions() const override { return {}; }
    void SetDeckSummoningTech(const QString& code) override { Tech = code; }
    void DeckLoaded() override { ++Loaded; }
    void DeckClosed() override { ++Closed; }
    bool IsSummaryStale() const override { return Stale; }
    void SetSummaryStale(bool stale) override { Stale = stale; }
    void FlashDeckTab(QWidget* page, int kind) override { Flashes.emplace_back(page, kind); }

    QString Folder;
    QString Tech;
    int Loaded = 0;
    int Closed = 0;
    bool Stale = false;
    std::vector<std::pair<QWidget*, int>> Flashes;
};

class DeckFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Conn.Open(Cat.DbPath());
        Frame = new TfmPakli(&Host, Conn, &Page);
    }
    void TearDown() override { delete Frame; }

    void Load(qint64 deckId)
    {
        TFormOpenPars pars;
        InitFormOpenPars(pars);
        pars.Id = int(deckId);
        pars.Mode = fmEdit;
        Frame->LoadDeck(pars);
    }
    QString Scalar(const QString& sql) { return ScalarOn(Conn, sql); }
    qint64 CardId(const QString& number)
    {
        return Scalar("SELECT L_ID FROM TLAP WHERE L_LAPSZAM = '" + number + "'").toLongLong();
    }
    // Raw SQL as another program would run it.
    void Exec(const QByteArray& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Cat.DbPath().toUtf8().constData(), &db), SQLITE_OK);
        char* err = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(db);
    }
    // Every stored deck row, with its row id, and every deck head, as text.
    QString Dump()
    {
        TQuery q(&Conn);
        QString out;
        q.SetSQL("SELECT rowid, PL_PID, PL_LID, PL_LDB FROM TPAKLILAP ORDER BY rowid");
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r)
            out += q.ValueText(r, 0) + "," + q.ValueText(r, 1) + "," + q.ValueText(r, 2) + "," + q.ValueText(r, 3) + ";";
        q.SetSQL("SELECT P_ID, P_NEV, P_MEGJ, P_FOISTENLID FROM TPAKLI ORDER BY P_ID");
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r)
            out += q.ValueText(r, 0) + "|" + q.ValueText(r, 1) + "|" + q.ValueText(r, 2) + "|" + q.ValueText(r, 3) + ";";
        return out;
    }
    qint64 NewEmptyDeck(const QString& description = QString())
    {
        TCommand c(&Conn);
        c.SetSQL("INSERT INTO TPAKLI (P_NEV, P_MEGJ, P_FOISTENLID) VALUES ('Üres', :M, 1)");
        c.SetParam("M", description);
        c.Execute();
        return Scalar("SELECT MAX(P_ID) FROM TPAKLI").toLongLong();
    }
    void TypeInto(QWidget* w, const QString& text)
    {
        for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    TTempCatalogue Cat;
    TConnection Conn;
    TTestUiHost Ui;
    TTestDeckHost Host;
    QWidget Page;
    TfmPakli* Frame = nullptr;
};

}  // namespace

TEST_F(DeckFrameTest, LoadsADemoDeck)
{
    Host.Stale = true;
    Load(1);
    const int rows = Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1").toInt();
    const int copies = Scalar("SELECT SUM(PL_LDB) FROM TPAKLILAP WHERE PL_PID = 1").toInt();
    ASSERT_EQ(Frame->mdPakli.RecordCount(), rows);
    EXPECT_EQ(Frame->grPakli->model()->rowCount(), rows);
    for (int i = 1; i < rows; ++i)
        EXPECT_FALSE(TDeckTable::Before(Frame->mdPakli.Row(i), Frame->mdPakli.Row(i - 1))) << i;
    EXPECT_EQ(Frame->lLapszam->text(), QString::number(copies + 1) + " lap");
    const int points = Scalar("SELECT SUM(PL_LDB * L_HP) FROM TPAKLILAP JOIN TLAP ON L_ID = PL_LID "
                              "WHERE PL_PID = 1 AND L_HP < 3").toInt();
    EXPECT_EQ(Frame->lHatalom->text(), QString::number(points) + " Hatalom-pont");
    EXPECT_EQ(Frame->lFoisten->text(), Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 1"));
    EXPECT_EQ(Frame->lFoisten2->text(), Frame->lFoisten->text());
    EXPECT_EQ(Frame->lFoisten2->pos() - Frame->lFoisten->pos(), QPoint(2, 2));
    EXPECT_FALSE(Frame->imGfx1->pixmap().isNull());  // FOIST_001
    EXPECT_EQ(Host.Tech, Scalar("SELECT L_LEIDEZESTECH FROM TLAP WHERE L_ID = 1"));
    EXPECT_EQ(Frame->eNev->text(), "Napkorona hadai");
    EXPECT_EQ(Frame->mLeir->toPlainText(), Scalar("SELECT P_MEGJ FROM TPAKLI WHERE P_ID = 1"));
    EXPECT_EQ(Frame->pcPakli->currentWidget(), Frame->tsSzerk);  // a deck opens where it is edited
    EXPECT_FALSE(Host.Stale);
    EXPECT_EQ(Host.Loaded, 1);
    EXPECT_FALSE(Frame->IsModified());

    // Every card in both lists: by number with "(number) name", by name alphabetically.
    const int cards = Scalar("SELECT COUNT(*) FROM TLAP").toInt();
    EXPECT_EQ(Frame->lbOsszlap->model()->rowCount(), cards);
    EXPECT_EQ(Frame->lbOsszlap->model()->index(0, 0).data().toString(),
              "(001) " + Scalar("SELECT L_NEV FROM TLAP WHERE L_LAPSZAM = '001'"));
    EXPECT_EQ(Frame->lbOsszlap->model()->index(0, 0).data(CardIdRole).toLongLong(), CardId("001"));
    ASSERT_EQ(Frame->cbLapKeres->count(), cards);
    EXPECT_EQ(Frame->cbLapKeres->currentIndex(), -1);
    for (int i = 1; i < cards; ++i)
        ASSERT_LE(Conn.CompareText(Frame->cbLapKeres->itemText(i - 1), Frame->cbLapKeres->itemText(i)), 0) << i;
    const int abel = Frame->cbLapKeres->findText(Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 1"));
    EXPECT_EQ(Frame->cbLapKeres->itemData(abel, CardIdRole).toLongLong(), 1);
}

TEST_F(DeckFrameTest, AGodWithoutPortraitOrPictureLeavesTheAreaEmpty)
{
    // Card 180 is a main god with no built-in portrait; the picture folder is empty here.
    Host.Folder = Cat.Dir.filePath("GFX");
    Exec("INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (50, 'X', '', 180);");
    Load(50);
    EXPECT_TRUE(Frame->imGfx1->pixmap().isNull());
    EXPECT_EQ(Frame->lFoisten->text(), Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 180"));
    EXPECT_EQ(Host.Loaded, 1);
}

TEST_F(DeckFrameTest, AMissingDeckIsReportedAndNotOpened)
{
    EXPECT_THROW(Load(999), EAbort);
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_EQ(Host.Loaded, 0);
}

TEST_F(DeckFrameTest, AnEmptyDeckCountsOnlyItsGod)
{
    Load(NewEmptyDeck());
    EXPECT_EQ(Frame->mdPakli.RecordCount(), 0);
    EXPECT_EQ(Frame->lLapszam->text(), "1 lap");
    EXPECT_EQ(Frame->lHatalom->text(), "0 Hatalom-pont");
}

TEST_F(DeckFrameTest, AddingAcrossGroupsKeepsTheOrderAndTheTotals)
{
    Load(NewEmptyDeck());
    // 021: group 2, L_HP 4 (counts none); 025: group 1, L_HP 3 (none); pick one with L_HP 2.
    const qint64 two = Scalar("SELECT L_ID FROM TLAP JOIN TLAPTIPUS ON LAPTIPUS_ID = L_LAPTIPUS "
                              "WHERE L_HP = 2 AND LAPTIPUS_TECHSORREND = 5 ORDER BY L_ID LIMIT 1").toLongLong();
    ASSERT_GT(two, 0);
    Frame->AddCardToDeck(two);
    Frame->AddCardToDeck(CardId("025"));
    Frame->AddCardToDeck(CardId("021"));
    QStringList groups;
    for (const TDeckRow& r : Frame->mdPakli.Rows()) groups << QString::number(r.TECHSORREND);
    EXPECT_EQ(groups, QStringList({"1", "2", "5"}));
    EXPECT_EQ(Frame->lHatalom->text(), "2 Hatalom-pont");  // cards of 3 or more points count none
    // Three adds of one card: one row with 3 copies, 3 cards and 3 x its points more.
    Frame->AddCardToDeck(two);
    Frame->AddCardToDeck(two);
    EXPECT_EQ(Frame->mdPakli.Row(Frame->mdPakli.Find(two)).DB, 3);
    EXPECT_EQ(Frame->mdPakli.RecordCount(), 3);
    EXPECT_EQ(Frame->lLapszam->text(), "6 lap");
    EXPECT_EQ(Frame->lHatalom->text(), "6 Hatalom-pont");
    // Every add marks the tab as "added" and the statistics stale.
    ASSERT_EQ(Host.Flashes.size(), 5u);
    for (const auto& f : Host.Flashes) {
        EXPECT_EQ(f.first, &Page);
        EXPECT_EQ(f.second, 0);
    }
    EXPECT_TRUE(Host.Stale);
    // The grid's selected row is the table's current row.
    EXPECT_EQ(Frame->grPakli->currentIndex().row(), Frame->mdPakli.RecNo());
}

TEST_F(DeckFrameTest, RemovingDeletesTheLastCopyAndAnAbsentCardChangesNothing)
{
    Load(1);
    const qint64 single = Scalar("SELECT PL_LID FROM TPAKLILAP WHERE PL_PID = 1 AND PL_LDB = 1 LIMIT 1").toLongLong();
    const qint64 triple = Scalar("SELECT PL_LID FROM TPAKLILAP WHERE PL_PID = 1 AND PL_LDB = 3 LIMIT 1").toLongLong();
    const int rows = Frame->mdPakli.RecordCount();
    const QString before = Frame->lLapszam->text();
    Frame->RemoveCardFromDeck(single);
    EXPECT_EQ(Frame->mdPakli.Find(single), -1);
    EXPECT_EQ(Frame->mdPakli.RecordCount(), rows - 1);
    Frame->RemoveCardFromDeck(triple);
    EXPECT_EQ(Frame->mdPakli.Row(Frame->mdPakli.Find(triple)).DB, 2);

    Host.Stale = false;
    Host.Flashes.clear();
    const QString counted = Frame->lLapszam->text();
    Frame->RemoveCardFromDeck(CardId("002"));  // not in the deck
    EXPECT_EQ(Frame->mdPakli.RecordCount(), rows - 1);
    EXPECT_EQ(Frame->lLapszam->text(), counted);
    EXPECT_NE(counted, before);
    ASSERT_EQ(Host.Flashes.size(), 1u);
    EXPECT_EQ(Host.Flashes[0].second, 1);
    EXPECT_TRUE(Host.Stale);
}

TEST_F(DeckFrameTest, ACardGoneFromTheCatalogueIsNotAdded)
{
    Load(NewEmptyDeck());
    Frame->AddCardToDeck(987654321);
    EXPECT_EQ(Frame->mdPakli.RecordCount(), 0);
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(Host.Flashes.empty());
}

TEST_F(DeckFrameTest, TypingCompletesToTheFirstNameBeginningWithIt)
{
    Load(1);
    const QString abel = Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 1");  // "Ábel, a Fény Atyja"
    Frame->cbLapKeresChange("áBE");  // every letter without case, accented ones too
    ASSERT_GE(Frame->cbLapKeres->currentIndex(), 0);
    EXPECT_TRUE(Frame->cbLapKeres->currentText().startsWith("Ábe", Qt::CaseSensitive));
    EXPECT_EQ(Frame->cbLapKeres->lineEdit()->selectedText(), Frame->cbLapKeres->currentText().mid(3));
    // The first in the box's order, not just any.
    for (int i = 0; i < Frame->cbLapKeres->currentIndex(); ++i)
        EXPECT_FALSE(Frame->cbLapKeres->itemText(i).startsWith("ábe", Qt::CaseInsensitive));
    Frame->cbLapKeresChange("Nincs ilyen lapnév");
    EXPECT_EQ(Frame->cbLapKeres->currentIndex(), -1);
    EXPECT_EQ(Frame->cbLapKeres->currentText(), "Nincs ilyen lapnév");
    Q_UNUSED(abel);
}

TEST_F(DeckFrameTest, PlusAndMinusKeysInTheSearchBox)
{
    Load(NewEmptyDeck());
    QLineEdit* edit = Frame->cbLapKeres->lineEdit();
    // Nothing selected: "-" is swallowed and changes nothing; "+" is typed.
    TypeInto(edit, "-");
    EXPECT_EQ(edit->text(), "");
    EXPECT_TRUE(Host.Flashes.empty());
    TypeInto(edit, "+");
    EXPECT_EQ(edit->text(), "+");
    EXPECT_EQ(Frame->mdPakli.RecordCount(), 0);
    EXPECT_FALSE(Frame->cbLapKeresKeyPress(u'+'));
    EXPECT_TRUE(Frame->cbLapKeresKeyPress(u'-'));

    // Typed to a card: "+" adds it twice, "-" takes one away, none of them typed.
    edit->clear();
    TypeInto(edit, "Ködk");
    const qint64 id = Frame->SelectedSearchCard();
    ASSERT_GE(id, 0);
    const QString shown = edit->text();
    TypeInto(edit, "++-");
    EXPECT_EQ(edit->text(), shown);
    ASSERT_GE(Frame->mdPakli.Find(id), 0);
    EXPECT_EQ(Frame->mdPakli.Row(Frame->mdPakli.Find(id)).DB, 1);
    TypeInto(edit, "-");
    EXPECT_EQ(Frame->mdPakli.Find(id), -1);
    ASSERT_EQ(Host.Flashes.size(), 4u);
    EXPECT_EQ(Host.Flashes[2].second, 1);

    // "Hozzáad" adds the selected card, and nothing without one.
    Frame->btnAdd->click();
    EXPECT_EQ(Frame->mdPakli.Find(id), 0);
    Frame->cbLapKeres->setCurrentIndex(-1);
    Frame->btnAdd->click();
    EXPECT_EQ(Frame->mdPakli.Row(0).DB, 1);
}

TEST_F(DeckFrameTest, BackspaceDoesNotCompleteAgain)
{
    Load(1);
    QLineEdit* edit = Frame->cbLapKeres->lineEdit();
    TypeInto(edit, "Ködk");
    ASSERT_GT(edit->text().size(), 4);
    QTest::keyClick(edit, Qt::Key_Backspace);  // removes the completed tail
    EXPECT_EQ(edit->text(), "Ködk");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "Köd");
    EXPECT_GE(Frame->cbLapKeres->currentIndex(), 0);
}

TEST_F(DeckFrameTest, SavingAnEmptiedDeckKeepsItsHead)
{
    Load(1);
    while (!Frame->mdPakli.IsEmpty()) Frame->RemoveCardFromDeck(Frame->mdPakli.Row(0).L_ID);
    ASSERT_TRUE(Frame->IsModified());
    EXPECT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1"), "0");
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = 1"), "Napkorona hadai");
    EXPECT_EQ(Ui.Of(TUiKind::Information).value(0).Text, "A pakli mentése sikeres.");
    EXPECT_FALSE(Frame->IsModified());
    EXPECT_NE(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 2"), "0");  // other decks untouched
}

TEST_F(DeckFrameTest, SaveWritesCardsNameAndDescription)
{
    Load(1);
    Frame->AddCardToDeck(CardId("002"));
    Frame->AddCardToDeck(CardId("002"));
    Frame->eNev->setText("Új név – ő, ű");
    Frame->mLeir->setPlainText("egy\nkettő");
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT PL_LDB FROM TPAKLILAP WHERE PL_PID = 1 AND PL_LID = " + QString::number(CardId("002"))), "2");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1").toInt(), Frame->mdPakli.RecordCount());
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = 1"), "Új név – ő, ű");
    EXPECT_EQ(Scalar("SELECT P_MEGJ FROM TPAKLI WHERE P_ID = 1"), "egy\nkettő");
    EXPECT_EQ(Scalar("SELECT P_FOISTENLID FROM TPAKLI WHERE P_ID = 1"), "1");
}

TEST_F(DeckFrameTest, StoredTextIsNeverCutOrRewrittenUnlessEdited)
{
    const QString longName = QString(100, u'Ő');
    const qint64 deck = NewEmptyDeck("első\r\nmásodik");
    Exec(("UPDATE TPAKLI SET P_NEV = '" + longName + "' WHERE P_ID = " + QString::number(deck)).toUtf8());
    Load(deck);
    EXPECT_EQ(Frame->eNev->text(), longName);
    EXPECT_FALSE(Frame->IsModified());
    Frame->AddCardToDeck(CardId("002"));
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = " + QString::number(deck)), longName);
    EXPECT_EQ(Scalar("SELECT P_MEGJ FROM TPAKLI WHERE P_ID = " + QString::number(deck)), "első\r\nmásodik");
    // An edited description keeps the line breaks the stored one used.
    Frame->mLeir->setPlainText("első\nmásodik\nharmadik");
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT P_MEGJ FROM TPAKLI WHERE P_ID = " + QString::number(deck)),
              "első\r\nmásodik\r\nharmadik");
}

TEST_F(DeckFrameTest, ASaveFailingMidwayLeavesTheCatalogueAsItWas)
{
    Load(1);
    const qint64 removed = Frame->mdPakli.Row(0).L_ID;
    Frame->AddCardToDeck(CardId("002"));
    Frame->RemoveCardFromDeck(removed);
    Frame->eNev->setText("Másik név");
    const int rows = Frame->mdPakli.RecordCount();
    // The insert of the added card's row fails, after the removed card's delete has run.
    const qint64 failing = CardId("002");
    Exec(("CREATE TRIGGER FAIL_ONE BEFORE INSERT ON TPAKLILAP WHEN NEW.PL_LID = " + QString::number(failing) +
          " BEGIN SELECT RAISE(ABORT, 'no room'); END;")
             .toUtf8());
    const QString before = Dump();
    EXPECT_THROW(Frame->SaveDeck(), EDatabaseError);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(Ui.Count(TUiKind::Information), 0);
    // The deck stays as it was edited and saves once the fault is gone.
    EXPECT_EQ(Frame->mdPakli.RecordCount(), rows);
    EXPECT_TRUE(Frame->IsModified());
    Exec("DROP TRIGGER FAIL_ONE;");
    EXPECT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1").toInt(), rows);
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = 1"), "Másik név");
}

TEST_F(DeckFrameTest, ASaveOverAChangeMadeElsewhereAsksFirst)
{
    Load(1);
    Frame->AddCardToDeck(CardId("002"));
    Exec("UPDATE TPAKLILAP SET PL_LDB = 4 WHERE PL_PID = 1 AND PL_LID = 39;");
    const QString changed = Dump();
    Ui.PushYesNo(false);
    EXPECT_FALSE(Frame->SaveDeck());
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 1);
    EXPECT_EQ(Dump(), changed);
    Ui.PushYesNo(true);
    EXPECT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT PL_LDB FROM TPAKLILAP WHERE PL_PID = 1 AND PL_LID = 39"), "1");
    // Saved: the next save asks nothing.
    EXPECT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 2);

    // A deck deleted elsewhere is not brought back.
    Exec("DELETE FROM TPAKLILAP WHERE PL_PID = 1; DELETE FROM TPAKLI WHERE P_ID = 1;");
    EXPECT_FALSE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1"), "0");
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
}

TEST_F(DeckFrameTest, ModifiedFollowsTheContentNotTheHistory)
{
    Load(1);
    EXPECT_FALSE(Frame->IsModified());
    Frame->AddCardToDeck(CardId("002"));
    EXPECT_TRUE(Frame->IsModified());
    Frame->RemoveCardFromDeck(CardId("002"));
    EXPECT_FALSE(Frame->IsModified());
    Frame->mLeir->setPlainText(Frame->mLeir->toPlainText() + "!");
    EXPECT_TRUE(Frame->IsModified());
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_FALSE(Frame->IsModified());
    Frame->eNev->setText("x");
    EXPECT_TRUE(Frame->IsModified());
}

TEST_F(DeckFrameTest, ReleaseTellsTheHostOnce)
{
    Load(1);
    Frame->Release();
    delete Frame;
    Frame = nullptr;
    EXPECT_EQ(Host.Closed, 1);
}
