// The "Grafikon" page: the chart data of a demo deck in copies, the odds table under Hungarian
// settings, and the opening hand kept by the host.
#include "DeckFrameFixture.h"

#include "decks/uDeckCharts.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPieSeries>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTableWidget>

using DeckCharts = DeckInsightTest;

TEST_F(DeckCharts, DemoDeckCopiesPerLevelAndLetter)
{
    Load(1);
    const std::vector<TDeckRow>& rows = Frame->mdPakli.Rows();
    const TLevelCurve curve = DeckLevelCurve(rows);
    EXPECT_EQ(curve.Levels, (std::vector<int>{0, 1, 2, 4, 6}));
    const std::map<int, std::map<int, qint64>> groups{
        {1, {{6, 3}}}, {2, {{0, 1}, {4, 2}, {6, 2}}}, {3, {{1, 2}}}, {4, {{1, 2}, {2, 3}}}, {5, {{0, 3}}}, {6, {{0, 3}}}};
    EXPECT_EQ(curve.Groups, groups);
    // Letters in either case, a card once per letter however often the letter repeats.
    EXPECT_EQ(DeckCostSpread(rows), (std::array<qint64, 5>{12, 9, 8, 9, 0}));
    const std::map<int, qint64> shares{{1, 3}, {2, 5}, {3, 2}, {4, 5}, {5, 3}, {6, 3}};
    EXPECT_EQ(DeckGroupCopies(rows), shares);
}

TEST_F(DeckCharts, PageFollowsTheDeck)
{
    Load(1);
    ASSERT_EQ(Frame->pcPakli->tabText(3), QStringLiteral("Grafikon"));
    EXPECT_EQ(Frame->pcPakli->tabText(2), QStringLiteral("Összesítés"));
    Frame->pcPakli->setCurrentWidget(Frame->Charts);
    TDeckCharts* charts = Frame->Charts;

    auto* stacked = qobject_cast<QStackedBarSeries*>(charts->cvSzint->chart()->series().value(0));
    ASSERT_NE(stacked, nullptr);
    ASSERT_EQ(stacked->count(), 6);
    EXPECT_EQ(stacked->barSets()[0]->label(), QStringLiteral("Vezérek"));
    auto* pie = qobject_cast<QPieSeries*>(charts->cvCsoport->chart()->series().value(0));
    ASSERT_NE(pie, nullptr);
    EXPECT_EQ(pie->sum(), 21.0);

    // Six groups in the odds table; 3 of 21 copies in a hand of 7: 1 - C(18,7)/C(21,7).
    ASSERT_EQ(charts->grEsely->rowCount(), 6);
    EXPECT_EQ(charts->grEsely->item(0, 0)->text(), QStringLiteral("Vezérek"));
    EXPECT_EQ(charts->grEsely->item(0, 1)->text(), QStringLiteral("3"));
    EXPECT_EQ(charts->grEsely->item(0, 2)->text(), QStringLiteral("72,6 %"));

    // An add while the page is shown redraws it at once.
    Frame->AddCardToDeck(167);
    pie = qobject_cast<QPieSeries*>(charts->cvCsoport->chart()->series().value(0));
    EXPECT_EQ(pie->sum(), 22.0);
    EXPECT_EQ(charts->grEsely->item(0, 1)->text(), QStringLiteral("4"));

    // The card chosen in the deck grid gets its own line.
    Frame->mdPakli.SetRecNo(Frame->mdPakli.Find(167));
    charts->ShowSelectedCard(Frame->mdPakli);
    EXPECT_TRUE(charts->lLapEsely->text().contains(QStringLiteral("Tüzes Hadvezér")));
    EXPECT_TRUE(charts->lLapEsely->text().contains(QStringLiteral(" %")));
}

TEST_F(DeckCharts, OpeningHandIsKeptByTheHost)
{
    Load(1);
    TDeckCharts* charts = Frame->Charts;
    EXPECT_EQ(charts->seKezdokez->value(), 7);
    EXPECT_EQ(charts->seKezdokez->minimum(), 1);
    EXPECT_EQ(charts->seKezdokez->maximum(), 20);
    Frame->pcPakli->setCurrentWidget(charts);
    charts->seKezdokez->setValue(20);
    EXPECT_EQ(Host.Hand, 20);
    // 20 of 21 drawn: a group of two copies or more cannot be missed.
    EXPECT_EQ(charts->grEsely->item(0, 2)->text(), QStringLiteral("100,0 %"));

    // A new frame starts from the host's value; a value outside 1..20 falls back to 7.
    Host.Hand = 3;
    TfmPakli second(&Host, Conn);
    EXPECT_EQ(second.Charts->seKezdokez->value(), 3);
    Host.Hand = 500;
    TfmPakli third(&Host, Conn);
    EXPECT_EQ(third.Charts->seKezdokez->value(), 7);
}

TEST_F(DeckCharts, ChartSavesAsPng)
{
    Load(1);
    Frame->pcPakli->setCurrentWidget(Frame->Charts);
    const QString file = Cat.Dir.filePath("grafikon.png");
    ASSERT_TRUE(Frame->Charts->SaveChartImage(0, file));
    QImage saved(file);
    EXPECT_FALSE(saved.isNull());
    EXPECT_FALSE(Frame->Charts->SaveChartImage(1, Cat.Dir.filePath("nincs/ilyen/mappa.png")));
}

TEST(DeckChartsEmpty, AnEmptyDeckDrawsEmptyCharts)
{
    TDeckTable empty;
    TDeckCharts charts;
    charts.resize(760, 400);
    charts.Redraw(empty);
    EXPECT_EQ(charts.grEsely->rowCount(), 0);
    EXPECT_TRUE(DeckLevelCurve(empty.Rows()).Levels.empty());
    EXPECT_EQ(DeckCostSpread(empty.Rows()), (std::array<qint64, 5>{}));
    EXPECT_FALSE(charts.grab().isNull());
}

TEST_F(DeckCharts, OneNumberFormatUnderAnySystemLanguage)
{
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Hungarian, QLocale::Hungary)}) {
        QLocale::setDefault(locale);  // Hungarian last: the tests' own default
        Load(1);
        Frame->findChild<QObject*>("cbReszl")->setProperty("checked", true);
        Frame->DrawSummary();
        Frame->RedrawCharts();
        QString texts = Frame->Charts->grEsely->item(0, 2)->text();
        for (QLabel* l : Frame->findChildren<QLabel*>("GroupTotal")) texts += l->text();
        EXPECT_TRUE(texts.startsWith("72" + locale.decimalPoint()) && texts.contains("1" + locale.decimalPoint() + "6 átlag"));
    }
}
