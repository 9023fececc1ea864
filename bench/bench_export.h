#pragma once
#include <QString>

// The card list export (CSV file and workbook) of every card, beside the bare engine and library
// doing the same work; and the workbook's resident memory growth.
void MeasureExport(const QString& programDir, int repeats);
