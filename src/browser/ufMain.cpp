#include "browser/ufMain.h"
#include "browser/uCollectionCommand.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/ProgramFolder.h"
#include "app/ShellUtil.h"
#include "app/WidgetUtil.h"
#include "widgets/CheckListCombo.h"
#include "app/ufAbout.h"
#include "bitmaps/Bitmaps.h"
#include "widgets/LComboBox.h"
#include "browser/uBackupControl.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/uKeyNav.h"
#include "browser/uPicturePage.h"
#include "browser/udmColumns.h"
#include "decks/ufPakliBong.h"
#include "decks/uDeckText.h"
#include "decks/ufmPakli.h"
#include "decks/uDeckPrint.h"
#include "export/udmExport.h"
#include "filters/uQPList.h"
#include "refdata/ufTulajd.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

TfMain* fMain = nullptr;

namespace {
const int kClientWidth = 780;
const int kClientHeight = 510;
}  // namespace

TfMain::TfMain(const QString& programDir, QWidget* parent)
    : QMainWindow(parent), FSettingsFile(SettingsFileName(programDir))
{
    setObjectName("fMain");
    setWindowTitle(QStringLiteral("Velkor Adatbázis"));
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    BuildActions();
    Backups = new TBackupControl(*this);
    BuildPrintActions();
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildToolRow(central));

    pc = new QTabWidget(central);
    pc->setObjectName("pc");
    pc->setTabPosition(QTabWidget::East);
    ts1 = new TDetailPage(pc);
    ts1->setObjectName("ts1");
    ts2 = new TGridPage(CtrlHeld, pc);
    ts2->setObjectName("ts2");
    ts3 = new TPicturePage(PictureMode, pc);
    ts3->setObjectName("ts3");
    ts3->BindActions({acPicMode1, acPicMode2, acPicMode3, acPicMode4}, acLapSzuresLink);
    GuardedConnect(ts3, &TPicturePage::PictureModeChanged, this, &TfMain::UpdateDeckActions);
    GuardedConnect(ts3, &TPicturePage::LapSzuresClick, this, [this](qint64 id) { LapSzuresClick(id); });
    GuardedConnect(ts3->sbInsLapFilter, &QToolButton::clicked, this, [this] { sbInsLapFilterClick(); });
    pc->addTab(ts1, QStringLiteral("Részlet"));
    pc->addTab(ts2, QStringLiteral("Táblázat"));
    pc->addTab(ts3, QStringLiteral("Kép"));
    pc->setCurrentWidget(ts2);
    column->addWidget(pc, 1);
    pnGridTop = ts2->pnGridTop;
    grQuery = ts2->grQuery;
    lDb = ts2->lDb;

    cbVelkor = ts1->cbVelkor;
    cbLTipus = ts1->cbLTipus;

    pmGrid = new QMenu(this);
    pmGrid->setObjectName("pmGrid");
    pmGrid->addAction(acAddCard);
    pmGrid->addAction(acDelCard);
    pmGrid->addSeparator();
    pmGrid->addAction(acExportExcel);
    pmGrid->addAction(acExportText);
    pmGrid->addAction(acExportClipboard);
    pmGrid->addSeparator();
    pmGrid->addActions({acListPrint, acListPdf});
    grQuery->setContextMenuPolicy(Qt::CustomContextMenu);
    GuardedConnect(grQuery, &QWidget::customContextMenuRequested, this,
                   [this](const QPoint& p) { pmGrid->popup(grQuery->viewport()->mapToGlobal(p)); });

    setCentralWidget(central);
    BuildMenus();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

    GuardedConnect(pc, &QTabWidget::currentChanged, this, [this](int) { pcChange(); });
    GuardedConnect(ts2, &TGridPage::QuickFilterRun, this, [] { AM->ReQuery(); });

    tmrHighLight = new QTimer(this);
    tmrHighLight->setObjectName("tmrHighLight");
    tmrHighLight->setInterval(800);
    GuardedConnect(tmrHighLight, &QTimer::timeout, this, &TfMain::tmrHighLightTimer);
    UpdateCatalogueActions();
}

TfMain::~TfMain()
{
    // The frame reports its closing to this window, which must still be whole then.
    if (TfmPakli* frame = FindDeckFrame()) frame->Release();
    if (AM && AM->Host() == this) AM->SetHost(nullptr);
}

