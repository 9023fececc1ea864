#include "browser/uBackupControl.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/ProgramFolder.h"
#include "app/WidgetUtil.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "browser/ufRestore.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

TBackupControl::TBackupControl(TfMain& main) : QObject(&main), FMain(main)
{
    auto make = [this](QAction*& action, const char* name, const QString& caption) {
        action = new QAction(caption, &FMain);
        action->setObjectName(name);
        FMain.addAction(action);
    };
    make(acBackupNow, "acBackupNow", QStringLiteral("Biztonsági mentés most"));
    make(acRestore, "acRestore", QStringLiteral("Visszaállítás mentésből..."));
    make(acOpenCatalogue, "acOpenCatalogue", QStringLiteral("Katalógus megnyitása..."));
    GuardedConnect(acBackupNow, &QAction::triggered, this, [this] { acBackupNowExecute(); });
    GuardedConnect(acRestore, &QAction::triggered, this, [this] { acRestoreExecute(); });
    GuardedConnect(acOpenCatalogue, &QAction::triggered, this, [this] { acOpenCatalogueExecute(); });
    tmrBackup = new QTimer(this);
    tmrBackup->setObjectName("tmrBackup");
    GuardedConnect(tmrBackup, &QTimer::timeout, this, [this] { tmrBackupTimer(); });

    const QString exeDir = QCoreApplication::applicationDirPath();
    for (const QString& demo : {InstalledDemoFolder(exeDir), QDir(exeDir).filePath(QStringLiteral("demo"))})
        if (QFileInfo::exists(QDir(demo).filePath(QStringLiteral("DB/Velkor.db")))) {
            FDemoFolder = demo;
            break;
        }
    RecoveryPrompt = [this](const QString& problem, bool opened) {
        TfRecovery dlg(problem, AM->CatalogFileName(), BackupFolder(), opened, !DemoCatalogue().isEmpty(), &FMain);
        UiHost().RunModal(dlg);
        return std::make_pair(dlg.Choice(), dlg.ChosenFile());
    };
}

void TBackupControl::AddMenuItems(QMenu* data)
{
    data->addSeparator();
    data->addActions({acBackupNow, acRestore, acOpenCatalogue});
}

void TBackupControl::UpdateActions(bool connected)
{
    acBackupNow->setEnabled(connected);
    acRestore->setEnabled(connected);
    acOpenCatalogue->setEnabled(true);
}

QString TBackupControl::BackupFolder() const
{
    return Backup::BackupFolder(AM->CatalogFileName(), FMain.Settings.BackupFolder);
}

QString TBackupControl::DemoCatalogue() const
{
    const QString file = QDir(FDemoFolder).filePath(QStringLiteral("DB/Velkor.db"));
    return !FDemoFolder.isEmpty() && QFileInfo::exists(file) ? file : QString();
}

bool TBackupControl::OpenAtStart()
{
    AM->SetCatalogFileName(FMain.Settings.CatalogueFile);
    for (;;) {
        bool opened = false;
        try {
            opened = AM->Connect();
        } catch (const EAbort&) {
            // reported by Connect
        }
        QString problem;
        {
            TWaitCursor wait;
            problem = opened ? Backup::CheckCatalogue(AM->ADOConnection.Handle())
                             : Backup::CheckCatalogueFile(AM->CatalogFileName());
        }
        FDamaged = false;
        // A sound file that would not open is held by another program or not writable: no damage
        // that a backup could mend, and nothing is moved.
        if (problem.isEmpty()) return opened;
        const auto [choice, file] = RecoveryPrompt(problem, opened);
        if (choice == TRecoveryChoice::None || choice == TRecoveryChoice::Keep) {
            FDamaged = opened;
            return opened;
        }
        AM->ADOConnection.Close();
        CarryOut(choice, file);  // a failure is reported; the window comes again
    }
}

