#include "refdata/uLookupTable.h"

#include "app/Messages.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace {

const TLookupTableDef kTables[LookupTableCount] = {
    {"TVELKOR", "VELKOR_NEV", "VELKOR_ID", "M", QStringLiteral("velkora")},
    {"TLAPTIPUS", "LAPTIPUS_NEV", "LAPTIPUS_ID", "L", QStringLiteral("laptípusa")},
    {"TTULAJDONSAG", "TULAJDONSAG_NEV", "TULAJDONSAG_ID", "T", QStringLiteral("tulajdonsága")},
    {"TKATEGORIA", "KATEGORIA_NEV", "KATEGORIA_ID", "S", QStringLiteral("egyéb tulajdonsága")},
};

// Tables whose codes the cards hold in TLAPTUL rather than in a column of their own.
bool LinkedThroughTlaptul(const TLookupTableDef& def)
{
    return def.Table == QLatin1String("TTULAJDONSAG") || def.Table == QLatin1String("TKATEGORIA");
}

int CountOf(TConnection& connection, const QString& sql, const QString& id)
{
    TQuery q(&connection);
    q.SetSQL(sql);
    q.SetParam("PID", id);
    q.Open();
    return q.IsEmpty() ? 0 : q.Fields(0).AsInteger();
}

}  // namespace

const TLookupTableDef& LookupTableDef(int index) { return kTables[std::clamp(index, 0, LookupTableCount - 1)]; }

