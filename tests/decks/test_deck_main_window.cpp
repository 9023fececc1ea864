// The main window's side of the open deck on a copy of the demo program folder: opening and closing,
// the enabled states of the deck actions per page and picture mode, their keys, the tab mark, and
// the question about unsaved changes (closing the deck and closing the window).
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class DeckWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override { Program.reset(); }

    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    qint64 CurrentCard() { return AM->qLapok.FieldByName("L_ID").AsLargeInt(); }
    TfmPakli* Frame() { return fMain->FindDeckFrame(); }
    int DeckTab()
    {
        for (int i = 0; i < fMain->pc->count(); ++i)
            if (fMain->pc->tabText(i) == "Pakli") return i;
        return -1;
    }
    void Open(qint64 deck = 1)
    {
        fMain->OpenDeck(deck);
        ASSERT_NE(Frame(), nullptr);
    }
    // Deletes what the close left for later.
    void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void ShowActive()
    {
        fMain->show();
        fMain->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fMain));
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

QStringList MenuTexts(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

}  // namespace

TEST_F(DeckWindowTest, MenusAndKeys)
{
    QMenu* deck = nullptr;
    for (QAction* a : fMain->menuBar()->actions())
        if (a->text() == "Pakli") deck = a->menu();
    ASSERT_NE(deck, nullptr);
    EXPECT_EQ(MenuTexts(deck).mid(0, 11), QStringList({"Új pakli...", "Pakliböngésző", "Pakli mentése", "Pakli bezárása", "-",
                                                       "Pakli exportálás...", "Pakli nyomtatása...", "Pakli mentése PDF-be...",
                                                       "-", "Paklihoz hozzáadás", "Pakliból elvétel"}));
    // Beside them, after a separator: reading a deck list from the clipboard.
    EXPECT_EQ(MenuTexts(deck).mid(11), QStringList({"-", "Pakli beolvasása vágólapról"}));
    EXPECT_EQ(fMain->acAddCard->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_TRUE(fMain->acAddCard->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Insert)));
    EXPECT_EQ(fMain->acDelCard->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(fMain->acDelCard->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Delete)));
    EXPECT_EQ(MenuTexts(fMain->pmGrid).mid(0, 2), QStringList({"Paklihoz hozzáadás", "Pakliból elvétel"}));

    Open();
    EXPECT_EQ(MenuTexts(Frame()->pmPakli).mid(0, 9),
              QStringList({"Pakli mentése", "-", "Darab szűrés", "Leidézés szűrés", "-", "Pakli exportálás...",
                           "Pakli nyomtatása...", "Pakli mentése PDF-be...", "Pakli bezárása"}));
    // Beside them: undo and redo, and the two plain-text lists.
    EXPECT_EQ(MenuTexts(Frame()->pmPakli).mid(9), QStringList({"-", "Visszavonás", "Mégis", "-", "Pakli vágólapra szövegként",
                                                               "Hiányzó lapok vágólapra"}));
    EXPECT_EQ(Frame()->sbPakliMenu->text(), "Menü");
}

TEST_F(DeckWindowTest, OpeningAndClosingADeck)
{
    EXPECT_FALSE(fMain->DeckOpen);
    EXPECT_FALSE(fMain->acLeidezesFilter->isEnabled());
    EXPECT_FALSE(fMain->acSaveDeck->isEnabled());
    EXPECT_FALSE(fMain->acAddCard->isEnabled());

    Open();
    EXPECT_TRUE(fMain->DeckOpen);
    EXPECT_EQ(fMain->pc->currentIndex(), DeckTab());
    EXPECT_EQ(DeckTab(), fMain->pc->count() - 1);
    EXPECT_TRUE(fMain->acLeidezesFilter->isEnabled());
    EXPECT_FALSE(fMain->acNewDeck->isEnabled());
    EXPECT_FALSE(fMain->acDeckBrowser->isEnabled());
    for (QAction* a : {fMain->acSaveDeck, fMain->acCloseDeck}) EXPECT_TRUE(a->isEnabled());
    EXPECT_EQ(fMain->DeckSummoningTech, Scalar("SELECT L_LEIDEZESTECH FROM TLAP WHERE L_ID = 1"));
    // A second deck is not opened beside it.
    fMain->OpenDeck(2);
    EXPECT_EQ(Frame()->DeckId(), 1);
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);

    // Unchanged: closes without a question.
    fMain->acCloseDeck->trigger();
    EXPECT_EQ(Ui.Count(TUiKind::YesNoCancel), 0);
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(DeckTab(), -1);
    EXPECT_EQ(fMain->pc->currentWidget(), fMain->ts2);
    EXPECT_FALSE(fMain->DeckOpen);
    EXPECT_FALSE(fMain->acLeidezesFilter->isEnabled());
    EXPECT_FALSE(fMain->acSaveDeck->isEnabled());
    EXPECT_FALSE(fMain->acAddCard->isEnabled());
    EXPECT_FALSE(fMain->DeckSummoningTech.isEmpty());  // kept until the next deck
    Settle();
}

