#pragma once
// Reading exported lists back the way a spreadsheet does: a CSV reader that honours quoted fields,
// and the cells of an .xlsx worksheet taken from the zip with unzip.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

// Fields split at the separator outside quotes; inside quotes "" is one quote; a record ends at
// CR LF (or LF) outside quotes. A trailing separator gives a last, empty field.
inline QList<QStringList> ReadCsv(const QString& text, QChar separator)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
            continue;
        }
        if (ch == u'"' && field.isEmpty()) {
            quoted = true;
            any = true;
        } else if (ch == separator) {
            record << field;
            field.clear();
            any = true;
        } else if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (ch == u'\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
            any = false;
        } else {
            field += ch;
            any = true;
        }
    }
    if (any || !field.isEmpty()) {
        record << field;
        records << record;
    }
    return records;
}

struct TSheetCell {
    bool Number = false;
    QString Text;
};

// One member of a zip file, or empty when unzip cannot read it.
inline QByteArray ZipMember(const QString& zip, const QString& member)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QByteArray();
    return p.readAllStandardOutput();
}

inline QStringList ZipMembers(const QString& zip)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), zip});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The names of the workbook's worksheets, in order.
inline QStringList SheetNames(const QString& xlsx)
{
    QStringList names;
    QXmlStreamReader xml(ZipMember(xlsx, QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"sheet") names << xml.attributes().value(QLatin1String("name")).toString();
    }
    return names;
}

// The text of every <t> under the current element (rich text runs joined).
inline QString ReadTextRuns(QXmlStreamReader& xml)
{
    QString text;
    const QString end = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"t") text += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == end) break;
    }
    return text;
}

// The cells of the first worksheet by address ("A1"): numbers and texts (inline or shared).
inline QMap<QString, TSheetCell> SheetCells(const QString& xlsx)
{
    QStringList shared;
    {
        QXmlStreamReader xml(ZipMember(xlsx, QStringLiteral("xl/sharedStrings.xml")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"si") shared << ReadTextRuns(xml);
        }
    }
    QMap<QString, TSheetCell> cells;
    QXmlStreamReader xml(ZipMember(xlsx, QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != u"c") continue;
        const QString address = xml.attributes().value(QLatin1String("r")).toString();
        const QString type = xml.attributes().value(QLatin1String("t")).toString();
        TSheetCell cell;
        QString value;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"v") value = xml.readElementText();
            else if (xml.isStartElement() && xml.name() == u"is") value = ReadTextRuns(xml);
            else if (xml.isEndElement() && xml.name() == u"c") break;
        }
        if (type == u"s") cell.Text = shared.value(value.toInt());
        else cell.Text = value;
        cell.Number = type.isEmpty() || type == u"n";
        cells.insert(address, cell);
    }
    return cells;
}
