#pragma once
// The settings file "velkor.ini" beside the program: picture folder, cache size, a catalogue path
// kept for the user, and the grid's column layout.
#include <QString>

class TColumnCols;
class TdmColumns;

struct TSettings {
    QString GfxPath = QStringLiteral("GFX");
    int CacheSize = 20;
    QString DBPATH = QStringLiteral("Db\\Velkor.mdb");
};

// The settings file of a program folder.
QString SettingsFileName(const QString& programDir);

// A missing file, section or key, or a value that is not an integer, gives the default.
void ReadSettings(const QString& fileName, TSettings& settings, TdmColumns& columns);
// Returns false (and writes nothing) when the file cannot be written; errorText says why.
bool WriteSettings(const QString& fileName, const TSettings& settings, const TdmColumns& columns,
                   QString* errorText = nullptr);

// An integer as the settings file writes it: optional sign and decimal digits, nothing else.
bool ParseIniInteger(const QString& text, int& value);
