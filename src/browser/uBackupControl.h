#pragma once
// The catalogue's safety net in the main window: the check at start with the recovery window,
// the automatic copies (at start when the catalogue changed, then on the interval when something
// was written), "Biztonsági mentés most", "Visszaállítás mentésből..." and "Katalógus
// megnyitása...". The copying itself is the backup engine's (storage/uBackup).
#include "browser/ufRecovery.h"

#include <QObject>
#include <QString>

#include <functional>
#include <utility>

class QAction;
class QMenu;
class QTimer;
class TfMain;

class TBackupControl : public QObject {
    Q_OBJECT
public:
    explicit TBackupControl(TfMain& main);

    // The three menu items, as one block of "Adatok".
    void AddMenuItems(QMenu* data);
    void UpdateActions(bool connected);

    // Opens the catalogue and checks it; when it cannot be opened or fails the check, the recovery
    // window offers a way out. True when a catalogue is open (a damaged one only when kept).
    bool OpenAtStart();
    // A catalogue has just been opened: the copy at start when it changed since the newest one,
    // and the interval timer.
    void Started();
    // Copies the open catalogue; the path written, or empty after a failure. An automatic copy
    // reports its failure once per run, a copy the user asked for every time.
    QString MakeBackup(bool automatic);
    void tmrBackupTimer();

    void acBackupNowExecute();
    void acRestoreExecute();
    void acOpenCatalogueExecute();
    // Replaces the open catalogue with a backup, after a copy of the current one; true when done.
    bool RestoreFrom(const QString& backupFile);
    // Opens another catalogue file in place of the current one (checked first); true when done.
    bool SwitchCatalogue(const QString& file);
    // Carries out a recovery choice while the catalogue is closed; true when there is a catalogue
    // to try again. Nothing is deleted: a damaged file is renamed aside.
    bool CarryOut(TRecoveryChoice choice, const QString& file);

    QString BackupFolder() const;
    // The demo catalogue the recovery can start from (empty when none is installed).
    QString DemoCatalogue() const;
    void SetDemoFolder(const QString& folder) { FDemoFolder = folder; }
    // The catalogue failed its check and was kept: no automatic copies of it.
    bool DamagedKept() const { return FDamaged; }

    // The recovery window; tests replace it with their answers.
    std::function<std::pair<TRecoveryChoice, QString>(const QString& problem, bool opened)> RecoveryPrompt;

    QAction* acBackupNow = nullptr;
    QAction* acRestore = nullptr;
    QAction* acOpenCatalogue = nullptr;
    QTimer* tmrBackup = nullptr;

private:
    void UseCatalogue(const QString& file);
    void SaveSettingsNow();

    TfMain& FMain;
    QString FDemoFolder;
    qint64 FChangesAtBackup = 0;
    bool FFailureReported = false;
    bool FDamaged = false;
};
