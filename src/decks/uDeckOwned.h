#pragma once
// Owned versus needed: the copies of each deck card the player owns (TLAP.L_DB, NULL as 0) beside
// the copies the deck asks for, and the list of what is missing.
#include "decks/uDeckTable.h"
#include "storage/DbProvider.h"

#include <QHash>
#include <QString>

#include <vector>

// Owned copies by card id; a card that is not in the catalogue (or not asked about) owns none.
class TOwnedCounts {
public:
    explicit TOwnedCounts(TConnection& connection);
    // Reads L_DB of the cards not read yet (every card when `refresh`).
    void Load(const std::vector<qint64>& cardIds, bool refresh = false);
    qint64 Owned(qint64 cardId) const { return FOwned.value(cardId, 0); }
    bool Known(qint64 cardId) const { return FOwned.contains(cardId); }
    const QHash<qint64, qint64>& Counts() const { return FOwned; }

private:
    TQuery qLapDb;
    QHash<qint64, qint64> FOwned;
};

struct TMissingCard {
    qint64 L_ID = 0;
    QString L_LAPSZAM;
    QString L_NEV;
    qint64 Missing = 0;
};

// The main god as the deck's head: one copy needed, beside any copies of the same card in the rows.
struct TDeckGod {
    qint64 Id = -1;
    QString Number;
    QString Name;
    QString Pantheon;
};

// Copies of the row's card the deck needs beyond what is owned (0 when none); the god's copy
// counts too when the row is the god's card.
qint64 MissingForRow(const TDeckRow& row, const QHash<qint64, qint64>& owned, qint64 godId = -1);

// The missing cards: the god first when it is not owned, then the rows in deck order.
std::vector<TMissingCard> MissingCards(const std::vector<TDeckRow>& rows, const QHash<qint64, qint64>& owned,
                                       const TDeckGod& god = {});
qint64 MissingTotal(const std::vector<TMissingCard>& missing);
// One line "N (number) name" per missing card.
QString MissingCardsText(const std::vector<TMissingCard>& missing);
