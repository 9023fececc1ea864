// The main window's paper and PDF commands: the open deck's sheet and the card list.
#include "browser/ufMain.h"

#include "app/Guard.h"
#include "browser/uGridPage.h"
#include "browser/uListPrint.h"
#include "decks/uDeckPrint.h"
#include "decks/ufmPakli.h"
#include "storage/QueryModel.h"
#include "widgets/CheckListCombo.h"

#include <QAction>
#include <QTableView>

void TfMain::BuildPrintActions()
{
    sdPdf = std::make_unique<TPdfSaveDialog>();
    auto make = [this](QAction*& action, const char* name, const QString& caption) {
        action = new QAction(caption, this);
        action->setObjectName(name);
    };
    make(acPakliPrint, "acPakliPrint", QStringLiteral("Pakli nyomtatása..."));
    make(acPakliPdf, "acPakliPdf", QStringLiteral("Pakli mentése PDF-be..."));
    make(acListPrint, "acListPrint", QStringLiteral("Lista nyomtatása..."));
    make(acListPdf, "acListPdf", QStringLiteral("Lista mentése PDF-be..."));
    acPakliPrint->setEnabled(false);
    acPakliPdf->setEnabled(false);
    GuardedConnect(acPakliPrint, &QAction::triggered, this, [this] {
        if (TfmPakli* frame = FindDeckFrame()) PrintDeckSheet(*frame, this);
    });
    GuardedConnect(acPakliPdf, &QAction::triggered, this, [this] {
        if (TfmPakli* frame = FindDeckFrame()) SaveDeckSheetPdf(*frame, *sdPdf);
    });
    GuardedConnect(acListPrint, &QAction::triggered, this, [this] {
        if (!FConnected) return;
        PrintCardList(this, AM->qLapok, GridListSheet(grQuery, AM->qLapok, ListFilterText()));
    });
    GuardedConnect(acListPdf, &QAction::triggered, this, [this] {
        if (!FConnected) return;
        SaveCardListPdf(*sdPdf, AM->qLapok, GridListSheet(grQuery, AM->qLapok, ListFilterText()));
    });
}

QString TfMain::ListFilterText() const
{
    QStringList parts;
    const QString combo = cbFilter ? cbFilter->Text().trimmed() : QString();
    if (!combo.isEmpty() && combo != QStringLiteral("[]")) parts << combo;
    if (acDarabFilter && acDarabFilter->isChecked()) parts << acDarabFilter->text();
    if (acLeidezesFilter && acLeidezesFilter->isChecked()) parts << acLeidezesFilter->text();
    const auto* model = qobject_cast<const TQueryModel*>(grQuery ? grQuery->model() : nullptr);
    for (const auto& [field, text] : ts2->QuickFilterTexts()) {
        if (text.trimmed().isEmpty()) continue;
        QString title = field;
        if (model) {
            const int column = int(model->ColumnFields().indexOf(field));
            if (column >= 0) title = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        }
        parts << title + QStringLiteral(": ") + text;
    }
    return parts.join(QStringLiteral("; "));
}
