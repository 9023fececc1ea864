#include "export/udmExport.h"

#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "export/uExportProgress.h"
#include "export/uExportText.h"
#include "storage/DbProvider.h"
#include "storage/QueryModel.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QTableView>

#include <cmath>
#include <vector>

TdmExport* dmExport = nullptr;

namespace {

// How often (in rows) the progress is asked and the file buffer is written out.
const int kStepRows = 512;
// The largest integer a spreadsheet's double holds exactly (2^53).
const qint64 kExactInteger = qint64(1) << 53;

// The card list's bound controls are held back for the export and the current card is the one it
// was, however the export ends. The rows are read by position, so the cursor itself never moves.
class TDatasetHold {
public:
    explicit TDatasetHold(TQuery& dataset) : FDataset(dataset), FMark(dataset.GetBookmark())
    {
        FDataset.DisableControls();
    }
    ~TDatasetHold()
    {
        if (FDataset.BookmarkValid(FMark) && FDataset.GetBookmark() != FMark) FDataset.GotoBookmark(FMark);
        FDataset.EnableControls();
    }
    TDatasetHold(const TDatasetHold&) = delete;
    TDatasetHold& operator=(const TDatasetHold&) = delete;

private:
    TQuery& FDataset;
    TQuery::TBookmark FMark;
};

struct TExportColumn {
    int Field = -1;  // -1: the card list has no such field; the grid shows it empty, and so does the export
    bool Integer = false;
    bool Numeric = false;  // integer or floating
};

std::vector<TExportColumn> ResolveColumns(const TQuery& dataset, const QStringList& fields)
{
    std::vector<TExportColumn> columns;
    for (const QString& name : fields) {
        TExportColumn c;
        c.Field = dataset.FindField(name);
        c.Integer = c.Field >= 0 && dataset.FieldType(c.Field) == TFieldType::ftInteger;
        c.Numeric = c.Integer || (c.Field >= 0 && dataset.FieldType(c.Field) == TFieldType::ftFloat);
        columns.push_back(c);
    }
    return columns;
}

// A CSV file written whole through a temporary file that replaces the target only when complete.
class TCsvWriter {
public:
    explicit TCsvWriter(const QString& fileName) : FFile(fileName)
    {
        if (!FFile.open(QIODevice::WriteOnly)) Fail(FFile.errorString());
        FBuffer = UTF8_BOM;
    }
    void Add(const QString& text)
    {
        FBuffer += text.toUtf8();
        if (FBuffer.size() >= (1 << 20)) Flush();
    }
    void Commit()
    {
        Flush();
        if (!FFile.commit()) Fail(FFile.errorString());
    }
    // Leaving without Commit drops the temporary file (QSaveFile's destructor does so).

private:
    void Flush()
    {
        if (FBuffer.isEmpty()) return;
        if (FFile.write(FBuffer) != FBuffer.size()) {
            const QString reason = FFile.errorString();
            FFile.cancelWriting();
            Fail(reason);
        }
        FBuffer.clear();
    }
    [[noreturn]] void Fail(const QString& reason)
    {
        throw Exception(QStringLiteral("A lista exportálása nem sikerült, a fájl nem írható:\n%1\n%2")
                            .arg(QDir::toNativeSeparators(FFile.fileName()), reason));
    }

    QSaveFile FFile;
    QByteArray FBuffer;
};

bool ExactInteger(const QString& value, double& number)
{
    bool ok = false;
    const qint64 v = value.toLongLong(&ok);
    if (!ok || v > kExactInteger || v < -kExactInteger) return false;
    number = double(v);
    return true;
}

}  // namespace

// --- the save dialog ---

bool TCsvSaveDialog::Execute()
{
    // A first export suggests the day's list; later ones start from the name chosen last.
    if (FileName.isEmpty()) FileName = QStringLiteral("Lista-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".csv");
    QString name = PromptSaveFile(Title, Filter, FileName, DefaultExt, ConfirmOverwrite);
    if (name.isEmpty()) return false;
    if (QFileInfo(name).suffix().isEmpty() && !name.endsWith(u'.')) name += QLatin1Char('.') + DefaultExt;
    FileName = name;
    return true;
}

QStringList GridExportFields(const QTableView* grid)
{
    QStringList fields;
    const auto* model = grid ? qobject_cast<const TQueryModel*>(grid->model()) : nullptr;
    if (!model) return fields;
    const QHeaderView* header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || header->isSectionHidden(logical)) continue;
        fields << model->ColumnFields().value(logical);
    }
    return fields;
}

// --- the module ---

TdmExport::TdmExport() = default;
TdmExport::~TdmExport() = default;

void TdmExport::acExportExcelExecute(TQuery& dataset, const QTableView* grid) { ExportList(emExcel, dataset, QString(), grid); }

void TdmExport::acExportTextExecute(TQuery& dataset, const QTableView* grid)
{
    if (!sd.Execute()) return;
    ExportList(emText, dataset, sd.FileName, grid);
    ShowInfo(QStringLiteral("A lista elkészült:\n") + QDir::toNativeSeparators(sd.FileName));
}

void TdmExport::acExportClipboardExecute(TQuery& dataset, const QTableView* grid)
{
    ExportList(emClipboard, dataset, QString(), grid);
    ShowInfo(TEXT_CLIPBOARD_DONE);
}

