#include "filters/ufQueries.h"
#include "app/ReadableColor.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "storage/CatalogNames.h"
#include "storage/uAM.h"
#include "widgets/LComboBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include <climits>

const QString TEXT_NO_CONDITION =
    QStringLiteral("Ön nem adott meg egy szűrési feltételt sem. A szűrés így nem menthető.");
const QString TEXT_NO_CARD_TO_LINK = QStringLiteral(
    "Nincs kiválasztva lap, amelyhez a lekérdezést csatolni lehetne. Válasszon lapot, vagy vegye ki "
    "a jelet a „Lekérdezés csatolása laphoz” mezőből.");
const QString TEXT_FILTER_CHANGED = QStringLiteral(
    "A szűrést a megnyitása óta máshol módosították vagy törölték, ezért a változtatások nem menthetők. "
    "Zárja be az ablakot, és nyissa meg újra a szűrést.");

namespace {
const int kNameLength = 120;   // TFILTERBASE.FB_NAME
const int kValueLength = 250;
const qint64 kCardTypeFilter = 4;  // TFILTERTYPE: the card type, whose list ends with the leaders

// The kind code's second character "O": the value is picked from a list.
bool IsOptionsKind(const QString& kind) { return kind.size() >= 2 && kind.at(1) == u'O'; }

qint64 KeyToInteger(const QString& key)
{
    bool ok = false;
    const qint64 v = key.trimmed().toLongLong(&ok);
    if (!ok) throw EConvertError(QStringLiteral("„%1” nem érvényes egész szám.").arg(key));
    return v;
}

// An edit box's limit never cuts a text that comes from the catalogue.
void SetTextKeepingAll(QLineEdit* edit, const QString& text, int limit)
{
    edit->setMaxLength(qMax(limit, int(text.size())));
    edit->setText(text);
    edit->setCursorPosition(0);  // a long text shows its beginning
}

QLabel* Heading(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}
}  // namespace

