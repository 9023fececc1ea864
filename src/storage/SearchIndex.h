#pragma once
// The catalogue's full-text index: every card's name, information, number, special abilities,
// property and category names and note, in one SQLite FTS5 table (external content over a view),
// kept current by plain-SQL triggers so that any program writing the catalogue keeps it right.
// The program creates it on first open; a catalogue that cannot be written works without it.
#include <QString>
#include <QStringList>

#include <functional>

class TConnection;

namespace SearchIndex {

// The FTS5 table the card list's search condition matches against; rowid = TLAP.L_ID.
inline const QString TableName = QStringLiteral("TKERESES");

// The indexed texts, in the table's column order, with the words that name them for the player.
enum TColumn { colName, colInfo, colNumber, colAbilities, colProperties, colNote, ColumnCount };
QString ColumnCaption(int column);

// Every statement that creates the index's view, table and triggers, in order.
const QStringList& SchemaStatements();

// True when the catalogue holds the index exactly as this program creates it.
bool IsCurrent(TConnection& connection);

// Called with (cards done, cards in all) while the index is filled.
using TProgress = std::function<void(int done, int total)>;

// Replaces whatever index objects the catalogue holds by the current ones and fills the table,
// all in one transaction. Throws EDatabaseError (the catalogue is then as it was).
void Build(TConnection& connection, const TProgress& progress = {});

// The index ready for searching: kept when current, built otherwise. False (with the reason in
// why) when it is missing or out of date and cannot be built, e.g. on a catalogue that cannot be
// written; the catalogue is then unchanged and the program works without search.
bool Ensure(TConnection& connection, const TProgress& progress = {}, QString* why = nullptr);

// Number of cards Build would index (the progress dialog's range).
int CardCount(TConnection& connection);

// Which indexed columns of the card hold a word of the FTS5 query (its positive part). Empty
// when the card does not match or the query cannot be run.
QList<int> MatchedColumns(TConnection& connection, qint64 cardId, const QString& ftsQuery);

}  // namespace SearchIndex
