#pragma once
// "Visszaállítás mentésből...": the backups of the catalogue, newest first, each with its time,
// size and the number of cards, decks and stored filters read from the copy itself. A copy that
// fails the check is marked and cannot be chosen.
#include "storage/uBackup.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

class TfRestore : public QDialog {
    Q_OBJECT
public:
    explicit TfRestore(QWidget* parent = nullptr);

    // Reads every backup of folder (a progress window when there are many).
    void LoadBackups(const QString& folder);
    const QList<Backup::TBackupInfo>& Backups() const { return FBackups; }
    // The chosen copy; empty when none or a damaged one is selected.
    QString SelectedFile() const;
    void SelectRow(int row);
    void lvBackupsSelectionChanged();
    void btnRestoreClick();

    QLabel* lFolder = nullptr;
    QTreeWidget* lvBackups = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    QList<Backup::TBackupInfo> FBackups;
};

// "2026.12.09. 21:36:41"
QString BackupTimeText(const QDateTime& when);
// "1,2 MB"
QString BackupSizeText(qint64 bytes);

// Shows the list; the chosen file, or empty when cancelled.
QString ChooseBackup(QWidget* parent, const QString& folder);
