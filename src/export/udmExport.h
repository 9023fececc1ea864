#pragma once
// The card list export module: the card list as the user sees it (its rows after filtering and
// ordering, the grid's shown columns in their on-screen order) into a new spreadsheet workbook,
// into a CSV file or onto the clipboard.
#include "export/uXlsxBook.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTableView;
class TExportProgress;
class TQuery;

enum TExportMode : int { emExcel = 0, emText = 1, emClipboard = 2 };

inline const QString TEXT_CLIPBOARD_DONE = QStringLiteral("A vágólapra másolás sikeres.");
inline const QString CONTEXT_EXCEL_CONNECT = QStringLiteral("Excelhez való kapcsolódás");
inline const QString EXPORT_SHEET_NAME = QStringLiteral("Lista");

// The save dialog of the CSV command. It keeps the chosen name, so the next export starts from it.
class TCsvSaveDialog {
public:
    QString FileName;
    QString Title = QStringLiteral("Táblázat mentése CSV fájlba");
    QString DefaultExt = QStringLiteral("csv");
    QString Filter = QStringLiteral("CSV fájlok|*.csv|Minden fájl|*.*");
    bool ConfirmOverwrite = true;

    // Shows the dialog; false when cancelled. A name typed without an extension gets DefaultExt.
    bool Execute();
};

// The field names of the grid's shown columns, in their on-screen order.
QStringList GridExportFields(const QTableView* grid);

class TdmExport {
public:
    TdmExport();
    ~TdmExport();
    TdmExport(const TdmExport&) = delete;
    TdmExport& operator=(const TdmExport&) = delete;

    // The main window's three commands.
    void acExportExcelExecute(TQuery& dataset, const QTableView* grid);
    void acExportTextExecute(TQuery& dataset, const QTableView* grid);
    void acExportClipboardExecute(TQuery& dataset, const QTableView* grid);

    // mode: emExcel, emText (fileName is the file) or emClipboard. A cancelled or abandoned
    // export throws EAbort (after its own message, if any); a file that cannot be written throws
    // Exception and keeps what was there before.
    void ExportList(int mode, TQuery& dataset, const QString& fileName, const QTableView* grid);
    // The same with the columns given by their field names.
    void ExportFields(int mode, TQuery& dataset, const QString& fileName, const QStringList& fields);

    // A new workbook with the worksheet "Lista"; false (after the error dialog) when it cannot be made.
    bool ConnectExcel();
    // The value in the cell ("A1", "AB12"), as a number when asNumber and it is an integer a
    // spreadsheet holds exactly, else as text; an empty value leaves the cell empty.
    void SetCellValue(const QString& address, const QString& value, bool asNumber = false);
    // Writes the workbook and opens it with the desktop's spreadsheet program. False when it
    // could not be written (the error dialog has been shown; no file is left).
    bool DisconnectExcel();

    TCsvSaveDialog sd;
    // Where new workbooks go; empty: the user's temporary folder.
    QString WorkbookFolder;
    // The clock that names new workbooks.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
    // The feedback on long exports; null: the progress dialog.
    TExportProgress* Progress = nullptr;
    // The workbook the last spreadsheet export wrote.
    const QString& LastWorkbook() const { return FLastWorkbook; }

    // "Lista-" + date and time + ".xlsx" in the workbook folder; a name already taken gets "-2", "-3" ...
    QString NewWorkbookName() const;

private:
    void SetCell(int row, int column, const QString& value, bool asNumber);

    std::unique_ptr<TXlsxBook> FBook;
    QString FLastWorkbook;
};

extern TdmExport* dmExport;
