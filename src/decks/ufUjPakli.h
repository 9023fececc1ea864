#pragma once
// The new deck wizard: page 1 picks the main god from a picture list of every main god card,
// page 2 names the deck; "KÉSZ" stores the deck's head and opens the new, empty deck.
#include "storage/DbProvider.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPalette;
class QRect;
class QListWidget;
class QPushButton;
class QTabWidget;
class TAM;

// Opens a stored deck in the deck editor (the main window's OpenDeck).
using TOpenDeck = std::function<void(qint64 deckId)>;

// One main god of the list; INDEX is its row, equal to its item index in lbFoisten.
struct TFoistenRow {
    qint64 L_ID = -1;
    QString L_LAPSZAM;
    QString L_NEV;
    QString VELKOR_NEV;
    QString L_UTAK;
    QString L_INFO;
    qint64 INDEX = -1;
};

class TfUjPakli : public QDialog {
    Q_OBJECT
public:
    // pictureFolder: where a god without a built-in portrait finds its card picture.
    TfUjPakli(TAM& am, TOpenDeck openDeck, const QString& pictureFolder, QWidget* parent = nullptr);
    ~TfUjPakli() override;

    // Handlers, public so that tests drive them.
    void FormShow();
    void pcWizChange();
    void btnNextClick();
    void btnPrevClick();
    // "KÉSZ": stores the deck, closes the wizard and opens the deck.
    void btnOkClick();
    // Stores the deck's head for the selected god (the first one when none is selected) and
    // returns its id; -1 when the catalogue holds no main god (the user is told).
    qint64 CreateDeck();

    // The selected item of lbFoisten, or -1.
    int SelectedGod() const;
    // The god's face: its built-in portrait or a thumbnail of its card picture (maybe null).
    QImage GodFace(int row) const;
    const std::array<QImage, 4>& PathIcons() const { return FPathIcons; }
    // The id stored by the last CreateDeck, or -1.
    qint64 NewDeckId() const { return FNewDeckId; }

    std::vector<TFoistenRow> mdTemp;
    TQuery qFoisten;

    QTabWidget* pcWiz = nullptr;
    QWidget* ts1 = nullptr;
    QWidget* ts2 = nullptr;
    QListWidget* lbFoisten = nullptr;
    QLineEdit* eNev = nullptr;
    QCheckBox* cbOpc1 = nullptr;
    QLabel* lOpc1Megj = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnPrev = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnOk = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    QWidget* BuildGodPage();
    QWidget* BuildNamePage();

    TAM& FAm;
    TOpenDeck FOpenDeck;
    QString FPictureFolder;
    std::array<QImage, 4> FPathIcons;  // IKON_V, IKON_M, IKON_H, IKON_I, drawn transparent
    mutable std::vector<std::optional<QImage>> FFaces;
    qint64 FNewDeckId = -1;
};

// Paints item `index` of lbFoisten into rect (the selection colour when selected).
void DrawGodItem(const TfUjPakli& wizard, QPainter& painter, const QRect& rect, int index, bool selected,
                 const QPalette& palette);

// Shows the wizard modally; a deck it creates is opened with openDeck.
void ShowNewDeckWizard(QWidget* parent, TAM& am, const QString& pictureFolder, const TOpenDeck& openDeck);
