#pragma once
// The Qt model over the open deck for the deck grid (card number, name, copies), row by row as the
// table changes, and the delegate that colours each row by its card-type group.
#include "decks/uDeckTable.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStyledItemDelegate>

#include <optional>

// The background of a row of the given group, plain or selected; none for a group outside 0..6
// (the grid's own background then).
std::optional<QColor> DeckGroupColor(int techSorrend, bool selected);

class TDeckModel : public QAbstractTableModel, private TDeckTableObserver {
    Q_OBJECT
public:
    enum { colLapszam = 0, colNev = 1, colDb = 2, ColumnCount = 3 };
    // The row's group, for the delegate.
    static constexpr int GroupRole = Qt::UserRole + 1;
    static constexpr int CardIdRole = Qt::UserRole + 2;

    explicit TDeckModel(TDeckTable& table, QObject* parent = nullptr);
    ~TDeckModel() override;

    TDeckTable& Table() { return FTable; }

    // The copies owned per card (none: no marks) and the main god's card; a row needing more
    // copies than owned shows its count in red with the shortfall as a tooltip.
    void SetOwnedCounts(const QHash<qint64, qint64>* owned, qint64 godId);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void BeforeReset() override;
    void AfterReset() override;
    void BeforeInsert(int row) override;
    void AfterInsert() override;
    void BeforeRemove(int row) override;
    void AfterRemove() override;
    void RowChanged(int row) override;

    TDeckTable& FTable;
    const QHash<qint64, qint64>* FOwned = nullptr;
    qint64 FGodId = -1;
};

// Every cell on its group's colour; the selected row in white bold on the darker colour.
class TDeckRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