void TfMain::BuildActions()
{
    auto make = [this](QAction*& action, const char* name, const QString& caption, const QString& hint,
                       const QKeySequence& key = QKeySequence()) {
        action = new QAction(caption, this);
        action->setObjectName(name);
        if (!hint.isEmpty()) {
            action->setToolTip(hint);
            action->setStatusTip(hint);
            if (caption.isEmpty()) action->setText(hint);
            action->setIconText(hint);
        }
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        addAction(action);
    };
    make(acNext, "acNext", QString(), QStringLiteral("Következő"), QKeySequence(Qt::Key_F7));
    make(acPrior, "acPrior", QString(), QStringLiteral("Előző"), QKeySequence(Qt::Key_F6));
    make(ac5Next, "ac5Next", QString(), QStringLiteral("Ötöt előre"), QKeySequence(Qt::Key_F8));
    make(ac5Prior, "ac5Prior", QString(), QStringLiteral("Ötöt vissza"), QKeySequence(Qt::Key_F5));
    make(acTs1, "acTs1", QStringLiteral("Szerkesztő nézet"), QString());
    make(acTs2, "acTs2", QStringLiteral("Lista nézet"), QString());
    make(acTs3, "acTs3", QStringLiteral("Kép nézet"), QString());
    make(acLapSzuresLink, "acLapSzuresLink", QStringLiteral("Lapszűrés látható"), QString());
    acLapSzuresLink->setCheckable(true);
    acLapSzuresLink->setChecked(true);
    make(acPicMode1, "acPicMode1", QString(), QStringLiteral("Egy-egy nézet"));
    make(acPicMode2, "acPicMode2", QString(), QStringLiteral("Feles nézet"));
    make(acPicMode3, "acPicMode3", QString(), QStringLiteral("Negyedes nézet"));
    make(acPicMode4, "acPicMode4", QString(), QStringLiteral("Sorozat nézet"));
    make(acFilter, "acFilter", QStringLiteral("Szűrés..."), QStringLiteral("Szűrések"));
    make(acInsertFilter, "acInsertFilter", QStringLiteral("Új szűrés..."), QStringLiteral("Új szűrés"));
    make(acDisableFilter, "acDisableFilter", QStringLiteral("Szűrés kikapcsolása"),
         QStringLiteral("Szűrés kikapcsolása"), QKeySequence(Qt::Key_F12));
    make(acInsertKapcs, "acInsertKapcs", QStringLiteral("Új összetartozó lapok..."), QString());
    make(acDarabFilter, "acDarabFilter", QStringLiteral("Darab szűrés"), QString());
    make(acLeidezesFilter, "acLeidezesFilter", QStringLiteral("Leidézés szűrés"), QString());
    acDarabFilter->setCheckable(true);
    acLeidezesFilter->setCheckable(true);
    make(acNewDeck, "acNewDeck", QStringLiteral("Új pakli..."), QString());
    make(acDeckBrowser, "acDeckBrowser", QStringLiteral("Pakliböngésző"), QString());
    make(acOpenDeck, "acOpenDeck", QStringLiteral("Pakli megnyitása"), QString());
    make(acSaveDeck, "acSaveDeck", QStringLiteral("Pakli mentése"), QString());
    make(acCloseDeck, "acCloseDeck", QStringLiteral("Pakli bezárása"), QString());
    make(acPakliExport, "acPakliExport", QStringLiteral("Pakli exportálás..."), QString());
    make(acImportDeckText, "acImportDeckText", QStringLiteral("Pakli beolvasása vágólapról"), QString());
    make(acAddCard, "acAddCard", QStringLiteral("Paklihoz hozzáadás"), QString(),
         QKeySequence(Qt::CTRL | Qt::Key_Insert));
    make(acDelCard, "acDelCard", QStringLiteral("Pakliból elvétel"), QString(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    // Both keys act; the menus show the plain one.
    acAddCard->setShortcuts({QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    acDelCard->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_Delete)});
    make(acTul, "acTul", QStringLiteral("Egyéb adatok..."), QString());
    make(acDBDelete, "acDBDelete", QStringLiteral("Darabszámok törlése"), QString());
    make(acExportExcel, "acExportExcel", QStringLiteral("Export Excelbe"), QString());
    make(acExportText, "acExportText", QStringLiteral("Export CSV fájlba"), QString());
    make(acExportClipboard, "acExportClipboard", QStringLiteral("Export vágólapra"), QString());
    make(acAbout, "acAbout", QStringLiteral("Névjegy"), QString());
    make(acExit, "acExit", QStringLiteral("&Kilépés"), QString());
    make(acHelp, "Sg2", QStringLiteral("Súgó"), QString());

    // Commands whose windows are not part of the program yet stay visible but disabled.
    for (QAction* later : {acLeidezesFilter,
                           acNewDeck, acDeckBrowser, acSaveDeck, acCloseDeck, acPakliExport, acAddCard, acDelCard})
        later->setEnabled(false);

    GuardedConnect(acNext, &QAction::triggered, this, [this] { acNextExecute(); });
    GuardedConnect(acPrior, &QAction::triggered, this, [this] { acPriorExecute(); });
    GuardedConnect(ac5Next, &QAction::triggered, this, [this] { ac5NextExecute(); });
    GuardedConnect(ac5Prior, &QAction::triggered, this, [this] { ac5PriorExecute(); });
    GuardedConnect(acTs1, &QAction::triggered, this, [this] { acTs1Execute(); });
    GuardedConnect(acTs2, &QAction::triggered, this, [this] { acTs2Execute(); });
    GuardedConnect(acTs3, &QAction::triggered, this, [this] { acTs3Execute(); });
    GuardedConnect(acAbout, &QAction::triggered, this, [this] { acAboutExecute(); });
    GuardedConnect(acHelp, &QAction::triggered, this, [this] { Sg2Click(); });
    GuardedConnect(acDBDelete, &QAction::triggered, this, [this] { ts1->acDBDeleteExecute(); });
    GuardedConnect(acTul, &QAction::triggered, this, [this] { acTulExecute(); });
    GuardedConnect(acExit, &QAction::triggered, this, [this] { close(); });
    GuardedConnect(acSaveDeck, &QAction::triggered, this, [this] { acSaveDeckExecute(); });
    GuardedConnect(acCloseDeck, &QAction::triggered, this, [this] { acCloseDeckExecute(); });
    GuardedConnect(acPakliExport, &QAction::triggered, this, [this] {
        if (TfmPakli* frame = FindDeckFrame()) frame->ExportDeckHtml();
    });
    GuardedConnect(acDisableFilter, &QAction::triggered, this, [this] { acDisableFilterExecute(); });
    GuardedConnect(acFilter, &QAction::triggered, this, [this] { acFilterExecute(); });
    GuardedConnect(acInsertFilter, &QAction::triggered, this, [this] { acInsertFilterExecute(); });
    GuardedConnect(acInsertKapcs, &QAction::triggered, this, [this] { acInsertKapcsExecute(); });
    GuardedConnect(acLapSzuresLink, &QAction::triggered, this, [this] { acLapSzuresLinkExecute(); });
    GuardedConnect(acDarabFilter, &QAction::triggered, this, [this] { acDarabFilterExecute(); });
    GuardedConnect(acLeidezesFilter, &QAction::triggered, this, [this] { acLeidezesFilterExecute(); });
    GuardedConnect(acAddCard, &QAction::triggered, this, [this] { acAddCardExecute(); });
    GuardedConnect(acDelCard, &QAction::triggered, this, [this] { acDelCardExecute(); });
    const TOpenDeck openDeck = [this](qint64 deckId) { OpenDeck(deckId); };
    GuardedConnect(acNewDeck, &QAction::triggered, this,
                   [this, openDeck] { ShowNewDeckWizard(this, *AM, PictureFolder(), openDeck); });
    for (QAction* browse : {acDeckBrowser, acOpenDeck})
        GuardedConnect(browse, &QAction::triggered, this,
                       [this, openDeck] { ShowDeckBrowser(this, *AM, PictureFolder(), openDeck); });
    GuardedConnect(acExportExcel, &QAction::triggered, this, [this] { dmExport->acExportExcelExecute(AM->qLapok, grQuery); });
    GuardedConnect(acExportText, &QAction::triggered, this, [this] { dmExport->acExportTextExecute(AM->qLapok, grQuery); });
    GuardedConnect(acExportClipboard, &QAction::triggered, this,
                   [this] { dmExport->acExportClipboardExecute(AM->qLapok, grQuery); });
    GuardedConnect(acImportDeckText, &QAction::triggered, this, [this] { acImportDeckTextExecute(); });
    FWiredDeckActions = {acNewDeck,   acDeckBrowser, acSaveDeck, acCloseDeck, acPakliExport,
                         acAddCard,   acDelCard,     acImportDeckText};
}

void TfMain::AssignMenuMnemonics() { AssignMnemonics(menuBar()); }

void TfMain::BuildMenus()
{
    QMenu* data = menuBar()->addMenu(QStringLiteral("Adatok"));
    QMenu* exportMenu = data->addMenu(QStringLiteral("Export"));
    exportMenu->addActions({acExportExcel, acExportText, acExportClipboard});
    data->addActions({acListPrint, acListPdf});
    data->addAction(acTul);
    AddCollectionCommand(this, data);  // "Gyűjtemény..."
    data->addAction(acDBDelete);
    Backups->AddMenuItems(data);
    data->addSeparator();
    data->addAction(acExit);

    QMenu* view = menuBar()->addMenu(QStringLiteral("Nézet"));
    view->addActions({acTs1, acTs2, acTs3});
    view->addSeparator();
    view->addAction(acLapSzuresLink);
    acTsPakli = AddPageKeys(this, view);  // page keys and the deck page's item

    QMenu* filter = menuBar()->addMenu(QStringLiteral("Szűrés"));
    filter->addActions({acFilter, acInsertFilter, acInsertKapcs, acDisableFilter});
    filter->addSeparator();
    filter->addAction(acKereses);  // Ctrl+F, shown where a player looks for it
    filter->addSeparator();
    filter->addActions({acDarabFilter, acLeidezesFilter});

    QMenu* deck = menuBar()->addMenu(QStringLiteral("Pakli"));
    deck->addActions({acNewDeck, acDeckBrowser, acSaveDeck, acCloseDeck});
    deck->addSeparator();
    deck->addAction(acPakliExport);
    deck->addActions({acPakliPrint, acPakliPdf});
    deck->addSeparator();
    deck->addActions({acAddCard, acDelCard});
    deck->addSeparator();
    deck->addAction(acImportDeckText);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Súgó"));
    help->addActions({acHelp, acAbout});
}

QWidget* TfMain::BuildToolRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    row->setObjectName("pnTool");
    row->setFixedHeight(28);
    auto* tools = new QHBoxLayout(row);
    tools->setContentsMargins(4, 2, 4, 2);
    tools->setSpacing(4);
    auto* lUgras = new QLabel(QStringLiteral("&Ugrás"), row);
    tools->addWidget(lUgras);
    eUgrLSZ = new QLineEdit(row);
    lUgras->setBuddy(eUgrLSZ);
    eUgrLSZ->setObjectName("eUgrLSZ");
    eUgrLSZ->setMaxLength(3);
    eUgrLSZ->setFixedWidth(36);
    eUgrLSZ->setToolTip(QStringLiteral("Lapszám"));
    eUgrLSZ->installEventFilter(this);
    tools->addWidget(eUgrLSZ);
    eUgrNev = new QLineEdit(row);
    eUgrNev->setObjectName("eUgrNev");
    eUgrNev->setMaxLength(60);
    eUgrNev->setFixedWidth(100);
    eUgrNev->setToolTip(QStringLiteral("Lapnév eleje"));
    eUgrNev->setAccessibleName(eUgrNev->toolTip());
    eUgrNev->installEventFilter(this);
    tools->addWidget(eUgrNev);
    tools->addSpacing(8);
    auto* lSzures = new QLabel(QStringLiteral("Sz&űrés"), row);
    tools->addWidget(lSzures);
    cbFilter = new TCheckListCombo(row);
    lSzures->setBuddy(cbFilter);
    cbFilter->setObjectName("cbFilter");
    cbFilter->setFixedWidth(170);
    GuardedConnect(cbFilter, &TCheckListCombo::CheckedTextChanged, this, [this] { cbFilterChange(); });
    tools->addWidget(cbFilter);
    auto button = [&](QAction* action, QStyle::StandardPixmap icon) {
        action->setIcon(style()->standardIcon(icon));
        auto* b = new QToolButton(row);
        b->setDefaultAction(action);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setIconSize(QSize(16, 16));
        tools->addWidget(b);
    };
    button(acFilter, QStyle::SP_FileDialogContentsView);
    button(acInsertFilter, QStyle::SP_FileDialogNewFolder);
    button(acDisableFilter, QStyle::SP_DialogCancelButton);
    auto* sep = new QFrame(row);
    sep->setFrameShape(QFrame::VLine);
    sep->setFrameShadow(QFrame::Sunken);
    tools->addWidget(sep);
    button(ac5Prior, QStyle::SP_MediaSeekBackward);
    button(acPrior, QStyle::SP_ArrowLeft);
    button(acNext, QStyle::SP_ArrowRight);
    button(ac5Next, QStyle::SP_MediaSeekForward);
    tools->addWidget(BuildSearchBox(row), 1);
    return row;
}

