// The filter list: its rows and their order, the drawn category squares, choose mode, the
// result handed back, new / edit through the query editor, and a delete that is all or nothing.
#include "FilterWindowFixture.h"

#include "filters/uFilterCategory.h"
#include "filters/ufFilters.h"

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class FilterListTest : public FilterWindowTest {
protected:
    std::unique_ptr<TfFilters> Open(uint8_t mode)
    {
        TFormOpenPars pars;
        pars.Mode = mode;
        auto w = std::make_unique<TfFilters>(pars);
        w->QueryEditorOpener = [this](TFormOpenPars& p) {
            Opened << QString("%1:%2").arg(p.Mode).arg(p.Id);
            return EditorAnswer;
        };
        return w;
    }
    void SelectFilter(TfFilters& w, qint64 id)
    {
        for (int i = 0; i < w.Keys().size(); ++i)
            if (w.Keys()[i].startsWith(QString::number(id) + ";")) {
                w.lbFilters->setCurrentRow(i);
                return;
            }
        FAIL() << "no filter " << id;
    }

    QStringList Opened;
    int EditorAnswer = QDialog::Accepted;
};

}  // namespace

TEST_F(FilterListTest, RowsAreGroupedByCategoryThenNameWithTheirKeyPairs)
{
    Exec("INSERT INTO TFILTERBASE (FB_ID, FB_NAME, FB_CATEGORY) VALUES (40, 'Ábécé', '00ALAP'), "
         "(41, 'Zárt', NULL), (42, 'Ismeretlen', 'XYZ')");
    auto w = Open(fmBrowse);
    EXPECT_EQ(w->windowTitle(), "Szűrések");
    ASSERT_EQ(w->lbFilters->count(), Count("TFILTERBASE"));
    ASSERT_EQ(w->Keys().size(), w->lbFilters->count());
    // The empty category first, then in code order, names in the catalogue's order within each.
    EXPECT_EQ(w->Keys().first(), "41;");
    EXPECT_EQ(w->lbFilters->item(0)->text(), "Zárt");
    EXPECT_EQ(w->Keys().last(), "42;XYZ");
    const int aIndex = w->Keys().indexOf("40;00ALAP");
    ASSERT_GE(aIndex, 0);
    EXPECT_EQ(w->lbFilters->item(aIndex)->text(), "Ábécé");
    QStringList categories;
    for (const QString& key : w->Keys()) {
        const QString c = TfFilters::CategoryOfKey(key);
        if (categories.isEmpty() || categories.last() != c) categories << c;
    }
    EXPECT_EQ(categories.join(","), ",00ALAP,01USER,02KAT,04OSSZ,05TUL,XYZ");

    w->lbFilters->setCurrentRow(aIndex);
    EXPECT_EQ(w->SelectedFilterId(), 40);
}

TEST_F(FilterListTest, EachRowIsDrawnWithTheSquareOfItsCategory)
{
    Exec("INSERT INTO TFILTERBASE (FB_ID, FB_NAME, FB_CATEGORY) VALUES (41, 'Üres kategória', ''), "
         "(42, 'Ismeretlen kategória', 'alap')");
    auto w = Open(fmBrowse);
    w->show();
    QTest::qWait(20);
    const QImage image = w->lbFilters->viewport()->grab().toImage();
    for (int i = 0; i < w->lbFilters->count(); ++i) {
        const QRect r = w->lbFilters->visualItemRect(w->lbFilters->item(i));
        if (!w->lbFilters->viewport()->rect().contains(r)) break;  // scrolled out of view
        EXPECT_EQ(r.height(), 22);
        const QString code = TfFilters::CategoryOfKey(w->Keys()[i]);
        // Inside the square, on its last pixel, and just beyond it.
        EXPECT_EQ(QColor(image.pixel(r.left() + 8, r.top() + 8)), CategoryColor(code)) << i;
        EXPECT_EQ(QColor(image.pixel(r.left() + 13, r.top() + 13)), CategoryColor(code)) << i;
        EXPECT_NE(QColor(image.pixel(r.left() + 14, r.top() + 14)), CategoryColor(code)) << i;
    }
    EXPECT_EQ(CategoryColor(""), QColor(0, 0, 0));
    EXPECT_EQ(CategoryColor("alap"), QColor(0, 0, 0));
    EXPECT_EQ(CategoryColor("04OSSZ"), QColor(128, 0, 128));
}

