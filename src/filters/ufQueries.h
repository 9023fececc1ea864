#pragma once
// The query editor: a stored filter's name, category and ordered conditions (filter type,
// operation, value, group, connective), optionally linked to one card. Saving writes the header,
// its rows and the card link in one transaction.
#include "filters/uQPList.h"
#include "storage/DbProvider.h"
#include "storage/FormOpenPars.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;
class TLComboBox;

// Columns of the condition list.
enum : int { lvcId = 0, lvcNumber = 1, lvcAndOr = 2, lvcText = 3, lvcGroup = 4 };

class TfQueries : public QDialog {
    Q_OBJECT
public:
    // pars.Mode 1: a new filter; 2: the filter pars.Id. The window works on its own copy.
    explicit TfQueries(const TFormOpenPars& pars, QWidget* parent = nullptr);
    ~TfQueries() override;

    void FormShow();
    void LoadLookups();
    void cbKatChange();
    void LoadOperations(qint64 filterTypeId, int index);
    void LoadValues(qint64 filterTypeId, int index);
    // The condition the controls describe; throws EConvertError when no filter type is chosen.
    TQueryPiece PieceFromControls() const;
    void AddConditionRow(int number);
    void UpdateConditionRow(int row);
    void btnAddClick();
    void btnEditClick();
    void btnDelClick();
    void lvSelectItem(int row);
    // Blue for an odd positive group, black otherwise.
    void lvCustomDrawItem(QTreeWidgetItem* item) const;
    void LoadFilter();
    void cbLapokChange();
    // Validates, saves and closes with OK; on a warning or a failure the window stays open with
    // everything entered, and the catalogue is as it was.
    void btnOKClick();
    // The writes in one transaction; the filter id, or -1 when nothing was written (a warning
    // has been shown). Database errors propagate after the transaction is undone.
    qint64 SaveFilter();

    const TFormOpenPars& Pars() const { return FPars; }
    const TQPList& Pieces() const { return FPieces; }
    int SelectedRow() const;
    // The caller's record gets the editor's copy back only when the window closed with OK.
    void CopyParsBackIfOk(int modalResult, TFormOpenPars& caller) const;

    QLineEdit* eNev = nullptr;
    TLComboBox* cbQueryTip = nullptr;
    QRadioButton* rb1 = nullptr;
    QRadioButton* rb2 = nullptr;
    TLComboBox* cbKat = nullptr;
    TLComboBox* cbMuv = nullptr;
    TLComboBox* cbErt = nullptr;
    QSpinBox* rxCsop = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnEdit = nullptr;
    QTreeWidget* lv = nullptr;
    QPushButton* btnDel = nullptr;
    QCheckBox* cbCsatol = nullptr;
    TLComboBox* cbLapok = nullptr;
    QLabel* lCsatolva = nullptr;  // "N laphoz csatolva" when the filter is linked to several cards
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    TQuery qGetOps;
    TQuery qGetErt;
    TQuery qFILTERBASE;
    TQuery qFILTER;
    TCommand cFejInsert;
    TCommand cFejUpdate;
    TCommand cFilterInsert;
    TCommand cLapCsatol;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Puts a condition into the controls, as selecting its row does.
    void PieceToControls(const TQueryPiece& piece);
    void SetAndOr(const QString& andOr);
    QString AndOrCaption() const;
    QString RowText() const;
    void FillRow(QTreeWidgetItem* item, int number) const;
    // The stored filter's header, rows and card links as stored values, to see whether someone
    // changed them; none when the filter is gone.
    std::optional<QList<QVariant>> StoredSignature(qint64 filterId);
    std::vector<qint64> StoredLinks(qint64 filterId);
    void ShowLinks();

    TFormOpenPars FPars;
    TQPList FPieces;
    std::optional<QList<QVariant>> FLoadedSignature;
    std::vector<qint64> FLoadedLinks;  // the cards the edited filter was linked to when loaded
    bool FShown = false;
};

// Opens the editor modally; on OK the caller's record receives the editor's copy (ResultId).
int ShowQueryEditor(TFormOpenPars& pars);

// Texts of the editor's messages.
extern const QString TEXT_NO_CONDITION;
extern const QString TEXT_NO_CARD_TO_LINK;
extern const QString TEXT_FILTER_CHANGED;
