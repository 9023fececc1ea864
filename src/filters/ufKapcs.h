#pragma once
// A new related-card set: a name and cards dragged from the list of all cards into the set. It is
// stored as a stored filter of category "04OSSZ" with one "L_ID = id" row per card, ORed.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TDataListBox;

class TfKapcs : public QDialog {
    Q_OBJECT
public:
    explicit TfKapcs(QWidget* parent = nullptr);
    ~TfKapcs() override;

    // Fills "Összes lap" with every card and sorts both lists.
    void FormShow();
    // A drag may end on target when it started on the other list.
    bool KapcsListbox_DragOver(TDataListBox* target, QObject* source) const;
    // Moves the selected items of source to target; each item keeps its own card id.
    void KapcsListbox_DragDrop(TDataListBox* target, TDataListBox* source);
    // Makes the first card whose name begins with the search text the current item of lb1.
    void eKeresKeyUp();
    // Stores the set in one transaction and closes with OK; on failure nothing is stored, the
    // error has been reported and the window stays open.
    void btnOKClick();
    // The storing itself; true when the set was written.
    bool SaveRelatedCards();

    // The id of the set just stored, -1 before.
    qint64 SavedFilterId() const { return FSavedId; }

    QLineEdit* eNev = nullptr;
    QLineEdit* eKeres = nullptr;
    TDataListBox* lb1 = nullptr;
    TDataListBox* lb2 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDataListBox* Other(TDataListBox* list) const;
    bool FShown = false;
    bool FLoaded = false;
    qint64 FSavedId = -1;
};

// Opens the window modally; the set is stored when it closes with OK. Returns the modal result.
int ShowRelatedCards();
