// The provider's share of data safety, on real catalogue files: values read back in the storage
// class they are stored in and bound back exactly, and immediate transactions.
#include "TestCatalogue.h"


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
