#include "bitmaps/uVDBBmpList.h"

#include "bitmaps/JpegDecoder.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <mutex>
#include <thread>

namespace {
// A decoded picture is one large block. By default glibc gives such a block back to the kernel
// when it is freed, and the next decoding then takes a page fault for every page it writes:
// measured, that tripled the time of a multi-card view. Freed pictures stay in the heap for the
// next ones instead; the cache's limit bounds what that keeps.
void KeepPictureMemory()
{
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    });
#endif
}
}  // namespace

TVDBBmpList::TVDBBmpList() : FDefaultImage(NeutralCardBack()) { KeepPictureMemory(); }

TVDBBmpList::~TVDBBmpList() = default;

void TVDBBmpList::SetMaxCount(int count)
{
    FMaxCount = std::max(1, count);
    while (int(FItems.size()) > FMaxCount) FItems.erase(FItems.begin() + OldestIndex());
}

void TVDBBmpList::LoadDefaultImage(const QString& fileName)
{
    FDefaultLoaded = false;
    if (QFileInfo(fileName).isFile()) {
        try {
            FDefaultImage = DecodeJpegFile(fileName);
            FDefaultLoaded = true;
            return;
        } catch (const EJpegError&) {
            // falls back to the neutral back below, without a word
        }
    }
    FDefaultImage = NeutralCardBack();
}

int TVDBBmpList::IndexOfKey(qint64 key) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Key == key) return int(i);
    return -1;
}

qint64 TVDBBmpList::NextStamp() const
{
    qint64 largest = 0;
    for (const auto& item : FItems) largest = std::max(largest, item->Stamp);
    return largest + 1;
}

int TVDBBmpList::OldestIndex() const
{
    int oldest = -1;
    for (int i = int(FItems.size()) - 1; i >= 0; --i)
        if (oldest < 0 || FItems[size_t(i)]->Stamp <= FItems[size_t(oldest)]->Stamp) oldest = i;
    return oldest;
}

qint64 TVDBBmpList::ImageBytes() const
{
    qint64 bytes = 0;
    for (const auto& item : FItems) bytes += item->Image.sizeInBytes();
    return bytes;
}

const QImage& TVDBBmpList::GetImage(const QString& fileName, qint64 cardId) { return GetImage(fileName, cardId, nullptr); }

const QImage& TVDBBmpList::GetImage(const QString& fileName, qint64 cardId, TDecodedPicture* decoded)
{
    const int hit = IndexOfKey(cardId);
    if (hit >= 0) {
        FLastFound = true;
        return FItems[size_t(hit)]->Image;
    }
    if (!QFileInfo(fileName).isFile()) {
        FLastFound = false;
        return FDefaultImage;
    }
    // Decoded before any entry is touched: a failure leaves the cache as it was.
    QImage image;
    if (decoded) {
        if (decoded->Error) std::rethrow_exception(decoded->Error);
        image = std::move(decoded->Image);
    } else {
        image = DecodeJpegFile(fileName);
    }
    TVDBBmp* entry = nullptr;
    if (int(FItems.size()) < FMaxCount) {
        FItems.push_back(std::make_unique<TVDBBmp>());
        entry = FItems.back().get();
        entry->Stamp = NextStamp();
    } else {
        entry = FItems[size_t(OldestIndex())].get();
        entry->Stamp = NextStamp();
    }
    entry->Key = cardId;
    entry->FileName = fileName;
    entry->Image = std::move(image);
    FLastFound = true;
    return entry->Image;
}

std::vector<int> TVDBBmpList::PlanLoads(const std::vector<std::pair<QString, qint64>>& lookups) const
{
    // GetImage played on keys and stamps alone.
    std::vector<qint64> keys, stamps;
    for (const auto& item : FItems) {
        keys.push_back(item->Key);
        stamps.push_back(item->Stamp);
    }
    std::vector<int> loads;
    for (size_t i = 0; i < lookups.size(); ++i) {
        const qint64 key = lookups[i].second;
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
        if (!QFileInfo(lookups[i].first).isFile()) continue;
        loads.push_back(int(i));
        const qint64 next = (stamps.empty() ? 0 : *std::max_element(stamps.begin(), stamps.end())) + 1;
        if (int(keys.size()) < FMaxCount) {
            keys.push_back(key);
            stamps.push_back(next);
        } else {
            size_t oldest = stamps.size() - 1;
            for (size_t k = stamps.size(); k-- > 0;)
                if (stamps[k] <= stamps[oldest]) oldest = k;
            keys[oldest] = key;
            stamps[oldest] = next;
        }
    }
    return loads;
}

std::vector<TDecodedPicture> DecodeJpegFiles(const std::vector<QString>& files, int threads)
{
    std::vector<TDecodedPicture> results(files.size());
    auto work = [&](size_t from, size_t step) {
        for (size_t i = from; i < files.size(); i += step) {
            try {
                results[i].Image = DecodeJpegFile(files[i]);
            } catch (...) {
                results[i].Error = std::current_exception();
            }
        }
    };
    const size_t n = size_t(std::clamp(threads, 1, int(std::max<size_t>(files.size(), 1))));
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < n; ++t) helpers.emplace_back(work, t, n);
    work(0, n);
    for (std::thread& h : helpers) h.join();
    return results;
}

QImage NeutralCardBack()
{
    const int w = 307, h = 432;
    QImage back(w, h, QImage::Format_RGB32);
    back.fill(QColor(52, 58, 72));
    QPainter p(&back);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, w, h);
    shade.setColorAt(0, QColor(78, 86, 104));
    shade.setColorAt(1, QColor(40, 44, 56));
    p.setPen(QPen(QColor(150, 156, 170), 3));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(10, 10, w - 20, h - 20), 14, 14);
    p.setPen(QPen(QColor(120, 126, 142), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(24, 24, w - 48, h - 48), 8, 8);
    QPainterPath diamond;
    diamond.moveTo(w / 2.0, h / 2.0 - 70);
    diamond.lineTo(w / 2.0 + 50, h / 2.0);
    diamond.lineTo(w / 2.0, h / 2.0 + 70);
    diamond.lineTo(w / 2.0 - 50, h / 2.0);
    diamond.closeSubpath();
    p.setPen(QPen(QColor(170, 176, 190), 3));
    p.setBrush(QColor(64, 70, 86));
    p.drawPath(diamond);
    p.end();
    return back;
}
