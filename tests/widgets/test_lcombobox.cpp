// The keyed combo box: selection by key and by text on a real widget.
#include "widgets/LComboBox.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include "QtPrint.h"

TEST(LComboBox, SelectsByKeyAndByText)
{
    TLComboBox cb;
    cb.AddKeyed("t", "tömeg");
    cb.AddKeyed("g", "gyakori");
    cb.AddKeyed("á", "átlagos");
    cb.AddKeyed("G", "nagy G");
    EXPECT_EQ(cb.LItems(), QStringList({"t", "g", "á", "G"}));
    cb.SelectByKey("á");
    EXPECT_EQ(cb.currentText(), "átlagos");
    EXPECT_EQ(cb.SelectedKey(), "á");
    cb.SelectByKey("G");  // case-sensitive
    EXPECT_EQ(cb.currentText(), "nagy G");
    cb.SelectByKey("x");  // unknown key: nothing selected
    EXPECT_EQ(cb.currentIndex(), -1);
    EXPECT_EQ(cb.SelectedKey(), "");
    cb.SelectByText("gyakori");
    EXPECT_EQ(cb.SelectedKey(), "g");
    cb.SelectByText("nincs");  // unchanged
    EXPECT_EQ(cb.SelectedKey(), "g");
    cb.Clear();
    EXPECT_EQ(cb.count(), 0);
    EXPECT_TRUE(cb.LItems().isEmpty());
    EXPECT_EQ(cb.SelectedKey(), "");
}

TEST(LComboBox, ManyItemsAtOnceKeepTheirKeysIndexForIndex)
{
    TLComboBox cb;
    cb.AddKeyed("1", "egy");
    cb.AddKeyedItems({"2", "3", "4"}, {"kettő", "három"});  // a key without a text is not added
    EXPECT_EQ(cb.count(), 3);
    EXPECT_EQ(cb.LItems(), QStringList({"1", "2", "3"}));
    cb.SelectByKey("3");
    EXPECT_EQ(cb.currentText(), "három");
    cb.SelectByText("kettő");
    EXPECT_EQ(cb.SelectedKey(), "2");
}
