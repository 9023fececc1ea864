// The collection window in the running program: the menu item, a click through to a group's
// missing cards in the card list and the filter combo, and the kept copies in the settings file.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "browser/uCollectionCommand.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "collection/ufGyujtemeny.h"
#include "widgets/CheckListCombo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMenuBar>
#include <QSpinBox>

namespace {

class CollectionWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override
    {
        fMain->close();
        Program.reset();
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

TEST_F(CollectionWindowTest, MissingCardsOfAGroupNarrowTheCardListUntilFiltersGoOff)
{
    QStringList data;
    for (QAction* a : fMain->menuBar()->actions())
        if (WithoutMnemonic(a->text()) == "Adatok")
            for (QAction* item : a->menu()->actions()) data << WithoutMnemonic(item->text());
    EXPECT_EQ(data.indexOf("Gyűjtemény..."), data.indexOf("Egyéb adatok...") + 1);

    auto* command = fMain->findChild<TCollectionCommand*>();
    ASSERT_NE(command, nullptr);
    const int all = AM->qLapok.RecordCount();
    TfGyujtemeny window(&AM->ADOConnection, QPList, 3, fMain);
    window.FormShow();
    window.cbCsoport->setCurrentIndex(cgPantheonRarity);
    window.cbSzurt->setChecked(true);
    int row = 0;
    while (row < window.Model->rowCount() - 1 && window.Model->Group(row).Missing() == 0) ++row;
    window.SelectRow(row);
    const TCollectionGroup group = window.Model->Group(row);
    ASSERT_GT(group.Missing(), 0);
    window.btnHianyzokVagolapClick();
    EXPECT_EQ(Ui.Clipboard().count("\r\n"), group.Missing());
    window.btnHianyzokClick();
    ASSERT_TRUE(window.ShowMissing);

    command->ApplyMissing(window.MissingPieces, window.MissingCaption);
    EXPECT_EQ(AM->qLapok.RecordCount(), group.Missing());
    EXPECT_EQ(fMain->cbFilter->Text(), "[Hiányzók: " + group.Caption() + "]");
    // A property checked in the combo narrows further and the caption stays in the closed text.
    fMain->cbFilter->SetChecked(0, true);
    emit fMain->cbFilter->CheckedTextChanged();
    EXPECT_EQ(fMain->cbFilter->Text(), "[" + fMain->cbFilter->ItemText(0) + ", Hiányzók: " + group.Caption() + "]");
    EXPECT_LE(AM->qLapok.RecordCount(), group.Missing());

    fMain->acDisableFilter->trigger();
    EXPECT_EQ(fMain->cbFilter->Text(), "[]");
    EXPECT_EQ(AM->qLapok.RecordCount(), all);
}

TEST_F(CollectionWindowTest, KeptCopiesAreRememberedInTheSettingsFile)
{
    TfGyujtemeny window(&AM->ADOConnection, QPList, fMain->Settings.KeepCopies, fMain);
    EXPECT_EQ(window.seMegtartott->value(), 3);
    fMain->Settings.KeepCopies = 12;
    ASSERT_TRUE(fMain->FormClose());
    TSettings read;
    ReadSettings(fMain->SettingsFile(), read, *dmColumns);
    EXPECT_EQ(read.KeepCopies, 12);

    QFile ini(fMain->SettingsFile());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll().replace("Megtartott=12", "Megtartott=120");
    ini.close();
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(text);
    ini.close();
    ReadSettings(fMain->SettingsFile(), read, *dmColumns);
    EXPECT_EQ(read.KeepCopies, 3);
}

}  // namespace
