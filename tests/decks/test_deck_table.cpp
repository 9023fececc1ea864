// The in-memory deck and its model: the order after every change, the current row, the totals,
// the row colours, and the name order of the search box.
#include "decks/uCardLists.h"
#include "decks/uDeckModel.h"
#include "decks/uDeckTable.h"

#include <QAbstractItemModelTester>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TDeckRow Card(qint64 id, const QString& number, int group, int db = 1, int hp = 0)
{
    TDeckRow r;
    r.L_ID = id;
    r.L_LAPSZAM = number;
    r.L_NEV = QStringLiteral("Lap ") + number;
    r.TECHSORREND = group;
    r.DB = db;
    r.HP = hp;
    return r;
}

QStringList Numbers(const TDeckTable& t)
{
    QStringList out;
    for (const TDeckRow& r : t.Rows()) out << QString::number(r.TECHSORREND) + ":" + r.L_LAPSZAM;
    return out;
}

}  // namespace

TEST(DeckTable, StaysSortedByGroupThenNumberAfterEveryChange)
{
    TDeckTable t;
    TDeckModel model(t);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Loaded out of order: sorted at once; the number compares without letter case.
    t.Load({Card(1, "300", 3), Card(2, "b05", 1), Card(3, "A07", 1)});
    EXPECT_EQ(Numbers(t), QStringList({"1:A07", "1:b05", "3:300"}));
    EXPECT_EQ(t.RecNo(), 0);

    t.SetRecNo(2);  // 3:300
    // A group-2 card lands between groups 1 and 3 at once; the current row stays on its card.
    EXPECT_EQ(t.Insert(Card(4, "200", 2)), 2);
    EXPECT_EQ(Numbers(t), QStringList({"1:A07", "1:b05", "2:200", "3:300"}));
    EXPECT_EQ(t.Row(t.RecNo()).L_ID, 1);
    // Equal numbers in one group keep the order they came in.
    t.Insert(Card(5, "a07", 1));
    EXPECT_EQ(Numbers(t), QStringList({"1:A07", "1:a07", "1:b05", "2:200", "3:300"}));
}

TEST(DeckTable, CurrentRowFollowsItsCard)
{
    TDeckTable t;
    t.Load({Card(1, "100", 1), Card(2, "300", 3)});
    t.SetRecNo(1);
    t.Insert(Card(3, "200", 2));
    EXPECT_EQ(t.Row(t.RecNo()).L_ID, 2);
    t.Insert(Card(4, "400", 4));  // after the current row: it does not move
    EXPECT_EQ(t.Row(t.RecNo()).L_ID, 2);
    t.Decrement(t.Find(1));  // a row before the current one goes
    EXPECT_EQ(t.Row(t.RecNo()).L_ID, 2);
    t.Decrement(t.Find(2));  // the current row goes: the row in its place becomes current
    EXPECT_EQ(t.Row(t.RecNo()).L_ID, 4);
    t.Decrement(t.Find(4));
    EXPECT_EQ(t.Row(t.RecNo()).L_ID, 3);
    t.Decrement(t.Find(3));
    EXPECT_EQ(t.RecNo(), -1);
    // The first card of an empty deck becomes current.
    t.Insert(Card(5, "500", 5));
    EXPECT_EQ(t.RecNo(), 0);
}

TEST(DeckTable, CopiesAndTotals)
{
    TDeckTable t;
    TDeckModel model(t);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(t.CardCount(), 1);  // the main god alone
    EXPECT_EQ(t.PowerPoints(), 0);

    t.Insert(Card(7, "070", 2, 1, DeckPowerPoints(2)));
    t.Increment(0);
    t.Increment(0);
    ASSERT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(t.Row(0).DB, 3);
    EXPECT_EQ(t.CardCount(), 4);
    EXPECT_EQ(t.PowerPoints(), 6);

    // Power points of 3 or more count as none.
    EXPECT_EQ(DeckPowerPoints(3), 0);
    EXPECT_EQ(DeckPowerPoints(5), 0);
    EXPECT_EQ(DeckPowerPoints(1), 1);
    t.Insert(Card(8, "080", 2, 1, DeckPowerPoints(3)));
    EXPECT_EQ(t.CardCount(), 5);
    EXPECT_EQ(t.PowerPoints(), 6);

    // One copy less keeps the row until its last copy.
    t.Decrement(t.Find(7));
    EXPECT_EQ(t.Row(t.Find(7)).DB, 2);
    t.Decrement(t.Find(8));
    EXPECT_EQ(t.Find(8), -1);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, TDeckModel::colDb).data().toInt(), 2);
}

TEST(DeckTable, RowColoursByGroup)
{
    EXPECT_EQ(*DeckGroupColor(0, false), QColor(255, 255, 255));
    EXPECT_EQ(*DeckGroupColor(-1, true), QColor(128, 128, 128));
    EXPECT_EQ(*DeckGroupColor(1, false), QColor(192, 255, 255));
    EXPECT_EQ(*DeckGroupColor(2, true), QColor(128, 64, 128));
    EXPECT_EQ(*DeckGroupColor(6, false), QColor(255, 192, 192));
    EXPECT_EQ(*DeckGroupColor(5, true), QColor(64, 64, 128));
    EXPECT_FALSE(DeckGroupColor(7, false).has_value());
    EXPECT_FALSE(DeckGroupColor(-2, true).has_value());

    TDeckTable t;
    TDeckModel model(t);
    t.Load({Card(1, "100", 4)});
    EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 255, 192));
    EXPECT_EQ(model.index(0, 0).data(TDeckModel::GroupRole).toInt(), 4);
}

TEST(CardLists, NamesSortInHungarianOrderIgnoringCase)
{
    const std::vector<QString> names = {"Ozsonna", "cukor", "Ödön", "Csiga", "ábel", "Abel", "Zab", "abel"};
    QStringList sorted;
    for (int i : SortedNameOrder(names)) sorted << names[size_t(i)];
    // "Cs" is a letter of its own after "C"; "Ö" after "O"; letter case and accents of the same
    // base letter come after the plain form only as a tie-break.
    EXPECT_LT(sorted.indexOf("cukor"), sorted.indexOf("Csiga"));
    EXPECT_LT(sorted.indexOf("Ozsonna"), sorted.indexOf("Ödön"));
    EXPECT_LT(sorted.indexOf("Abel"), sorted.indexOf("ábel"));
    EXPECT_EQ(sorted.last(), "Zab");
    // Equal but for case: the tie-break makes the order total, and equal names keep their order.
    const std::vector<QString> same = {"Kő", "kő", "Kő"};
    const std::vector<int> order = SortedNameOrder(same);
    EXPECT_LT(std::find(order.begin(), order.end(), 0), std::find(order.begin(), order.end(), 2));
}
