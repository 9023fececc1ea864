#pragma once
// A list box whose items each carry one 64-bit integer (here a card's L_ID). Items can be dragged
// to another TDataListBox, never back onto the list they came from; the window decides what a drop
// does. When sorted, items stand in ascending text order by the comparison given (the catalogue's
// name order), and each keeps its integer however the list reorders.
#include <QListWidget>

#include <functional>

class TDataListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDataListBox(QWidget* parent = nullptr);

    // Appends an item (or inserts it at its sorted place) and returns its index.
    int AddItem(const QString& text, qint64 value);
    qint64 Value(int index) const;
    void SetValue(int index, qint64 value);
    // Index of the first item with exactly this text, -1 when none.
    int IndexOfText(const QString& text) const;
    // Item indexes of the selection, ascending.
    QList<int> SelectedIndexes() const;

    // alreadyInOrder: the items were added in ascending order, so switching sorting on need not
    // sort them again.
    void SetSorted(bool sorted, bool alreadyInOrder = false);
    // Text comparison for the sorted order (negative, 0, positive); the default is the locale's.
    void SetCompare(std::function<int(const QString&, const QString&)> compare);
    int Compare(const QString& a, const QString& b) const;

    // True when a drag that started in source may end here: another TDataListBox.
    bool AcceptsDragFrom(const QObject* source) const;

signals:
    // Items of source were dropped here.
    void ItemsDropped(TDataListBox* source);
    // The user asked to move the selection to the other list (Enter or double-click).
    void MoveRequested();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<int(const QString&, const QString&)> FCompare;
};
