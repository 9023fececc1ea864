#include "decks/uDeckListDraw.h"

#include <QFontMetrics>
#include <QPainter>

QFont ArialPx(int pixels, bool bold, bool italic)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QFont ArialPt(int points, bool bold, bool italic)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void DrawTextAt(QPainter& p, int x, int y, int width, const QString& text, const QFont& font, const QColor& colour)
{
    if (text.isEmpty() || width <= 0) return;
    p.setFont(font);
    p.setPen(colour);
    const QFontMetrics fm(font);
    // One line: a stored line break shows as a blank.
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(u'\n', u' ');
    line.replace(u'\r', u' ');
    const QString shown = fm.elidedText(line, Qt::ElideRight, width);
    p.drawText(QRect(x, y, width, fm.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
}

void DrawOpaqueTextAt(QPainter& p, int x, int y, const QString& text, const QFont& font, const QColor& colour,
                      const QColor& background)
{
    p.setFont(font);
    const QFontMetrics fm(font);
    const QRect cell(x, y, fm.horizontalAdvance(text), fm.height());
    p.fillRect(cell, background);
    p.setPen(colour);
    p.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
