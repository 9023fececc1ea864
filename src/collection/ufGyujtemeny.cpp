#include "collection/ufGyujtemeny.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "export/uExportText.h"
#include "export/udmExport.h"
#include "storage/Exceptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Gyűjtemény áttekintése");
// The main window's client area: the window fits inside it.
const int kWidth = 760;
const int kHeight = 490;

}  // namespace

// --- the delegate ---

void TCompletionDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(TCollectionModel::TotalRole).toBool()) option->font.setBold(true);
}

void TCompletionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() != TCollectionModel::colCompletion) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The cell's own background first, so a selected row shows as selected behind the bar.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
    const double completion = index.data(TCollectionModel::SortRole).toDouble();
    // The bar on the left, the percentage beside it in the row's own text colour: readable
    // whatever part of the bar is filled.
    const int textWidth = item.fontMetrics.horizontalAdvance(QStringLiteral("100,0%")) + 8;
    QStyleOptionProgressBar bar;
    bar.rect = option.rect.adjusted(3, 3, -textWidth, -3);
    bar.state = (option.state & ~QStyle::State_Selected) | QStyle::State_Horizontal;
    bar.direction = option.direction;
    bar.fontMetrics = item.fontMetrics;
    bar.minimum = 0;
    bar.maximum = 1000;
    bar.progress = completion < 0 ? 0 : int(completion * 10.0);
    bar.textVisible = false;
    style->drawControl(QStyle::CE_ProgressBar, &bar, painter, widget);
    painter->save();
    painter->setFont(item.font);
    const QRect textRect = option.rect.adjusted(option.rect.width() - textWidth, 0, -3, 0);
    const QPalette::ColorRole role =
        option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    style->drawItemText(painter, textRect, Qt::AlignRight | Qt::AlignVCenter, option.palette, true,
                        index.data(Qt::DisplayRole).toString(), role);
    painter->restore();
}

// --- the window ---

