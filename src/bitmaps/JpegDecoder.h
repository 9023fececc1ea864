#pragma once
// The one JPEG decoder of the program: libjpeg-turbo behind a small function that never lets the
// library end the process. A picture that cannot be decoded (unreadable, empty, not a JPEG,
// truncated, damaged entropy data, absurdly large) raises EJpegError whose message names the file.
#include "storage/Exceptions.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class EJpegError : public Exception {
public:
    using Exception::Exception;
};

// Largest picture accepted, in pixels: far above any card scan, far below what would exhaust memory.
inline constexpr qint64 JPEG_MAX_PIXELS = 50'000'000;

// Decodes a whole JPEG file into an opaque image of 8 bits per colour (QImage::Format_RGB32).
// scaleDenominator 1, 2, 4 or 8 lets the library decode at that fraction of the size (thumbnails).
QImage DecodeJpegFile(const QString& fileName, int scaleDenominator = 1);

// The same for bytes already in memory; fileName only names the picture in the error message.
QImage DecodeJpegData(const QByteArray& data, const QString& fileName, int scaleDenominator = 1);
