// The provider's share of data safety, on real catalogue files: values read back in the storage
// class they are stored in and bound back exactly, immediate transactions, why a catalogue cannot
// be opened, Hungarian name order whatever the file declares, control characters in quick filters.
#include "TestCatalogue.h"

#include "browser/udmColumns.h"
#include "filters/uQPList.h"
#include "storage/uAM.h"

#include <QFile>

namespace {

// A raw engine connection, as another program holds the file.
class TRawConnection {
public:
    explicit TRawConnection(const QString& file)
    {
        EXPECT_EQ(sqlite3_open(file.toUtf8().constData(), &Db), SQLITE_OK);
    }
    ~TRawConnection() { sqlite3_close(Db); }
    int Exec(const char* sql) { return sqlite3_exec(Db, sql, nullptr, nullptr, nullptr); }
    sqlite3* Db = nullptr;
};

QString OpenError(const QString& file, int busyMs = 50)
{
    TConnection c;
    c.SetBusyTimeout(busyMs);
    try {
        c.Open(file);
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return QString();
}

}  // namespace

TEST_F(CatalogueTest, StoredValuesKeepTheirStorageClassAndMatchOnlyThemselves)
{
    Conn.ExecuteDirect("CREATE TABLE T (K, V)");
    Conn.ExecuteDirect("INSERT INTO T VALUES (1, 5), (2, '5'), (3, 2.5), (4, '1) OR (1=1'), (5, NULL), "
                       "(6, x'410042'), (7, 0)");
    TQuery q(&Conn);
    q.SetSQL("SELECT K, V FROM T ORDER BY K");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 7);
    EXPECT_EQ(q.StoredValue(0, 1).typeId(), QMetaType::LongLong);
    EXPECT_EQ(q.StoredValue(1, 1).typeId(), QMetaType::QString);
    EXPECT_EQ(q.StoredValue(2, 1).typeId(), QMetaType::Double);
    EXPECT_EQ(q.StoredValue(3, 1).toString(), "1) OR (1=1");
    EXPECT_FALSE(q.StoredValue(4, 1).isValid());
    EXPECT_EQ(q.StoredValue(5, 1).toByteArray(), QByteArray("A\0B", 3));  // the NUL does not cut it
    EXPECT_TRUE(SameStoredValue(q.StoredValue(0, 1), QVariant(qint64(5))));
    EXPECT_FALSE(SameStoredValue(q.StoredValue(0, 1), q.StoredValue(1, 1)));  // 5 and "5" differ

    // Bound back, each value finds its own row and no other.
    for (int r = 0; r < q.RecordCount(); ++r) {
        TQuery find(&Conn);
        find.SetSQL(r == 4 ? "SELECT group_concat(K) FROM T WHERE V IS :V" : "SELECT group_concat(K) FROM T WHERE V = :V");
        find.SetParam("V", q.StoredValue(r, 1));
        find.Open();
        EXPECT_EQ(find.Fields(0).AsString(), q.ValueText(r, 0)) << r;
    }
}

