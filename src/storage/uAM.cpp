#include "storage/uAM.h"

#include "storage/CatalogNames.h"

#include <QDir>

TAM* AM = nullptr;

const QString GetFilterSql = QStringLiteral(
    "SELECT TFILTER.F_ID, TFILTER.F_FBID, TFILTER.F_FTID, TFILTER.F_FOID, TFILTER.F_VALUE, TFILTER.F_ORDER, "
    "TFILTER.F_GROUP, TFILTER.F_ANDOR, TFILTER.F_FIELDNAME, TFILTER.F_OPERATION, TFILTER.F_VALUETYPE, "
    "TFILTERTYPE.FT_FIELD FROM (TFILTER INNER JOIN TFILTERTYPE ON TFILTER.F_FTID = TFILTERTYPE.FT_ID) "
    "WHERE F_FBID = :PID ORDER BY F_ORDER ;");


TAM::TAM(const QString& programDir, QObject* parent)
    : QObject(parent),
      qLapok(&ADOConnection),
      qTemp(&ADOConnection),
      commandTemp(&ADOConnection),
      qTulajd(&ADOConnection),
      qKategoria(&ADOConnection),
      qSajatMegj(&ADOConnection),
      qSpec(&ADOConnection),
      qFilterQuery(&ADOConnection),
      qTulQuery(&ADOConnection),
      qKatQuery(&ADOConnection),
      qGetFilter(&ADOConnection),
      qSzuresLap(&ADOConnection),
      cInsertFilterBase(&ADOConnection),
      cInsertFilter(&ADOConnection),
      qInsUjPakliFej(&ADOConnection),
      qMasolPakliFej(&ADOConnection),
      qMasolPakliLap(&ADOConnection),
      FProgramDir(programDir)
{
    qTulajd.SetSQL(
        "SELECT TTULAJDONSAG.TULAJDONSAG_NEV FROM TTULAJDONSAG INNER JOIN TLAPTUL ON TLAPTUL.LT_TULID = "
        "TTULAJDONSAG.TULAJDONSAG_ID WHERE TLAPTUL.LT_LID = :PIDXLAP ORDER BY TULAJDONSAG_NEV COLLATE NOCASE ;");
    qKategoria.SetSQL(
        "SELECT TKATEGORIA.KATEGORIA_NEV FROM TKATEGORIA INNER JOIN TLAPTUL ON TLAPTUL.LT_TULID = "
        "TKATEGORIA.KATEGORIA_ID WHERE TLAPTUL.LT_LID = :PIDXLAP ORDER BY KATEGORIA_NEV COLLATE NOCASE ;");
    qSajatMegj.SetSQL("SELECT TMEGJ.ME_MEGJEGYZES FROM TMEGJ WHERE TMEGJ.ME_LAPID = :PIDXLAP ;");
    qSpec.SetSQL("SELECT S_KIJATSZ, S_LEIDEZES, S_SZOVEG FROM TSPEC WHERE S_LAPID = :PIDXLAP ORDER BY S_NUM ;");
    qFilterQuery.SetSQL("SELECT FB_ID, FB_CATEGORY, FB_NAME FROM TFILTERBASE ORDER BY FB_CATEGORY, FB_NAME COLLATE NOCASE");
    qTulQuery.SetSQL("SELECT TULAJDONSAG_ID,TULAJDONSAG_NEV FROM TTULAJDONSAG ORDER BY TULAJDONSAG_NEV COLLATE NOCASE ;");
    qKatQuery.SetSQL("SELECT KATEGORIA_ID, KATEGORIA_NEV FROM TKATEGORIA ORDER BY KATEGORIA_NEV COLLATE NOCASE ;");
    qGetFilter.SetSQL(GetFilterSql);
    qSzuresLap.SetSQL(
        "SELECT TSZURESLAP.SZL_ID, TFILTERBASE.FB_NAME, TSZURESLAP.SZL_FBID FROM TFILTERBASE INNER JOIN "
        "TSZURESLAP ON TFILTERBASE.FB_ID = TSZURESLAP.SZL_FBID WHERE TSZURESLAP.SZL_LID = :PLID ;");
    cInsertFilterBase.SetSQL("INSERT INTO TFILTERBASE (FB_NAME,FB_CATEGORY) VALUES (:FB_NAME,:FB_CATEGORY) ;");
    cInsertFilter.SetSQL(
        "INSERT INTO TFILTER ( F_FBID, F_FTID, F_FOID, F_VALUE, F_ORDER, F_GROUP, F_ANDOR, F_FIELDNAME, "
        "F_OPERATION, F_VALUETYPE) VALUES ( :F_FBID, :F_FTID, :F_FOID, :F_VALUE, :F_ORDER, :F_GROUP, :F_ANDOR, "
        ":F_FIELDNAME, :F_OPERATION, :F_VALUETYPE) ;");
    qInsUjPakliFej.SetSQL(
        "INSERT INTO TPAKLI ( P_NEV, P_MEGJ, P_FOISTENLID ) VALUES ( :P_NEV, :P_MEGJ, :P_FOISTENLID ) ;");
    qMasolPakliFej.SetSQL(
        "INSERT INTO TPAKLI ( P_NEV, P_FOISTENLID ) SELECT :PUJNEV, P_FOISTENLID FROM TPAKLI WHERE P_ID = "
        ":PPAKLIID ;");
    qMasolPakliLap.SetSQL(
        "INSERT INTO TPAKLILAP ( PL_PID, PL_LID, PL_LDB) SELECT :PUJPAKLIID, PL_LID, PL_LDB FROM TPAKLILAP "
        "WHERE PL_PID = :PREGIPAKLIID ;");
}