bool TBackupControl::CarryOut(TRecoveryChoice choice, const QString& file)
{
    const QString catalogue = AM->CatalogFileName();
    try {
        switch (choice) {
        case TRecoveryChoice::RestoreBackup:
        case TRecoveryChoice::StartDemo: {
            const QString source = choice == TRecoveryChoice::StartDemo ? DemoCatalogue() : file;
            if (source.isEmpty()) throw EDatabaseError(QStringLiteral("A bemutató katalógus nem található."));
            const QString problem = Backup::CheckCatalogueFile(source);
            if (!problem.isEmpty()) throw EDatabaseError(problem);
            TWaitCursor wait;
            const QString aside = Backup::MoveAside(catalogue, QDateTime::currentDateTime());
            Backup::CopyDatabaseFile(source, catalogue);
            if (!aside.isEmpty())
                ShowInfo(QStringLiteral("A hibás katalógus megmaradt ezen a néven:\n") + QDir::toNativeSeparators(aside));
            return true;
        }
        case TRecoveryChoice::OpenOther: {
            const QString problem = Backup::CheckCatalogueFile(file);
            if (!problem.isEmpty()) {
                ShowWarning(QStringLiteral("A választott fájl nem használható katalógusként:\n") + problem);
                return false;
            }
            UseCatalogue(file);
            SaveSettingsNow();
            return true;
        }
        case TRecoveryChoice::None:
        case TRecoveryChoice::Keep: return false;
        }
    } catch (const EDatabaseError& e) {
        ShowErrorDialog(QStringLiteral("A katalógus helyreállítása nem sikerült"), e.Message());
    }
    return false;
}

void TBackupControl::UseCatalogue(const QString& file)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    const QString standard = QFileInfo(QDir(AM->ProgramDir()).filePath(QStringLiteral("DB/Velkor.db"))).absoluteFilePath();
    FMain.Settings.CatalogueFile = absolute == standard ? QString() : absolute;
    AM->SetCatalogFileName(FMain.Settings.CatalogueFile);
}

void TBackupControl::SaveSettingsNow()
{
    // The choice survives a crash too; the rest of the file is written as at close.
    QString why;
    if (!WriteSettings(FMain.SettingsFile(), FMain.Settings, *dmColumns, &why)) ShowWarning(why);
}

void TBackupControl::Started()
{
    tmrBackup->stop();
    FChangesAtBackup = Backup::ChangeCount(AM->ADOConnection);
    if (!AM->Connected() || FDamaged || !FMain.Settings.BackupEnabled) return;
    tmrBackup->setInterval(FMain.Settings.BackupIntervalMinutes * 60 * 1000);
    tmrBackup->start();
    // No new copy of a catalogue that has not changed since the newest one was taken: restarts
    // would otherwise push older, different copies out of the kept ones.
    const QList<Backup::TBackupInfo> copies = Backup::ListBackups(BackupFolder());
    if (copies.isEmpty() ||
        QFileInfo(AM->CatalogFileName()).lastModified() > QFileInfo(copies.first().FilePath).lastModified())
        MakeBackup(true);
}

QString TBackupControl::MakeBackup(bool automatic)
{
    if (!AM->Connected()) return QString();
    const QString folder = BackupFolder();
    const QDateTime now = QDateTime::currentDateTime();
    try {
        QString path;
        {
            TWaitCursor wait;
            path = Backup::BackupTo(AM->ADOConnection, folder, now);
        }
        FChangesAtBackup = Backup::ChangeCount(AM->ADOConnection);
        Backup::ThinBackups(folder, now);
        return path;
    } catch (const EDatabaseError& e) {
        if (!automatic) {
            ShowWarning(QStringLiteral("A biztonsági mentés nem sikerült; a katalógus nem változott.\n") + e.Message());
        } else if (!FFailureReported) {
            FFailureReported = true;
            ShowWarning(QStringLiteral("Az automatikus biztonsági mentés nem sikerült; a katalógus nem változott.\n") +
                        e.Message() +
                        QStringLiteral("\n\nA program a futása alatt erről többször nem szól, de tovább próbálkozik."));
        }
        return QString();
    }
}

