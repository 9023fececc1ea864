#pragma once
// The two lists of every card on the quick editor page, as models (a catalogue may hold 100,000
// cards): "(number) name" lines in card-number order over the card query itself, and the names in
// Hungarian alphabetical order for the search box, each item carrying its card's L_ID.
#include <QAbstractListModel>
#include <QString>

#include <vector>

class TQuery;

inline constexpr int CardIdRole = Qt::UserRole + 1;

// Rows of a query with L_ID, L_LAPSZAM and L_NEV among its columns, in the query's order.
class TCardNumberListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TCardNumberListModel(QObject* parent = nullptr);
    // Shows the query's rows; null shows nothing. The query must stay open while shown.
    void SetQuery(const TQuery* query);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const TQuery* FQuery = nullptr;
    int FRows = 0;
    int FIdColumn = -1, FNumberColumn = -1, FNameColumn = -1;
};

// Card names sorted alphabetically (Hungarian order, letter case ignored).
class TCardNameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TCardNameListModel(QObject* parent = nullptr);
    // Takes the names and ids of the query's rows and sorts them.
    void Load(const TQuery& query);
    void Clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QString& Name(int row) const { return FItems[size_t(row)].Name; }
    qint64 CardId(int row) const { return FItems[size_t(row)].Id; }
    // The first item, in list order, whose name begins with text ignoring letter case; -1 when none.
    int FindPrefix(const QString& text) const;

private:
    struct TItem {
        QString Name;
        qint64 Id;
    };
    std::vector<TItem> FItems;
};

// Sorts names in the catalogue's alphabetical order (Hungarian, letter case ignored); equal names
// keep their order. Returns the positions in sorted order.
std::vector<int> SortedNameOrder(const std::vector<QString>& names);
