#include "decks/ufUjPakli.h"
#include "app/ReadableColor.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "bitmaps/Bitmaps.h"
#include "bitmaps/uPaths.h"
#include "decks/uDeckListDraw.h"
#include "decks/uDeckStore.h"
#include "decks/uGodPicture.h"
#include "storage/uAM.h"

#include <QApplication>
#include <QStyleOption>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const int kClientWidth = 486;
const int kClientHeight = 388;
const int kGodItemHeight = 64;
const int kNameLength = 80;

// lbFoistenMeasureItem and lbFoistenDrawItem.
class TFoistenDelegate : public QStyledItemDelegate {
public:
    TFoistenDelegate(const TfUjPakli* wizard, QObject* parent) : QStyledItemDelegate(parent), FWizard(wizard) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), kGodItemHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        DrawGodItem(*FWizard, *painter, option.rect, index.row(), selected, option.palette);
        DrawFocusMark(*painter, option);
    }

private:
    const TfUjPakli* FWizard;
};

}  // namespace

// Drawn exactly where the items of the list have always placed their parts; positions are
// relative to the item's top-left corner.
void DrawGodItem(const TfUjPakli& wizard, QPainter& p, const QRect& rect, int index, bool selected,
                 const QPalette& palette)
{
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);  // pictures scaled on a high-DPI screen
    p.fillRect(rect, selected ? palette.highlight() : palette.base());
    const TFoistenRow* row = nullptr;
    for (const TFoistenRow& r : wizard.mdTemp)
        if (r.INDEX == index) row = &r;
    if (!row) {
        p.restore();
        return;
    }
    p.translate(rect.topLeft());
    p.setClipRect(QRect(0, 0, rect.width(), rect.height()));
    // The texts stop short of the path icons; the whole info text is the item's tool tip.
    const int textWidth = 376 - 74;
    // Texts take the palette's text colour for their background; the name keeps its navy where that
    // reads (a dark desktop gets a lighter navy).
    const QColor background = (selected ? palette.highlight() : palette.base()).color();
    const QColor text = ReadableOn(palette.color(selected ? QPalette::HighlightedText : QPalette::Text), background);
    DrawTextAt(p, 74, 6, textWidth, row->L_NEV, ArialPt(10, true, true),
               selected ? text : ReadableOn(QColor(0, 0, 128), background));
    DrawTextAt(p, 74, 24, textWidth, row->VELKOR_NEV + QStringLiteral(" főisten"), ArialPt(9), text);
    DrawTextAt(p, 74, 40, textWidth, row->L_INFO, ArialPt(9), text);

    p.fillRect(QRect(QPoint(8, 8), QPoint(62, 55)), QColor(128, 128, 128));
    p.fillRect(QRect(QPoint(10, 10), QPoint(60, 53)), QColor(160, 160, 160));
    const QImage face = wizard.GodFace(int(index));
    if (!face.isNull()) p.drawImage(12, 12, face);

    const auto& icons = wizard.PathIcons();
    const QPoint iconAt[4] = {{380, 8}, {420, 8}, {380, 32}, {420, 32}};
    QFont digits(QStringLiteral("Courier New"));
    digits.setPointSize(10);
    digits.setBold(true);
    for (int i = 0; i < 4; ++i) {
        if (!icons[size_t(i)].isNull()) p.drawImage(iconAt[i], icons[size_t(i)]);
        const QString digit = row->L_UTAK.mid(i, 1);
        if (digit.isEmpty()) continue;
        DrawOpaqueTextAt(p, iconAt[i].x() + 20, iconAt[i].y(), digit, digits,
                         ReadableOn(palette.color(QPalette::Text), palette.base().color()), palette.base().color());
    }
    p.restore();
}

