// The JPEG decoder, the quarter turns and the picture cache, on real files in a temporary folder.
#include "bitmaps/JpegFiles.h"

#include "bitmaps/BitmapTurn.h"
#include "bitmaps/JpegDecoder.h"
#include "bitmaps/uVDBBmpList.h"

#include <QDir>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

namespace {

// A CMYK JPEG as prepress programs write it (Adobe marker, inks stored inverted), made with
// libjpeg itself since Qt writes no CMYK.
bool WriteCmykJpeg(const QString& path, int w, int h, const uchar ink[4])
{
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uchar> row(size_t(w) * 4);
    for (int x = 0; x < w; ++x)
        for (int c = 0; c < 4; ++c) row[size_t(x) * 4 + size_t(c)] = ink[c];
    while (info.next_scanline < info.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
    return true;
}

class JpegFolder : public ::testing::Test {
protected:
    QString File(const QString& name) const { return QDir(Dir.path()).filePath(name); }
    QString Card(const QString& name, const QColor& color, int w = 250, int h = 350)
    {
        const QString path = File(name);
        EXPECT_TRUE(WriteJpeg(path, SolidCard(w, h, color)));
        return path;
    }
    // The message of the EJpegError a decode raises, or empty when it decodes.
    QString DecodeError(const QString& path)
    {
        try {
            DecodeJpegFile(path);
        } catch (const EJpegError& e) {
            return e.Message();
        }
        return QString();
    }
    QTemporaryDir Dir;
};

using JpegDecoderTest = JpegFolder;
using BmpCacheTest = JpegFolder;

}  // namespace

// --- decoding ---

TEST_F(JpegDecoderTest, DecodesColourAndGreyPicturesIntoOpaqueRgb32)
{
    const QImage colour = DecodeJpegFile(Card("a.jpg", QColor(200, 40, 30), 307, 432));
    EXPECT_EQ(colour.size(), QSize(307, 432));
    EXPECT_EQ(colour.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(colour.pixel(150, 200), qRgb(200, 40, 30))) << std::hex << colour.pixel(150, 200);
    EXPECT_EQ(qAlpha(colour.pixel(150, 200)), 255);

    QImage grey(40, 30, QImage::Format_Grayscale8);
    grey.fill(128);
    ASSERT_TRUE(WriteJpeg(File("g.jpg"), grey));
    const QImage decoded = DecodeJpegFile(File("g.jpg"));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(decoded.pixel(20, 15), qRgb(128, 128, 128), 4));

    // Scaled decoding for thumbnails.
    EXPECT_EQ(DecodeJpegFile(File("a.jpg"), 4).size(), QSize(77, 108));
}

TEST_F(JpegDecoderTest, DecodesCmykPicturesWithTheirInksInverted)
{
    const uchar red[4] = {255, 0, 0, 255};  // stored inverted: full cyan and black mean none
    ASSERT_TRUE(WriteCmykJpeg(File("cmyk.jpg"), 32, 24, red));
    const QImage img = DecodeJpegFile(File("cmyk.jpg"));
    EXPECT_EQ(img.size(), QSize(32, 24));
    EXPECT_TRUE(Near(img.pixel(10, 10), qRgb(255, 0, 0), 12)) << std::hex << img.pixel(10, 10);
}

TEST_F(JpegDecoderTest, BrokenFilesRaiseAnErrorNamingTheFile)
{
    const QByteArray good = ReadBytes(Card("good.jpg", Qt::darkGreen));
    ASSERT_GT(good.size(), 1000);

    ASSERT_TRUE(WriteBytes(File("empty.jpg"), QByteArray()));
    ASSERT_TRUE(WriteBytes(File("text.jpg"), "This is no picture at all."));
    ASSERT_TRUE(WriteBytes(File("half.jpg"), good.left(good.size() / 2)));
    ASSERT_TRUE(WriteBytes(File("header.jpg"), good.left(100)));
    QImage png(10, 10, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(File("png.jpg"), "PNG"));

    struct {
        const char* Name;
        const char* Reason;
    } cases[] = {{"empty.jpg", "üres"},       {"text.jpg", "nem JPEG"}, {"png.jpg", "nem JPEG"},
                 {"half.jpg", "csonka"},      {"header.jpg", "csonka"}, {"missing.jpg", "nem nyitható meg"}};
    for (const auto& c : cases) {
        const QString message = DecodeError(File(c.Name));
        EXPECT_TRUE(message.contains(File(c.Name))) << c.Name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.Reason))) << c.Name << ": " << message.toStdString();
    }
    // Only the end marker missing: every pixel is there, the picture is taken.
    ASSERT_TRUE(WriteBytes(File("noeoi.jpg"), good.left(good.size() - 2)));
    EXPECT_EQ(DecodeError(File("noeoi.jpg")), QString());
}

