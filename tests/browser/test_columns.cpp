// The column model: sort keys, ORDER BY text and column moves.
#include "browser/udmColumns.h"

#include <gtest/gtest.h>

#include "QtPrint.h"

TEST(ColumnModel, TitleClicksBuildTheSort)
{
    TdmColumns m;
    EXPECT_EQ(m.BuildOrderBy(), "");
    m.TitleClick("L_LAPSZAM", false);
    EXPECT_EQ(m.BuildOrderBy(), "ORDER BY L_LAPSZAM ASC");
    m.TitleClick("L_LAPSZAM", false);
    EXPECT_EQ(m.BuildOrderBy(), "ORDER BY L_LAPSZAM DESC");
    m.TitleClick("L_NEV", false);  // a plain click starts a new sort
    EXPECT_EQ(m.BuildOrderBy(), "ORDER BY L_NEV COLLATE NOCASE ASC");
    EXPECT_EQ(m.cCols[0].OrderNum, 0);
    EXPECT_EQ(m.cCols[0].Order, ordNone);

    m.ClearOrdering();
    m.TitleClick("L_LAPSZAM", false);
    m.TitleClick("L_NEV", true);  // Ctrl+click adds a key
    EXPECT_EQ(m.BuildOrderBy(), "ORDER BY L_LAPSZAM ASC,L_NEV COLLATE NOCASE ASC");
    EXPECT_EQ(m.CountOrdered(), 2);
    EXPECT_EQ(m.NextOrderNum(), 3);
    m.TitleClick("L_LAPSZAM", true);  // a sorting column flips, keeps its number
    EXPECT_EQ(m.BuildOrderBy(), "ORDER BY L_LAPSZAM DESC,L_NEV COLLATE NOCASE ASC");
}

TEST(ColumnModel, OrderByWithGapsAndDuplicateNumbers)
{
    TdmColumns m;
    // Two columns share number 1: both appear, in model order.
    m.cCols[3].OrderNum = 1;
    m.cCols[3].Order = ordDesc;
    m.cCols[1].OrderNum = 1;
    m.cCols[1].Order = ordAsc;
    EXPECT_EQ(m.BuildOrderBy(), "ORDER BY L_NEV COLLATE NOCASE ASC,LAPTIPUS_NEV COLLATE NOCASE DESC");

    // A number above the count of sorting columns is left out.
    TdmColumns g;
    g.cCols[0].OrderNum = 1;
    g.cCols[0].Order = ordAsc;
    g.cCols[2].OrderNum = 5;
    g.cCols[2].Order = ordAsc;
    EXPECT_EQ(g.BuildOrderBy(), "ORDER BY L_LAPSZAM ASC");

    // Only out-of-range numbers: no key at all gives no clause rather than a bare "ORDER BY".
    TdmColumns h;
    h.cCols[4].OrderNum = 3;
    h.cCols[4].Order = ordAsc;
    EXPECT_EQ(h.BuildOrderBy(), "");
}

TEST(ColumnModel, FindAndMove)
{
    TdmColumns m;
    EXPECT_EQ(m.FindColumn("L_HP"), 7);
    EXPECT_EQ(m.FindColumn("l_hp"), 0);  // exact, case-sensitive
    EXPECT_EQ(m.FindColumn("NINCS"), 0);
    m.MoveColumn(0, 8);
    EXPECT_EQ(m.cCols[8].FieldName(), "L_LAPSZAM");
    EXPECT_EQ(m.cCols[0].FieldName(), "L_NEV");
    m.MoveColumn(8, 2);
    EXPECT_EQ(m.cCols[2].FieldName(), "L_LAPSZAM");
    EXPECT_EQ(m.cCols[1].FieldName(), "VELKOR_NEV");
    EXPECT_EQ(m.cCols[3].FieldName(), "LAPTIPUS_NEV");

    TColumnCollItem item;
    item.SetFieldName("TLAP.L_NEV");
    EXPECT_EQ(item.FieldAlias(), "L_NEV");
    EXPECT_EQ(TdmColumns::OrderToText(ordNone), "");
}
