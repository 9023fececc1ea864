#include "browser/uGridPage.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "browser/udmColumns.h"
#include "bitmaps/Bitmaps.h"
#include "bitmaps/uPaths.h"
#include "storage/DbProvider.h"
#include "storage/QueryModel.h"
#include "storage/uAM.h"

#include <QApplication>
#include <algorithm>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const int kIconColumn = GRID_ICON_COLUMN;
const QColor kSortTitleColour(128, 128, 128);

// Sort keys get a grey title cell; the header asks the model for it.
class TGridModel : public TQueryModel {
public:
    using TQueryModel::TQueryModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::BackgroundRole && Grey.value(section))
            return QBrush(kSortTitleColour);
        // The fixed grey takes fixed black text: a dark desktop's light header text does not read on it.
        if (orientation == Qt::Horizontal && role == Qt::ForegroundRole && Grey.value(section))
            return QBrush(Qt::black);
        return TQueryModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::ToolTipRole) {
            const QString tip = RowToolTip && *RowToolTip ? (*RowToolTip)(index.row()) : QString();
            return tip.isEmpty() ? QVariant() : QVariant(tip);
        }
        return TQueryModel::data(index, role);
    }
    QList<bool> Grey;
    const std::function<QString(int)>* RowToolTip = nullptr;
};
}  // namespace

void TGridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == kIconColumn) {
        const QString names = PathsToIconNames(index.data().toString());
        // A value with a character that has no icon (a number or a name moved into this
        // column) stays readable as text.
        const QStringList parts = names.split(u'/', Qt::SkipEmptyParts);
        const bool allKnown = !parts.isEmpty() && std::all_of(parts.begin(), parts.end(), [](const QString& n) {
            return !BuiltinBitmap(n).isNull();
        });
        if (allKnown) {
            const bool selected = option.state & QStyle::State_Selected;
            painter->fillRect(option.rect, selected ? option.palette.brush(QPalette::Active, QPalette::Highlight)
                                                    : option.palette.brush(QPalette::Base));
            painter->save();
            painter->setClipRect(option.rect);
            DrawIconsInRect(names, *painter, option.rect);
            painter->restore();
            return;
        }
    }
    QStyledItemDelegate::paint(painter, option, index);
}

TGridPage::TGridPage(bool& ctrlHeld, QWidget* parent) : QWidget(parent), FCtrlHeld(ctrlHeld)
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    pnGridTop = new QWidget(this);
    pnGridTop->setObjectName("pnGridTop");
    pnGridTop->setFixedHeight(24);
    page->addWidget(pnGridTop);

    grQuery = new QTableView(this);
    grQuery->setObjectName("grQuery");
    grQuery->setTabKeyNavigation(false);  // arrows move between cells; Tab leaves for the next control
    grQuery->setAccessibleName(QStringLiteral("Lapok"));
    grQuery->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grQuery->setSelectionBehavior(QAbstractItemView::SelectRows);
    grQuery->setSelectionMode(QAbstractItemView::SingleSelection);
    grQuery->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    grQuery->setShowGrid(true);
    grQuery->setWordWrap(false);
    grQuery->setItemDelegate(new TGridCellDelegate(grQuery));
    grQuery->verticalHeader()->hide();
    grQuery->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grQuery->verticalHeader()->setDefaultSectionSize(19);
    grQuery->verticalHeader()->setMinimumSectionSize(19);
    // The current row stays highlighted when the grid loses the focus.
    QPalette pal = grQuery->palette();
    pal.setBrush(QPalette::Inactive, QPalette::Highlight, pal.brush(QPalette::Active, QPalette::Highlight));
    pal.setBrush(QPalette::Inactive, QPalette::HighlightedText, pal.brush(QPalette::Active, QPalette::HighlightedText));
    grQuery->setPalette(pal);
    FHeader = grQuery->horizontalHeader();
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(12);
    FHeader->setFont(titleFont);
    FHeader->setSectionsMovable(true);
    FHeader->setSectionsClickable(true);
    FHeader->setHighlightSections(false);
    FHeader->setSectionResizeMode(QHeaderView::Interactive);
    FHeader->setStretchLastSection(false);
    FHeader->setMinimumSectionSize(8);
    grQuery->installEventFilter(this);
    grQuery->viewport()->installEventFilter(this);
    page->addWidget(grQuery, 1);

    lDb = new QLabel(this);
    lDb->setObjectName("lDb");
    lDb->setContentsMargins(4, 0, 0, 0);
    page->addWidget(lDb);

    GuardedConnect(FHeader, &QHeaderView::sectionClicked, this, &TGridPage::grQueryTitleClick);
    GuardedConnect(FHeader, &QHeaderView::sectionMoved, this,
                   [this](int, int oldVisual, int newVisual) { grQueryColumnMoved(oldVisual, newVisual); });
    GuardedConnect(FHeader, &QHeaderView::sectionResized, this,
                   [this](int logical, int, int size) { grQueryColumnResize(logical, size); });
    GuardedConnect(grQuery->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                   [this](int) { grQueryHScroll(); });
    GuardedConnect(FHeader, &QHeaderView::geometriesChanged, this, [this] { LayOutQuickFilterBoxes(); });
    FHeader->setContextMenuPolicy(Qt::CustomContextMenu);
    GuardedConnect(FHeader, &QHeaderView::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = BuildColumnMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(FHeader->mapToGlobal(at));
    });
}

