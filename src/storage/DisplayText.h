#pragma once
// Catalogue text shown where only one line fits (a clipboard line, a printed cell, a label of the
// statistics page): line breaks and tabs become blanks. The stored text is not touched.
#include <QString>

inline QString OneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    text.replace(u'\t', u' ');
    return text;
}