TfQueries::TfQueries(const TFormOpenPars& pars, QWidget* parent)
    : QDialog(parent),
      qGetOps(&AM->ADOConnection),
      qGetErt(&AM->ADOConnection),
      qFILTERBASE(&AM->ADOConnection),
      qFILTER(&AM->ADOConnection),
      cFejInsert(&AM->ADOConnection),
      cFejUpdate(&AM->ADOConnection),
      cFilterInsert(&AM->ADOConnection),
      cLapCsatol(&AM->ADOConnection),
      FPars(pars)
{
    setObjectName("fQueries");
    setWindowTitle(QStringLiteral("Velkor Adatbázis : Lekérdezés szerkesztő"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    qGetOps.SetSQL(
        "SELECT TFILTEROP.FO_ID, TFILTEROP.FO_OP FROM TFILTEROP INNER JOIN TFILTERTYPE ON TFILTEROP.FO_FTID = "
        "TFILTERTYPE.FT_ID WHERE TFILTERTYPE.FT_ID = :PFID ORDER BY FO_ID ;");
    qFILTERBASE.SetSQL("SELECT FB_NAME, FB_CATEGORY FROM TFILTERBASE WHERE FB_ID = :FB_ID ;");
    qFILTER.SetSQL(
        "SELECT F_FBID, F_FTID, F_FOID, F_VALUE, F_ORDER, F_GROUP, F_ANDOR, F_FIELDNAME, F_OPERATION, F_VALUETYPE "
        "FROM TFILTER WHERE F_FBID = :F_FBID ORDER BY F_ORDER ;");
    cFejInsert.SetSQL("INSERT INTO TFILTERBASE ( FB_NAME, FB_CATEGORY) VALUES ( :FB_NAME, :FB_CATEGORY) ;");
    cFejUpdate.SetSQL("UPDATE TFILTERBASE SET FB_NAME = :FB_NAME, FB_CATEGORY = :FB_CATEGORY WHERE FB_ID = :FB_ID ;");
    cFilterInsert.SetSQL(
        "INSERT INTO TFILTER ( F_FBID, F_FTID, F_FOID, F_VALUE, F_ORDER, F_GROUP, F_ANDOR, F_FIELDNAME, "
        "F_OPERATION, F_VALUETYPE) VALUES ( :F_FBID, :F_FTID, :F_FOID, :F_VALUE, :F_ORDER, :F_GROUP, :F_ANDOR, "
        ":F_FIELDNAME, :F_OPERATION, :F_VALUETYPE) ;");
    cLapCsatol.SetSQL("INSERT INTO TSZURESLAP ( SZL_FBID, SZL_LID) VALUES ( :SZL_FBID, :SZL_LID) ;");

    // --- name and category ---
    auto* lNev = new QLabel(QStringLiteral("Megnevezés :"), this);
    eNev = new QLineEdit(QStringLiteral("Új lekérdezés neve"), this);
    eNev->setObjectName("eNev");
    eNev->setMaxLength(kNameLength);
    QFont bold = eNev->font();
    bold.setBold(true);
    eNev->setFont(bold);
    lNev->setBuddy(eNev);
    auto* lTip = new QLabel(QStringLiteral("Típusa :"), this);
    cbQueryTip = new TLComboBox(this);
    cbQueryTip->setObjectName("cbQueryTip");
    cbQueryTip->AddKeyed(Catalog::CatBasic, QStringLiteral("Alap"));
    cbQueryTip->AddKeyed(Catalog::CatUser, QStringLiteral("Felhasználói"));
    cbQueryTip->AddKeyed(Catalog::CatCategories, QStringLiteral("Kategóriák"));
    cbQueryTip->AddKeyed(Catalog::CatProperties, QStringLiteral("Tulajdonságok"));
    cbQueryTip->setMinimumWidth(140);
    lTip->setBuddy(cbQueryTip);

    // --- one condition ---
    rb1 = new QRadioButton(QStringLiteral("És"), this);
    rb1->setObjectName("rb1");
    rb2 = new QRadioButton(QStringLiteral("Vagy"), this);
    rb2->setObjectName("rb2");
    cbKat = new TLComboBox(this);
    cbKat->setObjectName("cbKat");
    cbKat->setAccessibleName(QStringLiteral("Feltétel mezője"));
    cbKat->setMinimumWidth(170);
    cbMuv = new TLComboBox(this);
    cbMuv->setObjectName("cbMuv");
    cbMuv->setAccessibleName(QStringLiteral("Művelet"));
    cbMuv->setMinimumWidth(70);
    cbErt = new TLComboBox(this);
    cbErt->setObjectName("cbErt");
    cbErt->setAccessibleName(QStringLiteral("Érték"));
    cbErt->setEditable(true);
    cbErt->setInsertPolicy(QComboBox::NoInsert);
    cbErt->lineEdit()->setMaxLength(kValueLength);
    cbErt->setMinimumWidth(200);
    cbErt->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    rxCsop = new QSpinBox(this);
    rxCsop->setObjectName("rxCsop");
    rxCsop->setAccessibleName(QStringLiteral("Csoport"));
    rxCsop->setRange(INT_MIN, INT_MAX);
    rxCsop->setGroupSeparatorShown(true);
    rxCsop->setButtonSymbols(QAbstractSpinBox::NoButtons);
    rxCsop->setAlignment(Qt::AlignRight);
    rxCsop->setFixedWidth(70);
    btnAdd = new QPushButton(QStringLiteral("Hozzáad"), this);
    btnAdd->setObjectName("btnAdd");
    btnEdit = new QPushButton(QStringLiteral("Módosít"), this);
    btnEdit->setObjectName("btnEdit");

    // --- the conditions ---
    lv = new QTreeWidget(this);
    lv->setObjectName("lv");
    lv->setAccessibleName(QStringLiteral("Feltételek"));
    lv->setColumnCount(5);
    lv->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("Sorszám"), QStringLiteral("És/Vagy"), QString(),
                         QStringLiteral("Csop")});
    lv->setRootIsDecorated(false);
    lv->setItemsExpandable(false);
    lv->setUniformRowHeights(true);
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv->setAllColumnsShowFocus(true);
    QHeaderView* header = lv->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setSectionResizeMode(lvcId, QHeaderView::Fixed);
    header->setSectionResizeMode(lvcText, QHeaderView::Stretch);
    lv->setColumnWidth(lvcId, 0);
    lv->setColumnWidth(lvcNumber, 62);
    lv->setColumnWidth(lvcAndOr, 62);
    lv->setColumnWidth(lvcGroup, 50);
    lv->headerItem()->setTextAlignment(lvcNumber, Qt::AlignRight | Qt::AlignVCenter);
    lv->headerItem()->setTextAlignment(lvcGroup, Qt::AlignRight | Qt::AlignVCenter);
    {
        // The selected row stays marked while another control has the focus.
        QPalette p = lv->palette();
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
        lv->setPalette(p);
    }
    btnDel = new QPushButton(QStringLiteral("Töröl"), this);
    btnDel->setObjectName("btnDel");

    // --- card link and closing ---
    cbCsatol = new QCheckBox(QStringLiteral("Lekérdezés csatolása laphoz"), this);
    cbCsatol->setObjectName("cbCsatol");
    cbLapok = new TLComboBox(this);
    cbLapok->setObjectName("cbLapok");
    cbLapok->setAccessibleName(QStringLiteral("Csatolt lap"));
    cbLapok->setMinimumWidth(240);
    cbLapok->setMaxVisibleItems(20);
    // Measuring every card's text for the box's width would cost seconds on a large catalogue.
    cbLapok->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbLapok->setMinimumContentsLength(24);
    lCsatolva = new QLabel(this);
    lCsatolva->setObjectName("lCsatolva");
    lCsatolva->hide();
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName("btnOK");
    btnCancel = new QPushButton(QStringLiteral("Mégsem"), this);
    btnCancel->setObjectName("btnCancel");
    // Enter in the value box must not save the filter half-composed.
    for (QPushButton* b : {btnAdd, btnEdit, btnDel, btnOK, btnCancel}) b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(lNev);
    top->addWidget(eNev, 1);
    top->addSpacing(12);
    top->addWidget(lTip);
    top->addWidget(cbQueryTip);

    auto* piece = new QGridLayout;
    auto* radios = new QVBoxLayout;
    radios->addWidget(rb1);
    radios->addWidget(rb2);
    piece->addLayout(radios, 0, 0, 2, 1);
    piece->addWidget(Heading(QStringLiteral("Kategória"), this), 0, 1);
    piece->addWidget(Heading(QStringLiteral("Művelet"), this), 0, 2);
    piece->addWidget(Heading(QStringLiteral("Érték"), this), 0, 3);
    piece->addWidget(Heading(QStringLiteral("Csoport"), this), 0, 4);
    piece->addWidget(cbKat, 1, 1);
    piece->addWidget(cbMuv, 1, 2);
    piece->addWidget(cbErt, 1, 3);
    piece->addWidget(rxCsop, 1, 4);
    auto* addEdit = new QVBoxLayout;
    addEdit->addWidget(btnAdd);
    addEdit->addWidget(btnEdit);
    piece->addLayout(addEdit, 0, 5, 2, 1);
    piece->setColumnStretch(3, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnDel);
    bottom->addSpacing(16);
    bottom->addWidget(cbCsatol);
    bottom->addWidget(cbLapok, 1);
    bottom->addWidget(lCsatolva);
    bottom->addSpacing(16);
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);

    auto* root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addLayout(piece);
    root->addWidget(lv, 1);
    root->addLayout(bottom);

    GuardedConnect(cbKat, &QComboBox::activated, this, [this](int) { cbKatChange(); });
    GuardedConnect(cbLapok, &QComboBox::activated, this, [this](int) { cbLapokChange(); });
    GuardedConnect(btnAdd, &QPushButton::clicked, this, &TfQueries::btnAddClick);
    GuardedConnect(btnEdit, &QPushButton::clicked, this, &TfQueries::btnEditClick);
    GuardedConnect(btnDel, &QPushButton::clicked, this, &TfQueries::btnDelClick);
    GuardedConnect(btnOK, &QPushButton::clicked, this, &TfQueries::btnOKClick);
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    SetFinishKeys(this, {btnOK}, false);  // Enter in the value box must not save
    GuardedConnect(lv, &QTreeWidget::itemSelectionChanged, this, [this] {
        const int row = SelectedRow();
        if (row >= 0) lvSelectItem(row);
    });

    // FormCreate: the first condition takes no connective.
    rb1->setEnabled(false);
    rb2->setEnabled(false);
    cbQueryTip->SelectByKey(Catalog::CatBasic);
    LoadLookups();
    setFixedSize(QSize(760, 460).expandedTo(sizeHint()));
}

