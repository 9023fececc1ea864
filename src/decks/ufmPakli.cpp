#include "decks/ufmPakli.h"
#include "app/ReadableColor.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "bitmaps/Bitmaps.h"
#include "decks/uCardLists.h"
#include "decks/uDeckHost.h"
#include "decks/uDeckModel.h"
#include "decks/uDeckCharts.h"
#include "decks/uDeckOdds.h"
#include "decks/uDeckSummary.h"
#include "decks/uDeckText.h"
#include "decks/uGodPicture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor kCream(255, 251, 240);
const QColor kActiveCaption(0, 84, 227);

QFont ArialPx(int pixels, bool bold = false, bool italic = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Tabs of one width, wider only where a caption would otherwise be cut.
class TFixedTabBar : public QTabBar {
public:
    TFixedTabBar(int width, QWidget* parent) : QTabBar(parent), FWidth(width) {}

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize s = QTabBar::tabSizeHint(index);
        s.setWidth(std::max(FWidth, s.width()));
        return s;
    }

private:
    int FWidth;
};

class TFixedTabWidget : public QTabWidget {
public:
    TFixedTabWidget(int tabWidth, QWidget* parent) : QTabWidget(parent)
    {
        setTabBar(new TFixedTabBar(tabWidth, this));
    }
};

// The decorative picture at the right of the header: a strip of the background tile.
QImage HeaderDecoration()
{
    const QImage tile = BuiltinBitmap(QStringLiteral("BACK_02"));
    QImage out(110, 40, QImage::Format_RGB32);
    out.fill(QColor(240, 236, 224));
    if (tile.isNull()) return out;
    QPainter p(&out);
    p.drawImage(0, 0, tile, 70, 56, 110, 40);
    return out;
}

QString NormalizedLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

}  // namespace

