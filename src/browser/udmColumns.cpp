#include "browser/udmColumns.h"

#include <algorithm>

TdmColumns* dmColumns = nullptr;

TdmColumns::TdmColumns()
{
    cCols.Add("L_LAPSZAM", QStringLiteral("Szám"));
    cCols.Add("L_NEV", QStringLiteral("Megnevezés"));
    cCols.Add("VELKOR_NEV", QStringLiteral("Velkor"));
    cCols.Add("LAPTIPUS_NEV", QStringLiteral("Laptípus"));
    cCols.Add("L_SZINT", QStringLiteral("Szint"));
    cCols.Add("L_LEIDEZES", QStringLiteral("Leidézés"));
    cCols.Add("L_UTAK", QStringLiteral("Utak"));
    cCols.Add("L_HP", QStringLiteral("Hp"));
    cCols.Add("L_DB", QStringLiteral("Db"));
}

void TdmColumns::ClearOrdering()
{
    for (auto& c : cCols.Cols) {
        c.OrderNum = 0;
        c.Order = ordNone;
    }
}

int TdmColumns::FindColumn(const QString& fieldName) const
{
    for (int i = 0; i < cCols.Count(); ++i)
        if (cCols[i].FieldName() == fieldName) return i;
    return 0;
}

int TdmColumns::CountOrdered() const
{
    return int(std::count_if(cCols.Cols.begin(), cCols.Cols.end(), [](const auto& c) { return c.OrderNum > 0; }));
}

void TdmColumns::MoveColumn(int from, int to)
{
    const int n = cCols.Count();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    TColumnCollItem item = cCols[from];
    cCols.Cols.erase(cCols.Cols.begin() + from);
    cCols.Cols.insert(cCols.Cols.begin() + to, item);
}

int TdmColumns::NextOrderNum() const
{
    int best = 0;
    for (const auto& c : cCols.Cols) best = std::max(best, c.OrderNum);
    return best + 1;
}

QString TdmColumns::OrderToText(TFieldOrders order)
{
    switch (order) {
    case ordAsc: return QStringLiteral("ASC");
    case ordDesc: return QStringLiteral("DESC");
    default: return QString();
    }
}

QString TdmColumns::BuildOrderBy() const
{
    const int count = CountOrdered();
    if (count == 0) return QString();
    QString s = QStringLiteral("ORDER BY ");
    for (int k = 1; k <= count; ++k)
        for (const auto& c : cCols.Cols)
            if (c.OrderNum == k) s += c.FieldName() + u' ' + OrderToText(c.Order) + u',';
    // Numbers above the count are skipped, so the text may hold no key at all.
    if (s.endsWith(u',')) s.chop(1);
    else s.clear();
    return s;
}

void TdmColumns::TitleClick(const QString& fieldName, bool ctrlHeld)
{
    if (cCols.Count() == 0) return;
    TColumnCollItem& item = cCols[FindColumn(fieldName)];
    if (item.OrderNum < 1) {
        if (!ctrlHeld) ClearOrdering();
        item.Order = ordAsc;
        item.OrderNum = NextOrderNum();
    } else {
        item.Order = item.Order == ordAsc ? ordDesc : ordAsc;
    }
}

TColumnLayoutEntry TdmColumns::LayoutEntry(int position) const
{
    const TColumnCollItem& c = cCols[position];
    return {c.FieldName(), int(c.Order), c.OrderNum, c.Visible, c.Width};
}

void TdmColumns::SetLayoutEntry(int position, const TColumnLayoutEntry& entry)
{
    TColumnCollItem& c = cCols[position];
    c.Order = (entry.Order == 1 || entry.Order == 2) ? TFieldOrders(entry.Order) : ordNone;
    c.OrderNum = entry.OrderNum;
    c.Visible = entry.Visible;
    c.Width = entry.Width;
}
