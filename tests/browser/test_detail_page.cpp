// The "Részlet" page on the real main window over a copy of the demo catalogue: what a save
// stores, the type-dependent locking, property links, the note, the abilities picture, the
// count clearing, and an empty card list.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "widgets/LComboBox.h"
#include "browser/uDetailPage.h"
#include "browser/ufMain.h"
#include "browser/ufTulSel.h"
#include "refdata/ufSpec.h"
#include "storage/CatalogNames.h"
#include "storage/uAM.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class DetailPageTest : public ::testing::Test {
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
    int Id() { return AM->qLapok.FieldByName("L_ID").AsInteger(); }
    QString Card(const QString& column) { return Scalar("SELECT " + column + " FROM TLAP WHERE L_ID = " + QString::number(Id())); }
    void GoTo(const QString& number) { ASSERT_TRUE(AM->qLapok.Locate("L_LAPSZAM", number)) << number.toStdString(); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }
    void ShowEmptyList()
    {
        AM->qLapok.Close();
        AM->qLapok.SetSQL(Catalog::CardListSelect + "WHERE TLAP.L_ID < 0");
        AM->qLapok.Open();
    }
    static void Type(QWidget* w, const QString& text)
    {
        for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    bool Locked(QLabel* l, QLineEdit* e) { return !l->isEnabled() && e->isReadOnly(); }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    TDetailPage* Page = nullptr;
};

}  // namespace

TEST_F(DetailPageTest, LoadsTheCurrentCardIntoTheFields)
{
    GoTo("025");
    EXPECT_EQ(Page->eNev->text(), Card("L_NEV"));
    EXPECT_EQ(Page->cbLTipus->SelectedKey(), "L008");
    EXPECT_EQ(Page->eSzint->text(), "5");
    EXPECT_EQ(Page->eIdez->text(), "vvm");
    EXPECT_EQ(Page->eMegjelenes->text(), "Alapsor");
    EXPECT_EQ(Page->cbGyakorisag->SelectedKey(), Card("L_GYAKORISAG"));
    ASSERT_EQ(Page->lbTulajd->count(), 1);
    EXPECT_EQ(Page->lbTulajd->item(0)->text(), "Mágikus");
    EXPECT_EQ(Page->lbSpecTulajd->count(), 1);
    EXPECT_EQ(AM->qSpec.RecordCount(), 3);
    GoTo("001");
    EXPECT_EQ(Page->mSajat->toPlainText(), "Két példány cserealapba.");
    EXPECT_EQ(Page->lbTulajd->count(), 0);  // the previous card's lists are gone
}

TEST_F(DetailPageTest, SaveStoresTextsAsTypedAndIntegersOrNull)
{
    GoTo("025");
    const int id = Id();
    const int row = AM->qLapok.RecNo();
    struct Case {
        const char* typed;
        const char* stored;  // "NULL" or the integer
    };
    const Case cases[] = {{"0", "NULL"}, {"", "NULL"}, {"abc", "NULL"}, {"-3", "-3"}, {"12", "12"}};
    for (const Case& c : cases) {
        Page->eSzint->setText(c.typed);
        Page->eHp->setText(c.typed);
        Page->eDB->setText(c.typed);
        Page->btnEdit->click();
        for (const char* col : {"L_SZINT", "L_HP", "L_DB"}) {
            const QString sql = QString("SELECT COALESCE(%1, 'NULL') FROM TLAP WHERE L_ID = %2").arg(col).arg(id);
            EXPECT_EQ(Scalar(sql), c.stored) << col << " typed '" << c.typed << "'";
        }
    }
    EXPECT_EQ(Scalar(QString("SELECT typeof(L_DB) FROM TLAP WHERE L_ID = %1").arg(id)), "integer");
    // The list was reopened and stands on the same card, the page reloaded from the stored row.
    EXPECT_EQ(Id(), id);
    EXPECT_EQ(AM->qLapok.RecNo(), row);
    EXPECT_EQ(Page->eSzint->text(), "12");

    Page->eNev->setText("Új Név");
    Page->eLsz->setText("26");
    Page->eIdez->setText("mvV");
    Page->eUt->setText("xy");
    Page->cbGyakorisag->SelectByKey("á");
    Page->cbVelkor->SelectByKey("M003");
    Page->btnEdit->click();
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
    EXPECT_EQ(Card("L_NEV"), "Új Név");
    EXPECT_EQ(Card("L_LAPSZAM"), "26");
    EXPECT_EQ(Card("L_LEIDEZES"), "mvV");
    EXPECT_EQ(Card("L_UTAK"), "xy");
    EXPECT_EQ(Card("L_GYAKORISAG"), "á");
    EXPECT_EQ(Card("L_VELKOR"), "M003");
    EXPECT_EQ(Card("L_LEIDEZESTECH"), "v_____m_________________");
    EXPECT_EQ(Id(), id);
    EXPECT_EQ(Page->eNev->text(), "Új Név");
}

