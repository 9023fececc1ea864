// The query editor driven through its handlers and buttons, without exec(): the stored rows,
// renumbering, the card link, the category of a related-card set, options values, row colours,
// and saves that fail or find the filter changed leaving every table as it was.
#include "FilterWindowFixture.h"

#include "filters/ufQueries.h"
#include "widgets/LComboBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

namespace {

class QueryEditorTest : public FilterWindowTest {
protected:
    std::unique_ptr<TfQueries> Open(uint8_t mode, qint64 id = -1)
    {
        TFormOpenPars pars;
        pars.Mode = mode;
        pars.Id = id;
        auto w = std::make_unique<TfQueries>(pars);
        w->FormShow();
        return w;
    }
    // Puts a condition into the controls as the user would: type, operation, value, group, connective.
    static void Compose(TfQueries& w, int type, const QString& op, const QString& value, int group,
                        const QString& andOr = QString())
    {
        w.cbKat->SelectByKey(QString::number(type));
        w.cbKatChange();
        w.cbMuv->SelectByText(op);
        if (w.cbErt->count() > 0) w.cbErt->SelectByText(value);
        else w.cbErt->setEditText(value);
        w.rxCsop->setValue(group);
        w.rb1->setAutoExclusive(false);
        w.rb2->setAutoExclusive(false);
        w.rb1->setChecked(andOr == "AND");
        w.rb2->setChecked(andOr == "OR");
        w.rb1->setAutoExclusive(true);
        w.rb2->setAutoExclusive(true);
    }
    static void Select(TfQueries& w, int row)
    {
        w.lv->clearSelection();
        w.lv->setCurrentItem(w.lv->topLevelItem(row));  // selecting fills the controls
    }
    // The demo filter with three rows in two groups.
    void ComposeThreeRows(TfQueries& w)
    {
        w.eNev->setText("Olcsó, erős vagy vezér – próba ÁÉŐŰ");
        Compose(w, 5, "<=", "2", 7);               // Szint <= 2, group 7
        w.btnAddClick();
        Compose(w, 4, "=", "vezér", 7, "OR");      // Laptípus = vezér (L999)
        w.btnAddClick();
        Compose(w, 2, "LIKE", "Áb", -3, "AND");    // Megnevezés LIKE Áb, group -3
        w.btnAddClick();
    }
    QString Rows(qint64 id)
    {
        return Scalar("SELECT group_concat(x, '|') FROM (SELECT F_ORDER || ',' || F_GROUP || ',' || F_ANDOR || ',' || "
                      "F_FTID || ',' || F_FOID || ',' || F_FIELDNAME || ',' || F_OPERATION || ',' || F_VALUE || ',' || "
                      "F_VALUETYPE AS x FROM TFILTER WHERE F_FBID = " +
                      QString::number(id) + " ORDER BY F_ORDER)");
    }
};

}  // namespace

TEST_F(QueryEditorTest, NewFilterStoresRowsInListOrderWithGroupsAsTyped)
{
    auto w = Open(fmNew);
    EXPECT_EQ(w->windowTitle(), "Velkor Adatbázis : Lekérdezés szerkesztő");
    EXPECT_EQ(w->eNev->text(), "Új lekérdezés neve");
    EXPECT_EQ(w->cbQueryTip->SelectedKey(), "00ALAP");
    EXPECT_FALSE(w->rb1->isEnabled());
    EXPECT_EQ(w->cbKat->currentIndex(), -1);
    EXPECT_EQ(w->cbLapok->currentIndex(), -1);
    EXPECT_FALSE(w->cbCsatol->isChecked());

    ComposeThreeRows(*w);
    EXPECT_TRUE(w->rb1->isEnabled());
    ASSERT_EQ(w->lv->topLevelItemCount(), 3);
    QTreeWidgetItem* second = w->lv->topLevelItem(1);
    EXPECT_EQ(second->text(lvcId), "");
    EXPECT_EQ(second->text(lvcNumber), "2.");
    EXPECT_EQ(second->text(lvcAndOr), "Vagy");
    EXPECT_EQ(second->text(lvcText), "Laptípus = vezér");
    EXPECT_EQ(second->text(lvcGroup), "7");

    w->cbQueryTip->SelectByKey("01USER");
    const qint64 before = Count("TFILTERBASE");
    w->btnOK->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(Ui.Texts().isEmpty()) << Ui.Texts().join("\n").toStdString();
    EXPECT_EQ(Count("TFILTERBASE"), before + 1);
    const qint64 id = w->Pars().ResultId;
    EXPECT_EQ(Scalar("SELECT FB_NAME || '/' || FB_CATEGORY FROM TFILTERBASE WHERE FB_ID = " + QString::number(id)),
              "Olcsó, erős vagy vezér – próba ÁÉŐŰ/01USER");
    EXPECT_EQ(Rows(id), "0,7,,5,-1,TLAP.L_SZINT,<=,2,I|"
                        "1,7,OR,4,-1,TLAPTIPUS.LAPTIPUS_ID,=,L999,SO|"
                        "2,-3,AND,2,-1,TLAP.L_NEV,LIKE,Áb,S");
    EXPECT_EQ(Count("TSZURESLAP WHERE SZL_FBID = " + QString::number(id)), 0);

    // The caller's record receives the editor's copy only on OK.
    TFormOpenPars caller;
    caller.Mode = fmNew;
    w->CopyParsBackIfOk(QDialog::Rejected, caller);
    EXPECT_EQ(caller.ResultId, -1);
    w->CopyParsBackIfOk(QDialog::Accepted, caller);
    EXPECT_EQ(caller.ResultId, id);
}

