#pragma once
// Text drawing shared by the owner-drawn lists of the wizard and the deck browser: a text placed by
// its top-left corner, as the lists have always placed their lines.
#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

QFont ArialPx(int pixels, bool bold = false, bool italic = false);
QFont ArialPt(int points, bool bold = false, bool italic = false);

// One line from (x, y), elided at the right when wider than width.
void DrawTextAt(QPainter& p, int x, int y, int width, const QString& text, const QFont& font, const QColor& colour);

// One line from (x, y) on its own background box (the text's cell filled with background).
void DrawOpaqueTextAt(QPainter& p, int x, int y, const QString& text, const QFont& font, const QColor& colour,
                      const QColor& background);
