#include "export/uExportText.h"

#include "storage/DbProvider.h"

#include <QLocale>

QString QuotedValue(const QString& value, QChar separator)
{
    bool quote = false;
    for (const QChar ch : value)
        if (ch == separator || ch == u'"' || ch == u'\r' || ch == u'\n') {
            quote = true;
            break;
        }
    if (!quote) return value;
    QString out;
    out.reserve(value.size() + 8);
    out += u'"';
    for (const QChar ch : value) {
        if (ch == u'"') out += u'"';
        out += ch;
    }
    out += u'"';
    return out;
}

QString SpreadsheetSafeText(const QString& value, bool numericColumn)
{
    if (value.isEmpty()) return value;
    const QChar first = value.front();
    if (first != u'=' && first != u'+' && first != u'-' && first != u'@' && first != u'\t' && first != u'\r')
        return value;
    if (numericColumn) {
        bool ok = false;
        value.toDouble(&ok);
        if (ok) return value;
    }
    return QStringLiteral("'") + value;
}

void AppendValue(QString& line, const QString& value, QChar separator)
{
    for (const QChar ch : value)
        if (ch == separator || ch == u'"' || ch == u'\r' || ch == u'\n') {
            line += QuotedValue(value, separator);
            line += separator;
            return;
        }
    line += value;
    line += separator;
}

QString ExportValueText(const TQuery& query, int row, int column)
{
    if (query.ValueIsNull(row, column)) return QString();
    QString text = query.ValueText(row, column);
    if (query.FieldType(column) == TFieldType::ftFloat &&
        (text.contains(u'e') || text.contains(u'E'))) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (ok) text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    }
    return text;
}
