#include "storage/udmVDB.h"

#include "storage/uAM.h"

TdmVDB* dmVDB = nullptr;

TdmVDB::TdmVDB(TAM& am) : updLapok(&am.ADOConnection), FAM(am)
{
    updLapok.SetSQL(
        "UPDATE TLAP SET L_LAPSZAM = :L_LAPSZAM, L_NEV = :L_NEV, L_VELKOR = :L_VELKOR, L_LAPTIPUS = :L_LAPTIPUS, "
        "L_LEIDEZES = :L_LEIDEZES, L_SZINT = :L_SZINT, L_UTAK = :L_UTAK, L_HP = :L_HP, L_DB = :L_DB, "
        "L_GYAKORISAG = :L_GYAKORISAG, L_LEIDEZESTECH = :L_LEIDEZESTECH WHERE L_ID = :PIDXLAP ;");
}

bool TdmVDB::SaveCardNote(qint64 cardId, const QString& note)
{
    const bool exists = FAM.CountByKey(cardId, "TMEGJ", "ME_LAPID") >= 1;
    try {
        FAM.commandTemp.SetSQL(exists ? QStringLiteral("UPDATE TMEGJ SET ME_MEGJEGYZES = :PMEGJ WHERE (ME_LAPID=:PLAP)")
                                      : QStringLiteral("INSERT INTO TMEGJ (ME_MEGJEGYZES,ME_LAPID) VALUES (:PMEGJ,:PLAP)"));
        FAM.commandTemp.SetParam(0, note);
        FAM.commandTemp.SetParam(1, cardId);
        FAM.commandTemp.Execute();
        return true;
    } catch (const EDatabaseError& e) {
        if (FAM.Host()) FAM.Host()->ShowPlainError(e.Message());
        return false;
    }
}
