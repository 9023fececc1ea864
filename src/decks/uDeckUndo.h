#pragma once
// Undo and redo of deck edits: a copy added or removed (from any view), the name and the
// description. The commands replay through a target, the deck frame, which does the change.
#include "decks/uDeckTable.h"

#include <QString>
#include <QUndoCommand>

class TDeckEditTarget {
public:
    virtual ~TDeckEditTarget() = default;
    // One copy more of the row's card: the row itself (with one copy) when the card is not in the deck.
    virtual void ApplyAddCopy(const TDeckRow& card) = 0;
    virtual void ApplyRemoveCopy(qint64 cardId) = 0;
    virtual void ApplyName(const QString& name) = 0;
    virtual void ApplyDescription(const QString& description) = 0;
};

// One copy of a card in (add) or out (remove). `card` holds the card's deck fields, so that undoing
// a removal of the last copy brings the row back as it was, without asking the catalogue.
class TDeckCardCommand : public QUndoCommand {
public:
    TDeckCardCommand(TDeckEditTarget& target, TDeckRow card, bool add);
    void redo() override;
    void undo() override;

private:
    TDeckEditTarget& FTarget;
    TDeckRow FCard;
    bool FAdd;
};

// A change of the name or the description; typing on in the same box merges into one step.
class TDeckTextCommand : public QUndoCommand {
public:
    enum TField { Name = 1, Description = 2 };
    TDeckTextCommand(TDeckEditTarget& target, TField field, QString before, QString after);
    void redo() override;
    void undo() override;
    int id() const override { return FField; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    void Apply(const QString& text);
    TDeckEditTarget& FTarget;
    TField FField;
    QString FBefore;
    QString FAfter;
    bool FFirst = true;  // the box already shows the text when the command is pushed
};
