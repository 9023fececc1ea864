#include "bitmaps/uPaths.h"

#include "bitmaps/Bitmaps.h"
#include "storage/Exceptions.h"

#include <QStringList>

namespace {
constexpr int ICON_SIZE = 18;
constexpr int BLOCK = 6;

// The parts between "/" separators, in order; an empty list for an empty text.
QStringList SplitNames(const QString& names)
{
    if (names.isEmpty()) return {};
    return names.split(QLatin1Char('/'));
}
} // namespace

QString PathsToIconNames(const QString& letters)
{
    QStringList names;
    names.reserve(letters.size());
    for (QChar c : letters) {
        const QChar upper = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QChar(c.unicode() - 'a' + 'A') : c;
        names.append(QStringLiteral("IKON_") + upper);
    }
    return names.join(QLatin1Char('/'));
}

void DrawIconToCanvas(const QString& names, QPainter& canvas, int& x, int y)
{
    for (const QString& name : SplitNames(names)) {
        const QImage icon = BuiltinTransparentBitmap(name);
        if (!icon.isNull()) canvas.drawImage(QPoint(x, y), icon);
        x += ICON_SIZE;
    }
}

void DrawIconsInRect(const QString& names, QPainter& canvas, const QRect& cell)
{
    canvas.save();
    canvas.setClipRect(cell, Qt::IntersectClip);
    QRect square(cell.left(), cell.top(), ICON_SIZE, ICON_SIZE);
    for (const QString& name : SplitNames(names)) {
        const QImage icon = BuiltinTransparentBitmap(name);
        if (!icon.isNull()) canvas.drawImage(square, icon);
        square.translate(ICON_SIZE, 0);
    }
    canvas.restore();
}

QString NormalizeSummoning(const QString& summoning, const QString& paths, const QString& typeCode)
{
    int counts[4] = {0, 0, 0, 0};
    if (typeCode == MAIN_GOD_TYPE) {
        if (paths.size() < 4)
            throw EConvertError(QStringLiteral("'%1' nem érvényes: a főisten útjaihoz négy számjegy kell").arg(paths));
        for (int k = 0; k < 4; ++k) {
            const QChar c = paths[k];
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                throw EConvertError(QStringLiteral("'%1' nem érvényes egész szám").arg(paths));
            counts[k] = c.unicode() - '0';
            // More would spill into the next path's block and corrupt the summoning filter.
            if (counts[k] > BLOCK)
                throw EConvertError(
                    QStringLiteral("'%1' nem érvényes: a főisten egy útjának száma legfeljebb 6 lehet").arg(paths));
        }
    } else {
        for (QChar c : summoning) {
            const qsizetype k = PATH_LETTERS.indexOf(c);
            if (k >= 0 && counts[k] < BLOCK) ++counts[k];
        }
    }
    QString result(4 * BLOCK, QLatin1Char('_'));
    for (int k = 0; k < 4; ++k)
        for (int n = 0; n < counts[k]; ++n) result[k * BLOCK + n] = PATH_LETTERS[k];
    return result;
}

int IconForLetter(QChar letter)
{
    switch (letter.toUpper().unicode()) {
    case u'V': return 0;
    case u'M': return 1;
    case u'H': return 2;
    case u'I': return 3;
    case u'B': return 4;
    default: return -1;
    }
}
