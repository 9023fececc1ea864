#include "browser/ufRestore.h"
#include "app/ReadableColor.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum TColumn { colTime, colSize, colCards, colDecks, colFilters, colState, colCount };
}

QString BackupTimeText(const QDateTime& when) { return when.toString(QStringLiteral("yyyy.MM.dd. HH:mm:ss")); }

QString BackupSizeText(qint64 bytes)
{
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    if (bytes < 1024 * 1024) return hu.toString(double(bytes) / 1024.0, 'f', 1) + QStringLiteral(" kB");
    return hu.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

TfRestore::TfRestore(QWidget* parent) : QDialog(parent)
{
    setObjectName("fRestore");
    setWindowTitle(QStringLiteral("Visszaállítás mentésből"));
    resize(720, 400);
    auto* layout = new QVBoxLayout(this);
    lFolder = new QLabel(this);
    lFolder->setObjectName("lFolder");
    lFolder->setWordWrap(true);
    lFolder->setTextFormat(Qt::PlainText);
    layout->addWidget(lFolder);
    lvBackups = new QTreeWidget(this);
    lvBackups->setObjectName("lvBackups");
    lvBackups->setAccessibleName(QStringLiteral("Mentések"));
    lvBackups->setRootIsDecorated(false);
    lvBackups->setAllColumnsShowFocus(true);
    lvBackups->setHeaderLabels({QStringLiteral("Időpont"), QStringLiteral("Méret"), QStringLiteral("Lapok"),
                                QStringLiteral("Paklik"), QStringLiteral("Szűrések"), QStringLiteral("Állapot")});
    lvBackups->header()->setStretchLastSection(true);
    layout->addWidget(lvBackups, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnRestore = new QPushButton(QStringLiteral("&Visszaállítás"), this);
    btnRestore->setObjectName("btnRestore");
    btnRestore->setDefault(true);
    btnCancel = new QPushButton(BUTTON_CANCEL, this);
    btnCancel->setObjectName("btnCancel");
    buttons->addWidget(btnRestore);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    GuardedConnect(lvBackups, &QTreeWidget::itemSelectionChanged, this, [this] { lvBackupsSelectionChanged(); });
    GuardedConnect(lvBackups, &QTreeWidget::itemDoubleClicked, this, [this] { btnRestoreClick(); });
    GuardedConnect(btnRestore, &QPushButton::clicked, this, [this] { btnRestoreClick(); });
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    lvBackupsSelectionChanged();
}

void TfRestore::LoadBackups(const QString& folder)
{
    lFolder->setText(QStringLiteral("Mentések mappája: ") + QDir::toNativeSeparators(folder));
    const QList<Backup::TBackupInfo> found = Backup::ListBackups(folder);
    FBackups.clear();
    TWaitCursor wait;
    // Each copy is checked through; a long list shows how far it is.
    std::unique_ptr<QProgressDialog> progress;
    if (found.size() > 3) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("Mentések ellenőrzése..."), QString(), 0,
                                                     int(found.size()), QApplication::activeWindow());
        progress->setWindowTitle(QStringLiteral("Visszaállítás mentésből"));
        progress->setCancelButton(nullptr);
        progress->setMinimumDuration(0);
        progress->setWindowModality(Qt::WindowModal);
    }
    for (const Backup::TBackupInfo& b : found) {
        if (progress) {
            progress->setValue(int(FBackups.size()));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        FBackups << Backup::InspectBackup(b.FilePath);
    }
    const TUpdatesSuspended held{lvBackups};
    lvBackups->clear();
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    auto count = [&](qint64 n) { return n < 0 ? QString() : hu.toString(n); };
    for (const Backup::TBackupInfo& b : FBackups) {
        auto* item = new QTreeWidgetItem(lvBackups);
        item->setText(colTime, BackupTimeText(b.When));
        item->setText(colSize, BackupSizeText(b.Size));
        item->setText(colCards, count(b.Cards));
        item->setText(colDecks, count(b.Decks));
        item->setText(colFilters, count(b.Filters));
        item->setText(colState, b.Sound() ? QStringLiteral("ép") : QStringLiteral("SÉRÜLT"));
        item->setToolTip(colState, b.Sound() ? QDir::toNativeSeparators(b.FilePath) : b.Problem);
        for (int c : {colSize, colCards, colDecks, colFilters}) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (!b.Sound()) {
            const QColor damaged = ReadableOn(QColor(160, 0, 0), lvBackups->palette().color(QPalette::Base));
            for (int c = 0; c < colCount; ++c) item->setForeground(c, damaged);
        }
    }
    for (int c = 0; c < colState; ++c) lvBackups->resizeColumnToContents(c);
    if (FBackups.isEmpty()) {
        auto* none = new QTreeWidgetItem(lvBackups);
        none->setText(colTime, QStringLiteral("Nincs még mentés."));
        none->setFlags(Qt::NoItemFlags);
    } else {
        SelectRow(0);
    }
    lvBackupsSelectionChanged();
}

void TfRestore::SelectRow(int row)
{
    if (row >= 0 && row < lvBackups->topLevelItemCount()) lvBackups->setCurrentItem(lvBackups->topLevelItem(row));
}

QString TfRestore::SelectedFile() const
{
    QTreeWidgetItem* item = lvBackups->currentItem();
    const int row = item && item->isSelected() ? lvBackups->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= FBackups.size() || !FBackups[row].Sound()) return QString();
    return FBackups[row].FilePath;
}

void TfRestore::lvBackupsSelectionChanged() { btnRestore->setEnabled(!SelectedFile().isEmpty()); }

void TfRestore::btnRestoreClick()
{
    if (SelectedFile().isEmpty()) return;
    accept();
}

QString ChooseBackup(QWidget* parent, const QString& folder)
{
    TfRestore dlg(parent);
    dlg.LoadBackups(folder);
    if (dlg.exec() != QDialog::Accepted) return QString();
    return dlg.SelectedFile();
}
