// The statistics page: the drawing on a page of its own from decks made here (positions, texts,
// totals, icons and the picture's size), the number formats, and the page inside the deck frame on
// a demo deck (the trigger, the check box, the stale mark).
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "bitmaps/Bitmaps.h"
#include "decks/uDeckGroups.h"
#include "decks/uDeckHost.h"
#include "decks/uDeckSummary.h"
#include "decks/ufmPakli.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

TDeckRow Card(qint64 id, int group, int db = 1, int hp = 0, const QString& summoning = QString(), int level = 0)
{
    TDeckRow r;
    r.L_ID = id;
    r.L_LAPSZAM = QStringLiteral("%1").arg(id, 3, 10, QLatin1Char('0'));
    r.L_NEV = QStringLiteral("Lap %1").arg(id);
    r.TECHSORREND = group;
    r.DB = db;
    r.HP = hp;
    r.L_IDEZES = summoning;
    r.L_SZINT = level;
    return r;
}

struct TLabelAt {
    QString Text;
    QRect Geometry;
};

class SummaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Previous = QLocale();
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        const char* names[] = {"IKON_V", "IKON_M", "IKON_H", "IKON_I", "IKON_B"};
        for (size_t i = 0; i < Icons.size(); ++i) Icons[i] = BuiltinTransparentBitmap(QString::fromLatin1(names[i]));
        Page.resize(700, 400);
        Summary = new TDeckSummary(&Page, Icons);
    }
    void TearDown() override { QLocale::setDefault(Previous); }

    void Draw(std::vector<TDeckRow> rows, bool detailed)
    {
        Table.Load(std::move(rows));
        Summary->cbReszl->setChecked(detailed);
        Summary->DrawSummary(Table);
    }
    QWidget* Content() { return Summary->sbOssz->widget(); }
    // The labels of one kind, top to bottom.
    std::vector<TLabelAt> Labels(const char* kind)
    {
        std::vector<TLabelAt> out;
        for (QLabel* l : Content()->findChildren<QLabel*>(QString::fromLatin1(kind)))
            out.push_back({l->text(), l->geometry()});
        std::sort(out.begin(), out.end(), [](const TLabelAt& a, const TLabelAt& b) {
            return a.Geometry.top() < b.Geometry.top();
        });
        return out;
    }
    QList<QFrame*> Rules() { return Content()->findChildren<QFrame*>("GroupRule"); }
    const QImage& Picture() { return Summary->imOssz->Picture(); }
    // Whether the picture holds exactly the icon at (x, y).
    bool IconAt(int icon, int x, int y)
    {
        const QImage& icn = Icons[size_t(icon)];
        if (x + icn.width() > Picture().width() || y + icn.height() > Picture().height()) return false;
        return Picture().copy(x, y, icn.width(), icn.height()).convertToFormat(QImage::Format_ARGB32) ==
               icn.convertToFormat(QImage::Format_ARGB32);
    }
    bool AnythingIn(const QRect& r)
    {
        for (int y = r.top(); y <= r.bottom() && y < Picture().height(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qAlpha(Picture().pixel(x, y)) != 0) return true;
        return false;
    }

    QLocale Previous;
    std::array<QImage, 5> Icons;
    QWidget Page;
    TDeckSummary* Summary = nullptr;
    TDeckTable Table;
};

}  // namespace

TEST(DeckGroups, OneTableNamesEveryGroup)
{
    EXPECT_EQ(DeckGroupName(0), "");
    EXPECT_EQ(DeckGroupName(1), "Vezérek");
    EXPECT_EQ(DeckGroupName(3), "Tárgyak, ereklyék és fegyverzetek");
    EXPECT_EQ(DeckGroupName(6), "Intrikák és manőverek");
    EXPECT_EQ(DeckGroupName(7), "");
    EXPECT_EQ(DeckGroupName(-1), "");
    for (QStringView name : DeckGroupNames) EXPECT_LE(name.size(), 40);
}

TEST(DeckSummaryFormat, RoundsHalfAwayFromZeroInTheLocalesSeparators)
{
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    const QString sep = hu.groupSeparator();
    struct {
        qint64 num, den;
        QString one, whole;
    } cases[] = {
        {5, 3, "1,7", "2"},
        {1, 4, "0,3", "0"},    // 0.25: half goes up, not to even
        {3, 1, "3", "3"},      // no trailing zero
        {1, 20, "0,1", "0"},   // 0.05 is not exactly representable as a double; here it still rounds up
        {25, 2, "12,5", "13"}, // 12.5: half away from zero
        {-1, 4, "-0,3", "-0"},
        {123456789, 10, "12" + sep + "345" + sep + "678,9", "12" + sep + "345" + sep + "679"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatOneDecimal(c.num, c.den, hu), c.one) << c.num << "/" << c.den;
        if (c.num >= 0) {
            EXPECT_EQ(FormatWhole(c.num, c.den, hu), c.whole) << c.num << "/" << c.den;
        }
    }
    EXPECT_EQ(FormatWhole(300, 12, hu), "25");
    EXPECT_EQ(FormatOneDecimal(5, 3, QLocale::c()), "1.7");
}

