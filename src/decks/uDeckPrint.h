#pragma once
// The open deck on paper and as a PDF file, and the save prompt the PDF commands share: it starts
// in the folder last chosen, with a name made from what is saved.
#include "print/uDeckSheet.h"

#include <QDate>
#include <QString>

class QWidget;
class TfmPakli;

// The save prompt of the PDF commands; remembers the folder of the last file chosen.
class TPdfSaveDialog {
public:
    QString Folder;
    QString Title = QStringLiteral("Mentés PDF-be");
    // Shows the prompt with suggestedName (made a valid file name, ".pdf" added) in Folder; empty
    // when cancelled. A name typed without an extension gets ".pdf".
    QString Execute(const QString& suggestedName);
};

// name without the characters a file name cannot hold (and without leading dots and blanks);
// fallback when nothing is left.
QString SafeFileName(const QString& name, const QString& fallback);

// The frame's open deck as it is now (unsaved edits included), grouped as the statistics page.
TDeckSheet DeckSheetOf(const TfmPakli& frame, const QDate& date = QDate::currentDate());

// "Pakli nyomtatása...": the sheet in a print preview, printed from there on the printer's paper.
void PrintDeckSheet(TfmPakli& frame, QWidget* parent);
// "Pakli mentése PDF-be...": the sheet to a file chosen in dialog (the deck's name suggested).
// True when a file was written.
bool SaveDeckSheetPdf(TfmPakli& frame, TPdfSaveDialog& dialog);
