#pragma once
// The text of the "Keresés" box read as a full-text search: every word must begin a word of the
// card's texts, a phrase in double quotes matches as a phrase, a leading "-" excludes. The text
// becomes an FTS5 query in which every word is quoted, so no typed text is ever read as the
// query language's own syntax ("OR", "NEAR(", "*", a lone quote are plain words or nothing).
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct TSearchTerm {
    QString Text;         // as typed, without the "-", the quotes and trailing stars
    QStringList Words;    // its words as the index splits them
    bool Phrase = false;  // typed between double quotes: matched whole, words in order
    bool Exclude = false; // typed with a leading "-"
};

class TSearchQuery {
public:
    // More words than this are not searched for (a pasted page would only slow the list down).
    static constexpr int MaxTerms = 64;

    static TSearchQuery Parse(const QString& text);

    // True when no word can be searched for: the text then narrows nothing.
    bool IsEmpty() const { return Terms.isEmpty(); }
    // The FTS5 query the card list's condition binds: the searched-for terms, "NOT" the
    // excluded ones; only the excluded ones when nothing is searched for (see Excluding).
    QString MatchText() const;
    // True when the text only excludes: the condition then keeps the cards NOT matching.
    bool Excluding() const;
    // The searched-for terms alone (where a card matched); empty when there are none.
    QString PositiveMatchText() const;
    // The condition on the card list, with the query as the named parameter paramName.
    QString SqlCondition(const QString& paramName) const;

    // (start, length) of every word of text that a searched-for term matches, in text order.
    QList<QPair<int, int>> Highlights(const QString& text) const;

    QList<TSearchTerm> Terms;
};

// A word as the index compares it: accents removed, letter case folded.
QString FoldSearchWord(const QString& word);
// (start, length) of every word of text, as the index splits words.
QList<QPair<int, int>> SearchWordSpans(const QString& text);
