#include "filters/uQPList.h"

#include "storage/CatalogNames.h"
#include "storage/DbProvider.h"
#include "storage/uAM.h"

#include <algorithm>

TQPList* QPList = nullptr;

namespace {

// "vezér": every leader card type, from the one list of them.
const QString LeaderExpansion = [] {
    QStringList terms;
    for (const QString& type : Catalog::LeaderTypes) terms << QStringLiteral("(TLAPTIPUS.LAPTIPUS_ID='%1')").arg(type);
    return QStringLiteral("(") + terms.join(QStringLiteral("OR")) + QStringLiteral(")");
}();
const QString OpLike = QStringLiteral("LIKE");

// Blanks as the SQL engine skips them, so a literal with them around stays one token.
bool IsSqlBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

bool IsTokenBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool IsTrimmed(QChar c) { return c.unicode() <= 0x20 || c.isSpace() || c.category() == QChar::Other_Control; }

QString CloseGroup(const QString& text)
{
    if (text.startsWith(QLatin1String("AND"))) return QStringLiteral("AND(") + text.mid(3) + u')';
    if (text.startsWith(QLatin1String("OR"))) return QStringLiteral("OR(") + text.mid(2) + u')';
    return u'(' + text + u')';
}

QString ConditionText(const TQueryPiece& p)
{
    if (p.Value == Catalog::AllLeadersValue) return p.AndOr + LeaderExpansion;
    QString operand;
    if (p.Kind == pkSummoning) {
        // The card's own pattern column: neither quoted nor widened.
        operand = p.Value;
    } else if (p.Operation != OpLike && p.ValueType == QLatin1String("I") && IsIntegerLiteral(p.Value)) {
        operand = p.Value;
    } else {
        // Anything else is text, whatever its declared type: it cannot leave its literal.
        QString v = p.Value;
        if (p.Operation == OpLike) v += u'%';
        operand = QuoteSqlText(v);
    }
    return p.AndOr + u'(' + p.FieldName + u' ' + p.Operation + u' ' + operand + u')';
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TQPList

TQueryPiece* TQPList::AddPiece(std::unique_ptr<TQueryPiece> piece)
{
    FItems.push_back(std::move(piece));
    return FItems.back().get();
}

TQueryPiece* TQPList::AddPiece(const TQueryPiece& piece) { return AddPiece(std::make_unique<TQueryPiece>(piece)); }

void TQPList::RemovePiecesOfKind(quint8 kind)
{
    std::erase_if(FItems, [kind](const auto& p) { return p->Kind == kind; });
}

void TQPList::RemoveSelectablePieces()
{
    std::erase_if(FItems, [](const auto& p) {
        return p->Kind == pkQuickSearch || p->Kind == pkStoredFilter || p->Kind == pkProperty ||
               p->Kind == pkMissingCards;
    });
}

void TQPList::Delete(int index) { FItems.erase(FItems.begin() + index); }

void TQPList::Clear() { FItems.clear(); }

bool TQPList::AnyFieldContains(const QString& text) const
{
    return std::any_of(FItems.begin(), FItems.end(), [&](const auto& p) { return p->FieldName.contains(text); });
}

QString TQPList::BuildWhereClause() const
{
    const QString pieces = BuildPieceClause();
    const QString search = FSearch.SqlCondition(SearchParamName());
    if (search.isEmpty()) return pieces;
    if (pieces.isEmpty()) return QStringLiteral("WHERE ") + search + QStringLiteral("\r\n");
    // The pieces' own OR groups must not reach past the search: they are bracketed as a whole.
    return QStringLiteral("WHERE (") + pieces.mid(6) + QStringLiteral(") AND\r\n") + search + QStringLiteral("\r\n");
}

QList<QPair<QString, QVariant>> TQPList::BoundValues() const
{
    if (FSearch.IsEmpty()) return {};
    return {{SearchParamName(), FSearch.MatchText()}};
}

void TQPList::SetSearchText(const QString& text)
{
    FSearchText = text.trimmed();
    FSearch = TSearchQuery::Parse(FSearchText);
}

QString TQPList::BuildPieceClause() const
{
    // Groups: neighbours of the same kind and group; the property conditions go to their own block
    // but still break a group they stand in.
    QString line;
    QString running;
    const size_t n = FItems.size();
    for (size_t i = 0; i < n; ++i) {
        const TQueryPiece& p = *FItems[i];
        if (p.Kind == pkProperty) continue;
        running += ConditionText(p);
        if (i + 1 < n) {
            const TQueryPiece& next = *FItems[i + 1];
            if (next.Kind != p.Kind || next.Group != p.Group) {
                line += CloseGroup(running);
                running.clear();
            }
        }
    }
    if (!running.isEmpty()) line += CloseGroup(running);
    // A group or condition without a connective of its own is ANDed with what precedes it.
    line.replace(QLatin1String(")("), QLatin1String(")AND("));

    // Cards carrying every checked property and category.
    QString props;
    int count = 0;
    for (const auto& p : FItems) {
        if (p->Kind != pkProperty) continue;
        props += QStringLiteral("(LT_TULID=") + QuoteSqlText(p->Value) + QStringLiteral(")OR");
        ++count;
    }
    props.chop(3);
    QString block;
    if (!props.isEmpty())
        block = QStringLiteral("(L_ID IN (SELECT LT_LID FROM TLAPTUL WHERE ") + props +
                QStringLiteral(") GROUP BY LT_LID HAVING COUNT(LT_LID)=") + QString::number(count) +
                QStringLiteral("))");

    QStringList lines;
    if (!line.isEmpty()) lines << line;
    if (!block.isEmpty()) lines << block;
    if (lines.isEmpty()) return QString();
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size()) text += QLatin1String(" AND");
        text += QLatin1String("\r\n");
    }
    return QStringLiteral("WHERE ") + text;
}

