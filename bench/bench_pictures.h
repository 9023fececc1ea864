#pragma once
#include <QString>

// The picture page's views beside bare decoding and stretching, for the demo pictures and for
// generated modern-size pictures; prints its lines.
void MeasurePictures(const QString& demoProgramDir, int repeats);
