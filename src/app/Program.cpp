#include "app/Program.h"

#include "app/Guard.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "export/udmExport.h"
#include "filters/uQPList.h"
#include "storage/uAM.h"
#include "storage/udmVDB.h"

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
