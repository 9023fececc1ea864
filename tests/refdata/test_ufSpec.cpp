// The special abilities editor over a copy of the demo catalogue: numbering over the whole table,
// modify, cancel, delete and the edit states, without exec().
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "refdata/ufSpec.h"
#include "storage/uAM.h"

#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

class SpecTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    std::unique_ptr<TfSpec> Open(int cardId)
    {
        TFormOpenPars pars;
        pars.Id = cardId;
        auto w = std::make_unique<TfSpec>(pars);
        w->LoadSpecs();
        w->SetEditMode(esBrowse);
        return w;
    }
    void AddAbility(TfSpec& w, const QString& kijatsz, const QString& idezes, const QString& text)
    {
        w.btnUjClick();
        w.eKijatsz->setText(kijatsz);
        w.eIdezes->setText(idezes);
        w.mText->setPlainText(text);
        w.btnOkClick();
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(SpecTest, NewAbilitiesAreNumberedOverTheWholeTable)
{
    AM->ADOConnection.ExecuteDirect("DELETE FROM TSPEC");
    auto a = Open(2);
    AddAbility(*a, "", "", "");  // all empty: stored as empty texts
    EXPECT_EQ(Scalar("SELECT S_LAPID || ':' || S_NUM FROM TSPEC"), "2:1");
    EXPECT_EQ(Scalar("SELECT typeof(S_KIJATSZ) || typeof(S_LEIDEZES) || typeof(S_SZOVEG) FROM TSPEC"), "texttexttext");
    auto b = Open(3);
    AddAbility(*b, "B", "vm", "Második lap képessége");
    EXPECT_EQ(Scalar("SELECT S_NUM FROM TSPEC WHERE S_LAPID = 3"), "2");
    EXPECT_EQ(b->EditMode(), esBrowse);
    EXPECT_EQ(b->grSpec->model()->rowCount(), 1);
    EXPECT_EQ(b->mText->toPlainText(), "Második lap képessége");
    AddAbility(*a, "K", "", "harmadik");  // back on the first card: still the next number overall
    EXPECT_EQ(Scalar("SELECT group_concat(S_NUM) FROM TSPEC WHERE S_LAPID = 2"), "1,3");
}

TEST_F(SpecTest, ModifyWritesTheCurrentAbilityAndCancelReturnsToTheFirst)
{
    auto w = Open(25);
    ASSERT_EQ(w->grSpec->model()->rowCount(), 3);
    EXPECT_EQ(w->eKijatsz->text(), "B");
    w->grSpec->setCurrentIndex(w->grSpec->model()->index(2, 0));
    EXPECT_EQ(w->eKijatsz->text(), "S");
    w->btnModClick();
    EXPECT_EQ(w->EditMode(), esModify);
    EXPECT_EQ(w->eIdezes->text(), "hh");  // the edits keep the current ability
    w->eKijatsz->setText("X");
    w->btnMegsemClick();
    EXPECT_EQ(w->EditMode(), esBrowse);
    EXPECT_EQ(w->eKijatsz->text(), "B");
    EXPECT_EQ(Scalar("SELECT S_KIJATSZ FROM TSPEC WHERE S_NUM = 3"), "S");

    w->grSpec->setCurrentIndex(w->grSpec->model()->index(1, 0));
    w->btnModClick();
    w->mText->setPlainText("Átírt szöveg");
    w->btnOkClick();
    EXPECT_EQ(Scalar("SELECT S_SZOVEG FROM TSPEC WHERE S_LAPID = 25 AND S_NUM = 2"), "Átírt szöveg");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_LAPID = 25"), "3");
}

TEST_F(SpecTest, EditStatesShowTheirButtons)
{
    auto w = Open(25);
    w->show();
    EXPECT_EQ(w->windowTitle(), "Speciális képesség");
    EXPECT_EQ(w->size(), QSize(541, 327));
    auto shown = [&] {
        QString s;
        for (QPushButton* b : {w->btnUj, w->btnMod, w->btnTorol, w->btnOk, w->btnMegsem, w->btnClose})
            s += b->isVisible() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(shown(), "111001");
    EXPECT_FALSE(w->pnEdit->isEnabled());
    EXPECT_EQ(w->pnEdit->frameShadow(), QFrame::Raised);
    w->btnUjClick();
    EXPECT_EQ(shown(), "000111");
    EXPECT_TRUE(w->pnEdit->isEnabled());
    EXPECT_EQ(w->pnEdit->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(w->eKijatsz->text(), "");
    EXPECT_FALSE(w->grSpec->isEnabled());  // no moving to another row under the typed values
    w->btnMegsemClick();
    EXPECT_EQ(shown(), "111001");

    auto empty = Open(2);
    empty->btnModClick();  // nothing to modify: stays browsing
    EXPECT_EQ(empty->EditMode(), esBrowse);
}

TEST_F(SpecTest, DeleteAsksOnlyWhenThereIsSomethingToDelete)
{
    auto none = Open(2);
    none->btnTorolClick();
    EXPECT_TRUE(Ui.Records().isEmpty());

    auto w = Open(25);
    w->grSpec->setCurrentIndex(w->grSpec->model()->index(1, 0));
    Ui.PushYesNo(false);
    w->btnTorolClick();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_LAPID = 25"), "3");
    w->grSpec->setCurrentIndex(w->grSpec->model()->index(1, 0));
    Ui.PushYesNo(true);
    w->btnTorolClick();
    EXPECT_EQ(Scalar("SELECT group_concat(S_NUM) FROM TSPEC WHERE S_LAPID = 25"), "1,3");
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 2);
    EXPECT_EQ(w->grSpec->model()->rowCount(), 2);
    EXPECT_EQ(w->eKijatsz->text(), "B");
}

TEST_F(SpecTest, FailedInsertKeepsTheEditState)
{
    AM->ADOConnection.ExecuteDirect(
        "CREATE TRIGGER no_spec BEFORE INSERT ON TSPEC BEGIN SELECT RAISE(ABORT, 'tele'); END;");
    auto w = Open(25);
    w->btnUjClick();
    w->eKijatsz->setText("K");
    w->btnOk->click();  // through the handler guard, as a real click
    ASSERT_EQ(Ui.Of(TUiKind::ErrorDialog).size(), 1);
    EXPECT_EQ(Ui.Of(TUiKind::ErrorDialog)[0].Title, "Belső alkalmazáshiba");
    EXPECT_EQ(w->EditMode(), esNew);
    EXPECT_EQ(w->eKijatsz->text(), "K");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TSPEC WHERE S_LAPID = 25"), "3");
}
