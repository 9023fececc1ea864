// Saves under a player's conditions: another program holding the catalogue, stored rows the
// windows cannot show, values of odd storage classes, edits left unsaved. Every write is read
// back through a second connection.
#include "TestCatalogue.h"
#include "decks/DeckFrameFixture.h"

#include "app/Messages.h"
#include "browser/uDetailPage.h"
#include "browser/ufMain.h"
#include "decks/uDeckText.h"
#include "filters/ufQueries.h"
#include "refdata/ufTulajd.h"
#include "storage/uAM.h"
#include "widgets/LComboBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace {

// Another program on the same file.
class TOther {
public:
    explicit TOther(const QString& file) { sqlite3_open(file.toUtf8().constData(), &Db); }
    ~TOther() { sqlite3_close(Db); }
    int Exec(const QString& sql) { return sqlite3_exec(Db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }
    QString Scalar(const QString& sql)
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(Db, sql.toUtf8().constData(), -1, &st, nullptr);
        QString out = sqlite3_step(st) == SQLITE_ROW
                          ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
                          : QString();
        sqlite3_finalize(st);
        return out;
    }
    sqlite3* Db = nullptr;
};

class SaveIntegrityTest : public ::testing::Test {
public:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(AM && AM->Connected());
    }
    void TearDown() override
    {
        Frame.reset();
        Program.reset();
    }
    TConnection& Conn() { return AM->ADOConnection; }
    QString Scalar(const QString& sql) { return ScalarOn(Conn(), sql); }
    bool Autocommit() { return sqlite3_get_autocommit(Conn().Handle()) != 0; }
    TfmPakli& OpenDeck(qint64 deckId)
    {
        Frame = std::make_unique<TfmPakli>(&DeckHost, Conn(), nullptr);
        TFormOpenPars pars;
        pars.Id = deckId;
        pars.Mode = fmEdit;
        Frame->LoadDeck(pars);
        return *Frame;
    }
    qint64 FirstId(const QString& sql) { return Scalar(sql).toLongLong(); }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    TInsightDeckHost DeckHost;
    std::unique_ptr<TfmPakli> Frame;
};

struct TWriter {
    const char* Name;
    const char* Trigger;  // the statement a failing trigger stops
    std::function<void(SaveIntegrityTest&, const QString& value)> Write;
    QString ReadBack;  // the value written, as another program reads it
};

}  // namespace

