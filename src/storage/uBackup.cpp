#include "storage/uBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>

namespace Backup {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
const QString kPartSuffix = QStringLiteral(".part");
// Another program holding the catalogue is waited for this many times 10 ms, then it is a failure.
// Short steps: a writer's commits leave only brief gaps for a reader to get in.
const int kBusyRetries = 500;

// The tables the program reads; a catalogue without one of them is not usable.
const char* const kTables[] = {"TVELKOR", "TLAPTIPUS", "TTULAJDONSAG", "TKATEGORIA", "TLAP",
                               "TLAPTUL", "TMEGJ",     "TSPEC",        "TFILTERBASE", "TFILTER",
                               "TFILTERTYPE", "TFILTEROP", "TSZURESLAP", "TPAKLI",    "TPAKLILAP"};

QString Utf8(const char* s) { return QString::fromUtf8(s ? s : ""); }

// A plain engine handle that is always closed.
struct THandle {
    sqlite3* Db = nullptr;
    ~THandle() { sqlite3_close_v2(Db); }
};

void OpenPlain(THandle& h, const QString& file, int flags)
{
    if (sqlite3_open_v2(file.toUtf8().constData(), &h.Db, flags, nullptr) != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("A fájl nem nyitható meg: ") + file + QStringLiteral(" (") +
                             Utf8(sqlite3_errmsg(h.Db)) + u')');
}

void RemoveWithJournal(const QString& file)
{
    QFile::remove(file);
    QFile::remove(file + QStringLiteral("-journal"));
}

bool IsBusy(int rc) { return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED; }

// Runs the engine's backup from source into dest until it is done; a lock is waited for a
// bounded time. Returns the engine's last code and leaves the message in *error.
int RunBackup(sqlite3* dest, sqlite3* source, QString* error)
{
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    if (!b) {
        *error = Utf8(sqlite3_errmsg(dest));
        return sqlite3_errcode(dest);
    }
    int rc = SQLITE_OK;
    for (int tries = 0;;) {
        rc = sqlite3_backup_step(b, -1);
        if (rc == SQLITE_DONE || rc == SQLITE_OK) {
            if (rc == SQLITE_DONE) break;
            continue;
        }
        if (IsBusy(rc) && ++tries <= kBusyRetries) {
            QThread::msleep(10);
            continue;
        }
        break;
    }
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) {
        const QString destMessage = Utf8(sqlite3_errmsg(dest));
        *error = Utf8(sqlite3_errstr(rc));
        if (!destMessage.isEmpty() && destMessage != QStringLiteral("not an error") && destMessage != *error)
            *error += QStringLiteral(" (") + destMessage + u')';
    }
    return rc;
}

// Writes a copy of source as finalPath, through a temporary name beside it that no backup has.
void WriteCopy(sqlite3* source, const QString& finalPath)
{
    const QFileInfo info(finalPath);
    const QString temp = info.dir().filePath(u'.' + info.fileName() + kPartSuffix);
    RemoveWithJournal(temp);
    QString error;
    int rc = SQLITE_OK;
    {
        THandle dest;
        if (sqlite3_open_v2(temp.toUtf8().constData(), &dest.Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            error = Utf8(sqlite3_errmsg(dest.Db));
            rc = SQLITE_CANTOPEN;
        } else {
            rc = RunBackup(dest.Db, source, &error);
        }
        if (rc == SQLITE_DONE && sqlite3_close(dest.Db) != SQLITE_OK) {
            error = Utf8(sqlite3_errmsg(dest.Db));
            rc = SQLITE_IOERR;
        } else if (rc == SQLITE_DONE) {
            dest.Db = nullptr;
        }
    }
    if (rc != SQLITE_DONE) {
        RemoveWithJournal(temp);
        throw EDatabaseError(QStringLiteral("A mentés nem írható: ") + finalPath + QStringLiteral(" (") + error + u')');
    }
    // The finished copy takes its real name in one step; an existing file is never replaced.
    if (!QFile::rename(temp, finalPath)) {
        RemoveWithJournal(temp);
        throw EDatabaseError(QStringLiteral("A mentés nem nevezhető át: ") + finalPath);
    }
}

QDate WeekStart(const QDate& d) { return d.addDays(1 - d.dayOfWeek()); }

}  // namespace

QString BackupFileName(const QDateTime& when)
{
    return QStringLiteral("Velkor-") + when.toString(kStampFormat) + QStringLiteral(".db");
}

std::optional<QDateTime> ParseBackupFileName(const QString& fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^Velkor-(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})\\.db$"));
    const QRegularExpressionMatch m = pattern.match(fileName);
    if (!m.hasMatch()) return std::nullopt;
    const QDateTime when = QDateTime::fromString(m.captured(1), kStampFormat);
    if (!when.isValid()) return std::nullopt;
    return when;
}

