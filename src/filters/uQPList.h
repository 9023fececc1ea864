#pragma once
// The card list's narrowing as a flat, ordered list of conditions, and the SQL WHERE clause it
// becomes. Also the parsing of the grid's quick-search boxes into conditions.
//
// Values are written into the statement text (the clause is pasted into the card list's SELECT),
// so every value that is not a plain integer literal goes between apostrophes with its own
// apostrophes doubled: no condition can end its literal early or add SQL of its own.
#include <QString>
#include <QStringList>

#include "filters/uSearch.h"
#include "storage/CardListConditions.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TConnection;
class TQuery;

// Origin of a condition; decides quoting, the property block and where groups break.
// The value 2 is not used.
enum TPieceKind : quint8 {
    pkQuickSearch = 1,   // grid quick-search boxes, rebuilt at every requery
    pkStoredFilter = 3,  // rows of a stored filter
    pkOwnedCount = 4,    // "Darab szűrés"
    pkProperty = 5,      // a checked property or category (the property block)
    pkSummoning = 6,     // "Leidézés szűrés": a literal on the left, the card's pattern on the right
    pkMissingCards = 8,  // the missing cards of a collection group ("Hiányzók mutatása")
};

// One condition. A plain value; the list owns it.
struct TQueryPiece {
    QString FieldName;   // left operand, verbatim
    QString Operation;   // operator text, verbatim ("LIKE" compared case-sensitively)
    QString Value;       // right operand
    QString ValueType;   // exactly "I": integer, written bare when it is an integer literal
    quint8 Kind = 0;
    QString AndOr;       // "", "AND" or "OR", written in front of the condition
    qint64 Group = 0;    // neighbours of the same kind and group form one parenthesised group
    qint64 FilterTypeId = -1;  // TFILTERTYPE.FT_ID; only the query editor uses it
};

// A condition from its parts, in the order the builder reads them.
inline TQueryPiece MakePiece(quint8 kind, const QString& field, const QString& op, const QString& value,
                             const QString& valueType, const QString& andOr, qint64 group)
{
    TQueryPiece p;
    p.FieldName = field;
    p.Operation = op;
    p.Value = value;
    p.ValueType = valueType;
    p.Kind = kind;
    p.AndOr = andOr;
    p.Group = group;
    return p;
}

// An ordered list of conditions that owns them: a removed condition is destroyed.
class TQPList : public TCardListConditions {
public:
    TQPList() = default;
    TQPList(const TQPList&) = delete;
    TQPList& operator=(const TQPList&) = delete;

    // Appends at the end; returns the stored condition.
    TQueryPiece* AddPiece(std::unique_ptr<TQueryPiece> piece);
    TQueryPiece* AddPiece(const TQueryPiece& piece);
    void RemovePiecesOfKind(quint8 kind);
    // Kinds 1, 3, 5 and the missing cards go; the owned-count and summoning filters stay.
    void RemoveSelectablePieces();
    void Delete(int index);
    void Clear();

    int Count() const { return int(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    TQueryPiece* Items(int index) const { return FItems.at(size_t(index)).get(); }
    TQueryPiece* operator[](int index) const { return Items(index); }
    const std::vector<std::unique_ptr<TQueryPiece>>& Pieces() const { return FItems; }

    // True when the FieldName of any condition contains text (case-sensitive): the card list
    // then needs its SELECT joined with TLAPTUL (text "LT_TULID").
    bool AnyFieldContains(const QString& text) const override;

    // "WHERE " + the clause lines, each ended by CR LF; empty when no condition produces SQL.
    // An active search is ANDed with everything else as a whole: the list shows exactly the
    // cards that pass the other conditions and match the search.
    QString BuildWhereClause() const override;
    QList<QPair<QString, QVariant>> BoundValues() const override;

    // The "Keresés" box's text (trimmed); empty: no search. Not one of the pieces: it is
    // cleared with the box, not by RemoveSelectablePieces.
    void SetSearchText(const QString& text);
    const QString& SearchText() const { return FSearchText; }
    const TSearchQuery& Search() const { return FSearch; }
    // The parameter the search condition binds its FTS5 query to.
    static QString SearchParamName() { return QStringLiteral("KERESES"); }

private:
    QString BuildPieceClause() const;

    std::vector<std::unique_ptr<TQueryPiece>> FItems;
    QString FSearchText;
    TSearchQuery FSearch;
};

// The active condition list; main() creates it at start and destroys it at shutdown.
extern TQPList* QPList;

// --- value quoting ---------------------------------------------------------------------------

// An optional sign and ASCII digits, with blanks around them allowed.
bool IsIntegerLiteral(const QString& value);
// value between apostrophes, each of its apostrophes doubled (NUL characters dropped). The one
// quoting function of every value written into the clause text.
QString QuoteSqlText(const QString& value);

// --- stored filters --------------------------------------------------------------------------

// Appends the rows of stored filter filterId, in F_ORDER order, as conditions of the given kind.
// The left operand is the filter type's current FT_FIELD; rows of an unknown type are dropped.
// The query's SQL is set to GetFilterSql when it holds no text. Database errors propagate; the
// conditions appended before the error stay.
void LoadStoredFilter(TQuery& qGetFilter, qint64 filterId, quint8 kind, TQPList& list);
void LoadStoredFilter(TConnection& connection, qint64 filterId, quint8 kind, TQPList& list);

// --- quick search ----------------------------------------------------------------------------

// The box text with leading and trailing blanks and control characters removed.
QString TrimBoxText(const QString& text);
// Control characters pasted into a box (NUL ends the statement text for the engine) are
// dropped; a tab becomes a blank; line breaks stay, they separate tokens.
QString StripControlCharacters(const QString& text);
// Tokens separated by ";" or line breaks; blanks skipped at a token's start only; double quotes
// protect ";" and stay in the token; empty tokens dropped.
QStringList SplitQuickSearchText(const QString& text);
// ("<>", "<=", ">=", "<", ">") prefix and the rest unchanged, else ("LIKE", token).
std::pair<QString, QString> SplitOperator(const QString& token);
// Every apostrophe turned into "_" (LIKE's single-character wildcard).
QString MaskQuotes(const QString& value);
// True when the card list's column of that name has an integer type; false for a missing one.
bool IsIntegerColumn(const TQuery& cardList, const QString& fieldName);

// Replaces every quick-search condition of list by those of the boxes (field name, text), given in
// the order the grid created them. The tokens of one box are ORed; the boxes are ANDed.
void RebuildQuickSearchPieces(TQPList& list, const std::vector<std::pair<QString, QString>>& boxes,
                              const std::function<bool(const QString&)>& isIntegerColumn);
