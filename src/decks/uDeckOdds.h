#pragma once
// Opening-hand odds: the chance of holding at least one of a set of cards in the first hand,
// from the exact hypergeometric distribution over the deck's copies. The main god is the deck's
// head, never shuffled in, so it takes no part in any of this.
#include "decks/uDeckTable.h"

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <vector>

// Smallest and largest opening hand the player may ask about, and the usual one.
inline constexpr int OpeningHandMin = 1;
inline constexpr int OpeningHandMax = 20;
inline constexpr int OpeningHandDefault = 7;

// P(at least one of `copies` cards in a hand of `hand` drawn from `deckSize` cards), 0..1.
// A hand larger than the deck draws the whole deck; copies outside 0..deckSize are clamped.
double ChanceOfAtLeastOne(qint64 deckSize, qint64 copies, int hand);

// Copies that are shuffled: every row's DB (the god is not in the rows).
qint64 DrawnDeckSize(const std::vector<TDeckRow>& rows);

struct TGroupOdds {
    int Group = 0;
    QString Name;
    qint64 Copies = 0;
    double Chance = 0;
};

// One line per card-type group present in the deck, in group order.
std::vector<TGroupOdds> GroupOdds(const std::vector<TDeckRow>& rows, int hand);

// A chance as a percentage with one decimal under Hungarian settings: "55,2 %".
QString FormatChance(double chance, const QLocale& locale = QLocale());
