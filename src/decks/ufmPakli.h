#pragma once
// The deck editor frame, docked on the main window's "Pakli" page: the header with the main god and
// the totals, the quick editor (card search, every card, the deck grid), the deck's name and
// description, and the statistics page. The open deck lives in mdPakli; nothing reaches the
// catalogue until SaveDeck.
#include "decks/uDeckHtml.h"
#include "decks/uDeckOwned.h"
#include "decks/uDeckStore.h"
#include "decks/uDeckTable.h"
#include "decks/uDeckUndo.h"
#include "storage/FormOpenPars.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;
class TCardNameListModel;
class TCardNumberListModel;
class TDeckHost;
class QUndoStack;
class TDeckCharts;
class TDeckModel;
class TDeckSummary;

class TfmPakli : public QWidget, private TDeckEditTarget {
    Q_OBJECT
public:
    TfmPakli(TDeckHost* host, TConnection& connection, QWidget* parent = nullptr);
    ~TfmPakli() override;

    // Tells the host the deck is closing and stops reporting to it; the frame may then be
    // destroyed later. Also done by the destructor.
    void Release();

    // Loads the deck whose P_ID is pars.Id.
    void LoadDeck(const TFormOpenPars& pars);
    void LoadDeckCards();
    void AddCardToDeck(qint64 cardId);
    void RemoveCardFromDeck(qint64 cardId);
    // Writes the deck back in one transaction; true when written (then "A pakli mentése sikeres."
    // has been shown). False when the user chose not to overwrite a deck changed elsewhere, or
    // the deck is gone; a database error throws and leaves the stored deck as it was.
    bool SaveDeck();
    void UpdateHeaderTotals();
    // The statistics page; clears the host's stale mark.
    void DrawSummary();
    // The open deck, as it is now, to an HTML page chosen in sd.
    void ExportDeckHtml();

    // The missing cards as "N (number) name" lines / the whole deck as such lines, to the clipboard.
    void CopyMissingCards();
    void CopyDeckAsText();
    std::vector<TMissingCard> Missing() const;
    // Reads the owned counts of the deck's cards again (they may have been edited on the detail
    // page since); done whenever the frame is shown.
    void RefreshOwnedCounts();
    // Undo and redo of the adds, removes, name and description (Ctrl+Z, Ctrl+Y); clean when saved.
    QUndoStack* UndoStack() const { return FUndo; }
    QAction* acUndo = nullptr;
    QAction* acRedo = nullptr;
    // The "Grafikon" page.
    TDeckCharts* Charts = nullptr;
    void RedrawCharts();
    const TDeckGod& God() const { return FGod; }

    // Whether the cards, the name or the description differ from what was loaded or last saved.
    bool IsModified() const;
    qint64 DeckId() const { return FDeckId; }
    const TFormOpenPars& OpenPars() const { return FPars; }

    // Handlers, public so that tests drive them.
    void btnAddClick();
    // A character typed into the search box; true when it is consumed (not typed).
    bool cbLapKeresKeyPress(QChar ch);
    // The user changed the search text: complete it to the first name that begins with it.
    void cbLapKeresChange(const QString& text);
    void pcPakliChange();
    void cbReszlClick();
    // The search box's selected card, or -1.
    qint64 SelectedSearchCard() const;

    // Controls, by their design names.
    QWidget* pnTop = nullptr;
    QLabel* imGfx1 = nullptr;
    QLabel* lFoisten = nullptr;
    QLabel* lFoisten2 = nullptr;
    QLabel* imGfx2 = nullptr;
    QLabel* lLapszam = nullptr;
    QLabel* lHatalom = nullptr;
    QLabel* lHianyzo = nullptr;
    // The deck's name beside its god's: a copy and its original are told apart at a glance.
    QLabel* lPakliNev = nullptr;
    QToolButton* sbPakliMenu = nullptr;
    QMenu* pmPakli = nullptr;
    QTabWidget* pcPakli = nullptr;
    QWidget* tsSzerk = nullptr;
    QWidget* tsMegj = nullptr;
    QWidget* tsOsszesites = nullptr;
    QComboBox* cbLapKeres = nullptr;
    QPushButton* btnAdd = nullptr;
    QListView* lbOsszlap = nullptr;
    QLabel* lPakliCim = nullptr;
    QTableView* grPakli = nullptr;
    QLineEdit* eNev = nullptr;
    QPlainTextEdit* mLeir = nullptr;
    // The statistics page's controls (sbOssz, imOssz, cbReszl) and its drawing.
    TDeckSummary* Summary = nullptr;
    TDeckSaveDialog sd;

    TDeckTable mdPakli;
    TDeckModel* DeckModel() const { return FDeckModel; }
    TCardNameListModel* SearchModel() const { return FNameModel; }
    TCardNumberListModel* CardListModel() const { return FNumberModel; }
    // The path icons IKON_V, IKON_M, IKON_H, IKON_I, IKON_B, drawn transparent.
    const std::array<QImage, 5>& PathIcons() const { return FPathIcons; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildHeader();
    QWidget* BuildQuickEditor();
    QWidget* BuildDescriptionPage();
    void SyncGridToTable();
    void AfterChange(int flashKind);
    // The description as it is to be stored: the loaded text when unchanged, else the editor's
    // lines joined with the line break the stored text used.
    QString DescriptionToStore() const;
    std::vector<std::pair<qint64, int>> CardCounts() const;
    void TakeSnapshot();

    TDeckHost* FHost;
    TDeckStore FStore;
    TFormOpenPars FPars;
    qint64 FDeckId = -1;
    TDeckModel* FDeckModel = nullptr;
    TCardNameListModel* FNameModel = nullptr;
    TCardNumberListModel* FNumberModel = nullptr;
    std::array<QImage, 5> FPathIcons;
    bool FSearchDeleting = false;
    bool FSyncing = false;

    // What was loaded or last saved, to tell whether closing loses anything, and what was stored
    // then, to tell whether someone else wrote the deck since.
    QString FLoadedName;
    QString FLoadedDescription;
    std::vector<std::pair<qint64, int>> FLoadedCards;
    TStoredDeck FStored;

    std::unique_ptr<TOwnedCounts> FOwned;
    TDeckGod FGod;

    // TDeckEditTarget: the changes themselves, done and undone through FUndo.
    void ApplyAddCopy(const TDeckRow& card) override;
    void ApplyRemoveCopy(qint64 cardId) override;
    void ApplyName(const QString& name) override;
    void ApplyDescription(const QString& description) override;
    QUndoStack* FUndo = nullptr;
    bool FApplying = false;  // a text set by loading or by undo is not a new edit
    QString FLastName;
    QString FLastDescription;
    bool FChartsStale = true;
};
