#pragma once
// A PDF read back by poppler's command-line tools: its text (layout kept, pages split on form feed),
// its page count and its fonts.
#include <QProcess>
#include <QString>
#include <QStringList>

inline QString PdfTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Each page's text.
inline QStringList PdfPages(const QString& file)
{
    QStringList pages = PdfTool("pdftotext", {"-layout", "-enc", "UTF-8", file, "-"}).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

inline int PdfPageCount(const QString& file)
{
    for (const QString& line : PdfTool("pdfinfo", {file}).split(u'\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
}

// The page's text lines with runs of blanks made one blank.
inline QStringList PdfLines(const QString& page)
{
    QStringList lines;
    for (const QString& line : page.split(u'\n'))
        if (!line.trimmed().isEmpty()) lines << line.simplified();
    return lines;
}
