#pragma once
// The value record by which a window hands parameters to a dialog and gets a result back.
#include <QString>
#include <cstdint>

struct TFormOpenPars {
    qint64 Id = -1;         // the record the dialog opens (a filter, a card or a deck id)
    qint64 CardId = -1;     // the card (L_ID) the dialog refers to
    qint64 ResultId = -1;   // the record chosen or created in the dialog
    QString Context;        // a context line (the error dialog's first line)
    QString Message;        // a message (the error dialog's second line)
    QString Command;        // a command word for the dialog ("LAPHOZCSATOL")
    uint8_t Mode = 0;       // 0 browse, 1 new record, 2 edit the record Id, 3 choose a record
};

enum : uint8_t { fmBrowse = 0, fmNew = 1, fmEdit = 2, fmChoose = 3 };

inline void InitFormOpenPars(TFormOpenPars& pars) { pars = TFormOpenPars(); }