qint64 LookupIdNumber(const QString& id)
{
    const QStringView digits = QStringView(id).mid(1);
    // Eighteen digits still fit in 64 bits; anything longer is not an id this program made.
    if (digits.isEmpty() || digits.size() > 18) return -1;
    qint64 n = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

QString FormatLookupId(const QString& prefix, qint64 number)
{
    return prefix + QString::number(number).rightJustified(3, u'0');
}

QString NextLookupIdAfter(const QString& prefix, const QStringList& ids)
{
    if (ids.isEmpty()) return FormatLookupId(prefix, 0);
    qint64 largest = -1;
    for (const QString& id : ids) largest = std::max(largest, LookupIdNumber(id));
    return FormatLookupId(prefix, largest + 1);
}

QString NextLookupIdIn(TQuery& query, const TLookupTableDef& def)
{
    query.Close();
    query.SetSQL("SELECT " + def.IdColumn + " FROM " + def.Table);
    query.Open();
    QStringList ids;
    ids.reserve(query.RecordCount());
    for (int r = 0; r < query.RecordCount(); ++r) ids.append(query.ValueText(r, 0));
    query.Close();
    return NextLookupIdAfter(def.Prefix, ids);
}

QStringList LookupUsage(TConnection& connection, const TLookupTableDef& def, const QString& id)
{
    QStringList places;
    int cards = 0;
    int decks = 0;
    if (LinkedThroughTlaptul(def)) {
        cards = CountOf(connection, "SELECT COUNT(*) FROM TLAPTUL WHERE LT_TULID = :PID", id);
        decks = CountOf(connection,
                        "SELECT COUNT(*) FROM TPAKLI INNER JOIN TLAPTUL ON TLAPTUL.LT_LID = TPAKLI.P_FOISTENLID "
                        "WHERE TLAPTUL.LT_TULID = :PID",
                        id);
    } else {
        const QString column = def.Table == QLatin1String("TVELKOR") ? "L_VELKOR" : "L_LAPTIPUS";
        cards = CountOf(connection, "SELECT COUNT(*) FROM TLAP WHERE " + column + " = :PID", id);
        decks = CountOf(connection,
                        "SELECT COUNT(*) FROM TPAKLI INNER JOIN TLAP ON TLAP.L_ID = TPAKLI.P_FOISTENLID WHERE TLAP." +
                            column + " = :PID",
                        id);
    }
    if (cards > 0) places.append(QStringLiteral("%1 lap %2").arg(cards).arg(def.UsageWord));
    if (decks > 0) places.append(QStringLiteral("%1 pakli főistenének %2").arg(decks).arg(def.UsageWord));

    TQuery filters(&connection);
    filters.SetSQL("SELECT F_FBID, FB_NAME FROM TFILTER LEFT JOIN TFILTERBASE ON TFILTERBASE.FB_ID = TFILTER.F_FBID "
                   "WHERE TFILTER.F_VALUE = :PID GROUP BY F_FBID, FB_NAME ORDER BY FB_NAME COLLATE NOCASE");
    filters.SetParam("PID", id);
    filters.Open();
    if (!filters.IsEmpty()) {
        QStringList names;
        const int shown = std::min(filters.RecordCount(), 5);
        for (int r = 0; r < shown; ++r) names.append(QStringLiteral("„%1”").arg(filters.ValueText(r, 1)));
        QString line = QStringLiteral("%1 tárolt szűrés feltétele: %2").arg(filters.RecordCount()).arg(names.join(", "));
        if (filters.RecordCount() > shown) line += QStringLiteral(" …");
        places.append(line);
    }
    return places;
}

QString LookupInUseMessage(const QString& name, const QStringList& usage)
{
    QString text = QStringLiteral("„%1” nem törölhető, mert még használatban van:").arg(name);
    for (const QString& place : usage) text += QStringLiteral("\n– ") + place;
    return text;
}

// ---------------------------------------------------------------------------------------------

TLookupTable::TLookupTable(TConnection* connection, QObject* parent)
    : QAbstractTableModel(parent), FConnection(connection), FQuery(connection), FCommand(connection)
{
}

void TLookupTable::SetTable(const TLookupTableDef& def)
{
    Close();
    FDef = def;
}

void TLookupTable::Open()
{
    beginResetModel();
    FRows.clear();
    FActive = false;
    try {
        FQuery.Close();
        // COLLATE NOCASE is our connection's Hungarian order, whatever the column declares.
        FQuery.SetSQL("SELECT " + FDef.IdColumn + ", " + FDef.NameColumn + " FROM " + FDef.Table + " ORDER BY " +
                      FDef.NameColumn + " COLLATE NOCASE, " + FDef.IdColumn);
        FQuery.Open();
        FRows.reserve(size_t(FQuery.RecordCount()));
        for (int r = 0; r < FQuery.RecordCount(); ++r) {
            const QString name = FQuery.ValueText(r, 1);
            FRows.push_back({FQuery.ValueText(r, 0), name, name, FQuery.StoredValue(r, 1), true, false});
        }
        FQuery.Close();
        FActive = true;
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void TLookupTable::Close()
{
    if (!FActive && FRows.empty()) return;
    beginResetModel();
    FRows.clear();
    FActive = false;
    endResetModel();
}

QString TLookupTable::IdAt(int row) const { return row >= 0 && row < RowCount() ? FRows[size_t(row)].Id : QString(); }

QString TLookupTable::NameAt(int row) const
{
    return row >= 0 && row < RowCount() ? FRows[size_t(row)].Name : QString();
}

QString TLookupTable::StoredNameAt(int row) const
{
    return row >= 0 && row < RowCount() ? FRows[size_t(row)].Stored : QString();
}

QVariant TLookupTable::StoredValueAt(int row) const
{
    return row >= 0 && row < RowCount() ? FRows[size_t(row)].StoredValue : QVariant();
}

bool TLookupTable::IsNewRow(int row) const
{
    return row >= 0 && row < RowCount() && !FRows[size_t(row)].InCatalogue;
}

bool TLookupTable::IsPending(int row) const { return row >= 0 && row < RowCount() && RowPending(FRows[size_t(row)]); }

bool TLookupTable::RowPending(const TRow& r) const { return r.InCatalogue ? r.Name != r.Stored : true; }

bool TLookupTable::Modified() const
{
    return std::any_of(FRows.begin(), FRows.end(), [this](const TRow& r) { return RowPending(r); });
}

int TLookupTable::RowOfId(const QString& id) const
{
    for (int r = 0; r < RowCount(); ++r)
        if (FRows[size_t(r)].Id == id) return r;
    return -1;
}

int TLookupTable::AppendRow()
{
    if (!FActive) return -1;
    // What is pending goes first, so the new id is taken over every stored row.
    Post();
    const QString id = OnNewRecord ? OnNewRecord() : NextLookupIdIn(FQuery, FDef);
    const int row = RowCount();
    beginInsertRows(QModelIndex(), row, row);
    FRows.push_back({id, QString(), QString(), QVariant(), false, false});
    endInsertRows();
    return row;
}

void TLookupTable::RemoveRowAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    FRows.erase(FRows.begin() + row);
    endRemoveRows();
}

bool TLookupTable::WriteRow(TRow& r)
{
    if (!r.InCatalogue) {
        TQuery& q = FQuery;
        q.Close();
        q.SetSQL("SELECT COUNT(*) FROM " + FDef.Table + " WHERE " + FDef.IdColumn + " = :PPAR1");
        q.SetParam("PPAR1", r.Id);
        q.Open();
        const bool taken = q.Fields(0).AsInteger() > 0;
        q.Close();
        // Someone stored this id since the row was made: take the next free one instead.
        if (taken) r.Id = OnNewRecord ? OnNewRecord() : NextLookupIdIn(FQuery, FDef);
        FCommand.SetSQL("INSERT INTO " + FDef.Table + " (" + FDef.IdColumn + "," + FDef.NameColumn +
                        ") VALUES (:PPAR1,:PPAR2)");
        FCommand.SetParam("PPAR1", r.Id);
        FCommand.SetParam("PPAR2", r.Name);
        FCommand.Execute();
        return true;
    }
    TQuery& q = FQuery;
    q.Close();
    q.SetSQL("SELECT " + FDef.NameColumn + " FROM " + FDef.Table + " WHERE " + FDef.IdColumn + " = :PPAR1");
    q.SetParam("PPAR1", r.Id);
    q.Open();
    const bool same = !q.IsEmpty() && SameStoredValue(q.Fields(0).AsStoredValue(), r.StoredValue);
    q.Close();
    if (!same) return false;
    FCommand.SetSQL("UPDATE " + FDef.Table + " SET " + FDef.NameColumn + " = :PPAR1 WHERE " + FDef.IdColumn +
                    " = :PPAR2");
    FCommand.SetParam("PPAR1", r.Name);
    FCommand.SetParam("PPAR2", r.Id);
    FCommand.Execute();
    return true;
}

bool TLookupTable::Post()
{
    if (FPosting || !FActive) return false;
    const QScopedValueRollback<bool> posting(FPosting, true);
    // A new row nobody typed into is dropped, as leaving an untouched new grid row does.
    for (int r = RowCount() - 1; r >= 0; --r)
        if (!FRows[size_t(r)].InCatalogue && !FRows[size_t(r)].Typed) RemoveRowAt(r);
    std::vector<int> pending;
    for (int r = 0; r < RowCount(); ++r)
        if (RowPending(FRows[size_t(r)])) pending.push_back(r);
    if (pending.empty()) return false;

    std::vector<TRow> written;
    QString staleMessage;
    {
        TTransaction transaction(*FConnection);
        for (int r : pending) {
            TRow copy = FRows[size_t(r)];
            if (!WriteRow(copy)) {
                const TRow& stale = FRows[size_t(r)];
                staleMessage =
                    QStringLiteral("A(z) „%1” tételt időközben máshol módosították vagy törölték, ezért a(z) „%2” "
                                   "név nincs mentve. A táblázat újra betöltődik.")
                        .arg(stale.Stored, stale.Name);
                break;
            }
            written.push_back(copy);
        }
        if (staleMessage.isEmpty()) transaction.Commit();
    }  // a stale row takes back the whole post
    if (!staleMessage.isEmpty()) {
        ShowWarning(staleMessage);
        Open();
        return false;
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        TRow& r = FRows[size_t(pending[i])];
        r.Id = written[i].Id;
        r.Stored = r.Name;
        r.StoredValue = r.Name;
        r.InCatalogue = true;
        r.Typed = false;
        const QModelIndex cell = index(pending[i], 0);
        emit dataChanged(cell, cell);
        emit headerDataChanged(Qt::Vertical, pending[i], pending[i]);
    }
    FChanged = true;
    return true;
}

void TLookupTable::CancelRow(int row)
{
    if (row < 0 || row >= RowCount()) return;
    TRow& r = FRows[size_t(row)];
    if (!r.InCatalogue) {
        RemoveRowAt(row);
        return;
    }
    if (r.Name == r.Stored) return;
    r.Name = r.Stored;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell);
    emit headerDataChanged(Qt::Vertical, row, row);
}

bool TLookupTable::DeleteRow(int row, QStringList* usage)
{
    if (row < 0 || row >= RowCount()) return false;
    if (!FRows[size_t(row)].InCatalogue) {
        RemoveRowAt(row);
        return true;
    }
    const QString id = FRows[size_t(row)].Id;
    TTransaction transaction(*FConnection);
    // Checked again here, with the delete, so nothing can start using it in between.
    const QStringList places = LookupUsage(*FConnection, FDef, id);
    if (!places.isEmpty()) {
        if (usage) *usage = places;
        return false;
    }
    FCommand.SetSQL("DELETE FROM " + FDef.Table + " WHERE " + FDef.IdColumn + " = :PPAR1");
    FCommand.SetParam("PPAR1", id);
    FCommand.Execute();
    transaction.Commit();
    RemoveRowAt(row);
    FChanged = true;
    return true;
}

int TLookupTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int TLookupTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant TLookupTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= RowCount() || index.column() != 0) return QVariant();
    // The tip shows a name too long for the column in full.
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return QVariant();
    return FRows[size_t(index.row())].Name;
}

bool TLookupTable::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= RowCount() || index.column() != 0 || role != Qt::EditRole) return false;
    TRow& r = FRows[size_t(index.row())];
    const QString text = value.toString();
    if (text == r.Name) return true;
    r.Name = text;
    if (!r.InCatalogue) r.Typed = true;
    emit dataChanged(index, index);
    emit headerDataChanged(Qt::Vertical, index.row(), index.row());
    return true;
}

Qt::ItemFlags TLookupTable::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TLookupTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return section == 0 ? QStringLiteral("Megnevezés") : QVariant();
    // A row not yet written is marked, as the user needs to know what leaving it will do.
    return IsPending(section) ? QStringLiteral("*") : QString();
}
