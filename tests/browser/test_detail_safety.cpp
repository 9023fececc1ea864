// What a card save may and may not do to the catalogue: ids beyond 32 bits, stored texts longer
// than the edit boxes, values that are not what the field expects, one transaction for the row
// and its note, and a second program writing the same card in between.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uDetailPage.h"
#include "browser/ufMain.h"
#include "storage/FormOpenPars.h"
#include "storage/uAM.h"
#include "widgets/LComboBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

const qint64 kBeyond32 = 4294967297LL;  // 2^32 + 1: cut to 32 bits it is card 1, a main god
const qint64 kSignFlip = 2147483648LL;  // 2^31: cut to 32 bits it is negative

class DetailSafetyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        fMain->acTs1Execute();
        Page = fMain->ts1;
    }
    void TearDown() override { Program.reset(); }

    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }
    qint64 Id() { return AM->qLapok.FieldByName("L_ID").AsLargeInt(); }
    QString Card(qint64 id, const QString& column)
    {
        return Scalar(QString("SELECT %1 FROM TLAP WHERE L_ID = %2").arg(column).arg(id));
    }
    // Every column of every card and note but the one card, as one text.
    QString AllBut(qint64 id)
    {
        return Scalar(QString("SELECT group_concat(x, '|') FROM (SELECT quote(L_ID) || quote(L_LAPSZAM) || "
                              "quote(L_NEV) || quote(L_VELKOR) || quote(L_LAPTIPUS) || quote(L_LEIDEZES) || "
                              "quote(L_SZINT) || quote(L_UTAK) || quote(L_HP) || quote(L_DB) || quote(L_GYAKORISAG) "
                              "|| quote(L_LEIDEZESTECH) AS x FROM TLAP WHERE L_ID <> %1 UNION ALL SELECT "
                              "quote(ME_LAPID) || quote(ME_MEGJEGYZES) FROM TMEGJ WHERE ME_LAPID <> %1 ORDER BY 1)")
                          .arg(id));
    }
    // A card copied from card 25 (a leader) under a new id and number.
    void AddCard(qint64 id, const QString& number)
    {
        Exec(QString("INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_LEIDEZES, L_SZINT, L_UTAK, "
                     "L_HP, L_DB, L_GYAKORISAG, L_LEIDEZESTECH, L_KEPNEV) SELECT %1, '%2', 'Messzi lap', L_VELKOR, "
                     "L_LAPTIPUS, L_LEIDEZES, L_SZINT, L_UTAK, L_HP, L_DB, L_GYAKORISAG, L_LEIDEZESTECH, L_KEPNEV "
                     "FROM TLAP WHERE L_LAPSZAM = '025'")
                 .arg(id)
                 .arg(number));
    }
    void GoToId(qint64 id) { ASSERT_TRUE(AM->qLapok.Locate("L_ID", id)) << id; }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    TDetailPage* Page = nullptr;
};

}  // namespace

TEST_F(DetailSafetyTest, IdsBeyond32BitsAreSavedOntoThemselvesAndNothingElse)
{
    for (const qint64 id : {kBeyond32, kSignFlip}) {
        AddCard(id, id == kBeyond32 ? "901" : "902");
        AM->ReQuery();
        GoToId(id);
        ASSERT_EQ(Page->eNev->text(), "Messzi lap");
        const QString others = AllBut(id);

        Page->eNev->setText("Messzi lap, átírva");
        Page->mSajat->setPlainText("Megjegyzés a messzi laphoz");
        Page->btnEdit->click();

        EXPECT_TRUE(Ui.Records().isEmpty()) << Ui.Texts().join("\n").toStdString();
        EXPECT_EQ(Card(id, "L_NEV"), "Messzi lap, átírva") << id;
        EXPECT_EQ(Scalar(QString("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = %1").arg(id)),
                  "Megjegyzés a messzi laphoz");
        EXPECT_EQ(AllBut(id), others) << "another card or note was touched saving " << id;
        // The list came back to the same card, found by its full id.
        EXPECT_EQ(Id(), id);
        EXPECT_EQ(Page->eNev->text(), "Messzi lap, átírva");
    }
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID < 0"), "0");
}

TEST_F(DetailSafetyTest, TheAbilitiesEditorGetsTheFullCardId)
{
    AddCard(kBeyond32, "901");
    AM->ReQuery();
    GoToId(kBeyond32);
    qint64 opened = 0;
    Page->SpecEditorOpener = [&](TFormOpenPars& pars) { opened = pars.Id; };
    Page->sb6->click();
    EXPECT_EQ(opened, kBeyond32);
}