TfmPakli::TfmPakli(TDeckHost* host, TConnection& connection, QWidget* parent)
    : QWidget(parent), FHost(host), FStore(connection), FOwned(std::make_unique<TOwnedCounts>(connection))
{
    setObjectName("fmPakli");
    InitFormOpenPars(FPars);
    FUndo = new QUndoStack(this);
    // The items name the change they undo or redo: "Visszavonás: hozzáadás: (167) ...".
    acUndo = new QAction(QStringLiteral("Visszavonás"), this);
    acUndo->setObjectName("acUndo");
    acUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    acUndo->setEnabled(false);
    acRedo = new QAction(QStringLiteral("Mégis"), this);
    acRedo->setObjectName("acRedo");
    acRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    acRedo->setEnabled(false);
    GuardedConnect(acUndo, &QAction::triggered, this, [this] { FUndo->undo(); });
    GuardedConnect(acRedo, &QAction::triggered, this, [this] { FUndo->redo(); });
    connect(FUndo, &QUndoStack::canUndoChanged, acUndo, &QAction::setEnabled);
    connect(FUndo, &QUndoStack::canRedoChanged, acRedo, &QAction::setEnabled);
    connect(FUndo, &QUndoStack::undoTextChanged, acUndo, [this](const QString& text) {
        acUndo->setText(text.isEmpty() ? QStringLiteral("Visszavonás") : QStringLiteral("Visszavonás: ") + text);
    });
    connect(FUndo, &QUndoStack::redoTextChanged, acRedo, [this](const QString& text) {
        acRedo->setText(text.isEmpty() ? QStringLiteral("Mégis") : QStringLiteral("Mégis: ") + text);
    });
    // Adds come from the main window's views too: the keys work anywhere in its window.
    for (QAction* a : {acUndo, acRedo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    const char* icons[] = {"IKON_V", "IKON_M", "IKON_H", "IKON_I", "IKON_B"};
    for (size_t i = 0; i < FPathIcons.size(); ++i) FPathIcons[i] = BuiltinTransparentBitmap(QString::fromLatin1(icons[i]));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildHeader());

    pcPakli = new TFixedTabWidget(100, this);
    pcPakli->setObjectName("pcPakli");
    tsSzerk = BuildQuickEditor();
    tsMegj = BuildDescriptionPage();
    tsOsszesites = new QWidget(pcPakli);
    tsOsszesites->setObjectName("tsOsszesites");
    Summary = new TDeckSummary(tsOsszesites, FPathIcons);
    GuardedConnect(Summary->cbReszl, &QCheckBox::clicked, this, [this] { cbReszlClick(); });
    pcPakli->addTab(tsSzerk, QStringLiteral("Gyorsszerkesztő"));
    pcPakli->addTab(tsMegj, QStringLiteral("Leírás"));
    pcPakli->addTab(tsOsszesites, QStringLiteral("Összesítés"));
    Charts = new TDeckCharts(pcPakli);
    pcPakli->addTab(Charts, QStringLiteral("Grafikon"));
    Charts->SetOpeningHand(FHost ? FHost->OpeningHandSize() : OpeningHandDefault);
    GuardedConnect(Charts, &TDeckCharts::OpeningHandChanged, this, [this](int hand) {
        if (FHost) FHost->SetOpeningHandSize(hand);
    });
    column->addWidget(pcPakli, 1);
    GuardedConnect(pcPakli, &QTabWidget::currentChanged, this, [this](int) { pcPakliChange(); });
}

TfmPakli::~TfmPakli()
{
    Release();
    // The models read the table and the card query; let the views drop them first.
    grPakli->setModel(nullptr);
}

void TfmPakli::Release()
{
    TDeckHost* host = FHost;
    FHost = nullptr;
    if (host) host->DeckClosed();
}

QWidget* TfmPakli::BuildHeader()
{
    pnTop = new QWidget(this);
    pnTop->setObjectName("pnTop");
    pnTop->setFixedHeight(42);
    pnTop->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(pnTop);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(6);

    imGfx1 = new QLabel(pnTop);
    imGfx1->setObjectName("imGfx1");
    imGfx1->setFixedSize(GOD_PICTURE_WIDTH, GOD_PICTURE_HEIGHT);
    imGfx1->setAlignment(Qt::AlignCenter);
    row->addWidget(imGfx1);

    // The name in black over the same text in grey, 2 pixels right and down: a shadow.
    auto* name = new QWidget(pnTop);
    name->setObjectName("pnFoisten");
    name->setFixedHeight(GOD_PICTURE_HEIGHT);
    lFoisten2 = new QLabel(name);
    lFoisten2->setObjectName("lFoisten2");
    lFoisten = new QLabel(name);
    lFoisten->setObjectName("lFoisten");
    for (QLabel* l : {lFoisten, lFoisten2}) {
        l->setFont(ArialPx(19, true, true));
        l->setTextFormat(Qt::PlainText);
    }
    // On a dark desktop the name turns light and its shadow darker than the panel, so it still reads.
    const QColor panel = pnTop->palette().color(pnTop->backgroundRole());
    const bool darkPanel = ContrastRatio(Qt::white, panel) > ContrastRatio(Qt::black, panel);
    SetReadableTextColor(lFoisten, Qt::black);
    QPalette grey = lFoisten2->palette();
    grey.setColor(QPalette::WindowText, darkPanel ? panel.darker(200) : QColor(160, 160, 160));
    lFoisten2->setPalette(grey);
    lFoisten->move(0, 8);
    lFoisten2->move(2, 10);
    row->addWidget(name, 1);

    sbPakliMenu = new QToolButton(pnTop);
    sbPakliMenu->setObjectName("sbPakliMenu");
    sbPakliMenu->setText(QStringLiteral("Menü"));
    sbPakliMenu->setPopupMode(QToolButton::InstantPopup);
    sbPakliMenu->setToolButtonStyle(Qt::ToolButtonTextOnly);
    sbPakliMenu->setFixedHeight(24);
    pmPakli = new QMenu(this);
    pmPakli->setObjectName("pmPakli");
    if (FHost)
        for (QAction* a : FHost->DeckMenuActions()) {
            if (a) pmPakli->addAction(a);
            else pmPakli->addSeparator();
        }
    pmPakli->addSeparator();
    pmPakli->addAction(acUndo);
    pmPakli->addAction(acRedo);
    pmPakli->addSeparator();
    GuardedConnect(pmPakli->addAction(QStringLiteral("Pakli vágólapra szövegként")), &QAction::triggered, this,
                   [this] { CopyDeckAsText(); });
    GuardedConnect(pmPakli->addAction(QStringLiteral("Hiányzó lapok vágólapra")), &QAction::triggered, this,
                   [this] { CopyMissingCards(); });
    sbPakliMenu->setMenu(pmPakli);
    row->addWidget(sbPakliMenu, 0, Qt::AlignVCenter);

    auto* totals = new QVBoxLayout;
    totals->setSpacing(0);
    lLapszam = new QLabel(pnTop);
    lLapszam->setObjectName("lLapszam");
    lHatalom = new QLabel(pnTop);
    lHatalom->setObjectName("lHatalom");
    for (QLabel* l : {lLapszam, lHatalom}) {
        l->setFont(ArialPx(12, true));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(110);
        totals->addWidget(l);
    }
    row->addLayout(totals);

    lHianyzo = new QLabel(pnTop);
    lHianyzo->setObjectName("lHianyzo");
    lHianyzo->setFont(ArialPx(12, true));
    SetReadableTextColor(lHianyzo, QColor(200, 0, 0));
    lHianyzo->hide();
    row->insertWidget(row->indexOf(sbPakliMenu), lHianyzo, 0, Qt::AlignVCenter);

    imGfx2 = new QLabel(pnTop);
    imGfx2->setObjectName("imGfx2");
    const QImage decoration = HeaderDecoration();
    imGfx2->setPixmap(QPixmap::fromImage(decoration));
    imGfx2->setFixedSize(decoration.size());
    row->addWidget(imGfx2);

    lPakliNev = new QLabel(pnTop);
    lPakliNev->setObjectName("lPakliNev");
    lPakliNev->setTextFormat(Qt::PlainText);
    lPakliNev->setFont(ArialPx(13, true));
    lPakliNev->setMinimumWidth(60);
    lPakliNev->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->setStretchFactor(name, 0);
    row->insertWidget(row->indexOf(name) + 1, lPakliNev, 1, Qt::AlignVCenter);
    return pnTop;
}

QWidget* TfmPakli::BuildQuickEditor()
{
    auto* page = new QWidget(this);
    page->setObjectName("tsSzerk");
    page->setFont(ArialPx(12));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);

    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    auto* caption = new QLabel(QStringLiteral("Lap keresése (szürke '+' hozzáad, szürke '-' elvesz)"), page);
    caption->setObjectName("lLapKeres");
    left->addWidget(caption);
    auto* search = new QHBoxLayout;
    cbLapKeres = new QComboBox(page);
    cbLapKeres->setObjectName("cbLapKeres");
    cbLapKeres->setAccessibleName(QStringLiteral("Lap keresése"));
    cbLapKeres->setEditable(true);
    cbLapKeres->setInsertPolicy(QComboBox::NoInsert);
    cbLapKeres->setCompleter(nullptr);  // completion is ours: first match in list order, every letter
    cbLapKeres->setMaxVisibleItems(16);
    // A catalogue may hold 100,000 names: never measure them all for the box's width.
    cbLapKeres->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbLapKeres->setMinimumContentsLength(24);
    FNameModel = new TCardNameListModel(this);
    cbLapKeres->setModel(FNameModel);
    if (auto* view = qobject_cast<QListView*>(cbLapKeres->view())) view->setUniformItemSizes(true);
    QPalette cream = cbLapKeres->palette();
    // A fixed light background needs its fixed dark text too, or a dark desktop types invisibly.
    cream.setColor(QPalette::Base, kCream);
    cream.setColor(QPalette::Text, Qt::black);
    cream.setColor(QPalette::PlaceholderText, QColor(110, 110, 110));
    cbLapKeres->setPalette(cream);
    cbLapKeres->lineEdit()->setPalette(cream);
    cbLapKeres->view()->setPalette(cream);
    cbLapKeres->setCurrentIndex(-1);
    cbLapKeres->installEventFilter(this);
    cbLapKeres->lineEdit()->installEventFilter(this);
    GuardedConnect(cbLapKeres->lineEdit(), &QLineEdit::textEdited, this,
                   [this](const QString& text) { cbLapKeresChange(text); });
    search->addWidget(cbLapKeres, 1);
    btnAdd = new QPushButton(QStringLiteral("Hozzáad"), page);
    btnAdd->setObjectName("btnAdd");
    GuardedConnect(btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
    search->addWidget(btnAdd);
    left->addLayout(search);

    lbOsszlap = new QListView(page);
    lbOsszlap->setObjectName("lbOsszlap");
    lbOsszlap->setAccessibleName(QStringLiteral("Lapszámok"));
    lbOsszlap->setUniformItemSizes(true);
    lbOsszlap->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FNumberModel = new TCardNumberListModel(this);
    lbOsszlap->setModel(FNumberModel);
    left->addWidget(lbOsszlap, 1);
    row->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    lPakliCim = new QLabel(QStringLiteral("A pakli"), page);
    lPakliCim->setObjectName("lPakliCim");
    lPakliCim->setFont(ArialPx(12, true));
    lPakliCim->setAutoFillBackground(true);
    lPakliCim->setContentsMargins(4, 2, 4, 2);
    QPalette title = lPakliCim->palette();
    title.setColor(QPalette::Window, kActiveCaption);
    title.setColor(QPalette::WindowText, Qt::white);
    lPakliCim->setPalette(title);
    right->addWidget(lPakliCim);

    grPakli = new QTableView(page);
    grPakli->setObjectName("grPakli");
    grPakli->setTabKeyNavigation(false);  // arrows move between cells; Tab leaves for the next control
    grPakli->setAccessibleName(QStringLiteral("A pakli lapjai"));
    FDeckModel = new TDeckModel(mdPakli, this);
    grPakli->setModel(FDeckModel);
    grPakli->setItemDelegate(new TDeckRowDelegate(grPakli));
    grPakli->horizontalHeader()->hide();
    grPakli->verticalHeader()->hide();
    grPakli->verticalHeader()->setDefaultSectionSize(grPakli->fontMetrics().height() + 4);
    grPakli->setSelectionBehavior(QAbstractItemView::SelectRows);
    grPakli->setSelectionMode(QAbstractItemView::SingleSelection);
    grPakli->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grPakli->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grPakli->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grPakli->setColumnWidth(TDeckModel::colLapszam, 40);
    grPakli->setColumnWidth(TDeckModel::colNev, 170);
    grPakli->setColumnWidth(TDeckModel::colDb, 30);
    grPakli->setFixedWidth(40 + 170 + 30 + 2 * grPakli->frameWidth() +
                           grPakli->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    GuardedConnect(grPakli->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex& current, const QModelIndex&) {
                       if (!FSyncing && current.isValid()) mdPakli.SetRecNo(current.row());
                       if (Charts) Charts->ShowSelectedCard(mdPakli);
                   });
    right->addWidget(grPakli, 1);
    lPakliCim->setFixedWidth(grPakli->width());
    row->addLayout(right);
    return page;
}

QWidget* TfmPakli::BuildDescriptionPage()
{
    auto* page = new QWidget(this);
    page->setObjectName("tsMegj");
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(3);
    column->addWidget(new QLabel(QStringLiteral("A pakli megnevezése"), page));
    eNev = new QLineEdit(page);
    eNev->setObjectName("eNev");
    eNev->setMaxLength(80);
    eNev->installEventFilter(this);
    GuardedConnect(eNev, &QLineEdit::textChanged, this, [this](const QString& text) {
        lPakliNev->setText(text);
        if (FApplying || text == FLastName) return;
        FUndo->push(new TDeckTextCommand(*this, TDeckTextCommand::Name, FLastName, text));
        FLastName = text;
    });
    column->addWidget(eNev);
    column->addSpacing(6);
    column->addWidget(new QLabel(QStringLiteral("A pakli leírása"), page));
    mLeir = new QPlainTextEdit(page);
    mLeir->setObjectName("mLeir");
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setPixelSize(13);
    mLeir->setFont(courier);
    // One history for the whole deck: the editor's own would undo behind the deck's back.
    mLeir->setUndoRedoEnabled(false);
    GuardedConnect(mLeir, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = ExactPlainText(mLeir);
        if (FApplying || text == FLastDescription) return;
        FUndo->push(new TDeckTextCommand(*this, TDeckTextCommand::Description, FLastDescription, text));
        FLastDescription = text;
    });
    column->addWidget(mLeir, 1);
    return page;
}

