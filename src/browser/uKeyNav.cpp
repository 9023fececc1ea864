#include "browser/uKeyNav.h"

#include "app/Guard.h"
#include "browser/ufMain.h"
#include "decks/ufmPakli.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QTabWidget>

void StepPage(QTabWidget* pages, int delta)
{
    const int n = pages->count();
    if (n == 0) return;
    pages->setCurrentIndex(((pages->currentIndex() + delta) % n + n) % n);
}

QAction* AddPageKeys(TfMain* main, QMenu* viewMenu)
{
    // Window-wide, so a grid or an editor with the focus does not swallow them. Shift+Tab arrives
    // as Backtab, so both spellings are bound.
    const struct {
        QKeySequence Key;
        int Delta;
    } keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(k.Key, main);
        shortcut->setContext(Qt::WindowShortcut);
        const int delta = k.Delta;
        GuardedConnect(shortcut, &QShortcut::activated, main, [main, delta] { StepPage(main->pc, delta); });
    }

    auto* deckPage = new QAction(QStringLiteral("Pakli nézet"), main);
    deckPage->setObjectName("acTsPakli");
    deckPage->setVisible(false);
    viewMenu->insertAction(viewMenu->actions().value(3), deckPage);
    GuardedConnect(deckPage, &QAction::triggered, main, [main] {
        if (TfmPakli* frame = main->FindDeckFrame()) main->pc->setCurrentWidget(frame->parentWidget());
    });
    return deckPage;
}
