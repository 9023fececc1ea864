// Backups in the running program: restore from the menu, the recovery window at start for each
// kind of damage and each way out, another catalogue, a failing backup folder, the interval copy.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uBackupControl.h"
#include "browser/ufMain.h"
#include "browser/ufRestore.h"
#include "storage/uAM.h"

#include <QPushButton>
#include <QTreeWidget>

namespace {

QByteArray Bytes(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString Folder(const TTempCatalogue& cat) { return cat.Dir.filePath("DB/Mentések"); }

}  // namespace

TEST(BackupWindow, RestoreReplacesTheCatalogueAfterACopyOfIt)
{
    TTempCatalogue cat;
    TTestUiHost ui;
    TProgram program(cat.ProgramDir());
    program.Create();
    ASSERT_EQ(Backup::ListBackups(Folder(cat)).size(), 1);  // the copy at start
    const QString decks = ScalarOn(AM->ADOConnection, "SELECT COUNT(*) FROM TPAKLI");
    const QString copy = Backup::ListBackups(Folder(cat))[0].FilePath;
    AM->ADOConnection.ExecuteDirect("DELETE FROM TPAKLILAP; DELETE FROM TPAKLI;");
    AM->qLapok.Last();
    ui.PushYesNo(true);
    ASSERT_TRUE(fMain->Backups->RestoreFrom(copy)) << ui.Texts().join('\n').toStdString();
    EXPECT_EQ(ScalarOn(AM->ADOConnection, "SELECT COUNT(*) FROM TPAKLI"), decks);
    EXPECT_EQ(AM->qLapok.RecNo(), 0);
    // The state replaced is kept as the newest copy.
    const auto copies = Backup::ListBackups(Folder(cat));
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(Backup::InspectBackup(copies[0].FilePath).Decks, 0);
    EXPECT_FALSE(Backup::InWrite(AM->ADOConnection));

    // The list shows both copies with their counts; a damaged one cannot be chosen.
    QFile cut(copies[1].FilePath);
    cut.open(QIODevice::ReadWrite);
    cut.resize(cut.size() / 3);
    cut.close();
    TfRestore dlg;
    dlg.LoadBackups(Folder(cat));
    ASSERT_EQ(dlg.lvBackups->topLevelItemCount(), 2);
    EXPECT_EQ(dlg.lvBackups->topLevelItem(0)->text(3), "0");
    EXPECT_EQ(dlg.SelectedFile(), copies[0].FilePath);
    dlg.SelectRow(1);
    EXPECT_EQ(dlg.SelectedFile(), "");
    EXPECT_FALSE(dlg.btnRestore->isEnabled());
}

TEST(BackupWindow, EachDamageReachesTheRecoveryWindowAndEachWayOutWorks)
{
    struct TCase {
        const char* damage;
        TRecoveryChoice choice;
    };
    const TCase cases[] = {
        {"missing", TRecoveryChoice::RestoreBackup}, {"truncated", TRecoveryChoice::RestoreBackup},
        {"random", TRecoveryChoice::StartDemo},      {"table", TRecoveryChoice::OpenOther},
        {"truncated", TRecoveryChoice::StartDemo},   {"table", TRecoveryChoice::Keep},
        {"random", TRecoveryChoice::None},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.damage) + " " + std::to_string(int(c.choice)));
        TTempCatalogue cat, other;
        {
            TConnection conn;
            conn.Open(cat.DbPath());
            Backup::BackupTo(conn, Folder(cat), QDateTime(QDate(2026, 1, 1), QTime(8, 0)));
        }
        const QString damage = c.damage;
        QFile f(cat.DbPath());
        if (damage == "missing") f.remove();
        if (damage == "truncated") f.resize(f.size() / 2);
        if (damage == "random" && f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(QByteArray(5000, '\x17'));
        f.close();
        if (damage == "table") {
            TConnection conn;
            conn.Open(cat.DbPath());
            conn.ExecuteDirect("DROP TABLE TSPEC");
        }
        const QByteArray damaged = Bytes(cat.DbPath());

        TTestUiHost ui;
        ui.PushYesNo(true);
        TProgram program(cat.ProgramDir());
        int asked = 0;
        bool openedAtPrompt = false;
        fMain->Backups->SetDemoFolder(VELKOR_DEMO_DIR);
        fMain->Backups->RecoveryPrompt = [&](const QString&, bool opened) {
            openedAtPrompt = opened;
            return std::make_pair(asked++ ? TRecoveryChoice::None : c.choice, other.DbPath());
        };
        program.Create();
        EXPECT_EQ(asked, 1);
        if (damage != "truncated") {
            EXPECT_EQ(openedAtPrompt, damage == "table");
        }
        const bool recovers = c.choice != TRecoveryChoice::None;
        EXPECT_EQ(fMain->Connected(), recovers || damage == "table");
        if (!recovers) continue;
        EXPECT_EQ(fMain->Backups->DamagedKept(), c.choice == TRecoveryChoice::Keep);
        if (c.choice == TRecoveryChoice::OpenOther) {
            EXPECT_EQ(AM->CatalogFileName(), other.DbPath());
            EXPECT_TRUE(Bytes(cat.ProgramDir() + "/velkor.ini").contains("Katalogus="));
        }
        if (c.choice == TRecoveryChoice::Keep || c.choice == TRecoveryChoice::OpenOther) {
            EXPECT_EQ(Bytes(cat.DbPath()), damaged);
            continue;
        }
        EXPECT_GT(AM->qLapok.RecordCount(), 0);
        // Nothing is lost: the damaged file lies beside, byte for byte.
        const QStringList aside = QDir(cat.Dir.filePath("DB")).entryList({"Velkor-hibás-*.db"});
        ASSERT_EQ(aside.size(), damage == "missing" ? 0 : 1);
        if (!aside.isEmpty()) {
            EXPECT_EQ(Bytes(cat.Dir.filePath("DB/" + aside[0])), damaged);
        }
    }
}

