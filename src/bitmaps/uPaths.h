#pragma once
// The path notation: letters v, m, h, i (plus B, K, P, S) shown as 18 x 18 icons, and the
// normalised 24-character summoning form that lets SQL compare a card's cost with a god's paths.
#include <QPainter>
#include <QRect>
#include <QString>

// The four path letters in their fixed order.
inline const QString PATH_LETTERS = QStringLiteral("vmhi");
// Card type of a main god, whose paths text holds four digits.
inline const QString MAIN_GOD_TYPE = QStringLiteral("L004");

// "IKON_" + the upper case of each character (a to z only), joined by "/"; empty for "".
QString PathsToIconNames(const QString& letters);

// Draws each named icon transparently at its natural size from (x, y), x advancing 18 per name;
// a name without a bitmap draws nothing but still takes its place.
void DrawIconToCanvas(const QString& names, QPainter& canvas, int& x, int y);

// Draws the icons into a grid cell, each stretched into an 18 x 18 square from the cell's top left
// corner, the square moving 18 px to the right per name; nothing is painted outside the cell.
void DrawIconsInRect(const QString& names, QPainter& canvas, const QRect& cell);

// Four blocks of six, one per path in the order v, m, h, i: the path's letter as many times as
// the card needs it, then "_". For a main god (type "L004") the counts are the four digits of
// paths and the summoning is ignored; there, a paths text shorter than four characters, a
// non-digit or a count above 6 raises EConvertError. Other characters of an ordinary card's
// summoning are ignored, and a path counts at most six letters.
QString NormalizeSummoning(const QString& summoning, const QString& paths, const QString& typeCode);

// The icon index (0 to 4 for IKON_V, M, H, I, B) of a summoning letter in either case, or -1: the
// letters the statistics page and the printed deck sheet show as icons.
int IconForLetter(QChar letter);