// A write waits for another program's write lock; a commit refused because another program is
// reading is reported and leaves the connection in autocommit, so the next save really lands; a
// failing trigger leaves everything as it was.
TEST_F(SaveIntegrityTest, WritersSurviveALockAReaderAtCommitAndAFailingTrigger)
{
    const qint64 deck = FirstId("SELECT MIN(P_ID) FROM TPAKLI");
    const qint64 filter = FirstId("SELECT MIN(FB_ID) FROM TFILTERBASE");
    OpenDeck(deck);
    const std::vector<TWriter> writers = {
        {"deck save", "BEFORE UPDATE ON TPAKLI",
         [](SaveIntegrityTest& t, const QString& v) {
             t.Frame->eNev->setText(v);
             t.Frame->SaveDeck();
         },
         "SELECT P_NEV FROM TPAKLI WHERE P_ID = " + QString::number(deck)},
        {"query editor", "BEFORE UPDATE ON TFILTERBASE",
         [filter](SaveIntegrityTest&, const QString& v) {
             TFormOpenPars pars;
             pars.Id = filter;
             pars.Mode = fmEdit;
             TfQueries w(pars);
             w.FormShow();
             w.eNev->setText(v);
             w.btnOKClick();
         },
         "SELECT FB_NAME FROM TFILTERBASE WHERE FB_ID = " + QString::number(filter)},
        {"lookup entry", "BEFORE INSERT ON TVELKOR",
         [](SaveIntegrityTest& t, const QString& v) {
             TfTulajd w;
             w.FormShow();
             t.Ui.PushInput(v);
             w.btnNewClick();
         },
         "SELECT MAX(VELKOR_NEV) FROM TVELKOR WHERE VELKOR_NEV LIKE 'Mentés%'"},
    };
    TOther other(Cat.DbPath());
    for (const TWriter& w : writers) {
        SCOPED_TRACE(w.Name);
        // Another program holds the write lock for a moment: the save waits and lands.
        ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
        std::thread release([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            other.Exec("COMMIT");
        });
        EXPECT_NO_THROW(w.Write(*this, "Mentés 1"));
        release.join();
        EXPECT_TRUE(Autocommit());
        EXPECT_EQ(other.Scalar(w.ReadBack), "Mentés 1");

        // Another program reads while we commit: reported, rolled back, out of the transaction.
        ASSERT_EQ(other.Exec("BEGIN; SELECT COUNT(*) FROM TLAP;"), SQLITE_OK);
        sqlite3_busy_timeout(Conn().Handle(), 100);
        EXPECT_THROW(w.Write(*this, "Mentés 2"), EDatabaseError);
        sqlite3_busy_timeout(Conn().Handle(), 5000);
        EXPECT_TRUE(Autocommit());
        other.Exec("COMMIT");
        EXPECT_EQ(other.Scalar(w.ReadBack), "Mentés 1");
        // The reader is gone: the next save is on disk for everyone.
        EXPECT_NO_THROW(w.Write(*this, "Mentés 3"));
        EXPECT_TRUE(Autocommit());
        EXPECT_EQ(other.Scalar(w.ReadBack), "Mentés 3");

        // A trigger stops the write: one error, nothing of it stored.
        ASSERT_EQ(other.Exec(QStringLiteral("CREATE TRIGGER stop %1 BEGIN SELECT RAISE(ABORT, 'nem'); END")
                                 .arg(QLatin1String(w.Trigger))),
                  SQLITE_OK);
        EXPECT_THROW(w.Write(*this, "Mentés 4"), EDatabaseError);
        EXPECT_TRUE(Autocommit());
        EXPECT_EQ(other.Scalar(w.ReadBack), "Mentés 3");
        other.Exec("DROP TRIGGER stop");
    }
    // And after the program has closed.
    Frame.reset();
    Program.reset();
    TOther after(Cat.DbPath());
    for (const TWriter& w : writers) EXPECT_EQ(after.Scalar(w.ReadBack), "Mentés 3") << w.Name;
}

// Rows whose card, card type or pantheon is missing are kept by a save; a value stored as text
// where a number was read counts as a change made elsewhere.
TEST_F(SaveIntegrityTest, ADeckSaveKeepsRowsItCannotShowAndSeesStorageClassChanges)
{
    const qint64 deck = FirstId("SELECT MIN(P_ID) FROM TPAKLI");
    const QString d = QString::number(deck);
    Conn().ExecuteDirect("UPDATE TLAP SET L_LAPTIPUS = 'L999' WHERE L_ID = 20;"
                         "UPDATE TLAP SET L_VELKOR = 'X99' WHERE L_ID = 21;"
                         "UPDATE TPAKLI SET P_MEGJ = '' WHERE P_ID = " + d + ";"
                         "DELETE FROM TPAKLILAP WHERE PL_PID = " + d + " AND PL_LID IN (20, 21);"
                         "INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) VALUES (" + d + ", 9999999999, 2), (" +
                         d + ", 20, 1), (" + d + ", 21, 3)");
    const QString rows = "SELECT group_concat(PL_LID || 'x' || PL_LDB, ' ') FROM (SELECT * FROM TPAKLILAP "
                         "WHERE PL_PID = " + d + " AND PL_LID IN (9999999999, 20, 21) ORDER BY PL_LID)";
    const QString before = Scalar(rows);
    TfmPakli& f = OpenDeck(deck);
    const qint64 total = f.mdPakli.CardCount();
    f.AddCardToDeck(22);
    EXPECT_EQ(f.mdPakli.CardCount(), total + 1);
    ASSERT_TRUE(f.SaveDeck());
    EXPECT_EQ(Scalar(rows), before);
    EXPECT_EQ(Scalar("SELECT SUM(PL_LDB) FROM TPAKLILAP WHERE PL_PID = " + d + " AND PL_LID = 22").toLongLong(),
              f.mdPakli.Row(f.mdPakli.Find(22)).DB);

    // Another program makes the empty description NULL: the same text on screen, another value.
    TOther other(Cat.DbPath());
    other.Exec("UPDATE TPAKLI SET P_MEGJ = NULL WHERE P_ID = " + d);
    f.AddCardToDeck(22);
    Ui.PushYesNo(false);
    EXPECT_FALSE(f.SaveDeck());
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 1);
}