TEST_F(DetailSafetyTest, ASaveThatMatchesNoRowIsReportedAndWritesNoNote)
{
    AddCard(kBeyond32, "901");
    AM->ReQuery();
    GoToId(kBeyond32);
    Page->mSajat->setPlainText("Ez sehova sem kerülhet");
    // Another program deletes the card while it is on the page.
    TConnection other;
    other.Open(Cat.DbPath());
    other.ExecuteDirect(QString("DELETE FROM TLAP WHERE L_ID = %1").arg(kBeyond32));
    const QString notes = Scalar("SELECT COUNT(*) FROM TMEGJ");

    Page->btnEdit->click();
    ASSERT_EQ(Ui.Records().size(), 1);
    EXPECT_TRUE(Ui.Records()[0].Text.contains("nincs a katalógusban")) << Ui.Records()[0].Text.toStdString();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ"), notes);
    EXPECT_EQ(Page->mSajat->toPlainText(), "Ez sehova sem kerülhet");  // the edit is not thrown away
}

TEST_F(DetailSafetyTest, StoredTextsLongerThanTheBoxesAreSavedBackWholeAfterANoteOnlyEdit)
{
    const QString longName = "Az Ezerarcú Homokvihar Öreg Ura, a Mélység Hangja";  // 49 characters
    ASSERT_GT(longName.size(), 45);
    Exec("UPDATE TLAP SET L_NEV = '" + longName + "', L_LAPSZAM = '12345', L_LEIDEZES = 'vvmmh', "
         "L_UTAK = 'abcdef', L_SZINT = 12345, L_HP = 2.5, L_DB = 'abc' WHERE L_ID = 25");
    AM->ReQuery();
    GoToId(25);
    EXPECT_EQ(Page->eNev->text(), longName);  // shown whole
    EXPECT_EQ(Page->eLsz->text(), "12345");
    EXPECT_EQ(Page->eSzint->text(), "12345");
    EXPECT_EQ(Page->eHp->text(), "2.5");
    const QString stored = "SELECT L_NEV || '|' || L_LAPSZAM || '|' || L_LEIDEZES || '|' || L_UTAK || '|' || "
                           "L_SZINT || typeof(L_SZINT) || '|' || L_HP || typeof(L_HP) || '|' || L_DB || typeof(L_DB) "
                           "FROM TLAP WHERE L_ID = 25";
    const QString before = Scalar(stored);

    Page->mSajat->setPlainText("Csak a megjegyzés új");
    Page->btnEdit->click();
    EXPECT_TRUE(Ui.Records().isEmpty()) << Ui.Texts().join("\n").toStdString();
    EXPECT_EQ(Scalar(stored), before);
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 25"), "Csak a megjegyzés új");

    // The limit still bounds typing: a reloaded long name cannot grow, a design-size one stops at 30.
    Page->eNev->setFocus();
    Page->eNev->end(false);
    QTest::keyClicks(Page->eNev, "xyz");
    EXPECT_EQ(Page->eNev->text(), longName);
    ASSERT_TRUE(AM->qLapok.Locate("L_LAPSZAM", "026"));
    EXPECT_EQ(Page->eNev->maxLength(), 30);

    // An edited integer field is converted as typed; the untouched ones keep their stored values.
    GoToId(25);
    Page->eHp->setText("7");
    Page->btnEdit->click();
    EXPECT_EQ(Scalar("SELECT L_HP || typeof(L_HP) || '|' || L_DB || typeof(L_DB) || '|' || L_SZINT FROM TLAP "
                     "WHERE L_ID = 25"),
              "7integer|abctext|12345");
}

TEST_F(DetailSafetyTest, TheRowAndItsNoteAreWrittenTogetherOrNotAtAll)
{
    // Card 2 has no note: the note insert fails; card 1 has one: the note update fails.
    Exec("CREATE TRIGGER no_note_insert BEFORE INSERT ON TMEGJ BEGIN SELECT RAISE(ABORT, 'megjegyzés tiltva'); END;");
    Exec("CREATE TRIGGER no_note_update BEFORE UPDATE ON TMEGJ BEGIN SELECT RAISE(ABORT, 'megjegyzés tiltva'); END;");
    for (const qint64 id : {2, 1}) {
        Ui.PushYesNoCancel(TYesNoCancel::No);  // card 2's unsaved edits are dropped on the way to card 1
        GoToId(id);
        const QString row = Scalar(QString("SELECT quote(L_NEV) || quote(L_DB) FROM TLAP WHERE L_ID = %1").arg(id));
        const QString notes = Scalar("SELECT group_concat(ME_LAPID || ME_MEGJEGYZES) FROM TMEGJ");
        Ui.Clear();
        Page->eNev->setText("Félig mentett");
        Page->eDB->setText("9");
        Page->mSajat->setPlainText("Új megjegyzés");
        Page->btnEdit->click();
        ASSERT_EQ(Ui.Records().size(), 1) << id;
        EXPECT_TRUE(Ui.Records()[0].Text.contains("megjegyzés tiltva"));
        EXPECT_EQ(Scalar(QString("SELECT quote(L_NEV) || quote(L_DB) FROM TLAP WHERE L_ID = %1").arg(id)), row) << id;
        EXPECT_EQ(Scalar("SELECT group_concat(ME_LAPID || ME_MEGJEGYZES) FROM TMEGJ"), notes);
        EXPECT_EQ(Page->eNev->text(), "Félig mentett");  // the edits stay for another try
    }
    // With the note allowed again the same save goes through whole.
    Exec("DROP TRIGGER no_note_update");
    Page->btnEdit->click();
    EXPECT_EQ(Card(1, "L_NEV"), "Félig mentett");
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 1"), "Új megjegyzés");
}

