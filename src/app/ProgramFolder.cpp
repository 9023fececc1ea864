#include "app/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
bool FolderWritable(const QString& dir)
{
    // A probe file tells the truth where permission bits do not (read-only mounts, ACLs).
    QFile probe(QDir(dir).filePath(QStringLiteral(".velkor-write-probe")));
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
}

// Copies what the folder lacks from the demo: the catalogue and each picture, never replacing.
bool FillFromDemo(const QString& dir, const QString& demoDir, QString* errorText)
{
    QDir target(dir);
    if (!target.mkpath(QStringLiteral("DB")) || !target.mkpath(QStringLiteral("GFX"))) {
        if (errorText) *errorText = QStringLiteral("A(z) %1 mappa nem hozható létre.").arg(dir);
        return false;
    }
    const QString db = target.filePath(QStringLiteral("DB/Velkor.db"));
    if (!QFileInfo::exists(db)) {
        const QString source = QDir(demoDir).filePath(QStringLiteral("DB/Velkor.db"));
        if (!QFile::copy(source, db)) {
            if (errorText) *errorText = QStringLiteral("A demo katalógus (%1) nem másolható ide: %2.").arg(source, db);
            return false;
        }
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    }
    const QDir gfx(QDir(demoDir).filePath(QStringLiteral("GFX")));
    for (const QString& name : gfx.entryList(QDir::Files)) {
        const QString to = target.filePath(QStringLiteral("GFX/") + name);
        if (!QFileInfo::exists(to) && QFile::copy(gfx.filePath(name), to))
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    }
    return true;
}
}  // namespace

QString ChooseProgramFolder(const QString& exeDir, const QString& dataDir, const QString& demoDir,
                            QString* errorText)
{
    if (FolderWritable(exeDir)) return exeDir;
    if (dataDir.isEmpty()) {
        if (errorText) *errorText = QStringLiteral("Nincs írható adatmappa.");
        return QString();
    }
    if (!FillFromDemo(dataDir, demoDir, errorText)) return QString();
    return dataDir;
}

QString InstalledDemoFolder(const QString& exeDir)
{
    return QDir::cleanPath(exeDir + QStringLiteral("/../share/velkor/demo"));
}

bool InstallQtTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/velkor-%1.png").arg(size), QSize(size, size));
    return icon;
}
