// The picture page beside bare libjpeg-turbo decoding the same files and QPainter stretching them
// into the same rectangles, for the demo pictures and for generated modern-size ones
// (745 x 1040 baseline JPEG, quality 90); plus the resident memory of a full cache of 20.
#include "bench_pictures.h"
#include "bench_util.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "bitmaps/JpegDecoder.h"
#include "bitmaps/uVDBBmpList.h"
#include "browser/uPicturePage.h"
#include "browser/ufMain.h"
#include "storage/uAM.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTabWidget>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

int Repeats = 5;


// --- the bare engine: libjpeg-turbo straight from the file into an RGB32 image ---

struct TBareError {
    jpeg_error_mgr Pub;
    std::jmp_buf Jump;
};

extern "C" void BareErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<TBareError*>(info->err)->Jump, 1); }

bool BareDecodeInto(FILE* in, jpeg_decompress_struct& info, QImage& out)
{
    auto* err = reinterpret_cast<TBareError*>(info.err);
    if (setjmp(err->Jump)) return false;
    jpeg_stdio_src(&info, in);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

QImage BareDecode(const QString& file)
{
    FILE* in = std::fopen(QFile::encodeName(file).constData(), "rb");
    if (!in) return QImage();
    jpeg_decompress_struct info;
    TBareError err;
    info.err = jpeg_std_error(&err.Pub);
    err.Pub.error_exit = BareErrorExit;
    jpeg_create_decompress(&info);
    QImage out;
    if (!BareDecodeInto(in, info, out)) out = QImage();
    jpeg_destroy_decompress(&info);
    std::fclose(in);
    return out;
}

// Decodes each file (the card back where there is none) and stretches it into its rectangle.
void BareDraw(const QSize& page, const std::vector<std::pair<QString, QRect>>& cards, const QImage& back, bool stretch)
{
    QImage target(page, QImage::Format_RGB32);
    target.fill(Qt::lightGray);
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto& [file, rect] : cards) {
        const QImage img = QFile::exists(file) ? BareDecode(file) : back;
        if (stretch) p.drawImage(rect, img);
        else p.drawImage(rect.topLeft(), img);
    }
}

// --- modern pictures ---

QImage ModernPicture(int w, int h, int seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    QPainter p(&img);
    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 160, 230));
    sky.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 200, 90));
    p.fillRect(img.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 140; ++i) {
        p.setPen(QPen(QColor::fromHsv(int(random.bounded(360)), 180, 200), 1 + random.bounded(6)));
        p.setBrush(QColor::fromHsv(int(random.bounded(360)), int(random.bounded(255)), int(random.bounded(255)), 120));
        p.drawEllipse(QPointF(random.bounded(w), random.bounded(h)), random.bounded(90.0), random.bounded(90.0));
    }
    p.setPen(Qt::white);
    QFont f;
    f.setPixelSize(28);
    p.setFont(f);
    for (int y = 40; y < h; y += 36) p.drawText(20, y, QStringLiteral("Velkor kártya %1 — próba szöveg").arg(seed));
    // A little grain, as scans have.
    for (int y = 0; y < h; y += 2) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int d = int(random.bounded(17)) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                           std::clamp(qBlue(c) + d, 0, 255));
        }
    }
    return img;
}

// Writes a 745 x 1040 picture (1040 x 745 for people cards) for the first `count` cards of the
// list, and a card back, into folder.
void WriteModernPictures(const QString& folder, int count)
{
    QDir().mkpath(folder);
    TQuery& q = AM->qLapok;
    const int nameCol = q.FindField("L_KEPNEV"), typeCol = q.FindField("L_LAPTIPUS");
    for (int r = 0; r < std::min(count, q.RecordCount()); ++r) {
        const bool people = q.ValueText(r, typeCol) == QLatin1String("L011");
        const QString file = QDir(folder).filePath(q.ValueText(r, nameCol));
        if (QFile::exists(file)) continue;
        ModernPicture(people ? 1040 : 745, people ? 745 : 1040, r).save(file, "JPG", 90);
    }
    ModernPicture(745, 1040, 9999).save(QDir(folder).filePath("hatlap.jpg"), "JPG", 90);
}

// The files and rectangles of the last drawing.
std::vector<std::pair<QString, QRect>> LastDrawing(TPicturePage* page)
{
    std::vector<std::pair<QString, QRect>> cards;
    TQuery& q = AM->qLapok;
    const int idCol = q.FindField("L_ID"), nameCol = q.FindField("L_KEPNEV");
    for (const auto& d : page->DrawnCards())
        for (int r = 0; r < q.RecordCount(); ++r)
            if (q.ValueInteger(r, idCol) == d.CardId) {
                cards.emplace_back(page->PictureFile(q.ValueText(r, nameCol)), d.Rect);
                break;
            }
    return cards;
}

