#include "browser/uPicturePage.h"

#include "app/Guard.h"
#include "app/WidgetUtil.h"
#include "bitmaps/BitmapTurn.h"
#include "bitmaps/Bitmaps.h"
#include "bitmaps/uVDBBmpList.h"
#include "storage/uAM.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>

#include <utility>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const PEOPLE_TYPE = "L011";
const int TILE_WIDTH = 250;
const int TILE_HEIGHT = 152;
const int SINGLE_HEIGHT = 480;
const int GRID_HEIGHT = 1200;
const int STRIP_WIDTH = 4800;
const int STRIP_HEIGHT = 460;

// The card list's notifications held back for a scope, resumed however it is left.
struct TControlsSuspended {
    explicit TControlsSuspended(TQuery& q) : Q(q) { Q.DisableControls(); }
    ~TControlsSuspended() { Q.EnableControls(); }
    TQuery& Q;
};

// Goes back to the remembered row however the scope is left.
struct TBackToBookmark {
    TBackToBookmark(TQuery& q, TQuery::TBookmark b) : Q(q), B(b) {}
    ~TBackToBookmark() { Q.GotoBookmark(B); }
    TQuery& Q;
    TQuery::TBookmark B;
};

// Shows whatever the page picture holds when the scope ends, a drawing stopped by an error too.
struct TRepaintOnExit {
    QWidget* W;
    ~TRepaintOnExit() { W->update(); }
};

bool HasCurrentCard() { return AM && AM->qLapok.Active() && !AM->qLapok.IsEmpty(); }

// Small drawn pictures for the right-hand buttons: one card, two, four, a strip.
QIcon ModeIcon(int mode)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QColor(40, 50, 90));
    p.setBrush(QColor(120, 150, 215));
    switch (mode) {
    case pmSingle: p.drawRect(4, 1, 8, 13); break;
    case pmHalf:
        p.drawRect(1, 2, 6, 11);
        p.drawRect(9, 2, 6, 11);
        break;
    case pmQuarter:
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) p.drawRect(2 + c * 7, 1 + r * 7, 5, 6);
        break;
    default:
        for (int c = 0; c < 4; ++c) p.drawRect(c * 4, 4, 3, 7);
        break;
    }
    p.end();
    return QIcon(QPixmap::fromImage(img));
}

QIcon LinkFilterIcon()
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(40, 50, 90));
    p.setBrush(QColor(230, 200, 90));
    const QPointF funnel[] = {{1, 2}, {12, 2}, {8, 8}, {8, 13}, {5, 14}, {5, 8}};
    p.drawPolygon(funnel, 6);
    p.setPen(QPen(QColor(20, 120, 30), 2));
    p.drawLine(QPointF(12.5, 9), QPointF(12.5, 15));
    p.drawLine(QPointF(9.5, 12), QPointF(15.5, 12));
    p.end();
    return QIcon(QPixmap::fromImage(img));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TPictureImage::TPictureImage(const QImage& picture, QWidget* parent) : QWidget(parent), FPicture(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPictureImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (FPicture.isNull()) p.fillRect(rect(), palette().color(QPalette::Button));
    else p.drawImage(0, 0, FPicture);
}

TFilterLinkLabel::TFilterLinkLabel(QWidget* parent) : TLinkLabel(QString(), parent)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    setPalette(pal);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// ---------------------------------------------------------------------------------------------

TPicturePage::TPicturePage(int& pictureMode, QWidget* parent)
    : QWidget(parent), FPictureMode(pictureMode), FTile(BuiltinBitmap(QStringLiteral("BACK_02")))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    sb = new QScrollArea(this);
    sb->setObjectName("sb");
    sb->setAccessibleName(QStringLiteral("Lapkép"));
    sb->setWidgetResizable(false);
    sb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    im = new TPictureImage(FPagePicture);
    im->setObjectName("im");
    im->setAccessibleName(QStringLiteral("Lapkép"));
    sb->setWidget(im);
    row->addWidget(sb, 1);

    int n = 0;
    for (TFilterLinkLabel** label : {&lLapSzures1, &lLapSzures2, &lLapSzures3}) {
        *label = new TFilterLinkLabel(sb->viewport());
        (*label)->setObjectName(QStringLiteral("lLapSzures%1").arg(++n));
        (*label)->hide();
        TFilterLinkLabel* self = *label;
        GuardedConnect(self, &TLinkLabel::clicked, this, [this, self] {
            if (self->Tag >= 0) emit LapSzuresClick(self->Tag);
        });
    }
    sb->viewport()->installEventFilter(this);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedWidth(28);
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(Panel1);
        b->setObjectName(QStringLiteral("sbPicMode%1").arg(i + 1));
        b->setAutoRaise(true);
        b->setFixedSize(24, 24);
        b->setIconSize(QSize(16, 16));
        b->setIcon(ModeIcon(i));
        column->addWidget(b);
    }
    column->addStretch(1);
    sbInsLapFilter = new QToolButton(Panel1);
    sbInsLapFilter->setObjectName("sbInsLapFilter");
    sbInsLapFilter->setAutoRaise(true);
    sbInsLapFilter->setFixedSize(24, 24);
    sbInsLapFilter->setIcon(LinkFilterIcon());
    sbInsLapFilter->setToolTip(QStringLiteral("Laphoz csatolt szűrés hozzáadása"));
    sbInsLapFilter->setAccessibleName(sbInsLapFilter->toolTip());
    // The main window enables it once a catalogue is open.
    sbInsLapFilter->setEnabled(false);
    column->addWidget(sbInsLapFilter);
    row->addWidget(Panel1);
}

