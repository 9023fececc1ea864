// Without mouse and eyes: every control Tab reaches has a name and Tab leaves it again; page keys,
// Enter and Esc work in the main window and in every dialog.
#include "TestCatalogue.h"
#include "app/Messages.h"
#include "app/ufAbout.h"
#include "app/ufExcept.h"
#include "browser/ufMain.h"
#include "browser/ufRecovery.h"
#include "browser/ufRestore.h"
#include "browser/ufTulSel.h"
#include "collection/ufGyujtemeny.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "decks/ufmPakli.h"
#include "filters/uQPList.h"
#include "filters/ufFilters.h"
#include "filters/ufKapcs.h"
#include "filters/ufQueries.h"
#include "refdata/ufSpec.h"
#include "refdata/ufTulajd.h"
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <functional>

// The controls Tab can reach once enabled (a control with a focus proxy is reached through the proxy).
static QList<QWidget*> Reachable(QWidget* top, bool enabledOnly = false)
{
    QList<QWidget*> out;
    for (QWidget* w : top->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(top) && (w->isEnabled() || !enabledOnly))
            out << w;
    return out;
}

static QStringList Unnamed(QWidget* top)
{
    QStringList out;
    for (QWidget* w : Reachable(top))
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            out << top->objectName() + u'.' + w->objectName();
    return out;
}

// Controls that keep the focus when Tab is pressed on them, while another could take it.
static QStringList Traps(QWidget* top)
{
    QStringList out;
    const QList<QWidget*> reachable = Reachable(top, true);
    for (QWidget* w : reachable) {
        w->setFocus(Qt::TabFocusReason);
        if (reachable.size() < 2 || QApplication::focusWidget() != w) continue;
        QTest::keyClick(w, Qt::Key_Tab);
        if (QApplication::focusWidget() == w) out << top->objectName() + u'.' + w->objectName();
    }
    return out;
}

// The program on a private demo catalogue; the filter to edit is the catalogue's first.
class Accessibility : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program.Create();
        InitFormOpenPars(Filter);
        Filter.Mode = fmEdit;
        Filter.Id = ScalarOn(AM->ADOConnection, "SELECT MIN(FB_ID) FROM TFILTERBASE").toLongLong();
    }
    TTempCatalogue Cat;
    TTestUiHost Ui;
    TProgram Program{Cat.ProgramDir()};
    TFormOpenPars Filter;
};

TEST_F(Accessibility, NamesPageKeysAndEnter)
{
    fMain->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain));
    TfPakliBong browser(*AM, [](qint64 id) { fMain->OpenDeck(id); }, fMain->PictureFolder());
    browser.FormShow();
    browser.lbPakli->setCurrentRow(1);
    QTest::keyClick(browser.lbPakli, Qt::Key_Return);  // opens the deck as "Megnyitás" does
    ASSERT_TRUE(fMain->FindDeckFrame() && fMain->FindDeckFrame()->DeckId() == browser.DeckAt(1)->DeckId);
    QStringList unnamed = Unnamed(&browser), traps = Traps(&browser);
    fMain->pc->setCurrentIndex(0);
    for (const auto& [key, page] : {std::pair{Qt::CTRL | Qt::Key_Tab, 1}, {Qt::CTRL | Qt::Key_PageDown, 2},
                                    {Qt::CTRL | Qt::Key_PageDown, 3}, {Qt::CTRL | Qt::Key_Tab, 0}, {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 3}}) {
        QTest::keyClick(fMain, key.key(), key.keyboardModifiers());
        EXPECT_EQ(fMain->pc->currentIndex(), page);
        unnamed << Unnamed(fMain);
        traps << Traps(fMain->pc->currentWidget());
    }
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_EQ(traps, QStringList());
}

TEST_F(Accessibility, EveryDialogNamesItsControlsLetsTabOutAndClosesOnEsc)
{
    TFormOpenPars card;
    InitFormOpenPars(card);
    card.Id = ScalarOn(AM->ADOConnection, "SELECT MIN(S_LAPID) FROM TSPEC").toLongLong();
    TFormOpenPars error;
    InitFormOpenPars(error);
    error.Context = "Teszt";
    error.Message = "Hiba";
    using TMake = std::function<std::unique_ptr<QDialog>()>;
    const std::vector<TMake> dialogs{
        [] { return std::make_unique<TfAbout>(); },
        [&] { auto d = std::make_unique<TfExcept>(); d->FillFromPars(error); return d; },
        [&] { auto d = std::make_unique<TfRestore>(); d->LoadBackups(Cat.ProgramDir()); return d; },
        [&] { return std::make_unique<TfRecovery>("Hiba", Cat.ProgramDir() + "/x.db", Cat.ProgramDir(), true, true); },
        [] { auto d = std::make_unique<TfTulSel>(); d->LoadItems(0); return d; },
        [] { auto d = std::make_unique<TfGyujtemeny>(&AM->ADOConnection, QPList, 3); d->FormShow(); return d; },
        [] { auto d = std::make_unique<TfUjPakli>(*AM, [](qint64) {}, QString()); d->FormShow(); return d; },
        [&] { auto d = std::make_unique<TfFilters>(Filter); d->FormShow(); return d; },
        [] { auto d = std::make_unique<TfKapcs>(); d->FormShow(); return d; },
        [&] { auto d = std::make_unique<TfQueries>(Filter); d->FormShow(); return d; },
        [] { auto d = std::make_unique<TfTulajd>(); d->FormShow(); return d; },
        [&] { return std::make_unique<TfSpec>(card); },
    };
    QStringList unnamed, traps, open;
    for (const TMake& make : dialogs) {
        std::unique_ptr<QDialog> d = make();
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get())) << d->objectName().toStdString();
        unnamed << Unnamed(d.get());
        traps << Traps(d.get());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : d.get(), Qt::Key_Escape);
        if (d->isVisible()) open << d->objectName();
    }
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_EQ(traps, QStringList());
    EXPECT_EQ(open, QStringList());
}

TEST_F(Accessibility, EnterPressesTheFocusedButtonOrFinishesTheDialog)
{
    // A focused button that is not the default one: Enter presses it, not "Bezárás".
    TfGyujtemeny collection(&AM->ADOConnection, QPList, 3);
    collection.FormShow();
    collection.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&collection));
    QApplication::clipboard()->clear();
    collection.btnHianyzokVagolap->setFocus();
    QTest::keyClick(collection.btnHianyzokVagolap, Qt::Key_Return);
    EXPECT_TRUE(collection.isVisible());
    EXPECT_FALSE(QApplication::clipboard()->text().isEmpty());
    collection.close();
    // The query editor: Enter in the name box stores nothing half-made; Ctrl+Enter is "OK".
    TfQueries editor(Filter);
    editor.FormShow();
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(editor.eNev, Qt::Key_Return);
    EXPECT_TRUE(editor.isVisible());
    QTest::keyClick(editor.eNev, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.result(), QDialog::Accepted);
}