TEST(DeckSummaryIcons, LettersInEitherCase)
{
    EXPECT_EQ(IconForLetter(u'V'), 0);
    EXPECT_EQ(IconForLetter(u'm'), 1);
    EXPECT_EQ(IconForLetter(u'h'), 2);
    EXPECT_EQ(IconForLetter(u'I'), 3);
    EXPECT_EQ(IconForLetter(u'b'), 4);
    EXPECT_EQ(IconForLetter(u'K'), -1);
    EXPECT_EQ(IconForLetter(u'1'), -1);
}

TEST_F(SummaryTest, AnEmptyDeckDrawsOnlyAnEmptyPicture)
{
    Draw({}, true);
    EXPECT_EQ(Picture().height(), 50);
    EXPECT_EQ(Picture().width(), 641);
    EXPECT_EQ(Summary->imOssz->size(), QSize(641, 50));
    EXPECT_EQ(Summary->VertRange(), 58);
    EXPECT_TRUE(Content()->findChildren<QLabel*>().isEmpty());
    EXPECT_TRUE(Rules().isEmpty());
    EXPECT_FALSE(AnythingIn(Picture().rect()));
}

TEST_F(SummaryTest, OneGroupHasOneHeaderWithItsRuleAndALinePerCard)
{
    Draw({Card(1, 1, 1), Card(2, 1, 3), Card(3, 1, 2)}, false);
    const auto headers = Labels("GroupHeader");
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].Text, "Vezérek");
    EXPECT_EQ(headers[0].Geometry.topLeft(), QPoint(10, 8));
    QLabel* header = Content()->findChild<QLabel*>("GroupHeader");
    EXPECT_TRUE(header->font().bold());
    EXPECT_EQ(header->font().pointSize(), 9);
    EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(0, 0, 128));

    ASSERT_EQ(Rules().size(), 1);
    const QRect rule = Rules()[0]->geometry();
    EXPECT_EQ(rule.top(), 16);
    EXPECT_EQ(rule.left(), headers[0].Geometry.x() + headers[0].Geometry.width() + 8);
    EXPECT_EQ(rule.x() + rule.width(), 560);

    const auto cards = Labels("CardLine");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].Text, "(001) Lap 1");
    EXPECT_EQ(cards[1].Text, "(002) Lap 2 (3)");
    EXPECT_EQ(cards[2].Text, "(003) Lap 3 (2)");
    for (size_t i = 0; i < cards.size(); ++i) EXPECT_EQ(cards[i].Geometry.topLeft(), QPoint(36, 28 + 20 * int(i)));
    EXPECT_TRUE(Labels("GroupTotal").empty());  // short form
    EXPECT_EQ(Summary->VertRange(), 8 + 4 * 20 + 50);
    EXPECT_FALSE(AnythingIn(Picture().rect()));

    // Detailed: the totals come after the last row.
    Draw(Table.Rows(), true);
    const auto totals = Labels("GroupTotal");
    ASSERT_EQ(totals.size(), 1u);
    EXPECT_EQ(totals[0].Text, "3 darab (100%)");
}

TEST_F(SummaryTest, GroupTotalsStackUnderTheRuleRightAligned)
{
    // Three cards of one group: levels 2, 3, 0 and power points 1, 0, 2 in a deck of 12 rows; the card
    // with 3 copies counts once.
    std::vector<TDeckRow> rows = {Card(1, 1, 3, 1, "V", 2), Card(2, 1, 1, 0, "M", 3), Card(3, 1, 1, 2)};
    for (int i = 0; i < 9; ++i) rows.push_back(Card(10 + i, 2));
    Draw(rows, true);
    const auto totals = Labels("GroupTotal");
    ASSERT_EQ(totals.size(), 4u);
    const int T = 16;  // the first group's rule
    EXPECT_EQ(totals[0].Text, "3 Hatalom-pont");
    EXPECT_EQ(totals[0].Geometry.top(), T + 8);
    EXPECT_EQ(totals[1].Text, "5 össz-szint, 1,7 átlagszint");
    EXPECT_EQ(totals[1].Geometry.top(), T + 24);
    EXPECT_EQ(totals[2].Text, "3 darab (25%)");
    EXPECT_EQ(totals[2].Geometry.top(), T + 40);
    // The second group (its header after 3 card lines) has no points and no levels: only the count.
    const int T2 = 8 + 4 * 20 + 8;
    EXPECT_EQ(totals[3].Text, "9 darab (75%)");
    EXPECT_EQ(totals[3].Geometry.top(), T2 + 8);
    for (const TLabelAt& l : totals) EXPECT_EQ(l.Geometry.x() + l.Geometry.width(), 560) << l.Text.toStdString();
    for (QLabel* l : Content()->findChildren<QLabel*>("GroupTotal")) {
        EXPECT_FALSE(l->font().bold());
        EXPECT_EQ(l->font().pointSize(), 9);
    }
}

