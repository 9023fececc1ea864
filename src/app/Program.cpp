#include "app/Program.h"

#include "app/Guard.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "export/udmExport.h"
#include "filters/uQPList.h"
#include "storage/uAM.h"
#include "storage/udmVDB.h"

#include <QDir>
#include <QFile>

TProgram::TProgram(const QString& programDir)
{
    QPList = new TQPList;
    AM = new TAM(programDir);
    AM->SetConditions(QPList);
    dmVDB = new TdmVDB(*AM);
    dmColumns = new TdmColumns;
    dmExport = new TdmExport;
    fMain = new TfMain(programDir);
}

void TProgram::Create()
{
    Guarded([] { fMain->FormCreate(); });
}

TProgram::~TProgram()
{
    delete fMain;
    fMain = nullptr;
    delete dmExport;
    dmExport = nullptr;
    delete dmColumns;
    dmColumns = nullptr;
    delete dmVDB;
    dmVDB = nullptr;
    delete AM;
    AM = nullptr;
    delete QPList;
    QPList = nullptr;
}

bool CopyCatalogue(const QString& fromProgramDir, const QString& toProgramDir)
{
    const QString target = QDir(toProgramDir).filePath("DB/Velkor.db");
    if (!QDir(toProgramDir).mkpath("DB")) return false;
    QFile::remove(target);
    if (!QFile::copy(QDir(fromProgramDir).filePath("DB/Velkor.db"), target)) return false;
    return QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}