TEST_F(QueryEditorTest, DeletingTheSecondOfThreeRowsRenumbersAndSavesOrderZeroAndOne)
{
    auto w = Open(fmNew);
    ComposeThreeRows(*w);
    Select(*w, 1);
    w->btnDelClick();
    ASSERT_EQ(w->lv->topLevelItemCount(), 2);
    EXPECT_EQ(w->lv->topLevelItem(0)->text(lvcNumber), "1.");
    EXPECT_EQ(w->lv->topLevelItem(1)->text(lvcNumber), "2.");
    EXPECT_EQ(w->lv->topLevelItem(1)->text(lvcText), "Megnevezés LIKE Áb");
    EXPECT_EQ(w->Pieces().Count(), 2);
    // Whatever row is selected afterwards, the controls show that row's own condition.
    const int now = w->SelectedRow();
    if (now >= 0) {
        EXPECT_EQ(w->cbKat->SelectedKey(), QString::number(w->Pieces()[now]->FilterTypeId));
    }
    w->btnOKClick();
    EXPECT_EQ(Rows(w->Pars().ResultId), "0,7,,5,-1,TLAP.L_SZINT,<=,2,I|1,-3,AND,2,-1,TLAP.L_NEV,LIKE,Áb,S");
}

TEST_F(QueryEditorTest, SelectingARowFillsTheControlsAndModifyUpdatesThatRowOnly)
{
    auto w = Open(fmNew);
    ComposeThreeRows(*w);
    Select(*w, 1);
    EXPECT_EQ(w->cbKat->SelectedKey(), "4");
    EXPECT_EQ(w->cbMuv->currentText(), "=");
    EXPECT_EQ(w->cbErt->SelectedKey(), "L999");
    EXPECT_EQ(w->rxCsop->value(), 7);
    EXPECT_FALSE(w->rb1->isChecked());
    EXPECT_TRUE(w->rb2->isChecked());

    // The first condition may be given a connective; the stored filter's SQL then begins with it.
    Select(*w, 0);
    EXPECT_FALSE(w->rb1->isChecked());
    EXPECT_FALSE(w->rb2->isChecked());
    w->rb1->setChecked(true);
    w->rxCsop->setValue(1);
    w->btnEditClick();
    EXPECT_EQ(w->lv->topLevelItem(0)->text(lvcAndOr), "És");
    EXPECT_EQ(w->lv->topLevelItem(0)->text(lvcGroup), "1");
    EXPECT_EQ(w->lv->topLevelItem(1)->text(lvcText), "Laptípus = vezér");
    w->btnOKClick();
    const qint64 id = w->Pars().ResultId;
    EXPECT_EQ(Scalar("SELECT F_ANDOR || F_GROUP FROM TFILTER WHERE F_ORDER = 0 AND F_FBID = " + QString::number(id)),
              "AND1");
    TQPList list;
    LoadStoredFilter(AM->ADOConnection, int(id), pkStoredFilter, list);
    EXPECT_TRUE(list.BuildWhereClause().startsWith("WHERE AND(")) << list.BuildWhereClause().toStdString();
}

