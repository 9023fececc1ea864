#pragma once
// The "Részlet" page: the current card in editable fields, its properties, categories,
// special abilities and note. The fields are filled by code when the current card changes and
// read back by code on save; nothing is bound to the card list.
#include "filters/uSearch.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class TLComboBox;
struct TFormOpenPars;

// Which of the four type-dependent fields a card type uses.
struct TCardTypeFields {
    bool Szint;
    bool Utak;
    bool Hp;
    bool Leidezes;
};

// Rows for the card type numbers 0 to 14.
extern const TCardTypeFields CardTypeFieldTable[15];

// The row for a type code ("L004" -> row 4); a type above 14 or a code without a number there
// uses all four fields.
TCardTypeFields CardTypeFieldsFor(const QString& typeCode);

// The card set a card number belongs to; empty above the last set and for negative numbers.
QString AppearanceForCardNumber(int cardNumber);

// A card as the page loaded it: the stored values its fields were filled from (each in the
// storage class the catalogue holds it in) and its note. A save compares it with the stored row.
struct TLoadedCard {
    qint64 Id = -1;
    QList<QVariant> Values;  // in the order of TDetailPage::CardColumns
    QStringList Texts;       // the same values as the fields show them
    bool HasNote = false;
    QString Note;
    bool Valid() const { return Id >= 0; }
    bool SameStored(const TLoadedCard& other) const;
};

inline const QString TEXT_UNSAVED_CARD =
    QStringLiteral("A lap módosításai nincsenek mentve. Menti a változásokat?");

// One special ability as the picture needs it.
struct TSpecAbility {
    QString Kijatsz;
    QString Leidezes;
    QString Szoveg;
};

// Where each part of the abilities picture goes.
struct TSpecTextLine {
    int X = 0;
    int Y = 0;
    QString Text;
};
struct TSpecRowLayout {
    int IconX = 0;
    int IconY = 0;
    QString IconNames;  // as PathsToIconNames gives them; empty when the row has no letters
    QList<TSpecTextLine> Lines;
};
struct TSpecLayout {
    QList<TSpecRowLayout> Rows;
    int Bottom = 0;  // y below the last row
};

inline constexpr int SPEC_LINE_CHARS = 75;
inline constexpr int SPEC_LINE_STEP = 24;
inline constexpr int SPEC_MIN_HEIGHT = 460;

// Breaks an ability text at the last space within each 75 characters (the space stays at the end
// of its line); a run without a space there stays whole.
QStringList BreakSpecText(const QString& text);
TSpecLayout LayoutSpecialAbilities(const QList<TSpecAbility>& abilities);
// Draws a layout onto a white canvas of the given size (at least SPEC_MIN_HEIGHT tall); the
// words a search matched (when given) on a marker background.
// Sizes are logical; the picture holds ratio device pixels per logical one, so a high-DPI
// screen gets sharp text instead of an upscaled image.
QImage PaintSpecialAbilities(const TSpecLayout& layout, int width, int height,
                             const TSearchQuery* highlight = nullptr, qreal ratio = 1.0);
// The marker colour of matched words.
QColor SearchMarkColor();

class TDetailPage : public QWidget {
    Q_OBJECT
public:
    explicit TDetailPage(QWidget* parent = nullptr);

    // Run when the current card changes while this page is active.
    void RefreshDetailPage(const QString& cardType);
    void LoadCardDetails();
    void LoadCardProperties();
    void ApplyCardTypeFields(const QString& cardType);
    void DrawSpecialAbilities();
    // Saves the fields to the card they were loaded from, then the card list stands on `then`
    // (the card loaded when -1). False when the edits are still unsaved (a warning was shown).
    bool SaveCardDetails(qint64 then = -1);
    // Whether the fields differ from what was loaded.
    bool IsModified() const;
    // Asked before the fields are refilled or left: unsaved edits are saved (Igen), dropped (Nem)
    // or kept (Mégse: false, and the card list goes back to the edited card when cardMoves).
    // True when the page may go on. A card that moved back to the edited one keeps its edits.
    bool MayLeaveCard(bool cardMoves);

