// Opening-hand odds against values worked out by hand.
#include "decks/uDeckOdds.h"

#include <gtest/gtest.h>

namespace {

TDeckRow Row(qint64 id, int group, int copies)
{
    TDeckRow r;
    r.L_ID = id;
    r.L_LAPSZAM = QString::number(id).rightJustified(3, u'0');
    r.L_NEV = QStringLiteral("Lap %1").arg(id);
    r.TECHSORREND = group;
    r.DB = copies;
    return r;
}

}  // namespace

TEST(DeckOdds, HandComputedValues)
{
    // 1 - C(36,7)/C(40,7) = 1 - (33*32*31*30)/(40*39*38*37) = 1 - 982080/2193360
    EXPECT_NEAR(ChanceOfAtLeastOne(40, 4, 7), 1.0 - 982080.0 / 2193360.0, 1e-12);
    EXPECT_EQ(FormatChance(ChanceOfAtLeastOne(40, 4, 7)), QStringLiteral("55,2 %"));
    // One copy in 60 cards: exactly hand/deck.
    EXPECT_NEAR(ChanceOfAtLeastOne(60, 1, 7), 7.0 / 60.0, 1e-12);
    // 1 - C(57,7)/C(60,7) = 1 - (53*52*51)/(60*59*58)
    EXPECT_NEAR(ChanceOfAtLeastOne(60, 3, 7), 1.0 - 140556.0 / 205320.0, 1e-12);
    // 1 - C(8,3)/C(10,3) = 1 - 56/120
    EXPECT_NEAR(ChanceOfAtLeastOne(10, 2, 3), 1.0 - 56.0 / 120.0, 1e-12);
}

TEST(DeckOdds, Edges)
{
    // No copies, an empty deck, no hand: nothing can be held.
    EXPECT_EQ(ChanceOfAtLeastOne(40, 0, 7), 0.0);
    EXPECT_EQ(ChanceOfAtLeastOne(0, 0, 7), 0.0);
    EXPECT_EQ(ChanceOfAtLeastOne(40, 4, 0), 0.0);
    // A hand larger than the deck draws every card.
    EXPECT_EQ(ChanceOfAtLeastOne(5, 1, 7), 1.0);
    EXPECT_EQ(ChanceOfAtLeastOne(5, 1, 5), 1.0);
    // A group holding every copy, and one leaving too few others to fill the hand.
    EXPECT_EQ(ChanceOfAtLeastOne(10, 10, 1), 1.0);
    EXPECT_EQ(ChanceOfAtLeastOne(10, 4, 7), 1.0);
    // More copies than cards is clamped, not a probability above 1.
    EXPECT_EQ(ChanceOfAtLeastOne(10, 12, 1), 1.0);
    // A huge deck stays finite and between 0 and 1.
    const double big = ChanceOfAtLeastOne(1'000'000, 3, 20);
    EXPECT_GT(big, 0.0);
    EXPECT_LT(big, 0.001);
}

TEST(DeckOdds, FormatsHungarianPercentages)
{
    EXPECT_EQ(FormatChance(0.0), QStringLiteral("0,0 %"));
    EXPECT_EQ(FormatChance(1.0), QStringLiteral("100,0 %"));
    EXPECT_EQ(FormatChance(7.0 / 60.0), QStringLiteral("11,7 %"));
    // Half a tenth rounds away from zero.
    EXPECT_EQ(FormatChance(0.1235), QStringLiteral("12,4 %"));
}

TEST(DeckOdds, GroupsCountCopiesNotRows)
{
    // 36 copies of group 2 in 9 rows, 4 copies of group 4 in 2 rows: 40 drawn cards.
    std::vector<TDeckRow> rows;
    for (int i = 0; i < 9; ++i) rows.push_back(Row(10 + i, 2, 4));
    rows.push_back(Row(30, 4, 1));
    rows.push_back(Row(31, 4, 3));
    ASSERT_EQ(DrawnDeckSize(rows), 40);
    const std::vector<TGroupOdds> odds = GroupOdds(rows, 7);
    ASSERT_EQ(odds.size(), 2u);
    EXPECT_EQ(odds[0].Group, 2);
    EXPECT_EQ(odds[0].Name, QStringLiteral("Hadak és szörnyetegek"));
    EXPECT_EQ(odds[0].Copies, 36);
    EXPECT_EQ(odds[1].Group, 4);
    EXPECT_EQ(odds[1].Copies, 4);
    EXPECT_EQ(FormatChance(odds[1].Chance), QStringLiteral("55,2 %"));
    // Group 4 cannot be avoided once the hand is larger than the 36 others.
    EXPECT_EQ(GroupOdds(rows, 37)[1].Chance, 1.0);
    EXPECT_TRUE(GroupOdds({}, 7).empty());
}