TEST_F(SummaryTest, RowsOfGroupZeroAddToTheFirstGroupAfterThem)
{
    Draw({Card(1, 0, 1, 2, "", 4), Card(2, 0), Card(3, 2, 1, 1, "", 2)}, true);
    const auto headers = Labels("GroupHeader");
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].Text, "Hadak és szörnyetegek");
    EXPECT_EQ(headers[0].Geometry.top(), 48);  // after the two lines of group 0, which have no header
    const auto cards = Labels("CardLine");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].Geometry.top(), 8);
    QStringList totals;
    for (const TLabelAt& l : Labels("GroupTotal")) totals << l.Text;
    EXPECT_EQ(totals, QStringList({"3 Hatalom-pont", "6 össz-szint, 2 átlagszint", "3 darab (100%)"}));
}

TEST_F(SummaryTest, SummoningIconsAndTheLevel)
{
    Draw({Card(1, 1, 1, 0, "VVM", 3), Card(2, 1, 1, 0, "vxh", 0)}, true);
    const int y1 = 28, y2 = 48;
    EXPECT_TRUE(IconAt(0, 218, y1));
    EXPECT_TRUE(IconAt(0, 236, y1));
    EXPECT_TRUE(IconAt(1, 254, y1));
    EXPECT_TRUE(AnythingIn(QRect(200, y1, 18, 20)));  // the level 3
    // Lower case letters have icons too; a letter without one keeps its place empty.
    EXPECT_TRUE(IconAt(0, 218, y2));
    EXPECT_FALSE(AnythingIn(QRect(236, y2, 18, 18)));
    EXPECT_TRUE(IconAt(2, 254, y2));
    EXPECT_FALSE(AnythingIn(QRect(200, y2, 18, 20)));  // level 0: no number
    EXPECT_FALSE(AnythingIn(QRect(272, y1, 641 - 272, 40)));

    // The short form paints nothing.
    Draw(Table.Rows(), false);
    EXPECT_FALSE(AnythingIn(Picture().rect()));
}

TEST_F(SummaryTest, ThePictureHoldsTheLastLineWhateverTheGroupCount)
{
    // Six groups of one card each: 12 lines, more than rows x 24 + 50 pixels allow.
    std::vector<TDeckRow> rows;
    for (int g = 1; g <= 6; ++g) rows.push_back(Card(g, g, 1, 0, "VMHIB", 2));
    Draw(rows, true);
    const int lastLine = 8 + 11 * 20;
    EXPECT_GE(Picture().height(), lastLine + 18);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(IconAt(i, 218 + 18 * i, lastLine)) << i;
    EXPECT_EQ(Summary->VertRange(), 8 + 12 * 20 + 50);
    EXPECT_EQ(Labels("GroupHeader").size(), 6u);
    EXPECT_EQ(Labels("GroupTotal").size(), 12u);  // levels and counts; no power points
}

TEST_F(SummaryTest, EachDrawingReplacesThePreviousOne)
{
    Draw({Card(1, 1, 1, 1, "V", 2), Card(2, 3, 2, 0, "M", 1)}, true);
    EXPECT_EQ(Labels("GroupTotal").size(), 3u + 2u);
    Table.SetRecNo(1);
    Summary->cbReszl->setChecked(false);
    Summary->DrawSummary(Table);
    EXPECT_TRUE(Labels("GroupTotal").empty());
    EXPECT_EQ(Labels("GroupHeader").size(), 2u);
    EXPECT_EQ(Labels("CardLine").size(), 2u);
    EXPECT_EQ(Rules().size(), 2);
    EXPECT_EQ(Table.RecNo(), 0);  // the first row is current again
    // The picture and the check box stay.
    EXPECT_EQ(Content()->findChildren<TSummaryImage*>().size(), 1);
    EXPECT_NE(Page.findChild<QCheckBox*>("cbReszl"), nullptr);
}

