#include "decks/uDeckOwned.h"

#include <QStringList>

#include <algorithm>

TOwnedCounts::TOwnedCounts(TConnection& connection) : qLapDb(&connection)
{
    qLapDb.SetSQL("SELECT L_DB FROM TLAP WHERE L_ID = :PID ;");
}

void TOwnedCounts::Load(const std::vector<qint64>& cardIds, bool refresh)
{
    if (refresh) FOwned.clear();
    for (const qint64 id : cardIds) {
        if (FOwned.contains(id)) continue;
        qLapDb.Close();
        qLapDb.SetParam("PID", id);
        qLapDb.Open();
        // NULL (nothing owned) and a missing card both own nothing; a negative count is no count.
        const qint64 n = qLapDb.IsEmpty() || qLapDb.ValueIsNull(0, 0) ? 0 : qLapDb.ValueInteger(0, 0);
        FOwned.insert(id, std::max<qint64>(0, n));
        qLapDb.Close();
    }
}

qint64 MissingForRow(const TDeckRow& row, const QHash<qint64, qint64>& owned, qint64 godId)
{
    const qint64 needed = qint64(row.DB) + (row.L_ID == godId ? 1 : 0);
    return std::max<qint64>(0, needed - owned.value(row.L_ID, 0));
}

std::vector<TMissingCard> MissingCards(const std::vector<TDeckRow>& rows, const QHash<qint64, qint64>& owned,
                                       const TDeckGod& god)
{
    std::vector<TMissingCard> out;
    bool godInRows = false;
    for (const TDeckRow& r : rows) godInRows = godInRows || r.L_ID == god.Id;
    if (god.Id >= 0 && !godInRows && owned.value(god.Id, 0) < 1) out.push_back({god.Id, god.Number, god.Name, 1});
    for (const TDeckRow& r : rows) {
        const qint64 n = MissingForRow(r, owned, god.Id);
        if (n > 0) out.push_back({r.L_ID, r.L_LAPSZAM, r.L_NEV, n});
    }
    return out;
}

qint64 MissingTotal(const std::vector<TMissingCard>& missing)
{
    qint64 n = 0;
    for (const TMissingCard& m : missing) n += m.Missing;
    return n;
}

QString MissingCardsText(const std::vector<TMissingCard>& missing)
{
    QStringList lines;
    for (const TMissingCard& m : missing)
        lines << QStringLiteral("%1 (%2) %3").arg(m.Missing).arg(m.L_LAPSZAM, m.L_NEV);
    return lines.join(u'\n');
}