void TdmExport::ExportList(int mode, TQuery& dataset, const QString& fileName, const QTableView* grid)
{
    ExportFields(mode, dataset, fileName, GridExportFields(grid));
}

void TdmExport::ExportFields(int mode, TQuery& dataset, const QString& fileName, const QStringList& fields)
{
    if (mode != emExcel && mode != emText && mode != emClipboard)
        throw Exception(QStringLiteral("Ismeretlen exportálási mód: %1").arg(mode));
    TWaitCursor wait;
    const std::vector<TExportColumn> columns = ResolveColumns(dataset, fields);
    if (mode == emExcel && !ConnectExcel()) throw EAbort();
    const QChar separator = mode == emText ? FILE_SEPARATOR : CLIPBOARD_SEPARATOR;

    TDialogProgress dialogProgress(mode == emExcel  ? QStringLiteral("A lista írása munkafüzetbe...")
                                   : mode == emText ? QStringLiteral("A lista írása CSV fájlba...")
                                                    : QStringLiteral("A lista másolása a vágólapra..."));
    TExportProgress& progress = Progress ? *Progress : dialogProgress;
    std::unique_ptr<TCsvWriter> csv;
    QString text;  // the clipboard's text, or the lines not yet handed to the file
    try {
        if (mode == emText) csv = std::make_unique<TCsvWriter>(fileName);
        TDatasetHold hold(dataset);
        const int rows = dataset.RecordCount();
        progress.Start(rows);
        QString line;
        int row = 0;
        // The body runs once also for an empty list: one line of separators, one row of empty cells.
        do {
            line.clear();
            for (size_t c = 0; c < columns.size(); ++c) {
                const TExportColumn& column = columns[c];
                const QString value = column.Field >= 0 ? ExportValueText(dataset, row, column.Field) : QString();
                if (mode == emExcel)
                    SetCell(row, int(c), value, column.Integer);
                else  // a shared catalogue may carry texts that a spreadsheet would run as formulas
                    AppendValue(line, SpreadsheetSafeText(value, column.Numeric), separator);
            }
            if (mode != emExcel) {
                text += line;
                text += LINE_END;
            }
            ++row;
            if (row % kStepRows == 0) {
                if (csv) {
                    csv->Add(text);
                    text.clear();
                }
                if (!progress.Step(row)) throw EAbort();
            }
        } while (row < rows);
        progress.Finish();
    } catch (const EAbort&) {
        progress.Finish();
        FBook.reset();  // a cancelled workbook leaves no file; csv's temporary file goes with it
        throw;
    } catch (const Exception& e) {
        progress.Finish();
        if (mode != emExcel) throw;
        FBook.reset();
        ShowErrorDialog(CONTEXT_EXCEL_CONNECT, e.Message());
        throw EAbort();
    }

    if (mode == emText) {
        csv->Add(text);
        csv->Commit();
    } else if (mode == emClipboard) {
        CopyToClipboard(text);
    } else if (!DisconnectExcel()) {
        throw EAbort();
    }
}

QString TdmExport::NewWorkbookName() const
{
    const QDir folder(WorkbookFolder.isEmpty() ? QDir::tempPath() : WorkbookFolder);
    const QString stamp = Now().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString name = folder.filePath(QStringLiteral("Lista-") + stamp + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = folder.filePath(QStringLiteral("Lista-%1-%2.xlsx").arg(stamp).arg(n));
    return name;
}

bool TdmExport::ConnectExcel()
{
    FBook.reset();
    try {
        FBook = std::make_unique<TXlsxBook>(NewWorkbookName(), EXPORT_SHEET_NAME);
    } catch (const Exception& e) {
        ShowErrorDialog(CONTEXT_EXCEL_CONNECT, e.Message());
        return false;
    }
    return true;
}

void TdmExport::SetCell(int row, int column, const QString& value, bool asNumber)
{
    if (value.isEmpty()) return;
    double number = 0;
    if (asNumber && ExactInteger(value, number))
        FBook->WriteNumber(row, column, number);
    else
        FBook->WriteText(row, column, value);
}

void TdmExport::SetCellValue(const QString& address, const QString& value, bool asNumber)
{
    if (!FBook) throw Exception(QStringLiteral("Nincs megnyitott munkafüzet."));
    int row = 0, column = 0;
    if (!ParseCellAddress(address, row, column))
        throw Exception(QStringLiteral("Érvénytelen cellacím: %1").arg(address));
    SetCell(row, column, value, asNumber);
}

bool TdmExport::DisconnectExcel()
{
    if (!FBook) return false;
    std::unique_ptr<TXlsxBook> book = std::move(FBook);
    try {
        book->Save();
    } catch (const Exception& e) {
        ShowErrorDialog(CONTEXT_EXCEL_CONNECT, e.Message());
        return false;
    }
    FLastWorkbook = book->FileName();
    if (!OpenDocument(FLastWorkbook))
        ShowInfo(QStringLiteral("A munkafüzet elkészült, de nincs program, amely megnyitná:\n%1")
                     .arg(QDir::toNativeSeparators(FLastWorkbook)));
    return true;
}