// ---------------------------------------------------------------------------------------------
// Loading

void TfmPakli::LoadDeck(const TFormOpenPars& pars)
{
    mdPakli.Clear();
    FPars = pars;
    FDeckId = pars.Id;
    std::optional<TDeckHeader> header;
    {
        TWaitCursor wait;
        // One consistent reading of the catalogue, even with another program writing it.
        TTransaction reading(FStore.Connection(), TTransaction::Deferred);
        FNumberModel->SetQuery(nullptr);
        FStore.OpenCardList();
        FNumberModel->SetQuery(&FStore.qOsszLap);
        FNameModel->Load(FStore.qOsszLap);
        cbLapKeres->setCurrentIndex(-1);
        LoadDeckCards();
        header = FStore.LoadHeader(FDeckId);
        std::vector<qint64> ids;
        for (const TDeckRow& r : mdPakli.Rows()) ids.push_back(r.L_ID);
        if (header) ids.push_back(header->GodId);
        FOwned->Load(ids, true);
        FStored = FStore.ReadStored(FDeckId);
        reading.Commit();
    }
    if (!header) {
        ShowWarning(QStringLiteral("A pakli nem nyitható meg: nincs ilyen pakli a katalógusban, vagy hiányzik "
                                   "a főistene (azonosító: %1).")
                        .arg(FDeckId));
        throw EAbort();
    }

    const qint64 godId = header->GodId;
    FGod = {godId, header->GodNumber, header->GodName, header->GodPantheon};
    FDeckModel->SetOwnedCounts(&FOwned->Counts(), godId);
    const QImage face = GodPicture(header->GodNumber, [&] {
        const QString file = FStore.CardPicture(godId);
        const QString folder = FHost ? FHost->PictureFolder() : QString();
        return file.isEmpty() ? QString() : QDir(folder).filePath(file);
    });
    imGfx1->setPixmap(face.isNull() ? QPixmap() : QPixmap::fromImage(face));
    lFoisten->setText(header->GodName);
    lFoisten2->setText(header->GodName);
    lFoisten->adjustSize();
    lFoisten2->adjustSize();
    // The god's name whole; the deck's name takes what is left.
    lFoisten->parentWidget()->setMinimumWidth(lFoisten2->geometry().right() + 1);
    if (FHost) FHost->SetDeckSummoningTech(header->SummoningTech);
    // A stored name longer than the box allows is shown and kept whole.
    eNev->setMaxLength(std::max<int>(80, int(header->Name.size())));
    FApplying = true;
    eNev->setText(header->Name);
    mLeir->setPlainText(header->Description);
    FApplying = false;
    FLastName = eNev->text();
    FLastDescription = ExactPlainText(mLeir);
    FUndo->clear();
    FLoadedName = header->Name;
    FLoadedDescription = header->Description;
    FLoadedCards = CardCounts();

    UpdateHeaderTotals();
    FChartsStale = true;
    // A deck opens where it is edited; its statistics are ready behind.
    pcPakli->setCurrentWidget(tsSzerk);
    DrawSummary();
    if (FHost) FHost->DeckLoaded();
}

