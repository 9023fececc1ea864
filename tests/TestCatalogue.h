#pragma once
// A private copy of the demo catalogue in a temporary program folder, for tests that write.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "QtPrint.h"
#include "app/Program.h"
#include "storage/DbProvider.h"

class TTempCatalogue {
public:
    TTempCatalogue()
    {
        EXPECT_TRUE(CopyCatalogue(QStringLiteral(VELKOR_DEMO_DIR), Dir.path()))
            << "demo catalogue missing in " VELKOR_DEMO_DIR;
    }
    QString ProgramDir() const { return Dir.path(); }
    QString DbPath() const { return Dir.path() + "/DB/Velkor.db"; }

    QTemporaryDir Dir;
};

// The first column of the first row of a statement, as text (empty when there is no row).
inline QString ScalarOn(TConnection& conn, const QString& sql)
{
    TQuery q(&conn);
    q.SetSQL(sql);
    q.Open();
    return q.IsEmpty() ? QString() : q.Fields(0).AsString();
}

// A connection to a fresh copy of the demo catalogue, with a scratch query for reading back.
class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { Conn.Open(Cat.DbPath()); }

    // The first column of the first row of a statement, as text (empty when there is no row).
    QString Scalar(const QString& sql) { return ScalarOn(Conn, sql); }

    TTempCatalogue Cat;
    TConnection Conn;
};

#include <sqlite3.h>

// An empty catalogue made from the schema script, for tests that need exact rows of their own.
class TSchemaCatalogue {
public:
    TSchemaCatalogue()
    {
        QDir(Dir.path()).mkpath("DB");
        QFile schema(QStringLiteral(VELKOR_SOURCE_DIR "/demo/schema.sql"));
        EXPECT_TRUE(schema.open(QIODevice::ReadOnly));
        Exec(schema.readAll());
    }
    // Runs raw SQL with a plain SQLite connection (as another tool would).
    void Exec(const QByteArray& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(DbPath().toUtf8().constData(), &db), SQLITE_OK);
        char* err = nullptr;
        const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(db);
    }
    QString ProgramDir() const { return Dir.path(); }
    QString DbPath() const { return Dir.path() + "/DB/Velkor.db"; }

    QTemporaryDir Dir;
};

#include <QProcess>

// Makes a file or folder unwritable even for root (the immutable attribute) for its lifetime.
// Active() is false where the attribute cannot be set; tests then skip.
class TImmutable {
public:
    explicit TImmutable(const QString& path) : FPath(path)
    {
        FOn = QProcess::execute("chattr", {"+i", path}) == 0;
    }
    ~TImmutable()
    {
        if (FOn) QProcess::execute("chattr", {"-i", FPath});
    }
    bool Active() const { return FOn; }

private:
    QString FPath;
    bool FOn = false;
};
