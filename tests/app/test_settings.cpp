// The settings file round trip on real INI files, with the defaults and bad values.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/uSettings.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "storage/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

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

// The permission bits of owner, group and others (not those of the user running the test).
QFile::Permissions ModeOf(const QString& path)
{
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                    QFile::ExeOther;
    return QFile::permissions(path) & mode;
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The keys of one section, in file order, as "KEY=VALUE" lines.
QStringList SectionLines(const QString& path, const QString& wanted)
{
    QStringList out;
    QString section;
    for (const QString& raw : ReadAll(path).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('[')) section = line.mid(1, line.size() - 2);
        else if (!line.isEmpty() && section == wanted) out << line;
    }
    return out;
}

// One start and close of the program as far as the settings go: read, then write back.
QStringList StartAndClose(const QString& ini)
{
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    EXPECT_TRUE(WriteSettings(ini, s, cols));
    QStringList order;
    for (const auto& c : cols.cCols.Cols) order << c.FieldName();
    return order;
}

const QStringList kDefaultOrder = {"L_LAPSZAM", "L_NEV",    "VELKOR_NEV", "LAPTIPUS_NEV", "L_SZINT",
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
    EXPECT_EQ(FieldOrder(cols), kDefaultOrder);
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
    EXPECT_EQ(keys.keys(), QStringList({"BACKUP", "GFX", "GYUJTEMENY", "PAKLI", "PATHS", "cCols_ORDER", "cCols_ORDERING",
                                        "cCols_ORDERNUM", "cCols_VISIBLE", "cCols_WIDTH"}));
    EXPECT_EQ(keys["PAKLI"], QStringList({"Kezdokez=7"}));
    EXPECT_EQ(keys["GYUJTEMENY"], QStringList({"Megtartott=3"}));
    EXPECT_EQ(keys["BACKUP"], QStringList({"Enabled=1", "IntervalMinutes=30", "Folder="}));
    EXPECT_EQ(keys["PATHS"], QStringList({"GfxPath=GFX", "DBPATH=Db\\Velkor.mdb"}));
    EXPECT_EQ(keys["GFX"], QStringList({"CacheSize=20", "PictureMode=0"}));
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
    s.OpeningHand = 12;
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
    EXPECT_EQ(r.OpeningHand, 12);
    EXPECT_EQ(r.DBPATH, s.DBPATH);  // kept as it was, whatever it names
    EXPECT_EQ(FieldOrder(back), FieldOrder(cols));
    EXPECT_EQ(back.BuildOrderBy(), cols.BuildOrderBy());
    EXPECT_EQ(back.BuildOrderBy(), "ORDER BY L_NEV COLLATE NOCASE DESC,L_HP ASC");
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

TEST(SettingsFile, TheColumnOrderSurvivesEveryRestartNotOnlyTheFirst)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    TSettings s;
    TdmColumns cols;
    cols.MoveColumn(0, 5);
    ASSERT_TRUE(WriteSettings(ini, s, cols));
    // The next session moves two more columns and closes.
    cols.MoveColumn(8, 1);
    cols.MoveColumn(3, 6);
    ASSERT_TRUE(WriteSettings(ini, s, cols));
    TdmColumns back;
    ReadSettings(ini, s, back);
    EXPECT_EQ(FieldOrder(back), FieldOrder(cols));
    // The ordering keys stand in ascending position.
    QStringList expected;
    for (int i = 0; i < cols.cCols.Count(); ++i) expected << cols.cCols[i].FieldName() + "=" + QString::number(i);
    EXPECT_EQ(SectionLines(ini, "cCols_ORDERING"), expected);

    // Many random layouts, each written over the last one, each read back as it was.
    srand(7);
    for (int round = 0; round < 40; ++round) {
        for (int m = 0; m < 3; ++m) cols.MoveColumn(rand() % 9, rand() % 9);
        ASSERT_TRUE(WriteSettings(ini, s, cols));
        TdmColumns again;
        ReadSettings(ini, s, again);
        ASSERT_EQ(FieldOrder(again), FieldOrder(cols)) << "round " << round;
    }
}

