#pragma once
// The text forms of an exported card list: one line per card, each value followed by the separator
// (";" in the file, a tab on the clipboard), lines ended by CR LF, and the file's bytes.
#include <QByteArray>
#include <QString>

class TQuery;

inline constexpr QChar FILE_SEPARATOR = u';';
inline constexpr QChar CLIPBOARD_SEPARATOR = u'\t';
inline const QString LINE_END = QStringLiteral("\r\n");

// A value that holds the separator, a double quote, CR or LF is enclosed in double quotes with its
// inner quotes doubled, so a spreadsheet reads it back as one field; any other value is unchanged.
QString QuotedValue(const QString& value, QChar separator);

// A text a spreadsheet would run as a formula (it begins with "=", "+", "-", "@", a tab or a CR)
// gets a leading apostrophe, the usual spreadsheet-safe form; a number of a number column ("-5")
// stays a number.
QString SpreadsheetSafeText(const QString& value, bool numericColumn);

// Appends the value, quoted where needed, and the separator.
void AppendValue(QString& line, const QString& value, QChar separator);

// A cell of the card list as the export writes it: NULL is empty text, numbers are plain decimal
// (a floating value the engine would print with an exponent is written out in full).
QString ExportValueText(const TQuery& query, int row, int column);

// The byte-order mark of UTF-8: spreadsheets then read accented letters right whatever their own
// code page.
inline const QByteArray UTF8_BOM = QByteArrayLiteral("\xEF\xBB\xBF");