    // Handlers.
    void btnEditClick();
    void cbLTipusChange();
    void sb1Click();
    void sb3Click();
    // Shared by sb2 (Tag 1: property) and sb4 (Tag 2: category).
    void lbTorles(QToolButton* sender);
    void sb6Click();
    // "Darabszámok törlése": clears every card's owned count after a question.
    void acDBDeleteExecute();

    // The modal windows the page opens; tests put their own in place of exec().
    std::function<QString(int kind)> PropertyPicker;
    std::function<void(TFormOpenPars& pars)> SpecEditorOpener;

    // The active search, whose matched words the abilities and the note show marked (an empty
    // query marks nothing). Takes effect at the next refresh of the page.
    void SetSearchHighlight(const TSearchQuery& search) { FSearch = search; }
    const TSearchQuery& SearchHighlight() const { return FSearch; }

    // True when the card list stands on a card.
    static bool HasCurrentCard();

    // The card columns the page shows and writes back, as the card list names them.
    static const QStringList CardColumns;
    // The columns shown in the keyed combo boxes, in the order of FLoadedKeys.
    static const QStringList ComboColumns;
    // The card as the page loaded it (no card: Id -1).
    const TLoadedCard& LoadedCard() const { return FLoaded; }
    // The card's row and note as they are stored now; false when the card is gone.
    static bool ReadStoredCard(qint64 id, TLoadedCard& card);

    // The abilities picture last drawn.
    const QImage& SpecPicture() const { return FSpecPicture; }

    QLineEdit* eNev = nullptr;
    TLComboBox* cbVelkor = nullptr;
    TLComboBox* cbLTipus = nullptr;
    QLabel* lUtak = nullptr;
    QLineEdit* eUt = nullptr;
    QLabel* lSzint = nullptr;
    QLineEdit* eSzint = nullptr;
    QLabel* lHp = nullptr;
    QLineEdit* eHp = nullptr;
    QLabel* lIdez = nullptr;
    QLineEdit* eIdez = nullptr;
    QLabel* lLapszam = nullptr;
    QLineEdit* eLsz = nullptr;
    QListWidget* lbTulajd = nullptr;
    QListWidget* lbSpecTulajd = nullptr;
    QToolButton* sb1 = nullptr;
    QToolButton* sb2 = nullptr;
    QToolButton* sb3 = nullptr;
    QToolButton* sb4 = nullptr;
    QToolButton* sb6 = nullptr;
    QScrollArea* sbSpec = nullptr;
    QLabel* imSpec = nullptr;
    QGroupBox* gbEgyeb = nullptr;
    QLineEdit* eMegjelenes = nullptr;
    QLineEdit* eDB = nullptr;
    TLComboBox* cbGyakorisag = nullptr;
    QPlainTextEdit* mSajat = nullptr;
    QPushButton* btnEdit = nullptr;

private:
    void LinkProperty(int kind);
    void ReopenCardList(qint64 keepCardId);
    void LimitNote();
    // Fills an edit with a loaded text: the box's limit bounds typing, never what is loaded.
    static void ShowLoadedText(QLineEdit* edit, const QString& text);
    // What a save writes for a column: the stored value while the field still shows it as
    // loaded, otherwise the field's text (integer fields: converted, 0 and non-numbers as NULL).
    QVariant ValueToSave(const QString& column, QLineEdit* edit, bool integer) const;
    QVariant ComboValueToSave(const QString& column, TLComboBox* combo) const;
    QString NoteToSave() const;

    // Marks the search's words in the note without touching its text.
    void MarkNoteMatches();

    QImage FSpecPicture;
    TLoadedCard FLoaded;
    TSearchQuery FSearch;
    int FNoteLength = 0;  // the note's length after the last accepted change
    QStringList FLoadedKeys;   // the combo boxes' keys right after loading
    QString FLoadedNoteShown;  // the note as the editor showed it right after loading
    bool FAsking = false;      // the unsaved-edits question is being settled
};
