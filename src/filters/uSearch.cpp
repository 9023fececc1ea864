#include "filters/uSearch.h"

#include <algorithm>

namespace {

// The index's tokenizer keeps letters, numbers and private-use characters in words; combining
// marks stay with the letter they follow.
bool IsWordChar(QChar c)
{
    if (c.isLetterOrNumber()) return true;
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_PrivateUse:
    case QChar::Other_Surrogate: return true;
    default: return false;
    }
}

bool IsBlank(QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; }

QString Quoted(const TSearchTerm& term)
{
    QString text = term.Text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"' + (term.Phrase ? QString() : QStringLiteral("*"));
}

QString Joined(const QList<TSearchTerm>& terms, bool excluded, const QString& glue)
{
    QStringList parts;
    for (const TSearchTerm& t : terms)
        if (t.Exclude == excluded) parts << Quoted(t);
    return parts.join(glue);
}

}  // namespace

QString FoldSearchWord(const QString& word)
{
    const QString decomposed = word.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_Enclosing) out += c;
    return out.toCaseFolded();
}

QList<QPair<int, int>> SearchWordSpans(const QString& text)
{
    QList<QPair<int, int>> spans;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        while (i < n && !IsWordChar(text[i])) ++i;
        const int start = i;
        while (i < n && IsWordChar(text[i])) ++i;
        if (i > start) spans.append({start, i - start});
    }
    return spans;
}

TSearchQuery TSearchQuery::Parse(const QString& text)
{
    TSearchQuery query;
    int i = 0;
    const int n = int(text.size());
    while (i < n && query.Terms.size() < MaxTerms) {
        while (i < n && IsBlank(text[i])) ++i;
        if (i >= n) break;
        TSearchTerm term;
        if (text[i] == u'-') {
            term.Exclude = true;
            ++i;
        }
        if (i < n && text[i] == u'"') {
            // A phrase runs to the next quote; an unbalanced one to the end of the text.
            term.Phrase = true;
            const int start = ++i;
            while (i < n && text[i] != u'"') ++i;
            term.Text = text.mid(start, i - start);
            if (i < n) ++i;
        } else {
            const int start = i;
            while (i < n && !IsBlank(text[i])) ++i;
            term.Text = text.mid(start, i - start);
            while (term.Text.endsWith(u'*')) term.Text.chop(1);
        }
        for (const auto& [s, l] : SearchWordSpans(term.Text)) term.Words << FoldSearchWord(term.Text.mid(s, l));
        // Punctuation alone ("*", "(", a lone "-") is no word: the index could not find it.
        if (!term.Words.isEmpty()) query.Terms.append(term);
    }
    return query;
}

bool TSearchQuery::Excluding() const
{
    return !Terms.isEmpty() &&
           std::all_of(Terms.begin(), Terms.end(), [](const TSearchTerm& t) { return t.Exclude; });
}

QString TSearchQuery::PositiveMatchText() const { return Joined(Terms, false, QStringLiteral(" AND ")); }

QString TSearchQuery::MatchText() const
{
    const QString positive = PositiveMatchText();
    const QString negative = Joined(Terms, true, QStringLiteral(" OR "));
    if (positive.isEmpty()) return negative;
    if (negative.isEmpty()) return positive;
    return u'(' + positive + QStringLiteral(") NOT (") + negative + u')';
}

QString TSearchQuery::SqlCondition(const QString& paramName) const
{
    if (IsEmpty()) return QString();
    return QStringLiteral("(TLAP.L_ID ") + (Excluding() ? QStringLiteral("NOT IN") : QStringLiteral("IN")) +
           QStringLiteral(" (SELECT rowid FROM TKERESES WHERE TKERESES MATCH :") + paramName + QStringLiteral("))");
}

QList<QPair<int, int>> TSearchQuery::Highlights(const QString& text) const
{
    QList<QPair<int, int>> marked;
    if (Excluding()) return marked;
    for (const auto& span : SearchWordSpans(text)) {
        const QString word = FoldSearchWord(text.mid(span.first, span.second));
        bool hit = false;
        for (const TSearchTerm& t : Terms) {
            if (t.Exclude) continue;
            for (const QString& w : t.Words)
                if (t.Phrase ? word == w : word.startsWith(w)) hit = true;
        }
        if (hit) marked.append(span);
    }
    return marked;
}
