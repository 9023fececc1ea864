#include "bench_backup.h"
#include "bench_util.h"

#include "storage/uBackup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {


// The engine's backup from one handle into a new file, nothing else.
void BareBackup(sqlite3* source, const QString& file)
{
    sqlite3* dest = nullptr;
    sqlite3_open(file.toUtf8().constData(), &dest);
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    while (sqlite3_backup_step(b, -1) == SQLITE_OK) {}
    sqlite3_backup_finish(b);
    sqlite3_close(dest);
}

}  // namespace

void MeasureBackup(const QString& programDir, int repeats)
{
    const QString catalogue = QDir(programDir).filePath("DB/Velkor.db");
    QTemporaryDir out;
    TConnection conn;
    conn.Open(catalogue);
    sqlite3* bare = nullptr;
    sqlite3_open(catalogue.toUtf8().constData(), &bare);
    const int cards = int(Backup::InspectBackup(catalogue).Cards);
    const QDateTime base(QDate(2026, 1, 1), QTime(0, 0));

    QStringList copies;
    const double ours = MedianMs(repeats, [&](int i) {
        copies << Backup::BackupTo(conn, out.filePath("ours"), base.addSecs(i));
        Backup::ThinBackups(out.filePath("ours"), base.addSecs(i));
    });
    const double engine = MedianMs(repeats, [&](int i) { BareBackup(bare, out.filePath("bare-%1.db").arg(i)); });
    Line("backup, online API", cards, ours, engine);

    const double restore = MedianMs(repeats, [&](int) { Backup::RestoreInto(conn, copies.first()); });
    sqlite3* source = nullptr;
    sqlite3_open_v2(copies.first().toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    const double bareRestore = MedianMs(repeats, [&](int) {
        sqlite3_backup* b = sqlite3_backup_init(bare, "main", source, "main");
        while (sqlite3_backup_step(b, -1) == SQLITE_OK) {}
        sqlite3_backup_finish(b);
    });
    sqlite3_close(source);
    Line("restore", cards, restore, bareRestore);

    const double check = MedianMs(repeats, [&](int) { Backup::CheckCatalogue(conn.Handle()); });
    const double bareCheck = MedianMs(repeats, [&](int) { sqlite3_exec(bare, "PRAGMA quick_check", nullptr, nullptr, nullptr); });
    Line("catalogue check at start", cards, check, bareCheck);
    sqlite3_close(bare);
}
