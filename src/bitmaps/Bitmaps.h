#pragma once
// The built-in bitmaps, looked up by name: the path icons IKON_V ... IKON_S (18 x 18, 24 bits,
// background colour in the bottom-left pixel), the main-god portraits FOIST_ + card number
// (47 x 40), the background tile BACK_02 (250 x 152), the deck tab marks TAB_MARK_1 (card added)
// and TAB_MARK_2 (card removed), and the error picture ERROR_ICON (the program's own icon is a set of files in the resources).
// They are drawn in code the first time they are asked for and kept; an unknown name gives a null
// image.
#include <QImage>
#include <QString>
#include <QStringList>

// The colour of an icon's unpainted background (its bottom-left pixel).
inline constexpr QRgb ICON_BACKGROUND = 0xFFFF00FF;

QImage BuiltinBitmap(const QString& name);

// A copy in which every pixel of the bottom-left pixel's colour is fully transparent (ARGB32).
// A null image stays null.
QImage TransparentBitmap(const QImage& image);

// BuiltinBitmap(name) made transparent, kept like the bitmap itself.
QImage BuiltinTransparentBitmap(const QString& name);

// Every name BuiltinBitmap knows.
QStringList BuiltinBitmapNames();