TEST_F(QueryEditorTest, RowsOfOddPositiveGroupsAreBlue)
{
    auto w = Open(fmNew);
    for (int group : {1, 2, 3, 0, -1, -3}) {
        Compose(*w, 5, "=", "1", group);
        w->btnAddClick();
    }
    QStringList colours;
    for (int i = 0; i < w->lv->topLevelItemCount(); ++i)
        colours << (w->lv->topLevelItem(i)->foreground(lvcText).color() == QColor(Qt::blue) ? "blue" : "black");
    EXPECT_EQ(colours.join(","), "blue,black,blue,black,black,black");
    // Modifying a row to an even group turns it black.
    Select(*w, 0);
    w->rxCsop->setValue(4);
    w->btnEditClick();
    EXPECT_EQ(w->lv->topLevelItem(0)->foreground(lvcNumber).color(), QColor(Qt::black));
}

TEST_F(QueryEditorTest, OkWithoutARowWarnsAndCancelLeavesNoTrace)
{
    const QString before = FilterTables();
    auto w = Open(fmNew);
    w->btnOK->click();
    EXPECT_EQ(Ui.Of(TUiKind::Warning).size(), 1);
    EXPECT_EQ(Ui.Of(TUiKind::Warning).value(0).Text, TEXT_NO_CONDITION);
    EXPECT_NE(w->result(), QDialog::Accepted);
    Compose(*w, 5, "=", "1", 0);
    w->btnAddClick();
    w->btnCancel->click();
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_EQ(FilterTables(), before);
}

TEST_F(QueryEditorTest, AddWithoutAFilterTypeIsReportedAndAddsNoRow)
{
    auto w = Open(fmNew);
    w->btnAdd->click();
    EXPECT_EQ(ErrorContexts(), QStringList{"Belső alkalmazáshiba"});
    EXPECT_EQ(w->lv->topLevelItemCount(), 0);
    EXPECT_EQ(w->Pieces().Count(), 0);
}

TEST_F(QueryEditorTest, AnEditedFilterLinkedToSeveralCardsKeepsEveryLinkAndCanAddOne)
{
    Exec("INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) VALUES (3, 10), (3, 11), (3, 12), (4, 10)");
    {
        auto w = Open(fmEdit, 3);
        ASSERT_EQ(w->lv->topLevelItemCount(), 3);
        w->btnOKClick();
        EXPECT_EQ(w->result(), QDialog::Accepted);
    }
    EXPECT_EQ(Count("TSZURESLAP WHERE SZL_FBID = 3"), 5);
    EXPECT_EQ(Count("TSZURESLAP WHERE SZL_FBID = 4"), 1);
    {
        auto w = Open(fmEdit, 3);
        w->cbLapok->SelectByKey("25");
        w->cbLapokChange();  // choosing a card ticks the link box
        EXPECT_TRUE(w->cbCsatol->isChecked());
        w->btnOKClick();
    }
    EXPECT_EQ(Scalar("SELECT group_concat(SZL_LID) FROM TSZURESLAP WHERE SZL_FBID = 3"), "21,21,10,11,12,25");
    // The rows survived both saves unchanged.
    EXPECT_EQ(Rows(3), "0,1,,4,-1,TLAPTIPUS.LAPTIPUS_ID,=,L002,SO|1,2,AND,5,-1,TLAP.L_SZINT,>,3,I|"
                       "2,2,OR,6,-1,TLAP.L_HP,>=,4,I");
}

TEST_F(QueryEditorTest, LinkTickedWithoutACardIsRejectedBeforeAnythingIsWritten)
{
    const QString before = FilterTables();
    auto w = Open(fmNew);
    Compose(*w, 5, "=", "1", 0);
    w->btnAddClick();
    w->cbCsatol->setChecked(true);
    w->btnOK->click();
    EXPECT_EQ(Ui.Of(TUiKind::Warning).value(0).Text, TEXT_NO_CARD_TO_LINK);
    EXPECT_TRUE(ErrorContexts().isEmpty());
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(FilterTables(), before);
    // Choosing the card then saves once, with its link.
    w->cbLapok->SelectByKey("7");
    w->btnOK->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Scalar("SELECT SZL_LID FROM TSZURESLAP WHERE SZL_FBID = " + QString::number(w->Pars().ResultId)), "7");
}