TPicturePage::~TPicturePage() = default;

void TPicturePage::BindActions(const std::array<QAction*, 4>& modeActions, QAction* lapSzuresLink)
{
    FModeActions = modeActions;
    FLapSzuresLink = lapSzuresLink;
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < 4; ++i) {
        QAction* a = modeActions[size_t(i)];
        a->setCheckable(true);
        a->setIcon(ModeIcon(i));
        group->addAction(a);
        if (auto* b = Panel1->findChild<QToolButton*>(QStringLiteral("sbPicMode%1").arg(i + 1))) b->setDefaultAction(a);
        GuardedConnect(a, &QAction::triggered, this, [this, i] { SetPictureMode(i); });
    }
    SyncModeActions();
}

void TPicturePage::CreateCache(const QString& gfxPath, int cacheSize)
{
    FGfxPath = gfxPath;
    FBmpList = std::make_unique<TVDBBmpList>();
    FBmpList->SetMaxCount(cacheSize);
    FBmpList->LoadDefaultImage(PictureFile(QStringLiteral("hatlap.jpg")));
    FPagePicture = QImage();
    FWorkBitmap = QImage();
}

QString TPicturePage::PictureFile(const QString& kepNev) const { return FGfxPath + QLatin1Char('/') + kepNev; }

void TPicturePage::SyncModeActions()
{
    for (int i = 0; i < 4; ++i)
        if (QAction* a = FModeActions[size_t(i)]) a->setChecked(i == FPictureMode);
}

void TPicturePage::SetPictureMode(int mode)
{
    if (mode == FPictureMode || mode < pmSingle || mode > pmSeries) {
        SyncModeActions();
        return;
    }
    FPictureMode = mode;
    FDrawWhenLaidOut = false;
    SyncModeActions();
    // The deck commands follow the mode even when the drawing stops at a bad picture.
    struct TNotify {
        TPicturePage* Page;
        ~TNotify() { emit Page->PictureModeChanged(); }
    } notify{this};
    SetPictureLayout();
    DrawPictureView();
}

void TPicturePage::RestorePictureMode(int mode)
{
    if (mode < pmSingle || mode > pmSeries) return;
    FPictureMode = mode;
    SyncModeActions();
    // The single card is drawn whenever the current card changes; the others only on demand.
    FDrawWhenLaidOut = mode != pmSingle;
}

void TPicturePage::SetPictureLayout()
{
    ClearFilterLabels();
    SyncModeActions();
    switch (FPictureMode) {
    case pmSingle:
        im->setGeometry(0, 0, FORM_WIDTH - 122, SINGLE_HEIGHT);
        DrawPictureBackground();
        break;
    case pmHalf:
    case pmQuarter:
        im->setGeometry(0, 0, FORM_WIDTH - 138, GRID_HEIGHT);
        sb->horizontalScrollBar()->setValue(0);
        sb->verticalScrollBar()->setValue(0);
        break;
    default:
        // The scroll positions stay as they are (within the new ranges).
        im->resize(STRIP_WIDTH, STRIP_HEIGHT);
        break;
    }
    PlaceFilterLabels();
    if (std::exchange(FDrawWhenLaidOut, false)) DrawPictureView();
}

void TPicturePage::DrawPictureView()
{
    switch (FPictureMode) {
    case pmSingle: DrawSingleView(); break;
    case pmHalf: DrawCardGrid(2, 10); break;
    case pmQuarter: DrawCardGrid(4, 40); break;
    default: DrawCardStrip(); break;
    }
}