TEST_F(DetailPageTest, UnmatchedKeysShowNothingAndKeepTheStoredCodeUntilAnotherIsChosen)
{
    Exec("UPDATE TLAP SET L_GYAKORISAG = 'x' WHERE L_LAPSZAM = '025'");
    AM->ReQuery();
    GoTo("025");
    EXPECT_EQ(Page->cbGyakorisag->currentIndex(), -1);
    Page->eNev->setText("Más név");
    Page->btnEdit->click();
    EXPECT_EQ(Card("L_GYAKORISAG"), "x");
    Page->cbGyakorisag->SelectByKey("á");
    Page->btnEdit->click();
    EXPECT_EQ(Card("L_GYAKORISAG"), "á");
}

TEST_F(DetailPageTest, LockingFollowsTheChosenTypeAndLockedTextIsSaved)
{
    GoTo("029");  // a people card: paths and power used, level and summoning not
    EXPECT_TRUE(Locked(Page->lSzint, Page->eSzint));
    EXPECT_TRUE(Locked(Page->lIdez, Page->eIdez));
    EXPECT_FALSE(Locked(Page->lUtak, Page->eUt));
    EXPECT_FALSE(Locked(Page->lHp, Page->eHp));
    EXPECT_NE(Page->eSzint->palette().color(QPalette::Base), Page->eHp->palette().color(QPalette::Base));

    Page->cbLTipus->SelectByKey("L008");  // choosing a leader type unlocks level and summoning at once
    EXPECT_FALSE(Locked(Page->lSzint, Page->eSzint));
    EXPECT_TRUE(Locked(Page->lUtak, Page->eUt));
    EXPECT_EQ(Page->eSzint->palette().color(QPalette::Base), Page->eHp->palette().color(QPalette::Base));
    Page->cbLTipus->SelectByKey("L015");  // not in the list: nothing selected, locking unchanged
    EXPECT_TRUE(Locked(Page->lUtak, Page->eUt));

    Page->cbLTipus->SelectByKey("L011");
    Page->eSzint->setText("4");  // locked, but what it holds is still saved
    EXPECT_TRUE(Page->eSzint->isReadOnly());
    Page->btnEdit->click();
    EXPECT_EQ(Card("L_SZINT"), "4");
    EXPECT_EQ(Card("L_LAPTIPUS"), "L011");

    // Types beyond the table use every field; an empty type changes nothing.
    Page->ApplyCardTypeFields("L020");
    for (auto [l, e] : {std::pair{Page->lSzint, Page->eSzint}, {Page->lUtak, Page->eUt}, {Page->lHp, Page->eHp},
                        {Page->lIdez, Page->eIdez}})
        EXPECT_FALSE(Locked(l, e));
    Page->ApplyCardTypeFields("L004");
    Page->ApplyCardTypeFields("");
    EXPECT_TRUE(Locked(Page->lSzint, Page->eSzint));
}

TEST_F(DetailPageTest, AppearanceByCardNumber)
{
    const std::pair<int, const char*> cases[] = {{0, "Alapsor"},    {357, "Alapsor"},  {358, "Oszlar"},
                                                 {485, "Oszlar"},   {486, "Virgony"},  {569, "Virgony"},
                                                 {570, ""},         {-1, ""}};
    for (auto [n, set] : cases) EXPECT_EQ(AppearanceForCardNumber(n), set) << n;

    Exec("UPDATE TLAP SET L_LAPSZAM = 'abc' WHERE L_LAPSZAM = '500'");
    Exec("UPDATE TLAP SET L_LAPSZAM = '570' WHERE L_LAPSZAM = '569'");
    AM->ReQuery();
    GoTo("abc");
    EXPECT_EQ(Page->eMegjelenes->text(), "Alapsor");
    GoTo("570");
    EXPECT_EQ(Page->eMegjelenes->text(), "");
    GoTo("486");
    EXPECT_EQ(Page->eMegjelenes->text(), "Virgony");
}

