#pragma once
// Plain-text deck lists, one line "N (number) name" per card with the main god first as
// "1 (number) name": writing the open deck as such a text, reading one back into a new deck.
#include "decks/uDeckOwned.h"
#include "decks/uDeckTable.h"
#include "storage/DbProvider.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Longest text read, in characters: far beyond any real deck list, well below a pasted file.
inline constexpr qsizetype DeckTextMaxChars = 100'000;
inline constexpr int DeckTextMaxCopies = 99;

QString DeckToText(const TDeckGod& god, const std::vector<TDeckRow>& rows);

struct TDeckTextLine {
    int LineNo = 0;   // from 1, in the text as given
    int Count = 0;
    QString Number;   // inside the parentheses; empty when the line has none
    QString Name;
    QString Raw;
};

// The lines of a text; none and an error message when any line is not a deck line (the whole
// text is then refused). Blank lines are skipped.
struct TDeckTextParse {
    std::vector<TDeckTextLine> Lines;
    QString Error;
    bool Ok() const { return Error.isEmpty(); }
};
TDeckTextParse ParseDeckText(const QString& text);

// A text's lines matched against the catalogue: by the number in parentheses, else by the exact
// name ignoring the case of every letter. The first line naming a main god becomes the god.
struct TDeckImport {
    qint64 GodId = -1;
    QString GodName;
    std::vector<std::pair<qint64, qint64>> Cards;  // card id and copies, in the order first met
    QStringList Unmatched;                          // the lines no card answered
    // Set when the lines of one card add up to more copies than a deck may hold; nothing may be
    // stored then.
    QString Error;
    qint64 CopyCount() const;
};
TDeckImport MatchDeckText(TConnection& connection, const std::vector<TDeckTextLine>& lines);

// Stores the deck (head and card rows) in one transaction; returns its P_ID.
qint64 StoreImportedDeck(TConnection& connection, const QString& name, const TDeckImport& deck);

// The whole road from a clipboard text: refuses bad text with a message, lists the unmatched
// lines, asks before storing. The new deck's id, or none when nothing was stored.
std::optional<qint64> ImportDeckText(TConnection& connection, const QString& text);
