#include "export/uXlsxBook.h"

#include "storage/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// The longest text a worksheet cell holds.
const int kCellTextMax = 32767;

QString ErrorText(lxw_error error) { return QString::fromUtf8(lxw_strerror(error)); }
}  // namespace

TXlsxBook::TXlsxBook(const QString& fileName, const QString& sheetName) : FFileName(fileName)
{
    const QFileInfo target(fileName);
    // The temporary name is reserved now, in the target's folder, so the final rename stays on
    // one file system and an unwritable folder is reported before any work is done.
    QTemporaryFile reserve(target.absoluteDir().filePath(target.completeBaseName() + QStringLiteral("-XXXXXX.tmp")));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw Exception(QStringLiteral("A munkafüzet nem hozható létre ebben a mappában:\n%1\n%2")
                            .arg(QDir::toNativeSeparators(target.absolutePath()), reserve.errorString()));
    FTempName = reserve.fileName();
    reserve.close();

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;  // a very long list may pass the 4 GB of plain zip
    const QByteArray name = QFile::encodeName(FTempName);
    FBook = workbook_new_opt(name.constData(), &options);
    if (!FBook) Fail(QStringLiteral("nincs elég memória"));
    const QByteArray sheet = sheetName.toUtf8();
    FSheet = workbook_add_worksheet(FBook, sheet.constData());
    if (!FSheet) Fail(QStringLiteral("a munkalap nem hozható létre (%1)").arg(sheetName));
}

TXlsxBook::~TXlsxBook() { Discard(); }

void TXlsxBook::Discard()
{
    if (FBook) {
        lxw_workbook_free(FBook);
        FBook = nullptr;
        FSheet = nullptr;
    }
    if (!FTempName.isEmpty()) {
        QFile::remove(FTempName);
        FTempName.clear();
    }
}

void TXlsxBook::Fail(const QString& reason)
{
    Discard();
    throw Exception(QStringLiteral("A munkafüzet nem írható:\n%1\n%2").arg(QDir::toNativeSeparators(FFileName), reason));
}

void TXlsxBook::Check(int error, int row, int column)
{
    if (error == LXW_NO_ERROR) return;
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        Fail(QStringLiteral("A(z) %1 cella szövege hosszabb a munkalapon megengedett %2 karakternél.")
                 .arg(CellAddress(row, column))
                 .arg(kCellTextMax));
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE)
        Fail(QStringLiteral("A(z) %1 cella kívül esik a munkalapon (legfeljebb %2 sor és %3 oszlop fér el).")
                 .arg(CellAddress(row, column))
                 .arg(LXW_ROW_MAX)
                 .arg(LXW_COL_MAX));
    Fail(QStringLiteral("%1: %2").arg(CellAddress(row, column), ErrorText(lxw_error(error))));
}

QString EscapeXlsxText(const QString& text)
{
    // Readers decode "_xHHHH_" as the character HHHH, and the library leaves such a text alone:
    // every underscore that begins one (overlapping ones too) becomes "_x005F_", the escaped
    // underscore, so the text reads back as stored.
    if (!text.contains(QLatin1String("_x"))) return text;
    static const QRegularExpression escape(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString out = text;
    out.replace(escape, QStringLiteral("_x005F_"));
    return out;
}

void TXlsxBook::WriteText(int row, int column, const QString& text)
{
    const QByteArray utf8 = EscapeXlsxText(text).toUtf8();
    WriteTextUtf8(row, column, utf8.constData());
}

void TXlsxBook::WriteTextUtf8(int row, int column, const char* utf8)
{
    if (!FSheet) Fail(QStringLiteral("a munkafüzet már le van zárva"));
    if (row < 0 || column < 0) Check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, std::max(row, 0), std::max(column, 0));
    Check(worksheet_write_string(FSheet, lxw_row_t(row), lxw_col_t(column), utf8, nullptr), row, column);
}

void TXlsxBook::WriteNumber(int row, int column, double value)
{
    if (!FSheet) Fail(QStringLiteral("a munkafüzet már le van zárva"));
    if (row < 0 || column < 0) Check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, std::max(row, 0), std::max(column, 0));
    Check(worksheet_write_number(FSheet, lxw_row_t(row), lxw_col_t(column), value, nullptr), row, column);
}

void TXlsxBook::Save()
{
    if (!FBook) Fail(QStringLiteral("a munkafüzet már le van zárva"));
    lxw_workbook* book = FBook;
    FBook = nullptr;  // workbook_close frees it whatever its result
    FSheet = nullptr;
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) Fail(ErrorText(error));
    // The reserved temporary file was private to its owner; the book is an ordinary document.
    QFile::setPermissions(FTempName, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                         QFile::ReadGroup | QFile::ReadOther);
    const QByteArray from = QFile::encodeName(FTempName);
    const QByteArray to = QFile::encodeName(FFileName);
    // rename() replaces an existing file in one step; QFile::rename would refuse it.
    if (std::rename(from.constData(), to.constData()) != 0) Fail(QString::fromLocal8Bit(std::strerror(errno)));
    FTempName.clear();
    FSaved = true;
}

QString CellAddress(int row, int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters + QString::number(row + 1);
}

bool ParseCellAddress(const QString& address, int& row, int& column)
{
    qsizetype i = 0;
    long col = 0;
    while (i < address.size() && address[i].isLetter() && address[i].toUpper() >= u'A' && address[i].toUpper() <= u'Z') {
        col = col * 26 + (address[i].toUpper().unicode() - u'A' + 1);
        if (col > LXW_COL_MAX) return false;
        ++i;
    }
    if (i == 0 || i == address.size()) return false;
    bool ok = false;
    const QString digits = address.mid(i);
    if (!digits[0].isDigit() || digits[0] == u'0') return false;
    const long r = digits.toLong(&ok);
    if (!ok || r < 1 || r > LXW_ROW_MAX) return false;
    for (const QChar ch : digits)
        if (!ch.isDigit()) return false;
    row = int(r - 1);
    column = int(col - 1);
    return true;
}