TEST_F(DetailPageTest, MainGodWithBadPathsWritesNothing)
{
    GoTo("001");
    const QString before = Scalar("SELECT L_NEV || L_UTAK || L_LEIDEZESTECH FROM TLAP WHERE L_ID = 1");
    Page->eNev->setText("Más név");
    Page->eUt->setText("12a4");
    Page->mSajat->setPlainText("új megjegyzés");
    Page->btnEdit->click();
    ASSERT_EQ(Ui.Of(TUiKind::ErrorDialog).size(), 1);
    EXPECT_EQ(Ui.Of(TUiKind::ErrorDialog)[0].Title, "Belső alkalmazáshiba");
    EXPECT_EQ(Scalar("SELECT L_NEV || L_UTAK || L_LEIDEZESTECH FROM TLAP WHERE L_ID = 1"), before);
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 1"), "Két példány cserealapba.");
    EXPECT_EQ(Page->eNev->text(), "Más név");  // the user's edits stay

    Page->eUt->setText("2110");
    Page->btnEdit->click();
    EXPECT_EQ(Card("L_LEIDEZESTECH"), "vv____m_____h___________");
    EXPECT_EQ(Card("L_NEV"), "Más név");
}

TEST_F(DetailPageTest, NoteIsInsertedThenUpdated)
{
    GoTo("002");
    ASSERT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID = 2"), "0");
    Page->btnEdit->click();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID = 2"), "1");
    EXPECT_EQ(Scalar("SELECT typeof(ME_MEGJEGYZES) || ':' || ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 2"), "text:");

    Page->mSajat->setFocus();
    Type(Page->mSajat, "Ősszel cserélni");
    Page->btnEdit->click();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID = 2"), "1");
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 2"), "Ősszel cserélni");
    EXPECT_EQ(Page->mSajat->toPlainText(), "Ősszel cserélni");

    Page->mSajat->setPlainText(QString(300, 'a'));  // the memo keeps what the column can hold
    EXPECT_EQ(Page->mSajat->toPlainText().size(), 250);
    Exec("UPDATE TMEGJ SET ME_MEGJEGYZES = '" + QString(260, 'b') + "' WHERE ME_LAPID = 2");
    Page->LoadCardDetails();  // a longer stored note is shown whole; only typing is held back
    EXPECT_EQ(Page->mSajat->toPlainText().size(), 260);
    Page->mSajat->moveCursor(QTextCursor::End);
    Type(Page->mSajat, "c");
    EXPECT_EQ(Page->mSajat->toPlainText(), QString(260, 'b'));
}

TEST_F(DetailPageTest, SavedCardOutOfTheFilterLeavesTheListOnItsFirstCard)
{
    AM->qLapok.Close();
    AM->qLapok.SetSQL(Catalog::CardListSelect + "WHERE TLAP.L_SZINT IS NOT NULL ORDER BY TLAP.L_LAPSZAM");
    AM->qLapok.Open();
    GoTo("025");
    ASSERT_GT(AM->qLapok.RecNo(), 0);
    const int count = AM->qLapok.RecordCount();
    Page->eSzint->setText("");
    Page->btnEdit->click();
    EXPECT_EQ(AM->qLapok.RecordCount(), count - 1);
    EXPECT_EQ(fMain->lDb->text(), QString::number(count - 1) + " darab");
    EXPECT_EQ(AM->qLapok.RecNo(), 0);
    EXPECT_EQ(Page->eNev->text(), AM->qLapok.FieldByName("L_NEV").AsString());
}

