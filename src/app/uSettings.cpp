#include "app/uSettings.h"

#include "app/ColumnLayout.h"
#include "storage/Exceptions.h"

#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <string>

namespace {

const char* const kPaths = "PATHS";
const char* const kGfx = "GFX";
const char* const kDeck = "PAKLI";
const char* const kCollection = "GYUJTEMENY";
const char* const kBackup = "BACKUP";
const char* const kOrder = "cCols_ORDER";
const char* const kOrderNum = "cCols_ORDERNUM";
const char* const kVisible = "cCols_VISIBLE";
const char* const kWidth = "cCols_WIDTH";
const char* const kOrdering = "cCols_ORDERING";

QByteArray ReadBytes(const CSimpleIniA& ini, const char* section, const char* key)
{
    const char* v = ini.GetValue(section, key, nullptr);
    return v ? QByteArray(v) : QByteArray();
}

bool HasKey(const CSimpleIniA& ini, const char* section, const char* key)
{
    return ini.GetValue(section, key, nullptr) != nullptr;
}

int ReadInt(const CSimpleIniA& ini, const char* section, const QByteArray& key, int def)
{
    const char* v = ini.GetValue(section, key.constData(), nullptr);
    int value = def;
    if (!v || !ParseIniInteger(QByteArray(v), value)) return def;
    return value;
}

void WriteInt(CSimpleIniA& ini, const char* section, const QByteArray& key, int value)
{
    ini.SetValue(section, key.constData(), QByteArray::number(value).constData());
}

// The bytes read from the file while the text is the one read; otherwise the text as UTF-8.
QByteArray TextToWrite(const QString& text, const QByteArray& stored)
{
    if (!stored.isNull() && QString::fromUtf8(stored) == text) return stored;
    return text.toUtf8();
}

void ReadColumnSettings(IColumnLayout& columns, const CSimpleIniA& ini)
{
    for (int i = 0; i < columns.LayoutCount(); ++i) {
        TColumnLayoutEntry c = columns.LayoutEntry(i);
        const QByteArray key = c.FieldName.toUtf8();
        const int order = ReadInt(ini, kOrder, key, 0);
        // Only 0, 1 and 2 are ever written; anything else reads as unsorted.
        c.Order = (order == 1 || order == 2) ? order : 0;
        c.OrderNum = std::max(0, ReadInt(ini, kOrderNum, key, 0));
        c.Visible = ReadInt(ini, kVisible, key, 1) != 0;
        c.Width = ReadInt(ini, kWidth, key, 120);
        if (c.Width < 0) c.Width = 120;
        columns.SetLayoutEntry(i, c);
    }
    // Moving the columns in the file's key order restores the saved order exactly.
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(kOrdering, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& k : keys) {
        const QByteArray key(k.pItem);
        const int target = ReadInt(ini, kOrdering, key, 0);
        if (target < 0 || target >= columns.LayoutCount())
            throw EConvertError(QStringLiteral("A beállítási fájlban hibás oszlophelyzet: %1=%2")
                                    .arg(QString::fromUtf8(key))
                                    .arg(target));
        columns.LayoutMove(columns.LayoutFind(QString::fromUtf8(key)), target);
    }
}

void WriteColumnSettings(const IColumnLayout& columns, CSimpleIniA& ini)
{
    // Each column section is written afresh: keys of columns the program no longer has go, and
    // the ordering keys stand in ascending position, so replaying them in file order at the next
    // start restores this order exactly. Setting existing keys would keep their old places.
    for (const char* section : {kOrder, kOrderNum, kVisible, kWidth, kOrdering}) ini.Delete(section, nullptr);
    for (int i = 0; i < columns.LayoutCount(); ++i) {
        const TColumnLayoutEntry c = columns.LayoutEntry(i);
        const QByteArray key = c.FieldName.toUtf8();
        WriteInt(ini, kOrder, key, c.Order);
        WriteInt(ini, kOrderNum, key, c.OrderNum);
        WriteInt(ini, kVisible, key, c.Visible ? 1 : 0);
        WriteInt(ini, kWidth, key, c.Width);
        WriteInt(ini, kOrdering, key, i);
    }
}

bool LoadIni(const QString& fileName, CSimpleIniA& ini)
{
    QFile f(fileName);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = f.readAll();
    return ini.LoadData(data.constData(), size_t(data.size())) >= 0;
}

// A file that exists but that its owner may not write: the user made it read-only, so it stays.
bool IsReadOnlyFile(const QFileInfo& info)
{
    if (!info.exists()) return false;
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

}  // namespace

bool ParseIniInteger(const QByteArray& text, int& value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok) return false;
    value = v;
    return true;
}

QString SettingsFileName(const QString& programDir) { return QDir(programDir).filePath("velkor.ini"); }

