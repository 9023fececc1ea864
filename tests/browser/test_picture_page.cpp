// The picture page of the main window on a 50-card copy of the demo catalogue with real JPEG
// pictures in a temporary folder: the four modes, their rectangles, the walk over the card list,
// a broken picture in the middle of a view, the filter labels and the cache's creation.
#include "TestCatalogue.h"
#include "bitmaps/JpegFiles.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "bitmaps/Bitmaps.h"
#include "bitmaps/uVDBBmpList.h"
#include "browser/uPicturePage.h"
#include "browser/ufMain.h"
#include "storage/uAM.h"
#include "widgets/LComboBox.h"

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QSet>

#include <array>

namespace {

// Rows of the card list (sorted by card number) and what their pictures are.
const int CARDS = 50;
const int PEOPLE_WITH_PICTURE = 1;
const int PEOPLE_WITHOUT_PICTURE = 2;
const int PORTRAIT_WITHOUT_PICTURE = 3;
const int PEOPLE_WITH_PICTURE_2 = 5;

QColor RowColour(int row) { return QColor::fromHsv((row * 37) % 360, 200, 230); }

class PicturePageTest : public ::testing::Test {
protected:
    void SetUp() override { Prepare(); }
    void TearDown() override { Program.reset(); }

    void Prepare(int cacheSize = 20, const QByteArray& cardBack = QByteArray("write"))
    {
        {
            TConnection conn;
            conn.Open(Cat.DbPath());
            conn.ExecuteDirect("DELETE FROM TLAP WHERE L_ID NOT IN (SELECT L_ID FROM TLAP ORDER BY L_LAPSZAM LIMIT 50);"
                               "UPDATE TLAP SET L_LAPTIPUS = 'L002' WHERE L_LAPTIPUS = 'L011';"
                               "UPDATE TLAP SET L_KEPNEV = 'p' || L_LAPSZAM || '.jpg';");
        }
        Gfx = Cat.Dir.filePath("GFX");
        QDir().mkpath(Gfx);
        if (cardBack == "write") {
            EXPECT_TRUE(WriteJpeg(Gfx + "/hatlap.jpg", SolidCard(250, 350, QColor(90, 20, 20))));
        } else if (!cardBack.isEmpty()) {
            EXPECT_TRUE(WriteBytes(Gfx + "/hatlap.jpg", cardBack));
        }
        QFile ini(Cat.Dir.filePath("velkor.ini"));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[PATHS]\nGfxPath=%1\n[GFX]\nCacheSize=%2\n"
                                 "[cCols_ORDER]\nL_LAPSZAM=1\n[cCols_ORDERNUM]\nL_LAPSZAM=1\n")
                      .arg(Gfx)
                      .arg(cacheSize)
                      .toUtf8());
        ini.close();

        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(fMain->Connected());
        ASSERT_EQ(Cards().RecordCount(), CARDS);
        const QString people = QStringLiteral("UPDATE TLAP SET L_LAPTIPUS = 'L011' WHERE L_ID IN (%1, %2, %3)")
                                   .arg(IdAt(PEOPLE_WITH_PICTURE))
                                   .arg(IdAt(PEOPLE_WITHOUT_PICTURE))
                                   .arg(IdAt(PEOPLE_WITH_PICTURE_2));
        AM->ADOConnection.ExecuteDirect(people);
        AM->ReQuery();
        for (int r = 0; r < CARDS; ++r) {
            if (r == PEOPLE_WITHOUT_PICTURE || r == PORTRAIT_WITHOUT_PICTURE) continue;
            const bool people = r == PEOPLE_WITH_PICTURE || r == PEOPLE_WITH_PICTURE_2;
            // People cards are landscape cards kept sideways in an upright file: left half red,
            // right half blue.
            const QImage picture = people ? TwoColourCard(250, 350, Qt::red, Qt::blue) : SolidCard(250, 350, RowColour(r));
            EXPECT_TRUE(WriteJpeg(PictureOf(r), picture));
        }
        Cards().First();
    }

    TQuery& Cards() { return AM->qLapok; }
    TPicturePage* Page() { return fMain->ts3; }
    qint64 IdAt(int row) { return Cards().ValueInteger(row, Cards().FindField("L_ID")); }
    QString PictureOf(int row)
    {
        return Gfx + "/" + Cards().ValueText(row, Cards().FindField("L_KEPNEV"));
    }
    QRgb At(const QPoint& p) { return Page()->PagePicture().pixel(p); }
    const TPicturePage::TDrawnCard& Drawn(int i) { return Page()->DrawnCards().at(i); }
    // Every drawn card is the next card of the list, from the given row.
    void ExpectDrawnFrom(int row, int count)
    {
        ASSERT_EQ(Page()->DrawnCards().size(), count);
        for (int i = 0; i < count; ++i) EXPECT_EQ(Drawn(i).CardId, IdAt(row + i)) << i;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    QString Gfx;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(PicturePageTest, ThePageHasItsScrollBoxLabelsAndRightHandButtons)
{
    fMain->show();
    fMain->acTs3Execute();
    QCoreApplication::processEvents();
    TPicturePage* page = Page();
    EXPECT_EQ(fMain->pc->currentWidget(), static_cast<QWidget*>(page));
    EXPECT_EQ(page->Panel1->width(), 28);
    const QStringList hints = {"Egy-egy nézet", "Feles nézet", "Negyedes nézet", "Sorozat nézet"};
    for (int i = 0; i < 4; ++i) {
        auto* b = page->Panel1->findChild<QToolButton*>(QStringLiteral("sbPicMode%1").arg(i + 1));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->size(), QSize(24, 24));
        EXPECT_TRUE(b->autoRaise());
        EXPECT_EQ(b->defaultAction()->toolTip(), hints[i]);
        EXPECT_TRUE(b->isEnabled());
    }
    EXPECT_TRUE(page->sbInsLapFilter->isEnabled());  // a catalogue is open
    EXPECT_EQ(page->sbInsLapFilter->toolTip(), "Laphoz csatolt szűrés hozzáadása");
    EXPECT_GT(page->sbInsLapFilter->y(), page->Panel1->height() / 2);  // at the bottom
    EXPECT_EQ(page->im->geometry(), QRect(0, 0, 664, 480));
    EXPECT_EQ(page->sb->widget(), static_cast<QWidget*>(page->im));
    for (QLabel* l : {page->lLapSzures1, page->lLapSzures2, page->lLapSzures3}) {
        EXPECT_EQ(l->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(l->font().bold());
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_TRUE(l->alignment() & Qt::AlignRight);
    }
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(PicturePageTest, TheSingleViewDrawsThePortraitCardUnscaledAtTheTopCentre)
{
    Cards().SetRecNo(10);
    fMain->acTs3Execute();
    ASSERT_EQ(Page()->DrawnCards().size(), 1);
    EXPECT_EQ(Drawn(0).CardId, IdAt(10));
    EXPECT_EQ(Drawn(0).Rect, QRect((664 - 250) / 2, 0, 250, 350));
    EXPECT_TRUE(Near(At({332, 175}), RowColour(10).rgb()));
    // Moving the list redraws the single view for the new card.
    fMain->acNextExecute();
    EXPECT_EQ(Drawn(0).CardId, IdAt(11));
    EXPECT_TRUE(Near(At({332, 175}), RowColour(11).rgb()));
    // Leaving the page and coming back draws it again.
    fMain->acTs2Execute();
    Cards().SetRecNo(12);
    fMain->acTs3Execute();
    EXPECT_EQ(Drawn(0).CardId, IdAt(12));
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(PicturePageTest, TheSingleViewTurnsPeopleCardsAndTheirBackCounterClockwise)
{
    Cards().SetRecNo(PEOPLE_WITH_PICTURE);
    fMain->acTs3Execute();
    EXPECT_TRUE(Drawn(0).Turned);
    EXPECT_EQ(Page()->WorkBitmap().size(), QSize(350, 250));
    const QRect r((664 - 350) / 2, (480 - 250) / 2, 350, 250);
    EXPECT_EQ(Drawn(0).Rect, r);
    // Counter-clockwise: the scan's right half (blue) is now on top, its left (red) below.
    EXPECT_TRUE(Near(At(r.center() - QPoint(0, 60)), qRgb(0, 0, 255)));
    EXPECT_TRUE(Near(At(r.center() + QPoint(0, 60)), qRgb(255, 0, 0)));

    // Without a picture the card back is turned as well (250 x 350 on its side here).
    fMain->acNextExecute();
    ASSERT_EQ(Cards().RecNo(), PEOPLE_WITHOUT_PICTURE);
    EXPECT_TRUE(Drawn(0).Turned);
    EXPECT_FALSE(Drawn(0).Found);
    EXPECT_EQ(Page()->WorkBitmap().size(), QSize(350, 250));
    EXPECT_TRUE(Near(At({332, 240}), qRgb(90, 20, 20)));
    // A portrait card without picture: the back upright, and nothing cached for it.
    fMain->acNextExecute();
    EXPECT_FALSE(Drawn(0).Turned);
    EXPECT_EQ(Page()->WorkBitmap().size(), QSize(250, 350));
    EXPECT_EQ(Page()->BmpList()->IndexOfKey(IdAt(PORTRAIT_WITHOUT_PICTURE)), -1);
    EXPECT_NE(Page()->BmpList()->IndexOfKey(IdAt(PEOPLE_WITH_PICTURE)), -1);
}

TEST_F(PicturePageTest, TheHalfViewPlacesPortraitAndLandscapeCardsInTheirCells)
{
    fMain->acTs3Execute();
    fMain->acPicMode2->trigger();
    EXPECT_EQ(fMain->PictureMode, 1);
    EXPECT_EQ(Page()->im->size(), QSize(648, 1200));
    ExpectDrawnFrom(0, 10);
    const int offset = (648 - 480) / 2;
    // Cell 240, card 171: upright in the middle of its cell, across it when turned.
    EXPECT_EQ(Drawn(0).Rect, QRect(34 + offset, 0, 171, 240));
    EXPECT_TRUE(Drawn(PEOPLE_WITH_PICTURE).Turned);
    EXPECT_EQ(Drawn(PEOPLE_WITH_PICTURE).Rect, QRect(240 + offset, 34, 240, 171));
    // A people card without its picture shows the back upright.
    EXPECT_FALSE(Drawn(PEOPLE_WITHOUT_PICTURE).Turned);
    EXPECT_EQ(Drawn(PEOPLE_WITHOUT_PICTURE).Rect, QRect(34 + offset, 240, 171, 240));
    EXPECT_TRUE(Near(At(Drawn(4).Rect.center()), RowColour(4).rgb()));
    EXPECT_TRUE(Near(At(Drawn(PEOPLE_WITH_PICTURE).Rect.center() - QPoint(0, 50)), qRgb(0, 0, 255)));
    EXPECT_EQ(Cards().RecNo(), 0);
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(PicturePageTest, TheQuarterViewPlacesPortraitAndLandscapeCardsInTheirCells)
{
    fMain->acTs3Execute();
    fMain->acPicMode3->trigger();
    ExpectDrawnFrom(0, 40);
    const int offset = (648 - 480) / 2;
    EXPECT_EQ(Drawn(0).Rect, QRect(17 + offset, 0, 85, 120));
    // Index 5 is row 1, column 1.
    EXPECT_TRUE(Drawn(PEOPLE_WITH_PICTURE_2).Turned);
    EXPECT_EQ(Drawn(PEOPLE_WITH_PICTURE_2).Rect, QRect(120 + offset, 120 + 17, 120, 85));
    EXPECT_EQ(Drawn(39).Rect, QRect(3 * 120 + 17 + offset, 9 * 120, 85, 120));
    EXPECT_EQ(Cards().RecNo(), 0);
}

TEST_F(PicturePageTest, TheSeriesViewKeepsItsTopMarginAndTurnsLandscapeCards)
{
    fMain->acTs3Execute();
    fMain->acPicMode4->trigger();
    EXPECT_EQ(Page()->im->size(), QSize(4800, 460));
    ExpectDrawnFrom(0, 10);
    EXPECT_EQ(Drawn(0).Rect, QRect(62, 24, 307, 432));
    EXPECT_EQ(Drawn(PEOPLE_WITH_PICTURE).Rect, QRect(432, 86, 432, 307));
    EXPECT_EQ(Drawn(PEOPLE_WITHOUT_PICTURE).Rect, QRect(2 * 432 + 62, 24, 307, 432));
    // The 24 px margin above the upright cards is background.
    const QImage drawn = Page()->PagePicture();
    Page()->DrawPictureBackground();
    EXPECT_EQ(drawn.pixel(200, 10), Page()->PagePicture().pixel(200, 10));
    EXPECT_NE(drawn.pixel(200, 30), Page()->PagePicture().pixel(200, 30));
    EXPECT_EQ(Cards().RecNo(), 0);
}

TEST_F(PicturePageTest, TheMultiCardViewsDrawOnlyTheCardsLeftAndGoBackToTheCurrentOne)
{
    fMain->acTs3Execute();
    // Three cards left from the current one: three cells, the rest stays background.
    Cards().SetRecNo(CARDS - 3);
    fMain->acPicMode2->trigger();
    ExpectDrawnFrom(CARDS - 3, 3);
    EXPECT_EQ(Cards().RecNo(), CARDS - 3);
    const QImage drawn = Page()->PagePicture();
    Page()->DrawPictureBackground();
    const QImage background = Page()->PagePicture();
    const int offset = 84;
    EXPECT_EQ(drawn.copy(240 + offset, 240, 240, 240), background.copy(240 + offset, 240, 240, 240));  // cell 4
    EXPECT_NE(drawn.copy(240 + offset, 0, 240, 240), background.copy(240 + offset, 0, 240, 240));      // cell 2
    EXPECT_EQ(fMain->grQuery->currentIndex().row(), CARDS - 3);

    // Position 26 of 50 in the quarter view: the 25 cards to the end.
    Cards().SetRecNo(25);
    fMain->acPicMode3->trigger();
    ExpectDrawnFrom(25, 25);
    EXPECT_EQ(Cards().RecNo(), 25);

    // On the last card, after a step past the end: the series view draws that card.
    Cards().Last();
    fMain->acNextExecute();
    ASSERT_TRUE(Cards().Eof());
    fMain->acPicMode4->trigger();
    ExpectDrawnFrom(CARDS - 1, 1);
    EXPECT_EQ(Cards().RecNo(), CARDS - 1);
    EXPECT_FALSE(Cards().ControlsDisabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(PicturePageTest, TheSameModeAgainAndMovingInTheListDoNotRedrawAMultiCardView)
{
    fMain->acTs3Execute();
    fMain->acPicMode3->trigger();
    ExpectDrawnFrom(0, 40);
    fMain->acNextExecute();
    fMain->acNextExecute();
    ExpectDrawnFrom(0, 40);
    fMain->acPicMode3->trigger();
    ExpectDrawnFrom(0, 40);
    EXPECT_TRUE(fMain->acPicMode3->isChecked());
    // Another mode is a new snapshot from the current card.
    fMain->acPicMode2->trigger();
    ExpectDrawnFrom(2, 10);
    EXPECT_TRUE(fMain->acPicMode2->isChecked());
    EXPECT_FALSE(fMain->acPicMode3->isChecked());
    // The mode survives a page switch; back in mode 0 the single view follows the list again.
    fMain->acTs2Execute();
    fMain->acTs3Execute();
    EXPECT_EQ(fMain->PictureMode, 1);
    EXPECT_EQ(Page()->im->size(), QSize(648, 1200));
    fMain->acPicMode1->trigger();
    EXPECT_EQ(Page()->im->size(), QSize(664, 480));
    ExpectDrawnFrom(2, 1);
}

TEST_F(PicturePageTest, ABrokenPictureStopsTheViewReportsItsFileAndRestoresTheList)
{
    const int bad = 30;
    const QByteArray bytes = ReadBytes(PictureOf(bad));
    ASSERT_TRUE(WriteBytes(PictureOf(bad), bytes.left(bytes.size() / 2)));
    fMain->acTs3Execute();
    Cards().SetRecNo(25);
    fMain->acPicMode3->trigger();

    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    const TUiRecord report = Ui.Of(TUiKind::ErrorDialog).first();
    EXPECT_EQ(report.Title, "Belső alkalmazáshiba");
    EXPECT_TRUE(report.Text.contains(PictureOf(bad))) << report.Text.toStdString();
    ExpectDrawnFrom(25, bad - 25);
    EXPECT_EQ(Cards().RecNo(), 25);
    EXPECT_EQ(fMain->grQuery->currentIndex().row(), 25);
    EXPECT_FALSE(Cards().ControlsDisabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Page()->BmpList()->IndexOfKey(IdAt(bad)), -1);
    EXPECT_NE(Page()->BmpList()->IndexOfKey(IdAt(bad - 1)), -1);
    EXPECT_EQ(fMain->PictureMode, 2);
    // The cards drawn before it stay on the page.
    EXPECT_TRUE(Near(At(Drawn(4).Rect.center()), RowColour(29).rgb()));

    // The single view on it reports it too, and the program goes on with the next card.
    fMain->acPicMode1->trigger();
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    Cards().SetRecNo(bad);
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 2);
    EXPECT_EQ(Page()->BmpList()->IndexOfKey(IdAt(bad)), -1);
    fMain->acNextExecute();
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 2);
    ExpectDrawnFrom(bad + 1, 1);
}

TEST_F(PicturePageTest, TheFilterLabelsNameTheFirstThreeLinkedFiltersWhenTicked)
{
    // Four filters linked to the first card.
    const qint64 id = IdAt(0);
    AM->ADOConnection.ExecuteDirect(QStringLiteral("DELETE FROM TSZURESLAP; "
                                                   "INSERT INTO TSZURESLAP (SZL_FBID, SZL_LID) "
                                                   "SELECT FB_ID, %1 FROM TFILTERBASE ORDER BY FB_ID LIMIT 4")
                                        .arg(id));
    QStringList names;
    QList<qint64> ids;
    {
        TQuery q(&AM->ADOConnection);
        q.SetSQL("SELECT FB_ID, FB_NAME FROM TFILTERBASE ORDER BY FB_ID LIMIT 3");
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r) {
            ids << q.ValueInteger(r, 0);
            names << q.ValueText(r, 1);
        }
    }
    ASSERT_EQ(names.size(), 3);
    fMain->show();
    fMain->acTs3Execute();
    TPicturePage* page = Page();
    const std::array<TFilterLinkLabel*, 3> labels = {page->lLapSzures1, page->lLapSzures2, page->lLapSzures3};
    QSet<QString> shown;
    QSet<qint64> tags;
    for (TFilterLinkLabel* l : labels) {
        shown << l->toolTip();
        tags << l->Tag;
        EXPECT_TRUE(l->isVisible());
        // At the lower right of the visible area.
        EXPECT_LE(l->geometry().right(), page->sb->viewport()->width());
        EXPECT_GT(l->geometry().top(), page->sb->viewport()->height() / 2);
    }
    EXPECT_EQ(shown, QSet<QString>(names.begin(), names.end()));
    EXPECT_EQ(tags, QSet<qint64>(ids.begin(), ids.end()));
    EXPECT_LT(labels[0]->y(), labels[1]->y());
    EXPECT_LT(labels[1]->y(), labels[2]->y());
    EXPECT_FALSE(AM->qSzuresLap.Active());

    // Another card without links: empty labels.
    fMain->acNextExecute();
    for (TFilterLinkLabel* l : labels) {
        EXPECT_TRUE(l->text().isEmpty());
        EXPECT_EQ(l->Tag, -1);
    }
    // Unticked: the labels stay empty on the linked card too.
    fMain->acLapSzuresLink->setChecked(false);
    fMain->acPriorExecute();
    for (TFilterLinkLabel* l : labels) EXPECT_TRUE(l->text().isEmpty());
    // The multi-card views clear them.
    fMain->acLapSzuresLink->setChecked(true);
    fMain->acTs2Execute();
    fMain->acTs3Execute();
    EXPECT_FALSE(labels[0]->text().isEmpty());
    fMain->acPicMode2->trigger();
    for (TFilterLinkLabel* l : labels) EXPECT_TRUE(l->text().isEmpty());
}

TEST_F(PicturePageTest, DeckCardCommandsFollowThePictureMode)
{
    fMain->DeckOpen = true;  // the commands' condition, without a deck window
    fMain->acTs3Execute();
    fMain->UpdateDeckActions();
    EXPECT_TRUE(fMain->acAddCard->isEnabled());
    fMain->acPicMode2->trigger();
    EXPECT_FALSE(fMain->acAddCard->isEnabled());
    fMain->acPicMode1->trigger();
    EXPECT_TRUE(fMain->acAddCard->isEnabled());
    fMain->DeckOpen = false;
}

TEST_F(PicturePageTest, TheCacheTakesItsLimitFromTheSettingsAndTheCardBackFromThePictureFolder)
{
    EXPECT_EQ(Page()->BmpList()->MaxCount(), 20);
    EXPECT_TRUE(Page()->BmpList()->DefaultImageLoaded());
    EXPECT_EQ(Page()->BmpList()->DefaultImage().size(), QSize(250, 350));
    // The quarter view from a cold cache of 20 (its files decoded ahead on several threads) ends
    // with the cache a plain walk of the same 40 lookups leaves: keys, files, stamps, order.
    fMain->acTs3Execute();
    Page()->CreateCache(Gfx, 20);
    Cards().SetRecNo(2);
    fMain->acPicMode3->trigger();
    const TVDBBmpList& cache = *Page()->BmpList();
    TVDBBmpList plain;
    plain.SetMaxCount(20);
    for (int r = 2; r < 42; ++r) plain.GetImage(PictureOf(r), IdAt(r));
    ASSERT_EQ(cache.Count(), plain.Count());
    for (int i = 0; i < cache.Count(); ++i) {
        EXPECT_EQ(cache.Items(i).Key, plain.Items(i).Key) << i;
        EXPECT_EQ(cache.Items(i).FileName, plain.Items(i).FileName) << i;
        EXPECT_EQ(cache.Items(i).Stamp, plain.Items(i).Stamp) << i;
        EXPECT_EQ(cache.Items(i).Image, plain.Items(i).Image) << i;
    }
    EXPECT_EQ(cache.NextStamp(), 39);  // 38 loads: two of the rows have no picture file
    EXPECT_TRUE(Ui.Records().isEmpty());
}

// A missing card back would have ended the window's creation before the lookups, the filter combo
// and the card list were loaded. Now the neutral back stands in and nothing is reported.
class PicturePageCardBackTest : public PicturePageTest {
protected:
    void SetUp() override {}
};

TEST_F(PicturePageCardBackTest, AMissingCardBackLeavesTheCreationWholeAndSilent)
{
    Prepare(20, QByteArray());
    EXPECT_TRUE(Ui.Records().isEmpty());
    EXPECT_GT(fMain->cbLTipus->count(), 0);
    EXPECT_EQ(fMain->lDb->text(), "50 darab");
    EXPECT_FALSE(Page()->BmpList()->DefaultImageLoaded());
    EXPECT_EQ(Page()->BmpList()->DefaultImage(), NeutralCardBack());
    Cards().SetRecNo(PORTRAIT_WITHOUT_PICTURE);
    fMain->acTs3Execute();
    EXPECT_EQ(Page()->WorkBitmap().size(), QSize(307, 432));
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(PicturePageCardBackTest, ABrokenCardBackAndAZeroCacheSizeAreTakenInStride)
{
    Prepare(0, QByteArray("not a picture"));
    EXPECT_TRUE(Ui.Records().isEmpty());
    EXPECT_EQ(Cards().RecordCount(), CARDS);
    EXPECT_EQ(Page()->BmpList()->MaxCount(), 1);
    fMain->acTs3Execute();
    fMain->acPicMode2->trigger();
    ExpectDrawnFrom(0, 10);
    EXPECT_EQ(Page()->BmpList()->Count(), 1);
    EXPECT_TRUE(Ui.Records().isEmpty());
}
