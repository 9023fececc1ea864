#include "storage/SearchIndex.h"

#include "storage/DbProvider.h"

#include <QList>
#include <QSet>

#include <algorithm>

namespace SearchIndex {

namespace {

const QString ViewName = QStringLiteral("VKERESES");
const QString TriggerPrefix = QStringLiteral("TRG_KERESES_");
const QString Columns = QStringLiteral("K_NEV, K_INFO, K_LAPSZAM, K_KEPESSEG, K_TULAJDONSAG, K_MEGJEGYZES");

// One row per card with everything the index holds. The lists are concatenated in a fixed order
// so that the texts a trigger removes are exactly the texts that were indexed.
const QString ViewSql = QStringLiteral(
    "CREATE VIEW VKERESES AS SELECT TLAP.L_ID AS K_ID, TLAP.L_NEV AS K_NEV, TLAP.L_INFO AS K_INFO, "
    "TLAP.L_LAPSZAM AS K_LAPSZAM, "
    "(SELECT group_concat(S_SZOVEG, ' ') FROM (SELECT S_SZOVEG FROM TSPEC WHERE TSPEC.S_LAPID = TLAP.L_ID "
    "ORDER BY S_NUM, rowid)) AS K_KEPESSEG, "
    "(SELECT group_concat(N, ' ') FROM (SELECT TULAJDONSAG_NEV AS N, 1 AS R, LT_TULID AS I FROM TLAPTUL "
    "INNER JOIN TTULAJDONSAG ON TTULAJDONSAG.TULAJDONSAG_ID = TLAPTUL.LT_TULID WHERE TLAPTUL.LT_LID = TLAP.L_ID "
    "UNION ALL SELECT KATEGORIA_NEV, 2, LT_TULID FROM TLAPTUL INNER JOIN TKATEGORIA ON "
    "TKATEGORIA.KATEGORIA_ID = TLAPTUL.LT_TULID WHERE TLAPTUL.LT_LID = TLAP.L_ID ORDER BY 2, 3)) AS K_TULAJDONSAG, "
    "(SELECT group_concat(ME_MEGJEGYZES, ' ') FROM (SELECT ME_MEGJEGYZES FROM TMEGJ WHERE TMEGJ.ME_LAPID = "
    "TLAP.L_ID ORDER BY rowid)) AS K_MEGJEGYZES FROM TLAP");

// Accents and letter case are folded by the tokenizer itself ("kozos" finds "Közös"); the
// two- and three-letter prefix tables keep short prefixes fast.
const QString TableSql = QStringLiteral(
    "CREATE VIRTUAL TABLE TKERESES USING fts5(K_NEV, K_INFO, K_LAPSZAM, K_KEPESSEG, K_TULAJDONSAG, "
    "K_MEGJEGYZES, content='VKERESES', content_rowid='K_ID', tokenize='unicode61 remove_diacritics 2', "
    "columnsize=0)");

QString DeleteRows(const QString& ids)
{
    return QStringLiteral("INSERT INTO TKERESES(TKERESES, rowid, ") + Columns + QStringLiteral(") SELECT 'delete', K_ID, ") +
           Columns + QStringLiteral(" FROM VKERESES WHERE K_ID IN (") + ids + QStringLiteral(");");
}

QString InsertRows(const QString& ids)
{
    return QStringLiteral("INSERT INTO TKERESES(rowid, ") + Columns + QStringLiteral(") SELECT K_ID, ") + Columns +
           QStringLiteral(" FROM VKERESES WHERE K_ID IN (") + ids + QStringLiteral(");");
}

// An external-content index must be told the old texts before they change: before every write
// the card's indexed row is removed with the texts the view still gives, after it the card is
// indexed again from the view. ids(row) names the cards a row of the table touches.
void AddTriggers(QStringList& out, const QString& table, const QString& updateOf,
                 const std::function<QString(const QString& row)>& ids)
{
    const QString name = TriggerPrefix + table + u'_';
    // Both the old and the new row's cards: a list of two values, or the union of two selects.
    const QString oldIds = ids(QStringLiteral("old"));
    const QString both = oldIds + (oldIds.startsWith(QLatin1String("SELECT")) ? QStringLiteral(" UNION ") : QStringLiteral(", ")) +
                         ids(QStringLiteral("new"));
    auto trigger = [&](const QString& suffix, const QString& when, const QString& body) {
        out << QStringLiteral("CREATE TRIGGER ") + name + suffix + u' ' + when + QStringLiteral(" ON ") + table +
                   QStringLiteral(" BEGIN ") + body + QStringLiteral(" END");
    };
    trigger(QStringLiteral("BI"), QStringLiteral("BEFORE INSERT"), DeleteRows(ids(QStringLiteral("new"))));
    trigger(QStringLiteral("AI"), QStringLiteral("AFTER INSERT"), InsertRows(ids(QStringLiteral("new"))));
    trigger(QStringLiteral("BU"), QStringLiteral("BEFORE UPDATE OF ") + updateOf, DeleteRows(both));
    trigger(QStringLiteral("AU"), QStringLiteral("AFTER UPDATE OF ") + updateOf, InsertRows(both));
    trigger(QStringLiteral("BD"), QStringLiteral("BEFORE DELETE"), DeleteRows(ids(QStringLiteral("old"))));
    trigger(QStringLiteral("AD"), QStringLiteral("AFTER DELETE"), InsertRows(ids(QStringLiteral("old"))));
}

QStringList MakeSchema()
{
    QStringList s{ViewSql, TableSql};
    auto column = [](const QString& c) { return [c](const QString& row) { return row + u'.' + c; }; };
    AddTriggers(s, QStringLiteral("TLAP"), QStringLiteral("L_ID, L_NEV, L_INFO, L_LAPSZAM"), column("L_ID"));
    AddTriggers(s, QStringLiteral("TSPEC"), QStringLiteral("S_LAPID, S_NUM, S_SZOVEG"), column("S_LAPID"));
    AddTriggers(s, QStringLiteral("TMEGJ"), QStringLiteral("ME_LAPID, ME_MEGJEGYZES"), column("ME_LAPID"));
    AddTriggers(s, QStringLiteral("TLAPTUL"), QStringLiteral("LT_LID, LT_TULID"), column("LT_LID"));
    // A renamed property or category changes the texts of every card linked to it.
    auto linked = [](const QString& idColumn) {
        return [idColumn](const QString& row) {
            return QStringLiteral("SELECT LT_LID FROM TLAPTUL WHERE LT_TULID = ") + row + u'.' + idColumn;
        };
    };
    AddTriggers(s, QStringLiteral("TTULAJDONSAG"), QStringLiteral("TULAJDONSAG_ID, TULAJDONSAG_NEV"),
                linked(QStringLiteral("TULAJDONSAG_ID")));
    AddTriggers(s, QStringLiteral("TKATEGORIA"), QStringLiteral("KATEGORIA_ID, KATEGORIA_NEV"),
                linked(QStringLiteral("KATEGORIA_ID")));
    return s;
}

struct TStoredObject {
    QString Type, Name, Sql;
};

// Our objects as the catalogue holds them (also those of an older layout).
QList<TStoredObject> StoredObjects(TConnection& connection)
{
    TQuery q(&connection);
    q.SetSQL(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE name IN ('TKERESES', 'VKERESES') OR "
                            "(type = 'trigger' AND substr(name, 1, 12) = 'TRG_KERESES_')"));
    q.Open();
    QList<TStoredObject> objects;
    for (int r = 0; r < q.RecordCount(); ++r) objects.append({q.ValueText(r, 0), q.ValueText(r, 1), q.ValueText(r, 2)});
    return objects;
}

QString QuoteName(const QString& name) { return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

}  // namespace

QString ColumnCaption(int column)
{
    switch (column) {
    case colName: return QStringLiteral("név");
    case colInfo: return QStringLiteral("információ");
    case colNumber: return QStringLiteral("lapszám");
    case colAbilities: return QStringLiteral("képesség");
    case colProperties: return QStringLiteral("tulajdonság");
    case colNote: return QStringLiteral("megjegyzés");
    default: return QString();
    }
}

const QStringList& SchemaStatements()
{
    static const QStringList schema = MakeSchema();
    return schema;
}

bool IsCurrent(TConnection& connection)
{
    const QList<TStoredObject> stored = StoredObjects(connection);
    if (stored.size() != SchemaStatements().size()) return false;
    QSet<QString> wanted(SchemaStatements().begin(), SchemaStatements().end());
    for (const TStoredObject& o : stored)
        if (!wanted.remove(o.Sql)) return false;
    return wanted.isEmpty();
}

int CardCount(TConnection& connection)
{
    TQuery q(&connection);
    q.SetSQL(QStringLiteral("SELECT COUNT(*) FROM TLAP"));
    q.Open();
    return q.Fields(0).AsInteger();
}

void Build(TConnection& connection, const TProgress& progress)
{
    TTransaction transaction(connection, TTransaction::Immediate);
    for (const TStoredObject& o : StoredObjects(connection)) {
        if (o.Type == QLatin1String("trigger")) {
            connection.ExecuteDirect(QStringLiteral("DROP TRIGGER IF EXISTS ") + QuoteName(o.Name));
        } else if (o.Type == QLatin1String("view") && o.Name == ViewName) {
            connection.ExecuteDirect(QStringLiteral("DROP VIEW IF EXISTS ") + QuoteName(o.Name));
        } else if (o.Type == QLatin1String("table") && o.Sql.startsWith(QLatin1String("CREATE VIRTUAL TABLE"))) {
            connection.ExecuteDirect(QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(o.Name));
        } else {
            // A table or view of the player's under our name is never dropped.
            throw EDatabaseError(QStringLiteral("A katalógusban már van %1 nevű objektum, a keresőindex nem készíthető el.")
                                     .arg(o.Name));
        }
    }
    for (const QString& sql : SchemaStatements()) connection.ExecuteDirect(sql);

    // Filled in slices of cards so that the progress dialog can follow.
    TQuery ids(&connection);
    ids.SetSQL(QStringLiteral("SELECT L_ID FROM TLAP ORDER BY L_ID"));
    ids.Open();
    const int total = ids.RecordCount();
    TCommand fill(&connection);
    fill.SetSQL(QStringLiteral("INSERT INTO TKERESES(rowid, ") + Columns + QStringLiteral(") SELECT K_ID, ") + Columns +
                QStringLiteral(" FROM VKERESES WHERE K_ID BETWEEN :PFROM AND :PTO"));
    const int slice = 2000;
    if (progress) progress(0, total);
    for (int from = 0; from < total; from += slice) {
        const int to = std::min(total, from + slice) - 1;
        fill.SetParam(0, ids.ValueInteger(from, 0));
        fill.SetParam(1, ids.ValueInteger(to, 0));
        fill.Execute();
        if (progress) progress(to + 1, total);
    }
    ids.Close();
    transaction.Commit();
}

bool Ensure(TConnection& connection, const TProgress& progress, QString* why)
{
    try {
        if (IsCurrent(connection)) return true;
        Build(connection, progress);
        return true;
    } catch (const EDatabaseError& e) {
        if (why) *why = e.Message();
        return false;
    }
}

QList<int> MatchedColumns(TConnection& connection, qint64 cardId, const QString& ftsQuery)
{
    QList<int> columns;
    if (ftsQuery.isEmpty()) return columns;
    QString select;
    for (int c = 0; c < ColumnCount; ++c)
        select += (c ? QStringLiteral(", ") : QString()) + QStringLiteral("instr(highlight(TKERESES, ") +
                  QString::number(c) + QStringLiteral(", char(1), ''), char(1)) > 0");
    TQuery q(&connection);
    q.SetSQL(QStringLiteral("SELECT ") + select + QStringLiteral(" FROM TKERESES WHERE TKERESES MATCH :PQ AND rowid = :PID"));
    q.SetParam(0, ftsQuery);
    q.SetParam(1, cardId);
    try {
        q.Open();
    } catch (const EDatabaseError&) {
        return columns;  // a tooltip says nothing rather than raising an error
    }
    if (q.IsEmpty()) return columns;
    for (int c = 0; c < ColumnCount; ++c)
        if (q.ValueInteger(0, c) != 0) columns << c;
    return columns;
}

}  // namespace SearchIndex