void ReadSettings(const QString& fileName, TSettings& settings, IColumnLayout& columns)
{
    CSimpleIniA ini(true, false, false);
    LoadIni(fileName, ini);
    const TSettings defaults;
    settings = defaults;
    if (HasKey(ini, kPaths, "GfxPath")) {
        settings.GfxPathStored = ReadBytes(ini, kPaths, "GfxPath");
        settings.GfxPath = QString::fromUtf8(settings.GfxPathStored);
    }
    settings.CacheSize = ReadInt(ini, kGfx, "CacheSize", defaults.CacheSize);
    if (HasKey(ini, kPaths, "DBPATH")) {
        settings.DBPATHStored = ReadBytes(ini, kPaths, "DBPATH");
        settings.DBPATH = QString::fromUtf8(settings.DBPATHStored);
    }
    settings.OpeningHand = ReadInt(ini, kDeck, "Kezdokez", defaults.OpeningHand);
    settings.KeepCopies = ReadInt(ini, kCollection, "Megtartott", defaults.KeepCopies);
    if (settings.KeepCopies < 1 || settings.KeepCopies > 99) settings.KeepCopies = defaults.KeepCopies;
    settings.PictureMode = ReadInt(ini, kGfx, "PictureMode", defaults.PictureMode);
    if (settings.PictureMode < 0 || settings.PictureMode > 3) settings.PictureMode = defaults.PictureMode;
    settings.LastFolder = QString::fromUtf8(ReadBytes(ini, kPaths, "LastFolder"));
    settings.CatalogueFile = QString::fromUtf8(ReadBytes(ini, kPaths, "Katalogus"));
    settings.BackupEnabled = ReadInt(ini, kBackup, "Enabled", 1) != 0;
    settings.BackupIntervalMinutes = ReadInt(ini, kBackup, "IntervalMinutes", defaults.BackupIntervalMinutes);
    if (settings.BackupIntervalMinutes < 1) settings.BackupIntervalMinutes = defaults.BackupIntervalMinutes;
    settings.BackupFolder = QString::fromUtf8(ReadBytes(ini, kBackup, "Folder"));
    ReadColumnSettings(columns, ini);
}

bool WriteSettings(const QString& fileName, const TSettings& settings, const IColumnLayout& columns, QString* errorText)
{
    const auto fail = [&](const QString& why) {
        if (errorText) *errorText = QStringLiteral("A beállítási fájl nem írható: %1 (%2)").arg(fileName, why);
        return false;
    };
    const QFileInfo info(fileName);
    if (IsReadOnlyFile(info)) return fail(QStringLiteral("a fájl csak olvasható"));

    // Other sections and keys of an existing file stay, as an INI service keeps them.
    CSimpleIniA ini(true, false, false);
    ini.SetSpaces(false);
    if (!LoadIni(fileName, ini)) return fail(QStringLiteral("a fájl nem olvasható"));
    ini.SetValue(kPaths, "GfxPath", TextToWrite(settings.GfxPath, settings.GfxPathStored).constData());
    WriteInt(ini, kGfx, "CacheSize", settings.CacheSize);
    ini.SetValue(kPaths, "DBPATH", TextToWrite(settings.DBPATH, settings.DBPATHStored).constData());
    WriteInt(ini, kDeck, "Kezdokez", settings.OpeningHand);
    WriteInt(ini, kCollection, "Megtartott", settings.KeepCopies);
    WriteInt(ini, kGfx, "PictureMode", settings.PictureMode);
    if (!settings.LastFolder.isEmpty()) ini.SetValue(kPaths, "LastFolder", settings.LastFolder.toUtf8().constData());
    if (!settings.CatalogueFile.isEmpty()) ini.SetValue(kPaths, "Katalogus", settings.CatalogueFile.toUtf8().constData());
    else ini.Delete(kPaths, "Katalogus");
    WriteInt(ini, kBackup, "Enabled", settings.BackupEnabled ? 1 : 0);
    WriteInt(ini, kBackup, "IntervalMinutes", settings.BackupIntervalMinutes);
    ini.SetValue(kBackup, "Folder", settings.BackupFolder.toUtf8().constData());
    WriteColumnSettings(columns, ini);

    std::string text;
    if (ini.Save(text, false) < 0) return fail(QStringLiteral("belső hiba"));
    // Written beside the file and renamed over it (through a symbolic link to its target), so a
    // failed write leaves the old file whole and no temporary file behind.
    // Unbuffered, so that a short write (a full disk) shows in write()'s count: buffered, Qt
    // reports the commit of a cut file as a success.
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(out.errorString());
    if (out.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        const QString why = out.errorString();
        out.cancelWriting();
        out.commit();  // removes the temporary file
        return fail(why);
    }
    if (!out.commit()) return fail(out.errorString());
    return true;
}