void TfMain::UpdateCatalogueActions()
{
    for (QAction* a : {acNext, acPrior, ac5Next, ac5Prior, acDBDelete, acTul, acDisableFilter, acDarabFilter,
                       acExportExcel, acExportText, acExportClipboard, acFilter, acInsertFilter, acInsertKapcs,
                       acListPrint, acListPdf})
        a->setEnabled(FConnected);
    cbFilter->setEnabled(FConnected);
    ts3->sbInsLapFilter->setEnabled(FConnected);
    eUgrLSZ->setEnabled(FConnected);
    eUgrNev->setEnabled(FConnected);
    Backups->UpdateActions(FConnected);
}

void TfMain::FormCreate()
{
    CtrlHeld = false;
    SummaryStale = false;
    ReadSettings(FSettingsFile, Settings, *dmColumns);
    SetLastSaveFolder(Settings.LastFolder);
    AM->SetHost(this);
    // A failure is reported; the window stays usable without a catalogue, placed as usual.
    const bool opened = Backups->OpenAtStart();
    CenterOnScreen(this, 12);
    if (!opened) return;
    OpenCardList();
    Backups->Started();
}

void TfMain::OpenCardList()
{
    FConnected = true;
    ts2->Bind(&AM->qLapok);
    // Once: a catalogue opened again later keeps the same card list.
    if (!FCardListHooked) GuardedConnect(&AM->qLapok, &TQuery::DataChange, this, &TfMain::LAPOK_DATACHANGE);
    FCardListHooked = true;
    ts3->CreateCache(Settings.GfxPath, Settings.CacheSize);
    FillLookupCombos();
    FillFilterCombo();
    SetUpSearch();
    PictureMode = 0;
    RefreshGrid();
    // The picture mode of the last run, drawn when its page is first shown.
    ts3->RestorePictureMode(Settings.PictureMode);
    UpdateDeckActions();
    pc->setCurrentWidget(ts2);
    DeckSummoningTech.clear();
    DeckOpen = false;
    UpdateCatalogueActions();
    UpdateDeckActions();
}