QStringList ObsoleteBackups(const QStringList& fileNames, const QDateTime& now, const TRetention& keep)
{
    struct TItem {
        QString Name;
        QDateTime When;
    };
    std::vector<TItem> items;
    for (const QString& name : fileNames)
        if (const auto when = ParseBackupFileName(name)) items.push_back({name, *when});
    // Newest first; the same second twice keeps the larger name first, so the order is total.
    std::sort(items.begin(), items.end(), [](const TItem& a, const TItem& b) {
        return a.When != b.When ? a.When > b.When : a.Name > b.Name;
    });

    const QDate today = now.date();
    QSet<QString> kept;
    QSet<qint64> days, weeks, months;
    for (size_t i = 0; i < items.size(); ++i) {
        const QDate d = items[i].When.date();
        const qint64 daysAgo = d.daysTo(today);
        const qint64 weeksAgo = WeekStart(d).daysTo(WeekStart(today)) / 7;
        const qint64 monthsAgo = qint64(today.year() - d.year()) * 12 + today.month() - d.month();
        bool keepIt = int(i) < keep.Recent || daysAgo < 0;  // a copy from the future: the clock moved, keep it
        if (daysAgo >= 0 && daysAgo < keep.Days && !days.contains(daysAgo)) {
            days.insert(daysAgo);
            keepIt = true;
        }
        if (weeksAgo >= 0 && weeksAgo < keep.Weeks && !weeks.contains(weeksAgo)) {
            weeks.insert(weeksAgo);
            keepIt = true;
        }
        if (monthsAgo >= 0 && monthsAgo < keep.Months && !months.contains(monthsAgo)) {
            months.insert(monthsAgo);
            keepIt = true;
        }
        if (keepIt) kept.insert(items[i].Name);
    }
    QStringList obsolete;
    for (const TItem& item : items)
        if (!kept.contains(item.Name)) obsolete << item.Name;
    return obsolete;
}

QString BackupFolder(const QString& catalogueFile, const QString& folderSetting)
{
    if (!folderSetting.trimmed().isEmpty()) return QDir::cleanPath(QDir::current().absoluteFilePath(folderSetting));
    return QFileInfo(catalogueFile).absoluteDir().filePath(QStringLiteral("Mentések"));
}

QString BackupHandleTo(sqlite3* source, const QString& folder, const QDateTime& when)
{
    if (!QDir().mkpath(folder))
        throw EDatabaseError(QStringLiteral("A mentések mappája nem hozható létre: ") + folder);
    QDateTime stamp = when;
    QString target = QDir(folder).filePath(BackupFileName(stamp));
    while (QFileInfo::exists(target)) {
        stamp = stamp.addSecs(1);
        target = QDir(folder).filePath(BackupFileName(stamp));
    }
    WriteCopy(source, target);
    return target;
}

QString BackupTo(TConnection& source, const QString& folder, const QDateTime& when)
{
    if (!source.Connected()) throw EDatabaseError(QStringLiteral("Nincs kapcsolat a katalógussal"));
    // A copy taken through our own connection inside an unfinished write would hold half of it.
    if (!sqlite3_get_autocommit(source.Handle()))
        throw EDatabaseError(QStringLiteral("A katalógus írása még folyamatban van, most nem menthető."));
    return BackupHandleTo(source.Handle(), folder, when);
}

QStringList ThinBackups(const QString& folder, const QDateTime& now, const TRetention& keep)
{
    const QDir dir(folder);
    const QStringList obsolete = ObsoleteBackups(dir.entryList(QDir::Files), now, keep);
    QStringList removed;
    for (const QString& name : obsolete)
        if (QFile::remove(dir.filePath(name))) removed << name;
    // Copies left unfinished by a crash; a recent one may still be in the making by another run.
    for (const QFileInfo& part : dir.entryInfoList({QStringLiteral(".Velkor-*.db") + kPartSuffix},
                                                   QDir::Files | QDir::Hidden))
        if (part.lastModified().secsTo(now) > 3600) RemoveWithJournal(part.filePath());
    return removed;
}

QString CheckCatalogue(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    QStringList problems;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const QString line = Utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            if (line != QStringLiteral("ok") && problems.size() < 5) problems << line;
        }
    }
    const QString message = Utf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    if (IsBusy(rc)) return QString();  // another program holds it: not damage
    if (rc != SQLITE_DONE) return QStringLiteral("A katalógus sérült vagy nem adatbázis: ") + message;
    if (!problems.isEmpty())
        return QStringLiteral("A katalógus ellenőrzése hibát talált: ") + problems.join(QStringLiteral("; "));

    QStringList missing;
    for (const char* table : kTables) {
        sqlite3_stmt* q = nullptr;
        bool found = false;
        if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE",
                               -1, &q, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(q, 1, table, -1, SQLITE_STATIC);
            found = sqlite3_step(q) == SQLITE_ROW;
        }
        sqlite3_finalize(q);
        if (!found) missing << QString::fromLatin1(table);
    }
    if (!missing.isEmpty())
        return QStringLiteral("A fájl nem teljes Velkor katalógus, hiányzó táblák: ") + missing.join(QStringLiteral(", "));
    return QString();
}

