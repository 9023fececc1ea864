#include "filters/DataListBox.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace {
const char* const kMime = "application/x-velkor-card-ids";

// Sorted lists order their items through this: the owning list's comparison on the texts.
class TDataListItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override
    {
        const auto* box = qobject_cast<const TDataListBox*>(listWidget());
        if (!box) return QListWidgetItem::operator<(other);
        return box->Compare(text(), other.text()) < 0;
    }
};
}  // namespace

TDataListBox::TDataListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit MoveRequested(); });
}

int TDataListBox::AddItem(const QString& text, qint64 value)
{
    auto* item = new TDataListItem(text);
    item->setData(Qt::UserRole, value);
    addItem(item);
    return row(item);
}

qint64 TDataListBox::Value(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->data(Qt::UserRole).toLongLong() : 0;
}

void TDataListBox::SetValue(int index, qint64 value)
{
    if (QListWidgetItem* it = item(index)) it->setData(Qt::UserRole, value);
}

int TDataListBox::IndexOfText(const QString& text) const
{
    for (int i = 0; i < count(); ++i)
        if (item(i)->text() == text) return i;
    return -1;
}

QList<int> TDataListBox::SelectedIndexes() const
{
    QList<int> rows;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected()) rows << i;
    return rows;
}

void TDataListBox::SetSorted(bool sorted, bool alreadyInOrder)
{
    setSortingEnabled(sorted);
    if (sorted && !alreadyInOrder) sortItems(Qt::AscendingOrder);
}

void TDataListBox::SetCompare(std::function<int(const QString&, const QString&)> compare)
{
    FCompare = std::move(compare);
    if (isSortingEnabled()) sortItems(Qt::AscendingOrder);
}

int TDataListBox::Compare(const QString& a, const QString& b) const
{
    return FCompare ? FCompare(a, b) : QString::localeAwareCompare(a, b);
}

bool TDataListBox::AcceptsDragFrom(const QObject* source) const
{
    return source != this && qobject_cast<const TDataListBox*>(source) != nullptr;
}

void TDataListBox::startDrag(Qt::DropActions)
{
    if (SelectedIndexes().isEmpty()) return;
    // The drop moves the items itself (the target reads them from this list); the drag only
    // carries a marker, so nothing is removed here whatever the drop reports.
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(kMime, QByteArray());
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void TDataListBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (AcceptsDragFrom(event->source())) event->acceptProposedAction();
    else event->ignore();
}

void TDataListBox::dragMoveEvent(QDragMoveEvent* event)
{
    if (AcceptsDragFrom(event->source())) event->acceptProposedAction();
    else event->ignore();
}

void TDataListBox::dropEvent(QDropEvent* event)
{
    auto* source = qobject_cast<TDataListBox*>(event->source());
    if (!AcceptsDragFrom(source)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);  // the source must not remove anything on its own
    event->accept();
    emit ItemsDropped(source);
}

void TDataListBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        emit MoveRequested();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}
