#include "app/uSettings.h"

#include "browser/udmColumns.h"
#include "storage/Exceptions.h"

#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <list>

namespace {

const char* const kPaths = "PATHS";
const char* const kGfx = "GFX";
const char* const kOrder = "cCols_ORDER";
const char* const kOrderNum = "cCols_ORDERNUM";
const char* const kVisible = "cCols_VISIBLE";
const char* const kWidth = "cCols_WIDTH";
const char* const kOrdering = "cCols_ORDERING";

QString ReadText(const CSimpleIniA& ini, const char* section, const char* key, const QString& def)
{
    const char* v = ini.GetValue(section, key, nullptr);
    return v ? QString::fromUtf8(v) : def;
}

int ReadInt(const CSimpleIniA& ini, const char* section, const QByteArray& key, int def)
{
    const char* v = ini.GetValue(section, key.constData(), nullptr);
    int value = def;
    if (!v || !ParseIniInteger(QString::fromUtf8(v), value)) return def;
    return value;
}

void WriteInt(CSimpleIniA& ini, const char* section, const QByteArray& key, int value)
{
    ini.SetValue(section, key.constData(), QByteArray::number(value).constData());
}

void ReadColumnSettings(TdmColumns& columns, const CSimpleIniA& ini)
{
    for (auto& c : columns.cCols.Cols) {
        const QByteArray key = c.FieldName().toUtf8();
        const int order = ReadInt(ini, kOrder, key, 0);
        // Only 0, 1 and 2 are ever written; anything else reads as unsorted.
        c.Order = (order == 1 || order == 2) ? TFieldOrders(order) : ordNone;
        c.OrderNum = std::max(0, ReadInt(ini, kOrderNum, key, 0));
        c.Visible = ReadInt(ini, kVisible, key, 1) != 0;
        c.Width = ReadInt(ini, kWidth, key, 120);
        if (c.Width < 0) c.Width = 120;
    }
    // Moving the columns in the file's key order restores the saved order exactly.
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(kOrdering, keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& k : keys) {
        const QByteArray key(k.pItem);
        const int target = ReadInt(ini, kOrdering, key, 0);
        if (target < 0 || target >= columns.cCols.Count())
            throw EConvertError(QStringLiteral("A beállítási fájlban hibás oszlophelyzet: %1=%2")
                                    .arg(QString::fromUtf8(key))
                                    .arg(target));
        columns.MoveColumn(columns.FindColumn(QString::fromUtf8(key)), target);
    }
}

void WriteColumnSettings(const TdmColumns& columns, CSimpleIniA& ini)
{
    for (int i = 0; i < columns.cCols.Count(); ++i) {
        const auto& c = columns.cCols[i];
        const QByteArray key = c.FieldName().toUtf8();
        WriteInt(ini, kOrder, key, int(c.Order));
        WriteInt(ini, kOrderNum, key, c.OrderNum);
        WriteInt(ini, kVisible, key, c.Visible ? 1 : 0);
        WriteInt(ini, kWidth, key, c.Width);
        WriteInt(ini, kOrdering, key, i);
    }
}

}  // namespace

bool ParseIniInteger(const QString& text, int& value)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    int i = 0;
    if (t[0] == u'-' || t[0] == u'+') i = 1;
    if (i == t.size()) return false;
    for (int j = i; j < t.size(); ++j)
        if (t[j] < u'0' || t[j] > u'9') return false;
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    if (!ok) return false;
    value = v;
    return true;
}

QString SettingsFileName(const QString& programDir) { return QDir(programDir).filePath("velkor.ini"); }

void ReadSettings(const QString& fileName, TSettings& settings, TdmColumns& columns)
{
    CSimpleIniA ini(true, false, false);
    if (QFileInfo::exists(fileName)) ini.LoadFile(QFile::encodeName(fileName).constData());
    const TSettings defaults;
    settings.GfxPath = ReadText(ini, kPaths, "GfxPath", defaults.GfxPath);
    settings.CacheSize = ReadInt(ini, kGfx, "CacheSize", defaults.CacheSize);
    settings.DBPATH = ReadText(ini, kPaths, "DBPATH", defaults.DBPATH);
    ReadColumnSettings(columns, ini);
}

bool WriteSettings(const QString& fileName, const TSettings& settings, const TdmColumns& columns, QString* errorText)
{
    // Other keys of an existing file stay, as an INI service keeps them.
    CSimpleIniA ini(true, false, false);
    ini.SetSpaces(false);
    if (QFileInfo::exists(fileName)) ini.LoadFile(QFile::encodeName(fileName).constData());
    ini.SetValue(kPaths, "GfxPath", settings.GfxPath.toUtf8().constData());
    WriteInt(ini, kGfx, "CacheSize", settings.CacheSize);
    ini.SetValue(kPaths, "DBPATH", settings.DBPATH.toUtf8().constData());
    WriteColumnSettings(columns, ini);

    // Write beside the file and rename, so a failed write never leaves half a settings file.
    const QString temp = fileName + ".tmp";
    const SI_Error rc = ini.SaveFile(QFile::encodeName(temp).constData(), false);
    if (rc < 0) {
        QFile::remove(temp);
        if (errorText) *errorText = QStringLiteral("A beállítási fájl nem írható: %1").arg(fileName);
        return false;
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(fileName).constData()) != 0) {
        QFile::remove(temp);
        if (errorText) *errorText = QStringLiteral("A beállítási fájl nem írható: %1").arg(fileName);
        return false;
    }
    return true;
}
