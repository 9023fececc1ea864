#pragma once
// Quarter turns of a bitmap, for the people cards, which are scanned in landscape.
#include <QImage>

// Replaces the bitmap by a copy turned 90 degrees clockwise: the pixel of old column x in old row y
// (rows counted from the bottom, as a device-independent bitmap stores them) goes to new row
// (old width - 1 - x), column y. Bitmaps of fewer than 8 bits per pixel, and null ones, stay as
// they are. Three calls turn it counter-clockwise.
void RotateBitmap90(QImage& bitmap);

// One quarter turn counter-clockwise, pixel for pixel what three RotateBitmap90 calls give, at
// the cost of one.
void RotateBitmap270(QImage& bitmap);
