#pragma once
// The deck editor's statements on the catalogue: every card for the search lists, a deck's cards
// and header, one card's deck fields, and writing a deck back in one transaction.
#include "decks/uDeckTable.h"
#include "storage/DbProvider.h"

#include <map>
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

// A deck as it is stored, compared to tell whether someone else wrote it since it was read. The
// values keep their storage class, so NULL, '' and 0, or 5 and '5', tell a change apart.
struct TStoredDeck {
    bool Exists = false;
    QVariant Name;
    QVariant Description;
    QVariant GodId;
    std::vector<std::pair<QVariant, QVariant>> Rows;  // PL_LID, PL_LDB, in a fixed order
    bool operator==(const TStoredDeck& o) const;
    bool operator!=(const TStoredDeck& o) const { return !(*this == o); }
    // Copies per card as the deck table counts them (several rows of one card add up).
    std::map<qint64, qint64> CardCounts() const;
};

class TDeckStore {
public:
    explicit TDeckStore(TConnection& connection);

    TConnection& Connection() { return FConnection; }

    // Every card, in card-number order: L_ID, L_LAPSZAM, L_LAPTIPUS, L_NEV. Stays open in qOsszLap.
    void OpenCardList();
    // The deck's cards as deck rows: every stored row, also one whose card, card type or pantheon
    // is missing from the catalogue (shown as an unknown card), so that a save keeps it.
    std::vector<TDeckRow> LoadDeckRows(qint64 deckId);
    // The deck's header with its main god; none when the deck or its god is not in the catalogue.
    std::optional<TDeckHeader> LoadHeader(qint64 deckId);
    // One card's deck fields with one copy; none when the card is not in the catalogue.
    std::optional<TDeckRow> CardRow(qint64 cardId);
    // The card's picture file name (L_KEPNEV).
    QString CardPicture(qint64 cardId);

    TStoredDeck ReadStored(qint64 deckId);

    enum class TSaveResult { Saved, ChangedElsewhere };
    // Writes the deck's rows and its name and description in one transaction, provided the stored
    // deck still is what `expected` says; otherwise nothing is written. Only what differs from
    // `expected` is written: the rows of a card whose count changed, and a header field whose
    // text changed; every other stored row and value stays as it is. A failing statement throws
    // and leaves the catalogue as it was.
    TSaveResult Save(qint64 deckId, const QString& name, const QString& description,
                     const std::vector<TDeckRow>& rows, const TStoredDeck& expected);

    TQuery qOsszLap;
    TQuery qOsszesit;
    TQuery qGetFejAdat;
    TQuery qEgyLap;
    TCommand qDelPakliLap;
    TCommand qInsPakliLap;
    TCommand qFejUpdate;
    TQuery qTaroltFej;
    TQuery qTaroltLapok;

private:
    TConnection& FConnection;
};
