#pragma once
// The HTML page of a deck: its cards by card-type group in a 650-pixel table, in Windows-1250 with
// CR LF after every line, written whole or not at all.
#include "decks/uDeckTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class TDeckStore;

// What the page's head shows besides the cards.
struct TDeckHtmlHead {
    QString GodName;
    QString DeckName;
    QString Description;  // several lines
};

// "&", "<", ">" and the double quote as entities; a line break becomes a blank (one line of the page).
QString HtmlEscape(const QString& text);

// "(" number ") " name, " (" copies ")" from 2 copies, " " level from level 2, " " summoning letters.
QString DeckCardText(const TDeckRow& row);

// Every line of the page, without line ends; rows in deck order (group, then card number).
QStringList DeckHtmlLines(const std::vector<TDeckRow>& rows, const TDeckHtmlHead& head);

// text in Windows-1250; a character the code page lacks is written as "&#N;" (N its code point).
QByteArray EncodeWindows1250(const QString& text);

// The lines, each followed by CR LF, encoded as above.
QByteArray DeckHtmlBytes(const QStringList& lines);

// Writes the page to fileName through a temporary file renamed over it: a failure throws an
// Exception with a Hungarian message and leaves any earlier file of that name as it was. The rows are
// put in deck order here, whatever order they come in.
// A file name made of the deck's name: characters a file name cannot hold become "_"; ".htm".
QString DeckHtmlFileName(const QString& deckName);

void WriteDeckHtml(const QString& fileName, const std::vector<TDeckRow>& rows, const TDeckHtmlHead& head);

// The page of a deck as it is stored in the catalogue (for a deck that is not open).
void WriteStoredDeckHtml(TDeckStore& store, qint64 deckId, const QString& fileName);

// The deck frame's save dialog: it keeps the chosen name, so the next export of the same open deck
// starts from it; no question when the file exists (an export simply replaces it).
class TDeckSaveDialog {
public:
    QString FileName;
    QString Title = QStringLiteral("Pakli exportálás");
    QString DefaultExt = QStringLiteral("htm");
    QString Filter = QStringLiteral("Html fájlok (*.htm;*.html)|*.htm;*.html|Minden fájl|*.*");

    // Shows the dialog; false when cancelled. A name typed without an extension gets DefaultExt.
    bool Execute();
};