QMenu* TGridPage::BuildColumnMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName("pmColumns");
    int shown = 0;
    for (const auto& c : dmColumns->cCols.Cols) shown += c.Visible;
    for (int i = 0; i < dmColumns->cCols.Count(); ++i) {
        const auto& c = dmColumns->cCols[i];
        QString text = c.Caption.isEmpty() ? c.FieldName() : c.Caption;
        // A caption is shown as it is: an "&" in it is no keyboard mark.
        text.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* a = menu->addAction(text);
        a->setCheckable(true);
        a->setChecked(c.Visible);
        a->setEnabled(!(c.Visible && shown <= 1));
        GuardedConnect(a, &QAction::toggled, this, [this, i](bool on) { SetColumnVisible(i, on); });
    }
    return menu;
}

void TGridPage::SetColumnVisible(int column, bool visible)
{
    if (column < 0 || column >= dmColumns->cCols.Count() || dmColumns->cCols[column].Visible == visible) return;
    if (!visible) {
        int shown = 0;
        for (const auto& c : dmColumns->cCols.Cols) shown += c.Visible;
        if (shown <= 1) return;
    }
    dmColumns->cCols[column].Visible = visible;
    // A hidden column's filter box goes with it, so the list is run again.
    if (FModel) RefreshGrid();
}

void TGridPage::Bind(TQuery* cardList)
{
    FCardList = cardList;
    auto* model = new TGridModel(cardList, this);
    model->RowToolTip = &RowToolTip;
    FModel = model;
    grQuery->setModel(model);
    GuardedConnect(grQuery->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex& current, const QModelIndex&) {
                       if (!FSyncing && current.isValid() && FCardList->RecNo() != current.row())
                           FCardList->SetRecNo(current.row());
                   });
}

int TGridPage::FirstVisibleColumn() const
{
    if (!FModel || FModel->columnCount() == 0) return 0;
    const int first = FHeader->logicalIndexAt(0);
    return first < 0 ? 0 : first;
}

int TGridPage::ModelIndexOfGridColumn(int gridColumn) const
{
    int seen = -1;
    for (int i = 0; i < dmColumns->cCols.Count(); ++i)
        if (dmColumns->cCols[i].Visible && ++seen == gridColumn) return i;
    return -1;
}

void TGridPage::RebuildGridColumns()
{
    if (!FModel) return;
    const int firstColumn = FirstVisibleColumn();
    FRebuilding = true;
    QStringList fields, titles;
    std::vector<int> widths;
    for (const auto& c : dmColumns->cCols.Cols) {
        if (!c.Visible) continue;
        fields << c.FieldName();
        titles << c.Caption;
        widths.push_back(c.Width);
    }
    FModel->SetColumns(fields, titles);
    for (int i = 0; i < int(widths.size()); ++i) FHeader->resizeSection(i, widths[size_t(i)]);
    RefreshGridTitles();
    if (firstColumn > 0 && firstColumn < FModel->columnCount())
        grQuery->horizontalScrollBar()->setValue(firstColumn);
    FRebuilding = false;
    LayOutQuickFilterBoxes();
    // New columns drop the selection: the current card is highlighted again at once.
    FollowCardList();
}