// Typed edits on the detail page are asked about before another card replaces them.
TEST_F(SaveIntegrityTest, TheDetailPageAsksBeforeDroppingUnsavedEdits)
{
    fMain->pc->setCurrentWidget(fMain->ts1);
    TDetailPage& page = *fMain->ts1;
    struct TCase {
        std::optional<TYesNoCancel> Answer;  // none: nothing typed, nothing asked
        bool Saved;
        bool StaysOnCard;
    };
    const TCase cases[] = {{std::nullopt, false, false},
                           {TYesNoCancel::Yes, true, false},
                           {TYesNoCancel::No, false, false},
                           {TYesNoCancel::Cancel, false, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Answer ? int(*c.Answer) : -1);
        const QString typed = QString::number(70 + (c.Answer ? int(*c.Answer) : -1));
        AM->qLapok.First();
        const qint64 card = page.LoadedCard().Id;
        const QString stored = Scalar("SELECT quote(L_DB) FROM TLAP WHERE L_ID = " + QString::number(card));
        Ui.Clear();
        if (c.Answer) {
            page.eDB->setText(typed);
            Ui.PushYesNoCancel(*c.Answer);
        }
        AM->qLapok.Next();
        EXPECT_EQ(Ui.Count(TUiKind::YesNoCancel), c.Answer ? 1 : 0) << Ui.Texts().join("|").toStdString();
        EXPECT_EQ(Scalar("SELECT quote(L_DB) FROM TLAP WHERE L_ID = " + QString::number(card)),
                  c.Saved ? typed : stored);
        const qint64 now = AM->qLapok.FieldByName("L_ID").AsLargeInt();
        EXPECT_EQ(now == card, c.StaysOnCard);
        EXPECT_EQ(page.eDB->text() == typed, c.StaysOnCard);
        if (c.StaysOnCard) {
            // Still unsaved: the window's close asks too, and Mégse keeps it open.
            Ui.PushYesNoCancel(TYesNoCancel::Cancel);
            EXPECT_FALSE(fMain->close());
            page.RefreshDetailPage(QString());
        }
    }
}