TEST_F(QueryEditorTest, ARelatedCardSetShowsNoCategoryAndIsSavedWithAnEmptyOne)
{
    auto w = Open(fmEdit, 17);
    EXPECT_EQ(w->cbQueryTip->currentIndex(), -1);
    EXPECT_EQ(w->lv->topLevelItemCount(), 8);
    EXPECT_EQ(w->lv->topLevelItem(1)->text(lvcText), "Lapazonosító = 34");
    w->btnOKClick();
    EXPECT_EQ(Scalar("SELECT '[' || FB_CATEGORY || ']' FROM TFILTERBASE WHERE FB_ID = 17"), "[]");
    EXPECT_EQ(Scalar("SELECT group_concat(F_VALUE || F_ANDOR || F_FIELDNAME) FROM TFILTER WHERE F_FBID = 17"),
              "26L_ID,34ORL_ID,36ORL_ID,38ORL_ID,39ORL_ID,45ORL_ID,51ORL_ID,63ORL_ID");
}

TEST_F(QueryEditorTest, AStoredOperationTheTypeNoLongerOffersIsKeptUntilModified)
{
    Exec("UPDATE TFILTER SET F_OPERATION = '!=' WHERE F_FBID = 9");
    auto w = Open(fmEdit, 9);
    ASSERT_EQ(w->lv->topLevelItemCount(), 1);
    const QString firstOp = Scalar("SELECT FO_OP FROM TFILTEROP WHERE FO_FTID = 6 ORDER BY FO_ID LIMIT 1");
    EXPECT_EQ(w->cbMuv->currentText(), firstOp);
    EXPECT_EQ(w->lv->topLevelItem(0)->text(lvcText), "Hatalom Pont " + firstOp + " 3");
    w->btnOKClick();
    EXPECT_EQ(Scalar("SELECT F_OPERATION FROM TFILTER WHERE F_FBID = 9"), "!=");

    auto again = Open(fmEdit, 9);
    Select(*again, 0);
    again->btnEditClick();
    again->btnOKClick();
    EXPECT_EQ(Scalar("SELECT F_OPERATION FROM TFILTER WHERE F_FBID = 9"), firstOp);
}

TEST_F(QueryEditorTest, TheCardTypeValuesEndWithTheLeaders)
{
    auto w = Open(fmNew);
    w->LoadValues(4, 0);
    ASSERT_GT(w->cbErt->count(), 1);
    EXPECT_EQ(w->cbErt->itemText(w->cbErt->count() - 1), "vezér");
    EXPECT_EQ(w->cbErt->LItems().constLast(), "L999");
    EXPECT_EQ(w->cbErt->LItems().count("L999"), 1);
    // Pantheons (type 3) have no such item; a typed type has no list at all.
    w->LoadValues(3, 0);
    EXPECT_FALSE(w->cbErt->LItems().contains("L999"));
    EXPECT_EQ(w->cbErt->SelectedKey(), w->cbErt->LItems().value(0));
    w->LoadValues(5, 0);
    EXPECT_EQ(w->cbErt->count(), 0);
}

TEST_F(QueryEditorTest, ALongStoredNameAndValueAreNotCutByTheBoxes)
{
    const QString name = QString("Hosszú név ").repeated(20);       // 220 characters
    const QString value = QString("ű").repeated(300);
    Exec("UPDATE TFILTERBASE SET FB_NAME = '" + name + "' WHERE FB_ID = 8");
    Exec("UPDATE TFILTER SET F_VALUE = '" + value + "' WHERE F_FBID = 8");
    auto w = Open(fmEdit, 8);
    EXPECT_EQ(w->eNev->text(), name);
    EXPECT_EQ(w->cbErt->currentText(), value);
    w->btnOKClick();
    EXPECT_EQ(Scalar("SELECT FB_NAME FROM TFILTERBASE WHERE FB_ID = 8"), name);
    EXPECT_EQ(Scalar("SELECT F_VALUE FROM TFILTER WHERE F_FBID = 8"), value);
}

TEST_F(QueryEditorTest, ASaveFailingMidwayLeavesEveryTableAndTheWindowAsTheyWere)
{
    Exec("CREATE TRIGGER no_links BEFORE INSERT ON TSZURESLAP BEGIN SELECT RAISE(ABORT, 'link refused'); END");
    const QString before = FilterTables();
    auto w = Open(fmNew);
    ComposeThreeRows(*w);
    w->cbLapok->SelectByKey("5");
    w->cbLapokChange();
    w->btnOK->click();
    EXPECT_EQ(ErrorContexts(), QStringList{"Belső alkalmazáshiba"});
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).value(0).Text.contains("link refused"));
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(FilterTables(), before);
    EXPECT_EQ(w->Pars().ResultId, -1);
    EXPECT_EQ(w->lv->topLevelItemCount(), 3);
    EXPECT_EQ(w->eNev->text(), "Olcsó, erős vagy vezér – próba ÁÉŐŰ");

    // A second OK after the failure stores exactly one header.
    Exec("DROP TRIGGER no_links");
    const qint64 headers = Count("TFILTERBASE");
    w->btnOK->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Count("TFILTERBASE"), headers + 1);
    EXPECT_EQ(Count("TFILTER WHERE F_FBID = " + QString::number(w->Pars().ResultId)), 3);
}

