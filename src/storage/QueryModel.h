#pragma once
// A read-only table model over a TQuery: one row per cursor row, one column per chosen field.
// Cells are formatted only when a view asks for them; nothing is copied per change.
#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

class TQuery;

class TQueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TQueryModel(TQuery* query, QObject* parent = nullptr);

    // The fields shown, in column order, and their titles.
    void SetColumns(const QStringList& fieldNames, const QStringList& titles);
    void SetTitle(int column, const QString& title);
    const QStringList& ColumnFields() const { return FFields; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    TQuery* Query() const { return FQuery; }

private:
    void MapColumns();

    TQuery* FQuery;
    QStringList FFields;
    QStringList FTitles;
    std::vector<int> FQueryColumn;  // field position in the query, -1 when it has none
    int FRows = 0;
};
