#include "decks/uDeckOdds.h"

#include "decks/uDeckGroups.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>

double ChanceOfAtLeastOne(qint64 deckSize, qint64 copies, int hand)
{
    if (deckSize <= 0 || hand <= 0) return 0.0;
    copies = std::clamp<qint64>(copies, 0, deckSize);
    if (copies == 0) return 0.0;
    const qint64 n = std::min<qint64>(hand, deckSize);
    const qint64 others = deckSize - copies;
    if (others < n) return 1.0;  // not enough other cards to fill the hand
    // P(none) = C(others, n) / C(deckSize, n) = prod_{i<n} (others - i) / (deckSize - i);
    // the factors are all below 1, so the product never overflows and stays exact to the last
    // digits of a long double.
    long double none = 1.0L;
    for (qint64 i = 0; i < n; ++i) none *= static_cast<long double>(others - i) / static_cast<long double>(deckSize - i);
    return static_cast<double>(1.0L - none);
}

qint64 DrawnDeckSize(const std::vector<TDeckRow>& rows)
{
    qint64 n = 0;
    for (const TDeckRow& r : rows) n += std::max(0, r.DB);
    return n;
}

std::vector<TGroupOdds> GroupOdds(const std::vector<TDeckRow>& rows, int hand)
{
    std::map<int, qint64> copies;
    for (const TDeckRow& r : rows)
        if (r.DB > 0) copies[r.TECHSORREND] += r.DB;
    const qint64 size = DrawnDeckSize(rows);
    std::vector<TGroupOdds> out;
    for (const auto& [group, n] : copies) {
        TGroupOdds o;
        o.Group = group;
        o.Name = DeckGroupName(group);
        if (o.Name.isEmpty()) o.Name = QStringLiteral("Egyéb lapok");
        o.Copies = n;
        o.Chance = ChanceOfAtLeastOne(size, n, hand);
        out.push_back(o);
    }
    return out;
}

QString FormatChance(double chance, const QLocale& locale)
{
    // The system's number format, as the statistics page uses, so one window never shows two.
    // Rounded here, half away from zero, so 0.05 % steps do not depend on binary noise.
    const double tenths = std::round(chance * 1000.0 + 1e-9) / 10.0;
    return locale.toString(tenths, 'f', 1) + QStringLiteral(" %");
}