void TfmPakli::LoadDeckCards()
{
    mdPakli.Load(FStore.LoadDeckRows(FDeckId));
    SyncGridToTable();
}

// ---------------------------------------------------------------------------------------------
// Changing

void TfmPakli::SyncGridToTable()
{
    FSyncing = true;
    const int row = mdPakli.RecNo();
    if (row < 0) grPakli->selectionModel()->clear();
    else {
        const QModelIndex index = FDeckModel->index(row, 0);
        grPakli->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    }
    FSyncing = false;
}

void TfmPakli::AfterChange(int flashKind)
{
    SyncGridToTable();
    UpdateHeaderTotals();
    FChartsStale = true;
    if (pcPakli->currentWidget() == Charts) RedrawCharts();
    if (!FHost) return;
    FHost->SetSummaryStale(true);
    FHost->FlashDeckTab(parentWidget(), flashKind);
}

void TfmPakli::AddCardToDeck(qint64 cardId)
{
    const int row = mdPakli.Find(cardId);
    std::optional<TDeckRow> card;
    if (row >= 0) card = mdPakli.Row(row);
    else {
        card = FStore.CardRow(cardId);
        if (!card) {
            // Gone from the catalogue since the list was read: a nameless row would be stored.
            ShowWarning(QStringLiteral("A lap nem található a katalógusban, nem került a pakliba."));
            return;
        }
        FOwned->Load({cardId});
    }
    FUndo->push(new TDeckCardCommand(*this, std::move(*card), true));
}