QString CheckCatalogueFile(const QString& file)
{
    if (!QFileInfo(file).isFile()) return QStringLiteral("A katalógus fájlja nem található: ") + file;
    THandle h;
    try {
        OpenPlain(h, file, SQLITE_OPEN_READONLY);
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return CheckCatalogue(h.Db);
}

qint64 ChangeCount(const TConnection& connection)
{
    return connection.Connected() ? qint64(sqlite3_total_changes64(connection.Handle())) : 0;
}

bool InWrite(const TConnection& connection)
{
    return connection.Connected() && !sqlite3_get_autocommit(connection.Handle());
}

TBackupInfo InspectBackup(const QString& filePath)
{
    TBackupInfo info;
    info.FilePath = filePath;
    const QFileInfo file(filePath);
    info.Size = file.size();
    info.When = ParseBackupFileName(file.fileName()).value_or(file.lastModified());
    THandle h;
    try {
        OpenPlain(h, filePath, SQLITE_OPEN_READONLY);
    } catch (const EDatabaseError& e) {
        info.Problem = e.Message();
        return info;
    }
    info.Problem = CheckCatalogue(h.Db);
    if (!info.Problem.isEmpty()) return info;
    auto count = [&](const char* sql) -> qint64 {
        sqlite3_stmt* st = nullptr;
        qint64 n = -1;
        if (sqlite3_prepare_v2(h.Db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        return n;
    };
    info.Cards = count("SELECT COUNT(*) FROM TLAP");
    info.Decks = count("SELECT COUNT(*) FROM TPAKLI");
    info.Filters = count("SELECT COUNT(*) FROM TFILTERBASE");
    if (info.Cards < 0 || info.Decks < 0 || info.Filters < 0)
        info.Problem = QStringLiteral("A mentés nem olvasható: ") + Utf8(sqlite3_errmsg(h.Db));
    return info;
}

QList<TBackupInfo> ListBackups(const QString& folder)
{
    QList<TBackupInfo> list;
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
        const auto when = ParseBackupFileName(file.fileName());
        if (!when) continue;
        TBackupInfo info;
        info.FilePath = file.filePath();
        info.When = *when;
        info.Size = file.size();
        list << info;
    }
    std::sort(list.begin(), list.end(), [](const TBackupInfo& a, const TBackupInfo& b) {
        return a.When != b.When ? a.When > b.When : a.FilePath > b.FilePath;
    });
    return list;
}

std::optional<TBackupInfo> NewestSoundBackup(const QString& folder)
{
    for (const TBackupInfo& b : ListBackups(folder)) {
        const TBackupInfo checked = InspectBackup(b.FilePath);
        if (checked.Sound()) return checked;
    }
    return std::nullopt;
}

void RestoreInto(TConnection& target, const QString& backupFile)
{
    if (!target.Connected()) throw EDatabaseError(QStringLiteral("Nincs kapcsolat a katalógussal"));
    const TBackupInfo info = InspectBackup(backupFile);
    if (!info.Sound())
        throw EDatabaseError(QStringLiteral("A mentés sérült, nem állítható vissza: ") + backupFile +
                             QStringLiteral(" (") + info.Problem + u')');
    THandle source;
    OpenPlain(source, backupFile, SQLITE_OPEN_READONLY);
    QString error;
    // One write of the engine: the whole backup replaces the catalogue, or nothing changes.
    if (RunBackup(target.Handle(), source.Db, &error) != SQLITE_DONE)
        throw EDatabaseError(QStringLiteral("A visszaállítás nem sikerült: ") + error);
}

void CopyDatabaseFile(const QString& sourceFile, const QString& targetFile)
{
    if (QFileInfo::exists(targetFile)) throw EDatabaseError(QStringLiteral("A fájl már létezik: ") + targetFile);
    THandle source;
    OpenPlain(source, sourceFile, SQLITE_OPEN_READONLY);
    if (!QDir().mkpath(QFileInfo(targetFile).absolutePath()))
        throw EDatabaseError(QStringLiteral("A mappa nem hozható létre: ") + QFileInfo(targetFile).absolutePath());
    WriteCopy(source.Db, targetFile);
}

QString MoveAside(const QString& catalogueFile, const QDateTime& when)
{
    if (!QFileInfo::exists(catalogueFile)) return QString();
    const QDir dir = QFileInfo(catalogueFile).absoluteDir();
    QDateTime stamp = when;
    QString aside;
    do {
        aside = dir.filePath(QStringLiteral("Velkor-hibás-") + stamp.toString(kStampFormat) + QStringLiteral(".db"));
        stamp = stamp.addSecs(1);
    } while (QFileInfo::exists(aside));
    if (!QFile::rename(catalogueFile, aside))
        throw EDatabaseError(QStringLiteral("A hibás katalógus nem nevezhető át: ") + catalogueFile);
    // Its unfinished write belongs to it and must not be played into another file.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (QFileInfo::exists(catalogueFile + QLatin1String(suffix)))
            QFile::rename(catalogueFile + QLatin1String(suffix), aside + QLatin1String(suffix));
    return aside;
}

}  // namespace Backup