// Editing a filter keeps its card links unless the box says otherwise; a group beyond 32 bits
// survives an edit of another condition; linking to a filter deleted meanwhile stores nothing.
TEST_F(SaveIntegrityTest, EditingAFilterKeepsItsLinksAndItsStoredValues)
{
    const qint64 filter = FirstId("SELECT MIN(FB_ID) FROM TFILTERBASE");
    const QString f = QString::number(filter);
    auto edit = [&](const std::function<void(TfQueries&)>& change) {
        TFormOpenPars pars;
        pars.Id = filter;
        pars.Mode = fmEdit;
        TfQueries w(pars);
        w.FormShow();
        change(w);
        w.btnOKClick();
    };
    auto links = [&] {
        return Scalar("SELECT group_concat(SZL_LID, ' ') FROM (SELECT SZL_LID FROM TSZURESLAP WHERE SZL_FBID = " + f +
                      " ORDER BY SZL_LID)");
    };
    Conn().ExecuteDirect("DELETE FROM TSZURESLAP WHERE SZL_FBID = " + f + "; INSERT INTO TSZURESLAP (SZL_FBID, "
                         "SZL_LID) VALUES (" + f + ", 5); UPDATE TFILTER SET F_GROUP = 5000000000 WHERE F_FBID = " + f);
    edit([](TfQueries& w) {
        EXPECT_TRUE(w.cbCsatol->isChecked());
        EXPECT_EQ(w.cbLapok->SelectedKey(), "5");
        w.eNev->setText("Átnevezve");
    });
    EXPECT_EQ(links(), "5");
    EXPECT_EQ(Scalar("SELECT MIN(F_GROUP) FROM TFILTER WHERE F_FBID = " + f), "5000000000");
    edit([](TfQueries& w) { w.cbCsatol->setChecked(false); });
    EXPECT_EQ(links(), "");

    Conn().ExecuteDirect("INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) VALUES (" + f + ", 3), (" + f + ", 4), (" + f +
                         ", 7)");
    edit([](TfQueries& w) {
        EXPECT_FALSE(w.cbCsatol->isChecked());
        EXPECT_EQ(w.lCsatolva->text(), "3 laphoz csatolva");
        w.eNev->setText("Megint");
    });
    EXPECT_EQ(links(), "3 4 7");
    edit([](TfQueries& w) {
        w.cbLapok->SelectByKey("8");
        w.cbCsatol->setChecked(true);
    });
    EXPECT_EQ(links(), "3 4 7 8");

    // Deleted by another program while the picture page offered it: not linked, and said so.
    TOther other(Cat.DbPath());
    other.Exec("DELETE FROM TSZURESLAP WHERE SZL_FBID = " + f + "; DELETE FROM TFILTER WHERE F_FBID = " + f +
               "; DELETE FROM TFILTERBASE WHERE FB_ID = " + f);
    EXPECT_FALSE(fMain->LinkFilterToCurrentCard(filter));
    EXPECT_EQ(links(), "");
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(Autocommit());
}

// A card's copies are limited over all its lines; nothing is stored when they exceed the limit.
TEST_F(SaveIntegrityTest, ADeckListMayNotAddUpToMoreThanTheLimitOfOneCard)
{
    const QString decks = Scalar("SELECT COUNT(*) || '/' || (SELECT COUNT(*) FROM TPAKLILAP) FROM TPAKLI");
    const QString god = Scalar("SELECT L_LAPSZAM FROM TLAP WHERE L_LAPTIPUS = 'L004' LIMIT 1");
    const QString card = Scalar("SELECT L_LAPSZAM FROM TLAP WHERE L_LAPTIPUS <> 'L004' LIMIT 1");
    QString text = "1 (" + god + ")\n";
    for (int i = 0; i < 9000; ++i) text += "99 (" + card + ")\n";
    EXPECT_FALSE(ImportDeckText(Conn(), text).has_value());
    ASSERT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::Warning)[0].Text.contains("891000 példányt")) << Ui.Of(TUiKind::Warning)[0].Text.toStdString();
    EXPECT_EQ(Scalar("SELECT COUNT(*) || '/' || (SELECT COUNT(*) FROM TPAKLILAP) FROM TPAKLI"), decks);
}

// A name typed into a lookup prompt whose write failed is offered again.
TEST_F(SaveIntegrityTest, ALookupNameWhoseWriteFailedIsOfferedAgain)
{
    TfTulajd w;
    w.FormShow();
    Conn().ExecuteDirect("CREATE TRIGGER stop_new BEFORE INSERT ON TVELKOR BEGIN SELECT RAISE(ABORT, 'nem'); END;"
                         "CREATE TRIGGER stop_edit BEFORE UPDATE ON TVELKOR BEGIN SELECT RAISE(ABORT, 'nem'); END");
    Ui.PushInput(QString("Új istenség"));
    EXPECT_THROW(w.btnNewClick(), EDatabaseError);
    Ui.PushInput(QString("Átnevezett"));
    EXPECT_THROW(w.btnEditClick(), EDatabaseError);
    w.btnNewClick();   // cancelled: the queue is empty
    w.btnEditClick();
    const QList<TUiRecord> prompts = Ui.Of(TUiKind::Input);
    ASSERT_EQ(prompts.size(), 4);
    EXPECT_EQ(prompts[2].Extra, "Új istenség");
    EXPECT_EQ(prompts[3].Extra, "Átnevezett");
    EXPECT_TRUE(Autocommit());
}
