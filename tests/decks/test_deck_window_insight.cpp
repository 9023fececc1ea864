// The deck insight seen from the main window: reading a deck list from the clipboard opens the new
// deck, an add from the card grid is undone from the frame, and the opening hand reaches the
// settings file at close.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/uSettings.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "decks/uDeckCharts.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QUndoStack>

namespace {

class DeckWindowInsight : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override { Program.reset(); }
    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(DeckWindowInsight, ClipboardListBecomesAnOpenDeck)
{
    ASSERT_TRUE(fMain->acImportDeckText->isEnabled());
    const QString decks = Scalar("SELECT COUNT(*) FROM TPAKLI");

    // An empty clipboard: a message, nothing stored, no deck opened.
    QGuiApplication::clipboard()->setText(QString());
    fMain->acImportDeckText->trigger();
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_EQ(fMain->FindDeckFrame(), nullptr);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLI"), decks);

    QGuiApplication::clipboard()->setText(QStringLiteral("1 (004) Ködkirály Ugron\n3 (167) Tüzes Hadvezér\n"));
    Ui.PushYesNo(true);
    fMain->acImportDeckText->trigger();
    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->lFoisten->text(), QStringLiteral("Ködkirály Ugron"));
    EXPECT_EQ(frame->mdPakli.RecordCount(), 1);
    EXPECT_EQ(frame->mdPakli.Row(0).DB, 3);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLI").toInt(), decks.toInt() + 1);
    // One deck at a time: reading another waits until this one is closed.
    EXPECT_FALSE(fMain->acImportDeckText->isEnabled());
}

TEST_F(DeckWindowInsight, AddFromTheGridIsUndoneInTheFrame)
{
    fMain->OpenDeck(1);
    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    fMain->pc->setCurrentWidget(fMain->ts2);
    fMain->UpdateDeckActions();
    const qint64 card = AM->qLapok.FieldByName("L_ID").AsLargeInt();
    const qint64 before = frame->mdPakli.CardCount();
    fMain->acAddCard->trigger();
    EXPECT_EQ(frame->mdPakli.CardCount(), before + 1);
    EXPECT_TRUE(frame->IsModified());
    frame->acUndo->trigger();
    EXPECT_EQ(frame->mdPakli.CardCount(), before);
    EXPECT_FALSE(frame->IsModified());
    EXPECT_GE(card, 0);
}

TEST_F(DeckWindowInsight, OpeningHandIsWrittenAtClose)
{
    fMain->OpenDeck(1);
    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    frame->Charts->seKezdokez->setValue(9);
    EXPECT_EQ(fMain->Settings.OpeningHand, 9);
    Ui.PushYesNoCancel(TYesNoCancel::No);
    fMain->close();
    QFile ini(SettingsFileName(Cat.ProgramDir()));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Kezdokez=9"));
}