void TBackupControl::tmrBackupTimer()
{
    if (!AM->Connected() || FDamaged) return;
    if (Backup::InWrite(AM->ADOConnection)) {
        // A write is under way: try again in a minute.
        QTimer::singleShot(60 * 1000, this, [this] { Guarded([this] { tmrBackupTimer(); }); });
        return;
    }
    if (Backup::ChangeCount(AM->ADOConnection) != FChangesAtBackup) MakeBackup(true);
}

void TBackupControl::acBackupNowExecute()
{
    if (!AM->Connected()) return;
    const QString path = MakeBackup(false);
    if (!path.isEmpty())
        ShowInfo(QStringLiteral("A biztonsági mentés elkészült:\n") + QDir::toNativeSeparators(path));
}

void TBackupControl::acRestoreExecute()
{
    if (!AM->Connected()) return;
    const QString file = ChooseBackup(&FMain, BackupFolder());
    if (!file.isEmpty()) RestoreFrom(file);
}

bool TBackupControl::RestoreFrom(const QString& backupFile)
{
    if (!AM->Connected()) return false;
    const auto stamp = Backup::ParseBackupFileName(QFileInfo(backupFile).fileName());
    const QString when = stamp ? BackupTimeText(*stamp) : QFileInfo(backupFile).fileName();
    if (!AskYesNo(QStringLiteral("Visszaállítja a katalógust a ") + when +
                  QStringLiteral(" időpontú mentésből? Előtte a mostani állapotról is mentés készül.")))
        return false;
    if (!FMain.QueryAndCloseDeck()) return false;
    const QString current = MakeBackup(false);
    if (current.isEmpty()) return false;  // reported; without that copy nothing is replaced
    try {
        TWaitCursor wait;
        Backup::RestoreInto(AM->ADOConnection, backupFile);
    } catch (const EDatabaseError& e) {
        ShowErrorDialog(QStringLiteral("A visszaállítás nem sikerült, a katalógus nem változott"), e.Message());
        return false;
    }
    FDamaged = false;
    FMain.CatalogueReplaced();
    FChangesAtBackup = Backup::ChangeCount(AM->ADOConnection);
    ShowInfo(QStringLiteral("A katalógus visszaállt a ") + when +
             QStringLiteral(" időpontú mentésre.\nA visszaállítás előtti állapot mentése:\n") +
             QDir::toNativeSeparators(current));
    return true;
}

void TBackupControl::acOpenCatalogueExecute()
{
    const QString file = PromptOpenFile(QStringLiteral("Katalógus megnyitása"), CatalogueFileFilter,
                                        QFileInfo(AM->CatalogFileName()).absolutePath());
    if (!file.isEmpty()) SwitchCatalogue(file);
}

bool TBackupControl::SwitchCatalogue(const QString& file)
{
    QString problem;
    {
        TWaitCursor wait;
        problem = Backup::CheckCatalogueFile(file);
    }
    if (problem.isEmpty()) {
        // It must also open for writing, as the program uses it.
        TConnection probe;
        try {
            probe.Open(file);
        } catch (const EDatabaseError& e) {
            problem = e.Message();
        }
    }
    if (!problem.isEmpty()) {
        ShowWarning(QStringLiteral("A választott fájl nem használható katalógusként, a mostani marad nyitva:\n") + problem);
        return false;
    }
    if (!FMain.QueryAndCloseDeck()) return false;
    const QString previous = FMain.Settings.CatalogueFile;
    tmrBackup->stop();
    AM->ADOConnection.Close();
    UseCatalogue(file);
    bool opened = false;
    try {
        opened = AM->Connect();
    } catch (const EAbort&) {
        // reported by Connect; the previous catalogue comes back
    }
    if (!opened) {
        FMain.Settings.CatalogueFile = previous;
        AM->SetCatalogFileName(previous);
        try {
            AM->Connect();
        } catch (const EAbort&) {
        }
    } else {
        FDamaged = false;
        SaveSettingsNow();
    }
    FMain.CatalogueReplaced();
    Started();
    return opened;
}