void TPicturePage::DrawPictureBackground()
{
    const QSize size = im->size();
    if (FPagePicture.size() != size) FPagePicture = QImage(size, QImage::Format_RGB32);
    if (FPagePicture.isNull()) return;
    FPagePicture.fill(palette().color(QPalette::Button));
    QPainter p(&FPagePicture);
    for (int y = 0; y <= size.height() / TILE_HEIGHT; ++y)
        for (int x = 0; x <= size.width() / TILE_WIDTH; ++x) p.drawImage(x * TILE_WIDTH, y * TILE_HEIGHT, FTile);
    p.end();
    im->update();
}

void TPicturePage::DrawSingleView()
{
    const TRepaintOnExit repaint{im};
    FDrawn.clear();
    im->setAccessibleDescription(QString());
    DrawPictureBackground();
    // Labels of the card shown before never stay beside another card's picture.
    ClearFilterLabels();
    if (!HasCurrentCard() || !FBmpList || FPagePicture.isNull()) return;
    TQuery& q = AM->qLapok;
    // The picture says nothing to a screen reader: the card's name does.
    im->setAccessibleDescription(q.FieldByName("L_NEV").AsString());
    const qint64 id = q.FieldByName("L_ID").AsLargeInt();
    const bool people = q.FieldByName("L_LAPTIPUS").AsString() == QLatin1String(PEOPLE_TYPE);
    FWorkBitmap = FBmpList->GetImage(PictureFile(q.FieldByName("L_KEPNEV").AsString()), id);
    const bool found = FBmpList->LastFound();
    if (FWorkBitmap.format() != QImage::Format_RGB32) FWorkBitmap = FWorkBitmap.convertToFormat(QImage::Format_RGB32);
    const int w = FPagePicture.width();
    const int h = FPagePicture.height();
    QPoint at;
    if (!people) {
        at = QPoint((w - FWorkBitmap.width()) / 2, 0);
    } else {
        RotateBitmap270(FWorkBitmap);  // a quarter turn counter-clockwise, the back too
        at = QPoint((w - FWorkBitmap.width()) / 2, (h - FWorkBitmap.height()) / 2);
    }
    QPainter p(&FPagePicture);
    p.drawImage(at, FWorkBitmap);
    p.end();
    FDrawn.append(TDrawnCard{id, QRect(at, FWorkBitmap.size()), people, found});
    if (FLapSzuresLink && FLapSzuresLink->isChecked()) FillFilterLabels(id);
}

template <typename TDraw> void TPicturePage::WalkCards(int maxCards, TDraw draw)
{
    const TRepaintOnExit repaint{im};
    FDrawn.clear();
    im->setAccessibleDescription(QString());
    if (!HasCurrentCard() || !FBmpList) {
        DrawPictureBackground();
        return;
    }
    TQuery& q = AM->qLapok;
    // Left in this order: back to the card, the cursor, then the notifications, once.
    const TControlsSuspended suspended(q);
    const TWaitCursor wait;
    const TBackToBookmark back(q, q.GetBookmark());
    DrawPictureBackground();
    if (FPagePicture.isNull()) return;
    // Standing on the remembered row clears an end-of-list mark left by an earlier step past the
    // last card, so the walk always starts with the current card.
    q.GotoBookmark(back.B);
    QPainter p(&FPagePicture);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int idCol = q.FindField("L_ID"), typeCol = q.FindField("L_LAPTIPUS"), nameCol = q.FindField("L_KEPNEV");
    const int cardNameCol = q.FindField("L_NEV");
    QStringList shown;
    // The files this walk will load are decoded a few cards ahead on several threads; the cache
    // itself changes card by card as in a plain walk, so it ends in the same state.
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    const int window = threads > 1 ? 2 * threads : 0;
    std::vector<TDecodedPicture> ahead;
    std::vector<int> aheadOf;  // for card i - windowStart: its index in ahead, or -1
    int windowStart = 0;
    for (int i = 0; i < maxCards && !q.Eof(); ++i) {
        const int row = q.RecNo();
        if (window > 0 && i % window == 0) {
            windowStart = i;
            std::vector<std::pair<QString, qint64>> lookups;
            for (int k = 0; k < window && i + k < maxCards && row + k < q.RecordCount(); ++k)
                lookups.emplace_back(PictureFile(q.ValueText(row + k, nameCol)), q.ValueInteger(row + k, idCol));
            const std::vector<int> loads = FBmpList->PlanLoads(lookups);
            std::vector<QString> files;
            aheadOf.assign(lookups.size(), -1);
            for (int k : loads) {
                aheadOf[size_t(k)] = int(files.size());
                files.push_back(lookups[size_t(k)].first);
            }
            ahead = DecodeJpegFiles(files, threads);
        }
        const qint64 id = q.ValueInteger(row, idCol);
        const bool landscape = q.ValueText(row, typeCol) == QLatin1String(PEOPLE_TYPE);
        const int slot = window > 0 ? aheadOf[size_t(i - windowStart)] : -1;
        QImage bitmap = FBmpList->GetImage(PictureFile(q.ValueText(row, nameCol)), id,
                                           slot >= 0 ? &ahead[size_t(slot)] : nullptr);
        const bool found = FBmpList->LastFound();
        const bool turned = landscape && found;
        const QRect rect = draw(i, turned);
        if (turned) RotateBitmap270(bitmap);
        p.drawImage(rect, bitmap);
        FDrawn.append(TDrawnCard{id, rect, turned, found});
        if (cardNameCol >= 0) shown << q.ValueText(row, cardNameCol);
        q.Next();
    }
    im->setAccessibleDescription(shown.join(QStringLiteral(", ")));
}

