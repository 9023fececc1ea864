#pragma once
// What the deck frame needs of the window it is docked in. The main window implements it; the deck
// room sits below the browser and so never includes the main window's header.
#include <QList>
#include <QString>

class QAction;
class QWidget;

class TDeckHost {
public:
    virtual ~TDeckHost() = default;
    // The folder of the card pictures (a god without a built-in portrait shows its own picture).
    virtual QString PictureFolder() const = 0;
    // The actions of the frame's "Menü", in order; a null entry is a separator.
    virtual QList<QAction*> DeckMenuActions() const = 0;
    // The main god's summoning code, for the "Leidézés szűrés" quick filter.
    virtual void SetDeckSummoningTech(const QString& code) = 0;
    // A deck has been loaded / its frame is going away.
    virtual void DeckLoaded() = 0;
    virtual void DeckClosed() = 0;
    // The statistics page needs redrawing.
    virtual bool IsSummaryStale() const = 0;
    virtual void SetSummaryStale(bool stale) = 0;
    // Marks the deck page's tab for a moment: kind 0 a card was added, 1 a card was removed.
    virtual void FlashDeckTab(QWidget* deckPage, int kind) = 0;
    // The opening hand of the odds table, kept in the settings file by the host.
    virtual int OpeningHandSize() const { return 7; }
    virtual void SetOpeningHandSize(int) {}
};
