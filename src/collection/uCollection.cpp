#include "collection/uCollection.h"

#include "storage/CardListConditions.h"
#include "storage/CatalogNames.h"
#include "storage/DisplayText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

// Only a number counts: the column's INTEGER affinity keeps a word ("néhány") as text, and SQLite
// orders every text above every number, so a bare "L_DB > 0" would count it as owned. A range
// with an upper bound leaves out text, blobs and NULL in one comparison.
const QString OwnedSql = QStringLiteral("(TLAP.L_DB BETWEEN 1 AND 1e300)");
const QString OwnedCopiesSql =
    QStringLiteral("(CASE WHEN TLAP.L_DB BETWEEN 1 AND 1e300 THEN CAST(TLAP.L_DB AS INTEGER) ELSE 0 END)");

namespace {

struct TRarity {
    QString Code, Name;
};
const TRarity kRarities[] = {{QStringLiteral("t"), QStringLiteral("tömeg")},
                             {QStringLiteral("g"), QStringLiteral("gyakori")},
                             {QStringLiteral("á"), QStringLiteral("átlagos")},
                             {QStringLiteral("r"), QStringLiteral("ritka")},
                             {QStringLiteral("e"), QStringLiteral("egyedi")}};

// A pantheon or card type level: its card column and lookup table.
struct TLevel {
    QString Column, Table, IdColumn, NameColumn;
};
const TLevel kPantheon{QStringLiteral("L_VELKOR"), QStringLiteral("TVELKOR"), QStringLiteral("VELKOR_ID"),
                       QStringLiteral("VELKOR_NEV")};
const TLevel kCardType{QStringLiteral("L_LAPTIPUS"), QStringLiteral("TLAPTIPUS"), QStringLiteral("LAPTIPUS_ID"),
                       QStringLiteral("LAPTIPUS_NEV")};

const QLocale& Hungarian()
{
    static const QLocale locale(QLocale::Hungarian, QLocale::Hungary);
    return locale;
}

// The rarity code back from HEX(): the UTF-8 bytes of the stored text.
QString FromHex(const QString& hex) { return QString::fromUtf8(QByteArray::fromHex(hex.toLatin1())); }

QString RarityCaption(const QString& code)
{
    if (code.isEmpty()) return UNKNOWN_GROUP;
    const QString name = RarityName(code);
    return name.isEmpty() ? QStringLiteral("(ismeretlen: ") + code + u')' : name;
}

qint64 CopiesFrom(double total)
{
    // TOTAL() never overflows; a sum beyond 64 bits is shown as the largest one.
    if (!(total < 9.2e18)) return std::numeric_limits<qint64>::max();
    return qint64(std::llround(total));
}

}  // namespace

QStringList CollectionGroupingNames()
{
    return {QStringLiteral("Velkor"), QStringLiteral("Laptípus"), QStringLiteral("Gyakoriság"),
            QStringLiteral("Velkor és gyakoriság")};
}

QString RarityName(const QString& code)
{
    for (const TRarity& r : kRarities)
        if (r.Code == code) return r.Name;
    return QString();
}

int RarityRank(const QString& code)
{
    for (int i = 0; i < int(std::size(kRarities)); ++i)
        if (kRarities[i].Code == code) return i;
    return code.isEmpty() ? int(std::size(kRarities)) + 1 : int(std::size(kRarities));
}

QString TCollectionGroup::Caption() const
{
    if (Total) return TOTAL_ROW;
    return Name2.isEmpty() ? Name1 : Name1 + QStringLiteral(" – ") + Name2;
}

// --- the statements ---

TCollectionModel::TCollectionModel(TConnection* connection, QObject* parent)
    : QAbstractTableModel(parent), FConnection(connection)
{
}

QString TCollectionModel::ScopeCondition() const
{
    if (!FConditions) return QString();
    // The card list's own FROM and WHERE: its cards, whatever the filters join in. Through IN, a
    // card the properties join lists twice still counts once.
    const bool joined = FConditions->AnyFieldContains(QStringLiteral("LT_TULID"));
    const QString& select = joined ? Catalog::CardListSelectWithProperties : Catalog::CardListSelect;
    const QString from = select.mid(select.indexOf(QStringLiteral(" FROM ")));
    return QStringLiteral("TLAP.L_ID IN (SELECT TLAP.L_ID") + from + FConditions->BuildWhereClause() + u')';
}

