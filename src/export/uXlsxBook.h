#pragma once
// Our layer over libxlsxwriter: a new workbook with one named worksheet, written in constant
// memory (each finished row goes to disk, so rows must come in order, and a long list costs no
// more memory than a short one). Nothing appears under the file's name until Save has written the
// whole book: it is written under a temporary name beside it and renamed, so a failure leaves no
// half-written file.
#include <QByteArray>
#include <QString>

struct lxw_workbook;
struct lxw_worksheet;

// The text as a cell must hold it so that readers show it as given: a "_xHHHH_" in it escaped.
QString EscapeXlsxText(const QString& text);

class TXlsxBook {
public:
    // Throws Exception (with a Hungarian message) when the book cannot be started.
    TXlsxBook(const QString& fileName, const QString& sheetName);
    // A book that was not saved is dropped; no file is left.
    ~TXlsxBook();
    TXlsxBook(const TXlsxBook&) = delete;
    TXlsxBook& operator=(const TXlsxBook&) = delete;

    // Row and column count from 0. A cell is written once; rows in ascending order.
    // The text is shown as given (see EscapeXlsxText); the UTF-8 form is written as it is.
    void WriteText(int row, int column, const QString& text);
    void WriteTextUtf8(int row, int column, const char* utf8);
    void WriteNumber(int row, int column, double value);

    // Writes the book and puts it under its name (replacing a file of that name). Throws Exception
    // when that fails; no file is left then. The book cannot be written to afterwards.
    void Save();
    bool Saved() const { return FSaved; }
    const QString& FileName() const { return FFileName; }

private:
    [[noreturn]] void Fail(const QString& reason);
    void Check(int error, int row, int column);
    void Discard();

    lxw_workbook* FBook = nullptr;
    lxw_worksheet* FSheet = nullptr;
    QString FFileName;
    QString FTempName;
    bool FSaved = false;
};

// "A1" for row 0, column 0; past "Z" the columns go on as "AA", "AB" ... "XFD".
QString CellAddress(int row, int column);
// The reverse of CellAddress (letters in either case); false for a text that is no cell address.
bool ParseCellAddress(const QString& address, int& row, int& column);
