#pragma once
// The deck browser: every stored deck under its main god, the clicked deck's description, and from
// there a new deck, opening, copying under a new name, the deck's HTML page, or deleting.
#include "decks/uDeckHtml.h"
#include "decks/uDeckStore.h"
#include "decks/ufUjPakli.h"
#include "storage/DbProvider.h"

#include <QDialog>
#include <QListWidgetItem>

#include <functional>

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TAM;

// One stored deck as a list item. Deck names need not be unique: a deck is addressed by its id.
struct TPakli {
    QString GodName;      // L_NEV of the god card
    QString GodNumber;    // L_LAPSZAM
    qint64 GodId = -1;    // P_FOISTENLID
    QString GodPantheon;  // VELKOR_NEV
    QString GodPaths;     // L_UTAK
    qint64 DeckId = -1;   // P_ID
    QString DeckName;     // P_NEV
};

// An item of lbPakli, owning its deck.
class TPakliItem : public QListWidgetItem {
public:
    TPakliItem(TPakli deck, QListWidget* list);
    const TPakli Pakli;
};

class TfPakliBong : public QDialog {
    Q_OBJECT
public:
    TfPakliBong(TAM& am, TOpenDeck openDeck, const QString& pictureFolder, QWidget* parent = nullptr);
    ~TfPakliBong() override;

    // Handlers, public so that tests drive them.
    void FormShow();
    void RefreshDeckList();
    void lbPakliClick();
    void btnUjClick();
    void btnMegnyitClick();
    void btnMasolClick();
    void btnExportClick();
    void btnTorolClick();

    // The selected item's deck, or null.
    const TPakli* SelectedDeck() const;
    // The item at row, or null.
    const TPakli* DeckAt(int row) const;

    // Shows the new deck wizard modally; tests replace it (a modal window would block them).
    std::function<void()> NewDeckWizard;

    TQuery qPaklik;
    TQuery qGetMegj;
    TDeckSaveDialog sd;

    QListWidget* lbPakli = nullptr;
    QPlainTextEdit* mLeir = nullptr;
    QPushButton* btnUj = nullptr;
    QPushButton* btnMegnyit = nullptr;
    QPushButton* btnMasol = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnTorol = nullptr;
    QPushButton* btnBezar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TAM& FAm;
    TOpenDeck FOpenDeck;
    QString FPictureFolder;
    TDeckStore FStore;
};

// Paints item `row` of lbPakli into rect (the selection colour when selected).
void DrawDeckItem(const TfPakliBong& browser, QPainter& painter, const QRect& rect, int row, bool selected,
                  const QPalette& palette);

// Shows the deck browser modally; the deck it opens, copies or creates is opened with openDeck.
void ShowDeckBrowser(QWidget* parent, TAM& am, const QString& pictureFolder, const TOpenDeck& openDeck);
