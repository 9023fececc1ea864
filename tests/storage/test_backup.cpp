// The backup engine on real catalogue files: the thinning table, copies taken while another
// connection writes, a copy killed midway, restore, and the check of damaged catalogues.
#include "TestCatalogue.h"
#include "storage/uBackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <atomic>
#include <thread>

using namespace Backup;

namespace {

QString Name(const char* stamp) { return QStringLiteral("Velkor-") + QLatin1String(stamp) + QStringLiteral(".db"); }

qint64 CountOn(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    qint64 n = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

QString IntegrityOf(const QString& file)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QString result = QStringLiteral("unreadable");
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result;
}

void ExecOn(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

}  // namespace

TEST(BackupRotation, KeepsRecentThenOnePerDayWeekMonth)
{
    const QDateTime now(QDate(2026, 12, 9), QTime(21, 0));  // a Wednesday
    struct TCase {
        const char* what;
        TRetention keep;
        QStringList files;
        QStringList obsolete;
    };
    const TRetention small{2, 3, 2, 2};
    QStringList burst;  // 20 copies within a minute
    for (int s = 0; s < 20; ++s) burst << Name(QStringLiteral("2026-12-09_20-00-%1").arg(s, 2, 10, QChar('0')).toLatin1());
    const TCase cases[] = {
        {"each period keeps its newest; other names stay", small,
         {Name("2026-12-09_20-00-00"), Name("2026-12-09_19-00-00"), Name("2026-12-09_18-00-00"),
          Name("2026-12-08_10-00-00"), Name("2026-12-08_09-00-00"), Name("2026-12-07_10-00-00"),
          Name("2026-12-06_10-00-00"), Name("2026-12-05_10-00-00"), Name("2026-11-20_10-00-00"),
          Name("2026-11-10_10-00-00"), Name("2026-10-01_10-00-00"), "jegyzet.txt", "Velkor-2020-01-01.db",
          Name("2026-13-01_00-00-00"), Name("2026-12-01_10-00-00") + ".part"},
         {Name("2026-12-09_18-00-00"), Name("2026-12-08_09-00-00"), Name("2026-12-05_10-00-00"),
          Name("2026-11-10_10-00-00"), Name("2026-10-01_10-00-00")}},
        {"a burst keeps the newest twelve", {}, burst, burst.mid(0, 8)},
        {"the newest is kept however old", small, {Name("2019-01-01_00-00-00"), Name("2018-01-01_00-00-00"),
                                                   Name("2017-01-01_00-00-00")},
         {Name("2017-01-01_00-00-00")}},
        {"a copy dated in the future is kept", {1, 1, 1, 1},
         {Name("2027-05-01_00-00-00"), Name("2026-12-09_10-00-00"), Name("2026-12-09_09-00-00")},
         {Name("2026-12-09_09-00-00")}},
        {"the same second twice", {1, 1, 1, 1}, {Name("2026-12-09_10-00-00"), Name("2026-12-09_10-00-00")}, {}},
    };
    for (const TCase& c : cases) {
        QStringList got = ObsoleteBackups(c.files, now, c.keep);
        QStringList want = c.obsolete;
        got.sort();
        want.sort();
        EXPECT_EQ(got, want) << c.what;
    }
}

class BackupEngine : public CatalogueTest {
protected:
    QString Folder() { return Cat.Dir.filePath(QStringLiteral("Mentések")); }
};

// Another connection commits a deck and its card row in one transaction again and again; every
// copy holds the rows of one moment: as many new decks as new card rows, and a sound file.
TEST_F(BackupEngine, CopyWhileAnotherConnectionWritesIsOneMoment)
{
    const qint64 decks0 = Scalar("SELECT COUNT(*) FROM TPAKLI").toLongLong();
    const qint64 rows0 = Scalar("SELECT COUNT(*) FROM TPAKLILAP").toLongLong();
    const qint64 card = Scalar("SELECT MIN(L_ID) FROM TLAP").toLongLong();
    std::atomic<bool> stop{false};
    std::atomic<int> commits{0};
    std::thread writer([&] {
        sqlite3* db = nullptr;
        sqlite3_open(Cat.DbPath().toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        const QByteArray sql = "BEGIN IMMEDIATE; INSERT INTO TPAKLI (P_NEV, P_FOISTENLID) VALUES ('w', " +
                               QByteArray::number(card) + "); INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) "
                               "VALUES (last_insert_rowid(), " + QByteArray::number(card) + ", 1); COMMIT;";
        while (!stop) {
            if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK) ++commits;
            else sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            QThread::usleep(500);
        }
        sqlite3_close(db);
    });
    QStringList copies;
    QString failure;
    try {
        for (int i = 0; i < 8; ++i) {
            while (commits < i + 1) QThread::msleep(1);
            copies << BackupTo(Conn, Folder(), QDateTime(QDate(2026, 1, 1), QTime(10, 0, i)));
        }
    } catch (const EDatabaseError& e) {
        failure = e.Message();
    }
    stop = true;
    writer.join();
    ASSERT_EQ(copies.size(), 8) << failure.toStdString();
    for (const QString& copy : copies) {
        EXPECT_EQ(IntegrityOf(copy), "ok") << copy.toStdString();
        sqlite3* db = nullptr;
        sqlite3_open_v2(copy.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        EXPECT_EQ(CountOn(db, "SELECT COUNT(*) FROM TPAKLI") - decks0, CountOn(db, "SELECT COUNT(*) FROM TPAKLILAP") - rows0);
        sqlite3_close(db);
    }
    EXPECT_TRUE(sqlite3_get_autocommit(Conn.Handle()));
}

// Run by the next test in a child process: copies a large catalogue again and again until killed.
TEST(BackupChild, CopiesUntilKilled)
{
    const QString db = qEnvironmentVariable("VELKOR_BACKUP_CHILD_DB");
    if (db.isEmpty()) GTEST_SKIP() << "runs only as the child of BackupEngine.KilledMidwayLeavesNoFinalName";
    TConnection conn;
    conn.Open(db);
    for (int i = 0;; ++i)
        BackupTo(conn, qEnvironmentVariable("VELKOR_BACKUP_CHILD_DIR"), QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(i));
}

TEST_F(BackupEngine, KilledMidwayLeavesNoFinalName)
{
    // Large enough that a copy takes a while: the kill lands while one is being written.
    ExecOn(Cat.DbPath(), "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                         "INSERT INTO TMEGJ (ME_LAPID, ME_MEGJEGYZES) SELECT -i, hex(randomblob(4000)) FROM n;");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELKOR_BACKUP_CHILD_DB", Cat.DbPath());
    env.insert("VELKOR_BACKUP_CHILD_DIR", Folder());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=BackupChild.CopiesUntilKilled"});
    ASSERT_TRUE(child.waitForStarted());
    const QDir dir(Folder());
    bool partSeen = false;
    for (int i = 0; i < 3000 && !partSeen; ++i) {
        QThread::msleep(2);
        partSeen = dir.exists() && dir.entryList({"*.part"}, QDir::Files | QDir::Hidden).size() > 0 &&
                   dir.entryList({"Velkor-*.db"}, QDir::Files).size() >= 1;
    }
    child.kill();  // SIGKILL
    child.waitForFinished();
    ASSERT_TRUE(partSeen) << "the child never copied";
    const QStringList finals = dir.entryList({"Velkor-*.db"}, QDir::Files);
    ASSERT_FALSE(finals.isEmpty());
    for (const QString& name : finals) EXPECT_EQ(IntegrityOf(dir.filePath(name)), "ok") << name.toStdString();
}

TEST_F(BackupEngine, RestoreReplacesTheCatalogueWhole)
{
    const QString decks = Scalar("SELECT COUNT(*) || '/' || (SELECT COUNT(*) FROM TPAKLILAP) FROM TPAKLI");
    const QString copy = BackupTo(Conn, Folder(), QDateTime::currentDateTime());
    Conn.ExecuteDirect("DELETE FROM TPAKLILAP; DELETE FROM TPAKLI; DROP TABLE TSZURESLAP;");
    RestoreInto(Conn, copy);
    EXPECT_EQ(Scalar("SELECT COUNT(*) || '/' || (SELECT COUNT(*) FROM TPAKLILAP) FROM TPAKLI"), decks);
    EXPECT_EQ(CheckCatalogue(Conn.Handle()), "");
    EXPECT_TRUE(sqlite3_get_autocommit(Conn.Handle()));

    // A damaged copy is refused and the catalogue stays as it is.
    QFile f(copy);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() / 2);
    f.close();
    Conn.ExecuteDirect("DELETE FROM TPAKLILAP");
    EXPECT_THROW(RestoreInto(Conn, copy), EDatabaseError);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLILAP"), "0");
    EXPECT_TRUE(sqlite3_get_autocommit(Conn.Handle()));
}

TEST(BackupCheck, TellsDamagedCataloguesFromSoundOnes)
{
    struct TCase {
        const char* what;
        std::function<void(const QString&)> damage;
        bool sound;
    };
    const TCase cases[] = {
        {"the demo", [](const QString&) {}, true},
        {"a missing table", [](const QString& f) { ExecOn(f, "DROP TABLE TSPEC"); }, false},
        {"truncated", [](const QString& f) { QFile x(f); x.open(QIODevice::ReadWrite); x.resize(x.size() / 2); }, false},
        {"random bytes", [](const QString& f) {
             QFile x(f);
             x.open(QIODevice::WriteOnly | QIODevice::Truncate);
             for (int i = 0; i < 4096; ++i) x.putChar(char((i * 7919) % 251));
         }, false},
        {"a page overwritten", [](const QString& f) {
             QFile x(f);
             x.open(QIODevice::ReadWrite);
             x.seek(x.size() / 2);
             x.write(QByteArray(4096, '\x5a'));
         }, false},
    };
    for (const TCase& c : cases) {
        TTempCatalogue cat;
        c.damage(cat.DbPath());
        const TBackupInfo info = InspectBackup(cat.DbPath());
        EXPECT_EQ(info.Sound(), c.sound) << c.what << ": " << info.Problem.toStdString();
        if (c.sound) {
            EXPECT_GT(info.Cards, 0);
        }
    }
}

TEST(BackupCheck, MoveAsideKeepsTheDamagedFileAndCopyRefusesToOverwrite)
{
    TTempCatalogue cat;
    const QByteArray original = [&] { QFile f(cat.DbPath()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    const QString aside = MoveAside(cat.DbPath(), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    EXPECT_TRUE(aside.endsWith("DB/Velkor-hibás-2026-01-02_03-04-05.db")) << aside.toStdString();
    EXPECT_FALSE(QFileInfo::exists(cat.DbPath()));
    QFile moved(aside);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), original);
    CopyDatabaseFile(aside, cat.DbPath());
    EXPECT_EQ(IntegrityOf(cat.DbPath()), "ok");
    EXPECT_THROW(CopyDatabaseFile(aside, cat.DbPath()), EDatabaseError);
}