void TfMain::CatalogueReplaced()
{
    if (!FConnected) {
        if (AM->Connected()) OpenCardList();
        return;
    }
    if (!AM->Connected()) {
        FConnected = false;
        AM->qLapok.Close();
        UpdateCatalogueActions();
        UpdateDeckActions();
        return;
    }
    // Stored filters and lookups belong to the catalogue: nothing of the previous one stays checked.
    ClearFilters();
    FillLookupCombos();
    FillFilterCombo();
    ts3->CreateCache(Settings.GfxPath, Settings.CacheSize);
    RefreshGrid();
    AM->qLapok.First();
    pc->setCurrentWidget(ts2);
    UpdateDeckActions();
}

bool TfMain::QueryAndCloseDeck()
{
    // The detail page's unsaved edits belong to this catalogue: settled before it is replaced.
    if (FConnected && !ts1->MayLeaveCard(false)) return false;
    if (!QueryCloseDeck()) return false;
    CloseDeck();
    return true;
}

bool TfMain::FormClose()
{
    if (FClosed) return true;
    FClosed = true;
    if (FConnected) Settings.PictureMode = PictureMode;
    Settings.LastFolder = LastSaveFolder();
    QString why;
    if (!WriteSettings(FSettingsFile, Settings, *dmColumns, &why)) {
        ShowWarning(why);
        return false;
    }
    return true;
}