TfGyujtemeny::TfGyujtemeny(TConnection* connection, const TCardListConditions* conditions, int keep, QWidget* parent)
    : QDialog(parent), FConnection(connection), FConditions(conditions)
{
    setObjectName("fGyujtemeny");
    setWindowTitle(kCaption);
    setModal(true);
    resize(kWidth, kHeight);
    if (parent) resize(qMin(kWidth, qMax(parent->width() - 20, 400)), qMin(kHeight, qMax(parent->height() - 20, 300)));

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* lCsoport = new QLabel(QStringLiteral("&Csoportosítás:"), this);
    cbCsoport = new QComboBox(this);
    cbCsoport->setObjectName("cbCsoport");
    cbCsoport->addItems(CollectionGroupingNames());
    lCsoport->setBuddy(cbCsoport);
    cbSzurt = new QCheckBox(QStringLiteral("Csak a &szűrt lista"), this);
    cbSzurt->setObjectName("cbSzurt");
    cbSzurt->setToolTip(QStringLiteral("A számok a lapok listájára vonatkoznak, a bekapcsolt szűrésekkel"));
    top->addWidget(lCsoport);
    top->addWidget(cbCsoport);
    top->addSpacing(16);
    top->addWidget(cbSzurt);
    top->addStretch(1);
    layout->addLayout(top);

    Model = new TCollectionModel(connection, this);
    grGyujtemeny = new QTableView(this);
    grGyujtemeny->setObjectName("grGyujtemeny");
    grGyujtemeny->setAccessibleName(QStringLiteral("Gyűjtemény"));
    grGyujtemeny->setTabKeyNavigation(false);  // arrows move between cells, Tab leaves
    grGyujtemeny->setModel(Model);
    grGyujtemeny->setItemDelegate(new TCompletionDelegate(grGyujtemeny));
    grGyujtemeny->setSelectionBehavior(QAbstractItemView::SelectRows);
    grGyujtemeny->setSelectionMode(QAbstractItemView::SingleSelection);
    grGyujtemeny->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grGyujtemeny->verticalHeader()->hide();
    grGyujtemeny->verticalHeader()->setDefaultSectionSize(22);
    grGyujtemeny->setWordWrap(false);
    grGyujtemeny->setTextElideMode(Qt::ElideRight);
    QHeaderView* header = grGyujtemeny->horizontalHeader();
    header->setSectionResizeMode(TCollectionModel::colName, QHeaderView::Stretch);
    // The numbers take what they need (a total of copies can run to many digits), the name the rest.
    header->setMinimumSectionSize(60);
    for (int c = TCollectionModel::colCards; c < TCollectionModel::colCompletion; ++c)
        header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    header->resizeSection(TCollectionModel::colCompletion, 170);
    header->setSortIndicator(TCollectionModel::colName, Qt::AscendingOrder);
    grGyujtemeny->setSortingEnabled(true);
    layout->addWidget(grGyujtemeny, 1);

    auto* missing = new QHBoxLayout;
    btnHianyzok = new QPushButton(QStringLiteral("&Hiányzók mutatása"), this);
    btnHianyzok->setObjectName("btnHianyzok");
    btnHianyzok->setToolTip(QStringLiteral("A lapok listája a kijelölt csoport hiányzó lapjaira szűkül"));
    btnHianyzokVagolap = new QPushButton(QStringLiteral("Hiányzók &vágólapra"), this);
    btnHianyzokVagolap->setObjectName("btnHianyzokVagolap");
    missing->addWidget(btnHianyzok);
    missing->addWidget(btnHianyzokVagolap);
    missing->addStretch(1);
    layout->addLayout(missing);

    auto* spare = new QGroupBox(QStringLiteral("Cserélhető lapok"), this);
    auto* spareRow = new QHBoxLayout(spare);
    auto* lMegtartott = new QLabel(QStringLiteral("&Megtartott példány:"), spare);
    seMegtartott = new QSpinBox(spare);
    seMegtartott->setObjectName("seMegtartott");
    seMegtartott->setRange(KeepCopiesMin, KeepCopiesMax);
    seMegtartott->setValue(qBound(KeepCopiesMin, keep, KeepCopiesMax));
    seMegtartott->setToolTip(QStringLiteral("Ennyi példányt tart meg lapként; ami fölötte van, cserélhető"));
    lMegtartott->setBuddy(seMegtartott);
    btnCsereVagolap = new QPushButton(QStringLiteral("Cserélhető lapok vá&gólapra"), spare);
    btnCsereVagolap->setObjectName("btnCsereVagolap");
    btnCsereCsv = new QPushButton(QStringLiteral("Cserélhető lapok CSV-&be..."), spare);
    btnCsereCsv->setObjectName("btnCsereCsv");
    spareRow->addWidget(lMegtartott);
    spareRow->addWidget(seMegtartott);
    spareRow->addWidget(btnCsereVagolap);
    spareRow->addWidget(btnCsereCsv);
    spareRow->addStretch(1);
    layout->addWidget(spare);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    btnBezar = new QPushButton(QStringLiteral("Bezárás"), this);
    btnBezar->setObjectName("btnBezar");
    // Enter closes the window; narrowing the card list takes the button or a double click.
    for (QPushButton* b : {btnHianyzok, btnHianyzokVagolap, btnCsereVagolap, btnCsereCsv}) b->setAutoDefault(false);
    btnBezar->setDefault(true);
    bottom->addWidget(btnBezar);
    layout->addLayout(bottom);

    GuardedConnect(cbCsoport, &QComboBox::currentIndexChanged, this, [this](int) { cbCsoportChange(); });
    GuardedConnect(cbSzurt, &QCheckBox::toggled, this, [this](bool) { cbSzurtClick(); });
    GuardedConnect(btnHianyzok, &QPushButton::clicked, this, [this] { btnHianyzokClick(); });
    GuardedConnect(btnHianyzokVagolap, &QPushButton::clicked, this, [this] { btnHianyzokVagolapClick(); });
    GuardedConnect(btnCsereVagolap, &QPushButton::clicked, this, [this] { btnCsereVagolapClick(); });
    GuardedConnect(btnCsereCsv, &QPushButton::clicked, this, [this] { btnCsereCsvClick(); });
    GuardedConnect(btnBezar, &QPushButton::clicked, this, [this] { reject(); });
    SetFinishKeys(this, {btnBezar}, false);
    GuardedConnect(grGyujtemeny, &QTableView::doubleClicked, this, [this](const QModelIndex&) { btnHianyzokClick(); });
    GuardedConnect(grGyujtemeny->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex&, const QModelIndex&) { UpdateButtons(); });
    UpdateButtons();
}

void TfGyujtemeny::FormShow() { RefreshFigures(); }

int TfGyujtemeny::KeepCopies() const { return seMegtartott->value(); }

void TfGyujtemeny::RefreshFigures()
{
    const TWaitCursor wait;
    const TCollectionGroup* selected = SelectedGroup();
    const QString selectedName = selected ? selected->Caption() : QString();
    Model->SetConditions(cbSzurt->isChecked() ? FConditions : nullptr);
    try {
        Model->Refresh(TCollectionGrouping(cbCsoport->currentIndex()));
    } catch (const EDatabaseError& e) {
        ShowErrorDialog(kCaption, e.Message());
    }
    // The same group stays selected across a regrouping of the same kind and a change of scope.
    int row = 0;
    for (int r = 0; r < Model->rowCount(); ++r)
        if (Model->Group(r).Caption() == selectedName) row = r;
    SelectRow(Model->rowCount() ? row : -1);
    UpdateButtons();
}

const TCollectionGroup* TfGyujtemeny::SelectedGroup() const
{
    const QModelIndex current = grGyujtemeny->selectionModel()->currentIndex();
    if (!current.isValid() || current.row() >= Model->rowCount()) return nullptr;
    return &Model->Group(current.row());
}

