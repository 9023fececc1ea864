// Undo and redo of deck edits on a copy of the demo catalogue: adds, removes and a rename, the
// clean state after saving and the unsaved-changes test that follows it.
#include "DeckFrameFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUndoStack>

using DeckUndo = DeckInsightTest;

namespace {

QString Rows(const TDeckTable& t)
{
    QStringList out;
    for (const TDeckRow& r : t.Rows())
        out << QStringLiteral("%1/%2/%3/%4/%5/%6").arg(r.L_ID).arg(r.DB).arg(r.TECHSORREND).arg(r.L_IDEZES).arg(r.HP).arg(r.L_NEV);
    return out.join(u' ');
}

}  // namespace

TEST_F(DeckUndo, AddsRemovesAndRenameUndoAndRedo)
{
    Load(1);
    const QString loaded = Rows(Frame->mdPakli);
    QUndoStack* undo = Frame->UndoStack();
    EXPECT_EQ(undo->count(), 0);
    EXPECT_FALSE(Frame->acUndo->isEnabled());

    Frame->AddCardToDeck(167);     // 3 -> 4 copies
    Frame->AddCardToDeck(4);       // a card not in the deck: a new row
    Frame->RemoveCardFromDeck(295);  // its last copy: the row goes
    Frame->RemoveCardFromDeck(999999);  // not in the deck: nothing to undo
    Frame->eNev->setText(QStringLiteral("Új név"));
    Frame->eNev->setText(QStringLiteral("Új név, hosszabb"));  // typing on merges into one step
    ASSERT_EQ(undo->count(), 4);
    EXPECT_TRUE(Frame->acUndo->text().startsWith(QStringLiteral("Visszavonás")));
    EXPECT_TRUE(Frame->acUndo->text().contains(QStringLiteral("név")));
    const QString edited = Rows(Frame->mdPakli);
    EXPECT_EQ(Frame->mdPakli.Find(295), -1);
    EXPECT_TRUE(Frame->IsModified());

    undo->undo();
    EXPECT_EQ(Frame->eNev->text(), QStringLiteral("Napkorona hadai"));
    undo->undo();  // the removed row comes back whole, in its place
    EXPECT_GE(Frame->mdPakli.Find(295), 0);
    EXPECT_TRUE(Frame->acUndo->text().contains(QStringLiteral("(004)")));
    undo->undo();
    undo->undo();
    EXPECT_EQ(Rows(Frame->mdPakli), loaded);
    EXPECT_EQ(Frame->lLapszam->text(), QStringLiteral("22 lap"));
    EXPECT_FALSE(Frame->IsModified());
    EXPECT_TRUE(undo->isClean());

    for (int i = 0; i < 4; ++i) undo->redo();
    EXPECT_EQ(Rows(Frame->mdPakli), edited);
    EXPECT_EQ(Frame->eNev->text(), QStringLiteral("Új név, hosszabb"));
    EXPECT_EQ(Frame->lLapszam->text(), QStringLiteral("23 lap"));
}

TEST_F(DeckUndo, SavingMarksTheCleanState)
{
    Load(1);
    const QString loadedDescription = Frame->mLeir->toPlainText();
    ASSERT_FALSE(loadedDescription.isEmpty());
    QUndoStack* undo = Frame->UndoStack();
    Frame->AddCardToDeck(167);
    Frame->mLeir->setPlainText(QStringLiteral("Leírás\nkét sorban"));
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_TRUE(undo->isClean());
    EXPECT_FALSE(Frame->IsModified());

    // Away from the saved state and back again: nothing to save.
    undo->undo();
    EXPECT_EQ(Frame->mLeir->toPlainText(), loadedDescription);
    EXPECT_TRUE(Frame->IsModified());
    EXPECT_FALSE(undo->isClean());
    undo->redo();
    EXPECT_TRUE(undo->isClean());
    EXPECT_FALSE(Frame->IsModified());

    // Undo past the save and save again: the stored deck is the loaded one once more.
    undo->undo();
    undo->undo();
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(StoredRows(1).contains(QStringLiteral("167:3")), true);
    EXPECT_EQ(Scalar("SELECT P_MEGJ FROM TPAKLI WHERE P_ID = 1"), loadedDescription);
}

TEST_F(DeckUndo, LoadingStartsAFreshHistory)
{
    Load(1);
    Frame->AddCardToDeck(167);
    Load(2);
    EXPECT_EQ(Frame->UndoStack()->count(), 0);
    EXPECT_TRUE(Frame->UndoStack()->isClean());
    EXPECT_FALSE(Frame->IsModified());
}

TEST_F(DeckUndo, NameBoxLeavesTheUndoKeysToTheDeck)
{
    Load(1);
    Frame->eNev->setText(QStringLiteral("Más név"));
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}) {
        QKeyEvent over(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
        over.setAccepted(false);
        QCoreApplication::sendEvent(Frame->eNev, &over);
        EXPECT_FALSE(over.isAccepted());
    }
    // Other keys stay the box's own.
    QKeyEvent copy(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
    copy.setAccepted(false);
    Frame->eNev->selectAll();
    QCoreApplication::sendEvent(Frame->eNev, &copy);
    EXPECT_TRUE(copy.isAccepted());
    EXPECT_EQ(Frame->acUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(Frame->acRedo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
}
