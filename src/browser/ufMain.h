#pragma once
// The main window: the program's only top-level window. It shows the current card of the card
// list on one of its pages, lets the user step through the list and jump to a card, and carries
// the menus, the tool bar and the actions through which every command is reached.
#include "app/uSettings.h"
#include "browser/uPicturePage.h"
#include "decks/uDeckHost.h"
#include "storage/uAM.h"

#include <QMainWindow>

#include <memory>

class TPdfSaveDialog;
#include <QSet>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class TCheckListCombo;
class QTabWidget;
class QTableView;
class QTimer;
class QWidget;
class TDetailPage;
class TGridPage;
class TLComboBox;
class TfmPakli;
class TBackupControl;

class TfMain : public QMainWindow, public TCardListHost, public TDeckHost {
    Q_OBJECT
public:
    // Gives every menu of the bar and its items an "&" mnemonic, unique within its menu; the
    // program calls it once every menu is built.
    // Filter selection (uFilterSelection.cpp).
    void FillFilterCombo();
    // The combo's items afresh, none checked.
    void FillFilterComboItems();
    void ClearFilters();
    void CheckFilterInCombo(qint64 filterId);
    void cbFilterChange();
    void acDisableFilterExecute();
    void acDarabFilterExecute();
    void acLeidezesFilterExecute();
    void acFilterExecute();
    void acInsertFilterExecute();
    void acInsertKapcsExecute();
    void acLapSzuresLinkExecute();
    // A filter label of the picture page: the linked filter replaces every other selection.
    void LapSzuresClick(qint64 filterId);
    // Links the filter to the current card (once) and refreshes the page; true when a link was stored.
    bool LinkFilterToCurrentCard(qint64 filterId);
    void sbInsLapFilterClick();
    void AssignMenuMnemonics();
    // programDir: the program's folder; the settings file is its velkor.ini.
    explicit TfMain(const QString& programDir, QWidget* parent = nullptr);
    ~TfMain() override;

    // The creation steps, in order; a failed connection leaves the rest undone.
    void FormCreate();
    // Writes the settings back; false when the file could not be written (the user is told).
    bool FormClose();
    // Another catalogue (or a restored one) is open in AM: the lists and the card list are read
    // afresh, on the first card; without a catalogue the window goes back to its empty state.
    void CatalogueReplaced();
    // Before the catalogue is replaced: asks about the detail page's unsaved edits and closes the
    // open deck, asking first about its unsaved changes; false when the user keeps either.
    bool QueryAndCloseDeck();
    // Automatic backups, restore, the recovery at start, another catalogue.
    TBackupControl* Backups = nullptr;

    // TCardListHost
    void RebuildQuickSearchPieces() override;
    QString CardListOrderBy() override;
    void SetCardCountCaption(const QString& caption) override;
    void ShowError(const QString& context, const QString& message) override;
    void ShowPlainError(const QString& message) override;

    void LAPOK_DATACHANGE();
    void CurrentCardChanged();
    void pcChange();
    void FillLookupCombos();
    // "Egyéb adatok...": the lookup table editor; the lists that show its tables follow.
    void acTulExecute();

    // The grid's operations (the table page does the work).
    void RebuildGridColumns();
    void RefreshGrid();

    // Navigation and jumps.
    void acNextExecute();
    void acPriorExecute();
    void ac5NextExecute();
    void ac5PriorExecute();
    void acTs1Execute();
    void acTs2Execute();
    void acTs3Execute();
    void eUgrLSZEnter();
    void eUgrNevEnter();
    void acAboutExecute();
    void Sg2Click();

    // The open deck: its page "Pakli" with the deck frame.
    void OpenDeck(qint64 deckId);
    TfmPakli* FindDeckFrame() const;
    void UpdateDeckActions();
    void acSaveDeckExecute();
    void acCloseDeckExecute();
    void acAddCardExecute();
    void acDelCardExecute();
    void tmrHighLightTimer();
    // Whether the open deck may close: asks when it has unsaved changes (Yes saves first).
    bool QueryCloseDeck();

    // TDeckHost
    QString PictureFolder() const override;
    QList<QAction*> DeckMenuActions() const override;
    void SetDeckSummoningTech(const QString& code) override;
    void DeckLoaded() override;
    void DeckClosed() override;
    bool IsSummaryStale() const override { return SummaryStale; }
    void SetSummaryStale(bool stale) override { SummaryStale = stale; }
    void FlashDeckTab(QWidget* deckPage, int kind) override;
    int OpeningHandSize() const override { return Settings.OpeningHand; }
    void SetOpeningHandSize(int hand) override { Settings.OpeningHand = hand; }
    // "Pakli beolvasása vágólapról": a new deck from a plain-text list, opened when stored.
    void acImportDeckTextExecute();

