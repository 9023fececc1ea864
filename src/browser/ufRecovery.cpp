#include "browser/ufRecovery.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "browser/ufRestore.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const QString CatalogueFileFilter =
    QStringLiteral("Velkor katalógus (*.db)|*.db|Minden fájl (*)|*");

TfRecovery::TfRecovery(const QString& problem, const QString& catalogueFile, const QString& backupFolder,
                       bool opened, bool demoAvailable, QWidget* parent)
    : QDialog(parent), FCatalogueFile(catalogueFile), FBackupFolder(backupFolder)
{
    setObjectName("fRecovery");
    setWindowTitle(QStringLiteral("A katalógus helyreállítása"));
    setMinimumWidth(560);
    {
        TWaitCursor wait;
        FNewest = Backup::NewestSoundBackup(backupFolder);
    }
    auto* layout = new QVBoxLayout(this);
    lProblem = new QLabel(this);
    lProblem->setObjectName("lProblem");
    lProblem->setWordWrap(true);
    lProblem->setTextFormat(Qt::PlainText);
    lProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lProblem->setText((opened ? QStringLiteral("A katalógus megnyílt, de az ellenőrzése hibát talált:\n")
                              : QStringLiteral("A katalógus nem nyitható meg:\n")) +
                      QDir::toNativeSeparators(catalogueFile) + QStringLiteral("\n\n") + problem +
                      QStringLiteral("\n\nMit tegyen a program?"));
    layout->addWidget(lProblem);
    auto button = [&](QPushButton*& b, const char* name, const QString& text) {
        b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        layout->addWidget(b);
    };
    button(btnNewest, "btnNewest",
           FNewest ? QStringLiteral("A legutóbbi ép mentés visszaállítása (") + BackupTimeText(FNewest->When) +
                         QStringLiteral(", ") + QFileInfo(FNewest->FilePath).fileName() + u')'
                   : QStringLiteral("A legutóbbi ép mentés visszaállítása (nincs ép mentés)"));
    btnNewest->setEnabled(FNewest.has_value());
    button(btnChoose, "btnChoose", QStringLiteral("Mentés választása a listából..."));
    btnChoose->setEnabled(!Backup::ListBackups(backupFolder).isEmpty());
    button(btnOther, "btnOther", QStringLiteral("Másik katalógusfájl megnyitása..."));
    button(btnDemo, "btnDemo", QStringLiteral("Újrakezdés a bemutató katalógussal"));
    btnDemo->setEnabled(demoAvailable);
    button(btnKeep, "btnKeep", QStringLiteral("A katalógus megtartása így, ahogy van"));
    btnKeep->setVisible(opened);
    button(btnClose, "btnClose", QStringLiteral("Bezárás (nem tesz semmit)"));
    GuardedConnect(btnNewest, &QPushButton::clicked, this, [this] { btnNewestClick(); });
    GuardedConnect(btnChoose, &QPushButton::clicked, this, [this] { btnChooseClick(); });
    GuardedConnect(btnOther, &QPushButton::clicked, this, [this] { btnOtherClick(); });
    GuardedConnect(btnDemo, &QPushButton::clicked, this, [this] { btnDemoClick(); });
    GuardedConnect(btnKeep, &QPushButton::clicked, this, [this] { btnKeepClick(); });
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { reject(); });
    SetFinishKeys(this, {}, false);  // no choice is made by a stray Enter
}

void TfRecovery::Choose(TRecoveryChoice choice, const QString& file)
{
    FChoice = choice;
    FChosenFile = file;
    accept();
}

void TfRecovery::btnNewestClick()
{
    if (FNewest) Choose(TRecoveryChoice::RestoreBackup, FNewest->FilePath);
}

void TfRecovery::btnChooseClick()
{
    const QString file = ChooseBackup(this, FBackupFolder);
    if (!file.isEmpty()) Choose(TRecoveryChoice::RestoreBackup, file);
}

void TfRecovery::btnOtherClick()
{
    const QString file = PromptOpenFile(QStringLiteral("Katalógus megnyitása"), CatalogueFileFilter,
                                        QFileInfo(FCatalogueFile).absolutePath());
    if (!file.isEmpty()) Choose(TRecoveryChoice::OpenOther, file);
}

void TfRecovery::btnDemoClick()
{
    if (AskYesNo(QStringLiteral("A mostani katalógusfájl átnevezve megmarad a mappájában, és a program a bemutató "
                                "katalógussal indul. Folytatja?")))
        Choose(TRecoveryChoice::StartDemo);
}

void TfRecovery::btnKeepClick() { Choose(TRecoveryChoice::Keep); }
