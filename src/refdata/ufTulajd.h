#pragma once
// "Tulajdonságok felvitele": the names of the pantheons, card types, properties and categories,
// one table at a time, edited in place in the grid or through the "Új" and "Módosítás" prompts.
// The user only types names; the ids are generated.
#include "refdata/uLookupTable.h"
#include "storage/DbProvider.h"

#include <QDialog>
#include <QPointer>
#include <QTableView>

#include <utility>

class QPushButton;
class QRadioButton;

// The editable grid: Insert or Down on the last row appends a new row, Ctrl+Delete asks to delete
// the current row, Escape undoes the current row's pending change.
class TLookupGrid : public QTableView {
    Q_OBJECT
public:
    explicit TLookupGrid(QWidget* parent = nullptr);
    // Hands an open cell editor's text to the model and closes the editor.
    void CommitEditor();
    bool Editing() const { return state() == EditingState; }
    // The open cell editor, or null.
    QWidget* CellEditor() const { return Editing() ? FEditor.data() : nullptr; }

signals:
    void AppendRequested();
    void DeleteRequested();
    void CancelRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TLookupGridDelegate;
    QPointer<QWidget> FEditor;
};

class TfTulajd : public QDialog {
    Q_OBJECT
public:
    explicit TfTulajd(QWidget* parent = nullptr);
    ~TfTulajd() override;

    // Handlers, by their design names.
    void FormShow();
    void rbClick(QObject* sender);
    void SelectLookupTable();
    // The id of a new row of tblTul.
    QString tblTulNewRecord();
    QString NextLookupId();
    void btnNewClick();
    void btnEditClick();
    void btnDelClick();
    void btnCloseClick();
    // The grid's own commands.
    void grTulAppend();
    void grTulCancel();
    void grTulRowLeft(int previousRow);

    // The chosen table, as the radio buttons say (0 to 3).
    int SelectedTable() const;
    const QString& IdColumn() const { return FIdColumn; }
    const QString& Prefix() const { return FPrefix; }
    // The current grid row, -1 when there is none.
    int CurrentRow() const;
    // Whether anything was written to the catalogue while the window was open.
    bool Changed() const { return FWritten || tblTul.Changed(); }

    TLookupTable tblTul;
    TQuery qGetMax;
    TQuery qTemp;

    QRadioButton* rb1 = nullptr;
    QRadioButton* rb2 = nullptr;
    QRadioButton* rb3 = nullptr;
    QRadioButton* rb4 = nullptr;
    TLookupGrid* grTul = nullptr;
    QPushButton* btnNew = nullptr;
    QPushButton* btnEdit = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnClose = nullptr;

    // The close box and Escape: a pending name is written first, as with "Bezárás".
    void reject() override;

private:
    // Writes the grid's pending change; true when the window may go on (nothing failed).
    void PostPending();
    void SetCurrentRow(int row);
    QRadioButton* RadioOf(int table) const;

    QString FIdColumn;
    QString FPrefix;
    int FOpenTable = -1;  // the table tblTul holds
    bool FWritten = false;  // by the prompts
    // What was typed into a prompt whose write failed, offered again the next time it opens.
    QString FUnsavedNew;
    std::pair<QString, QString> FUnsavedEdit;  // the entry's id and the name typed for it
};

// Opens the window modally; true when anything was written (the callers refill their lists).
bool ShowTulajdEditor(QWidget* parent = nullptr);