TEST_F(DeckWindowTest, AMissingDeckLeavesNoPage)
{
    // Warned by the frame, then abandoned quietly: the page goes again.
    EXPECT_THROW(fMain->OpenDeck(999), EAbort);
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_EQ(DeckTab(), -1);
    EXPECT_FALSE(fMain->DeckOpen);
    EXPECT_FALSE(fMain->acSaveDeck->isEnabled());
}

TEST_F(DeckWindowTest, AddAndRemoveAreEnabledOnTheCardViewsOnly)
{
    Open();
    EXPECT_FALSE(fMain->acAddCard->isEnabled());  // on the deck page itself
    fMain->acTs2Execute();
    EXPECT_TRUE(fMain->acAddCard->isEnabled());
    EXPECT_TRUE(fMain->acDelCard->isEnabled());
    fMain->acTs1Execute();
    EXPECT_FALSE(fMain->acAddCard->isEnabled());
    EXPECT_FALSE(fMain->acDelCard->isEnabled());
    fMain->PictureMode = 0;
    fMain->acTs3Execute();
    EXPECT_TRUE(fMain->acAddCard->isEnabled());
    for (int mode : {1, 2, 3}) {
        fMain->PictureMode = mode;
        fMain->UpdateDeckActions();
        EXPECT_FALSE(fMain->acAddCard->isEnabled()) << mode;
        EXPECT_FALSE(fMain->acDelCard->isEnabled()) << mode;
    }
}

TEST_F(DeckWindowTest, AddingFromTheCardListMarksTheTabForAMoment)
{
    Open(2);
    fMain->acTs2Execute();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    const qint64 card = CurrentCard();
    fMain->acAddCard->trigger();
    fMain->acAddCard->trigger();
    ASSERT_GE(Frame()->mdPakli.Find(card), 0);
    EXPECT_EQ(Frame()->mdPakli.Row(Frame()->mdPakli.Find(card)).DB, 2);
    EXPECT_FALSE(fMain->pc->tabIcon(DeckTab()).isNull());
    EXPECT_TRUE(fMain->tmrHighLight->isActive());
    EXPECT_EQ(fMain->tmrHighLight->interval(), 800);
    EXPECT_TRUE(fMain->SummaryStale);
    fMain->acDelCard->trigger();
    EXPECT_EQ(Frame()->mdPakli.Row(Frame()->mdPakli.Find(card)).DB, 1);
    fMain->tmrHighLightTimer();
    EXPECT_TRUE(fMain->pc->tabIcon(DeckTab()).isNull());
    EXPECT_FALSE(fMain->tmrHighLight->isActive());

    // Showing the deck page draws the stale statistics.
    fMain->pc->setCurrentIndex(DeckTab());
    EXPECT_FALSE(fMain->SummaryStale);
}

TEST_F(DeckWindowTest, WithoutADeckAddTellsTheUserToOpenOne)
{
    fMain->acAddCardExecute();
    fMain->acDelCardExecute();
    EXPECT_EQ(Ui.Of(TUiKind::Information).size(), 2);
    EXPECT_EQ(Ui.Of(TUiKind::Information).value(0).Text, "Kérem előbb nyisson egy új paklit!");
}

