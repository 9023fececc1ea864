#pragma once
#include <QString>

// Backup, restore and the check at start, beside the engine's own backup and quick check run bare.
void MeasureBackup(const QString& programDir, int repeats);
