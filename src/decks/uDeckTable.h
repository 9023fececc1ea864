#pragma once
// The open deck in memory (mdPakli): one row per distinct card, always sorted on the card-type
// group, then the card number ignoring letter case. The deck grid, the statistics page and the
// HTML export all read it in this order, so every change keeps the order at once.
#include <QString>
#include <QtGlobal>

#include <vector>

struct TDeckRow {
    qint64 L_ID = 0;
    QString L_LAPSZAM;
    QString L_NEV;
    int TECHSORREND = 0;
    int DB = 1;
    int HP = 0;          // power points one copy is worth: the card's L_HP below 3, else 0
    QString L_IDEZES;    // summoning cost letters
    int L_SZINT = 0;
};

// A card's L_HP as it counts in a deck.
inline int DeckPowerPoints(qint64 cardHp) { return cardHp < 3 ? int(cardHp) : 0; }

// Told of every change, so a view can follow row by row (the Qt model over the table).
class TDeckTableObserver {
public:
    virtual ~TDeckTableObserver() = default;
    virtual void BeforeReset() = 0;
    virtual void AfterReset() = 0;
    virtual void BeforeInsert(int row) = 0;
    virtual void AfterInsert() = 0;
    virtual void BeforeRemove(int row) = 0;
    virtual void AfterRemove() = 0;
    virtual void RowChanged(int row) = 0;
};

class TDeckTable {
public:
    int RecordCount() const { return int(FRows.size()); }
    bool IsEmpty() const { return FRows.empty(); }
    const TDeckRow& Row(int index) const { return FRows[size_t(index)]; }
    const std::vector<TDeckRow>& Rows() const { return FRows; }

    // The current row, -1 when the table is empty.
    int RecNo() const { return FCurrent; }
    void SetRecNo(int row);
    void First() { SetRecNo(FRows.empty() ? -1 : 0); }

    // The first row of the card, or -1.
    int Find(qint64 cardId) const;

    // Replaces every row (sorted here, whatever their order); the first row becomes current.
    void Load(std::vector<TDeckRow> rows);
    void Clear() { Load({}); }
    // Inserts a row at its place in the order; returns that place. The current row stays.
    int Insert(TDeckRow row);
    // One more copy of an existing row.
    void Increment(int row);
    // One copy less; the row goes when it held the last copy. The current row stays when it
    // still exists, else the row that took its place becomes current.
    void Decrement(int row);

    // Cards in the deck with the main god counted, and the power points (the god adds none).
    qint64 CardCount() const;
    qint64 PowerPoints() const;

    void SetObserver(TDeckTableObserver* observer) { FObserver = observer; }

    // The deck order: group, then card number ignoring letter case.
    static bool Before(const TDeckRow& a, const TDeckRow& b);

private:
    std::vector<TDeckRow> FRows;
    int FCurrent = -1;
    TDeckTableObserver* FObserver = nullptr;
};