TAM::~TAM() = default;

QString TAM::CatalogFileName() const
{
    return QDir(FProgramDir).filePath(FCatalogFile.isEmpty() ? QStringLiteral("DB/Velkor.db") : FCatalogFile);
}

void TAM::ReportError(const QString& context, const QString& message) const
{
    if (FHost) FHost->ShowError(context, message);
}

bool TAM::Connect()
{
    if (ADOConnection.Connected()) return true;
    try {
        ADOConnection.Open(CatalogFileName());
    } catch (const EDatabaseError& e) {
        ReportError(QStringLiteral("Hiba a csatlakozás közben"), e.Message());
        throw EAbort();
    }
    return true;
}

QString TAM::BuildCardListSql() const
{
    const bool joined = FConditions && FConditions->AnyFieldContains(QStringLiteral("LT_TULID"));
    const QString select = joined ? Catalog::CardListSelectWithProperties : Catalog::CardListSelect;
    const QString where = FConditions ? FConditions->BuildWhereClause() : QString();
    const QString orderBy = FHost ? FHost->CardListOrderBy() : QString();
    return select + u' ' + where + u' ' + orderBy;
}

void TAM::ReQuery()
{
    qLapok.DisableControls();
    try {
        if (FHost) FHost->RebuildQuickSearchPieces();
        qLapok.Close();
        qLapok.SetSQL(BuildCardListSql());
        if (FConditions)
            for (const auto& [name, value] : FConditions->BoundValues()) qLapok.SetParam(name, value);
        qLapok.Open();
        if (FHost) FHost->SetCardCountCaption(QString::number(qLapok.RecordCount()) + QStringLiteral(" darab"));
    } catch (const Exception& e) {
        ReportError(QStringLiteral("Am.ReQuery ") + e.Message() + QStringLiteral("\r\n") + qLapok.SQL(), e.Message());
    }
    qLapok.EnableControls();
}

bool TAM::RunGuarded(const QString& context, const QString& sql, const QList<QPair<QString, QVariant>>& named,
                     const QVariant* value)
{
    try {
        commandTemp.SetSQL(sql);
        for (const auto& [name, v] : named) commandTemp.SetParam(name, v);
        if (value) commandTemp.SetParam(0, *value);
        commandTemp.Execute();
        return true;
    } catch (const EDatabaseError& e) {
        ReportError(context, e.Message());
        return false;
    }
}

