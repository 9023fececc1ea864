#include "decks/uDeckTable.h"

#include <algorithm>

bool TDeckTable::Before(const TDeckRow& a, const TDeckRow& b)
{
    if (a.TECHSORREND != b.TECHSORREND) return a.TECHSORREND < b.TECHSORREND;
    return a.L_LAPSZAM.compare(b.L_LAPSZAM, Qt::CaseInsensitive) < 0;
}

void TDeckTable::SetRecNo(int row)
{
    if (FRows.empty()) {
        FCurrent = -1;
        return;
    }
    FCurrent = std::clamp(row, 0, int(FRows.size()) - 1);
}

int TDeckTable::Find(qint64 cardId) const
{
    for (size_t i = 0; i < FRows.size(); ++i)
        if (FRows[i].L_ID == cardId) return int(i);
    return -1;
}

void TDeckTable::Load(std::vector<TDeckRow> rows)
{
    if (FObserver) FObserver->BeforeReset();
    std::stable_sort(rows.begin(), rows.end(), Before);
    FRows = std::move(rows);
    FCurrent = FRows.empty() ? -1 : 0;
    if (FObserver) FObserver->AfterReset();
}

int TDeckTable::Insert(TDeckRow row)
{
    // After any equal rows, so that rows of equal keys keep the order they came in.
    const auto at = std::upper_bound(FRows.begin(), FRows.end(), row, Before);
    const int index = int(at - FRows.begin());
    if (FObserver) FObserver->BeforeInsert(index);
    FRows.insert(at, std::move(row));
    if (FCurrent < 0) FCurrent = index;
    else if (index <= FCurrent) ++FCurrent;
    if (FObserver) FObserver->AfterInsert();
    return index;
}

void TDeckTable::Increment(int row)
{
    ++FRows[size_t(row)].DB;
    if (FObserver) FObserver->RowChanged(row);
}

void TDeckTable::Decrement(int row)
{
    TDeckRow& r = FRows[size_t(row)];
    if (r.DB > 1) {
        --r.DB;
        if (FObserver) FObserver->RowChanged(row);
        return;
    }
    if (FObserver) FObserver->BeforeRemove(row);
    FRows.erase(FRows.begin() + row);
    if (row < FCurrent) --FCurrent;
    if (FCurrent >= int(FRows.size())) FCurrent = int(FRows.size()) - 1;
    if (FObserver) FObserver->AfterRemove();
}

qint64 TDeckTable::CardCount() const
{
    qint64 n = 1;
    for (const TDeckRow& r : FRows) n += r.DB;
    return n;
}

qint64 TDeckTable::PowerPoints() const
{
    qint64 n = 0;
    for (const TDeckRow& r : FRows) n += qint64(r.DB) * r.HP;
    return n;
}