TfQueries::~TfQueries() = default;

void TfQueries::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FShown) return;
    FShown = true;
    CenterOnScreen(this);
    Guarded([this] { FormShow(); });
}

void TfQueries::FormShow()
{
    if (FPars.Mode == fmEdit) LoadFilter();
}

void TfQueries::LoadLookups()
{
    TWaitCursor wait;
    TQuery& q = AM->qTemp;
    {
        TUpdatesSuspended frozen({cbLapok});
        cbLapok->Clear();
        q.Close();
        q.SetSQL(QStringLiteral("SELECT L_ID, L_LAPSZAM, L_NEV FROM TLAP ORDER BY L_LAPSZAM, L_NEV"));
        q.Open();
        QStringList keys, texts;
        keys.reserve(q.RecordCount());
        texts.reserve(q.RecordCount());
        for (int row = 0; row < q.RecordCount(); ++row) {
            keys << q.ValueText(row, 0);
            texts << "(" + q.ValueText(row, 1) + ") " + q.ValueText(row, 2);
        }
        q.Close();
        cbLapok->AddKeyedItems(keys, texts);
        cbLapok->setCurrentIndex(-1);  // no card is chosen until the user picks one
    }
    {
        TUpdatesSuspended frozen({cbKat});
        cbKat->Clear();
        q.SetSQL(QStringLiteral("SELECT FT_ID, FT_NAME FROM TFILTERTYPE ORDER BY FT_ID"));
        q.Open();
        for (int row = 0; row < q.RecordCount(); ++row) cbKat->AddKeyed(q.ValueText(row, 0), q.ValueText(row, 1));
        q.Close();
        cbKat->setCurrentIndex(-1);
    }
}

