#include "storage/QueryModel.h"

#include "storage/DbProvider.h"

TQueryModel::TQueryModel(TQuery* query, QObject* parent) : QAbstractTableModel(parent), FQuery(query)
{
    connect(FQuery, &TQuery::BeforeReset, this, [this] { beginResetModel(); });
    connect(FQuery, &TQuery::AfterReset, this, [this] {
        MapColumns();
        FRows = FQuery->RecordCount();
        endResetModel();
    });
    MapColumns();
    FRows = FQuery->RecordCount();
}

void TQueryModel::SetColumns(const QStringList& fieldNames, const QStringList& titles)
{
    beginResetModel();
    FFields = fieldNames;
    FTitles = titles;
    MapColumns();
    endResetModel();
}

void TQueryModel::SetTitle(int column, const QString& title)
{
    if (column < 0 || column >= FTitles.size() || FTitles[column] == title) return;
    FTitles[column] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TQueryModel::MapColumns()
{
    FQueryColumn.clear();
    for (const QString& f : FFields) FQueryColumn.push_back(FQuery->FindField(f));
}

int TQueryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRows; }

int TQueryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(FFields.size()); }

QVariant TQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FRows || index.column() >= int(FQueryColumn.size())) return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
    return FQuery->ValueText(index.row(), FQueryColumn[size_t(index.column())]);
}

QVariant TQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
    return FTitles.value(section);
}
