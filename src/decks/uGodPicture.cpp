#include "decks/uGodPicture.h"

#include "bitmaps/Bitmaps.h"

QImage GodPicture(const QString& cardNumber, const std::function<QString()>& pictureFile)
{
    const QImage builtin = BuiltinBitmap(QStringLiteral("FOIST_") + cardNumber);
    if (!builtin.isNull()) return builtin;
    return pictureFile ? GodThumbnail(pictureFile()) : QImage();
}

QImage GodThumbnail(const QString& pictureFile)
{
    Q_UNUSED(pictureFile);
    return QImage();
}