void TfMain::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    Guarded([&] { mayClose = (!FConnected || ts1->MayLeaveCard(false)) && QueryCloseDeck(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    Guarded([this] { FormClose(); });
    event->accept();
}

void TfMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Guarded([this] { UpdateDeckActions(); });
}

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    // While a deck action is enabled, its Ctrl key wins over what the focused control would do with
    // it (the grid's and the text boxes' copy, a word deleted). Plain Insert and Delete stay with the
    // text boxes. Watched on the application only while a deck is open.
    if (event->type() == QEvent::ShortcutOverride && DeckOpen) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        if (widget && widget->window() == this && (key->modifiers() & Qt::ControlModifier))
            for (QAction* a : {acAddCard, acDelCard})
                if (a->isEnabled() && a->shortcuts().contains(pressed)) return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == eUgrLSZ || watched == eUgrNev)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded([&] { watched == eUgrLSZ ? eUgrLSZEnter() : eUgrNevEnter(); });
            return true;  // consumed: no further handling, no beep
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfMain::RebuildQuickSearchPieces()
{
    if (!QPList) return;
    ::RebuildQuickSearchPieces(*QPList, ts2->QuickFilterTexts(),
                               [](const QString& field) { return IsIntegerColumn(AM->qLapok, field); });
}