namespace {
// A second program on the same catalogue file.
class TOtherProgram {
public:
    explicit TOtherProgram(const QString& file) { Conn.Open(file); }
    void Exec(const QString& sql) { Conn.ExecuteDirect(sql); }
    TConnection Conn;
};

// Answers like the test host, after letting the other program write once more at the question.
class TWritingWhileAsked : public TTestUiHost {
public:
    std::function<void()> AtQuestion;
    bool AskConfirmation(const QString& title, const QString& text) override
    {
        if (AtQuestion) std::exchange(AtQuestion, nullptr)();
        return TTestUiHost::AskConfirmation(title, text);
    }
};
}  // namespace

TEST_F(DetailSafetyTest, AStaleSaveAsksAndYesOverwritesTheOtherWrite)
{
    GoToId(25);
    const QString loadedName = Page->eNev->text();
    TOtherProgram other(Cat.DbPath());
    other.Exec("UPDATE TLAP SET L_NEV = 'A másik program neve', L_DB = NULL WHERE L_ID = 25");

    Page->mSajat->setPlainText("Megjegyzés B-ből");
    Ui.PushYesNo(true);
    Page->btnEdit->click();
    ASSERT_EQ(Ui.Of(TUiKind::Confirmation).size(), 1);
    EXPECT_EQ(Ui.Of(TUiKind::Confirmation)[0].Text,
              "A lapot időközben egy másik program módosította. Felülírja a változásait?");
    EXPECT_EQ(Card(25, "L_NEV"), loadedName);
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 25"), "Megjegyzés B-ből");
}

TEST_F(DetailSafetyTest, AStaleSaveAnsweredNoKeepsTheOtherWriteAndNothingOfTheEdit)
{
    Exec("UPDATE TLAP SET L_DB = 3 WHERE L_ID = 25");
    AM->ReQuery();
    GoToId(25);
    const QString owned = Card(25, "L_DB");
    const QString level = Card(25, "L_SZINT");
    ASSERT_FALSE(owned.isEmpty());
    TOtherProgram other(Cat.DbPath());
    // The other copy renames the card and clears every owned count ("Darabszámok törlése").
    other.Exec("UPDATE TLAP SET L_NEV = 'A másik program neve' WHERE L_ID = 25");
    other.Exec("UPDATE TLAP SET L_DB = NULL");

    Page->eSzint->setText("9");
    Page->mSajat->setPlainText("Elvetett megjegyzés");
    Ui.PushYesNo(false);
    Page->btnEdit->click();
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 1);
    EXPECT_EQ(Scalar("SELECT quote(L_NEV) || quote(L_DB) FROM TLAP WHERE L_ID = 25"), "'A másik program neve'NULL");
    EXPECT_EQ(Card(25, "L_SZINT"), level);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_MEGJEGYZES = 'Elvetett megjegyzés'"), "0");
    // The page was reloaded from the stored row.
    EXPECT_EQ(Id(), 25);
    EXPECT_EQ(Page->eNev->text(), "A másik program neve");
    EXPECT_EQ(Page->eDB->text(), "");
    EXPECT_NE(Page->eSzint->text(), "9");
    EXPECT_NE(Page->mSajat->toPlainText(), "Elvetett megjegyzés");
}

TEST_F(DetailSafetyTest, ANoteChangedElsewhereIsStaleTooAndAWriteDuringTheQuestionIsAskedAgain)
{
    GoToId(1);
    TOtherProgram other(Cat.DbPath());
    other.Exec("UPDATE TMEGJ SET ME_MEGJEGYZES = 'Másik megjegyzés' WHERE ME_LAPID = 1");
    TWritingWhileAsked ui;
    ui.AtQuestion = [&] { other.Exec("UPDATE TLAP SET L_HP = 77 WHERE L_ID = 1"); };
    ui.PushYesNo(true);
    ui.PushYesNo(true);
    Page->eNev->setText("Két kérdés után");
    Page->btnEdit->click();
    EXPECT_EQ(ui.Count(TUiKind::Confirmation), 2);  // the second write was not overwritten unseen
    EXPECT_EQ(Card(1, "L_NEV"), "Két kérdés után");
    // Overwritten with what the page showed, the note included.
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 1"), "Két példány cserealapba.");
    EXPECT_EQ(Card(1, "L_HP"), "");
}
