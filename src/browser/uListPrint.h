#pragma once
// The card list on paper and as a PDF: what the grid shows (its rows, its shown columns in their
// on-screen order with their titles and widths, the path column as icons) and the active filter.
#include "print/uListSheet.h"

#include <QString>

class QTableView;
class QWidget;
class TExportProgress;
class TPdfSaveDialog;
class TQuery;

// The grid's shown columns in on-screen order, titled and sized as on screen; filter: the text of
// the active filter for the page heading.
TListSheet GridListSheet(const QTableView* grid, const TQuery& rows, const QString& filter);

// "Lista nyomtatása...": the list in a print preview, printed from there.
void PrintCardList(QWidget* parent, const TQuery& rows, const TListSheet& sheet);

// "Lista mentése PDF-be...": the list to a file chosen in dialog ("Lista-<date>.pdf" suggested), with
// a progress dialog and "Mégse" on long work; progress replaces the dialog (tests). True when a
// file was written; cancelled: no file, false.
bool SaveCardListPdf(TPdfSaveDialog& dialog, const TQuery& rows, const TListSheet& sheet,
                     TExportProgress* progress = nullptr);