TEST_F(JpegDecoderTest, AnyTruncationOrDamageFailsCleanlyAndNeverEndsTheProcess)
{
    const QByteArray good = ReadBytes(Card("good.jpg", QColor(30, 90, 200)));
    int truncatedAccepted = 0;
    // Short of the last few bytes, which may hold only padding bits.
    for (qsizetype cut = 0; cut < good.size() - 16; cut += 61) {
        try {
            DecodeJpegData(good.left(cut), QStringLiteral("cut.jpg"));
            ++truncatedAccepted;
        } catch (const EJpegError& e) {
            EXPECT_TRUE(e.Message().contains("cut.jpg"));
        }
    }
    EXPECT_EQ(truncatedAccepted, 0);

    // Random damage: each variant either decodes to a picture or raises our error.
    QRandomGenerator random(12345);
    int failed = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good;
        const int hits = 1 + int(random.bounded(8));
        for (int k = 0; k < hits; ++k) bytes[qsizetype(random.bounded(int(bytes.size())))] = char(random.bounded(256));
        try {
            const QImage img = DecodeJpegData(bytes, QStringLiteral("x.jpg"));
            EXPECT_FALSE(img.isNull());
        } catch (const EJpegError&) {
            ++failed;
        }
    }
    EXPECT_GT(failed, 0);
}

TEST_F(JpegDecoderTest, AProgressivePictureCutShortIsRefusedNotShownCoarse)
{
    QImageWriter writer(File("prog.jpg"), "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(90);
    ASSERT_TRUE(writer.write(SolidCard(307, 432, QColor(20, 160, 90))));
    writer.device()->close();
    const QByteArray whole = ReadBytes(File("prog.jpg"));
    EXPECT_TRUE(Near(DecodeJpegData(whole, "prog.jpg").pixel(150, 200), qRgb(20, 160, 90)));
    int accepted = 0;
    for (qsizetype cut = whole.size() / 4; cut < whole.size() - 16; cut += whole.size() / 10) {
        try {
            DecodeJpegData(whole.left(cut), QStringLiteral("prog.jpg"));
            ++accepted;
        } catch (const EJpegError& e) {
            EXPECT_TRUE(e.Message().contains("csonka")) << e.Message().toStdString();
        }
    }
    EXPECT_EQ(accepted, 0);
}

TEST_F(JpegDecoderTest, AHugeDeclaredSizeIsRefusedBeforeAnyAllocation)
{
    QByteArray bytes = ReadBytes(Card("small.jpg", Qt::gray, 16, 16));
    // The SOF0 frame header: FF C0, length, precision, height, width.
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    bytes[sof + 5] = char(0x40);
    bytes[sof + 6] = char(0x00);
    bytes[sof + 7] = char(0x40);
    bytes[sof + 8] = char(0x00);
    try {
        DecodeJpegData(bytes, QStringLiteral("huge.jpg"));
        FAIL() << "a 16384 x 16384 picture was accepted";
    } catch (const EJpegError& e) {
        EXPECT_TRUE(e.Message().contains("huge.jpg"));
    }
}

// --- quarter turns ---

namespace {
// Every pixel different, so that any misplaced one shows.
QImage Numbered(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)));
    return img.convertToFormat(format);
}
}  // namespace

