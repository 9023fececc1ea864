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
