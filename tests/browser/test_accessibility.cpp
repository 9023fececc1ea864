// Without mouse and eyes: every control Tab reaches has a name; page keys and Enter work.
#include "TestCatalogue.h"
#include "app/Messages.h"
#include "browser/ufMain.h"
#include "decks/ufPakliBong.h"
#include "decks/ufmPakli.h"
#include <QAccessible>
#include <QTabWidget>
#include <QTest>

static QStringList Unnamed(QWidget* top)
{
    QStringList out;
    for (QWidget* w : top->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(top) &&
            QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            out << top->objectName() + u'.' + w->objectName();
    return out;
}

TEST(Accessibility, NamesPageKeysAndEnter)
{
    TTempCatalogue cat;
    TTestUiHost ui;
    TProgram program(cat.ProgramDir());
    program.Create();
    fMain->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fMain));
    TfPakliBong browser(*AM, [](qint64 id) { fMain->OpenDeck(id); }, fMain->PictureFolder());
    browser.FormShow();
    browser.lbPakli->setCurrentRow(1);
    QTest::keyClick(browser.lbPakli, Qt::Key_Return);  // opens the deck as "Megnyitás" does
    ASSERT_TRUE(fMain->FindDeckFrame() && fMain->FindDeckFrame()->DeckId() == browser.DeckAt(1)->DeckId);
    QStringList unnamed = Unnamed(&browser);
    fMain->pc->setCurrentIndex(0);
    for (const auto& [key, page] : {std::pair{Qt::CTRL | Qt::Key_Tab, 1}, {Qt::CTRL | Qt::Key_PageDown, 2},
                                    {Qt::CTRL | Qt::Key_PageDown, 3}, {Qt::CTRL | Qt::Key_Tab, 0}, {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 3}}) {
        QTest::keyClick(fMain, key.key(), key.keyboardModifiers());
        EXPECT_EQ(fMain->pc->currentIndex(), page);
        unnamed << Unnamed(fMain);
    }
    EXPECT_EQ(unnamed, QStringList());
}
