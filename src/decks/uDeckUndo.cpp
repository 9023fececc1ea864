#include "decks/uDeckUndo.h"

TDeckCardCommand::TDeckCardCommand(TDeckEditTarget& target, TDeckRow card, bool add)
    : FTarget(target), FCard(std::move(card)), FAdd(add)
{
    FCard.DB = 1;
    setText(QStringLiteral("%1: (%2) %3").arg(add ? QStringLiteral("hozzáadás") : QStringLiteral("elvétel"),
                                               FCard.L_LAPSZAM, FCard.L_NEV));
}

void TDeckCardCommand::redo()
{
    if (FAdd) FTarget.ApplyAddCopy(FCard);
    else FTarget.ApplyRemoveCopy(FCard.L_ID);
}

void TDeckCardCommand::undo()
{
    if (FAdd) FTarget.ApplyRemoveCopy(FCard.L_ID);
    else FTarget.ApplyAddCopy(FCard);
}

TDeckTextCommand::TDeckTextCommand(TDeckEditTarget& target, TField field, QString before, QString after)
    : FTarget(target), FField(field), FBefore(std::move(before)), FAfter(std::move(after))
{
    setText(field == Name ? QStringLiteral("a név módosítása") : QStringLiteral("a leírás módosítása"));
}

void TDeckTextCommand::Apply(const QString& text)
{
    if (FField == Name) FTarget.ApplyName(text);
    else FTarget.ApplyDescription(text);
}

void TDeckTextCommand::redo()
{
    if (FFirst) {
        FFirst = false;
        return;
    }
    Apply(FAfter);
}

void TDeckTextCommand::undo() { Apply(FBefore); }

bool TDeckTextCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TDeckTextCommand*>(other);
    if (next->FField != FField) return false;
    FAfter = next->FAfter;
    return true;
}
