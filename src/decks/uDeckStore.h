#pragma once
// The deck editor's statements on the catalogue: every card for the search lists, a deck's cards
// and header, one card's deck fields, and writing a deck back in one transaction.
#include "decks/uDeckTable.h"
#include "storage/DbProvider.h"

#include <optional>
#include <utility>
#include <vector>

struct TDeckHeader {
    qint64 DeckId = -1;
    QString Name;          // P_NEV
    QString Description;   // P_MEGJ
    qint64 GodId = -1;     // P_FOISTENLID
    QString GodNumber;     // the god's L_LAPSZAM
    QString GodName;
    QString GodPaths;      // L_UTAK
    QString SummoningTech; // L_LEIDEZESTECH
    QString GodPantheon;   // VELKOR_NEV
};

// A deck as it is stored, compared to tell whether someone else wrote it since it was read.
struct TStoredDeck {
    bool Exists = false;
    QString Name;
    QString Description;
    QString GodId;
    std::vector<std::pair<QString, QString>> Rows;  // PL_LID, PL_LDB, in a fixed order
    bool operator==(const TStoredDeck&) const = default;
};

class TDeckStore {
public:
    explicit TDeckStore(TConnection& connection);

    TConnection& Connection() { return FConnection; }

    // Every card, in card-number order: L_ID, L_LAPSZAM, L_LAPTIPUS, L_NEV. Stays open in qOsszLap.
    void OpenCardList();
    // The deck's cards as deck rows.
    std::vector<TDeckRow> LoadDeckRows(qint64 deckId);
    // The deck's header with its main god; none when the deck or its god is not in the catalogue.
    std::optional<TDeckHeader> LoadHeader(qint64 deckId);
    // One card's deck fields with one copy; none when the card is not in the catalogue.
    std::optional<TDeckRow> CardRow(qint64 cardId);
    // The card's picture file name (L_KEPNEV).
    QString CardPicture(qint64 cardId);

    TStoredDeck ReadStored(qint64 deckId);

    enum class TSaveResult { Saved, ChangedElsewhere };
    // Replaces the deck's card rows and its name and description in one transaction, provided the
    // stored deck still is what `expected` says; otherwise nothing is written. A failing
    // statement throws and leaves the catalogue as it was.
    TSaveResult Save(qint64 deckId, const QString& name, const QString& description,
                     const std::vector<TDeckRow>& rows, const TStoredDeck& expected);

    TQuery qOsszLap;
    TQuery qOsszesit;
    TQuery qGetFejAdat;
    TQuery qEgyLap;
    TCommand qDelPakli;
    TCommand qInsPakliLap;
    TCommand qFejUpdate;
    TQuery qTaroltFej;
    TQuery qTaroltLapok;

private:
    TConnection& FConnection;
};
