#pragma once
// The picture page "Kép": the current card's picture alone, or the current card and those after it
// in the card list by two, by four or as a strip of ten. Pictures come through the picture cache;
// people cards, scanned in landscape, are turned a quarter counter-clockwise. Under the single
// picture three link labels name the filters linked to the card.
#include "app/ShellUtil.h"

#include <QImage>
#include <QLabel>
#include <QList>
#include <QRect>
#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QScrollArea;
class QToolButton;
class TVDBBmpList;

// The view modes, as the main window keeps them.
enum TPictureMode { pmSingle = 0, pmHalf = 1, pmQuarter = 2, pmSeries = 3 };

// `im`: shows the page picture at its own size, top-left in the scroll box.
class TPictureImage : public QWidget {
public:
    explicit TPictureImage(const QImage& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& FPicture;
};

// A filter link label: blue, bold, right-aligned; its tag is the linked filter's id (-1: none).
// What a click does belongs to the filter selection.
class TFilterLinkLabel : public TLinkLabel {
public:
    explicit TFilterLinkLabel(QWidget* parent = nullptr);
    qint64 Tag = -1;
};

class TPicturePage : public QWidget {
    Q_OBJECT
public:
    // The main window is fixed in size; its outer width in the layout's terms, borders included.
    static constexpr int FORM_WIDTH = 786;

    // pictureMode: the main window's view mode byte (0 single, 1 half, 2 quarter, 3 series).
    TPicturePage(int& pictureMode, QWidget* parent = nullptr);
    ~TPicturePage() override;

    // Puts the four mode actions on the right-hand buttons and runs SetPictureMode from them;
    // lapSzuresLink is the check item that decides whether the filter labels are filled.
    void BindActions(const std::array<QAction*, 4>& modeActions, QAction* lapSzuresLink);

    // The picture cache with its limit and card back; the picture folder is remembered.
    void CreateCache(const QString& gfxPath, int cacheSize);
    TVDBBmpList* BmpList() const { return FBmpList.get(); }
    // Picture folder + "/" + the card's L_KEPNEV, used unchanged.
    QString PictureFile(const QString& kepNev) const;

    void SetPictureMode(int mode);
    // The mode of an earlier run: taken at once, drawn when the page is next laid out for showing.
    void RestorePictureMode(int mode);
    int PictureMode() const { return FPictureMode; }
    void SetPictureLayout();
    void DrawPictureView();
    void DrawPictureBackground();
    void DrawSingleView();
    // Half (2 columns, at most 10 cards) and quarter (4 columns, at most 40 cards).
    void DrawCardGrid(int columns, int maxCards);
    void DrawCardStrip();

    // The page picture being composed; `im` shows it.
    const QImage& PagePicture() const { return FPagePicture; }
    // The working copy of the single view's picture (turned for a people card).
    const QImage& WorkBitmap() const { return FWorkBitmap; }

    // What the last drawing put on the page picture, card by card, in drawing order.
    struct TDrawnCard {
        qint64 CardId;
        QRect Rect;     // where the picture went on the page picture
        bool Turned;    // turned a quarter counter-clockwise
        bool Found;     // a card picture, not the card back
    };
    const QList<TDrawnCard>& DrawnCards() const { return FDrawn; }

    // Controls, by their design names.
    QScrollArea* sb = nullptr;
    TPictureImage* im = nullptr;
    TFilterLinkLabel* lLapSzures1 = nullptr;
    TFilterLinkLabel* lLapSzures2 = nullptr;
    TFilterLinkLabel* lLapSzures3 = nullptr;
    QWidget* Panel1 = nullptr;
    QToolButton* sbInsLapFilter = nullptr;

signals:
    // The mode changed: the main window re-evaluates its deck commands.
    void PictureModeChanged();
    // A filter label was clicked; the id of the linked filter.
    void LapSzuresClick(qint64 filterId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<TFilterLinkLabel*, 3> Labels() const { return {lLapSzures1, lLapSzures2, lLapSzures3}; }
    void ClearFilterLabels();
    void FillFilterLabels(qint64 cardId);
    void PlaceFilterLabels();
    void SyncModeActions();
    // The walk of the multi-card views: from the current card, at most maxCards, each handed to
    // draw with its index; the list, cursor and notifications are back as they were afterwards.
    template <typename TDraw> void WalkCards(int maxCards, TDraw draw);

    int& FPictureMode;
    bool FDrawWhenLaidOut = false;
    std::unique_ptr<TVDBBmpList> FBmpList;
    QString FGfxPath;
    QImage FPagePicture;
    QImage FWorkBitmap;
    QImage FTile;
    QList<TDrawnCard> FDrawn;
    std::array<QAction*, 4> FModeActions{};
    QAction* FLapSzuresLink = nullptr;
};