void TfGyujtemeny::SelectRow(int row)
{
    if (row < 0 || row >= Model->rowCount()) {
        grGyujtemeny->selectionModel()->clearCurrentIndex();
        return;
    }
    grGyujtemeny->selectRow(row);
    grGyujtemeny->setCurrentIndex(Model->index(row, 0));
}

void TfGyujtemeny::UpdateButtons()
{
    const bool any = SelectedGroup() != nullptr;
    btnHianyzok->setEnabled(any);
    btnHianyzokVagolap->setEnabled(any);
    const bool figures = Model->rowCount() > 0;
    btnCsereVagolap->setEnabled(figures);
    btnCsereCsv->setEnabled(figures);
}

void TfGyujtemeny::cbCsoportChange() { RefreshFigures(); }

void TfGyujtemeny::cbSzurtClick() { RefreshFigures(); }

void TfGyujtemeny::btnHianyzokClick()
{
    const TCollectionGroup* group = SelectedGroup();
    if (!group) return;
    if (group->Missing() <= 0) {
        ShowInfo(QStringLiteral("Ebben a csoportban nincs hiányzó lap: ") + group->Caption());
        return;
    }
    if (!TCollectionModel::ShownInCardList(*group)) {
        ShowInfo(QStringLiteral("Ezeknek a lapoknak a velkora vagy a laptípusa nincs meg a katalógusban, ezért a "
                                "lapok listája nem mutatja őket. A „Hiányzók vágólapra” kiírja a hiányzókat."));
        return;
    }
    MissingPieces = Model->MissingPieces(*group);
    MissingCaption = TCollectionModel::MissingCaption(*group);
    ShowMissing = true;
    accept();
}

void TfGyujtemeny::btnHianyzokVagolapClick()
{
    const TCollectionGroup* group = SelectedGroup();
    if (!group) return;
    const TWaitCursor wait;
    const QStringList lines = Model->MissingLines(*group);
    if (lines.isEmpty()) {
        ShowInfo(QStringLiteral("Ebben a csoportban nincs hiányzó lap: ") + group->Caption());
        return;
    }
    CopyToClipboard(lines.join(LINE_END) + LINE_END);
    ShowInfo(TEXT_CLIPBOARD_DONE);
}

void TfGyujtemeny::btnCsereVagolapClick()
{
    const TWaitCursor wait;
    const QString text = Model->SpareText(KeepCopies());
    if (text.isEmpty()) {
        ShowInfo(QStringLiteral("Nincs cserélhető lap: egyik lapból sincs ") + QString::number(KeepCopies()) +
                 QStringLiteral(" példánynál több."));
        return;
    }
    CopyToClipboard(text);
    ShowInfo(TEXT_CLIPBOARD_DONE);
}

void TfGyujtemeny::btnCsereCsvClick()
{
    TQuery spare(FConnection);
    {
        const TWaitCursor wait;
        Model->OpenSpare(spare, KeepCopies(), TOTAL_ROW);
    }
    if (spare.RecordCount() <= 1) {
        ShowInfo(QStringLiteral("Nincs cserélhető lap: egyik lapból sincs ") + QString::number(KeepCopies()) +
                 QStringLiteral(" példánynál több."));
        return;
    }
    TCsvSaveDialog sd;
    sd.Title = QStringLiteral("Cserélhető lapok mentése CSV fájlba");
    sd.FileName = QStringLiteral("Cserelheto-lapok.csv");
    if (!sd.Execute()) return;
    // The card list export's own writer: the same bytes, and the old file kept when writing fails.
    TdmExport local;
    TdmExport& exporter = dmExport ? *dmExport : local;
    try {
        exporter.ExportFields(emText, spare, sd.FileName,
                              {QStringLiteral("SPARE"), QStringLiteral("L_LAPSZAM"), QStringLiteral("L_NEV")});
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        ShowErrorDialog(QStringLiteral("Cserélhető lapok CSV-be"), e.Message());
        return;
    }
    ShowInfo(QStringLiteral("A cserélhető lapok listája elkészült:\n") + QDir::toNativeSeparators(sd.FileName));
}

TCollectionResult ShowCollection(QWidget* parent, TConnection* connection, const TCardListConditions* conditions,
                                 int keep)
{
    TfGyujtemeny window(connection, conditions, keep, parent);
    Guarded([&] { window.FormShow(); });
    if (parent)
        window.move(parent->geometry().center() - window.rect().center());
    else
        CenterOnScreen(&window);
    window.exec();
    TCollectionResult result;
    result.KeepCopies = window.KeepCopies();
    result.ShowMissing = window.ShowMissing;
    result.MissingPieces = window.MissingPieces;
    result.MissingCaption = window.MissingCaption;
    return result;
}