void TfmPakli::RemoveCardFromDeck(qint64 cardId)
{
    const int row = mdPakli.Find(cardId);
    // A card that is not in the deck changes nothing, so there is nothing to undo either.
    if (row < 0) AfterChange(1);
    else FUndo->push(new TDeckCardCommand(*this, mdPakli.Row(row), false));
}

void TfmPakli::ApplyAddCopy(const TDeckRow& card)
{
    const int row = mdPakli.Find(card.L_ID);
    if (row >= 0) mdPakli.Increment(row);
    else {
        TDeckRow copy = card;
        copy.DB = 1;
        mdPakli.Insert(std::move(copy));
    }
    AfterChange(0);
}

void TfmPakli::ApplyRemoveCopy(qint64 cardId)
{
    const int row = mdPakli.Find(cardId);
    if (row >= 0) mdPakli.Decrement(row);
    AfterChange(1);
}

void TfmPakli::ApplyName(const QString& name)
{
    FApplying = true;
    eNev->setText(name);
    FApplying = false;
    FLastName = name;
}

void TfmPakli::ApplyDescription(const QString& description)
{
    FApplying = true;
    mLeir->setPlainText(description);
    FApplying = false;
    FLastDescription = description;
}

void TfmPakli::RedrawCharts()
{
    FChartsStale = false;
    Charts->Redraw(mdPakli);
}

