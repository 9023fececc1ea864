#pragma once
// The deck sheet handed in at a tournament: the deck's name, main god, a line for the player's name
// and the date; the cards by card-type group in deck order ("N × (number) name", level, summoning
// icons), each group's copies, the totals and the description. A long deck breaks between lines,
// the group's header repeated with "(folytatás)"; every page says "oldal N / M".
#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

class QPagedPaintDevice;

struct TSheetCard {
    QString Number;
    QString Name;
    int Group = 0;       // the card type's group; the cards come grouped, in deck order
    int Copies = 1;
    int Level = 0;
    QString Summoning;   // summoning letters, shown as the path icons
};

struct TDeckSheet {
    QString DeckName;
    QString GodNumber;
    QString GodName;
    QString GodPantheon;
    QString Description;
    QDate Date;
    QStringList GroupNames;  // by group; a group without a name prints as "Egyéb"
    std::vector<TSheetCard> Cards;
    qint64 CardCount = 0;    // the deck's cards as the deck frame counts them
    qint64 PowerPoints = 0;
};

// "N × (number) name": the card's line on the sheet.
QString SheetCardText(const TSheetCard& card);

// A4 portrait with 15 mm margins; keepPaperSize keeps the device's paper (a printer's own).
void SetSheetPage(QPagedPaintDevice& device, bool keepPaperSize = false);

// Paints the sheet page by page on device (already set up); returns the number of pages.
int PaintDeckSheet(QPagedPaintDevice& device, const TDeckSheet& sheet);

// The sheet as a PDF file, written whole under a temporary name and renamed; failure throws an
// Exception with a Hungarian message and leaves any earlier file of that name as it was.
void WriteDeckSheetPdf(const QString& fileName, const TDeckSheet& sheet);