TEST(BitmapTurnTest, OneTurnMovesEveryPixelAsTheBottomUpRuleSays)
{
    const QImage old = Numbered(307, 432);
    QImage turned = old;
    RotateBitmap90(turned);
    ASSERT_EQ(turned.size(), QSize(432, 307));
    // Rows counted from the bottom: old (column x, row yb) goes to new row (old width - 1 - x),
    // column yb.
    const int oldW = old.width(), oldH = old.height(), newH = turned.height();
    bool all = true;
    for (int yb = 0; yb < oldH && all; ++yb)
        for (int x = 0; x < oldW && all; ++x) {
            const QRgb was = old.pixel(x, oldH - 1 - yb);
            const int newRowBottomUp = oldW - 1 - x;
            all = turned.pixel(yb, newH - 1 - newRowBottomUp) == was;
        }
    EXPECT_TRUE(all);
    // On the screen a clockwise turn: the old top-left corner is now top-right.
    EXPECT_EQ(turned.pixel(431, 0), old.pixel(0, 0));
}

TEST(BitmapTurnTest, FourTurnsGiveTheStartBackAndThreeEqualOneCounterClockwise)
{
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16,
                                  QImage::Format_Indexed8}) {
        const QImage old = Numbered(307, 432, format);
        QImage img = old;
        for (int i = 0; i < 3; ++i) RotateBitmap90(img);
        QImage once = old;
        RotateBitmap270(once);
        EXPECT_EQ(img, once) << format;
        RotateBitmap90(img);
        EXPECT_EQ(img, old) << format;
        EXPECT_EQ(img.format(), format);
    }
}

TEST(BitmapTurnTest, BitmapsBelowEightBitsAndNullOnesStayAsTheyAre)
{
    QImage mono(30, 20, QImage::Format_Mono);
    mono.fill(1);
    mono.setPixel(0, 0, 0);
    const QImage before = mono;
    RotateBitmap90(mono);
    RotateBitmap270(mono);
    EXPECT_EQ(mono, before);
    QImage none;
    RotateBitmap90(none);
    EXPECT_TRUE(none.isNull());
}

// --- the cache ---

TEST_F(BmpCacheTest, StartsWithTenEntriesAtMostAndTheNeutralBack)
{
    TVDBBmpList list;
    EXPECT_EQ(list.MaxCount(), 10);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.NextStamp(), 1);
    EXPECT_EQ(list.OldestIndex(), -1);
    EXPECT_EQ(list.DefaultImage().size(), QSize(307, 432));
}

TEST_F(BmpCacheTest, FirstInFirstOutHitsDoNotRenewAndStampsGrow)
{
    const QString a = Card("a.jpg", Qt::red), b = Card("b.jpg", Qt::green), c = Card("c.jpg", Qt::blue);
    TVDBBmpList list;
    list.SetMaxCount(2);
    EXPECT_TRUE(Near(list.GetImage(a, 1).pixel(100, 100), qRgb(255, 0, 0)));
    EXPECT_TRUE(list.LastFound());
    list.GetImage(b, 2);
    // A hit: the same image, no new stamp, the file not even looked at.
    QFile::remove(a);
    EXPECT_TRUE(Near(list.GetImage(a, 1).pixel(100, 100), qRgb(255, 0, 0)));
    EXPECT_TRUE(list.LastFound());
    EXPECT_EQ(list.Items(0).Stamp, 1);
    // C replaces A, the first loaded, not B.
    EXPECT_TRUE(Near(list.GetImage(c, 3).pixel(100, 100), qRgb(0, 0, 255)));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Key, 3);
    EXPECT_EQ(list.Items(0).FileName, c);
    EXPECT_EQ(list.Items(0).Stamp, 3);
    EXPECT_EQ(list.Items(1).Key, 2);
    EXPECT_EQ(list.Items(1).Stamp, 2);
    EXPECT_EQ(list.IndexOfKey(1), -1);
    // The next one replaces B, then C: strictly in load order.
    EXPECT_EQ(list.OldestIndex(), 1);
    EXPECT_EQ(list.NextStamp(), 4);
    list.GetImage(Card("d.jpg", Qt::yellow), 4);
    EXPECT_EQ(list.Items(1).Key, 4);
    EXPECT_EQ(list.Items(1).Stamp, 4);
    EXPECT_EQ(list.OldestIndex(), 0);
}

