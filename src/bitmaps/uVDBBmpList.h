#pragma once
// The picture cache: decoded card pictures kept by card id, so that stepping back and forth in the
// card list does not decode the same files again. Entries are replaced in load order (first in,
// first out): a hit does not renew an entry. A card without a picture file gets the card back,
// and nothing is cached for it.
#include <QImage>
#include <QString>

#include <exception>
#include <memory>
#include <utility>
#include <vector>

// A picture decoded ahead of its lookup, on another thread: the image, or the error that the
// decoding raised (given to the caller at the lookup, where the sequential decoding would fail).
struct TDecodedPicture {
    QImage Image;
    std::exception_ptr Error;
};

// Decodes the files on up to `threads` threads; the results stand in the order of the files.
std::vector<TDecodedPicture> DecodeJpegFiles(const std::vector<QString>& files, int threads);

class TVDBBmp {
public:
    qint64 Key = -1;      // the card's L_ID
    QString FileName;     // the file the picture was loaded from
    QImage Image;         // the decoded picture
    qint64 Stamp = 0;     // load order: larger is newer
};

class TVDBBmpList {
public:
    TVDBBmpList();
    ~TVDBBmpList();
    TVDBBmpList(const TVDBBmpList&) = delete;
    TVDBBmpList& operator=(const TVDBBmpList&) = delete;

    // Most entries kept; 10 until set. A value below 1 keeps one entry: the picture handed out
    // must live somewhere. Lowering it drops the oldest entries beyond the new limit.
    int MaxCount() const { return FMaxCount; }
    void SetMaxCount(int count);

    // The card back. A missing or undecodable file gives the built-in neutral back, silently: a
    // decorative file must not keep the catalogue from opening.
    const QImage& DefaultImage() const { return FDefaultImage; }
    void LoadDefaultImage(const QString& fileName);
    // Whether the last LoadDefaultImage found a usable file.
    bool DefaultImageLoaded() const { return FDefaultLoaded; }

    // The picture of a card: from the cache, else decoded from the file and cached, else (no such
    // file) the card back. The image stays owned by the cache; a later GetImage may replace it, so
    // callers keep a copy (QImage copies are shared, not duplicated). A file that exists but
    // cannot be decoded throws EJpegError and leaves the cache as it was.
    const QImage& GetImage(const QString& fileName, qint64 cardId);
    // The same, with the picture decoded beforehand when this lookup loads a file (null: decode
    // here). The cache changes exactly as without it.
    const QImage& GetImage(const QString& fileName, qint64 cardId, TDecodedPicture* decoded);
    // Which of these lookups (file, card id), made in this order from the present state, would
    // load a file: their indexes. Nothing changes.
    std::vector<int> PlanLoads(const std::vector<std::pair<QString, qint64>>& lookups) const;
    // True when the last GetImage returned a card picture, false when it returned the card back.
    bool LastFound() const { return FLastFound; }

    int Count() const { return int(FItems.size()); }
    const TVDBBmp& Items(int index) const { return *FItems[size_t(index)]; }
    // Index of the entry of a card, -1 when none.
    int IndexOfKey(qint64 key) const;
    // 1 + the largest stamp (1 for an empty list).
    qint64 NextStamp() const;
    // Index of the smallest stamp, -1 for an empty list; among equal stamps the lowest index.
    int OldestIndex() const;
    // Bytes held by the decoded pictures (the card back not counted).
    qint64 ImageBytes() const;

private:
    std::vector<std::unique_ptr<TVDBBmp>> FItems;
    int FMaxCount = 10;
    QImage FDefaultImage;
    bool FDefaultLoaded = false;
    bool FLastFound = false;
};

// The neutral card back of the usual card size (307 x 432), drawn in code.
QImage NeutralCardBack();