void TfmPakli::UpdateHeaderTotals()
{
    lLapszam->setText(QString::number(mdPakli.CardCount()) + QStringLiteral(" lap"));
    lHatalom->setText(QString::number(mdPakli.PowerPoints()) + QStringLiteral(" Hatalom-pont"));
    const qint64 missing = MissingTotal(Missing());
    lHianyzo->setText(missing > 0 ? QStringLiteral("Hiányzó: %1 lap").arg(missing) : QString());
    lHianyzo->setVisible(missing > 0);
}

void TfmPakli::DrawSummary()
{
    if (FHost) FHost->SetSummaryStale(false);
    Summary->DrawSummary(mdPakli);
    SyncGridToTable();
}

void TfmPakli::cbReszlClick() { DrawSummary(); }

void TfmPakli::ExportDeckHtml()
{
    // The deck's own name, in the folder of the last export.
    const QString suggested = DeckHtmlFileName(eNev->text());
    sd.FileName = sd.FileName.isEmpty() ? suggested : QFileInfo(sd.FileName).dir().filePath(suggested);
    if (!sd.Execute()) return;
    {
        TWaitCursor wait;
        const TUpdatesSuspended held{grPakli};
        WriteDeckHtml(sd.FileName, mdPakli.Rows(), {lFoisten->text(), eNev->text(), ExactPlainText(mLeir)});
    }
    ShowInfo(QStringLiteral("A pakli oldala elkészült:\n") + QDir::toNativeSeparators(sd.FileName));
}

std::vector<TMissingCard> TfmPakli::Missing() const { return MissingCards(mdPakli.Rows(), FOwned->Counts(), FGod); }

void TfmPakli::RefreshOwnedCounts()
{
    if (FDeckId < 0) return;
    std::vector<qint64> ids;
    for (const TDeckRow& r : mdPakli.Rows()) ids.push_back(r.L_ID);
    if (FGod.Id >= 0) ids.push_back(FGod.Id);
    FOwned->Load(ids, true);
    FDeckModel->SetOwnedCounts(&FOwned->Counts(), FGod.Id);
    UpdateHeaderTotals();
}

void TfmPakli::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Guarded([this] {
        RefreshOwnedCounts();
        // The statistics page shown again is drawn again: never an empty page.
        if (pcPakli->currentWidget() == tsOsszesites) DrawSummary();
    });
}

void TfmPakli::CopyMissingCards()
{
    const std::vector<TMissingCard> missing = Missing();
    if (missing.empty()) {
        ShowInfo(QStringLiteral("A pakli minden lapjából van elég példánya."));
        return;
    }
    CopyToClipboard(MissingCardsText(missing));
}

void TfmPakli::CopyDeckAsText() { CopyToClipboard(DeckToText(FGod, mdPakli.Rows())); }

// ---------------------------------------------------------------------------------------------
// Saving

std::vector<std::pair<qint64, int>> TfmPakli::CardCounts() const
{
    std::vector<std::pair<qint64, int>> counts;
    counts.reserve(mdPakli.Rows().size());
    for (const TDeckRow& r : mdPakli.Rows()) counts.emplace_back(r.L_ID, r.DB);
    std::sort(counts.begin(), counts.end());
    return counts;
}

