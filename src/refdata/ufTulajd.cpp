#include "refdata/ufTulajd.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "storage/uAM.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <utility>

namespace {
const int kNameColumnWidth = 394;
const int kGridHeight = 320;
}  // namespace

// The cell editor of the grid: remembered so that a post can take its text first, and never
// shorter than the name it shows.
class TLookupGridDelegate : public QStyledItemDelegate {
public:
    explicit TLookupGridDelegate(TLookupGrid* grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        FGrid->FEditor = editor;
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const QString text = index.data(Qt::EditRole).toString();
            if (text.size() > line->maxLength()) line->setMaxLength(int(text.size()));
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

private:
    TLookupGrid* FGrid;
};

TLookupGrid::TLookupGrid(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new TLookupGridDelegate(this));
    // Arrows move between cells and Tab leaves the grid; while editing, Tab still moves to the next cell.
    setTabKeyNavigation(false);
}

void TLookupGrid::CommitEditor()
{
    if (!Editing() || !FEditor) return;
    QWidget* editor = FEditor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TLookupGrid::keyPressEvent(QKeyEvent* event)
{
    if (Editing()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int rows = model() ? model()->rowCount() : 0;
    if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        emit AppendRequested();
    } else if (event->key() == Qt::Key_Down && mods == Qt::NoModifier && currentIndex().row() >= rows - 1) {
        emit AppendRequested();
    } else if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        emit DeleteRequested();
    } else if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        const auto* table = qobject_cast<const TLookupTable*>(model());
        if (table && table->IsPending(currentIndex().row())) {
            emit CancelRequested();
        } else {
            event->ignore();  // the window closes
            return;
        }
    } else {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------

TfTulajd::TfTulajd(QWidget* parent)
    : QDialog(parent), tblTul(&AM->ADOConnection), qGetMax(&AM->ADOConnection), qTemp(&AM->ADOConnection)
{
    setObjectName("fTulajd");
    setWindowTitle(QStringLiteral("Tulajdonságok felvitele"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto radio = [this](QRadioButton*& rb, const char* name, const QString& text) {
        rb = new QRadioButton(text, this);
        rb->setObjectName(name);
        GuardedConnect(rb, &QRadioButton::clicked, this, [this, rb] { rbClick(rb); });
    };
    radio(rb1, "rb1", QStringLiteral("Velkor"));
    radio(rb2, "rb2", QStringLiteral("Laptípus"));
    radio(rb3, "rb3", QStringLiteral("Tulajdonság"));
    radio(rb4, "rb4", QStringLiteral("Egyéb tulajdonság"));
    rb1->setChecked(true);
    auto* radios = new QHBoxLayout;
    radios->setSpacing(16);
    for (QRadioButton* rb : {rb1, rb2, rb3, rb4}) radios->addWidget(rb);
    radios->addStretch(1);

    tblTul.OnNewRecord = [this] { return tblTulNewRecord(); };
    grTul = new TLookupGrid(this);
    grTul->setObjectName("grTul");
    grTul->setAccessibleName(QStringLiteral("Tulajdonságok"));
    grTul->setModel(&tblTul);
    grTul->setSelectionBehavior(QAbstractItemView::SelectRows);
    grTul->setSelectionMode(QAbstractItemView::SingleSelection);
    grTul->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grTul->setWordWrap(false);
    grTul->setTextElideMode(Qt::ElideRight);
    grTul->horizontalHeader()->setStretchLastSection(false);
    grTul->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grTul->setColumnWidth(0, kNameColumnWidth);
    grTul->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grTul->verticalHeader()->setDefaultSectionSize(20);
    grTul->verticalHeader()->setFixedWidth(14);
    grTul->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grTul->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grTul->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The name column and the scroll bar fit without a horizontal scroll.
    grTul->setFixedSize(kNameColumnWidth + 14 + grTul->verticalScrollBar()->sizeHint().width() +
                            2 * grTul->frameWidth() + 2,
                        kGridHeight);

    auto button = [this](QPushButton*& b, const char* name, const QString& text) {
        b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
    };
    button(btnNew, "btnNew", QStringLiteral("Új"));
    button(btnEdit, "btnEdit", QStringLiteral("Módosítás"));
    button(btnDel, "btnDel", QStringLiteral("Törlés"));
    button(btnClose, "btnClose", QStringLiteral("Bezárás"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnNew);
    buttons->addWidget(btnEdit);
    buttons->addWidget(btnDel);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addLayout(radios);
    layout->addWidget(grTul);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    GuardedConnect(btnNew, &QPushButton::clicked, this, &TfTulajd::btnNewClick);
    GuardedConnect(btnEdit, &QPushButton::clicked, this, &TfTulajd::btnEditClick);
    GuardedConnect(btnDel, &QPushButton::clicked, this, &TfTulajd::btnDelClick);
    GuardedConnect(btnClose, &QPushButton::clicked, this, &TfTulajd::btnCloseClick);
    SetFinishKeys(this, {btnClose}, false);  // Enter in the grid edits
    GuardedConnect(grTul, &TLookupGrid::AppendRequested, this, &TfTulajd::grTulAppend);
    GuardedConnect(grTul, &TLookupGrid::DeleteRequested, this, &TfTulajd::btnDelClick);
    GuardedConnect(grTul, &TLookupGrid::CancelRequested, this, &TfTulajd::grTulCancel);
    GuardedConnect(grTul->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex& current, const QModelIndex& previous) {
                       if (previous.isValid() && previous.row() != current.row()) grTulRowLeft(previous.row());
                   });
}

TfTulajd::~TfTulajd() = default;

QRadioButton* TfTulajd::RadioOf(int table) const
{
    switch (table) {
    case 1: return rb2;
    case 2: return rb3;
    case 3: return rb4;
    default: return rb1;
    }
}

int TfTulajd::SelectedTable() const
{
    if (rb2->isChecked()) return 1;
    if (rb3->isChecked()) return 2;
    if (rb4->isChecked()) return 3;
    return 0;
}

int TfTulajd::CurrentRow() const
{
    const QModelIndex current = grTul->currentIndex();
    return current.isValid() && current.row() < tblTul.RowCount() ? current.row() : -1;
}

void TfTulajd::SetCurrentRow(int row)
{
    if (row < 0 || row >= tblTul.RowCount()) return;
    grTul->selectionModel()->setCurrentIndex(tblTul.index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grTul->scrollTo(tblTul.index(row, 0));
}

void TfTulajd::PostPending()
{
    grTul->CommitEditor();
    tblTul.Post();
}

void TfTulajd::FormShow()
{
    rb1->setChecked(true);
    SelectLookupTable();
}

void TfTulajd::rbClick(QObject* sender)
{
    if (!qobject_cast<QRadioButton*>(sender)) return;
    try {
        PostPending();
    } catch (...) {
        // The table shown stays: so does its radio button.
        if (FOpenTable >= 0) RadioOf(FOpenTable)->setChecked(true);
        throw;
    }
    SelectLookupTable();
}

void TfTulajd::SelectLookupTable()
{
    tblTul.Close();
    const int table = SelectedTable();
    const TLookupTableDef& def = LookupTableDef(table);
    tblTul.SetTable(def);
    FIdColumn = def.IdColumn;
    FPrefix = def.Prefix;
    if (FOpenTable != table) {
        FUnsavedNew.clear();
        FUnsavedEdit = {};
    }
    FOpenTable = table;
    tblTul.Open();
    grTul->setColumnWidth(0, kNameColumnWidth);
    SetCurrentRow(0);
}

QString TfTulajd::tblTulNewRecord() { return NextLookupId(); }

QString TfTulajd::NextLookupId() { return NextLookupIdIn(qGetMax, LookupTableDef(FOpenTable)); }

void TfTulajd::grTulRowLeft(int previousRow)
{
    // Only the row left: a fresh row appended below must not be dropped by its own arrival.
    if (tblTul.IsPending(previousRow)) tblTul.Post();
}

void TfTulajd::grTulAppend()
{
    if (!tblTul.Active()) return;
    grTul->CommitEditor();
    const int row = tblTul.AppendRow();
    SetCurrentRow(row);
    grTul->setFocus();
    grTul->edit(tblTul.index(row, 0));
}

void TfTulajd::grTulCancel() { tblTul.CancelRow(CurrentRow()); }

void TfTulajd::btnNewClick()
{
    if (FOpenTable < 0) return;
    PostPending();
    // A name whose write failed last time is offered again: nothing typed is lost.
    QString value = std::exchange(FUnsavedNew, QString());
    if (!InputQuery(QStringLiteral("Új tétel"), QStringLiteral("Kérem adja meg az új tételt:"), value)) return;
    const TLookupTableDef& def = LookupTableDef(FOpenTable);
    QString id;
    FUnsavedNew = value;
    {
        // The id is taken and written in one go, so nobody can take it in between.
        TTransaction transaction(AM->ADOConnection);
        id = NextLookupId();
        qTemp.Close();
        qTemp.SetSQL("INSERT INTO " + def.Table + " (" + def.IdColumn + "," + def.NameColumn +
                     ") VALUES (:PPAR1,:PPAR2)");
        qTemp.SetParam("PPAR1", id);
        qTemp.SetParam("PPAR2", value);
        qTemp.ExecSQL();
        transaction.Commit();
    }
    FUnsavedNew.clear();
    FWritten = true;
    tblTul.Close();
    tblTul.Open();
    SetCurrentRow(tblTul.RowOfId(id));
}

void TfTulajd::btnEditClick()
{
    if (FOpenTable < 0) return;
    PostPending();
    const int row = CurrentRow();
    const QString id = tblTul.IdAt(row);
    const QString stored = tblTul.StoredNameAt(row);
    const QVariant storedValue = tblTul.StoredValueAt(row);
    // A name whose write failed last time is offered again: nothing typed is lost.
    QString value = FUnsavedEdit.first == id && !FUnsavedEdit.second.isNull() ? FUnsavedEdit.second : tblTul.NameAt(row);
    FUnsavedEdit = {};
    if (!InputQuery(QStringLiteral("Tétel módosítása"), QStringLiteral("Kérem adja meg a módosított tételt:"), value))
        return;
    const TLookupTableDef& def = LookupTableDef(FOpenTable);
    bool stale = false;
    FUnsavedEdit = {id, value};
    {
        TTransaction transaction(AM->ADOConnection);
        if (row >= 0) {
            // Not over a name someone else changed since the grid read it.
            qTemp.Close();
            qTemp.SetSQL("SELECT " + def.NameColumn + " FROM " + def.Table + " WHERE " + def.IdColumn + " = :PPAR1");
            qTemp.SetParam("PPAR1", id);
            qTemp.Open();
            stale = qTemp.IsEmpty() || !SameStoredValue(qTemp.Fields(0).AsStoredValue(), storedValue);
            qTemp.Close();
        }
        if (!stale) {
            qTemp.SetSQL("UPDATE " + def.Table + " SET " + def.NameColumn + " = :PPAR1 WHERE " + def.IdColumn +
                         " = :PPAR2");
            qTemp.SetParam("PPAR1", value);
            qTemp.SetParam("PPAR2", id);
            if (qTemp.ExecSQL() > 0) FWritten = true;
            transaction.Commit();
        }
    }
    if (!stale) FUnsavedEdit = {};
    if (stale)
        ShowWarning(QStringLiteral("A(z) „%1” tételt időközben máshol módosították vagy törölték, ezért a(z) „%2” "
                                   "név nincs mentve. A táblázat újra betöltődik.")
                        .arg(stored, value));
    tblTul.Close();
    tblTul.Open();
    SetCurrentRow(row >= 0 ? std::max(tblTul.RowOfId(id), 0) : 0);
}

void TfTulajd::btnDelClick()
{
    if (FOpenTable < 0) return;
    grTul->CommitEditor();
    int row = CurrentRow();
    if (row < 0) return;
    if (tblTul.IsNewRow(row)) {
        // Not written yet: deleting it only drops the row.
        if (ConfirmDelete()) tblTul.CancelRow(row);
        return;
    }
    const TLookupTableDef& def = LookupTableDef(FOpenTable);
    const QString id = tblTul.IdAt(row);
    const QString name = tblTul.StoredNameAt(row);
    QStringList usage = LookupUsage(AM->ADOConnection, def, id);
    if (!usage.isEmpty()) {
        ShowWarning(LookupInUseMessage(name, usage));
        return;
    }
    if (!ConfirmDelete()) return;
    // The row's own unsaved name goes with it; any other pending row is written first.
    tblTul.CancelRow(row);
    tblTul.Post();
    row = tblTul.RowOfId(id);
    if (row < 0) return;
    if (!tblTul.DeleteRow(row, &usage)) {
        ShowWarning(LookupInUseMessage(name, usage));
        return;
    }
    SetCurrentRow(std::min(row, tblTul.RowCount() - 1));
}

void TfTulajd::btnCloseClick()
{
    PostPending();
    accept();
}

void TfTulajd::reject()
{
    // The close box and Escape keep a pending name as "Bezárás" does; a failed write keeps the
    // window open with the name still in the grid.
    bool posted = false;
    Guarded([&] {
        PostPending();
        posted = true;
    });
    if (posted) QDialog::reject();
}

bool ShowTulajdEditor(QWidget* parent)
{
    TfTulajd window(parent);
    Guarded([&] { window.FormShow(); });
    CenterOverOwner(&window);
    window.exec();
    return window.Changed();
}
