// The property picker over a copy of the demo catalogue, without exec().
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufTulSel.h"
#include "storage/uAM.h"

#include <QListWidget>
#include <QPushButton>

namespace {

class TulSelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(TulSelTest, ListsEveryRowOfTheKindByNameWithItsId)
{
    for (const auto& [kind, table, prefix] : {std::tuple{1, QString("TTULAJDONSAG"), QString("TULAJDONSAG")},
                                               std::tuple{2, QString("TKATEGORIA"), QString("KATEGORIA")}}) {
        TfTulSel dialog;
        dialog.LoadItems(kind);
        TQuery q(&AM->ADOConnection);
        q.SetSQL("SELECT " + prefix + "_ID, " + prefix + "_NEV FROM " + table + " ORDER BY " + prefix + "_NEV");
        q.Open();
        ASSERT_GT(q.RecordCount(), 1);
        ASSERT_EQ(dialog.lb->count(), q.RecordCount());
        ASSERT_EQ(dialog.Ids().size(), q.RecordCount());
        for (int r = 0; r < q.RecordCount(); ++r) {
            EXPECT_EQ(dialog.lb->item(r)->text(), q.ValueText(r, 1));
            EXPECT_EQ(dialog.Ids()[r], q.ValueText(r, 0));
        }
        EXPECT_EQ(dialog.SelectedId(), q.ValueText(0, 0));  // the first row is selected
        dialog.lb->setCurrentRow(q.RecordCount() - 1);
        EXPECT_EQ(dialog.SelectedId(), q.ValueText(q.RecordCount() - 1, 0));
        dialog.lb->clearSelection();
        EXPECT_EQ(dialog.SelectedId(), "");
    }
}

TEST_F(TulSelTest, EmptyTableSelectsNothingAndReloadingReplacesTheList)
{
    TfTulSel dialog;
    EXPECT_EQ(dialog.windowTitle(), "Tulajdonságok");
    EXPECT_TRUE(dialog.btnOK->isDefault());
    EXPECT_EQ(dialog.btnOK->text(), "OK");
    EXPECT_EQ(dialog.btnMegsem->text(), "Mégsem");
    dialog.LoadItems(1);
    AM->ADOConnection.ExecuteDirect("DELETE FROM TKATEGORIA");
    dialog.LoadItems(2);
    EXPECT_EQ(dialog.lb->count(), 0);
    EXPECT_TRUE(dialog.Ids().isEmpty());
    EXPECT_EQ(dialog.SelectedId(), "");
    dialog.btnOKClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