TEST_F(SummaryTest, ACardNameIsShownAsWritten)
{
    TDeckRow r = Card(1, 1);
    r.L_NEV = QStringLiteral("<b>Tűz & Jég</b>\r\nmásodik sor");  // one line: it would draw over the next card
    Draw({r}, false);
    QLabel* line = Content()->findChild<QLabel*>("CardLine");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->textFormat(), Qt::PlainText);
    EXPECT_EQ(line->text(), "(001) <b>Tűz & Jég</b> második sor");
}

// --- on the deck frame --------------------------------------------------------------------------

namespace {

class TSummaryDeckHost : public TDeckHost {
public:
    QString PictureFolder() const override { return QString(); }
    QList<QAction*> DeckMenuActions() const override { return {}; }
    void SetDeckSummoningTech(const QString&) override {}
    void DeckLoaded() override {}
    void DeckClosed() override {}
    bool IsSummaryStale() const override { return Stale; }
    void SetSummaryStale(bool stale) override { Stale = stale; }
    void FlashDeckTab(QWidget*, int) override {}
    bool Stale = false;
};

class SummaryFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Conn.Open(Cat.DbPath());
        Frame = new TfmPakli(&Host, Conn, &Page);
        Page.resize(900, 600);
        Frame->resize(900, 600);
        TFormOpenPars pars;
        InitFormOpenPars(pars);
        pars.Id = 1;
        pars.Mode = fmEdit;
        Frame->LoadDeck(pars);
    }
    void TearDown() override { delete Frame; }
    int Count(const char* kind)
    {
        return int(Frame->Summary->sbOssz->widget()->findChildren<QLabel*>(QString::fromLatin1(kind)).size());
    }

    TTempCatalogue Cat;
    TConnection Conn;
    TTestUiHost Ui;
    TSummaryDeckHost Host;
    QWidget Page;
    TfmPakli* Frame = nullptr;
};

}  // namespace

TEST_F(SummaryFrameTest, LoadingDrawsTheShortFormAndTheCheckBoxRedraws)
{
    EXPECT_EQ(Frame->pcPakli->currentWidget(), Frame->tsSzerk);
    EXPECT_EQ(Frame->Summary->cbReszl->text(), "Részletes");
    EXPECT_FALSE(Frame->Summary->cbReszl->isChecked());
    EXPECT_EQ(Count("CardLine"), Frame->mdPakli.RecordCount());
    EXPECT_EQ(Count("GroupTotal"), 0);
    EXPECT_EQ(Frame->Summary->sbOssz->parentWidget(), Frame->tsOsszesites);
    EXPECT_EQ(Frame->Summary->cbReszl->parentWidget(), Frame->tsOsszesites);

    Host.Stale = true;
    QTest::mouseClick(Frame->Summary->cbReszl, Qt::LeftButton, {}, Frame->Summary->cbReszl->rect().center());
    EXPECT_TRUE(Frame->Summary->cbReszl->isChecked());
    EXPECT_GT(Count("GroupTotal"), 0);
    EXPECT_FALSE(Host.Stale);
    QTest::mouseClick(Frame->Summary->cbReszl, Qt::LeftButton, {}, Frame->Summary->cbReszl->rect().center());
    EXPECT_EQ(Count("GroupTotal"), 0);
}

TEST_F(SummaryFrameTest, ComingBackToThePageShowsTheChangedDeck)
{
    Frame->pcPakli->setCurrentWidget(Frame->tsSzerk);
    const int before = Count("CardLine");
    const qint64 card = ScalarOn(Conn, "SELECT L_ID FROM TLAP WHERE L_ID NOT IN (SELECT PL_LID FROM TPAKLILAP "
                                       "WHERE PL_PID = 1) ORDER BY L_ID LIMIT 1").toLongLong();
    Frame->AddCardToDeck(card);
    EXPECT_TRUE(Host.Stale);
    EXPECT_EQ(Count("CardLine"), before);
    Frame->mdPakli.SetRecNo(3);
    Frame->pcPakli->setCurrentWidget(Frame->tsOsszesites);
    EXPECT_EQ(Count("CardLine"), before + 1);
    EXPECT_FALSE(Host.Stale);
    EXPECT_EQ(Frame->mdPakli.RecNo(), 0);
    EXPECT_EQ(Frame->grPakli->currentIndex().row(), 0);  // the grid follows the table's first row
}
