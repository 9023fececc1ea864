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
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const int kIconColumn = 5;
const QColor kSortTitleColour(128, 128, 128);

// Sort keys get a grey title cell; the header asks the model for it.
class TGridModel : public TQueryModel {
public:
    using TQueryModel::TQueryModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::BackgroundRole && Grey.value(section))
            return QBrush(kSortTitleColour);
        return TQueryModel::headerData(section, orientation, role);
    }
    QList<bool> Grey;
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
}

void TGridPage::Bind(TQuery* cardList)
{
    FCardList = cardList;
    auto* model = new TGridModel(cardList, this);
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

QLineEdit* TGridPage::NewBox(const QString& fieldName, int left, int width)
{
    auto* box = new QLineEdit(pnGridTop);
    box->setObjectName(QStringLiteral("e__") + fieldName);
    box->setGeometry(left, 1, width, pnGridTop->height() - 2);
    box->installEventFilter(this);
    GuardedConnect(box, &QLineEdit::returnPressed, this, [this] { emit QuickFilterRun(); });
    box->show();
    return box;
}

void TGridPage::RebuildQuickFilterBoxes()
{
    pnGridTop->setUpdatesEnabled(false);
    QList<std::pair<QString, QString>> kept;
    for (const auto& box : QuickFilterBoxes)
        if (box) kept << std::make_pair(box->objectName().mid(3), box->text());
    for (const auto& box : QuickFilterBoxes) delete box.data();
    QuickFilterBoxes.clear();
    if (FModel) {
        int x = 1;
        const QStringList& fields = FModel->ColumnFields();
        for (int col = FirstVisibleColumn(); col < fields.size(); ++col) {
            if (FHeader->isSectionHidden(col)) continue;
            const int width = FHeader->sectionSize(col);
            QuickFilterBoxes << NewBox(fields[col], x, width);
            x += width;
        }
    }
    for (const auto& box : QuickFilterBoxes)
        for (const auto& [field, text] : kept)
            if (box->objectName().mid(3) == field) {
                box->setText(text);
                break;
            }
    pnGridTop->setUpdatesEnabled(true);
}

void TGridPage::LayOutQuickFilterBoxes()
{
    if (!FModel) return;
    const int first = FirstVisibleColumn();
    const int columns = FModel->columnCount() - first;
    if (QuickFilterBoxes.size() < columns) return;
    pnGridTop->setUpdatesEnabled(false);
    int x = 1;
    const QStringList& fields = FModel->ColumnFields();
    for (int col = first; col < fields.size(); ++col) {
        if (FHeader->isSectionHidden(col)) continue;
        const int width = FHeader->sectionSize(col);
        for (const auto& box : QuickFilterBoxes)
            if (box && box->objectName().mid(3) == fields[col]) box->setGeometry(x, 1, width, box->height());
        x += width;
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

void TGridPage::FollowCardList()
{
    if (!FModel || !grQuery->selectionModel()) return;
    const int row = FCardList->RecNo();
    if (row < 0 || row >= FModel->rowCount()) return;
    const QModelIndex current = grQuery->currentIndex();
    if (current.isValid() && current.row() == row) return;
    FSyncing = true;
    const QModelIndex target = FModel->index(row, current.isValid() ? current.column() : FirstVisibleColumn());
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
    LayOutQuickFilterBoxes();
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
