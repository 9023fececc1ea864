#pragma once
// Backups of the catalogue: copies taken with the engine's online backup from the program's own
// connection, the thinning of old copies, the inspection of a copy, a restore into the open
// connection, and the check that tells a sound catalogue from a damaged one. No windows here:
// failures throw EDatabaseError with a Hungarian message.
#include "storage/DbProvider.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct sqlite3;

namespace Backup {

// How many copies the thinning keeps: the newest Recent ones, plus the newest of each of the last
// Days calendar days, Weeks weeks (Monday to Sunday) and Months calendar months.
struct TRetention {
    int Recent = 12;
    int Days = 10;
    int Weeks = 8;
    int Months = 12;
};

// "Velkor-2026-12-09_21-36-41.db": the time, local, to the second.
QString BackupFileName(const QDateTime& when);
// The time in such a name; nullopt for any other name (those files are never touched).
std::optional<QDateTime> ParseBackupFileName(const QString& fileName);

// The names among fileNames (bare names, no folder) that the thinning removes at the time now.
// Names that are not backups are never returned.
QStringList ObsoleteBackups(const QStringList& fileNames, const QDateTime& now, const TRetention& keep = {});

// The backup folder of a catalogue: folderSetting when given (relative to the working folder),
// else "Mentések" beside the catalogue file.
QString BackupFolder(const QString& catalogueFile, const QString& folderSetting);

// Copies the open catalogue into folder as BackupFileName(when) (the next free second when that
// name is taken). The copy is written under a name that is no backup's and renamed when whole, so
// a crash leaves no file that looks complete. Returns the path written; throws EDatabaseError.
// The catalogue itself is only read.
QString BackupTo(TConnection& source, const QString& folder, const QDateTime& when);
// The same from any open handle (the benchmark's bare engine compares against this).
QString BackupHandleTo(sqlite3* source, const QString& folder, const QDateTime& when);

// Removes the obsolete backups of folder (and unfinished copies older than an hour); returns the
// names removed.
QStringList ThinBackups(const QString& folder, const QDateTime& now, const TRetention& keep = {});

// Empty when the catalogue is sound: the engine's quick check passes and the card tables are
// there. Otherwise says what is wrong, in Hungarian. A lock held by another program is no damage:
// it gives an empty text.
QString CheckCatalogue(sqlite3* db);
// The same for a file that is not open (read only; a missing file is a problem too).
QString CheckCatalogueFile(const QString& file);

// How many rows the connection has written since it opened: a change tells the interval backup
// that there is something new to keep.
qint64 ChangeCount(const TConnection& connection);
// True while the connection is inside a transaction (a copy then waits).
bool InWrite(const TConnection& connection);

// What the restore list shows of one backup, read from the file itself.
struct TBackupInfo {
    QString FilePath;
    QDateTime When;
    qint64 Size = 0;
    qint64 Cards = -1;
    qint64 Decks = -1;
    qint64 Filters = -1;
    QString Problem;  // empty: the copy is sound and may be restored
    bool Sound() const { return Problem.isEmpty(); }
};
TBackupInfo InspectBackup(const QString& filePath);
// The backups of folder, newest first, with only their names and sizes read (fast).
QList<TBackupInfo> ListBackups(const QString& folder);
// The newest backup of folder that passes the check, if any.
std::optional<TBackupInfo> NewestSoundBackup(const QString& folder);

// Replaces the content of the open catalogue with a backup, all at once through the engine (the
// whole copy or nothing). The backup is checked first; throws EDatabaseError on any failure,
// leaving the catalogue as it was.
void RestoreInto(TConnection& target, const QString& backupFile);

// Writes a sound copy of sourceFile to targetFile (which must not exist), through a temporary
// name; for a catalogue that is not open (the recovery at start). Throws EDatabaseError.
void CopyDatabaseFile(const QString& sourceFile, const QString& targetFile);

// Moves a catalogue that cannot be used (with its journal) aside, as
// "Velkor-hibás-<yyyy-MM-dd_HH-mm-ss>.db" in its folder; returns the new path, or empty when
// there was no file. Throws EDatabaseError when the move fails.
QString MoveAside(const QString& catalogueFile, const QDateTime& when);

}  // namespace Backup
