#include "bitmaps/JpegDecoder.h"

#include <QDir>
#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, whose default ends the process. Ours jumps
// back (longjmp) into the small step that called the library. Only the steps below call libjpeg,
// and none of them holds a C++ object with a destructor, so nothing is skipped by the jump; the
// C++ side (the image, the exception) lives in DecodeJpegData, which has no jump target.

namespace {

struct TErrorManager {
    jpeg_error_mgr Pub;  // first, so libjpeg's pointer is ours too
    std::jmp_buf Jump;
    int Code = 0;
    // The data ran out. In a single-scan file that alone costs no pixel (only the end marker may
    // be missing): a pixel without its data raises JWRN_HIT_MARKER. A file of several scans
    // (progressive) would quietly show a coarser picture, so there it ends the decoding.
    bool SawEof = false;
    bool MultiScan = false;
    char Text[JMSG_LENGTH_MAX] = {};
};

// Warnings after which the picture would show grey fill or garbage: the file is truncated or its
// entropy data is damaged. The decoding stops there, as for an error.
bool IsFatalWarning(int code)
{
    switch (code) {
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void Escape(j_common_ptr info)
{
    auto* err = reinterpret_cast<TErrorManager*>(info->err);
    err->Code = err->Pub.msg_code;
    (*err->Pub.format_message)(info, err->Text);
    std::longjmp(err->Jump, 1);
}

extern "C" void OnErrorExit(j_common_ptr info) { Escape(info); }

extern "C" void OnEmitMessage(j_common_ptr info, int level)
{
    if (level >= 0) return;  // trace output
    ++info->err->num_warnings;
    auto* err = reinterpret_cast<TErrorManager*>(info->err);
    if (err->Pub.msg_code == JWRN_JPEG_EOF) {
        err->SawEof = true;
        if (err->MultiScan) Escape(info);
        return;
    }
    if (IsFatalWarning(err->Pub.msg_code)) Escape(info);
}

// Nothing is printed: the message reaches the user through the exception.
extern "C" void OnOutputMessage(j_common_ptr) {}

struct TDecoder {
    jpeg_decompress_struct Info;
    TErrorManager Err;
    bool Created = false;
    bool Cmyk = false;
    bool Inverted = false;
};

// Step 1: the headers, the colour conversion wanted and the output size.
bool ReadHeader(TDecoder& d, const unsigned char* data, unsigned long size, int scaleDenominator)
{
    if (setjmp(d.Err.Jump)) return false;
    jpeg_create_decompress(&d.Info);
    d.Created = true;
    jpeg_mem_src(&d.Info, data, size);
    jpeg_read_header(&d.Info, TRUE);
    d.Err.MultiScan = jpeg_has_multiple_scans(&d.Info);
    d.Cmyk = d.Info.jpeg_color_space == JCS_CMYK || d.Info.jpeg_color_space == JCS_YCCK;
    // Adobe's CMYK files store the inks inverted.
    d.Inverted = d.Cmyk && d.Info.saw_Adobe_marker;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const J_COLOR_SPACE rgb32 = JCS_EXT_BGRA;
#else
    const J_COLOR_SPACE rgb32 = JCS_EXT_ARGB;
#endif
    d.Info.out_color_space = d.Cmyk ? JCS_CMYK : rgb32;
    d.Info.scale_num = 1;
    d.Info.scale_denom = unsigned(scaleDenominator);
    jpeg_calc_output_dimensions(&d.Info);
    return true;
}

bool StartDecompress(TDecoder& d)
{
    if (setjmp(d.Err.Jump)) return false;
    jpeg_start_decompress(&d.Info);
    return true;
}

// Step 2: every row, straight into the image's memory (CMYK through a row buffer).
bool ReadRows(TDecoder& d, uchar* bits, qsizetype bytesPerLine, uchar* cmykRow)
{
    if (setjmp(d.Err.Jump)) return false;
    const JDIMENSION height = d.Info.output_height;
    const JDIMENSION width = d.Info.output_width;
    while (d.Info.output_scanline < height) {
        uchar* target = bits + qsizetype(d.Info.output_scanline) * bytesPerLine;
        JSAMPROW row = d.Cmyk ? cmykRow : target;
        if (jpeg_read_scanlines(&d.Info, &row, 1) != 1) ERREXIT(&d.Info, JERR_INPUT_EOF);
        if (d.Cmyk) {
            auto* out = reinterpret_cast<QRgb*>(target);
            for (JDIMENSION x = 0; x < width; ++x) {
                int c = cmykRow[4 * x], m = cmykRow[4 * x + 1], y = cmykRow[4 * x + 2], k = cmykRow[4 * x + 3];
                if (!d.Inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&d.Info);
    return true;
}

QString Reason(const TErrorManager& err)
{
    const QString detail = QString::fromLocal8Bit(err.Text);
    if (err.SawEof) return QStringLiteral("A fájl csonka: a kép adatai a fájl vége előtt megszakadnak.");
    switch (err.Code) {
    case JERR_NO_SOI:
        return QStringLiteral("A fájl nem JPEG kép.");
    case JERR_INPUT_EMPTY:
        return QStringLiteral("A fájl üres.");
    case JERR_INPUT_EOF:
    case JWRN_JPEG_EOF:
        return QStringLiteral("A fájl csonka: a kép adatai a fájl vége előtt megszakadnak.");
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
        return QStringLiteral("A kép adatai sérültek (%1).").arg(detail);
    case JERR_OUT_OF_MEMORY:
        return QStringLiteral("Nincs elég memória a kép kibontásához.");
    default:
        return QStringLiteral("Hibás JPEG adat (%1).").arg(detail);
    }
}

[[noreturn]] void Fail(const QString& fileName, const QString& reason)
{
    throw EJpegError(QStringLiteral("A lapkép nem olvasható be: %1\n%2").arg(QDir::toNativeSeparators(fileName), reason));
}

// Releases the library's state however DecodeJpegData is left.
struct TDecoderRelease {
    TDecoder& D;
    ~TDecoderRelease()
    {
        if (D.Created) jpeg_destroy_decompress(&D.Info);
    }
};

}  // namespace

QImage DecodeJpegData(const QByteArray& data, const QString& fileName, int scaleDenominator)
{
    if (data.isEmpty()) Fail(fileName, QStringLiteral("A fájl üres."));
    if (scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8) scaleDenominator = 1;

    TDecoder d{};
    d.Info.err = jpeg_std_error(&d.Err.Pub);
    d.Err.Pub.error_exit = OnErrorExit;
    d.Err.Pub.emit_message = OnEmitMessage;
    d.Err.Pub.output_message = OnOutputMessage;
    const TDecoderRelease release{d};

    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    if (!ReadHeader(d, bytes, static_cast<unsigned long>(data.size()), scaleDenominator)) Fail(fileName, Reason(d.Err));
    const qint64 width = d.Info.output_width;
    const qint64 height = d.Info.output_height;
    if (width <= 0 || height <= 0 || width * height > JPEG_MAX_PIXELS)
        Fail(fileName, QStringLiteral("A kép mérete nem elfogadható (%1 × %2 képpont).").arg(width).arg(height));
    if (!StartDecompress(d)) Fail(fileName, Reason(d.Err));

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull()) Fail(fileName, QStringLiteral("Nincs elég memória a kép kibontásához."));
    QByteArray cmykRow(d.Cmyk ? qsizetype(width) * 4 : 0, Qt::Uninitialized);
    if (!ReadRows(d, image.bits(), image.bytesPerLine(), reinterpret_cast<uchar*>(cmykRow.data())))
        Fail(fileName, Reason(d.Err));
    return image;
}

QImage DecodeJpegFile(const QString& fileName, int scaleDenominator)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) Fail(fileName, QStringLiteral("A fájl nem nyitható meg."));
    // A card picture is a few hundred kilobytes; a file beyond this is no picture of ours.
    const qint64 limit = qint64(256) * 1024 * 1024;
    if (file.size() > limit) Fail(fileName, QStringLiteral("A fájl túl nagy."));
    const QByteArray data = file.readAll();
    if (data.isEmpty() && file.error() != QFileDevice::NoError)
        Fail(fileName, QStringLiteral("A fájl nem olvasható."));
    return DecodeJpegData(data, fileName, scaleDenominator);
}