TEST_F(FilterListTest, ChooseModeShowsOnlyChooseAndClose)
{
    auto browse = Open(fmBrowse);
    browse->FormShow();
    for (QPushButton* b : {browse->btnNew, browse->btnEdit, browse->btnDel, browse->btnOk, browse->btnClose})
        EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
    EXPECT_EQ(browse->btnOk->text(), "OK");

    auto choose = Open(fmChoose);
    choose->show();  // FormShow runs as the window shows
    EXPECT_TRUE(choose->btnNew->isHidden());
    EXPECT_TRUE(choose->btnEdit->isHidden());
    EXPECT_TRUE(choose->btnDel->isHidden());
    EXPECT_TRUE(choose->btnOk->isVisible());
    EXPECT_TRUE(choose->btnClose->isVisible());
    EXPECT_EQ(choose->btnOk->text(), "Választ");
    EXPECT_EQ(choose->btnClose->text(), "Bezárás");
}

TEST_F(FilterListTest, TheChosenIdIsHandedBackOnlyOnOkWithARowSelected)
{
    auto w = Open(fmChoose);
    TFormOpenPars caller;
    caller.Mode = fmChoose;
    w->CopyResultTo(QDialog::Accepted, caller);
    EXPECT_EQ(caller.ResultId, -1);  // no row: nothing to link
    SelectFilter(*w, 5);
    w->CopyResultTo(QDialog::Rejected, caller);
    EXPECT_EQ(caller.ResultId, -1);
    w->CopyResultTo(QDialog::Accepted, caller);
    EXPECT_EQ(caller.ResultId, 5);
}

TEST_F(FilterListTest, NewAndEditOpenTheQueryEditorAndRefillOnOk)
{
    auto w = Open(fmBrowse);
    w->btnEditClick();  // nothing selected: nothing opens
    w->btnDelClick();
    EXPECT_TRUE(Opened.isEmpty());
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 0);

    SelectFilter(*w, 12);
    Exec("INSERT INTO TFILTERBASE (FB_NAME, FB_CATEGORY) VALUES ('Közben született', '01USER')");
    EditorAnswer = QDialog::Rejected;
    w->btnEditClick();
    EXPECT_EQ(w->lbFilters->count(), Count("TFILTERBASE") - 1);  // cancelled: not refilled
    EditorAnswer = QDialog::Accepted;
    w->btnNewClick();
    EXPECT_EQ(Opened, (QStringList{"2:12", "1:-1"}));
    EXPECT_EQ(w->lbFilters->count(), Count("TFILTERBASE"));
}

TEST_F(FilterListTest, DeleteRemovesLinksRowsAndHeaderAfterConfirmation)
{
    Exec("INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) VALUES (7, 1), (7, 2), (8, 1)");
    const qint64 otherLinks = Count("TSZURESLAP WHERE SZL_FBID = 8");
    auto w = Open(fmBrowse);
    const int rows = w->lbFilters->count();
    SelectFilter(*w, 7);
    Ui.PushYesNo(false);
    w->btnDelClick();
    EXPECT_EQ(Count("TFILTERBASE WHERE FB_ID = 7"), 1);
    EXPECT_EQ(Ui.Of(TUiKind::Confirmation).value(0).Text, "Valóban szeretné törölni?");

    Ui.PushYesNo(true);
    w->btnDelClick();
    EXPECT_EQ(Count("TFILTERBASE WHERE FB_ID = 7"), 0);
    EXPECT_EQ(Count("TFILTER WHERE F_FBID = 7"), 0);
    EXPECT_EQ(Count("TSZURESLAP WHERE SZL_FBID = 7"), 0);
    EXPECT_EQ(Count("TSZURESLAP WHERE SZL_FBID = 8"), otherLinks);
    EXPECT_EQ(w->lbFilters->count(), rows - 1);
    EXPECT_FALSE(w->Keys().contains("7;00ALAP"));
}

TEST_F(FilterListTest, ADeleteFailingMidwayRemovesNothing)
{
    Exec("INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) VALUES (7, 1)");
    Exec("CREATE TRIGGER keep_header BEFORE DELETE ON TFILTERBASE BEGIN SELECT RAISE(ABORT, 'locked'); END");
    const QString before = FilterTables();
    auto w = Open(fmBrowse);
    SelectFilter(*w, 7);
    Ui.PushYesNo(true);
    w->btnDelClick();
    EXPECT_EQ(ErrorContexts(), QStringList{"Am.RunCommand 2"});
    EXPECT_EQ(FilterTables(), before);
    EXPECT_EQ(w->lbFilters->count(), Count("TFILTERBASE"));
    EXPECT_FALSE(AM->DeleteFilter(7));
    EXPECT_EQ(FilterTables(), before);
}
