#include "browser/uCollectionCommand.h"

#include "app/Guard.h"
#include "browser/ufMain.h"
#include "collection/ufGyujtemeny.h"
#include "filters/uQPList.h"
#include "widgets/CheckListCombo.h"

#include <QAction>
#include <QMenu>

TCollectionCommand::TCollectionCommand(TfMain* main, QMenu* menu) : QObject(main), FMain(main)
{
    setObjectName("CollectionCommand");
    acCollection = new QAction(QStringLiteral("Gyűjtemény..."), main);
    acCollection->setObjectName("acCollection");
    acCollection->setStatusTip(QStringLiteral("A gyűjtemény teljessége csoportonként, hiányzó és cserélhető lapok"));
    menu->addAction(acCollection);
    GuardedConnect(acCollection, &QAction::triggered, this, [this] { acCollectionExecute(); });
    // Usable only with an open catalogue.
    GuardedConnect(menu, &QMenu::aboutToShow, this, [this] { acCollection->setEnabled(FMain->Connected()); });
    // Runs after the combo's own change handler, which rebuilds the text from the marks alone.
    GuardedConnect(FMain->cbFilter, &TCheckListCombo::CheckedTextChanged, this, [this] { UpdateFilterText(); });
}

void TCollectionCommand::acCollectionExecute()
{
    if (!FMain->Connected()) return;
    const TCollectionResult result =
        ShowCollection(FMain, &AM->ADOConnection, QPList, FMain->Settings.KeepCopies);
    FMain->Settings.KeepCopies = result.KeepCopies;
    if (result.ShowMissing) ApplyMissing(result.MissingPieces, result.MissingCaption);
}

void TCollectionCommand::ApplyMissing(const std::vector<TQueryPiece>& pieces, const QString& caption)
{
    QPList->RemovePiecesOfKind(pkMissingCards);
    for (const TQueryPiece& piece : pieces) QPList->AddPiece(piece);
    FCaption = caption;
    AM->ReQuery();
    UpdateFilterText();
}

void TCollectionCommand::UpdateFilterText()
{
    bool active = false;
    for (const auto& piece : QPList->Pieces())
        if (piece->Kind == pkMissingCards) active = true;
    TCheckListCombo* combo = FMain->cbFilter;
    const QString marks = combo->CheckedText();
    if (!active || FCaption.isEmpty()) {
        // "Szűrés kikapcsolása" has removed the condition and set the text itself.
        return;
    }
    const QString inner = marks.mid(1, marks.size() - 2);
    combo->SetText(u'[' + (inner.isEmpty() ? FCaption : inner + QStringLiteral(", ") + FCaption) + u']');
}

TCollectionCommand* AddCollectionCommand(TfMain* main, QMenu* dataMenu) { return new TCollectionCommand(main, dataMenu); }