bool TAM::RunCommand(const QString& sql) { return RunGuarded(QStringLiteral("Am.RunCommand"), sql, {}, nullptr); }

bool TAM::RunCommand(const QString& sql, const QList<QPair<QString, QVariant>>& params)
{
    return RunGuarded(QStringLiteral("Am.RunCommand"), sql, params, nullptr);
}

bool TAM::RunCommand(const QString& sql, qint64 value)
{
    const QVariant v(value);
    return RunGuarded(QStringLiteral("Am.RunCommand 2"), sql, {}, &v);
}

bool TAM::RunCommandString(const QString& sql, qint64 value)
{
    const QVariant v(value);
    return RunGuarded(QStringLiteral("Am.RunCommandString"), sql, {}, &v);
}

qint64 TAM::InsertNewFilter(const QString& name, const QString& category)
{
    try {
        cInsertFilterBase.SetParam("FB_NAME", name);
        cInsertFilterBase.SetParam("FB_CATEGORY", category);
        cInsertFilterBase.Execute();
        // The row just inserted, not MAX(FB_ID): another writer can move the maximum.
        return ADOConnection.LastInsertId();
    } catch (const EDatabaseError& e) {
        ReportError(QStringLiteral("Am.InsertNewFilter"), e.Message());
        return -1;
    }
}

bool TAM::DeleteFilter(qint64 filterId)
{
    TTransaction transaction(ADOConnection);
    // The first failure has been reported; leaving the scope undoes the earlier deletes.
    if (!RunCommand(QStringLiteral("DELETE FROM TSZURESLAP WHERE SZL_FBID = :PID"), filterId)) return false;
    if (!RunCommand(QStringLiteral("DELETE FROM TFILTER WHERE F_FBID = :PID"), filterId)) return false;
    if (!RunCommand(QStringLiteral("DELETE FROM TFILTERBASE WHERE FB_ID = :PID"), filterId)) return false;
    transaction.Commit();
    return true;
}

qint64 TAM::GetMaxValue(const QString& column, const QString& table)
{
    qTemp.Close();
    qTemp.SetSQL("SELECT MAX(" + column + ") AS CVALUE FROM " + table);
    qTemp.Open();
    const qint64 v = qTemp.Fields(0).AsLargeInt();
    qTemp.Close();
    return v;
}

QString TAM::GetMaxValueText(const QString& column, const QString& table)
{
    qTemp.Close();
    qTemp.SetSQL("SELECT MAX(" + column + ") AS CVALUE FROM " + table);
    qTemp.Open();
    const QString v = qTemp.Fields(0).AsString();
    qTemp.Close();
    return v;
}

QString TAM::GetFieldValue(const QString& table, const QString& keyColumn, const QVariant& keyValue,
                           const QString& resultColumn)
{
    qTemp.Close();
    qTemp.SetSQL("SELECT " + resultColumn + " FROM " + table + " WHERE " + keyColumn + " = :PFIELD");
    qTemp.SetParam("PFIELD", keyValue);
    qTemp.Open();
    const QString v = qTemp.IsEmpty() ? QString() : qTemp.Fields(0).AsString();
    qTemp.Close();
    return v;
}

int TAM::CountByKey(qint64 keyValue, const QString& table, const QString& keyColumn)
{
    qTemp.Close();
    qTemp.SetSQL("SELECT COUNT(" + keyColumn + ") AS DB FROM " + table + " WHERE " + keyColumn + " = :PFIELD");
    qTemp.SetParam("PFIELD", keyValue);
    qTemp.Open();
    const int v = qTemp.Fields(0).AsInteger();
    qTemp.Close();
    return v;
}

