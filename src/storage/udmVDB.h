#pragma once
// The card write-back statement and the note save.
#include "storage/DbProvider.h"

class TAM;

class TdmVDB {
public:
    explicit TdmVDB(TAM& am);

    // Writes a card back; parameters are set by name by the detail editor.
    TCommand updLapok;

    // Inserts the card's note when it has none, else updates it. On a database error shows a
    // plain message box with the error text and returns false.
    bool SaveCardNote(qint64 cardId, const QString& note);

private:
    TAM& FAM;
};

extern TdmVDB* dmVDB;