void TGridPage::RefreshGridTitles()
{
    if (!FModel) return;
    auto* model = static_cast<TGridModel*>(FModel);
    const int sorting = dmColumns->CountOrdered();
    const QStringList& fields = FModel->ColumnFields();
    model->Grey.clear();
    for (int i = 0; i < fields.size(); ++i) {
        const TColumnCollItem& item = dmColumns->cCols[dmColumns->FindColumn(fields[i])];
        QString title = item.Caption;
        const bool sorts = item.OrderNum > 0;
        if (sorts) {
            if (sorting > 1) title = QString::number(item.OrderNum) + u':' + title;
            title += item.Order == ordAsc ? QStringLiteral(" [ + ]") : QStringLiteral(" [ - ]");
        }
        model->Grey << sorts;
        FModel->SetTitle(i, title);
    }
    if (!fields.isEmpty()) emit FModel->headerDataChanged(Qt::Horizontal, 0, int(fields.size()) - 1);
}

QLineEdit* TGridPage::NewBox(const QString& fieldName)
{
    auto* box = new QLineEdit(pnGridTop);
    box->setObjectName(QStringLiteral("e__") + fieldName);
    // Above its column, the box's only label is the column title.
    const int column = dmColumns->FindColumn(fieldName);
    box->setAccessibleName(QStringLiteral("Szűrő: ") + (column >= 0 ? dmColumns->cCols[column].Caption : fieldName));
    box->installEventFilter(this);
    GuardedConnect(box, &QLineEdit::returnPressed, this, [this] { emit QuickFilterRun(); });
    return box;
}

void TGridPage::RetireBox(QLineEdit* box)
{
    // The box may be the one whose Enter or F3 is being handled right now (the requery it runs
    // can scroll its column out): it goes out of sight and out of the lookups at once, and is
    // destroyed only after the event has returned.
    box->disconnect(this);
    box->removeEventFilter(this);
    box->hide();
    box->clear();
    box->setObjectName(QString());
    box->deleteLater();
}

void TGridPage::RebuildQuickFilterBoxes()
{
    pnGridTop->setUpdatesEnabled(false);
    // A box whose column is still scrolled in is kept with its text (and its focus); boxes of
    // columns that scrolled out go, so their texts are lost; new columns get empty boxes.
    QList<QPointer<QLineEdit>> old = QuickFilterBoxes;
    QuickFilterBoxes.clear();
    if (FModel) {
        const QStringList& fields = FModel->ColumnFields();
        for (int col = FirstVisibleColumn(); col < fields.size(); ++col) {
            if (FHeader->isSectionHidden(col)) continue;
            QLineEdit* box = nullptr;
            for (auto it = old.begin(); it != old.end(); ++it)
                if (*it && (*it)->objectName().mid(3) == fields[col]) {
                    box = it->data();
                    old.erase(it);
                    break;
                }
            QuickFilterBoxes << (box ? box : NewBox(fields[col]));
        }
    }
    for (const auto& box : old)
        if (box) RetireBox(box);
    pnGridTop->setUpdatesEnabled(true);
    LayOutQuickFilterBoxes();
}

void TGridPage::LayOutQuickFilterBoxes()
{
    if (!FModel) return;
    pnGridTop->setUpdatesEnabled(false);
    // Each box stands exactly over the visible part of its column: the header's own section
    // positions, from the header's left edge, clipped to the part of the grid that shows rows.
    const int origin = FHeader->mapTo(this, QPoint(0, 0)).x() - pnGridTop->x();
    const int visibleWidth = FHeader->viewport()->width();
    const QStringList& fields = FModel->ColumnFields();
    for (const auto& box : QuickFilterBoxes) {
        if (!box) continue;
        const int col = int(fields.indexOf(box->objectName().mid(3)));
        if (col < 0 || FHeader->isSectionHidden(col)) {
            box->hide();
            continue;
        }
        const int start = FHeader->sectionViewportPosition(col);
        const int left = std::max(0, start);
        const int right = std::min(visibleWidth, start + FHeader->sectionSize(col));
        if (right <= left) {
            box->hide();  // beyond the right edge: it keeps its text until its column shows
            continue;
        }
        box->setGeometry(origin + left, 1, right - left, pnGridTop->height() - 2);
        box->show();
    }
    pnGridTop->setUpdatesEnabled(true);
}

void TGridPage::RefreshGrid()
{
    RebuildGridColumns();
    RebuildQuickFilterBoxes();
    AM->ReQuery();
}

std::vector<std::pair<QString, QString>> TGridPage::QuickFilterTexts() const
{
    std::vector<std::pair<QString, QString>> out;
    for (const auto& box : QuickFilterBoxes)
        if (box) out.emplace_back(box->objectName().mid(3), box->text());
    return out;
}