QString TfmPakli::DescriptionToStore() const
{
    const QString shown = ExactPlainText(mLeir);
    if (shown == NormalizedLineBreaks(FLoadedDescription)) return FLoadedDescription;
    if (FLoadedDescription.contains(QLatin1String("\r\n"))) {
        QString text = shown;
        text.replace(u'\n', QLatin1String("\r\n"));
        return text;
    }
    return shown;
}

bool TfmPakli::IsModified() const
{
    return eNev->text() != FLoadedName || ExactPlainText(mLeir) != NormalizedLineBreaks(FLoadedDescription) ||
           CardCounts() != FLoadedCards;
}

void TfmPakli::TakeSnapshot()
{
    FLoadedName = eNev->text();
    FLoadedDescription = DescriptionToStore();
    FLoadedCards = CardCounts();
}

bool TfmPakli::SaveDeck()
{
    const TStoredDeck now = FStore.ReadStored(FDeckId);
    if (now != FStored) {
        if (!now.Exists) {
            ShowWarning(QStringLiteral("A paklit időközben törölték a katalógusból, ezért nem menthető."));
            return false;
        }
        if (!AskYesNo(QStringLiteral("A paklit a megnyitása óta máshol módosították. Felülírja a tárolt "
                                     "változatot a most szerkesztettel?")))
            return false;
        FStored = now;
    }
    const QString name = eNev->text();
    const QString description = DescriptionToStore();
    if (FStore.Save(FDeckId, name, description, mdPakli.Rows(), FStored) ==
        TDeckStore::TSaveResult::ChangedElsewhere) {
        ShowWarning(QStringLiteral("A paklit mentés közben máshol módosították; semmi sem íródott ki. "
                                   "Kérem, mentse újra."));
        return false;
    }
    FStored = FStore.ReadStored(FDeckId);
    TakeSnapshot();
    FUndo->setClean();
    ShowInfo(QStringLiteral("A pakli mentése sikeres."));
    return true;
}

// ---------------------------------------------------------------------------------------------
// The quick editor

qint64 TfmPakli::SelectedSearchCard() const
{
    const int row = cbLapKeres->currentIndex();
    return row < 0 || row >= FNameModel->rowCount() ? -1 : FNameModel->CardId(row);
}

void TfmPakli::btnAddClick()
{
    const qint64 id = SelectedSearchCard();
    if (id >= 0) AddCardToDeck(id);
}

bool TfmPakli::cbLapKeresKeyPress(QChar ch)
{
    if (ch != u'+' && ch != u'-') return false;
    const qint64 id = SelectedSearchCard();
    if (id < 0) return ch == u'-';  // a "+" is typed as any other character
    if (ch == u'+') AddCardToDeck(id);
    else RemoveCardFromDeck(id);
    return true;
}

void TfmPakli::cbLapKeresChange(const QString& text)
{
    QLineEdit* edit = cbLapKeres->lineEdit();
    const int row = FNameModel->FindPrefix(text);
    cbLapKeres->setCurrentIndex(row);  // also sets the edit text; put back what belongs there
    if (row < 0 || FSearchDeleting) {
        edit->setText(text);
        edit->setCursorPosition(int(text.size()));
        return;
    }
    const QString& name = FNameModel->Name(row);
    edit->setText(name);
    // The completed part stays selected, so that typing on replaces it.
    edit->setSelection(int(name.size()), -(int(name.size()) - int(text.size())));
}

bool TfmPakli::eventFilter(QObject* watched, QEvent* event)
{
    // The name box and the search box would take Ctrl+Z and Ctrl+Y for their own history: leave
    // them to the deck's. The combo box hands the key to its edit line itself, past its filters.
    if (event->type() == QEvent::ShortcutOverride &&
        (watched == eNev || watched == cbLapKeres || watched == cbLapKeres->lineEdit())) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlY = key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier;
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) || ctrlY) return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == cbLapKeres || watched == cbLapKeres->lineEdit())) {
        auto* key = static_cast<QKeyEvent*>(event);
        FSearchDeleting = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete;
        if (key->text().size() == 1) {
            bool consumed = false;
            Guarded([&] { consumed = cbLapKeresKeyPress(key->text().at(0)); });
            if (consumed) return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfmPakli::pcPakliChange()
{
    if (pcPakli->currentWidget() == tsOsszesites) DrawSummary();
    else if (pcPakli->currentWidget() == Charts) {
        if (FChartsStale) RedrawCharts();
        else Charts->ShowSelectedCard(mdPakli);
    }
}
