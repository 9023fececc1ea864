#pragma once
#include <QString>

// The card list as a PDF (every card, every column) and a 60-card deck sheet as a PDF, beside the
// bare engine (SQLite stepping the list) and a bare PDF writer (the sheet's lines as plain text);
// and the list's resident memory growth.
void MeasurePrint(const QString& programDir, int repeats);
