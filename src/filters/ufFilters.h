#pragma once
// The list of every stored filter, each with the colour square of its category: new, edit and
// delete in browse mode; in choose mode (Mode 3) the user picks one filter.
#include "storage/FormOpenPars.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QListWidget;
class QPushButton;

class TfFilters : public QDialog {
    Q_OBJECT
public:
    explicit TfFilters(const TFormOpenPars& pars, QWidget* parent = nullptr);
    ~TfFilters() override;

    void FillFilterList();
    // Choose mode hides the editing buttons and captions OK "Választ".
    void FormShow();
    // The selected row's filter id; 0 when its key does not start with a number, -1 with no row.
    qint64 SelectedFilterId() const;
    bool HasSelection() const;

    void btnNewClick();
    void btnEditClick();
    void btnDelClick();

    // The key pair FB_ID + ";" + FB_CATEGORY of each row, index for index.
    const QStringList& Keys() const { return FKeys; }
    static QString CategoryOfKey(const QString& key);
    const TFormOpenPars& Pars() const { return FPars; }

    // What a closing with modalResult gives the caller: ResultId only on OK with a row selected.
    void CopyResultTo(int modalResult, TFormOpenPars& caller) const;

    // Opens the query editor; replaceable so that tests need no modal loop.
    std::function<int(TFormOpenPars&)> QueryEditorOpener;

    QListWidget* lbFilters = nullptr;
    QPushButton* btnNew = nullptr;
    QPushButton* btnEdit = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFormOpenPars FPars;
    QStringList FKeys;
    bool FShown = false;
};

// Opens the list modally with a copy of pars; on OK with a row selected pars.ResultId becomes
// that row's filter id. Returns the modal result.
int ShowFilterList(TFormOpenPars& pars);