TEST(SettingsFile, OrderingKeysOutOfPositionGiveTheSameLayoutAtEveryStart)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    // Written by hand (or by an older program): keys not in ascending position, an unknown column.
    WriteText(ini,
              "[PATHS]\nGfxPath=GFX\n[sajat]\nmegjegyzes=marad\n[cCols_ORDERING]\nL_DB=0\nL_NEV=7\nL_HP=2\n"
              "L_LAPSZAM=4\nREGI_OSZLOP=3\n[cCols_WIDTH]\nREGI_OSZLOP=50\nL_NEV=90\n");
    const QStringList first = StartAndClose(ini);
    const QStringList second = StartAndClose(ini);
    const QStringList third = StartAndClose(ini);
    EXPECT_EQ(second, first);
    EXPECT_EQ(third, first);
    // Keys of columns the program does not have are dropped; other sections stay.
    EXPECT_FALSE(ReadAll(ini).contains("REGI_OSZLOP"));
    EXPECT_EQ(SectionLines(ini, "sajat"), QStringList({"megjegyzes=marad"}));
    EXPECT_TRUE(SectionLines(ini, "cCols_WIDTH").contains("L_NEV=90"));
}

TEST(SettingsFile, TextsThatAreNotUtf8AreWrittenBackByteForByte)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[PATHS]\r\nGfxPath=K\xE9pek\r\nDBPATH=C:\\J\xE1t\xE9k\\Velkor.mdb\r\n");
    }
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    ASSERT_TRUE(WriteSettings(ini, s, cols));
    const QByteArray written = ReadBytes(ini);
    EXPECT_TRUE(written.contains("GfxPath=K\xE9pek\n") || written.contains("GfxPath=K\xE9pek\r\n")) << written.constData();
    EXPECT_TRUE(written.contains("DBPATH=C:\\J\xE1t\xE9k\\Velkor.mdb")) << written.constData();

    // A text changed in memory is written as the new text, in UTF-8.
    s.GfxPath = QStringLiteral("Képek");
    ASSERT_TRUE(WriteSettings(ini, s, cols));
    EXPECT_TRUE(ReadBytes(ini).contains("GfxPath=K\xC3\xA9pek"));
    TSettings r;
    ReadSettings(ini, r, cols);
    EXPECT_EQ(r.GfxPath, QStringLiteral("Képek"));
}

TEST(SettingsFile, AReadOnlySettingsFileIsLeftAsItIs)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    WriteText(ini, "[PATHS]\nGfxPath=Sajat\n");
    const QByteArray before = ReadBytes(ini);
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    cols.MoveColumn(0, 3);
    QString why;
    EXPECT_FALSE(WriteSettings(ini, s, cols, &why));
    EXPECT_TRUE(why.contains("nem írható")) << why.toStdString();
    EXPECT_TRUE(why.contains("csak olvasható")) << why.toStdString();
    EXPECT_EQ(ReadBytes(ini), before);
    EXPECT_EQ(ModeOf(ini), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"velkor.ini"}));
}

TEST(SettingsFile, ASymbolicLinkIsWrittenThroughAndStaysALink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("valodi"));
    const QString target = dir.filePath("valodi/beallitas.ini");
    WriteText(target, "[PATHS]\nGfxPath=Kepek\n");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QString ini = SettingsFileName(dir.path());
    ASSERT_TRUE(QFile::link("valodi/beallitas.ini", ini));
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    EXPECT_EQ(s.GfxPath, "Kepek");
    cols.MoveColumn(0, 2);
    ASSERT_TRUE(WriteSettings(ini, s, cols));
    EXPECT_TRUE(QFileInfo(ini).isSymLink());
    EXPECT_EQ(QFileInfo(ini).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    EXPECT_TRUE(SectionLines(target, "cCols_ORDERING").contains("L_LAPSZAM=2"));
    // The file keeps its permissions.
    EXPECT_EQ(ModeOf(target), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

TEST(SettingsFile, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString ini = SettingsFileName(dir.path());
    WriteText(ini, "[PATHS]\nGfxPath=Regi\n");
    const QByteArray before = ReadBytes(ini);
    TSettings s;
    TdmColumns cols;
    ReadSettings(ini, s, cols);
    // The disk takes no more than 64 bytes per file: the settings (some 700 bytes) do not fit.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString why;
    const bool ok = WriteSettings(ini, s, cols, &why);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(why.contains("nem írható")) << why.toStdString();
    EXPECT_EQ(ReadBytes(ini), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"velkor.ini"}));
}

TEST(SettingsAtClose, AReadOnlySettingsFileIsKeptAndTheUserIsTold)
{
    TTempCatalogue cat;
    const QString ini = SettingsFileName(cat.ProgramDir());
    WriteText(ini, "[PATHS]\nGfxPath=GFX\n");
    const QByteArray before = ReadBytes(ini);
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup));
    TTestUiHost ui;
    {
        TProgram program(cat.ProgramDir());
        program.Create();
        dmColumns->MoveColumn(0, 4);
        fMain->close();
    }
    ASSERT_EQ(ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(ui.Of(TUiKind::Warning)[0].Text.contains("csak olvasható"));
    EXPECT_EQ(ReadBytes(ini), before);
}