QString TGridPage::CurrentRowText() const
{
    if (!FModel || !FCardList || FCardList->RecNo() < 0) return QString();
    QStringList values;
    for (int col = 0; col < FModel->columnCount(); ++col)
        values << FModel->data(FModel->index(FCardList->RecNo(), col)).toString();
    return values.join(u'\t');
}

int TGridPage::WhollyShownColumn(int preferred) const
{
    const int width = FHeader->viewport()->width();
    const auto whole = [&](int col) {
        if (col < 0 || col >= FHeader->count() || FHeader->isSectionHidden(col)) return false;
        const int start = FHeader->sectionViewportPosition(col);
        return start >= 0 && start + FHeader->sectionSize(col) <= width;
    };
    if (whole(preferred)) return preferred;
    for (int col = FirstVisibleColumn(); col < FHeader->count(); ++col)
        if (whole(col)) return col;
    return preferred >= 0 ? preferred : FirstVisibleColumn();
}

void TGridPage::FollowCardList()
{
    if (!FModel || !grQuery->selectionModel()) return;
    const int row = FCardList->RecNo();
    if (row < 0 || row >= FModel->rowCount()) return;
    const QModelIndex current = grQuery->currentIndex();
    if (current.isValid() && current.row() == row) return;
    FSyncing = true;
    // The grid scrolls to the row but not sideways: the current cell is taken from a column that
    // is wholly in view, so following the card list never moves the columns under the boxes.
    const int column = WhollyShownColumn(current.isValid() ? current.column() : -1);
    const QModelIndex target = FModel->index(row, column);
    grQuery->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    FSyncing = false;
}

void TGridPage::grQueryTitleClick(int column)
{
    if (!FModel || column < 0 || column >= FModel->columnCount()) return;
    // A Ctrl+click adds a key even when Ctrl was pressed while another control had the focus.
    const bool ctrl = FCtrlHeld || (QApplication::keyboardModifiers() & Qt::ControlModifier);
    dmColumns->TitleClick(FModel->ColumnFields()[column], ctrl);
    RefreshGrid();
}

void TGridPage::grQueryColumnMoved(int fromPosition, int toPosition)
{
    if (FRebuilding || !FModel) return;
    // The grid's columns always stand in model order: undo the header's own move, move the
    // model item, and rebuild, so grid position and model column stay one and the same.
    FRebuilding = true;
    for (int visual = 0; visual < FHeader->count(); ++visual)
        if (FHeader->logicalIndex(visual) != visual) FHeader->moveSection(FHeader->visualIndex(visual), visual);
    FRebuilding = false;
    const int from = ModelIndexOfGridColumn(fromPosition);
    const int to = ModelIndexOfGridColumn(toPosition);
    if (from < 0 || to < 0) return;
    dmColumns->MoveColumn(from, to);
    RebuildGridColumns();
    RebuildQuickFilterBoxes();
}

void TGridPage::grQueryColumnResize(int column, int width)
{
    if (FRebuilding || !FModel || column < 0 || column >= FModel->columnCount()) return;
    LayOutQuickFilterBoxes();
    const QString field = FModel->ColumnFields()[column];
    for (auto& c : dmColumns->cCols.Cols)
        if (c.FieldName() == field) c.Width = width;
}

void TGridPage::grQueryHScroll()
{
    if (FRebuilding) return;
    RebuildQuickFilterBoxes();
}

bool TGridPage::eventFilter(QObject* watched, QEvent* event)
{
    // A wider or narrower grid (a vertical scroll bar coming or going, the first showing) moves
    // the columns without a scroll: the boxes follow, and a column that left the view loses its box.
    if (watched == grQuery->viewport() && event->type() == QEvent::Resize && !FRebuilding) {
        Guarded([this] { RebuildQuickFilterBoxes(); });
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched != grQuery) {
        // F3 in a quick-filter box runs the filter like Enter.
        if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_F3) {
            Guarded([this] { emit QuickFilterRun(); });
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        if (key->key() == Qt::Key_Control) FCtrlHeld = true;
        const bool copy = (key->modifiers() & Qt::ControlModifier) &&
                          (key->key() == Qt::Key_C || key->key() == Qt::Key_Insert);
        if (copy) {
            Guarded([this] { CopyToClipboard(CurrentRowText()); });
            return true;
        }
    } else {
        if (key->key() == Qt::Key_Control) FCtrlHeld = false;
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) Guarded([this] { grQueryHScroll(); });
    }
    return QWidget::eventFilter(watched, event);
}
