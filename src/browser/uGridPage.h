#pragma once
// The table page: the card list as a read-only grid whose columns come from the column model,
// the quick-filter strip above it and the count label below it.
#include <QList>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QHeaderView;
class QLabel;
class QLineEdit;
class QTableView;
class TQuery;
class TQueryModel;

// The model column drawn as path icons.
inline constexpr int GRID_ICON_COLUMN = 5;

// Draws the sixth grid column (position 5) as path icons; every other cell as plain text.
class TGridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class QMenu;

class TGridPage : public QWidget {
    Q_OBJECT
public:
    // ctrlHeld: the main window's flag, set and cleared by the grid's Ctrl key handlers.
    TGridPage(bool& ctrlHeld, QWidget* parent = nullptr);

    // Binds the grid to the card list (after the catalogue has been opened).
    void Bind(TQuery* cardList);
    bool Bound() const { return FModel != nullptr; }

    void RebuildGridColumns();
    void RefreshGridTitles();
    void RebuildQuickFilterBoxes();
    void LayOutQuickFilterBoxes();
    // RebuildGridColumns, RebuildQuickFilterBoxes, then the card list is run again.
    void RefreshGrid();

    // The boxes' field names and texts, in the order they were created.
    std::vector<std::pair<QString, QString>> QuickFilterTexts() const;
    // The current row's values in grid order, tab-separated.
    QString CurrentRowText() const;
    // The first scrolled-in grid column.
    int FirstVisibleColumn() const;
    // Keeps the grid's current row on the card list's current row.
    void FollowCardList();

    // The column header's context menu: a check item per column of the column model, showing or
    // hiding it (the last shown column cannot be hidden). The caller owns the menu.
    QMenu* BuildColumnMenu(QWidget* parent);
    void SetColumnVisible(int column, bool visible);

    // Handlers, named as the grid reports them.
    void grQueryTitleClick(int column);
    void grQueryColumnMoved(int fromPosition, int toPosition);
    void grQueryColumnResize(int column, int width);
    void grQueryHScroll();

    QWidget* pnGridTop = nullptr;
    QTableView* grQuery = nullptr;
    QLabel* lDb = nullptr;
    QList<QPointer<QLineEdit>> QuickFilterBoxes;
    // The tooltip of a card list row (empty: none); the main window says where a search matched.
    std::function<QString(int row)> RowToolTip;
    TQueryModel* Model() const { return FModel; }

signals:
    // Enter or F3 in a quick-filter box.
    void QuickFilterRun();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* NewBox(const QString& fieldName);
    void RetireBox(QLineEdit* box);
    // preferred when it is wholly in view, else the first column that is, else preferred.
    int WhollyShownColumn(int preferred) const;
    // Model position of the grid column at position gridColumn (hidden columns are skipped).
    int ModelIndexOfGridColumn(int gridColumn) const;

    bool& FCtrlHeld;
    TQuery* FCardList = nullptr;
    TQueryModel* FModel = nullptr;
    QHeaderView* FHeader = nullptr;
    bool FRebuilding = false;
    bool FSyncing = false;
};
