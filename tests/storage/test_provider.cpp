// The provider adaptor on real SQLite files: cursor, parameters, notifications, transactions,
// the Unicode LIKE and comparison, and refused catalogue files.
#include "TestCatalogue.h"

#include <QFile>
#include <QSignalSpy>
#include <QCryptographicHash>
#include <QProcess>

namespace {

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class ProviderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cat.Exec(
            "INSERT INTO TVELKOR VALUES ('M001','Égi'),('M002','Alvilági');"
            "INSERT INTO TLAPTIPUS VALUES ('L001','Hadak',2),('L004','Főisten',0);"
            "INSERT INTO TLAP (L_ID,L_LAPSZAM,L_NEV,L_VELKOR,L_LAPTIPUS,L_LEIDEZES,L_SZINT,L_UTAK,L_HP,L_DB) VALUES"
            " (1,'001','Ábel','M001','L001','vv',2,'',NULL,3),"
            " (2,'002','Abel','M001','L001','m',NULL,'',1,NULL),"
            " (3,'003','Csiga','M002','L001','h',1,'',NULL,NULL),"
            " (4,'004','Cukor','M002','L001','i',5,'',2,1),"
            " (5,'005','Ödön','M001','L004','',NULL,'2110',NULL,NULL),"
            " (6,'006','Ozsonna','M002','L001','v',3,'',NULL,NULL),"
            " (7,'007','ábra','M002','L001','v',3,'',NULL,NULL),"
            " (8,'008','O''Brien','M001','L001','v',3,'',NULL,NULL);");
        Conn.Open(Cat.DbPath());
    }

    QStringList Column(const QString& sql, const QString& field = QString())
    {
        TQuery q(&Conn);
        q.SetSQL(sql);
        q.Open();
        QStringList out;
        for (q.First(); !q.Eof(); q.Next()) {
            out << (field.isEmpty() ? q.Fields(0).AsString() : q.FieldByName(field).AsString());
            if (q.RecNo() == q.RecordCount() - 1) break;
        }
        return out;
    }

    TSchemaCatalogue Cat;
    TConnection Conn;
};

}  // namespace

TEST_F(ProviderTest, CursorMovesStopAtTheEnds)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT L_LAPSZAM FROM TLAP ORDER BY L_LAPSZAM");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 8);
    EXPECT_EQ(q.RecNo(), 0);
    EXPECT_TRUE(q.Bof());
    EXPECT_EQ(q.MoveBy(5), 5);
    EXPECT_EQ(q.Fields(0).AsString(), "006");
    EXPECT_EQ(q.MoveBy(5), 2);  // stops at the last row
    EXPECT_EQ(q.RecNo(), 7);
    EXPECT_TRUE(q.Eof());
    q.Next();
    EXPECT_EQ(q.RecNo(), 7);
    EXPECT_EQ(q.MoveBy(-100), -7);
    EXPECT_EQ(q.RecNo(), 0);
    EXPECT_TRUE(q.Bof());
    q.Prior();
    EXPECT_EQ(q.RecNo(), 0);

    // Walking with Next ends on Eof after the last row.
    int seen = 0;
    for (q.First(); !q.Eof(); q.Next()) ++seen;
    EXPECT_EQ(seen, 8);
}

TEST_F(ProviderTest, BookmarksAndLocate)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT L_ID, L_LAPSZAM, L_NEV FROM TLAP ORDER BY L_LAPSZAM");
    q.Open();
    q.MoveBy(3);
    const auto mark = q.GetBookmark();
    q.Last();
    q.GotoBookmark(mark);
    EXPECT_EQ(q.FieldByName("L_LAPSZAM").AsString(), "004");

    EXPECT_TRUE(q.Locate("L_LAPSZAM", "007"));
    EXPECT_EQ(q.FieldByName("L_NEV").AsString(), "ábra");
    // Exact match only: a prefix is not enough without loPartialKey.
    EXPECT_FALSE(q.Locate("L_LAPSZAM", "00"));
    EXPECT_EQ(q.RecNo(), 6);
    // Case-insensitive prefix, accents included; the first match in the current order wins.
    EXPECT_TRUE(q.Locate("L_NEV", "áb", loCaseInsensitive | loPartialKey));
    EXPECT_EQ(q.FieldByName("L_NEV").AsString(), "Ábel");
    EXPECT_TRUE(q.Locate("L_NEV", "ÁBR", loCaseInsensitive | loPartialKey));
    EXPECT_EQ(q.FieldByName("L_LAPSZAM").AsString(), "007");
    EXPECT_FALSE(q.Locate("L_NEV", "zzz", loCaseInsensitive | loPartialKey));
    EXPECT_EQ(q.FieldByName("L_LAPSZAM").AsString(), "007");
    EXPECT_THROW(q.Locate("NOPE", "x"), EDatabaseError);
}