TfUjPakli::TfUjPakli(TAM& am, TOpenDeck openDeck, const QString& pictureFolder, QWidget* parent)
    : QDialog(parent), qFoisten(&am.ADOConnection), FAm(am), FOpenDeck(std::move(openDeck)),
      FPictureFolder(pictureFolder)
{
    setObjectName("fUjPakli");
    setWindowTitle(QStringLiteral("Új pakli összeállítása"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(ArialPx(12));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 8);
    column->setSpacing(6);
    pcWiz = new QTabWidget(this);
    pcWiz->setObjectName("pcWiz");
    // No frame: the god list needs the window's whole width for its path icons.
    pcWiz->setDocumentMode(true);
    // The pages are switched by the buttons only. The hidden tab bar must not take part in Tab
    // order: Tab from "Következő" would move to it, fail and stay put.
    pcWiz->tabBar()->hide();
    pcWiz->setFocusPolicy(Qt::NoFocus);
    ts1 = BuildGodPage();
    ts2 = BuildNamePage();
    pcWiz->addTab(ts1, QStringLiteral("1"));
    pcWiz->addTab(ts2, QStringLiteral("2"));
    column->addWidget(pcWiz, 1);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    column->addWidget(rule);

    auto* buttons = new QHBoxLayout;
    btnCancel = new QPushButton(QStringLiteral("Mégsem"), this);
    btnCancel->setObjectName("btnCancel");
    btnPrev = new QPushButton(QStringLiteral("Előző"), this);
    btnPrev->setObjectName("btnPrev");
    btnNext = new QPushButton(QStringLiteral("Következő"), this);
    btnNext->setObjectName("btnNext");
    btnOk = new QPushButton(QStringLiteral("KÉSZ"), this);
    btnOk->setObjectName("btnOk");
    buttons->setContentsMargins(4, 0, 4, 0);
    for (QPushButton* b : {btnCancel, btnPrev, btnNext, btnOk}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
    }
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    buttons->addWidget(btnPrev);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnOk);
    column->addLayout(buttons);

    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    GuardedConnect(btnPrev, &QPushButton::clicked, this, [this] { btnPrevClick(); });
    GuardedConnect(btnNext, &QPushButton::clicked, this, [this] { btnNextClick(); });
    GuardedConnect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    SetFinishKeys(this, {btnNext, btnOk}, true);
    GuardedConnect(pcWiz, &QTabWidget::currentChanged, this, [this](int) { pcWizChange(); });

    FormCreate();
    pcWizChange();
}

TfUjPakli::~TfUjPakli()
{
    lbFoisten->clear();
    mdTemp.clear();
    qFoisten.Close();
}

QWidget* TfUjPakli::BuildGodPage()
{
    auto* page = new QWidget(pcWiz);
    page->setObjectName("ts1");
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 2, 0, 0);
    auto* title = new QLabel(QStringLiteral("Főisten kiválasztása"), page);
    title->setFont(ArialPx(12, true, true));
    title->setContentsMargins(4, 0, 0, 0);
    column->addWidget(title);
    lbFoisten = new QListWidget(page);
    lbFoisten->setObjectName("lbFoisten");
    lbFoisten->setAccessibleName(QStringLiteral("Főistenek"));
    lbFoisten->setUniformItemSizes(true);
    lbFoisten->setSelectionMode(QAbstractItemView::SingleSelection);
    lbFoisten->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbFoisten->setItemDelegate(new TFoistenDelegate(this, lbFoisten));
    column->addWidget(lbFoisten, 1);
    return page;
}

QWidget* TfUjPakli::BuildNamePage()
{
    auto* page = new QWidget(pcWiz);
    page->setObjectName("ts2");
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(12, 6, 12, 6);
    column->setSpacing(6);
    auto* title = new QLabel(QStringLiteral("A pakli egyéb adatai"), page);
    title->setFont(ArialPx(12, true, true));
    column->addWidget(title);
    column->addSpacing(10);
    column->addWidget(new QLabel(QStringLiteral("A pakli elnevezése"), page));
    eNev = new QLineEdit(page);
    eNev->setObjectName("eNev");
    eNev->setMaxLength(kNameLength);
    column->addWidget(eNev);
    column->addSpacing(10);
    // Shown as information: nothing stores the box or applies the rule of the note.
    cbOpc1 = new QCheckBox(QStringLiteral("Játék egy Velkorral érvényben"), page);
    cbOpc1->setObjectName("cbOpc1");
    column->addWidget(cbOpc1);
    lOpc1Megj = new QLabel(
        QStringLiteral("A játékos csak a főistenével megegyező velkorú lapokért kapja meg a Hatalom-pontokat."), page);
    lOpc1Megj->setObjectName("lOpc1Megj");
    lOpc1Megj->setWordWrap(true);
    SetReadableTextColor(lOpc1Megj, QColor(0, 0, 128));
    lOpc1Megj->setContentsMargins(20, 0, 0, 0);
    column->addWidget(lOpc1Megj);
    column->addStretch(1);
    return page;
}

