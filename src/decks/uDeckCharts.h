#pragma once
// The deck frame's "Grafikon" page: the level curve stacked by card-type group, the copies per
// summoning path letter, the share of each group, and the opening-hand odds table. Everything is
// counted in copies, drawn from the open deck in memory, never from the catalogue.
#include "decks/uDeckTable.h"

#include <QWidget>

#include <array>
#include <map>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QSpinBox;
class QTableWidget;

// Copies per level, per group: Groups[group][level]. Levels lists every level present, ascending.
struct TLevelCurve {
    std::vector<int> Levels;
    std::map<int, std::map<int, qint64>> Groups;
};
TLevelCurve DeckLevelCurve(const std::vector<TDeckRow>& rows);

// The path letters of the cost chart, in order.
inline constexpr std::array<char16_t, 5> DeckPathLetters = {u'V', u'M', u'H', u'I', u'B'};
// Copies of the cards whose summoning cost holds each letter (any case), once per card however
// often the letter repeats in it; in the order of DeckPathLetters.
std::array<qint64, 5> DeckCostSpread(const std::vector<TDeckRow>& rows);

// Copies per group present, in group order.
std::map<int, qint64> DeckGroupCopies(const std::vector<TDeckRow>& rows);

class TDeckCharts : public QWidget {
    Q_OBJECT
public:
    explicit TDeckCharts(QWidget* parent = nullptr);

    // Redraws the charts and the odds from the deck; `selectedRow` is the deck grid's row (or -1).
    void Redraw(const TDeckTable& deck);
    // Only the line of the card chosen in the deck grid.
    void ShowSelectedCard(const TDeckTable& deck);
    // Writes a chart (0 level curve, 1 cost, 2 groups) as a PNG file; false when it cannot.
    bool SaveChartImage(int chart, const QString& fileName) const;

    int OpeningHand() const;
    void SetOpeningHand(int hand);

    QChartView* cvSzint = nullptr;
    QChartView* cvIdezes = nullptr;
    QChartView* cvCsoport = nullptr;
    QSpinBox* seKezdokez = nullptr;
    QTableWidget* grEsely = nullptr;
    QLabel* lLapEsely = nullptr;

signals:
    // The user changed the opening hand.
    void OpeningHandChanged(int hand);

private:
    QChartView* NewView(const QString& name);
    void SaveChartAs(int chart);
    void FillOdds(const TDeckTable& deck);

    const TDeckTable* FDeck = nullptr;
};