bool TAM::Tulajdonsag_Insert(qint64 cardId, const QString& linkedId)
{
    try {
        qTemp.Close();
        qTemp.SetSQL("SELECT COUNT(*) AS CVALUE FROM TLAPTUL WHERE (LT_LID=:PLAP) AND (LT_TULID=:PTUL)");
        qTemp.SetParam("PLAP", cardId);
        qTemp.SetParam("PTUL", linkedId);
        qTemp.Open();
        const int count = qTemp.Fields(0).AsInteger();
        qTemp.Close();
        if (count == 0) {
            commandTemp.SetSQL("INSERT INTO TLAPTUL (LT_LID,LT_TULID) VALUES (:PLAP,:PTUL)");
            commandTemp.SetParam("PLAP", cardId);
            commandTemp.SetParam("PTUL", linkedId);
            commandTemp.Execute();
        }
        return true;
    } catch (const EDatabaseError& e) {
        qTemp.Close();
        ReportError(QStringLiteral("Am.Tulajdonsag_Insert"), e.Message());
        return false;
    }
}

bool TAM::Tulajdonsag_Delete(qint64 cardId, const QString& linkedId)
{
    try {
        commandTemp.SetSQL("DELETE FROM TLAPTUL WHERE (LT_LID=:PLAP) AND (LT_TULID=:PTUL)");
        commandTemp.SetParam("PLAP", cardId);
        commandTemp.SetParam("PTUL", linkedId);
        commandTemp.Execute();
        return true;
    } catch (const EDatabaseError& e) {
        ReportError(QStringLiteral("Am.Tulajdonsag_Delete"), e.Message());
        return false;
    }
}

void TAM::OpenCardSpecials(qint64 cardId)
{
    qSpec.Close();
    qSpec.SetParam("PIDXLAP", cardId);
    qSpec.Open();
}

// ---------------------------------------------------------------------------------------------
// Stored decks

bool TAM::DeleteDeck(qint64 deckId)
{
    try {
        TTransaction transaction(ADOConnection);
        for (const QString& sql : {QStringLiteral("DELETE FROM TPAKLILAP WHERE PL_PID = :PPAKLIID"),
                                   QStringLiteral("DELETE FROM TPAKLI WHERE P_ID = :PPAKLIID")}) {
            commandTemp.SetSQL(sql);
            commandTemp.SetParam(0, deckId);
            commandTemp.Execute();
        }
        transaction.Commit();
        return true;
    } catch (const EDatabaseError& e) {
        ReportError(QStringLiteral("Am.DeleteDeck"), e.Message());
        return false;
    }
}

qint64 TAM::CopyDeck(qint64 sourceId, const QString& newName)
{
    try {
        TTransaction transaction(ADOConnection);
        qMasolPakliFej.SetParam(0, newName);
        qMasolPakliFej.SetParam(1, sourceId);
        // Nothing inserted leaves the connection's last rowid at some older row: never use it then.
        if (qMasolPakliFej.Execute() != 1)
            throw EDatabaseError(
                QStringLiteral("A másolandó pakli nincs a katalógusban (azonosító: %1).").arg(sourceId));
        // The row just inserted, not MAX(P_ID): another writer cannot make it another deck.
        const qint64 newId = ADOConnection.LastInsertId();
        qTemp.Close();
        qTemp.SetSQL(QStringLiteral("UPDATE TPAKLI SET P_NEV = :PNEV WHERE P_ID = :PPAKLIID"));
        qTemp.SetParam(QStringLiteral("PNEV"), newName);
        qTemp.SetParam(QStringLiteral("PPAKLIID"), newId);
        qTemp.ExecSQL();
        qMasolPakliLap.SetParam(0, newId);
        qMasolPakliLap.SetParam(1, sourceId);
        qMasolPakliLap.Execute();
        transaction.Commit();
        return newId;
    } catch (const EDatabaseError& e) {
        ReportError(QStringLiteral("Am.CopyDeck"), e.Message());
        return -1;
    }
}
