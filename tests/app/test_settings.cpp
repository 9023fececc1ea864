// The settings file round trip on real INI files, with the defaults and bad values.
#include "app/uSettings.h"
#include "browser/udmColumns.h"
#include "storage/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include "QtPrint.h"

namespace {

QString ReadAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

void WriteText(const QString& path, const QString& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

QStringList FieldOrder(const TdmColumns& cols)
{
    QStringList out;
    for (const auto& c : cols.cCols.Cols) out << c.FieldName();
    return out;
}

const QStringList kDesignOrder = {"L_LAPSZAM", "L_NEV",    "VELKOR_NEV", "LAPTIPUS_NEV", "L_SZINT",
                                  "L_LEIDEZES", "L_UTAK", "L_HP",       "L_DB"};

}  // namespace

TEST(SettingsFile, NoFileGivesDefaultsAndCloseWritesExactlyTheKnownKeys)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    TSettings s;
    s.GfxPath = "x";
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    EXPECT_EQ(s.GfxPath, "GFX");
    EXPECT_EQ(s.CacheSize, 20);
    EXPECT_EQ(s.DBPATH, "Db\\Velkor.mdb");
    EXPECT_EQ(FieldOrder(cols), kDesignOrder);
    for (const auto& c : cols.cCols.Cols) {
        EXPECT_EQ(c.Width, 120);
        EXPECT_TRUE(c.Visible);
        EXPECT_EQ(c.OrderNum, 0);
        EXPECT_EQ(c.Order, ordNone);
    }
    ASSERT_TRUE(WriteSettings(ini, s, cols));

    // Read back with a plain line reader: sections and keys, nothing more.
    QMap<QString, QStringList> keys;
    QString section;
    for (const QString& raw : ReadAll(ini).split('\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';')) continue;
        if (line.startsWith('[')) {
            section = line.mid(1, line.size() - 2);
            keys[section];
        } else {
            keys[section] << line;
        }
    }
    EXPECT_EQ(keys.keys(), QStringList({"GFX", "PATHS", "cCols_ORDER", "cCols_ORDERING", "cCols_ORDERNUM",
                                        "cCols_VISIBLE", "cCols_WIDTH"}));
    EXPECT_EQ(keys["PATHS"], QStringList({"GfxPath=GFX", "DBPATH=Db\\Velkor.mdb"}));
    EXPECT_EQ(keys["GFX"], QStringList({"CacheSize=20"}));
    EXPECT_EQ(keys["cCols_WIDTH"].size(), 9);
    EXPECT_EQ(keys["cCols_ORDERING"].value(0), "L_LAPSZAM=0");
    EXPECT_EQ(keys["cCols_ORDERING"].value(8), "L_DB=8");
}

TEST(SettingsFile, LayoutSurvivesARoundTrip)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    TSettings s;
    s.GfxPath = "/kepek/velkor";
    s.CacheSize = 55;
    s.DBPATH = "C:\\valahol\\mas.mdb";
    TdmColumns cols;
    cols.MoveColumn(1, 7);
    cols.MoveColumn(0, 3);
    cols.cCols[2].Width = 77;
    cols.cCols[4].Visible = false;
    cols.TitleClick("L_NEV", false);
    cols.TitleClick("L_NEV", false);
    cols.TitleClick("L_HP", true);
    ASSERT_TRUE(WriteSettings(ini, s, cols));

    TSettings r;
    TdmColumns back;
    ReadSettings(ini, r, back);
    EXPECT_EQ(r.GfxPath, s.GfxPath);
    EXPECT_EQ(r.CacheSize, 55);
    EXPECT_EQ(r.DBPATH, s.DBPATH);  // kept as it was, whatever it names
    EXPECT_EQ(FieldOrder(back), FieldOrder(cols));
    EXPECT_EQ(back.BuildOrderBy(), cols.BuildOrderBy());
    EXPECT_EQ(back.BuildOrderBy(), "ORDER BY L_NEV DESC,L_HP ASC");
    for (int i = 0; i < cols.cCols.Count(); ++i) {
        EXPECT_EQ(back.cCols[i].Width, cols.cCols[i].Width) << i;
        EXPECT_EQ(back.cCols[i].Visible, cols.cCols[i].Visible) << i;
    }
}

TEST(SettingsFile, BadValuesGiveDefaults)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    WriteText(ini,
              "garbage line without section\n[GFX]\nCacheSize=12abc\n[PATHS]\nGfxPath=Kepek\n"
              "[cCols_WIDTH]\nL_NEV=0x40\nL_HP=-\nL_DB= 45 \n[cCols_VISIBLE]\nL_NEV=0\nL_HP=2\nL_DB=igen\n"
              "[cCols_ORDER]\nL_NEV=7\n[cCols_ORDERNUM]\nL_NEV=1\n");
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    EXPECT_EQ(s.CacheSize, 20);
    EXPECT_EQ(s.GfxPath, "Kepek");
    const auto& nev = cols.cCols[cols.FindColumn("L_NEV")];
    EXPECT_EQ(nev.Width, 120);  // hex is not an integer here
    EXPECT_FALSE(nev.Visible);
    EXPECT_EQ(nev.Order, ordNone);  // 7 is no direction
    EXPECT_EQ(cols.cCols[cols.FindColumn("L_HP")].Width, 120);
    EXPECT_TRUE(cols.cCols[cols.FindColumn("L_HP")].Visible);  // any value but 0 shows
    EXPECT_EQ(cols.cCols[cols.FindColumn("L_DB")].Width, 45);
    EXPECT_TRUE(cols.cCols[cols.FindColumn("L_DB")].Visible);  // not an integer: default 1
}

TEST(SettingsFile, OrderingKeysMoveColumnsInFileOrder)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    // An unknown field moves the first column (index 0) to its position.
    WriteText(ini, "[cCols_ORDERING]\nL_DB=0\nNINCS_ILYEN=3\n");
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    EXPECT_EQ(FieldOrder(cols), QStringList({"L_LAPSZAM", "L_NEV", "VELKOR_NEV", "L_DB", "LAPTIPUS_NEV", "L_SZINT",
                                             "L_LEIDEZES", "L_UTAK", "L_HP"}));

    WriteText(ini, "[cCols_ORDERING]\nL_NEV=12\n");
    TdmColumns other;
    EXPECT_THROW(ReadSettings(ini, s, other), EConvertError);
}

TEST(SettingsFile, UnwritableFolderIsReportedAndNothingIsHalfWritten)
{
    TSettings s;
    TdmColumns cols;
    QString why;
    EXPECT_FALSE(WriteSettings("/proc/velkor-nincs/velkor.ini", s, cols, &why));
    EXPECT_TRUE(why.contains("nem írható"));
}

TEST(SettingsFile, IntegerParsing)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {{"12", true, 12},   {" -3 ", true, -3}, {"+7", true, 7},      {"", false, 0},
                 {"0x10", false, 0}, {"1e3", false, 0},  {"99999999999", false, 0}, {"-", false, 0}};
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(ParseIniInteger(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}
