#pragma once
// The settings file "velkor.ini" beside the program: picture folder, cache size, a catalogue path
// kept for the user, and the grid's column layout.
#include <QByteArray>
#include <QString>

class IColumnLayout;

struct TSettings {
    QString GfxPath = QStringLiteral("GFX");
    int CacheSize = 20;
    QString DBPATH = QStringLiteral("Db\\Velkor.mdb");
    int OpeningHand = 7;  // the deck odds' opening hand ("Kezdőkéz")
    int KeepCopies = 3;   // the collection's copies kept per card ("Megtartott példány", 1 to 99)
    int PictureMode = 0;  // the picture page's mode, 0 to 3 ([GFX] PictureMode)
    QString LastFolder;   // where the last file was saved ([PATHS] LastFolder); empty: none yet
    // The catalogue chosen with "Katalógus megnyitása..." ([PATHS] Katalogus, written only when
    // set); empty: DB/Velkor.db in the program folder. DBPATH stays the user's own note.
    QString CatalogueFile;
    // [BACKUP]: automatic copies of the catalogue; an empty folder is "Mentések" beside it.
    bool BackupEnabled = true;
    int BackupIntervalMinutes = 30;
    QString BackupFolder;
    // The two texts exactly as the file held them: a value that is not UTF-8 (written on another
    // system) goes back byte for byte while the text above is left unchanged.
    QByteArray GfxPathStored;
    QByteArray DBPATHStored;
};

// The settings file of a program folder.
QString SettingsFileName(const QString& programDir);

// A missing file, section or key, or a value that is not an integer, gives the default.
void ReadSettings(const QString& fileName, TSettings& settings, IColumnLayout& columns);
// Returns false and leaves the old file as it was when the file cannot be written (an unwritable
// folder, a read-only file, a failed write); errorText says why. A symbolic link is written
// through, the link itself stays.
bool WriteSettings(const QString& fileName, const TSettings& settings, const IColumnLayout& columns,
                   QString* errorText = nullptr);

// An integer as the settings file writes it: optional sign and decimal digits, surrounding blanks
// allowed, nothing else (no hex, no exponent, no overflow). The one parser of settings values.
bool ParseIniInteger(const QByteArray& text, int& value);