TEST_F(ProviderTest, FieldsByNameAndPositionWithNullsAndTypes)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT L_ID, L_NEV, L_SZINT, L_HP, COUNT(*) AS DB FROM TLAP WHERE L_ID = 2 GROUP BY L_ID");
    q.Open();
    EXPECT_EQ(q.FieldByName("l_nev").AsString(), "Abel");
    EXPECT_EQ(q.Fields(0).AsInteger(), 2);
    EXPECT_TRUE(q.FieldByName("L_SZINT").IsNull());
    EXPECT_EQ(q.FieldByName("L_SZINT").AsString(), "");
    EXPECT_EQ(q.FieldByName("L_SZINT").AsInteger(), 0);
    EXPECT_FALSE(q.FieldByName("L_SZINT").AsVariant().isValid());
    EXPECT_EQ(q.FieldByName("L_HP").AsVariant().toInt(), 1);
    EXPECT_EQ(q.FieldType(0), TFieldType::ftInteger);
    EXPECT_EQ(q.FieldType(1), TFieldType::ftString);
    EXPECT_EQ(q.FieldType(2), TFieldType::ftInteger);  // declared INTEGER, even though NULL here
    EXPECT_EQ(q.FieldType(4), TFieldType::ftInteger);  // an expression: from its value
    EXPECT_THROW(q.FieldByName("NINCS"), EDatabaseError);
    q.Close();
    // A closed list reads as empty, never fails.
    EXPECT_EQ(q.RecordCount(), 0);
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.Fields(0).AsString(), "");
}

TEST_F(ProviderTest, ParametersByNameAndPosition)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT L_NEV FROM TLAP WHERE L_VELKOR = :PVELKOR AND L_SZINT >= :pszint AND L_NEV <> ':NOTAPARAM'"
             " ORDER BY L_ID");
    ASSERT_EQ(q.ParamCount(), 2);
    EXPECT_EQ(q.ParamNames(), QStringList({"PVELKOR", "pszint"}));
    q.SetParam("pvelkor", "M002");
    q.SetParam(1, 3);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);  // Cukor 5, Ozsonna 3, ábra 3
    EXPECT_THROW(q.SetParam("NINCS", 1), EDatabaseError);
    EXPECT_THROW(q.SetParam(2, 1), EDatabaseError);

    TCommand c(&Conn);
    c.SetSQL("UPDATE TLAP SET L_DB = :PDB WHERE L_ID = :PID");
    c.SetParam(0, QVariant());  // NULL
    c.SetParam(1, 1);
    EXPECT_EQ(c.Execute(), 1);
    EXPECT_EQ(Column("SELECT COUNT(*) FROM TLAP WHERE L_DB IS NULL").value(0), "7");
}

TEST_F(ProviderTest, LikeAndEqualityFoldEveryLetter)
{
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV LIKE 'áb%' ORDER BY L_ID"), QStringList({"Ábel", "ábra"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV LIKE 'AB%' ORDER BY L_ID"), QStringList({"Abel"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV LIKE '%Ö%' ORDER BY L_ID"), QStringList({"Ödön"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV LIKE '_bel' ORDER BY L_ID"), QStringList({"Ábel", "Abel"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV LIKE 'O_Brien%'"), QStringList({"O'Brien"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV LIKE 'o!_%' ESCAPE '!'"), QStringList());
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV = 'ÁBEL'"), QStringList({"Ábel"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_NEV = \"ödön\""), QStringList({"Ödön"}));
    EXPECT_EQ(Column("SELECT COUNT(*) FROM TLAP WHERE NULL LIKE 'a%'"), QStringList({"0"}));
}

TEST_F(ProviderTest, NamesSortInHungarianOrder)
{
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_ID IN (3,4,5,6) ORDER BY L_NEV"),
              QStringList({"Cukor", "Csiga", "Ozsonna", "Ödön"}));
    EXPECT_EQ(Column("SELECT L_NEV FROM TLAP WHERE L_ID IN (3,4,5,6) ORDER BY L_NEV DESC"),
              QStringList({"Ödön", "Ozsonna", "Csiga", "Cukor"}));
}

