#include "browser/uListPrint.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "browser/uGridPage.h"
#include "decks/uDeckPrint.h"
#include "export/uExportProgress.h"
#include "storage/DbProvider.h"
#include "storage/Exceptions.h"
#include "storage/QueryModel.h"

#include <QDate>
#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>

TListSheet GridListSheet(const QTableView* grid, const TQuery& rows, const QString& filter)
{
    TListSheet sheet;
    sheet.Filter = filter;
    const auto* model = grid ? qobject_cast<const TQueryModel*>(grid->model()) : nullptr;
    if (!model) return sheet;
    const QHeaderView* header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || header->isSectionHidden(logical)) continue;
        TListColumn column;
        column.Title = model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        column.Field = rows.FindField(model->ColumnFields().value(logical));
        column.Width = header->sectionSize(logical);
        column.Icons = logical == GRID_ICON_COLUMN;
        sheet.Columns.push_back(column);
    }
    return sheet;
}

void PrintCardList(QWidget* parent, const TQuery& rows, const TListSheet& sheet)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(sheet.Title);
    SetListPage(printer, sheet, true);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Lista nyomtatása"));
    GuardedConnect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&rows, &sheet](QPrinter* target) {
        TWaitCursor wait;
        TDialogProgress dialog(QStringLiteral("A lista előkészítése nyomtatásra..."));
        dialog.Start(rows.Active() ? rows.RecordCount() : 0);
        try {
            PaintCardList(*target, rows, sheet, [&dialog](int done, int) { return dialog.Step(done); });
        } catch (...) {
            dialog.Finish();
            throw;
        }
        dialog.Finish();
    });
    preview.exec();
}

bool SaveCardListPdf(TPdfSaveDialog& dialog, const TQuery& rows, const TListSheet& sheet, TExportProgress* progress)
{
    const QString fileName =
        dialog.Execute(QStringLiteral("Lista-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    if (fileName.isEmpty()) return false;
    TWaitCursor wait;
    TDialogProgress dialogProgress(QStringLiteral("A lista írása PDF fájlba..."));
    TExportProgress& shown = progress ? *progress : dialogProgress;
    shown.Start(rows.Active() ? rows.RecordCount() : 0);
    try {
        WriteCardListPdf(fileName, rows, sheet, [&shown](int done, int) { return shown.Step(done); });
    } catch (const EAbort&) {
        shown.Finish();
        return false;
    } catch (const Exception& e) {
        shown.Finish();
        ShowErrorDialog(QStringLiteral("Lista mentése PDF-be"), e.Message());
        return false;
    }
    shown.Finish();
    return true;
}