TEST_F(DetailPageTest, LinksAndUnlinksPropertiesAndCategories)
{
    GoTo("025");
    const QString links = "SELECT COUNT(*) FROM TLAPTUL WHERE LT_LID = 25";
    QString next = "T005";
    Page->PropertyPicker = [&](int kind) { return kind == 1 ? next : QString("S001"); };
    Page->sb1->click();
    Page->sb1->click();  // the same property again changes nothing and reports nothing
    EXPECT_EQ(Scalar(links), "3");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TLAPTUL WHERE LT_LID = 25 AND LT_TULID = 'T005'"), "1");
    EXPECT_EQ(Page->lbTulajd->count(), 2);
    EXPECT_EQ(Page->lbTulajd->item(0)->text(), "Gyors");
    Page->sb3->click();
    EXPECT_EQ(Page->lbSpecTulajd->count(), 2);
    next.clear();  // cancelled picker
    Page->sb1->click();
    EXPECT_EQ(Scalar(links), "4");

    // Nothing selected: nothing deleted, nothing asked.
    Page->lbTulajd->clearSelection();
    Page->lbTulajd->setCurrentRow(-1);
    Page->sb2->click();
    EXPECT_EQ(Scalar(links), "4");
    Page->lbTulajd->setCurrentRow(0);  // "Gyors"
    Page->sb2->click();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TLAPTUL WHERE LT_LID = 25 AND LT_TULID = 'T005'"), "0");
    EXPECT_EQ(Page->lbTulajd->count(), 1);
    Page->lbSpecTulajd->setCurrentRow(0);
    Page->sb4->click();
    EXPECT_EQ(Scalar(links), "2");
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(DetailPageTest, LinkErrorsAreReportedWithTheirContext)
{
    GoTo("025");
    Exec("CREATE TRIGGER no_insert BEFORE INSERT ON TLAPTUL BEGIN SELECT RAISE(ABORT, 'tiltott beszúrás'); END;");
    Exec("CREATE TRIGGER no_delete BEFORE DELETE ON TLAPTUL BEGIN SELECT RAISE(ABORT, 'tiltott törlés'); END;");
    Page->PropertyPicker = [](int) { return QString("T005"); };
    Page->sb1->click();
    Page->lbTulajd->setCurrentRow(0);
    Page->sb2->click();
    const QList<TUiRecord> errors = Ui.Of(TUiKind::ErrorDialog);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[0].Title, "Am.Tulajdonsag_Insert");
    EXPECT_TRUE(errors[0].Text.contains("tiltott beszúrás"));
    EXPECT_EQ(errors[1].Title, "Am.Tulajdonsag_Delete");
    EXPECT_EQ(Page->lbTulajd->count(), 1);  // reloaded, unchanged
}

TEST_F(DetailPageTest, EveryCommandDoesNothingOnAnEmptyList)
{
    GoTo("025");
    ShowEmptyList();
    EXPECT_EQ(Page->eNev->text(), "");
    EXPECT_EQ(Page->lbTulajd->count(), 0);
    EXPECT_EQ(Page->eMegjelenes->text(), "");
    const QString totals = "SELECT (SELECT COUNT(*) FROM TLAPTUL) || '/' || (SELECT COUNT(*) FROM TMEGJ) || '/' || "
                           "(SELECT COUNT(*) FROM TSPEC) || '/' || (SELECT group_concat(L_NEV) FROM TLAP)";
    const QString before = Scalar(totals);
    int asked = 0;
    Page->PropertyPicker = [&](int) {
        ++asked;
        return QString("T005");
    };
    Page->SpecEditorOpener = [&](TFormOpenPars&) { ++asked; };
    Page->eNev->setText("x");
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(Page->btnEdit), static_cast<QAbstractButton*>(Page->sb1),
                               static_cast<QAbstractButton*>(Page->sb2), static_cast<QAbstractButton*>(Page->sb3),
                               static_cast<QAbstractButton*>(Page->sb4), static_cast<QAbstractButton*>(Page->sb6)})
        b->click();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Scalar(totals), before);
    EXPECT_TRUE(Ui.Records().isEmpty());
    EXPECT_TRUE(Page->SpecPicture().isNull() || Page->SpecPicture().pixel(20, 10) == qRgb(255, 255, 255));
}

TEST_F(DetailPageTest, ClearingCountsAsksFirst)
{
    GoTo("025");
    const QString owned = "SELECT COUNT(*) FROM TLAP WHERE L_DB IS NOT NULL";
    const QString before = Scalar(owned);
    ASSERT_NE(before, "0");
    Ui.PushYesNo(false);
    fMain->acDBDelete->trigger();
    EXPECT_EQ(Scalar(owned), before);
    Ui.PushYesNo(true);
    fMain->acDBDelete->trigger();
    EXPECT_EQ(Scalar(owned), "0");
    EXPECT_EQ(AM->qLapok.RecNo(), 0);
    ASSERT_EQ(Ui.Of(TUiKind::Confirmation).size(), 2);
    EXPECT_EQ(Ui.Of(TUiKind::Confirmation)[0].Text, "Valóban szeretné törölni a lapok darabszámait?");
}