void TfUjPakli::FormCreate()
{
    const char* icons[] = {"IKON_V", "IKON_M", "IKON_H", "IKON_I"};
    for (size_t i = 0; i < FPathIcons.size(); ++i) FPathIcons[i] = BuiltinTransparentBitmap(QString::fromLatin1(icons[i]));

    TWaitCursor wait;
    const TUpdatesSuspended held{lbFoisten};
    mdTemp.clear();
    qFoisten.Close();
    qFoisten.SetSQL(QStringLiteral(
        "SELECT TLAP.L_ID, TLAP.L_LAPSZAM, TLAP.L_NEV, TVELKOR.VELKOR_NEV, TLAP.L_UTAK, TLAP.L_INFO FROM TLAP "
        "INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID WHERE L_LAPTIPUS = 'L004' ORDER BY L_LAPSZAM ;"));
    qFoisten.Open();
    mdTemp.reserve(size_t(qFoisten.RecordCount()));
    for (int n = 0; n < qFoisten.RecordCount(); ++n) {
        TFoistenRow row;
        row.L_ID = qFoisten.ValueInteger(n, 0);
        row.L_LAPSZAM = qFoisten.ValueText(n, 1);
        row.L_NEV = qFoisten.ValueText(n, 2);
        row.VELKOR_NEV = qFoisten.ValueText(n, 3);
        row.L_UTAK = qFoisten.ValueText(n, 4);
        row.L_INFO = qFoisten.ValueText(n, 5);
        row.INDEX = n;
        auto* item = new QListWidgetItem(row.L_NEV, lbFoisten);
        if (!row.L_INFO.isEmpty()) item->setToolTip(row.L_INFO);
        // What the painted item shows, for a screen reader: name, pantheon and the four paths.
        QString spoken = row.L_NEV + QStringLiteral(", ") + row.VELKOR_NEV + QStringLiteral(" főisten");
        QStringList paths;
        for (int i = 0; i < 4 && i < row.L_UTAK.size(); ++i)
            paths << PATH_LETTERS.mid(i, 1).toUpper() + u' ' + row.L_UTAK.mid(i, 1);
        if (!paths.isEmpty()) spoken += QStringLiteral(", utak: ") + paths.join(QStringLiteral(", "));
        item->setData(Qt::AccessibleTextRole, spoken);
        mdTemp.push_back(std::move(row));
    }
    qFoisten.Close();
    FFaces.assign(mdTemp.size(), std::nullopt);
}

QImage TfUjPakli::GodFace(int row) const
{
    if (row < 0 || size_t(row) >= mdTemp.size()) return QImage();
    std::optional<QImage>& face = FFaces[size_t(row)];
    if (!face) {
        const TFoistenRow& god = mdTemp[size_t(row)];
        face = GodPicture(god.L_LAPSZAM, [&] {
            TDeckStore store(FAm.ADOConnection);
            const QString file = store.CardPicture(god.L_ID);
            return file.isEmpty() ? QString() : QDir(FPictureFolder).filePath(file);
        });
    }
    return *face;
}

void TfUjPakli::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TfUjPakli::FormShow()
{
    pcWiz->setCurrentIndex(0);
    pcWizChange();
}

void TfUjPakli::pcWizChange()
{
    const int page = pcWiz->currentIndex();
    const int last = pcWiz->count() - 1;
    btnOk->setEnabled(page == last);
    btnPrev->setEnabled(page > 0);
    btnNext->setEnabled(page < last);
}

void TfUjPakli::btnNextClick()
{
    if (pcWiz->currentIndex() < pcWiz->count() - 1) pcWiz->setCurrentIndex(pcWiz->currentIndex() + 1);
    pcWizChange();
    if (pcWiz->currentWidget() == ts2) eNev->setFocus();
}

void TfUjPakli::btnPrevClick()
{
    if (pcWiz->currentIndex() > 0) pcWiz->setCurrentIndex(pcWiz->currentIndex() - 1);
    pcWizChange();
}

int TfUjPakli::SelectedGod() const
{
    const QList<QListWidgetItem*> selected = lbFoisten->selectedItems();
    return selected.isEmpty() ? -1 : lbFoisten->row(selected.first());
}

qint64 TfUjPakli::CreateDeck()
{
    if (mdTemp.empty()) {
        ShowWarning(QStringLiteral("A katalógusban nincs főisten, ezért nem állítható össze pakli."));
        return -1;
    }
    // The first god, unless an item is selected.
    const TFoistenRow* god = &mdTemp.front();
    const int selected = SelectedGod();
    for (const TFoistenRow& r : mdTemp)
        if (r.INDEX == selected) god = &r;

    TConnection& connection = FAm.ADOConnection;
    TTransaction transaction(connection);
    FAm.qInsUjPakliFej.SetParam(QStringLiteral("P_NEV"), eNev->text());
    FAm.qInsUjPakliFej.SetParam(QStringLiteral("P_MEGJ"), QStringLiteral(""));
    FAm.qInsUjPakliFej.SetParam(QStringLiteral("P_FOISTENLID"), god->L_ID);
    FAm.qInsUjPakliFej.Execute();
    // The row just inserted, not MAX(P_ID): another writer cannot make it another deck.
    const qint64 id = connection.LastInsertId();
    transaction.Commit();
    FNewDeckId = id;
    return id;
}

void TfUjPakli::btnOkClick()
{
    const qint64 id = CreateDeck();
    if (id < 0) return;
    // Closed first: a deck that then fails to open is stored once, never again by a second "KÉSZ".
    accept();
    if (FOpenDeck) FOpenDeck(id);
}

void ShowNewDeckWizard(QWidget* parent, TAM& am, const QString& pictureFolder, const TOpenDeck& openDeck)
{
    if (!am.Connected()) return;
    TfUjPakli wizard(am, openDeck, pictureFolder, parent);
    CenterOnScreen(&wizard);
    wizard.exec();
}