QString TCollectionModel::GroupedSql(TCollectionGrouping grouping) const
{
    const TLevel* level = grouping == cgCardType ? &kCardType : grouping == cgRarity ? nullptr : &kPantheon;
    const QString rarity = QStringLiteral("TLAP.L_GYAKORISAG COLLATE BINARY");
    // Two levels sort as one key (pantheon, char(1), rarity): a single sort key is about twice as
    // fast as two. The codes come apart again per group. NULL and empty codes fall together,
    // as they show together.
    const QString key = grouping == cgPantheonRarity
                            ? QStringLiteral("COALESCE(TLAP.L_VELKOR, '') || char(1) || COALESCE(TLAP.L_GYAKORISAG, '')")
                        : level ? QStringLiteral("TLAP.") + level->Column
                                : rarity;
    const QString k1 = grouping == cgPantheonRarity ? QStringLiteral("substr(G.K, 1, instr(G.K, char(1)) - 1)")
                                                    : QStringLiteral("G.K");
    const QString k2 = grouping == cgPantheonRarity ? QStringLiteral("substr(G.K, instr(G.K, char(1)) + 1)")
                                                    : QStringLiteral("NULL");
    // The name is looked up once per group, not joined per card: a code without a lookup row
    // gives NULL (counted as unknown) and a lookup table with a doubled id counts no card twice.
    const QString name1 = level ? QStringLiteral("(SELECT COALESCE(") + level->NameColumn + QStringLiteral(", '') FROM ") +
                                      level->Table + QStringLiteral(" WHERE ") + level->Table + u'.' + level->IdColumn +
                                      QStringLiteral(" = ") + k1 + QStringLiteral(" LIMIT 1)")
                                : QStringLiteral("NULL");
    const QString scope = ScopeCondition();
    return QStringLiteral("SELECT HEX(") + k1 + QStringLiteral(") AS H1, ") + k1 + QStringLiteral(" AS K1, ") + name1 +
           QStringLiteral(" AS N1, HEX(") + k2 + QStringLiteral(") AS H2, G.LAPOK, G.MEGVAN, G.PELDANY FROM (SELECT ") +
           key + QStringLiteral(" AS K, COUNT(*) AS LAPOK, SUM(") + OwnedSql +
           QStringLiteral(") AS MEGVAN, TOTAL(CASE WHEN ") + OwnedSql +
           QStringLiteral(" THEN CAST(TLAP.L_DB AS INTEGER) END) AS PELDANY FROM TLAP") +
           (scope.isEmpty() ? QString() : QStringLiteral(" WHERE ") + scope) + QStringLiteral(" GROUP BY 1) AS G");
}

void TCollectionModel::Refresh(TCollectionGrouping grouping)
{
    beginResetModel();
    FGrouping = grouping;
    FRows.clear();
    try {
        TQuery q(FConnection);
        q.SetSQL(GroupedSql(grouping));
        q.Open();
        // Groups that show as one (every unknown pantheon, NULL and empty rarity) merge here.
        std::map<std::tuple<bool, QString, QString>, size_t> index;
        TCollectionGroup total;
        total.Total = true;
        for (int r = 0; r < q.RecordCount(); ++r) {
            TCollectionGroup g;
            const QString hex1 = q.ValueText(r, 0);
            if (grouping == cgRarity) {
                g.Hex1 = hex1;
                g.Name1 = RarityCaption(FromHex(hex1));
                g.Rank1 = RarityRank(FromHex(hex1));
            } else if (q.ValueIsNull(r, 2)) {
                g.Unknown1 = true;
                g.Name1 = UNKNOWN_GROUP;
            } else {
                g.Hex1 = hex1;
                g.Name1 = q.ValueText(r, 2);
                if (g.Name1.isEmpty()) g.Name1 = q.ValueText(r, 1);  // a lookup row without a name: its code
            }
            if (grouping == cgPantheonRarity) {
                g.Hex2 = q.ValueText(r, 3);
                g.Name2 = RarityCaption(FromHex(g.Hex2));
                g.Rank2 = RarityRank(FromHex(g.Hex2));
            }
            const qint64 cards = q.ValueInteger(r, 4), owned = q.ValueInteger(r, 5);
            const qint64 copies = CopiesFrom(q.Value(r, 6).toDouble());
            const auto key = std::make_tuple(g.Unknown1, g.Hex1, g.Hex2);
            auto found = index.find(key);
            if (found == index.end()) {
                found = index.emplace(key, FRows.size()).first;
                FRows.push_back(g);
            }
            TCollectionGroup& target = FRows[found->second];
            target.Cards += cards;
            target.Owned += owned;
            target.Copies = target.Copies > std::numeric_limits<qint64>::max() - copies
                                ? std::numeric_limits<qint64>::max()
                                : target.Copies + copies;
            total.Cards += cards;
            total.Owned += owned;
            total.Copies = total.Copies > std::numeric_limits<qint64>::max() - copies
                               ? std::numeric_limits<qint64>::max()
                               : total.Copies + copies;
        }
        SortRows();
        FRows.push_back(total);
    } catch (...) {
        FRows.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

// --- the table ---

int TCollectionModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(FRows.size()); }

int TCollectionModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colCount; }

