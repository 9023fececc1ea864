#pragma once
// "Gyűjtemény áttekintése": the collection's figures per group with a completion bar, the missing
// cards of a group (into the card list or onto the clipboard) and the spare copies to trade.
#include "collection/uCollection.h"

#include <QDialog>
#include <QStyledItemDelegate>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class QTableView;

inline constexpr int KeepCopiesMin = 1;
inline constexpr int KeepCopiesMax = 99;
inline constexpr int KeepCopiesDefault = 3;

// The total row in bold, and the completion column as a bar holding its percentage.
class TCompletionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

class TfGyujtemeny : public QDialog {
    Q_OBJECT
public:
    // conditions: the card list's active conditions ("Csak a szűrt lista"); keep: the spin box's start.
    TfGyujtemeny(TConnection* connection, const TCardListConditions* conditions, int keep,
                 QWidget* parent = nullptr);

    // Handlers, by their controls' names.
    void FormShow();
    void cbCsoportChange();
    void cbSzurtClick();
    void btnHianyzokClick();
    void btnHianyzokVagolapClick();
    void btnCsereVagolapClick();
    void btnCsereCsvClick();

    // Re-runs the figures for the chosen grouping and scope; an error is shown and leaves the table empty.
    void RefreshFigures();
    // The selected group; null when no row is selected.
    const TCollectionGroup* SelectedGroup() const;
    void SelectRow(int row);
    int KeepCopies() const;

    // What "Hiányzók mutatása" leaves for the card list.
    bool ShowMissing = false;
    std::vector<TQueryPiece> MissingPieces;
    QString MissingCaption;

    TCollectionModel* Model = nullptr;
    QComboBox* cbCsoport = nullptr;
    QCheckBox* cbSzurt = nullptr;
    QTableView* grGyujtemeny = nullptr;
    QPushButton* btnHianyzok = nullptr;
    QPushButton* btnHianyzokVagolap = nullptr;
    QSpinBox* seMegtartott = nullptr;
    QPushButton* btnCsereVagolap = nullptr;
    QPushButton* btnCsereCsv = nullptr;
    QPushButton* btnBezar = nullptr;

private:
    void UpdateButtons();

    TConnection* FConnection;
    const TCardListConditions* FConditions;
};

struct TCollectionResult {
    int KeepCopies = KeepCopiesDefault;
    bool ShowMissing = false;
    std::vector<TQueryPiece> MissingPieces;
    QString MissingCaption;
};

// Opens the window modally over parent and hands back what the card list and the settings keep.
TCollectionResult ShowCollection(QWidget* parent, TConnection* connection, const TCardListConditions* conditions,
                                 int keep);