void MeasureSet(const QString& label, const QString& programDir, const QString& gfx, bool memory)
{
    QFile ini(QDir(programDir).filePath("velkor.ini"));
    if (!ini.open(QIODevice::WriteOnly)) return;
    ini.write(QStringLiteral("[PATHS]\nGfxPath=%1\n[GFX]\nCacheSize=20\n").arg(gfx).toUtf8());
    ini.close();

    TTestUiHost ui;  // no dialog may block the run
    TProgram program(programDir);
    program.Create();
    if (!fMain->Connected()) return;
    if (memory) WriteModernPictures(gfx, 120);
    TPicturePage* page = fMain->ts3;
    TQuery& q = AM->qLapok;
    const int typeCol = q.FindField("L_LAPTIPUS");
    auto cold = [&] { page->CreateCache(gfx, 20); };
    cold();
    const QImage back = page->BmpList()->DefaultImage();

    if (memory) {
        // First, while nothing freed yet can be handed out again.
        QCoreApplication::processEvents();
        const long before = ResidentKb();
        q.SetRecNo(10);
        page->SetPictureMode(pmQuarter);  // 40 cards through a cache of 20: it ends full
        const long after = ResidentKb();
        const TVDBBmpList& cache = *page->BmpList();
        std::printf("%-44s %7d entries  resident +%ld kB  pictures %lld kB\n",
                    qPrintable(label + ": full cache, CacheSize 20"), cache.Count(), after - before,
                    static_cast<long long>(cache.ImageBytes() / 1024));
        q.First();
        page->SetPictureMode(pmSingle);
    }

    // Portrait cards for the single view, each a fresh one.
    std::vector<int> portraits;
    for (int r = 0; r < q.RecordCount() && int(portraits.size()) < Repeats; ++r)
        if (q.ValueText(r, typeCol) != QLatin1String("L011") && QFile::exists(page->PictureFile(q.ValueText(r, q.FindField("L_KEPNEV")))))
            portraits.push_back(r);
    if (int(portraits.size()) < Repeats) return;

    // The decoder alone, on the same files, interleaved with the bare one so load swings hit both.
    {
        std::vector<QString> files;
        for (int r : portraits) files.push_back(page->PictureFile(q.ValueText(r, q.FindField("L_KEPNEV"))));
        std::vector<double> ours, bare;
        for (int round = 0; round < Repeats; ++round) {
            QElapsedTimer t;
            t.start();
            for (const QString& f : files) DecodeJpegFile(f);
            ours.push_back(double(t.nsecsElapsed()) / 1e6);
            t.restart();
            for (const QString& f : files) BareDecode(f);
            bare.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(bare.begin(), bare.end());
        Line(qPrintable(label + ": DecodeJpegFile alone"), int(files.size()), ours[ours.size() / 2], bare[bare.size() / 2]);
    }

    page->SetPictureMode(pmSingle);
    page->SetPictureLayout();
    std::vector<double> coldTimes, warmTimes, bareTimes;
    for (int i = 0; i < Repeats; ++i) {
        cold();
        q.SetRecNo(portraits[size_t(i)]);  // the picture page is not the active one: nothing drawn yet
        QElapsedTimer t;
        t.start();
        page->DrawPictureView();
        coldTimes.push_back(double(t.nsecsElapsed()) / 1e6);
        const auto cards = LastDrawing(page);
        const QSize size = page->PagePicture().size();
        t.restart();
        BareDraw(size, cards, back, false);
        bareTimes.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        page->DrawPictureView();
        warmTimes.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    for (auto* v : {&coldTimes, &warmTimes, &bareTimes}) std::sort(v->begin(), v->end());
    const auto median = [](const std::vector<double>& v) { return v[v.size() / 2]; };
    Line(qPrintable(label + ": single view, card not cached"), 1, median(coldTimes), median(bareTimes));
    Line(qPrintable(label + ": single view, cached card"), 1, median(warmTimes), median(bareTimes));

    q.First();
    struct TMode {
        int Mode;
        const char* Name;
    };
    for (const TMode m : {TMode{pmHalf, "half view"}, TMode{pmQuarter, "quarter view"}, TMode{pmSeries, "series view"}}) {
        page->SetPictureMode(m.Mode);
        const auto cards = LastDrawing(page);
        const QSize size = page->PagePicture().size();
        // Ours and the bare work take turns, so that the load of a shared machine hits both alike.
        std::vector<double> ours, bare;
        for (int round = 0; round < Repeats; ++round) {
            cold();
            QElapsedTimer t;
            t.start();
            page->SetPictureLayout();
            page->DrawPictureView();
            ours.push_back(double(t.nsecsElapsed()) / 1e6);
            t.restart();
            BareDraw(size, cards, back, true);
            bare.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(ours.begin(), ours.end());
        std::sort(bare.begin(), bare.end());
        Line(qPrintable(label + ": " + m.Name + ", cold cache of 20"), int(cards.size()), ours[ours.size() / 2], bare[bare.size() / 2]);
    }
    page->SetPictureMode(pmSingle);

    for (const auto& r : ui.Of(TUiKind::ErrorDialog))
        std::fprintf(stderr, "error: %s\n", qPrintable(r.Title + " " + r.Text));
    fMain->close();
}

}  // namespace

void MeasurePictures(const QString& demoProgramDir, int repeats)
{
    Repeats = std::max(repeats, 3);  // the single views need several different cards
    std::printf("== card pictures ==\n");
    QTemporaryDir demoCopy;
    CopyCatalogue(demoProgramDir, demoCopy.path());
    MeasureSet(QStringLiteral("demo pictures"), demoCopy.path(), QDir(demoProgramDir).filePath("GFX"), false);

    QTemporaryDir modern;
    CopyCatalogue(demoProgramDir, modern.path());
    MeasureSet(QStringLiteral("modern 745x1040"), modern.path(), QDir(modern.path()).filePath("GFX"), true);
}