TEST(BackupWindow, AnotherCatalogueOpensAndIsKeptForTheNextStart)
{
    TTempCatalogue cat, other;
    {
        TConnection conn;
        conn.Open(other.DbPath());
        conn.ExecuteDirect("DELETE FROM TLAPTUL; DELETE FROM TMEGJ; DELETE FROM TSPEC; DELETE FROM TPAKLILAP; "
                           "DELETE FROM TSZURESLAP; DELETE FROM TLAP WHERE L_ID NOT IN (SELECT MIN(L_ID) FROM TLAP)");
    }
    TTestUiHost ui;
    {
        TProgram program(cat.ProgramDir());
        program.Create();
        ui.PushOpenFile(cat.Dir.filePath("velkor.ini"));  // not a catalogue: the current one stays
        fMain->Backups->acOpenCatalogueExecute();
        EXPECT_EQ(ui.Count(TUiKind::Warning), 1);
        EXPECT_EQ(AM->CatalogFileName(), cat.DbPath());
        ui.PushOpenFile(other.DbPath());
        fMain->Backups->acOpenCatalogueExecute();
        EXPECT_EQ(AM->qLapok.RecordCount(), 1);
        EXPECT_TRUE(QDir(other.Dir.filePath("DB/Mentések")).exists());
        fMain->close();
    }
    TProgram again(cat.ProgramDir());
    again.Create();
    EXPECT_EQ(AM->CatalogFileName(), other.DbPath());
    EXPECT_EQ(AM->qLapok.RecordCount(), 1);
}

TEST(BackupWindow, AFailingFolderIsReportedOnceAndTheIntervalCopiesOnlyChanges)
{
    TTempCatalogue cat;
    TTestUiHost ui;
    TProgram program(cat.ProgramDir());
    program.Create();
    const int atStart = Backup::ListBackups(Folder(cat)).size();
    fMain->Backups->tmrBackupTimer();  // nothing written since
    EXPECT_EQ(Backup::ListBackups(Folder(cat)).size(), atStart);
    AM->RunCommand("UPDATE TLAP SET L_DB = 3");
    fMain->Backups->tmrBackupTimer();
    EXPECT_EQ(Backup::ListBackups(Folder(cat)).size(), atStart + 1);

    QFile blocker(cat.Dir.filePath("fájl"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    fMain->Settings.BackupFolder = blocker.fileName() + "/Mentések";
    for (int i = 0; i < 3; ++i) {
        AM->RunCommand("UPDATE TLAP SET L_DB = L_DB + 1");
        fMain->Backups->tmrBackupTimer();
    }
    EXPECT_EQ(ui.Count(TUiKind::Warning), 1);
    fMain->Backups->acBackupNowExecute();  // asked for: always answered
    EXPECT_EQ(ui.Count(TUiKind::Warning), 2);
    EXPECT_EQ(ScalarOn(AM->ADOConnection, "SELECT MIN(L_DB) FROM TLAP"), "6");
}