void TfQueries::cbKatChange()
{
    const qint64 type = KeyToInteger(cbKat->SelectedKey());
    LoadOperations(type, 0);
    LoadValues(type, 0);
}

void TfQueries::LoadOperations(qint64 filterTypeId, int index)
{
    cbMuv->Clear();
    qGetOps.Close();
    qGetOps.SetParam("PFID", filterTypeId);
    qGetOps.Open();
    for (int row = 0; row < qGetOps.RecordCount(); ++row)
        cbMuv->AddKeyed(qGetOps.ValueText(row, 0), qGetOps.ValueText(row, 1));
    qGetOps.Close();
    if (cbMuv->count() > 0) cbMuv->setCurrentIndex(qBound(0, index, cbMuv->count() - 1));
}

void TfQueries::LoadValues(qint64 filterTypeId, int index)
{
    cbErt->Clear();
    cbErt->setEditText(QString());
    const QString kind = AM->GetFieldValue("TFILTERTYPE", "FT_ID", filterTypeId, "FT_KIND");
    const QString field2 = AM->GetFieldValue("TFILTERTYPE", "FT_ID", filterTypeId, "FT_FIELD2");
    const QString field3 = AM->GetFieldValue("TFILTERTYPE", "FT_ID", filterTypeId, "FT_FIELD3");
    if (!IsOptionsKind(kind)) return;
    const int dot = field2.indexOf(u'.');
    const QString table = dot < 0 ? QString() : field2.left(dot);
    TUpdatesSuspended frozen({cbErt});
    qGetErt.Close();
    qGetErt.SetSQL("SELECT " + field2 + "," + field3 + " FROM " + table + " ORDER BY 2");
    qGetErt.Open();
    for (int row = 0; row < qGetErt.RecordCount(); ++row)
        cbErt->AddKeyed(qGetErt.ValueText(row, 0), qGetErt.ValueText(row, 1));
    if (filterTypeId == kCardTypeFilter) cbErt->AddKeyed(QStringLiteral("L999"), QStringLiteral("vezér"));
    qGetErt.Close();
    if (cbErt->count() > 0) cbErt->setCurrentIndex(qBound(0, index, cbErt->count() - 1));
}

