#include "decks/uDeckCharts.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "decks/uDeckGroups.h"
#include "decks/uDeckModel.h"
#include "decks/uDeckOdds.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QCursor>
#include <QLocale>
#include <QGraphicsLayout>
#include <QToolTip>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

QString GroupLabel(int group)
{
    const QString name = DeckGroupName(group);
    return name.isEmpty() ? QStringLiteral("Egyéb lapok") : name;
}

QColor GroupBrush(int group) { return DeckGroupColor(group, true).value_or(QColor(96, 96, 96)); }

QFont SmallFont(int pt, bool bold = false);

void SmallAxis(QAbstractAxis* axis)
{
    // 8 points: the smallest that still reads at the window's size.
    axis->setLabelsFont(SmallFont(8));
    axis->setTitleFont(SmallFont(8));
}

// A whole-number axis from 0 that always has room above the highest bar.
QValueAxis* CountAxis(qint64 highest)
{
    auto* axis = new QValueAxis;
    const qint64 top = std::max<qint64>(4, highest + (highest + 9) / 10);
    axis->setRange(0, double(top));
    axis->setTickCount(int(std::min<qint64>(top, 5)) + 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTitleText(QStringLiteral("Példány"));
    SmallAxis(axis);
    return axis;
}

QFont SmallFont(int pt, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(pt);
    f.setBold(bold);
    return f;
}

// A chart that uses its small room for the plot: thin margins, small type, square corners.
void Title(QChart* chart, const QString& text)
{
    chart->setTitle(text);
    chart->setTitleFont(SmallFont(8, true));
    chart->setMargins(QMargins(2, 0, 2, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
}


}  // namespace

TLevelCurve DeckLevelCurve(const std::vector<TDeckRow>& rows)
{
    TLevelCurve out;
    std::set<int> levels;
    for (const TDeckRow& r : rows) {
        if (r.DB <= 0) continue;
        levels.insert(r.L_SZINT);
        out.Groups[r.TECHSORREND][r.L_SZINT] += r.DB;
    }
    out.Levels.assign(levels.begin(), levels.end());
    return out;
}

std::array<qint64, 5> DeckCostSpread(const std::vector<TDeckRow>& rows)
{
    std::array<qint64, 5> out{};
    for (const TDeckRow& r : rows) {
        if (r.DB <= 0) continue;
        const QString cost = r.L_IDEZES.toUpper();
        for (size_t i = 0; i < DeckPathLetters.size(); ++i)
            if (cost.contains(QChar(DeckPathLetters[i]))) out[i] += r.DB;
    }
    return out;
}

std::map<int, qint64> DeckGroupCopies(const std::vector<TDeckRow>& rows)
{
    std::map<int, qint64> out;
    for (const TDeckRow& r : rows)
        if (r.DB > 0) out[r.TECHSORREND] += r.DB;
    return out;
}

TDeckCharts::TDeckCharts(QWidget* parent) : QWidget(parent)
{
    setObjectName("tsGrafikon");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);
    cvSzint = NewView(QStringLiteral("cvSzint"));
    cvIdezes = NewView(QStringLiteral("cvIdezes"));
    cvCsoport = NewView(QStringLiteral("cvCsoport"));
    grid->addWidget(cvSzint, 0, 0);
    grid->addWidget(cvCsoport, 0, 1);
    grid->addWidget(cvIdezes, 1, 0);

    auto* odds = new QWidget(this);
    odds->setObjectName("pnEsely");
    auto* column = new QVBoxLayout(odds);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(3);
    auto* handRow = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("&Kezdőkéz"), odds);
    seKezdokez = new QSpinBox(odds);
    seKezdokez->setObjectName("seKezdokez");
    seKezdokez->setRange(OpeningHandMin, OpeningHandMax);
    seKezdokez->setValue(OpeningHandDefault);
    seKezdokez->setSuffix(QStringLiteral(" lap"));
    caption->setBuddy(seKezdokez);
    handRow->addWidget(caption);
    handRow->addWidget(seKezdokez);
    handRow->addStretch(1);
    column->addLayout(handRow);
    auto* title = new QLabel(QStringLiteral("Legalább egy lap a kezdőkézben:"), odds);
    title->setFont(SmallFont(9, true));
    column->addWidget(title);
    grEsely = new QTableWidget(0, 3, odds);
    grEsely->setObjectName("grEsely");
    grEsely->setHorizontalHeaderLabels({QStringLiteral("Lapcsoport"), QStringLiteral("Lap"), QStringLiteral("Esély")});
    grEsely->verticalHeader()->hide();
    grEsely->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grEsely->setSelectionMode(QAbstractItemView::NoSelection);
    grEsely->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grEsely->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    grEsely->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    grEsely->verticalHeader()->setDefaultSectionSize(grEsely->fontMetrics().height() + 4);
    column->addWidget(grEsely, 1);
    lLapEsely = new QLabel(odds);
    lLapEsely->setObjectName("lLapEsely");
    lLapEsely->setWordWrap(true);
    lLapEsely->setTextFormat(Qt::PlainText);
    column->addWidget(lLapEsely);
    grid->addWidget(odds, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    GuardedConnect(seKezdokez, qOverload<int>(&QSpinBox::valueChanged), this, [this](int hand) {
        if (FDeck) FillOdds(*FDeck);
        emit OpeningHandChanged(hand);
    });
}

QChartView* TDeckCharts::NewView(const QString& name)
{
    auto* view = new QChartView(this);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(200, 150);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    const int chart = name == QLatin1String("cvSzint") ? 0 : name == QLatin1String("cvIdezes") ? 1 : 2;
    GuardedConnect(view, &QWidget::customContextMenuRequested, this, [this, view, chart](const QPoint& at) {
        QMenu menu(view);
        QAction* save = menu.addAction(QStringLiteral("Mentés képként..."));
        if (menu.exec(view->mapToGlobal(at)) == save) SaveChartAs(chart);
    });
    return view;
}

int TDeckCharts::OpeningHand() const { return seKezdokez->value(); }

void TDeckCharts::SetOpeningHand(int hand)
{
    // An out-of-range value from the settings file falls back to the usual hand.
    if (hand < OpeningHandMin || hand > OpeningHandMax) hand = OpeningHandDefault;
    const QSignalBlocker quiet(seKezdokez);
    seKezdokez->setValue(hand);
    if (FDeck) FillOdds(*FDeck);
}

void TDeckCharts::Redraw(const TDeckTable& deck)
{
    FDeck = &deck;
    const std::vector<TDeckRow>& rows = deck.Rows();

    // The level curve.
    {
        const TLevelCurve curve = DeckLevelCurve(rows);
        auto* chart = new QChart;
        Title(chart, QStringLiteral("Szintgörbe (példány szintenként)"));
        auto* series = new QStackedBarSeries;
        QStringList categories;
        // A card without a level (none stored, or 0) stands under "–", not under a level "0".
        for (int level : curve.Levels) categories << (level > 0 ? QLocale().toString(level) : QStringLiteral("–"));
        std::map<int, qint64> perLevel;
        for (const auto& [group, levels] : curve.Groups) {
            auto* set = new QBarSet(GroupLabel(group));
            set->setColor(GroupBrush(group));
            set->setBorderColor(GroupBrush(group).darker(140));
            connect(set, &QBarSet::hovered, set, [set, categories](bool on, int index) {
                if (!on || index < 0 || index >= categories.size()) return QToolTip::hideText();
                const QString level = categories[index] == QStringLiteral("–") ? QStringLiteral("szint nélkül")
                                                                               : categories[index] + QStringLiteral(". szint");
                QToolTip::showText(QCursor::pos(), QStringLiteral("%1, %2: %3 példány")
                                                       .arg(set->label(), level, QLocale().toString(set->at(index))));
            });
            for (int level : curve.Levels) {
                const auto it = levels.find(level);
                const qint64 n = it == levels.end() ? 0 : it->second;
                *set << double(n);
                perLevel[level] += n;
            }
            series->append(set);
        }
        qint64 highest = 0;
        for (const auto& [level, n] : perLevel) highest = std::max(highest, n);
        chart->addSeries(series);
        auto* x = new QBarCategoryAxis;
        x->append(categories);
        x->setTitleText(QStringLiteral("Szint"));
        SmallAxis(x);
        chart->addAxis(x, Qt::AlignBottom);
        series->attachAxis(x);
        QValueAxis* y = CountAxis(highest);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(y);
        // The key of the group colours, small, beside the plot: under it the plot would be too low.
        chart->legend()->setVisible(true);
        chart->legend()->setAlignment(Qt::AlignRight);
        chart->legend()->setFont(SmallFont(8));
        chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
        QChart* old = cvSzint->chart();
        cvSzint->setChart(chart);
        delete old;
    }

    // The summoning cost spread.
    {
        const std::array<qint64, 5> spread = DeckCostSpread(rows);
        auto* chart = new QChart;
        Title(chart, QStringLiteral("Leidézési költség (példány útanként)"));
        auto* set = new QBarSet(QStringLiteral("Példány"));
        set->setColor(QColor(64, 96, 160));
        QStringList categories;
        qint64 highest = 0;
        for (size_t i = 0; i < spread.size(); ++i) {
            categories << QString(QChar(DeckPathLetters[i]));
            *set << double(spread[i]);
            highest = std::max(highest, spread[i]);
        }
        auto* series = new QBarSeries;
        series->append(set);
        series->setLabelsVisible(true);
        chart->addSeries(series);
        auto* x = new QBarCategoryAxis;
        x->append(categories);
        x->setTitleText(QStringLiteral("Út"));
        SmallAxis(x);
        chart->addAxis(x, Qt::AlignBottom);
        series->attachAxis(x);
        QValueAxis* y = CountAxis(highest);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(y);
        chart->legend()->hide();
        QChart* old = cvIdezes->chart();
        cvIdezes->setChart(chart);
        delete old;
    }

    // The share of each group.
    {
        const std::map<int, qint64> copies = DeckGroupCopies(rows);
        qint64 total = 0;
        for (const auto& [g, n] : copies) total += n;
        auto* chart = new QChart;
        Title(chart, QStringLiteral("Lapcsoportok aránya"));
        auto* series = new QPieSeries;
        for (const auto& [group, n] : copies) {
            const int percent = total > 0 ? int(std::lround(100.0 * double(n) / double(total))) : 0;
            QPieSlice* slice = series->append(QStringLiteral("%1: %2 (%3%)").arg(GroupLabel(group), QLocale().toString(n), QLocale().toString(percent)), double(n));
            slice->setColor(GroupBrush(group));
            slice->setBorderColor(Qt::white);
        }
        series->setPieSize(0.85);
        for (QPieSlice* slice : series->slices()) {
            // The share inside the slice; the name and count on hover (the odds table is the key).
            const QString full = slice->label();
            slice->setLabel(QLocale().toString(int(std::lround(100.0 * slice->percentage()))) + u'%');
            slice->setLabelFont(SmallFont(8, true));
            slice->setLabelColor(Qt::white);
            slice->setLabelPosition(QPieSlice::LabelInsideHorizontal);
            slice->setLabelVisible(slice->percentage() >= 0.06);
            connect(slice, &QPieSlice::hovered, slice, [full](bool on) {
                if (on) QToolTip::showText(QCursor::pos(), full);
                else QToolTip::hideText();
            });
        }
        chart->addSeries(series);
        chart->legend()->hide();
        QChart* old = cvCsoport->chart();
        cvCsoport->setChart(chart);
        delete old;
    }

    FillOdds(deck);
}

void TDeckCharts::FillOdds(const TDeckTable& deck)
{
    const std::vector<TGroupOdds> odds = GroupOdds(deck.Rows(), OpeningHand());
    grEsely->setRowCount(int(odds.size()));
    for (int i = 0; i < int(odds.size()); ++i) {
        const TGroupOdds& o = odds[size_t(i)];
        auto* name = new QTableWidgetItem(o.Name);
        name->setBackground(GroupBrush(o.Group));
        name->setForeground(Qt::white);
        name->setToolTip(o.Name);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        auto* copies = new QTableWidgetItem(QLocale().toString(o.Copies));
        copies->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* chance = new QTableWidgetItem(FormatChance(o.Chance));
        chance->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grEsely->setItem(i, 0, name);
        grEsely->setItem(i, 1, copies);
        grEsely->setItem(i, 2, chance);
    }
    ShowSelectedCard(deck);
}

void TDeckCharts::ShowSelectedCard(const TDeckTable& deck)
{
    const int row = deck.RecNo();
    if (row < 0 || row >= deck.RecordCount()) {
        lLapEsely->setText(QStringLiteral("Válasszon lapot a pakli listájában az esélyéhez."));
        return;
    }
    const TDeckRow& r = deck.Row(row);
    const double chance = ChanceOfAtLeastOne(DrawnDeckSize(deck.Rows()), r.DB, OpeningHand());
    lLapEsely->setText(QStringLiteral("(%1) %2, %3 példány: %4").arg(r.L_LAPSZAM, r.L_NEV, QLocale().toString(r.DB), FormatChance(chance)));
}

bool TDeckCharts::SaveChartImage(int chart, const QString& fileName) const
{
    const QChartView* view = chart == 0 ? cvSzint : chart == 1 ? cvIdezes : cvCsoport;
    return const_cast<QChartView*>(view)->grab().save(fileName, "PNG");
}

void TDeckCharts::SaveChartAs(int chart)
{
    const QString file = PromptSaveFile(QStringLiteral("Grafikon mentése képként"), QStringLiteral("PNG képek (*.png)"),
                                        QStringLiteral("grafikon.png"), QStringLiteral("png"));
    if (file.isEmpty()) return;
    if (!SaveChartImage(chart, file)) ShowWarning(QStringLiteral("A kép nem írható ki ide: %1").arg(file));
}
