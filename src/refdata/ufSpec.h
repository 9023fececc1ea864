#pragma once
// The special abilities of one card: a read-only list above, one ability edited at a time in the
// panel below it, switching between browsing, modifying and adding.
#include "storage/DbProvider.h"
#include "storage/FormOpenPars.h"

#include <QDialog>

class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TQueryModel;

enum : uint8_t { esBrowse = 1, esModify = 2, esNew = 3 };

class TfSpec : public QDialog {
    Q_OBJECT
public:
    // pars.Id is the card whose abilities are edited; the window keeps its own copy.
    explicit TfSpec(const TFormOpenPars& pars, QWidget* parent = nullptr);
    ~TfSpec() override;

    void LoadSpecs();
    void dsrSpecDataChange();
    void SetEditMode(uint8_t state);
    uint8_t EditMode() const { return FState; }

    void btnUjClick();
    void btnModClick();
    void btnOkClick();
    void btnMegsemClick();
    void btnTorolClick();

    const TFormOpenPars& Pars() const { return FPars; }

    TQuery qSpec;
    TCommand cInsert;
    TCommand cUpdate;

    QTableView* grSpec = nullptr;
    QFrame* pnEdit = nullptr;
    QLineEdit* eKijatsz = nullptr;
    QLineEdit* eIdezes = nullptr;
    QPlainTextEdit* mText = nullptr;
    QPushButton* btnUj = nullptr;
    QPushButton* btnMod = nullptr;
    QPushButton* btnTorol = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnMegsem = nullptr;
    QPushButton* btnClose = nullptr;

    // The three texts of the ability (card id, number as stored) as they are stored now;
    // false when there is no such ability.
    bool ReadStoredAbility(const QVariant& number, QList<QVariant>& values);

private:
    void FollowQuery();
    // Writes the modified ability unless another program changed it since it was loaded and
    // the user chooses to keep that change; false when nothing was written.
    bool WriteModifiedAbility(const QVariant& number);

    TFormOpenPars FPars;
    TQueryModel* FModel = nullptr;
    uint8_t FState = esBrowse;
    bool FSyncing = false;
};

// Opens the editor for pars.Id modally and destroys it when closed.
void ShowSpecEditor(TFormOpenPars& pars);