TEST(DetailSpecLayout, LinesBreakAtTheLastSpaceWithin75Characters)
{
    const QString exact = QString(74, 'a') + "b";
    EXPECT_EQ(BreakSpecText(exact), QStringList{exact});
    const QString longer = QString(70, 'a') + " bcde fghi";  // 80: spaces at 71 and 76
    EXPECT_EQ(BreakSpecText(longer), (QStringList{QString(70, 'a') + " ", "bcde fghi"}));
    const QString s76 = QString(60, 'a') + " " + QString(15, 'b');
    EXPECT_EQ(BreakSpecText(s76), (QStringList{QString(60, 'a') + " ", QString(15, 'b')}));
    const QString noSpace(100, 'x');
    EXPECT_EQ(BreakSpecText(noSpace), QStringList{noSpace});
    EXPECT_TRUE(BreakSpecText("").isEmpty());
    // A space exactly at the 75th character ends the first line there.
    EXPECT_EQ(BreakSpecText(QString(74, 'a') + " c").value(0).size(), 75);
}

TEST(DetailSpecLayout, IconsSetTheTextColumnAndRowsFollowTheirLastLine)
{
    const QString wrapping = QString(70, 'a') + " " + QString(70, 'b') + " " + QString(70, 'c');
    const TSpecLayout layout =
        LayoutSpecialAbilities({{"bs", "v", wrapping}, {"", "", "egy"}, {"K", "", ""}, {"", "", "utolsó"}});
    ASSERT_EQ(layout.Rows.size(), 4);
    const TSpecRowLayout& first = layout.Rows[0];
    EXPECT_EQ(first.IconNames, "IKON_B/IKON_S/IKON_V");
    EXPECT_EQ(first.IconY, 4);
    ASSERT_EQ(first.Lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(first.Lines[i].X, 70);
        EXPECT_EQ(first.Lines[i].Y, 4 + 24 * i);
    }
    EXPECT_EQ(layout.Rows[1].IconNames, "");
    EXPECT_EQ(layout.Rows[1].Lines[0].X, 16);
    EXPECT_EQ(layout.Rows[1].Lines[0].Y, 4 + 2 * 24 + 24);
    EXPECT_TRUE(layout.Rows[2].Lines.isEmpty());  // an empty text still takes its row
    EXPECT_EQ(layout.Rows[3].Lines[0].Y, layout.Rows[1].Lines[0].Y + 48);
    EXPECT_EQ(layout.Bottom, layout.Rows[3].Lines[0].Y + 24);
}

TEST(DetailSpecLayout, HighDpiPictureHasTwiceThePixelsAndSharperTextThanAnUpscale)
{
    const TSpecLayout layout = LayoutSpecialAbilities({{"bs", "v", "Árvíztűrő tükörfúrógép"}});
    const QImage one = PaintSpecialAbilities(layout, 301, 0), two = PaintSpecialAbilities(layout, 301, 0, nullptr, 2);
    EXPECT_TRUE(two.devicePixelRatio() == 2 && two.size() == one.size() * 2 && two != one.scaled(two.size()));
}

TEST_F(DetailPageTest, AbilitiesPictureAndEditorRoundTrip)
{
    GoTo("025");
    const QImage& picture = Page->SpecPicture();
    EXPECT_GE(picture.height(), 460);
    EXPECT_GE(picture.width(), 664);
    bool iconPainted = false;  // the first row starts with the B icon at (8, 4)
    for (int x = 8; x < 26 && !iconPainted; ++x)
        for (int y = 4; y < 22 && !iconPainted; ++y) iconPainted = picture.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(iconPainted);

    int opened = -1;
    Page->SpecEditorOpener = [&](TFormOpenPars& pars) {
        opened = pars.Id;
        TfSpec editor(pars);
        editor.LoadSpecs();
        editor.btnUjClick();
        editor.eKijatsz->setText("P");
        editor.mText->setPlainText("negyedik");
        editor.btnOkClick();
    };
    Page->sb6->click();
    EXPECT_EQ(opened, 25);
    EXPECT_EQ(AM->qSpec.RecordCount(), 4);  // reopened for the card after the editor closed
    EXPECT_EQ(AM->qSpec.ValueText(3, AM->qSpec.FindField("S_SZOVEG")), "negyedik");
    EXPECT_TRUE(Ui.Records().isEmpty());
}
