#pragma once
// The player's collection in figures: per pantheon, card type, rarity or pantheon and rarity, how
// many cards the catalogue has, how many of them are owned, how many copies, and how complete
// the group is; the missing cards of a group and the spare copies beyond a kept number.
// Every view is one grouped statement; the window above only shows the rows.
#include "filters/uQPList.h"
#include "storage/DbProvider.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

class TCardListConditions;

enum TCollectionGrouping : int { cgPantheon = 0, cgCardType = 1, cgRarity = 2, cgPantheonRarity = 3 };

// The names of the groupings, in the order of TCollectionGrouping.
QStringList CollectionGroupingNames();

// The copies a card counts as owned: a positive number in L_DB (NULL, 0, negative and text
// count as none). The figures, the missing-cards condition and the spare copies share it.
extern const QString OwnedCopiesSql;

// The catalogue's own rarity names ("t" -> "tömeg"), empty for a code it does not know, and the
// display order of a code (unknown codes after the five).
QString RarityName(const QString& code);
int RarityRank(const QString& code);

inline const QString UNKNOWN_GROUP = QStringLiteral("(ismeretlen)");
inline const QString TOTAL_ROW = QStringLiteral("Összesen");

struct TCollectionGroup {
    // The first key: the pantheon's or card type's code as HEX() of the stored value, or the
    // rarity's for the rarity grouping. Unknown1: no lookup row holds the code.
    QString Hex1;
    bool Unknown1 = false;
    // The rarity of the two-level grouping, as HEX() of the stored code.
    QString Hex2;
    QString Name1, Name2;
    int Rank1 = 0, Rank2 = 0;  // rarity display order where a level is a rarity
    bool Total = false;        // the total row: every card of the scope
    qint64 Cards = 0, Owned = 0, Copies = 0;

    qint64 Missing() const { return Cards - Owned; }
    // Owned / Cards in percent; -1 for an empty group.
    double Completion() const { return Cards > 0 ? 100.0 * double(Owned) / double(Cards) : -1.0; }
    // "Holdfátyol", "Holdfátyol – ritka", "Összesen".
    QString Caption() const;
};

class TCollectionModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { colName = 0, colCards, colOwned, colMissing, colCopies, colCompletion, colCount };
    // The value behind a cell: the number (completion as a double, -1 when empty) or the name.
    static constexpr int SortRole = Qt::UserRole + 1;
    // True on the total row.
    static constexpr int TotalRole = Qt::UserRole + 2;

    explicit TCollectionModel(TConnection* connection, QObject* parent = nullptr);

    // The card list's conditions the figures follow; null: the whole catalogue.
    void SetConditions(const TCardListConditions* conditions) { FConditions = conditions; }
    const TCardListConditions* Conditions() const { return FConditions; }
    TCollectionGrouping Grouping() const { return FGrouping; }

    // Runs the grouped statement and shows its rows in the current sort order. Database errors
    // propagate and leave the model empty.
    void Refresh(TCollectionGrouping grouping);

    // The statements, as they run (the benchmark runs them bare).
    QString GroupedSql(TCollectionGrouping grouping) const;
    // "" for the whole catalogue, else " AND TLAP.L_ID IN (the card list's cards)".
    QString ScopeCondition() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The total row stays last whatever the order; names sort in Hungarian order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The groups in shown order, then the total row.
    const std::vector<TCollectionGroup>& Groups() const { return FRows; }
    const TCollectionGroup& Group(int row) const { return FRows.at(size_t(row)); }

    // The missing cards of a group as "(number) name" lines in card order.
    QStringList MissingLines(const TCollectionGroup& group) const;
    // Whether the card list can show the group's cards (it leaves out cards of unknown lookups).
    static bool ShownInCardList(const TCollectionGroup& group) { return !group.Unknown1; }
    // The card list conditions of a group's missing cards, of kind pkMissingCards.
    std::vector<TQueryPiece> MissingPieces(const TCollectionGroup& group) const;
    // "Hiányzók: Holdfátyol – ritka": what the filter combo shows for that condition.
    static QString MissingCaption(const TCollectionGroup& group);

    // The spare copies: every card of the scope owned more than keep times, in card order, as
    // the fields SPARE, L_LAPSZAM, L_NEV, and a last row holding the total under totalText.
    QString SpareSql() const;
    void OpenSpare(TQuery& query, int keep, const QString& totalText) const;
    // "N (number) name" lines and "Összesen: N" after them; empty when there is nothing spare.
    QString SpareText(int keep) const;

private:
    // The group's condition on TLAP, for a statement with bound parameters :H1 and :H2.
    QString GroupCondition(const TCollectionGroup& group) const;
    void SortRows();

    TConnection* FConnection;
    const TCardListConditions* FConditions = nullptr;
    TCollectionGrouping FGrouping = cgPantheon;
    std::vector<TCollectionGroup> FRows;
    int FSortColumn = colName;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
};