TEST_F(BmpCacheTest, AMissingFileGivesTheBackIsNeverCachedAndIsLookedForAgain)
{
    TVDBBmpList list;
    list.LoadDefaultImage(Card("hatlap.jpg", Qt::darkMagenta, 200, 300));
    EXPECT_TRUE(list.DefaultImageLoaded());
    const QString later = File("later.jpg");
    const QImage& back = list.GetImage(later, 7);
    EXPECT_FALSE(list.LastFound());
    EXPECT_EQ(back.size(), QSize(200, 300));
    EXPECT_EQ(list.Count(), 0);
    // An empty picture name leaves only the folder: no file, the back.
    list.GetImage(Dir.path() + "/", 8);
    EXPECT_FALSE(list.LastFound());
    EXPECT_EQ(list.Count(), 0);

    Card("later.jpg", Qt::cyan);
    EXPECT_TRUE(Near(list.GetImage(later, 7).pixel(5 + 100, 100), qRgb(0, 255, 255)));
    EXPECT_TRUE(list.LastFound());
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(BmpCacheTest, AnUndecodablePictureThrowsAndLeavesTheCacheAsItWas)
{
    const QString a = Card("a.jpg", Qt::red), b = Card("b.jpg", Qt::green);
    const QByteArray good = ReadBytes(b);
    ASSERT_TRUE(WriteBytes(File("bad.jpg"), good.left(good.size() / 3)));
    TVDBBmpList list;
    list.SetMaxCount(2);
    list.GetImage(a, 1);
    EXPECT_THROW(list.GetImage(File("bad.jpg"), 9), EJpegError);
    EXPECT_EQ(list.Count(), 1);
    list.GetImage(b, 2);
    // Full: the failure must not take the oldest entry's place either.
    EXPECT_THROW(list.GetImage(File("bad.jpg"), 9), EJpegError);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Key, 1);
    EXPECT_EQ(list.Items(0).FileName, a);
    EXPECT_EQ(list.Items(0).Stamp, 1);
    EXPECT_TRUE(Near(list.Items(0).Image.pixel(100, 100), qRgb(255, 0, 0)));
    EXPECT_EQ(list.IndexOfKey(9), -1);
}

TEST_F(BmpCacheTest, ALimitBelowOneKeepsOneEntryAndLoweringTheLimitDropsTheOldest)
{
    const QString a = Card("a.jpg", Qt::red), b = Card("b.jpg", Qt::green), c = Card("c.jpg", Qt::blue);
    TVDBBmpList list;
    list.SetMaxCount(0);
    EXPECT_EQ(list.MaxCount(), 1);
    EXPECT_TRUE(Near(list.GetImage(a, 1).pixel(100, 100), qRgb(255, 0, 0)));
    EXPECT_TRUE(Near(list.GetImage(b, 2).pixel(100, 100), qRgb(0, 255, 0)));
    EXPECT_EQ(list.Count(), 1);
    list.SetMaxCount(-5);
    EXPECT_EQ(list.MaxCount(), 1);

    list.SetMaxCount(3);
    list.GetImage(a, 1);
    list.GetImage(c, 3);
    ASSERT_EQ(list.Count(), 3);
    list.SetMaxCount(1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0).Key, 3);  // the newest stays
}

TEST_F(BmpCacheTest, AMissingOrBrokenCardBackGivesTheNeutralBackSilently)
{
    TVDBBmpList list;
    list.LoadDefaultImage(File("hatlap.jpg"));
    EXPECT_FALSE(list.DefaultImageLoaded());
    EXPECT_EQ(list.DefaultImage().size(), QSize(307, 432));
    EXPECT_EQ(list.DefaultImage(), NeutralCardBack());

    ASSERT_TRUE(WriteBytes(File("hatlap.jpg"), QByteArray("\xFF\xD8\xFF", 3)));
    list.LoadDefaultImage(File("hatlap.jpg"));
    EXPECT_FALSE(list.DefaultImageLoaded());
    EXPECT_EQ(list.DefaultImage(), NeutralCardBack());
}