TEST_F(ProviderTest, NotificationsAreHeldBackAndSentOnce)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT L_ID FROM TLAP");
    QSignalSpy spy(&q, &TQuery::DataChange);
    q.Open();
    EXPECT_EQ(spy.count(), 1);
    q.Next();
    EXPECT_EQ(spy.count(), 2);
    q.First();
    q.First();  // no move, no notification
    EXPECT_EQ(spy.count(), 3);
    q.DisableControls();
    q.Next();
    q.Next();
    q.Close();
    q.Open();
    EXPECT_EQ(spy.count(), 3);
    q.EnableControls();
    EXPECT_EQ(spy.count(), 4);
}

TEST_F(ProviderTest, TransactionRollsBackWhenLeftByAnException)
{
    const auto count = [&] { return Column("SELECT COUNT(*) FROM TPAKLI").value(0); };
    try {
        TTransaction t(Conn);
        TCommand c(&Conn);
        c.SetSQL("INSERT INTO TPAKLI (P_NEV) VALUES ('x')");
        c.Execute();
        c.SetSQL("INSERT INTO NOSUCHTABLE VALUES (1)");
        c.Execute();
        t.Commit();
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("NOSUCHTABLE")) << e.what();
    }
    EXPECT_EQ(count(), "0");
    {
        TTransaction t(Conn);
        TCommand c(&Conn);
        c.SetSQL("INSERT INTO TPAKLI (P_NEV) VALUES ('y')");
        c.Execute();
        t.Commit();
    }
    EXPECT_EQ(count(), "1");
}

TEST_F(ProviderTest, ErrorsCarryTheEngineMessage)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT NOPE FROM TLAP");
    try {
        q.Open();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("no such column")) << e.what();
    }
    EXPECT_FALSE(q.Active());
}

TEST(ProviderFiles, RefusedCataloguesAreLeftUntouched)
{
    QTemporaryDir dir;
    TConnection conn;
    const QString missing = dir.filePath("nincs.db");
    EXPECT_THROW(conn.Open(missing), EDatabaseError);
    EXPECT_FALSE(QFile::exists(missing));  // never created

    const QString empty = dir.filePath("ures.db");
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_THROW(conn.Open(empty), EDatabaseError);
    EXPECT_EQ(QFileInfo(empty).size(), 0);

    const QString garbage = dir.filePath("szemet.db");
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    const QByteArray before = FileHash(garbage);
    try {
        conn.Open(garbage);
        FAIL() << "garbage opened";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("szemet.db")) << e.what();
    }
    EXPECT_EQ(FileHash(garbage), before);
    EXPECT_FALSE(conn.Connected());
}

TEST(ProviderFiles, ReadOnlyCatalogueIsRefused)
{
    TSchemaCatalogue cat;
    QFile::setPermissions(cat.DbPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    // Root writes read-only files anyway; the immutable attribute stops even root.
    std::unique_ptr<TImmutable> immutable;
    if (QFile(cat.DbPath()).open(QIODevice::ReadWrite)) immutable = std::make_unique<TImmutable>(cat.DbPath());
    if (QFile(cat.DbPath()).open(QIODevice::ReadWrite)) GTEST_SKIP() << "cannot make the file read-only here";
    const QByteArray before = FileHash(cat.DbPath());
    TConnection conn;
    try {
        conn.Open(cat.DbPath());
        FAIL() << "read-only catalogue opened";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("csak olvasható")) << e.what();
    }
    EXPECT_EQ(FileHash(cat.DbPath()), before);
}

// The parameter list is SQLite's own: an apostrophe inside a comment does not hide the parameter
// after it, a name inside a literal or a comment is none, and two spellings of one name share a value.
TEST_F(ProviderTest, ParametersAreTheOnesSqliteSees)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT L_NEV FROM TLAP -- the player's own note\n"
             " WHERE L_VELKOR = :PVELKOR /* ':NOTONE' isn't */ AND L_SZINT >= :pszint"
             " AND L_SZINT >= :PSZINT AND L_NEV <> ':NOTAPARAM' ORDER BY L_ID");
    EXPECT_EQ(q.ParamNames(), QStringList({"PVELKOR", "pszint", "PSZINT"}));
    q.SetParam("pvelkor", "M002");
    q.SetParam("PSzint", 3);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);  // Cukor 5, Ozsonna 3, ábra 3
}