TEST_F(DeckWindowTest, DeckKeysWinOverTheGridCopyWhileEnabled)
{
    ShowActive();
    fMain->acTs2Execute();
    fMain->grQuery->setFocus();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    // No deck: Ctrl+Insert copies the row.
    QTest::keyClick(fMain->grQuery, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(Ui.Count(TUiKind::Clipboard), 1);

    Open(2);
    fMain->acTs2Execute();
    fMain->grQuery->setFocus();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    const qint64 card = CurrentCard();
    QTest::keyClick(fMain->grQuery, Qt::Key_Insert, Qt::ControlModifier);
    QTest::keyClick(fMain->grQuery, Qt::Key_Insert);
    EXPECT_EQ(Ui.Count(TUiKind::Clipboard), 1);
    ASSERT_GE(Frame()->mdPakli.Find(card), 0);
    EXPECT_EQ(Frame()->mdPakli.Row(Frame()->mdPakli.Find(card)).DB, 2);
    QTest::keyClick(fMain->grQuery, Qt::Key_Delete);
    EXPECT_EQ(Frame()->mdPakli.Row(Frame()->mdPakli.Find(card)).DB, 1);

    // In a text box the Ctrl keys act on the deck, the plain Delete edits the text.
    fMain->eUgrNev->setText("abc");
    fMain->eUgrNev->setFocus();
    fMain->eUgrNev->setCursorPosition(0);
    QTest::keyClick(fMain->eUgrNev, Qt::Key_Delete);
    EXPECT_EQ(fMain->eUgrNev->text(), "bc");
    EXPECT_GE(Frame()->mdPakli.Find(card), 0);
    QTest::keyClick(fMain->eUgrNev, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(fMain->eUgrNev->text(), "bc");
    EXPECT_EQ(Frame()->mdPakli.Find(card), -1);
}

TEST_F(DeckWindowTest, ClosingAChangedDeckAsks)
{
    Open();
    fMain->acTs2Execute();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    fMain->acAddCard->trigger();
    const QString stored = Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1");

    // From another page, "Pakli bezárása" does nothing.
    fMain->acCloseDeck->trigger();
    EXPECT_NE(Frame(), nullptr);
    EXPECT_EQ(Ui.Count(TUiKind::YesNoCancel), 0);

    fMain->pc->setCurrentIndex(DeckTab());
    Ui.PushYesNoCancel(TYesNoCancel::Cancel);
    fMain->acCloseDeck->trigger();
    EXPECT_NE(Frame(), nullptr);
    EXPECT_EQ(Ui.Count(TUiKind::YesNoCancel), 1);

    Ui.PushYesNoCancel(TYesNoCancel::No);
    fMain->acCloseDeck->trigger();
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1"), stored);
    Settle();

    Open();
    fMain->acTs2Execute();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    fMain->acAddCard->trigger();
    fMain->pc->setCurrentIndex(DeckTab());
    Ui.PushYesNoCancel(TYesNoCancel::Yes);
    fMain->acCloseDeck->trigger();
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1").toInt(), stored.toInt() + 1);
    EXPECT_EQ(Ui.Of(TUiKind::Information).value(0).Text, "A pakli mentése sikeres.");
    Settle();
}

TEST_F(DeckWindowTest, SaveClosesOnlyAfterASuccessfulWrite)
{
    Open();
    fMain->acTs2Execute();
    fMain->acAddCard->trigger();
    fMain->acSaveDeck->trigger();  // not on the deck page: nothing
    EXPECT_EQ(Ui.Count(TUiKind::Information), 0);

    fMain->pc->setCurrentIndex(DeckTab());
    AM->ADOConnection.ExecuteDirect("CREATE TRIGGER FAIL_ALL BEFORE INSERT ON TPAKLILAP "
                                    "BEGIN SELECT RAISE(ABORT, 'no room'); END;");
    const QString stored = Scalar("SELECT GROUP_CONCAT(PL_LID || ':' || PL_LDB) FROM TPAKLILAP WHERE PL_PID = 1");
    fMain->acSaveDeck->trigger();
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->IsModified());
    EXPECT_EQ(Scalar("SELECT GROUP_CONCAT(PL_LID || ':' || PL_LDB) FROM TPAKLILAP WHERE PL_PID = 1"), stored);

    AM->ADOConnection.ExecuteDirect("DROP TRIGGER FAIL_ALL");
    fMain->acSaveDeck->trigger();
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(Ui.Of(TUiKind::Information).value(0).Text, "A pakli mentése sikeres.");
    Settle();
}

TEST_F(DeckWindowTest, ClosingTheWindowAsksAboutAChangedDeck)
{
    fMain->show();
    Open();
    EXPECT_TRUE(fMain->close());  // unchanged: no question
    EXPECT_EQ(Ui.Count(TUiKind::YesNoCancel), 0);
    Program.reset();

    Program = std::make_unique<TProgram>(Cat.ProgramDir());
    Program->Create();
    fMain->show();
    Open();
    fMain->acTs2Execute();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    fMain->acAddCard->trigger();
    Ui.PushYesNoCancel(TYesNoCancel::Cancel);
    EXPECT_FALSE(fMain->close());
    EXPECT_TRUE(fMain->isVisible());
    EXPECT_NE(Frame(), nullptr);
    Ui.PushYesNoCancel(TYesNoCancel::Yes);
    const int before = Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1").toInt();
    EXPECT_TRUE(fMain->close());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = 1").toInt(), before + 1);
}

TEST_F(DeckWindowTest, UndoKeysWorkOnEveryPageAndInTheSearchBox)
{
    ShowActive();
    Open(2);
    fMain->acTs2Execute();
    fMain->grQuery->setFocus();
    AM->qLapok.Locate("L_LAPSZAM", "002");
    const qint64 card = CurrentCard();
    auto copies = [&](qint64 id) { return Frame()->mdPakli.Find(id) < 0 ? 0 : Frame()->mdPakli.Row(Frame()->mdPakli.Find(id)).DB; };
    QTest::keyClick(fMain->grQuery, Qt::Key_Insert);
    QTest::keyClick(fMain->grQuery, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(copies(card), 0);
    QTest::keyClick(fMain->grQuery, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(copies(card), 1);
    fMain->acTs1Execute();
    QTest::keyClick(fMain->ts1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(copies(card), 0);
    fMain->pc->setCurrentIndex(DeckTab());
    Frame()->cbLapKeres->setCurrentIndex(0);
    const qint64 searched = Frame()->SelectedSearchCard();
    Frame()->cbLapKeres->lineEdit()->setFocus();
    QTest::keyClick(Frame()->cbLapKeres->lineEdit(), '+');
    ASSERT_EQ(copies(searched), 1);
    QTest::keyClick(Frame()->cbLapKeres->lineEdit(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(copies(searched), 0);
}
