#pragma once
// "Gyűjtemény..." of the "Adatok" menu: opens the collection overview and turns its "Hiányzók
// mutatása" into a condition of the card list, which the filter combo's closed text names.
#include "filters/uQPList.h"

#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QMenu;
class TfMain;

class TCollectionCommand : public QObject {
    Q_OBJECT
public:
    // Adds the item to menu (the "Adatok" menu) and follows the filter combo of main.
    TCollectionCommand(TfMain* main, QMenu* menu);

    void acCollectionExecute();
    // Narrows the card list to a group's missing cards: the earlier such condition goes.
    void ApplyMissing(const std::vector<TQueryPiece>& pieces, const QString& caption);
    // The filter combo's closed text with the missing cards' caption while their condition holds.
    void UpdateFilterText();

    QAction* acCollection = nullptr;

private:
    TfMain* FMain;
    QString FCaption;
};

// Called once by the main window while it builds its menus.
TCollectionCommand* AddCollectionCommand(TfMain* main, QMenu* dataMenu);
