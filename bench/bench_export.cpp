#include "bench_export.h"
#include "bench_catalogue.h"
#include "bench_util.h"

#include "app/Messages.h"
#include "browser/udmColumns.h"
#include "export/uExportText.h"
#include "export/udmExport.h"
#include "filters/uQPList.h"
#include "storage/uAM.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {



// Resets the peak resident size, so that VmHWM afterwards is the peak of what follows.
bool ResetPeak()
{
    QFile f("/proc/self/clear_refs");
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// The statement's columns that hold the fields, in field order.
std::vector<int> StatementColumns(sqlite3_stmt* st, const QStringList& fields)
{
    std::vector<int> columns;
    for (const QString& f : fields)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            if (f == QString::fromUtf8(sqlite3_column_name(st, c))) {
                columns.push_back(c);
                break;
            }
    return columns;
}

sqlite3_stmt* Prepare(TConnection& conn, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    sqlite3_prepare_v2(conn.Handle(), text.constData(), int(text.size()), &st, nullptr);
    return st;
}

// SQLite stepping the statement, the same bytes (quoting included) written with fwrite; with
// whole, the bytes go through a temporary file synced to disk and renamed over the target, as the
// export writes them.
void BareCsv(TConnection& conn, const QString& sql, const QStringList& fields, const QString& file, bool whole = false)
{
    sqlite3_stmt* st = Prepare(conn, sql);
    const std::vector<int> columns = StatementColumns(st, fields);
    const QString written = whole ? file + ".tmp" : file;
    FILE* out = std::fopen(QFile::encodeName(written).constData(), "wb");
    std::fwrite(UTF8_BOM.constData(), 1, size_t(UTF8_BOM.size()), out);
    std::string line;
    while (sqlite3_step(st) == SQLITE_ROW) {
        line.clear();
        for (int c : columns) {
            const char* v = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            const int n = sqlite3_column_bytes(st, c);
            if (v && std::strpbrk(v, ";\"\r\n")) {
                line += '"';
                for (int i = 0; i < n; ++i) {
                    if (v[i] == '"') line += '"';
                    line += v[i];
                }
                line += '"';
            } else if (v) {
                line.append(v, size_t(n));
            }
            line += ';';
        }
        line += "\r\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    if (whole) {
        std::fflush(out);
        fdatasync(fileno(out));
    }
    std::fclose(out);
    if (whole) std::rename(QFile::encodeName(written).constData(), QFile::encodeName(file).constData());
    sqlite3_finalize(st);
}

// SQLite stepping the statement, libxlsxwriter writing the same cells in constant memory.
void BareXlsx(TConnection& conn, const QString& sql, const QStringList& fields, const QString& file)
{
    sqlite3_stmt* st = Prepare(conn, sql);
    const std::vector<int> columns = StatementColumns(st, fields);
    std::vector<bool> integer;
    for (int c : columns) {
        const char* decl = sqlite3_column_decltype(st, c);
        integer.push_back(decl && std::strstr(decl, "INT"));
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(file).constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Lista");
    lxw_row_t row = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (size_t i = 0; i < columns.size(); ++i) {
            const int c = columns[i];
            if (sqlite3_column_type(st, c) == SQLITE_NULL) continue;
            if (integer[i] && sqlite3_column_type(st, c) == SQLITE_INTEGER)
                worksheet_write_number(sheet, row, lxw_col_t(i), double(sqlite3_column_int64(st, c)), nullptr);
            else
                worksheet_write_string(sheet, row, lxw_col_t(i),
                                       reinterpret_cast<const char*>(sqlite3_column_text(st, c)), nullptr);
        }
        ++row;
    }
    workbook_close(book);
    sqlite3_finalize(st);
}

}  // namespace

void MeasureExport(const QString& programDir, int repeats)
{
    TTestUiHost ui;  // nothing opens the workbooks, no dialog blocks the run
    TBenchCatalogue cat(programDir);
    TAM& am = cat.Am;
    am.ReQuery();
    const int cards = am.qLapok.RecordCount();
    QStringList fields;
    for (const auto& c : TdmColumns().cCols.Cols) fields << c.FieldName();
    const QString sql = am.qLapok.SQL();

    QTemporaryDir out;
    TdmExport exporter;
    exporter.WorkbookFolder = out.filePath("ours");
    QDir().mkpath(exporter.WorkbookFolder);
    const QString csv = out.filePath("lista.csv");
    const QString bareCsv = out.filePath("bare.csv");
    const double oursCsv = MedianMs(repeats, [&] { exporter.ExportFields(emText, am.qLapok, csv, fields); });
    const double bareCsvMs = MedianMs(repeats, [&] { BareCsv(am.ADOConnection, sql, fields, bareCsv); });
    Line("CSV export (bare: step + fwrite)", cards, oursCsv, bareCsvMs);
    const double bareWholeMs = MedianMs(repeats, [&] { BareCsv(am.ADOConnection, sql, fields, bareCsv, true); });
    Line("CSV export (bare: step, fwrite, sync, rename)", cards, oursCsv, bareWholeMs);
    if (QFileInfo(csv).size() != QFileInfo(bareCsv).size())
        std::printf("  note: CSV sizes differ: %lld vs %lld bytes\n", QFileInfo(csv).size(), QFileInfo(bareCsv).size());

    const auto clean = [&] {
        for (const QString& f : QDir(exporter.WorkbookFolder).entryList(QDir::Files))
            QFile::remove(QDir(exporter.WorkbookFolder).filePath(f));
    };
    const double oursXlsx = MedianMs(repeats, [&] {
        clean();
        exporter.ExportFields(emExcel, am.qLapok, QString(), fields);
    });
    const QString bareBook = out.filePath("bare.xlsx");
    const double bareXlsxMs = MedianMs(repeats, [&] { BareXlsx(am.ADOConnection, sql, fields, bareBook); });
    Line("xlsx export (bare: step + libxlsxwriter)", cards, oursXlsx, bareXlsxMs);

    clean();
    const long before = StatusKb("VmRSS:");
    if (ResetPeak()) {
        exporter.ExportFields(emExcel, am.qLapok, QString(), fields);
        std::printf("%-44s %7d cards  resident growth %ld kB (peak %ld kB, before %ld kB)\n", "xlsx export memory",
                    cards, StatusKb("VmHWM:") - before, StatusKb("VmHWM:"), before);
    }
    clean();
    const long csvBefore = StatusKb("VmRSS:");
    if (ResetPeak()) {
        exporter.ExportFields(emClipboard, am.qLapok, QString(), fields);
        std::printf("%-44s %7d cards  resident growth %ld kB\n", "clipboard export memory", cards,
                    StatusKb("VmHWM:") - csvBefore);
    }
}