TQueryPiece TfQueries::PieceFromControls() const
{
    const QString typeKey = cbKat->SelectedKey();
    const qint64 type = KeyToInteger(typeKey);
    const QString kind = AM->GetFieldValue("TFILTERTYPE", "FT_ID", type, "FT_KIND");
    const QString field = AM->GetFieldValue("TFILTERTYPE", "FT_ID", type, "FT_FIELD");
    TQueryPiece p;
    p.FieldName = field;
    p.Operation = cbMuv->currentText();
    p.Value = IsOptionsKind(kind) ? cbErt->SelectedKey() : cbErt->currentText();
    p.ValueType = kind;
    p.Kind = pkStoredFilter;
    p.AndOr = rb1->isChecked() ? QStringLiteral("AND") : rb2->isChecked() ? QStringLiteral("OR") : QString();
    p.Group = rxCsop->value();
    p.FilterTypeId = type;
    return p;
}

QString TfQueries::AndOrCaption() const
{
    return rb1->isChecked() ? QStringLiteral("És") : rb2->isChecked() ? QStringLiteral("Vagy") : QString();
}

QString TfQueries::RowText() const
{
    return cbKat->currentText() + u' ' + cbMuv->currentText() + u' ' + cbErt->currentText();
}

void TfQueries::FillRow(QTreeWidgetItem* item, int number) const
{
    item->setText(lvcId, QString());
    item->setText(lvcNumber, QString::number(number) + u'.');
    item->setText(lvcAndOr, AndOrCaption());
    item->setText(lvcText, RowText());
    item->setText(lvcGroup, QString::number(rxCsop->value()));
    item->setTextAlignment(lvcNumber, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(lvcGroup, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(lvcText, item->text(lvcText));
    lvCustomDrawItem(item);
}

void TfQueries::AddConditionRow(int number)
{
    auto* item = new QTreeWidgetItem;
    FillRow(item, number);
    lv->addTopLevelItem(item);
}

void TfQueries::UpdateConditionRow(int row)
{
    if (QTreeWidgetItem* item = lv->topLevelItem(row)) FillRow(item, row + 1);
}

void TfQueries::lvCustomDrawItem(QTreeWidgetItem* item) const
{
    bool ok = false;
    const qint64 group = item->text(lvcGroup).toLongLong(&ok);
    // Odd groups in blue, the rest in the list's text colour; both readable on a dark list too.
    const QPalette palette = lv->palette();
    const QColor colour = ok && group > 0 && group % 2 == 1 ? ReadableOn(Qt::blue, palette.color(QPalette::Base))
                                                            : palette.color(QPalette::Text);
    for (int c = 0; c < lv->columnCount(); ++c) item->setForeground(c, colour);
}

void TfQueries::btnAddClick()
{
    FPieces.AddPiece(PieceFromControls());
    AddConditionRow(FPieces.Count());
    rb1->setEnabled(true);
    rb2->setEnabled(true);
}

int TfQueries::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = lv->selectedItems();
    return selected.isEmpty() ? -1 : lv->indexOfTopLevelItem(selected.constFirst());
}

void TfQueries::btnEditClick()
{
    const int row = SelectedRow();
    if (row < 0 || row >= FPieces.Count()) return;
    *FPieces.Items(row) = PieceFromControls();
    UpdateConditionRow(row);
}

void TfQueries::btnDelClick()
{
    const int row = SelectedRow();
    if (row < 0 || row >= FPieces.Count()) return;
    {
        // The list and the conditions must agree again before a new selection fills the controls.
        QSignalBlocker quiet(lv);
        FPieces.Delete(row);
        delete lv->takeTopLevelItem(row);
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            lv->topLevelItem(i)->setText(lvcNumber, QString::number(i + 1) + u'.');
    }
    if (SelectedRow() >= 0) lvSelectItem(SelectedRow());
}

void TfQueries::SetAndOr(const QString& andOr)
{
    // Both buttons may be off (the first condition has no connective), which an exclusive pair
    // does not allow while it is exclusive.
    rb1->setAutoExclusive(false);
    rb2->setAutoExclusive(false);
    rb1->setChecked(andOr == QLatin1String("AND"));
    rb2->setChecked(andOr == QLatin1String("OR"));
    rb1->setAutoExclusive(true);
    rb2->setAutoExclusive(true);
}

void TfQueries::PieceToControls(const TQueryPiece& piece)
{
    cbKat->SelectByKey(QString::number(piece.FilterTypeId));
    LoadOperations(piece.FilterTypeId, 0);
    cbMuv->SelectByText(piece.Operation);
    LoadValues(piece.FilterTypeId, 0);
    if (cbErt->count() == 0) SetTextKeepingAll(cbErt->lineEdit(), piece.Value, kValueLength);
    else cbErt->SelectByKey(piece.Value);
    rxCsop->setValue(int(std::clamp<qint64>(piece.Group, rxCsop->minimum(), rxCsop->maximum())));
    SetAndOr(piece.AndOr);
}

void TfQueries::lvSelectItem(int row)
{
    if (row < 0 || row >= FPieces.Count()) return;
    PieceToControls(*FPieces.Items(row));
}

std::optional<QList<QVariant>> TfQueries::StoredSignature(qint64 filterId)
{
    TQuery q(&AM->ADOConnection);
    q.SetSQL(QStringLiteral("SELECT FB_NAME, FB_CATEGORY FROM TFILTERBASE WHERE FB_ID = :ID"));
    q.SetParam("ID", filterId);
    q.Open();
    if (q.IsEmpty()) return std::nullopt;
    // Values with their storage class, so that NULL, '' and 0, or 5 and '5', tell a change apart;
    // a row count between the parts keeps rows of one part from passing for another's.
    QList<QVariant> s{q.StoredValue(0, 0), q.StoredValue(0, 1)};
    auto addRows = [&q, &s] {
        s << QVariant(qint64(q.RecordCount()));
        for (int row = 0; row < q.RecordCount(); ++row)
            for (int c = 0; c < q.FieldCount(); ++c) s << q.StoredValue(row, c);
    };
    q.Close();
    q.SetSQL(QStringLiteral("SELECT F_FTID, F_FOID, F_VALUE, F_ORDER, F_GROUP, F_ANDOR, F_FIELDNAME, F_OPERATION, "
                            "F_VALUETYPE FROM TFILTER WHERE F_FBID = :ID ORDER BY F_ORDER, F_ID"));
    q.SetParam("ID", filterId);
    q.Open();
    addRows();
    q.Close();
    q.SetSQL(QStringLiteral("SELECT SZL_LID FROM TSZURESLAP WHERE SZL_FBID = :ID ORDER BY SZL_LID, rowid"));
    q.SetParam("ID", filterId);
    q.Open();
    addRows();
    return s;
}

std::vector<qint64> TfQueries::StoredLinks(qint64 filterId)
{
    TQuery q(&AM->ADOConnection);
    q.SetSQL(QStringLiteral("SELECT DISTINCT SZL_LID FROM TSZURESLAP WHERE SZL_FBID = :ID ORDER BY SZL_LID"));
    q.SetParam("ID", filterId);
    q.Open();
    std::vector<qint64> links;
    for (int row = 0; row < q.RecordCount(); ++row) links.push_back(q.ValueInteger(row, 0));
    return links;
}

void TfQueries::ShowLinks()
{
    // One link is the card in the box, ticked: unticking it removes the link. Several stay as they
    // are; the box can add one more.
    const bool one = FLoadedLinks.size() == 1;
    cbCsatol->setChecked(one);
    if (one) cbLapok->SelectByKey(QString::number(FLoadedLinks.front()));
    lCsatolva->setVisible(FLoadedLinks.size() > 1);
    lCsatolva->setText(QString::number(FLoadedLinks.size()) + QStringLiteral(" laphoz csatolva"));
}

void TfQueries::LoadFilter()
{
    TWaitCursor wait;
    FPieces.Clear();
    lv->clear();
    FLoadedSignature = StoredSignature(FPars.Id);
    FLoadedLinks = StoredLinks(FPars.Id);
    ShowLinks();

    qFILTERBASE.Close();
    qFILTERBASE.SetParam("FB_ID", FPars.Id);
    qFILTERBASE.Open();
    if (!qFILTERBASE.IsEmpty()) {
        SetTextKeepingAll(eNev, qFILTERBASE.ValueText(0, 0), kNameLength);
        cbQueryTip->SelectByKey(qFILTERBASE.ValueText(0, 1));
    }
    qFILTERBASE.Close();

    qFILTER.Close();
    qFILTER.SetParam("F_FBID", FPars.Id);
    qFILTER.Open();
    for (int row = 0; row < qFILTER.RecordCount(); ++row) {
        TQueryPiece p;
        p.FieldName = qFILTER.ValueText(row, 7);
        p.Operation = qFILTER.ValueText(row, 8);
        p.Value = qFILTER.ValueText(row, 3);
        p.ValueType = qFILTER.ValueText(row, 9);
        p.AndOr = qFILTER.ValueText(row, 6);
        p.Group = qFILTER.ValueInteger(row, 5);
        p.FilterTypeId = qFILTER.ValueInteger(row, 1);
        p.Kind = pkStoredFilter;
        FPieces.AddPiece(p);
    }
    qFILTER.Close();

    QSignalBlocker quiet(lv);
    bool reported = false;
    for (int i = 0; i < FPieces.Count(); ++i) {
        // A broken value list (a filter type whose table cannot be read) is reported once; every
        // condition still gets its row, so the list and the conditions that will be saved agree.
        try {
            PieceToControls(*FPieces.Items(i));
        } catch (const std::exception& e) {
            if (!reported) AppEventsException(e);
            reported = true;
        }
        AddConditionRow(i + 1);
    }
    quiet.unblock();
    rb1->setEnabled(true);
    rb2->setEnabled(true);
    if (lv->topLevelItemCount() > 0) {
        quiet.reblock();
        lv->setCurrentItem(lv->topLevelItem(0));
        lv->topLevelItem(0)->setSelected(true);
        quiet.unblock();
        try {
            lvSelectItem(0);
        } catch (const std::exception& e) {
            if (!reported) AppEventsException(e);
        }
    }
}

void TfQueries::cbLapokChange() { cbCsatol->setChecked(true); }

qint64 TfQueries::SaveFilter()
{
    TWaitCursor wait;
    const bool editing = FPars.Mode == fmEdit;
    TTransaction transaction(AM->ADOConnection);
    if (editing) {
        // Someone (another window, another program) changed or removed the filter since it was
        // loaded: writing now would silently overwrite or resurrect it.
        const std::optional<QList<QVariant>> now = StoredSignature(FPars.Id);
        if (!now || !FLoadedSignature || !SameStoredValues(*now, *FLoadedSignature)) {
            ShowWarning(TEXT_FILTER_CHANGED);
            return -1;
        }
    }
    TCommand& header = editing ? cFejUpdate : cFejInsert;
    header.SetParam("FB_NAME", eNev->text());
    header.SetParam("FB_CATEGORY", cbQueryTip->SelectedKey());
    if (editing) header.SetParam("FB_ID", FPars.Id);
    header.Execute();
    // The row just inserted, read inside the transaction: no other writer can move it.
    const qint64 id = editing ? FPars.Id : AM->ADOConnection.LastInsertId();

    TCommand remove(&AM->ADOConnection);
    remove.SetSQL(QStringLiteral("DELETE FROM TFILTER WHERE F_FBID=:PID"));
    remove.SetParam(0, id);
    remove.Execute();
    for (int i = 0; i < FPieces.Count(); ++i) {
        const TQueryPiece& p = *FPieces.Items(i);
        cFilterInsert.SetParam("F_FBID", id);
        cFilterInsert.SetParam("F_FTID", p.FilterTypeId);
        cFilterInsert.SetParam("F_FOID", -1);
        cFilterInsert.SetParam("F_VALUE", p.Value);
        cFilterInsert.SetParam("F_ORDER", i);
        cFilterInsert.SetParam("F_GROUP", p.Group);
        cFilterInsert.SetParam("F_ANDOR", p.AndOr);
        cFilterInsert.SetParam("F_FIELDNAME", p.FieldName);
        cFilterInsert.SetParam("F_OPERATION", p.Operation);
        cFilterInsert.SetParam("F_VALUETYPE", p.ValueType);
        cFilterInsert.Execute();
    }
    // Links change only as the box says: a single link follows the box (unticked removes it,
    // another card replaces it); several links stay, and a ticked box adds one more.
    const qint64 chosen = cbCsatol->isChecked() ? KeyToInteger(cbLapok->SelectedKey()) : -1;
    const bool single = editing && FLoadedLinks.size() == 1;
    if (single && FLoadedLinks.front() != chosen) {
        remove.SetSQL(QStringLiteral("DELETE FROM TSZURESLAP WHERE SZL_FBID = :PID AND SZL_LID = :LID"));
        remove.SetParam(0, id);
        remove.SetParam(1, FLoadedLinks.front());
        remove.Execute();
    }
    const bool linked = editing && std::find(FLoadedLinks.begin(), FLoadedLinks.end(), chosen) != FLoadedLinks.end();
    if (chosen >= 0 && !linked) {
        cLapCsatol.SetParam("SZL_FBID", id);
        cLapCsatol.SetParam("SZL_LID", chosen);
        cLapCsatol.Execute();
    }
    transaction.Commit();
    return id;
}

void TfQueries::btnOKClick()
{
    if (FPieces.IsEmpty()) {
        ShowWarning(TEXT_NO_CONDITION);
        return;
    }
    if (cbCsatol->isChecked()) {
        bool ok = false;
        cbLapok->SelectedKey().toLongLong(&ok);
        if (!ok) {
            ShowWarning(TEXT_NO_CARD_TO_LINK);
            return;
        }
    }
    const qint64 id = SaveFilter();
    if (id < 0) return;
    FPars.ResultId = id;
    accept();
}

void TfQueries::CopyParsBackIfOk(int modalResult, TFormOpenPars& caller) const
{
    if (modalResult == QDialog::Accepted) caller = FPars;
}

int ShowQueryEditor(TFormOpenPars& pars)
{
    TfQueries window(pars);
    const int result = window.exec();
    window.CopyParsBackIfOk(result, pars);
    return result;
}