TEST_F(QueryEditorTest, AnEditSaveFailingMidwayKeepsTheOldRowsAndLinks)
{
    Exec("INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) VALUES (4, 10), (4, 11)");
    Exec("CREATE TRIGGER no_rows BEFORE INSERT ON TFILTER WHEN NEW.F_ORDER = 1 BEGIN SELECT RAISE(ABORT, 'row refused'); END");
    const QString before = FilterTables();
    auto w = Open(fmEdit, 4);
    w->eNev->setText("Átnevezve");
    w->btnOK->click();
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(FilterTables(), before);
    EXPECT_NE(w->result(), QDialog::Accepted);
}

TEST_F(QueryEditorTest, AFilterChangedOrDeletedSinceLoadingIsNotOverwritten)
{
    auto w = Open(fmEdit, 3);
    {
        TConnection other;  // another running copy of the program
        other.Open(Cat.DbPath());
        other.ExecuteDirect("UPDATE TFILTER SET F_VALUE = '5' WHERE F_FBID = 3 AND F_ORDER = 1");
    }
    const QString before = FilterTables();
    w->eNev->setText("Felülírná");
    w->btnOK->click();
    EXPECT_EQ(Ui.Of(TUiKind::Warning).value(0).Text, TEXT_FILTER_CHANGED);
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(FilterTables(), before);

    auto gone = Open(fmEdit, 6);
    Exec("DELETE FROM TFILTER WHERE F_FBID = 6");
    Exec("DELETE FROM TFILTERBASE WHERE FB_ID = 6");
    const QString afterDelete = FilterTables();
    gone->btnOK->click();
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 2);
    EXPECT_EQ(FilterTables(), afterDelete);  // no rows without a header
}

TEST_F(QueryEditorTest, TheNewIdIsTheRowJustInsertedEvenWhenAnotherRowIsAddedBeside)
{
    // Another writer's row with a larger key lands in the same moment (simulated by a trigger).
    Exec("CREATE TRIGGER other_writer AFTER INSERT ON TFILTERBASE WHEN NEW.FB_NAME <> 'más' BEGIN "
         "INSERT INTO TFILTERBASE (FB_NAME, FB_CATEGORY) VALUES ('más', '00ALAP'); END");
    auto w = Open(fmNew);
    w->eNev->setText("Saját");
    Compose(*w, 5, "=", "1", 0);
    w->btnAddClick();
    w->btnOKClick();
    const qint64 id = w->Pars().ResultId;
    EXPECT_EQ(Scalar("SELECT FB_NAME FROM TFILTERBASE WHERE FB_ID = " + QString::number(id)), "Saját");
    EXPECT_EQ(Scalar("SELECT MAX(FB_ID) FROM TFILTERBASE").toLongLong(), id + 1);  // the other writer's
    EXPECT_EQ(Count("TFILTER WHERE F_FBID IN (SELECT FB_ID FROM TFILTERBASE WHERE FB_NAME = 'más')"), 0);
    EXPECT_EQ(Count("TFILTER WHERE F_FBID = " + QString::number(id)), 1);
}

TEST_F(QueryEditorTest, ABrokenValueListIsReportedOnceAndNoConditionIsLostOnSave)
{
    Exec("UPDATE TFILTERTYPE SET FT_FIELD2 = 'VELKOR_ID' WHERE FT_ID = 3");  // no table before a "."
    const QString before = Rows(5);
    auto w = Open(fmEdit, 5);
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    ASSERT_EQ(w->Pieces().Count(), 2);
    EXPECT_EQ(w->lv->topLevelItemCount(), 2);
    EXPECT_EQ(w->lv->topLevelItem(1)->text(lvcText), "Laptípus = " +
              Scalar("SELECT LAPTIPUS_NEV FROM TLAPTIPUS WHERE LAPTIPUS_ID = 'L005'"));
    w->btnOK->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Rows(5), before);
}
