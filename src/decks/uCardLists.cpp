#include "decks/uCardLists.h"

#include "storage/DbProvider.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>

std::vector<int> SortedNameOrder(const std::vector<QString>& names)
{
    // The same order as the catalogue's NOCASE collation on our connection: the Hungarian
    // collator without letter case, ties broken by the case-folded text. Sort keys are made once
    // per name; comparing them is far cheaper than collating the texts at every comparison.
    QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const QString& n : names) keys.push_back(collator.sortKey(n));
    std::vector<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        if (c != 0) return c < 0;
        return names[size_t(a)].toCaseFolded() < names[size_t(b)].toCaseFolded();
    });
    return order;
}

// ---------------------------------------------------------------------------------------------

TCardNumberListModel::TCardNumberListModel(QObject* parent) : QAbstractListModel(parent) {}

void TCardNumberListModel::SetQuery(const TQuery* query)
{
    beginResetModel();
    FQuery = query;
    FRows = 0;
    if (FQuery && FQuery->Active()) {
        FIdColumn = FQuery->FindField("L_ID");
        FNumberColumn = FQuery->FindField("L_LAPSZAM");
        FNameColumn = FQuery->FindField("L_NEV");
        if (FIdColumn >= 0 && FNumberColumn >= 0 && FNameColumn >= 0) FRows = FQuery->RecordCount();
    }
    endResetModel();
}

int TCardNumberListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRows; }

QVariant TCardNumberListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FRows) return QVariant();
    if (role == Qt::DisplayRole)
        return u'(' + FQuery->ValueText(index.row(), FNumberColumn) + QStringLiteral(") ") +
               FQuery->ValueText(index.row(), FNameColumn);
    if (role == CardIdRole) return FQuery->ValueInteger(index.row(), FIdColumn);
    return QVariant();
}

// ---------------------------------------------------------------------------------------------

TCardNameListModel::TCardNameListModel(QObject* parent) : QAbstractListModel(parent) {}

void TCardNameListModel::Load(const TQuery& query)
{
    const int idColumn = query.FindField("L_ID");
    const int nameColumn = query.FindField("L_NEV");
    std::vector<QString> names;
    std::vector<qint64> ids;
    if (idColumn >= 0 && nameColumn >= 0) {
        names.reserve(size_t(query.RecordCount()));
        ids.reserve(size_t(query.RecordCount()));
        for (int r = 0; r < query.RecordCount(); ++r) {
            names.push_back(query.ValueText(r, nameColumn));
            ids.push_back(query.ValueInteger(r, idColumn));
        }
    }
    const std::vector<int> order = SortedNameOrder(names);
    beginResetModel();
    FItems.clear();
    FItems.reserve(order.size());
    for (int i : order) FItems.push_back({std::move(names[size_t(i)]), ids[size_t(i)]});
    endResetModel();
}

void TCardNameListModel::Clear()
{
    beginResetModel();
    FItems.clear();
    endResetModel();
}

int TCardNameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FItems.size());
}

QVariant TCardNameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(FItems.size())) return QVariant();
    const TItem& item = FItems[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) return item.Name;
    if (role == CardIdRole) return item.Id;
    return QVariant();
}

int TCardNameListModel::FindPrefix(const QString& text) const
{
    if (text.isEmpty()) return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Name.startsWith(text, Qt::CaseInsensitive)) return int(i);
    return -1;
}
