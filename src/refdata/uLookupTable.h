#pragma once
// The four code tables (pantheons, card types, properties, categories): which table, columns and
// id letter each uses, the generated ids, the check that an entry is no longer in use, and the
// editable grid model over one of them. The model reads with our provider's query and writes with
// its commands; every write runs in one transaction.
#include "storage/DbProvider.h"

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <vector>

struct TLookupTableDef {
    QString Table;
    QString NameColumn;  // grid column and ordering
    QString IdColumn;
    QString Prefix;      // the id letter
    QString UsageWord;   // how a card holds it, for the in-use message ("velkora")
};

// 0 pantheons, 1 card types, 2 properties, 3 categories.
inline constexpr int LookupTableCount = 4;
const TLookupTableDef& LookupTableDef(int index);

// The number part of an id (its text after the first character), or -1 when that is not a
// plain decimal number.
qint64 LookupIdNumber(const QString& id);
// prefix + number padded with zeros to at least three digits (M000, T017, T1000).
QString FormatLookupId(const QString& prefix, qint64 number);
// The id after the largest number among ids: 0 for no ids, and an id whose number part is not a
// number counts as -1. Taken over the numbers, not the texts, so T1000 follows T999.
QString NextLookupIdAfter(const QString& prefix, const QStringList& ids);
// The same over the ids stored in the table, read with query.
QString NextLookupIdIn(TQuery& query, const TLookupTableDef& def);

// Where an entry is still used: cards, property links, stored filter conditions and decks whose
// main god holds it. Empty when it is used nowhere; otherwise one Hungarian line per place.
QStringList LookupUsage(TConnection& connection, const TLookupTableDef& def, const QString& id);
// The message that refuses deleting name, listing the places.
QString LookupInUseMessage(const QString& name, const QStringList& usage);

// One table of names, edited in place: a changed name or a new row stays pending until Post
// (the grid posts when its row is left). Rows keep their places until the table is reopened.
class TLookupTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TLookupTable(TConnection* connection, QObject* parent = nullptr);

    // Chooses the table; closes it first.
    void SetTable(const TLookupTableDef& def);
    const TLookupTableDef& Table() const { return FDef; }
    // Reads the table ordered by name (Hungarian order); pending changes are dropped.
    void Open();
    void Close();
    bool Active() const { return FActive; }

    // The id of a new row; the window fills it (the id is checked again when the row is posted).
    std::function<QString()> OnNewRecord;

    int RowCount() const { return int(FRows.size()); }
    QString IdAt(int row) const;
    QString NameAt(int row) const;
    // The name as stored in the catalogue (before a pending change); empty for a new row.
    QString StoredNameAt(int row) const;
    // The name exactly as stored, with its storage class (NULL, a number, a text), for stale checks.
    QVariant StoredValueAt(int row) const;
    bool IsNewRow(int row) const;
    bool IsPending(int row) const;
    // Whether any row has an unsaved change or insert.
    bool Modified() const;
    int RowOfId(const QString& id) const;

    // Appends a new row, after posting what is pending, and returns its index.
    int AppendRow();
    // Writes every pending row: a changed name is updated, a new row inserted, a new row that was
    // never typed into is dropped. A name changed by someone else since it was read is not
    // overwritten: the user is told and the table is reopened. True when anything was written.
    bool Post();
    // Undoes the pending change of a row (a new row goes away).
    void CancelRow(int row);
    // Deletes the row's entry; refuses (false, with the places in usage) when it is in use.
    bool DeleteRow(int row, QStringList* usage = nullptr);

    // Whether anything was written since the model was made.
    bool Changed() const { return FChanged; }

    // Model.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct TRow {
        QString Id;
        QString Name;
        QString Stored;       // the name as read from the catalogue
        QVariant StoredValue; // the same with its storage class; invalid for a new row
        bool InCatalogue = true;
        bool Typed = false;   // a new row the user has typed into
    };
    bool RowPending(const TRow& r) const;
    // Inside the caller's transaction; false when the stored name is no longer what was read.
    bool WriteRow(TRow& r);
    void RemoveRowAt(int row);

    TConnection* FConnection;
    TLookupTableDef FDef;
    TQuery FQuery;
    TCommand FCommand;
    std::vector<TRow> FRows;
    bool FActive = false;
    bool FChanged = false;
    bool FPosting = false;  // removing a row moves the grid's row, which posts again
};
