#include "bitmaps/Bitmaps.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(BitmapLookup, NamesAndSizes)
{
    struct Case { const char* name; QSize size; };
    const Case cases[] = {
        {"IKON_V", {18, 18}}, {"IKON_M", {18, 18}}, {"IKON_H", {18, 18}}, {"IKON_I", {18, 18}},
        {"IKON_B", {18, 18}}, {"IKON_K", {18, 18}}, {"IKON_P", {18, 18}}, {"IKON_S", {18, 18}},
        {"BACK_02", {250, 152}}, {"FOIST_001", {47, 40}}, {"FOIST_020", {47, 40}}, {"FOIST_401", {47, 40}},
        {"FOIST_408", {47, 40}}, {"FOIST_550", {47, 40}}, {"FOIST_559", {47, 40}}, {"FOIST_560", {47, 40}},
        {"TAB_MARK_1", {16, 16}}, {"TAB_MARK_2", {16, 16}}, {"ERROR_ICON", {32, 32}},
    };
    for (const Case& c : cases) EXPECT_EQ(BuiltinBitmap(QString::fromLatin1(c.name)).size(), c.size) << c.name;

    for (const char* unknown : {"", "IKON_X", "IKON_v", "FOIST_021", "FOIST_1", "FOIST_409", "BACK_01", "ikon_v"})
        EXPECT_TRUE(BuiltinBitmap(QString::fromLatin1(unknown)).isNull()) << unknown;
    EXPECT_TRUE(TransparentBitmap(QImage()).isNull());
    EXPECT_TRUE(BuiltinTransparentBitmap(QStringLiteral("IKON_Q")).isNull());
    // 8 icons, 31 portraits, the tile, two tab marks and the error picture.
    EXPECT_EQ(BuiltinBitmapNames().size(), 8 + 31 + 1 + 2 + 1);
}

TEST(BitmapIcons, TwentyFourBitsWithAnUnpaintedBackground)
{
    for (const QString& name : BuiltinBitmapNames()) {
        if (!name.startsWith(QStringLiteral("IKON_"))) continue;
        const QImage icon = BuiltinBitmap(name);
        EXPECT_EQ(icon.depth(), 24) << name.toStdString();
        EXPECT_EQ(icon.pixel(0, 17), ICON_BACKGROUND) << name.toStdString();
        int background = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) background += icon.pixel(x, y) == ICON_BACKGROUND;
        EXPECT_GT(background, 4) << name.toStdString();
        EXPECT_LT(background, 18 * 18 / 3) << name.toStdString();

        const QImage clear = TransparentBitmap(icon);
        EXPECT_EQ(qAlpha(clear.pixel(0, 17)), 0);
        EXPECT_EQ(qAlpha(clear.pixel(17, 0)), 0);
        EXPECT_EQ(qAlpha(clear.pixel(9, 9)), 255);
    }
}

TEST(BitmapIcons, PathKindsDifferAtAGlance)
{
    // Distinct centre colours (the fill, not the glyph) and distinct pictures.
    QSet<QRgb> fills;
    QSet<QByteArray> pictures;
    for (const char* name : {"IKON_V", "IKON_M", "IKON_H", "IKON_I", "IKON_B", "IKON_K", "IKON_P", "IKON_S"}) {
        const QImage icon = BuiltinBitmap(QString::fromLatin1(name));
        fills.insert(icon.pixel(4, 9));
        pictures.insert(QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));
    }
    EXPECT_EQ(fills.size(), 8);
    EXPECT_EQ(pictures.size(), 8);
    // The same picture on every lookup.
    EXPECT_EQ(BuiltinBitmap(QStringLiteral("IKON_V")), BuiltinBitmap(QStringLiteral("IKON_V")));
    EXPECT_NE(BuiltinBitmap(QStringLiteral("FOIST_001")), BuiltinBitmap(QStringLiteral("FOIST_002")));
}

TEST(BitmapTile, BackgroundIsOpaqueAndTilesWithoutASeam)
{
    const QImage tile = BuiltinBitmap(QStringLiteral("BACK_02"));
    EXPECT_EQ(tile.depth(), 24);
    // Opposite edges hold the same lattice points, so neighbouring tiles continue each other.
    auto dark = [&](int x, int y) { return qGray(tile.pixel(x, y)) < 200; };
    EXPECT_TRUE(dark(0, 76));
    EXPECT_TRUE(dark(249, 76));
    EXPECT_TRUE(dark(125, 0));
    EXPECT_TRUE(dark(125, 151));
}