TEST_F(CatalogueTest, AnImmediateTransactionKeepsOtherWritersOutAndRollsBack)
{
    const QString row = "SELECT L_NEV || '/' || COALESCE(L_DB, 'NULL') FROM TLAP WHERE L_ID = 1";
    const QString before = Scalar(row);
    TRawConnection other(Cat.DbPath());
    sqlite3_busy_timeout(other.Db, 20);
    {
        TTransaction t(Conn, TTransaction::Immediate);
        // Another program can neither start a write nor slip one in before ours.
        EXPECT_EQ(other.Exec("UPDATE TLAP SET L_NEV = 'más' WHERE L_ID = 1"), SQLITE_BUSY);
        Conn.ExecuteDirect("UPDATE TLAP SET L_NEV = 'félbehagyott' WHERE L_ID = 1");
        {
            TTransaction inner(Conn, TTransaction::Immediate);  // inside one: a savepoint
            Conn.ExecuteDirect("UPDATE TLAP SET L_DB = 99 WHERE L_ID = 1");
            inner.Commit();
        }
    }  // left without Commit: everything goes back
    EXPECT_EQ(Scalar(row), before);
    EXPECT_EQ(other.Exec("UPDATE TLAP SET L_NEV = 'más' WHERE L_ID = 1"), SQLITE_OK);  // the lock is gone
    {
        TTransaction t(Conn, TTransaction::Immediate);
        Conn.ExecuteDirect("UPDATE TLAP SET L_NEV = 'megmarad' WHERE L_ID = 1");
        t.Commit();
    }
    EXPECT_EQ(Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 1"), "megmarad");
}

TEST(CatalogueOpen, ALockedCatalogueSaysItIsLockedNotThatItIsNoCatalogue)
{
    TTempCatalogue cat;
    TRawConnection holder(cat.DbPath());
    ASSERT_EQ(holder.Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    const QString why = OpenError(cat.DbPath());
    EXPECT_TRUE(why.contains("zárolja")) << why.toStdString();
    EXPECT_FALSE(why.contains("nem Velkor katalógus")) << why.toStdString();
    holder.Exec("ROLLBACK");
    EXPECT_EQ(OpenError(cat.DbPath()), "");
}

TEST(CatalogueOpen, AJournalThatCannotBeRolledBackSaysWhatIsNotWritable)
{
    TTempCatalogue cat;
    // An interrupted write: a copy of the file and its journal taken in the middle of one.
    QTemporaryDir crashed;
    const QString file = crashed.path() + "/Velkor.db";
    {
        TRawConnection writer(cat.DbPath());
        ASSERT_EQ(writer.Exec("PRAGMA cache_size = 1; BEGIN; UPDATE TLAP SET L_INFO = hex(randomblob(300));"),
                  SQLITE_OK);
        ASSERT_TRUE(QFile::exists(cat.DbPath() + "-journal"));
        ASSERT_TRUE(QFile::copy(cat.DbPath(), file));
        ASSERT_TRUE(QFile::copy(cat.DbPath() + "-journal", file + "-journal"));
        writer.Exec("ROLLBACK");
    }
    QString original;
    {
        TConnection c;
        c.Open(cat.DbPath());
        original = ScalarOn(c, "SELECT group_concat(COALESCE(L_INFO, '-')) FROM TLAP");
    }
    {
        TImmutable locked(crashed.path());  // the folder: the journal cannot be removed
        if (!locked.Active()) GTEST_SKIP() << "chattr is not available here";
        const QString why = OpenError(file);
        EXPECT_TRUE(why.contains("nem írható")) << why.toStdString();
        EXPECT_FALSE(why.contains("nem Velkor katalógus")) << why.toStdString();
    }
    // Once the folder is writable, the interrupted write is rolled back and nothing of it stays.
    TConnection c;
    c.Open(file);
    EXPECT_EQ(ScalarOn(c, "SELECT group_concat(COALESCE(L_INFO, '-')) FROM TLAP"), original);
    EXPECT_FALSE(QFile::exists(file + "-journal"));
}

TEST(CatalogueOpen, AFileThatIsNoDatabaseIsStillCalledSo)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/Velkor.db";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_TRUE(OpenError(file).contains("nem Velkor katalógus")) << OpenError(file).toStdString();
}

namespace {

// A catalogue made by another tool from the table layout: no column declares a collation.
class TPlainCatalogue : public TSchemaCatalogue {
public:
    static QByteArray PlainSchema()
    {
        QFile schema(QStringLiteral(VELKOR_SOURCE_DIR "/demo/schema.sql"));
        EXPECT_TRUE(schema.open(QIODevice::ReadOnly));
        return schema.readAll().replace(" COLLATE NOCASE", "");
    }
    TPlainCatalogue()
    {
        // The base made the declared tables; start again from the plain ones.
        QFile::remove(DbPath());
        Exec(PlainSchema());
        Exec("INSERT INTO TVELKOR VALUES ('M001', 'Zóna'), ('M002', 'ária');"
             "INSERT INTO TLAPTIPUS VALUES ('L008', 'Vezér', 8);"
             "INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_SZINT) VALUES "
             "(1, '001', 'Zúzó', 'M001', 'L008', 10), (2, '002', 'Ábel', 'M002', 'L008', 2), "
             "(3, '003', 'Csiga', 'M001', 'L008', NULL), (4, '004', 'Cukor', 'M001', 'L008', 9), "
             "(5, '005', 'abroncs', 'M002', 'L008', 1);"
             "INSERT INTO TTULAJDONSAG VALUES ('T001', 'Zord'), ('T002', 'ének'), ('T003', 'Álom');");
    }
};

class TOrderHost : public TCardListHost {
public:
    QString CardListOrderBy() override { return Columns.BuildOrderBy(); }
    void ShowError(const QString& context, const QString& message) override { Errors << context + message; }
    TdmColumns Columns;
    QStringList Errors;
};

QStringList ColumnOf(TQuery& q, const QString& field)
{
    QStringList out;
    for (int r = 0; r < q.RecordCount(); ++r) out << q.ValueText(r, q.FindField(field));
    return out;
}

}  // namespace

TEST(PlainCatalogue, NamesSortInHungarianOrderWhateverTheFileDeclares)
{
    TPlainCatalogue cat;
    TAM am(cat.ProgramDir());
    TOrderHost host;
    TQPList none;
    am.SetHost(&host);
    am.SetConditions(&none);
    ASSERT_TRUE(am.Connect());

    host.Columns.TitleClick("L_NEV", false);
    am.ReQuery();
    ASSERT_TRUE(host.Errors.isEmpty()) << host.Errors.join("\n").toStdString();
    // Binary order would be Csiga, Cukor, Zúzó, abroncs, Ábel.
    EXPECT_EQ(ColumnOf(am.qLapok, "L_NEV"), QStringList({"Ábel", "abroncs", "Cukor", "Csiga", "Zúzó"}));

    // A pantheon name column sorts the same way; a number column still sorts as numbers.
    host.Columns.TitleClick("VELKOR_NEV", false);
    am.ReQuery();
    EXPECT_EQ(ColumnOf(am.qLapok, "VELKOR_NEV").first(), "ária");
    host.Columns.TitleClick("L_SZINT", false);
    am.ReQuery();
    EXPECT_EQ(ColumnOf(am.qLapok, "L_SZINT"), QStringList({"", "1", "2", "9", "10"}));

    // The program's own name lists too.
    am.qTulQuery.Open();
    EXPECT_EQ(ColumnOf(am.qTulQuery, "TULAJDONSAG_NEV"), QStringList({"Álom", "ének", "Zord"}));
}

TEST(QuickFilter, ControlCharactersPastedIntoABoxNeverReachTheStatement)
{
    EXPECT_EQ(StripControlCharacters(QString::fromUtf8("Áb\0el\x01\x1f\x7f", 9)), "Ábel");
    EXPECT_EQ(StripControlCharacters("a\tb;c\r\nd"), "a b;c\r\nd");  // line breaks still separate

    TTempCatalogue cat;
    TAM am(cat.ProgramDir());
    TQPList conditions;
    struct THost : TCardListHost {
        TQPList* List = nullptr;
        QString Box;
        void RebuildQuickSearchPieces() override { ::RebuildQuickSearchPieces(*List, {{"L_NEV", Box}}, nullptr); }
        void ShowError(const QString& context, const QString& message) override { Errors << context + message; }
        QStringList Errors;
    } host;
    host.List = &conditions;
    host.Box = QString::fromUtf8("Re\0nd\x02", 6).append(QChar(0));
    am.SetHost(&host);
    am.SetConditions(&conditions);
    ASSERT_TRUE(am.Connect());
    am.ReQuery();
    EXPECT_TRUE(host.Errors.isEmpty()) << host.Errors.join("\n").toStdString();
    ASSERT_EQ(conditions.Count(), 1);
    EXPECT_EQ(conditions[0]->Value, "Rend");
    EXPECT_FALSE(am.qLapok.SQL().contains(QChar(0)));
    EXPECT_EQ(am.qLapok.RecordCount(),
              ScalarOn(am.ADOConnection, "SELECT COUNT(*) FROM TLAP WHERE L_NEV LIKE 'Rend%'").toInt());
}