QString TfMain::CardListOrderBy() { return dmColumns->BuildOrderBy(); }

void TfMain::SetCardCountCaption(const QString& caption) { lDb->setText(caption); }

void TfMain::ShowError(const QString& context, const QString& message) { ShowErrorDialog(context, message); }

void TfMain::ShowPlainError(const QString& message) { ShowErrorMessage(message); }

void TfMain::LAPOK_DATACHANGE()
{
    ts2->FollowCardList();
    CurrentCardChanged();
}

void TfMain::CurrentCardChanged()
{
    // The table follows the card list by itself; the detail page is filled by code.
    if (pc->currentWidget() == ts1 && FConnected) {
        // Typed but unsaved edits are never overwritten by the next card without a question.
        if (!ts1->MayLeaveCard(true)) return;
        ts1->RefreshDetailPage(AM->qLapok.Active() ? AM->qLapok.FieldByName("L_LAPTIPUS").AsString() : QString());
    }
    else if (pc->currentWidget() == ts3 && PictureMode == pmSingle)
        ts3->DrawPictureView();
}

void TfMain::pcChange()
{
    QWidget* left = std::exchange(FShownPage, pc->currentWidget());
    if (left == ts1 && pc->currentWidget() != ts1 && FConnected && !ts1->MayLeaveCard(false)) {
        // Mégse: back to the edits (the switch back comes here again and asks nothing).
        pc->setCurrentWidget(ts1);
        return;
    }
    if (pc->currentWidget() == ts3) ts3->SetPictureLayout();
    if (pc->tabText(pc->currentIndex()) == QStringLiteral("Pakli") && SummaryStale)
        if (TfmPakli* frame = FindDeckFrame()) frame->DrawSummary();
    CurrentCardChanged();
    UpdateDeckActions();
}

void TfMain::FillLookupCombos()
{
    const TUpdatesSuspended held{cbVelkor, cbLTipus};
    cbVelkor->Clear();
    cbLTipus->Clear();
    TQuery& q = AM->qTemp;
    q.Close();
    q.SetSQL("SELECT VELKOR_ID, VELKOR_NEV FROM TVELKOR ORDER BY VELKOR_ID");
    q.Open();
    for (int r = 0; r < q.RecordCount(); ++r) cbVelkor->AddKeyed(q.ValueText(r, 0), q.ValueText(r, 1));
    q.Close();
    q.SetSQL("SELECT LAPTIPUS_ID, LAPTIPUS_NEV FROM TLAPTIPUS ORDER BY LAPTIPUS_ID");
    q.Open();
    for (int r = 0; r < q.RecordCount(); ++r) cbLTipus->AddKeyed(q.ValueText(r, 0), q.ValueText(r, 1));
    q.Close();
}

void TfMain::acTulExecute()
{
    if (!FConnected || !ShowTulajdEditor(this)) return;
    // New and renamed pantheons and card types show at once; the detail page keeps its choice.
    const QString velkor = cbVelkor->SelectedKey();
    const QString tipus = cbLTipus->SelectedKey();
    FillLookupCombos();
    // New and renamed properties and categories are offered in the filter combo too.
    FillFilterCombo();
    cbVelkor->SelectByKey(velkor);
    cbLTipus->SelectByKey(tipus);
    TQuery& cards = AM->qLapok;
    const qint64 card = cards.IsEmpty() ? -1 : cards.FieldByName("L_ID").AsLargeInt();
    cards.DisableControls();
    const auto enable = qScopeGuard([&cards] { cards.EnableControls(); });
    cards.Close();
    cards.Open();
    if (card >= 0) cards.Locate("L_ID", card);
}

