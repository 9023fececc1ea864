// The filter combo, switching filters off and the two quick filters, on a real catalogue and the
// real main window.
#include <gtest/gtest.h>

#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uFilterSelection.h"
#include "browser/uGridPage.h"
#include "browser/uPicturePage.h"
#include "browser/ufMain.h"
#include "filters/FilterObject.h"
#include "filters/uQPList.h"
#include "widgets/CheckListCombo.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class FilterSelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override { Program.reset(); }

    TCheckListCombo* Combo() { return fMain->cbFilter; }
    int Cards() { return AM->qLapok.RecordCount(); }
    int Count(const QString& sql) { return ScalarOn(AM->ADOConnection, sql).toInt(); }
    int IndexOf(const QString& text)
    {
        for (int i = 0; i < Combo()->Count(); ++i)
            if (Combo()->ItemText(i) == text) return i;
        return -1;
    }
    // As the player does it: the list dropped down, a click on the item's row.
    void Click(const QString& text)
    {
        const int i = IndexOf(text);
        ASSERT_GE(i, 0) << text.toStdString();
        Combo()->showPopup();
        QAbstractItemView* view = Combo()->view();
        const QModelIndex index = view->model()->index(i, 0);
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
        Combo()->hidePopup();
    }
    int PiecesOfKind(quint8 kind)
    {
        int n = 0;
        for (int i = 0; i < QPList->Count(); ++i) n += (*QPList)[i]->Kind == kind;
        return n;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

TEST_F(FilterSelectionTest, ComboHoldsPropertiesThenCategoriesThenStoredFiltersInTheirColours)
{
    const int props = Count("SELECT COUNT(*) FROM TTULAJDONSAG");
    const int cats = Count("SELECT COUNT(*) FROM TKATEGORIA");
    const int stored = Count("SELECT COUNT(*) FROM TFILTERBASE");
    ASSERT_EQ(Combo()->Count(), props + cats + stored);
    EXPECT_EQ(Combo()->Text(), "[]");
    EXPECT_EQ(Combo()->maxVisibleItems(), 20);
    EXPECT_GE(Combo()->view()->minimumWidth(), 350);
    auto object = [&](int i) { return Combo()->ItemData(i).value<TFilterObject>(); };
    EXPECT_EQ(object(0).Category, "05TUL");
    EXPECT_EQ(object(props).Category, "02KAT");
    EXPECT_EQ(object(props + cats).Category, "00ALAP");
    EXPECT_EQ(Combo()->ItemText(0), ScalarOn(AM->ADOConnection,
                                             "SELECT TULAJDONSAG_NEV FROM TTULAJDONSAG ORDER BY TULAJDONSAG_NEV"));
    // Stored filters by category, then name.
    for (int i = props + cats + 1; i < Combo()->Count(); ++i)
        EXPECT_LE(object(i - 1).Category, object(i).Category);
    const QModelIndex first = Combo()->view()->model()->index(0, 0);
    EXPECT_EQ(first.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(96, 96, 160));
    EXPECT_EQ(CategoryColor("04OSSZ"), QColor(128, 0, 128));
    EXPECT_EQ(CategoryColor("00alap"), QColor(0, 0, 0));  // matched case-sensitively
    for (int i = 0; i < Combo()->Count(); ++i) EXPECT_FALSE(Combo()->IsChecked(i));
}

TEST_F(FilterSelectionTest, CheckingNarrowsAndUncheckingTheLastLeavesOnlyTheQuickFilters)
{
    const int all = Cards();
    Click("Gyors");
    EXPECT_EQ(Combo()->Text(), "[Gyors]");
    EXPECT_EQ(Cards(), Count("SELECT COUNT(DISTINCT LT_LID) FROM TLAPTUL WHERE LT_TULID = 'T005'"));
    Click("Vezérek");  // a stored filter: its rows
    EXPECT_EQ(Combo()->Text(), "[Gyors, Vezérek]");
    EXPECT_EQ(PiecesOfKind(pkProperty), 1);
    EXPECT_GE(PiecesOfKind(pkStoredFilter), 1);
    const int both = Cards();
    EXPECT_LE(both, Count("SELECT COUNT(DISTINCT LT_LID) FROM TLAPTUL WHERE LT_TULID = 'T005'"));

    fMain->acDarabFilter->trigger();
    ASSERT_TRUE(fMain->acDarabFilter->isChecked());
    const int owned = Cards();
    Click("Gyors");
    Click("Vezérek");
    EXPECT_EQ(Combo()->Text(), "[]");
    EXPECT_EQ(PiecesOfKind(pkProperty) + PiecesOfKind(pkStoredFilter), 0);
    EXPECT_EQ(Cards(), Count("SELECT COUNT(*) FROM TLAP WHERE L_DB > 0"));
    EXPECT_LE(owned, Cards());
    fMain->acDarabFilter->trigger();
    EXPECT_EQ(Cards(), all);
}

TEST_F(FilterSelectionTest, StoredFiltersOfEachCategory)
{
    // Filed as a property: a property condition on the filter's own numeric id, which no card has.
    Click("Mágikus lények");
    ASSERT_EQ(PiecesOfKind(pkProperty), 1);
    EXPECT_EQ((*QPList)[0]->Value, ScalarOn(AM->ADOConnection,
                                            "SELECT FB_ID FROM TFILTERBASE WHERE FB_NAME = 'Mágikus lények'"));
    EXPECT_EQ(Cards(), 0);
    Click("Mágikus lények");
    // A player's own filter filters by its rows: L005 cards below level 3.
    Click("Saját: olcsó varázslatok");
    EXPECT_EQ(Cards(), Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPTIPUS = 'L005' AND L_SZINT < 3"));
    EXPECT_GT(Cards(), 0);
}

TEST_F(FilterSelectionTest, RefillKeepsTheOldConditionsAndTheirMarks)
{
    Click("Gyors");
    const int narrowed = Cards();
    AM->ADOConnection.ExecuteDirect("UPDATE TTULAJDONSAG SET TULAJDONSAG_NEV = 'Fürge' WHERE TULAJDONSAG_ID = 'T005'");
    fMain->FillFilterCombo();  // as after the lookup editor: renamed, still checked and narrowing
    EXPECT_EQ(Combo()->Text(), "[Fürge]");
    EXPECT_EQ(Cards(), narrowed);
    Click("Égi");
    EXPECT_EQ(PiecesOfKind(pkProperty), 2);  // added to "Fürge", not in its place
    AM->ADOConnection.ExecuteDirect("DELETE FROM TTULAJDONSAG WHERE TULAJDONSAG_ID = 'T005'");
    fMain->FillFilterCombo();  // a checked item gone takes its condition with it
    EXPECT_EQ(Combo()->Text(), "[Égi]");
    EXPECT_EQ(PiecesOfKind(pkProperty), 1);
}

TEST_F(FilterSelectionTest, SwitchingOffClearsSelectionAndBoxesButNotTheQuickFilters)
{
    const int all = Cards();
    Click("Gyors");
    QLineEdit* box = fMain->pnGridTop->findChild<QLineEdit*>("e__L_NEV");
    ASSERT_NE(box, nullptr);
    box->setText("A");
    fMain->acDarabFilter->trigger();
    fMain->DeckLoaded();
    fMain->SetDeckSummoningTech(ScalarOn(AM->ADOConnection,
                                         "SELECT L_LEIDEZESTECH FROM TLAP WHERE L_LAPTIPUS = 'L004' ORDER BY L_ID"));
    fMain->acLeidezesFilter->trigger();
    fMain->acDisableFilter->trigger();  // F12
    EXPECT_EQ(Combo()->Text(), "[]");
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(PiecesOfKind(pkOwnedCount), 1);
    EXPECT_EQ(PiecesOfKind(pkSummoning), 1);
    EXPECT_EQ(PiecesOfKind(pkProperty), 0);
    EXPECT_TRUE(fMain->acDarabFilter->isChecked());
    EXPECT_TRUE(fMain->acLeidezesFilter->isChecked());
    EXPECT_LT(Cards(), all);
    fMain->DeckClosed();
}

TEST_F(FilterSelectionTest, SummoningFilterMatchesTheGodsCodeAgainstEachCardsPattern)
{
    const QString code =
        ScalarOn(AM->ADOConnection, "SELECT L_LEIDEZESTECH FROM TLAP WHERE L_LAPTIPUS = 'L004' ORDER BY L_ID");
    ASSERT_FALSE(code.isEmpty());
    EXPECT_FALSE(fMain->acLeidezesFilter->isEnabled());
    fMain->DeckLoaded();
    fMain->SetDeckSummoningTech(code);
    ASSERT_TRUE(fMain->acLeidezesFilter->isEnabled());
    fMain->acLeidezesFilter->trigger();
    const int expected = Count("SELECT COUNT(*) FROM TLAP WHERE '" + code + "' LIKE L_LEIDEZESTECH");
    EXPECT_EQ(Cards(), expected);
    EXPECT_GT(expected, 0);
    EXPECT_LT(expected, Count("SELECT COUNT(*) FROM TLAP"));
    // The deck closes: the condition stays until a deck is open again and the action unchecked.
    fMain->DeckClosed();
    EXPECT_FALSE(fMain->acLeidezesFilter->isEnabled());
    AM->ReQuery();
    EXPECT_EQ(Cards(), expected);
    fMain->DeckLoaded();
    fMain->acLeidezesFilter->trigger();
    EXPECT_EQ(PiecesOfKind(pkSummoning), 0);
    fMain->DeckClosed();
}

TEST_F(FilterSelectionTest, CheckFilterInComboMarksTheFirstItemWithThatKeyAndRaisesNothing)
{
    int changes = 0;
    QObject::connect(Combo(), &TCheckListCombo::CheckedTextChanged, [&] { ++changes; });
    const qint64 id = ScalarOn(AM->ADOConnection, "SELECT FB_ID FROM TFILTERBASE WHERE FB_NAME = 'Vezérek'").toLongLong();
    fMain->CheckFilterInCombo(id);
    EXPECT_EQ(Combo()->Text(), "[Vezérek]");
    EXPECT_TRUE(Combo()->IsChecked(IndexOf("Vezérek")));
    fMain->CheckFilterInCombo(999999);
    EXPECT_EQ(Combo()->Text(), "[]");
    for (int i = 0; i < Combo()->Count(); ++i) EXPECT_FALSE(Combo()->IsChecked(i));
    EXPECT_EQ(changes, 0);
}

}  // namespace

namespace {

TEST_F(FilterSelectionTest, ALabelClickReplacesEverySelectionButNotTheQuickFilters)
{
    Click("Gyors");
    QLineEdit* box = fMain->pnGridTop->findChild<QLineEdit*>("e__L_NEV");
    ASSERT_NE(box, nullptr);
    box->setText("Ab");
    fMain->acDarabFilter->trigger();
    const qint64 id = ScalarOn(AM->ADOConnection, "SELECT FB_ID FROM TFILTERBASE WHERE FB_NAME = 'Vezérek'").toLongLong();
    emit fMain->ts3->LapSzuresClick(id);
    EXPECT_EQ(Combo()->Text(), "[Vezérek]");
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(PiecesOfKind(pkProperty), 0);
    EXPECT_GE(PiecesOfKind(pkStoredFilter), 1);
    EXPECT_EQ(PiecesOfKind(pkOwnedCount), 1);
    EXPECT_EQ(Cards(), Count("SELECT COUNT(*) FROM TLAP WHERE L_DB > 0 AND L_LAPTIPUS IN ('L006','L008','L012')"));
}

TEST_F(FilterSelectionTest, LinkingShowsAtMostThreeLabelsAndNeverStoresALinkTwice)
{
    fMain->acTs3Execute();
    const qint64 card = AM->qLapok.FieldByName("L_ID").AsLargeInt();
    const QString links = QString("SELECT COUNT(*) FROM TSZURESLAP WHERE SZL_LID = %1").arg(card);
    const int before = Count(links);
    QList<qint64> ids;
    TQuery q(&AM->ADOConnection);
    q.SetSQL("SELECT FB_ID FROM TFILTERBASE WHERE FB_ID NOT IN (SELECT SZL_FBID FROM TSZURESLAP WHERE SZL_LID = :P)"
             " ORDER BY FB_ID");
    q.SetParam("P", card);
    q.Open();
    for (q.First(); !q.Eof() && ids.size() < 4; q.Next()) ids << q.Fields(0).AsLargeInt();
    q.Close();
    ASSERT_EQ(ids.size(), 4);
    for (qint64 id : ids) EXPECT_TRUE(fMain->LinkFilterToCurrentCard(id));
    EXPECT_FALSE(fMain->LinkFilterToCurrentCard(ids[0]));  // already linked: nothing stored
    EXPECT_EQ(Count(links), before + 4);
    int shown = 0;
    for (QLabel* l : {fMain->ts3->lLapSzures1, fMain->ts3->lLapSzures2, fMain->ts3->lLapSzures3})
        shown += !l->text().isEmpty();
    EXPECT_EQ(shown, 3);
    // Hidden labels: switched off, the page shows none; back on, they return.
    fMain->acLapSzuresLink->trigger();
    EXPECT_TRUE(fMain->ts3->lLapSzures1->text().isEmpty());
    fMain->acLapSzuresLink->trigger();
    EXPECT_FALSE(fMain->ts3->lLapSzures1->text().isEmpty());
}

}  // namespace