    // The "Keresés" box and the catalogue's search index (uSearchBox.cpp).
    void SetUpSearch();
    void ApplySearch();
    // Empties the box and the search condition; the caller runs the card list again.
    void ClearSearch();
    void ShowSearchState();
    // Where the card of a card list row matched the search ("Találat: név, képesség").
    QString SearchToolTip(int row);
    bool SearchAvailable() const { return FSearchAvailable; }
    QLineEdit* eKereses = nullptr;
    QAction* acKereses = nullptr;
    QTimer* tmrKereses = nullptr;

    const QString& SettingsFile() const { return FSettingsFile; }
    TSettings Settings;
    bool Connected() const { return FConnected; }

    // Controls, by their design names.
    QTabWidget* pc = nullptr;
    TDetailPage* ts1 = nullptr;
    TGridPage* ts2 = nullptr;
    TPicturePage* ts3 = nullptr;
    QWidget* pnGridTop = nullptr;
    QTableView* grQuery = nullptr;
    QLabel* lDb = nullptr;
    QLineEdit* eUgrLSZ = nullptr;
    QLineEdit* eUgrNev = nullptr;
    TCheckListCombo* cbFilter = nullptr;
    TLComboBox* cbVelkor = nullptr;
    TLComboBox* cbLTipus = nullptr;
    QMenu* pmGrid = nullptr;
    QTimer* tmrHighLight = nullptr;

    QAction* acNext = nullptr;
    QAction* acPrior = nullptr;
    QAction* ac5Next = nullptr;
    QAction* ac5Prior = nullptr;
    QAction* acTs1 = nullptr;
    QAction* acTs2 = nullptr;
    QAction* acTs3 = nullptr;
    QAction* acTsPakli = nullptr;  // "Pakli nézet", shown while a deck is open
    QAction* acLapSzuresLink = nullptr;
    QAction* acPicMode1 = nullptr;
    QAction* acPicMode2 = nullptr;
    QAction* acPicMode3 = nullptr;
    QAction* acPicMode4 = nullptr;
    QAction* acFilter = nullptr;
    QAction* acInsertFilter = nullptr;
    QAction* acDisableFilter = nullptr;
    QAction* acInsertKapcs = nullptr;
    QAction* acDarabFilter = nullptr;
    QAction* acLeidezesFilter = nullptr;
    QAction* acNewDeck = nullptr;
    QAction* acDeckBrowser = nullptr;
    QAction* acOpenDeck = nullptr;  // the deck browser too; in no menu
    QAction* acSaveDeck = nullptr;
    QAction* acCloseDeck = nullptr;
    QAction* acPakliExport = nullptr;
    QAction* acImportDeckText = nullptr;
    QAction* acAddCard = nullptr;
    QAction* acDelCard = nullptr;
    QAction* acTul = nullptr;
    QAction* acDBDelete = nullptr;
    QAction* acExportExcel = nullptr;
    QAction* acExportText = nullptr;
    QAction* acExportClipboard = nullptr;
    QAction* acAbout = nullptr;
    QAction* acExit = nullptr;
    QAction* acHelp = nullptr;
    // Paper and PDF (ufMainPrint.cpp): the open deck's sheet and the card list.
    QAction* acPakliPrint = nullptr;
    QAction* acPakliPdf = nullptr;
    QAction* acListPrint = nullptr;
    QAction* acListPdf = nullptr;
    std::unique_ptr<TPdfSaveDialog> sdPdf;
    void BuildPrintActions();
    // The active filter as the page heading names it: the filter combo's text and the boxes' texts.
    QString ListFilterText() const;

    bool CtrlHeld = false;
    bool SummaryStale = false;
    bool DeckOpen = false;
    QString DeckSummoningTech;
    int PictureMode = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How many links of this filter the card has.
    // The count a statement with :PFBID (the filter) and :PLID (the card) gives.
    qint64 ScalarCount(const QString& sql, qint64 filterId, qint64 cardId);
    void BuildActions();
    void BuildMenus();
    QWidget* BuildToolRow(QWidget* parent);
    QWidget* BuildSearchBox(QWidget* parent);
    bool FSearchAvailable = false;
    // The actions that need the card list are usable only with an open catalogue.
    void UpdateCatalogueActions();
    // The creation steps that need the catalogue.
    void OpenCardList();
    // Removes the deck page; its frame goes once the running handler has returned.
    void CloseDeck();

    // The deck actions that have a handler; UpdateDeckActions enables only these.
    QSet<QAction*> FWiredDeckActions;
    QString FSettingsFile;
    bool FConnected = false;
    QWidget* FShownPage = nullptr;  // the page shown before the last switch
    bool FCardListHooked = false;
    bool FClosed = false;
};

extern TfMain* fMain;