// ---------------------------------------------------------------------------------------------
// Quoting

bool IsIntegerLiteral(const QString& value)
{
    qsizetype b = 0, e = value.size();
    while (b < e && IsSqlBlank(value[b])) ++b;
    while (e > b && IsSqlBlank(value[e - 1])) --e;
    if (b < e && (value[b] == u'+' || value[b] == u'-')) ++b;
    if (b == e) return false;
    for (qsizetype i = b; i < e; ++i)
        if (value[i] < u'0' || value[i] > u'9') return false;
    return true;
}

QString QuoteSqlText(const QString& value)
{
    QString s = value;
    // A NUL would end the statement text for the engine, cutting the clause at the literal.
    s.remove(QChar(u'\0'));
    s.replace(u'\'', QLatin1String("''"));
    return u'\'' + s + u'\'';
}

// ---------------------------------------------------------------------------------------------
// Stored filters


void LoadStoredFilter(TQuery& qGetFilter, qint64 filterId, quint8 kind, TQPList& list)
{
    if (qGetFilter.SQL().trimmed().isEmpty()) qGetFilter.SetSQL(GetFilterSql);
    qGetFilter.Close();
    qGetFilter.SetParam(QStringLiteral("PID"), filterId);
    qGetFilter.Open();
    for (qGetFilter.First(); !qGetFilter.Eof(); qGetFilter.Next()) {
        auto p = std::make_unique<TQueryPiece>();
        p->FieldName = qGetFilter.FieldByName(QStringLiteral("FT_FIELD")).AsString();
        p->Operation = qGetFilter.FieldByName(QStringLiteral("F_OPERATION")).AsString();
        p->Value = qGetFilter.FieldByName(QStringLiteral("F_VALUE")).AsString();
        p->ValueType = qGetFilter.FieldByName(QStringLiteral("F_VALUETYPE")).AsString();
        p->Kind = kind;
        p->AndOr = qGetFilter.FieldByName(QStringLiteral("F_ANDOR")).AsString();
        p->Group = qGetFilter.FieldByName(QStringLiteral("F_GROUP")).AsInteger();
        list.AddPiece(std::move(p));
    }
    qGetFilter.Close();
}

void LoadStoredFilter(TConnection& connection, qint64 filterId, quint8 kind, TQPList& list)
{
    TQuery q(&connection);
    q.SetSQL(GetFilterSql);
    LoadStoredFilter(q, filterId, kind, list);
}

// ---------------------------------------------------------------------------------------------
// Quick search

QString TrimBoxText(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && IsTrimmed(text[b])) ++b;
    while (e > b && IsTrimmed(text[e - 1])) --e;
    return text.mid(b, e - b);
}

QString StripControlCharacters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') out += c;
        else if (c == u'\t') out += u' ';
        else if (c.category() != QChar::Other_Control) out += c;
    }
    return out;
}

QStringList SplitQuickSearchText(const QString& text)
{
    QStringList tokens;
    QString token;
    bool quoted = false;
    bool atStart = true;
    auto finish = [&] {
        if (!token.isEmpty()) tokens << token;
        token.clear();
        atStart = true;
    };
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') {
            // A line ends its token and any open quote with it.
            quoted = false;
            finish();
        } else if (c == u';' && !quoted) {
            finish();
        } else if (atStart && IsTokenBlank(c)) {
            // leading blanks of a token are not part of it
        } else {
            if (c == u'"') quoted = !quoted;
            token += c;
            atStart = false;
        }
    }
    finish();
    return tokens;
}

std::pair<QString, QString> SplitOperator(const QString& token)
{
    static const QLatin1String ops[] = {QLatin1String("<>"), QLatin1String("<="), QLatin1String(">="),
                                        QLatin1String("<"), QLatin1String(">")};
    for (const auto& op : ops)
        if (token.startsWith(op)) return {QString(op), token.mid(op.size())};
    return {OpLike, token};
}

QString MaskQuotes(const QString& value)
{
    QString s = value;
    s.replace(u'\'', u'_');
    return s;
}

bool IsIntegerColumn(const TQuery& cardList, const QString& fieldName)
{
    const int column = cardList.FindField(fieldName);
    return column >= 0 && cardList.FieldType(column) == TFieldType::ftInteger;
}

void RebuildQuickSearchPieces(TQPList& list, const std::vector<std::pair<QString, QString>>& boxes,
                              const std::function<bool(const QString&)>& isIntegerColumn)
{
    list.RemovePiecesOfKind(pkQuickSearch);
    int group = 0;
    for (const auto& [fieldName, boxText] : boxes) {
        const QString text = TrimBoxText(StripControlCharacters(boxText));
        if (text.isEmpty()) continue;
        // A box of separators alone still counts: the next box's first condition carries "AND".
        ++group;
        const QStringList tokens = SplitQuickSearchText(text);
        const QString valueType = isIntegerColumn && isIntegerColumn(fieldName) ? QStringLiteral("I")
                                                                                 : QStringLiteral("S");
        for (int t = 0; t < tokens.size(); ++t) {
            const auto [op, value] = SplitOperator(tokens[t]);
            auto p = std::make_unique<TQueryPiece>();
            p->FieldName = fieldName;
            p->Operation = op;
            p->Value = MaskQuotes(value);
            p->ValueType = valueType;
            p->Kind = pkQuickSearch;
            p->AndOr = t > 0 ? QStringLiteral("OR") : group >= 2 ? QStringLiteral("AND") : QString();
            p->Group = group;
            list.AddPiece(std::move(p));
        }
    }
}