void TfMain::RebuildGridColumns() { ts2->RebuildGridColumns(); }

void TfMain::RefreshGrid()
{
    if (!FConnected) return;
    ts2->RefreshGrid();
}

void TfMain::acNextExecute()
{
    if (FConnected) AM->qLapok.Next();
}

void TfMain::acPriorExecute()
{
    if (FConnected) AM->qLapok.Prior();
}

void TfMain::ac5NextExecute()
{
    if (FConnected) AM->qLapok.MoveBy(5);
}

void TfMain::ac5PriorExecute()
{
    if (FConnected) AM->qLapok.MoveBy(-5);
}

void TfMain::acTs1Execute() { pc->setCurrentWidget(ts1); }

void TfMain::acTs2Execute()
{
    if (pc->currentWidget() != ts2) pc->setCurrentWidget(ts2);
    else pcChange();
    RebuildGridColumns();
}

void TfMain::acTs3Execute() { pc->setCurrentWidget(ts3); }

void TfMain::eUgrLSZEnter()
{
    if (!FConnected) return;
    QString number = eUgrLSZ->text();
    if (number.size() == 2) number = u'0' + number;
    else if (number.size() == 1) number = QStringLiteral("00") + number;
    eUgrLSZ->setText(number);
    AM->qLapok.Locate("L_LAPSZAM", number);
    eUgrNev->setText(AM->qLapok.Active() ? AM->qLapok.FieldByName("L_NEV").AsString() : QString());
    eUgrNev->setCursorPosition(0);  // a long name shows its beginning
}

void TfMain::eUgrNevEnter()
{
    if (!FConnected) return;
    AM->qLapok.Locate("L_NEV", eUgrNev->text(), loCaseInsensitive | loPartialKey);
    eUgrLSZ->setText(AM->qLapok.Active() ? AM->qLapok.FieldByName("L_LAPSZAM").AsString() : QString());
}

void TfMain::acAboutExecute() { ShowAboutBox(this); }

void TfMain::Sg2Click() { OpenHelpPage(); }

// ---------------------------------------------------------------------------------------------
// The open deck

void TfMain::OpenDeck(qint64 deckId)
{
    if (!FConnected) return;
    if (FindDeckFrame()) {
        ShowWarning(QStringLiteral("Egyszerre csak egy pakli lehet nyitva. Kérem, előbb zárja be a nyitott paklit."));
        return;
    }
    auto* page = new QWidget(pc);
    page->setObjectName("tsPakli");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* frame = new TfmPakli(this, AM->ADOConnection, page);
    layout->addWidget(frame);
    // The deck's undo keys work on every page, not only while the deck page shows.
    addActions({frame->acUndo, frame->acRedo});
    pc->addTab(page, QStringLiteral("Pakli"));
    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Id = decltype(pars.Id)(deckId);
    pars.Mode = fmEdit;
    try {
        frame->LoadDeck(pars);
    } catch (...) {
        // No half-loaded deck stays behind.
        frame->Release();
        pc->removeTab(pc->indexOf(page));
        delete page;
        UpdateDeckActions();
        throw;
    }
    pc->setCurrentWidget(page);
    UpdateDeckActions();
}

TfmPakli* TfMain::FindDeckFrame() const
{
    for (int i = 0; i < pc->count(); ++i)
        if (auto* frame = pc->widget(i)->findChild<TfmPakli*>(QString(), Qt::FindDirectChildrenOnly)) return frame;
    return nullptr;
}

void TfMain::UpdateDeckActions()
{
    TfmPakli* frame = FindDeckFrame();
    QWidget* page = pc->currentWidget();
    const bool cardView = page == ts2 || (page == ts3 && PictureMode == 0);
    // An action whose window is not part of the program yet stays disabled, never silently dead.
    auto set = [this](QAction* a, bool on) { a->setEnabled(on && FWiredDeckActions.contains(a)); };
    for (QAction* a : {acAddCard, acDelCard}) set(a, FConnected && DeckOpen && cardView);
    for (QAction* a : {acNewDeck, acDeckBrowser, acImportDeckText}) set(a, FConnected && !frame);
    for (QAction* a : {acSaveDeck, acCloseDeck, acPakliExport}) set(a, frame != nullptr);
    for (QAction* a : {acPakliPrint, acPakliPdf}) a->setEnabled(frame != nullptr);
    if (acTsPakli) acTsPakli->setVisible(frame != nullptr);
}

