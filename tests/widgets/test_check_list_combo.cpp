// The check-list combo as the player uses it: clicks in the dropped-down list mark items, the
// click that opened the list marks nothing.
#include <gtest/gtest.h>

#include "widgets/CheckListCombo.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Combo {
    TCheckListCombo Box;
    Combo()
    {
        for (const char* t : {"Átkozott", "Égi", "Vezérek"}) Box.AddItem(QString::fromUtf8(t), QString(t), Qt::black);
        Box.resize(220, 24);
        Box.show();
    }
    QPoint Row(int i) { return Box.view()->visualRect(Box.view()->model()->index(i, 0)).center(); }
};

TEST(CheckListCombo, AReleaseWithoutAPressInTheListMarksNothing)
{
    Combo c;
    QSignalSpy changed(&c.Box, &TCheckListCombo::CheckedTextChanged);
    c.Box.showPopup();
    // The opening click's release arrives in the list that just appeared over it.
    QTest::mouseRelease(c.Box.view()->viewport(), Qt::LeftButton, {}, c.Row(0));
    EXPECT_FALSE(c.Box.IsChecked(0));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(c.Box.LastCurrentIndex(), -1);
    EXPECT_EQ(c.Box.maxVisibleItems(), 20);
}

TEST(CheckListCombo, ClicksMarkAndUnmarkAndTheTextFollows)
{
    Combo c;
    QSignalSpy changed(&c.Box, &TCheckListCombo::CheckedTextChanged);
    c.Box.showPopup();
    for (int i : {2, 0}) {
        QTest::mousePress(c.Box.view()->viewport(), Qt::LeftButton, {}, c.Row(i));
        QTest::mouseRelease(c.Box.view()->viewport(), Qt::LeftButton, {}, c.Row(i));
    }
    EXPECT_EQ(c.Box.Text(), QString::fromUtf8("[Átkozott, Vezérek]"));  // list order, not click order
    EXPECT_EQ(c.Box.LastCurrentIndex(), 0);
    EXPECT_TRUE(c.Box.view()->isVisible());  // stays open for the next mark
    QTest::keyClick(c.Box.view(), Qt::Key_Space);
    EXPECT_EQ(c.Box.Text(), QString::fromUtf8("[Vezérek]"));
    EXPECT_EQ(changed.count(), 3);
    c.Box.SetChecked(1, true);  // the program's own marks raise nothing
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(c.Box.CheckedText(), QString::fromUtf8("[Égi, Vezérek]"));
}

}  // namespace
