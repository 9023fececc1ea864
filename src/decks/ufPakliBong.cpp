#include "decks/ufPakliBong.h"
#include "app/ReadableColor.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "decks/uDeckListDraw.h"
#include "storage/uAM.h"

#include <QApplication>
#include <QStyleOption>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace {

const int kClientWidth = 545;
const int kClientHeight = 350;
const int kDeckItemHeight = 48;

// lbPakliMeasureItem and lbPakliDrawItem.
class TPakliDelegate : public QStyledItemDelegate {
public:
    TPakliDelegate(const TfPakliBong* browser, QObject* parent) : QStyledItemDelegate(parent), FBrowser(browser) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kDeckItemHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        DrawDeckItem(*FBrowser, *painter, option.rect, index.row(), option.state & QStyle::State_Selected,
                     option.palette);
        DrawFocusMark(*painter, option);
    }

private:
    const TfPakliBong* FBrowser;
};

}  // namespace

TPakliItem::TPakliItem(TPakli deck, QListWidget* list) : QListWidgetItem(deck.GodName, list), Pakli(std::move(deck))
{
    // The painted item shows all three; a screen reader gets them in the order a player asks.
    setData(Qt::AccessibleTextRole, Pakli.DeckName + QStringLiteral(", ") + Pakli.GodName + QStringLiteral(", ") +
                                        Pakli.GodPantheon + QStringLiteral(" főisten"));
}

void DrawDeckItem(const TfPakliBong& browser, QPainter& p, const QRect& rect, int row, bool selected,
                  const QPalette& palette)
{
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);  // pictures scaled on a high-DPI screen
    p.fillRect(rect, selected ? palette.highlight() : palette.base());
    if (const TPakli* deck = browser.DeckAt(row)) {
        p.translate(rect.topLeft());
        p.setClipRect(QRect(0, 0, rect.width(), rect.height()));
        const int width = rect.width() - 12 - 4;
        // Texts take the palette's text colour for their background; the god's name keeps its navy
        // where that reads (a dark desktop gets a lighter navy).
        const QColor background = (selected ? palette.highlight() : palette.base()).color();
        const QColor text =
            ReadableOn(palette.color(selected ? QPalette::HighlightedText : QPalette::Text), background);
        DrawTextAt(p, 12, 1, width, deck->GodName, ArialPt(10, true, true),
                   selected ? text : ReadableOn(QColor(0, 0, 128), background));
        DrawTextAt(p, 12, 18, width, deck->GodPantheon + QStringLiteral(" főisten"), ArialPt(9), text);
        DrawTextAt(p, 12, 32, width, deck->DeckName, ArialPt(9), text);
    }
    p.restore();
}

