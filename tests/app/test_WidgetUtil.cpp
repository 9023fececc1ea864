#include "app/WidgetUtil.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(WidgetUtil, WaitCursorNestsAndIsRestoredWhenAnExceptionLeaves)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        TWaitCursor outer;
        {
            TWaitCursor inner;
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        throw std::runtime_error("walk failed");
    } catch (const std::exception&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(WidgetUtil, UpdatesComeBackOnlyWhereTheScopeHeldThemAndSkipDeletedWidgets)
{
    QLabel a, outerHeld;
    auto* gone = new QLabel;
    outerHeld.setUpdatesEnabled(false);
    {
        TUpdatesSuspended held{&a, &outerHeld, gone, nullptr};
        EXPECT_FALSE(a.updatesEnabled());
        delete gone;
    }
    EXPECT_TRUE(a.updatesEnabled());
    EXPECT_FALSE(outerHeld.updatesEnabled());  // an outer scope still holds it
}

TEST(WidgetUtil, CentresTheFrameRaisedByTheGivenPixels)
{
    QWidget w;
    w.resize(300, 200);
    CenterOnScreen(&w, 12);
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w.frameGeometry().left(), s.width() / 2 - w.frameGeometry().width() / 2);
    EXPECT_EQ(w.frameGeometry().top(), s.height() / 2 - w.frameGeometry().height() / 2 - 12);
}

#include <QAction>
#include <QMenu>
#include <QMenuBar>

TEST(WidgetUtil, MnemonicsAreUniqueWithinEachMenuAndKeepTheVisibleText)
{
    QMenuBar bar;
    QMenu* data = bar.addMenu("Adatok");
    QMenu* view = bar.addMenu("Nézet");
    bar.addMenu("Szűrés");
    bar.addMenu("Súgó");  // S taken by Szűrés: takes its next free letter
    QAction* exit = data->addAction("&Kilépés");
    QAction* other = data->addAction("Egyéb adatok...");
    QAction* export1 = data->addAction("Export");   // E taken: next word start, then any letter
    QMenu* sub = data->addMenu("Kép export");      // K reserved by &Kilépés
    QAction* subItem = sub->addAction("Export Excelbe");
    data->addSeparator();
    QAction* list = view->addAction("Lista nézet");
    AssignMnemonics(&bar);

    QSet<QChar> top;
    for (QAction* a : bar.actions()) {
        const int at = a->text().indexOf('&');
        ASSERT_GE(at, 0) << a->text().toStdString();
        EXPECT_FALSE(top.contains(a->text()[at + 1].toCaseFolded())) << a->text().toStdString();
        top.insert(a->text()[at + 1].toCaseFolded());
    }
    EXPECT_EQ(exit->text(), "&Kilépés");
    EXPECT_EQ(other->text(), "&Egyéb adatok...");
    EXPECT_EQ(WithoutMnemonic(export1->text()), "Export");
    EXPECT_NE(export1->text(), "&Export");
    EXPECT_EQ(WithoutMnemonic(sub->menuAction()->text()), "Kép export");
    EXPECT_FALSE(sub->menuAction()->text().startsWith("&K"));
    EXPECT_EQ(subItem->text(), "&Export Excelbe");
    EXPECT_EQ(list->text(), "&Lista nézet");
    EXPECT_EQ(WithoutMnemonic("a && b"), "a & b");
}