void TPicturePage::DrawCardGrid(int columns, int maxCards)
{
    const int cell = 480 / columns;
    const int cardW = 342 / columns;
    const int offset = (im->width() - 480) / 2;
    WalkCards(maxCards, [&](int i, bool turned) {
        const int row = i / columns;
        const int col = i % columns;
        // A people card with its picture lies across the full cell width; the rest stand upright.
        const QRect r = turned ? QRect(col * cell, row * cell + (cell - cardW) / 2, cell, cardW)
                               : QRect(col * cell + (cell - cardW) / 2, row * cell, cardW, cell);
        return r.translated(offset, 0);
    });
}

void TPicturePage::DrawCardStrip()
{
    WalkCards(10, [](int i, bool turned) {
        // A 432 px pitch; an upright card 307 x 432 under a 24 px margin, a turned one 432 x 307.
        return turned ? QRect(432 * i, 86, 432, 307) : QRect(432 * i + 62, 24, 307, 432);
    });
}

// ---------------------------------------------------------------------------------------------
// The filter labels

void TPicturePage::ClearFilterLabels()
{
    for (TFilterLinkLabel* l : Labels()) {
        l->clear();
        l->setToolTip(QString());
        l->Tag = -1;
        l->hide();
    }
}

void TPicturePage::FillFilterLabels(qint64 cardId)
{
    ClearFilterLabels();
    TQuery& q = AM->qSzuresLap;
    q.Close();
    q.SetParam("PLID", cardId);
    q.Open();
    struct TCloseAfter {
        TQuery& Q;
        ~TCloseAfter() { Q.Close(); }
    } close{q};
    const std::array<TFilterLinkLabel*, 3> labels = Labels();
    for (int r = 0; r < q.RecordCount() && r < 3; ++r) {
        TFilterLinkLabel* l = labels[size_t(r)];
        const QString name = q.ValueText(r, q.FindField("FB_NAME"));
        l->setText(name);
        l->setToolTip(name);
        l->Tag = q.ValueInteger(r, q.FindField("SZL_FBID"));
        l->show();
    }
    PlaceFilterLabels();
}

void TPicturePage::PlaceFilterLabels()
{
    // One below the other at the lower right of the visible area; a long name is cut with an
    // ellipsis to the visible width and shows whole as the tooltip.
    const QWidget* view = sb->viewport();
    const int margin = 8;
    const int lineH = lLapSzures1->fontMetrics().height() + 2;
    const int maxW = std::max(40, view->width() - 2 * margin);
    const std::array<TFilterLinkLabel*, 3> labels = Labels();
    for (int i = 0; i < 3; ++i) {
        TFilterLinkLabel* l = labels[size_t(i)];
        const QString whole = l->toolTip();
        const QString shown = l->fontMetrics().elidedText(whole, Qt::ElideRight, maxW);
        if (l->text() != shown) l->setText(shown);
        const int w = std::min(maxW, l->fontMetrics().horizontalAdvance(shown) + 4);
        const int top = view->height() - margin - (3 - i) * lineH;
        l->setGeometry(view->width() - margin - w, top, w, lineH);
        l->raise();
    }
}

bool TPicturePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sb->viewport() && event->type() == QEvent::Resize) PlaceFilterLabels();
    return QWidget::eventFilter(watched, event);
}
