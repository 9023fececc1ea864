#include "bitmaps/BitmapTurn.h"

#include <cstring>

namespace {

// Copies every pixel of `from` to the place `to(x, y)` of a bitmap of swapped size. Rows here are
// counted from the top, as QImage stores them.
template <typename TPlace>
QImage Turned(const QImage& from, TPlace place)
{
    const int w = from.width();
    const int h = from.height();
    QImage to(h, w, from.format());
    if (to.isNull()) return from;  // no memory for the copy: the picture stays as it was
    to.setColorTable(from.colorTable());
    to.setDotsPerMeterX(from.dotsPerMeterY());
    to.setDotsPerMeterY(from.dotsPerMeterX());
    const int bytes = from.depth() / 8;
    const uchar* src = from.constBits();
    const qsizetype srcLine = from.bytesPerLine();
    uchar* dst = to.bits();
    const qsizetype dstLine = to.bytesPerLine();
    for (int y = 0; y < h; ++y) {
        const uchar* row = src + y * srcLine;
        for (int x = 0; x < w; ++x) {
            const QPoint p = place(x, y, w, h);
            uchar* target = dst + p.y() * dstLine + qsizetype(p.x()) * bytes;
            switch (bytes) {
            case 4: *reinterpret_cast<quint32*>(target) = reinterpret_cast<const quint32*>(row)[x]; break;
            case 2: *reinterpret_cast<quint16*>(target) = reinterpret_cast<const quint16*>(row)[x]; break;
            case 1: *target = row[x]; break;
            default: std::memcpy(target, row + qsizetype(x) * bytes, size_t(bytes)); break;
            }
        }
    }
    return to;
}

bool Turnable(const QImage& bitmap)
{
    const int depth = bitmap.depth();
    return !bitmap.isNull() && (depth == 8 || depth == 16 || depth == 24 || depth == 32);
}

}  // namespace

void RotateBitmap90(QImage& bitmap)
{
    if (!Turnable(bitmap)) return;
    // Bottom-up old row yb = h - 1 - y goes to bottom-up new row (w - 1 - x), column yb; from the
    // top, the new row is x and the column h - 1 - y: a clockwise turn on the screen.
    bitmap = Turned(bitmap, [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); });
}

void RotateBitmap270(QImage& bitmap)
{
    if (!Turnable(bitmap)) return;
    bitmap = Turned(bitmap, [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); });
}
