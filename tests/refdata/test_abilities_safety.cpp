// The special abilities editor on hostile and shared catalogues: a stored number that is not a
// number, a card id beyond 32 bits, an ability that another program changed or deleted.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "refdata/ufSpec.h"
#include "storage/uAM.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class SpecSafetyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }
    std::unique_ptr<TfSpec> Open(qint64 cardId)
    {
        TFormOpenPars pars;
        InitFormOpenPars(pars);
        pars.Id = cardId;
        auto w = std::make_unique<TfSpec>(pars);
        w->LoadSpecs();
        w->SetEditMode(esBrowse);
        return w;
    }
    QString Abilities() { return Scalar("SELECT group_concat(S_LAPID || ':' || S_NUM || ':' || S_SZOVEG, '|') FROM "
                                        "(SELECT * FROM TSPEC ORDER BY S_LAPID, S_NUM)"); }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(SpecSafetyTest, AHostileStoredNumberDeletesOnlyItsOwnAbility)
{
    const int total = Scalar("SELECT COUNT(*) FROM TSPEC").toInt();
    ASSERT_GT(total, 3);
    // An ability whose number is a text that, pasted into the statement, would match every row.
    Exec("INSERT INTO TSPEC (S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG) "
         "VALUES (7, '1) OR (1=1', 'V', '', 'Ártalmas sor')");
    Exec("INSERT INTO TSPEC (S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG) VALUES (7, 0, 'M', '', 'Nulla sor')");
    auto w = Open(7);
    ASSERT_TRUE(w->qSpec.Locate("S_SZOVEG", "Ártalmas sor"));
    Ui.PushYesNo(true);
    w->btnTorolClick();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC").toInt(), total + 1);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_SZOVEG = 'Ártalmas sor'"), "0");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_SZOVEG = 'Nulla sor'"), "1");  // not taken for number 0
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
}

TEST_F(SpecSafetyTest, AHostileStoredNumberIsModifiedInItsOwnRow)
{
    Exec("INSERT INTO TSPEC (S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG) VALUES (7, 'x7', 'V', '', 'Szöveges szám')");
    Exec("INSERT INTO TSPEC (S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG) VALUES (7, 0, 'M', '', 'Nulla sor')");
    const QString before = Abilities();
    auto w = Open(7);
    ASSERT_TRUE(w->qSpec.Locate("S_SZOVEG", "Szöveges szám"));
    w->btnModClick();
    w->mText->setPlainText("Átírt szöveg");
    w->btnOkClick();
    EXPECT_EQ(Scalar("SELECT S_SZOVEG FROM TSPEC WHERE S_NUM = 'x7'"), "Átírt szöveg");
    EXPECT_EQ(Scalar("SELECT S_SZOVEG FROM TSPEC WHERE S_LAPID = 7 AND S_NUM = 0"), "Nulla sor");
    QString expected = before;
    expected.replace("7:x7:Szöveges szám", "7:x7:Átírt szöveg");
    EXPECT_EQ(Abilities(), expected);
    EXPECT_EQ(w->EditMode(), esBrowse);
}

TEST_F(SpecSafetyTest, ACardIdBeyond32BitsKeepsItsAbilitiesApart)
{
    const qint64 far = 4294967297LL;  // cut to 32 bits: card 1
    const QString ofCard1 = Scalar("SELECT group_concat(S_NUM) FROM TSPEC WHERE S_LAPID = 1");
    auto w = Open(far);
    w->btnUjClick();
    w->mText->setPlainText("A messzi lap képessége");
    w->btnOkClick();
    EXPECT_EQ(Scalar("SELECT S_LAPID FROM TSPEC WHERE S_SZOVEG = 'A messzi lap képessége'"), "4294967297");
    ASSERT_EQ(w->qSpec.RecordCount(), 1);
    Ui.PushYesNo(true);
    w->btnTorolClick();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_LAPID = 4294967297"), "0");
    EXPECT_EQ(Scalar("SELECT group_concat(S_NUM) FROM TSPEC WHERE S_LAPID = 1"), ofCard1);
}

TEST_F(SpecSafetyTest, AModifyOfAnAbilityDeletedMeanwhileIsReported)
{
    auto w = Open(25);
    ASSERT_GT(w->qSpec.RecordCount(), 0);
    w->btnModClick();
    w->mText->setPlainText("Ez már sehova");
    TConnection other;
    other.Open(Cat.DbPath());
    other.ExecuteDirect("DELETE FROM TSPEC WHERE S_LAPID = 25");
    w->btnOkClick();
    ASSERT_EQ(Ui.Of(TUiKind::Warning).size(), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::Warning)[0].Text.contains("nincs a katalógusban"));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_LAPID = 25"), "0");
    EXPECT_EQ(w->EditMode(), esModify);  // the typed text stays for the user
    EXPECT_EQ(w->mText->toPlainText(), "Ez már sehova");
}

TEST_F(SpecSafetyTest, AModifyOfAnAbilityChangedElsewhereAsksFirst)
{
    for (const bool overwrite : {true, false}) {
        auto w = Open(25);
        ASSERT_GT(w->qSpec.RecordCount(), 0);
        const QString number = w->qSpec.FieldByName("S_NUM").AsString();
        w->btnModClick();
        w->mText->setPlainText("A szerkesztő szövege");
        TConnection other;
        other.Open(Cat.DbPath());
        other.ExecuteDirect("UPDATE TSPEC SET S_SZOVEG = 'A másik program szövege' WHERE S_NUM = " + number);
        Ui.Clear();
        Ui.PushYesNo(overwrite);
        w->btnOkClick();
        ASSERT_EQ(Ui.Of(TUiKind::Confirmation).size(), 1) << overwrite;
        EXPECT_EQ(Ui.Of(TUiKind::Confirmation)[0].Text,
                  "A lapot időközben egy másik program módosította. Felülírja a változásait?");
        EXPECT_EQ(Scalar("SELECT S_SZOVEG FROM TSPEC WHERE S_NUM = " + number),
                  overwrite ? "A szerkesztő szövege" : "A másik program szövege");
        EXPECT_EQ(w->EditMode(), esBrowse);
        // Either way the window shows what is stored now.
        EXPECT_EQ(w->mText->toPlainText(), w->qSpec.FieldByName("S_SZOVEG").AsString());
    }
}

TEST_F(SpecSafetyTest, AnUnchangedAbilityIsModifiedWithoutAQuestion)
{
    auto w = Open(25);
    w->btnModClick();
    w->eKijatsz->setText("VM");
    w->btnOkClick();
    EXPECT_TRUE(Ui.Records().isEmpty());
    EXPECT_EQ(w->qSpec.FieldByName("S_KIJATSZ").AsString(), "VM");
}
