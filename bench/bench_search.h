#pragma once
#include <QString>

// The search index and the "Keresés" condition: building the index, its share of the file, and
// the card list narrowed by one prefix and by two words, each beside bare SQLite.
// fillTexts: first give every card two abilities and a note (the grown catalogue has few).
void MeasureSearch(const QString& programDir, int repeats, bool fillTexts);
