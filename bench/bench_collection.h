#pragma once
#include <QString>

// The collection window: opening on the pantheon figures and regrouping, beside the bare engine
// stepping the same grouped statements.
void MeasureCollection(const QString& programDir, int repeats);
