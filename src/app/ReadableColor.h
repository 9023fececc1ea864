#pragma once
// Text colours that stay readable on whatever background a desktop's palette gives (dark themes
// included), while a colour that carries meaning keeps its hue.
#include <QColor>

class QWidget;

// The contrast ratio of two colours as the accessibility guidelines define it: 1 (same) .. 21.
double ContrastRatio(const QColor& a, const QColor& b);

// `wanted` itself when it reads on `background` (ratio at least 4.5); otherwise the same hue made
// lighter on a dark background or darker on a light one, just as far as it needs.
QColor ReadableOn(const QColor& wanted, const QColor& background);

// Sets the widget's text colour to `wanted`, made readable on the widget's own background.
void SetReadableTextColor(QWidget* widget, const QColor& wanted);

// With VELKOR_DARK_PALETTE=1 in the environment the application takes the Fusion style and a dark
// palette: a dark desktop to look at on any machine.
void ApplyDarkPaletteIfAsked();