QVariant TCollectionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(FRows.size()) || index.column() >= colCount) return QVariant();
    const TCollectionGroup& g = FRows[size_t(index.row())];
    const int column = index.column();
    if (role == TotalRole) return g.Total;
    if (role == Qt::TextAlignmentRole)
        return column == colName ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter)) : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    const qint64 numbers[] = {0, g.Cards, g.Owned, g.Missing(), g.Copies};
    if (role == SortRole) {
        if (column == colName) return g.Caption();
        if (column == colCompletion) return g.Completion();
        return numbers[column];
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return QVariant();
    if (column == colName) return g.Caption();
    if (column == colCompletion) {
        const double c = g.Completion();
        if (c < 0) return QStringLiteral("–");
        // 100 % only when nothing is missing, 0 % only when nothing is owned.
        double shown = std::round(c * 10.0) / 10.0;
        if (g.Owned < g.Cards && shown >= 100.0) shown = 99.9;
        if (g.Owned > 0 && shown <= 0.0) shown = 0.1;
        return Hungarian().toString(shown, 'f', 1) + u'%';
    }
    return Hungarian().toString(numbers[column]);
}

QVariant TCollectionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= colCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == colName) return CollectionGroupingNames().value(FGrouping);
    static const QString names[] = {QString(), QStringLiteral("Lapok"), QStringLiteral("Megvan"),
                                    QStringLiteral("Hiányzik"), QStringLiteral("Példány"), QStringLiteral("Teljesség")};
    return names[section];
}

void TCollectionModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= colCount) return;
    FSortColumn = column;
    FSortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const bool hasTotal = !FRows.empty() && FRows.back().Total;
    TCollectionGroup total;
    if (hasTotal) {
        total = FRows.back();
        FRows.pop_back();
    }
    SortRows();
    if (hasTotal) FRows.push_back(total);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TCollectionModel::SortRows()
{
    // Names in Hungarian order with the unknown groups last, rarities in the catalogue's order.
    auto byName = [this](const TCollectionGroup& a, const TCollectionGroup& b) {
        if (a.Unknown1 != b.Unknown1) return b.Unknown1;
        if (a.Rank1 != b.Rank1) return a.Rank1 < b.Rank1;
        if (int c = FConnection->CompareText(a.Name1, b.Name1)) return c < 0;
        if (a.Rank2 != b.Rank2) return a.Rank2 < b.Rank2;
        return FConnection->CompareText(a.Name2, b.Name2) < 0;
    };
    auto value = [this](const TCollectionGroup& g) {
        switch (FSortColumn) {
        case colCards: return double(g.Cards);
        case colOwned: return double(g.Owned);
        case colMissing: return double(g.Missing());
        case colCopies: return double(g.Copies);
        default: return g.Completion();
        }
    };
    auto less = [&](const TCollectionGroup& a, const TCollectionGroup& b) {
        if (FSortColumn != colName) {
            const double va = value(a), vb = value(b);
            if (va != vb) return va < vb;
        }
        return byName(a, b);
    };
    if (FSortOrder == Qt::AscendingOrder)
        std::stable_sort(FRows.begin(), FRows.end(), less);
    else
        std::stable_sort(FRows.begin(), FRows.end(), [&](const TCollectionGroup& a, const TCollectionGroup& b) { return less(b, a); });
}

// --- missing cards ---

QString TCollectionModel::GroupCondition(const TCollectionGroup& group) const
{
    if (group.Total) return QStringLiteral("1 = 1");
    const QString rarity = QStringLiteral("HEX(TLAP.L_GYAKORISAG) = :H");
    if (FGrouping == cgRarity) return rarity + u'1';
    const TLevel& level = FGrouping == cgCardType ? kCardType : kPantheon;
    QString condition = group.Unknown1 ? QStringLiteral("NOT EXISTS (SELECT 1 FROM ") + level.Table + QStringLiteral(" WHERE ") +
                                             level.Table + u'.' + level.IdColumn + QStringLiteral(" = TLAP.") + level.Column + u')'
                                       : QStringLiteral("HEX(TLAP.") + level.Column + QStringLiteral(") = :H1");
    if (FGrouping == cgPantheonRarity) condition += QStringLiteral(" AND ") + rarity + u'2';
    return condition;
}