TfPakliBong::TfPakliBong(TAM& am, TOpenDeck openDeck, const QString& pictureFolder, QWidget* parent)
    : QDialog(parent), qPaklik(&am.ADOConnection), qGetMegj(&am.ADOConnection), FAm(am),
      FOpenDeck(std::move(openDeck)), FPictureFolder(pictureFolder), FStore(am.ADOConnection)
{
    setObjectName("fPakliBong");
    setWindowTitle(QStringLiteral("Paklik böngészése"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(ArialPx(12));

    qPaklik.SetSQL(QStringLiteral(
        "SELECT TPAKLI.P_ID, TPAKLI.P_NEV, TPAKLI.P_MEGJ, TLAP.L_LAPSZAM, TVELKOR.VELKOR_NEV, TLAP.L_UTAK, "
        "TLAP.L_NEV, TPAKLI.P_FOISTENLID FROM (TLAP INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID) "
        "INNER JOIN TPAKLI ON TLAP.L_ID = TPAKLI.P_FOISTENLID ORDER BY TLAP.L_LAPSZAM ;"));
    qGetMegj.SetSQL(QStringLiteral("SELECT P_MEGJ FROM TPAKLI WHERE P_ID = :PPAKLIID ;"));

    lbPakli = new QListWidget(this);
    lbPakli->setObjectName("lbPakli");
    lbPakli->setGeometry(8, 8, 425, 204);
    lbPakli->setUniformItemSizes(true);
    lbPakli->setSelectionMode(QAbstractItemView::SingleSelection);
    lbPakli->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbPakli->setItemDelegate(new TPakliDelegate(this, lbPakli));
    lbPakli->setAccessibleName(QStringLiteral("Paklik"));

    mLeir = new QPlainTextEdit(this);
    mLeir->setObjectName("mLeir");
    mLeir->setAccessibleName(QStringLiteral("A pakli leírása"));
    mLeir->setGeometry(8, 218, 425, 124);
    mLeir->setReadOnly(true);
    // Read-only and without a caret: the text can be selected with the mouse and copied.
    mLeir->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont courier(QStringLiteral("Courier New"));
    courier.setPixelSize(13);
    courier.setStyleHint(QFont::Monospace);
    mLeir->setFont(courier);

    auto button = [this](QPushButton*& b, const char* name, const QString& caption, int top) {
        b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(441, top, 96, 25);
        b->setAutoDefault(false);
    };
    button(btnUj, "btnUj", QStringLiteral("Ú&j pakli"), 8);
    button(btnMegnyit, "btnMegnyit", QStringLiteral("&Megnyitás"), 39);
    button(btnMasol, "btnMasol", QStringLiteral("Má&solás újba"), 70);
    button(btnExport, "btnExport", QStringLiteral("&Export"), 101);
    button(btnTorol, "btnTorol", QStringLiteral("&Törlés"), 152);
    button(btnBezar, "btnBezar", QStringLiteral("&Bezárás"), 317);

    NewDeckWizard = [this] { ShowNewDeckWizard(this, FAm, FPictureFolder, FOpenDeck); };

    GuardedConnect(lbPakli, &QListWidget::itemSelectionChanged, this, [this] { lbPakliClick(); });
    // Enter or a double click on a deck opens it, as "Megnyitás" does.
    GuardedConnect(lbPakli, &QListWidget::itemActivated, this, [this] { btnMegnyitClick(); });
    GuardedConnect(btnUj, &QPushButton::clicked, this, [this] { btnUjClick(); });
    GuardedConnect(btnMegnyit, &QPushButton::clicked, this, [this] { btnMegnyitClick(); });
    GuardedConnect(btnMasol, &QPushButton::clicked, this, [this] { btnMasolClick(); });
    GuardedConnect(btnExport, &QPushButton::clicked, this, [this] { btnExportClick(); });
    GuardedConnect(btnTorol, &QPushButton::clicked, this, [this] { btnTorolClick(); });
    GuardedConnect(btnBezar, &QPushButton::clicked, this, [this] { reject(); });
    SetFinishKeys(this, {btnMegnyit}, false);  // Enter on the list opens the deck itself
}

TfPakliBong::~TfPakliBong()
{
    lbPakli->clear();
    qPaklik.Close();
}

void TfPakliBong::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TfPakliBong::FormShow() { RefreshDeckList(); }

void TfPakliBong::RefreshDeckList()
{
    TWaitCursor wait;
    const TUpdatesSuspended held{lbPakli};
    {
        const QSignalBlocker quiet(lbPakli);
        lbPakli->clear();
    }
    mLeir->clear();
    qPaklik.Close();
    qPaklik.Open();
    for (int r = 0; r < qPaklik.RecordCount(); ++r) {
        TPakli deck;
        deck.DeckId = qPaklik.ValueInteger(r, 0);
        deck.DeckName = qPaklik.ValueText(r, 1);
        deck.GodNumber = qPaklik.ValueText(r, 3);
        deck.GodPantheon = qPaklik.ValueText(r, 4);
        deck.GodPaths = qPaklik.ValueText(r, 5);
        deck.GodName = qPaklik.ValueText(r, 6);
        deck.GodId = qPaklik.ValueInteger(r, 7);
        new TPakliItem(std::move(deck), lbPakli);
    }
    qPaklik.Close();
}

const TPakli* TfPakliBong::DeckAt(int row) const
{
    auto* item = dynamic_cast<const TPakliItem*>(lbPakli->item(row));
    return item ? &item->Pakli : nullptr;
}

const TPakli* TfPakliBong::SelectedDeck() const
{
    const QList<QListWidgetItem*> selected = lbPakli->selectedItems();
    if (selected.isEmpty()) return nullptr;
    auto* item = dynamic_cast<const TPakliItem*>(selected.first());
    return item ? &item->Pakli : nullptr;
}

void TfPakliBong::lbPakliClick()
{
    const TPakli* deck = SelectedDeck();
    if (!deck) return;
    qGetMegj.Close();
    qGetMegj.SetParam(QStringLiteral("PPAKLIID"), deck->DeckId);
    qGetMegj.Open();
    QString text = qGetMegj.IsEmpty() ? QString() : qGetMegj.ValueText(0, 0);
    qGetMegj.Close();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    mLeir->setPlainText(text);
}

void TfPakliBong::btnUjClick()
{
    if (NewDeckWizard) NewDeckWizard();
    accept();
}

void TfPakliBong::btnMegnyitClick()
{
    const TPakli* deck = SelectedDeck();
    if (!deck) return;
    const qint64 id = deck->DeckId;
    try {
        if (FOpenDeck) FOpenDeck(id);
    } catch (...) {
        // A deck that could not be opened (gone meanwhile): the list shows what is stored now.
        RefreshDeckList();
        throw;
    }
    accept();
}

void TfPakliBong::btnMasolClick()
{
    const TPakli* deck = SelectedDeck();
    if (!deck) return;
    const qint64 source = deck->DeckId;
    QString name = deck->DeckName;
    if (!InputQuery(QStringLiteral("Új megnevezés"), QStringLiteral("A pakli új neve"), name)) return;
    const qint64 copy = [&] {
        TWaitCursor wait;
        return FAm.CopyDeck(source, name);
    }();
    // A failed copy has been reported and stored nothing: no deck is opened.
    if (copy < 0) return;
    try {
        if (FOpenDeck) FOpenDeck(copy);
    } catch (...) {
        RefreshDeckList();
        throw;
    }
    accept();
}

void TfPakliBong::btnExportClick()
{
    const TPakli* deck = SelectedDeck();
    if (!deck) return;
    const qint64 id = deck->DeckId;
    // The deck's own name in the folder of the last export.
    const QString suggested = DeckHtmlFileName(deck->DeckName);
    sd.FileName = sd.FileName.isEmpty() ? suggested : QFileInfo(sd.FileName).dir().filePath(suggested);
    if (!sd.Execute()) return;
    TWaitCursor wait;
    WriteStoredDeckHtml(FStore, id, sd.FileName);
}

void TfPakliBong::btnTorolClick()
{
    const TPakli* deck = SelectedDeck();
    if (!deck) return;
    const qint64 id = deck->DeckId;
    if (!AskDelete(QStringLiteral("Valóban szeretné törölni a paklit?"))) return;
    FAm.DeleteDeck(id);
    RefreshDeckList();
}

void ShowDeckBrowser(QWidget* parent, TAM& am, const QString& pictureFolder, const TOpenDeck& openDeck)
{
    if (!am.Connected()) return;
    TfPakliBong browser(am, openDeck, pictureFolder, parent);
    CenterOnScreen(&browser);
    browser.exec();
}
