#pragma once
// The way out when the catalogue cannot be opened or fails its check: restore the newest sound
// backup, choose one from the list, open another catalogue file, or start from the demo. A
// catalogue that opened but failed the check may also be kept as it is. The window only records
// the choice; the caller carries it out.
#include "storage/uBackup.h"

#include <QDialog>

class QLabel;
class QPushButton;

enum class TRecoveryChoice { None, RestoreBackup, OpenOther, StartDemo, Keep };

class TfRecovery : public QDialog {
    Q_OBJECT
public:
    // opened: the catalogue is open but failed its check (Keep is offered).
    TfRecovery(const QString& problem, const QString& catalogueFile, const QString& backupFolder, bool opened,
               bool demoAvailable, QWidget* parent = nullptr);

    TRecoveryChoice Choice() const { return FChoice; }
    // The backup to restore, or the catalogue to open.
    const QString& ChosenFile() const { return FChosenFile; }
    const std::optional<Backup::TBackupInfo>& Newest() const { return FNewest; }

    void btnNewestClick();
    void btnChooseClick();
    void btnOtherClick();
    void btnDemoClick();
    void btnKeepClick();

    QLabel* lProblem = nullptr;
    QPushButton* btnNewest = nullptr;
    QPushButton* btnChoose = nullptr;
    QPushButton* btnOther = nullptr;
    QPushButton* btnDemo = nullptr;
    QPushButton* btnKeep = nullptr;
    QPushButton* btnClose = nullptr;

private:
    void Choose(TRecoveryChoice choice, const QString& file = QString());

    QString FCatalogueFile;
    QString FBackupFolder;
    std::optional<Backup::TBackupInfo> FNewest;
    TRecoveryChoice FChoice = TRecoveryChoice::None;
    QString FChosenFile;
};

// The filter of the catalogue file prompts.
extern const QString CatalogueFileFilter;
