// Screen readers and the keyboard: every control Tab reaches has a name, the deck lists speak
// their painted items, and the main window's pages and the deck browser work without a mouse.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/ufAbout.h"
#include "app/ufExcept.h"
#include "browser/ufRecovery.h"
#include "browser/ufRestore.h"
#include "browser/ufTulSel.h"
#include "collection/ufGyujtemeny.h"
#include "filters/ufFilters.h"
#include "filters/ufKapcs.h"
#include "filters/ufQueries.h"
#include "refdata/ufSpec.h"
#include "refdata/ufTulajd.h"
#include "browser/ufMain.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

namespace {

// The controls of top that Tab reaches and that a screen reader cannot name.
QStringList Unnamed(QWidget* top)
{
    QStringList out;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !w->isVisibleTo(top)) continue;
        // The line edit inside a combo or spin box is spoken as the box.
        if (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (a && a->text(QAccessible::Name).trimmed().isEmpty())
            out << QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
    }
    return out;
}

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override { Program.reset(); }
    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(AccessibilityTest, EveryFocusableControlHasAName)
{
    fMain->OpenDeck(1);
    ASSERT_NE(fMain->FindDeckFrame(), nullptr);
    for (int i = 0; i < fMain->pc->count(); ++i) {
        fMain->pc->setCurrentIndex(i);
        EXPECT_EQ(Unnamed(fMain), QStringList()) << fMain->pc->tabText(i).toStdString();
    }
    TfPakliBong browser(*AM, [](qint64) {}, fMain->PictureFolder());
    browser.FormShow();
    EXPECT_EQ(Unnamed(&browser), QStringList());
    ASSERT_GT(browser.lbPakli->count(), 0);
    const QString spoken = browser.lbPakli->item(0)->data(Qt::AccessibleTextRole).toString();
    EXPECT_TRUE(spoken.contains(browser.DeckAt(0)->DeckName) && spoken.contains(browser.DeckAt(0)->GodPantheon)) << spoken.toStdString();
    TfUjPakli wizard(*AM, [](qint64) {}, fMain->PictureFolder());
    wizard.FormShow();
    EXPECT_EQ(Unnamed(&wizard), QStringList());

    TFormOpenPars pars;
    InitFormOpenPars(pars);
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.emplace_back(new TfAbout);
    dialogs.emplace_back(new TfExcept);
    dialogs.emplace_back(new TfRestore);
    dialogs.emplace_back(new TfTulSel);
    dialogs.emplace_back(new TfKapcs);
    dialogs.emplace_back(new TfTulajd);
    dialogs.emplace_back(new TfFilters(pars));
    dialogs.emplace_back(new TfQueries(pars));
    dialogs.emplace_back(new TfSpec(pars));
    dialogs.emplace_back(new TfGyujtemeny(&AM->ADOConnection, nullptr, 1));
    dialogs.emplace_back(new TfRecovery("x", Cat.DbPath(), Cat.Dir.path(), true, true));
    for (const auto& d : dialogs) EXPECT_EQ(Unnamed(d.get()), QStringList()) << d->objectName().toStdString();
}

TEST_F(AccessibilityTest, KeysStepThroughPagesAndEnterOpensADeck)
{
    fMain->show();
    fMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain));
    QAction* deckItem = fMain->acTsPakli;
    ASSERT_NE(deckItem, nullptr);
    EXPECT_FALSE(deckItem->isVisible());

    // Enter on the deck browser's chosen item opens that deck, as "Megnyitás" does.
    TfPakliBong browser(*AM, [](qint64 id) { fMain->OpenDeck(id); }, fMain->PictureFolder());
    browser.FormShow();
    browser.show();
    browser.lbPakli->setFocus();
    browser.lbPakli->setCurrentRow(0);
    QTest::keyClick(browser.lbPakli, Qt::Key_Return);
    ASSERT_NE(fMain->FindDeckFrame(), nullptr);
    EXPECT_EQ(fMain->FindDeckFrame()->DeckId(), browser.DeckAt(0)->DeckId);
    EXPECT_TRUE(deckItem->isVisible());
    browser.close();
    fMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain));

    const int n = fMain->pc->count();
    ASSERT_EQ(n, 4);
    fMain->pc->setCurrentIndex(0);
    fMain->pc->currentWidget()->setFocus();
    // Forward and back, wrapping at both ends, whatever control holds the focus.
    const struct { QKeyCombination Key; int Expected; } steps[] = {
        {Qt::CTRL | Qt::Key_Tab, 1}, {Qt::CTRL | Qt::Key_PageDown, 2}, {Qt::CTRL | Qt::Key_PageDown, 3},
        {Qt::CTRL | Qt::Key_Tab, 0}, {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 3}, {Qt::CTRL | Qt::Key_PageUp, 2}};
    for (const auto& s : steps) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : fMain;
        QTest::keyClick(target, s.Key.key(), s.Key.keyboardModifiers());
        EXPECT_EQ(fMain->pc->currentIndex(), s.Expected);
    }
    fMain->pc->setCurrentIndex(0);
    deckItem->trigger();
    EXPECT_EQ(fMain->pc->tabText(fMain->pc->currentIndex()), QStringLiteral("Pakli"));
}