void TfMain::CloseDeck()
{
    TfmPakli* frame = FindDeckFrame();
    if (!frame) return;
    QWidget* page = frame->parentWidget();
    frame->Release();
    pc->removeTab(pc->indexOf(page));
    // The running handler may come from the frame's own menu.
    page->deleteLater();
    pc->setCurrentWidget(ts2);
    UpdateDeckActions();
}

bool TfMain::QueryCloseDeck()
{
    TfmPakli* frame = FindDeckFrame();
    if (!frame || !frame->IsModified()) return true;
    switch (AskYesNoCancel(QStringLiteral("A pakli a legutóbbi mentés óta megváltozott. Menti a változásokat?"))) {
    case TYesNoCancel::Yes: return frame->SaveDeck();
    case TYesNoCancel::No: return true;
    case TYesNoCancel::Cancel: return false;
    }
    return false;
}

void TfMain::acSaveDeckExecute()
{
    TfmPakli* frame = FindDeckFrame();
    if (!frame || pc->currentWidget() != frame->parentWidget()) return;
    if (frame->SaveDeck()) CloseDeck();
}

void TfMain::acCloseDeckExecute()
{
    TfmPakli* frame = FindDeckFrame();
    if (!frame || pc->currentWidget() != frame->parentWidget()) return;
    if (QueryCloseDeck()) CloseDeck();
}

void TfMain::acAddCardExecute()
{
    TfmPakli* frame = FindDeckFrame();
    if (!frame) {
        ShowInfo(QStringLiteral("Kérem előbb nyisson egy új paklit!"));
        return;
    }
    if (AM->qLapok.Active() && !AM->qLapok.IsEmpty()) frame->AddCardToDeck(AM->qLapok.FieldByName("L_ID").AsLargeInt());
}

void TfMain::acImportDeckTextExecute()
{
    // One deck open at a time; the action is disabled while one is.
    if (FindDeckFrame() || !FConnected) return;
    const QString text = QGuiApplication::clipboard()->text();
    if (const std::optional<qint64> id = ImportDeckText(AM->ADOConnection, text)) OpenDeck(*id);
}

void TfMain::acDelCardExecute()
{
    TfmPakli* frame = FindDeckFrame();
    if (!frame) {
        ShowInfo(QStringLiteral("Kérem előbb nyisson egy új paklit!"));
        return;
    }
    if (AM->qLapok.Active() && !AM->qLapok.IsEmpty())
        frame->RemoveCardFromDeck(AM->qLapok.FieldByName("L_ID").AsLargeInt());
}

void TfMain::FlashDeckTab(QWidget* deckPage, int kind)
{
    const int index = pc->indexOf(deckPage);
    if (index < 0) return;
    const QImage mark = BuiltinTransparentBitmap(kind == 0 ? QStringLiteral("TAB_MARK_1") : QStringLiteral("TAB_MARK_2"));
    pc->setTabIcon(index, QIcon(QPixmap::fromImage(mark)));
    if (!tmrHighLight->isActive()) tmrHighLight->start();
}

void TfMain::tmrHighLightTimer()
{
    tmrHighLight->stop();
    for (int i = 0; i < pc->count(); ++i)
        if (pc->widget(i)->findChild<TfmPakli*>(QString(), Qt::FindDirectChildrenOnly)) {
            pc->setTabIcon(i, QIcon());
            break;
        }
}

QString TfMain::PictureFolder() const { return Settings.GfxPath; }

QList<QAction*> TfMain::DeckMenuActions() const
{
    return {acSaveDeck, nullptr, acDarabFilter, acLeidezesFilter, nullptr, acPakliExport, acPakliPrint, acPakliPdf, acCloseDeck};
}

void TfMain::SetDeckSummoningTech(const QString& code) { DeckSummoningTech = code; }

void TfMain::DeckLoaded()
{
    acLeidezesFilter->setEnabled(true);
    DeckOpen = true;
    qApp->installEventFilter(this);
    UpdateDeckActions();
}

void TfMain::DeckClosed()
{
    acLeidezesFilter->setEnabled(false);
    DeckOpen = false;
    qApp->removeEventFilter(this);
    UpdateDeckActions();
}