QStringList TCollectionModel::MissingLines(const TCollectionGroup& group) const
{
    TQuery q(FConnection);
    const QString scope = ScopeCondition();
    q.SetSQL(QStringLiteral("SELECT TLAP.L_LAPSZAM, TLAP.L_NEV FROM TLAP WHERE ") + GroupCondition(group) +
             QStringLiteral(" AND ") + OwnedCopiesSql + QStringLiteral(" = 0") +
             (scope.isEmpty() ? QString() : QStringLiteral(" AND ") + scope) +
             QStringLiteral(" ORDER BY TLAP.L_LAPSZAM, TLAP.L_ID"));
    if (q.ParamNames().contains(QStringLiteral("H1"))) q.SetParam(QStringLiteral("H1"), group.Hex1);
    if (q.ParamNames().contains(QStringLiteral("H2"))) q.SetParam(QStringLiteral("H2"), group.Hex2);
    q.Open();
    QStringList lines;
    lines.reserve(q.RecordCount());
    for (int r = 0; r < q.RecordCount(); ++r)
        lines << u'(' + q.ValueText(r, 0) + QStringLiteral(") ") + OneLine(q.ValueText(r, 1));
    return lines;
}

std::vector<TQueryPiece> TCollectionModel::MissingPieces(const TCollectionGroup& group) const
{
    // The codes go in as HEX() of the stored text: digits and A-F only, so no code can end its
    // literal, look like the leader pseudo type or be rewritten by the clause's ")(" step.
    std::vector<TQueryPiece> pieces;
    auto add = [&pieces](const QString& field, const QString& value, const QString& type) {
        pieces.push_back(MakePiece(pkMissingCards, field, QStringLiteral("="), value, type,
                                   pieces.empty() ? QString() : QStringLiteral("AND"), 0));
    };
    if (!group.Total) {
        if (FGrouping == cgRarity) {
            add(QStringLiteral("HEX(TLAP.L_GYAKORISAG)"), group.Hex1, QStringLiteral("S"));
        } else {
            const TLevel& level = FGrouping == cgCardType ? kCardType : kPantheon;
            if (group.Unknown1)
                add(QStringLiteral("(SELECT COUNT(*) FROM ") + level.Table + QStringLiteral(" WHERE ") + level.Table + u'.' +
                        level.IdColumn + QStringLiteral(" = TLAP.") + level.Column + u')',
                    QStringLiteral("0"), QStringLiteral("I"));
            else
                add(QStringLiteral("HEX(TLAP.") + level.Column + u')', group.Hex1, QStringLiteral("S"));
            if (FGrouping == cgPantheonRarity)
                add(QStringLiteral("HEX(TLAP.L_GYAKORISAG)"), group.Hex2, QStringLiteral("S"));
        }
    }
    add(OwnedCopiesSql, QStringLiteral("0"), QStringLiteral("I"));
    return pieces;
}

QString TCollectionModel::MissingCaption(const TCollectionGroup& group)
{
    return QStringLiteral("Hiányzók: ") + (group.Total ? QStringLiteral("mind") : group.Caption());
}

// --- spare copies ---

QString TCollectionModel::SpareSql() const
{
    const QString scope = ScopeCondition();
    const QString where = QStringLiteral(" FROM TLAP WHERE ") + OwnedCopiesSql + QStringLiteral(" > :KEEP") +
                          (scope.isEmpty() ? QString() : QStringLiteral(" AND ") + scope);
    return QStringLiteral("SELECT SPARE, L_LAPSZAM, L_NEV FROM (SELECT 0 AS ORD, TLAP.L_ID AS ID, TLAP.L_LAPSZAM AS "
                          "L_LAPSZAM, TLAP.L_NEV AS L_NEV, ") +
           OwnedCopiesSql + QStringLiteral(" - :KEEP AS SPARE") + where +
           QStringLiteral(" UNION ALL SELECT 1, NULL, '', :TOTAL, CAST(TOTAL(") + OwnedCopiesSql +
           QStringLiteral(" - :KEEP) AS INTEGER)") + where + QStringLiteral(") ORDER BY ORD, L_LAPSZAM, ID");
}

void TCollectionModel::OpenSpare(TQuery& query, int keep, const QString& totalText) const
{
    query.Close();
    query.SetSQL(SpareSql());
    query.SetParam(QStringLiteral("KEEP"), keep);
    query.SetParam(QStringLiteral("TOTAL"), totalText);
    query.Open();
}

QString TCollectionModel::SpareText(int keep) const
{
    TQuery q(FConnection);
    OpenSpare(q, keep, TOTAL_ROW);
    const int cards = q.RecordCount() - 1;  // the last row is the total
    if (cards <= 0) return QString();
    QString text;
    for (int r = 0; r < cards; ++r)
        text += q.ValueText(r, 0) + QStringLiteral(" (") + q.ValueText(r, 1) + QStringLiteral(") ") +
                OneLine(q.ValueText(r, 2)) + QStringLiteral("\r\n");
    text += TOTAL_ROW + QStringLiteral(": ") + q.ValueText(cards, 0) + QStringLiteral("\r\n");
    return text;
}
