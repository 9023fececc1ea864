#pragma once
// The main god's face in the deck views: the built-in portrait FOIST_ + card number where there is
// one, else a 48 x 40 thumbnail of the god's own card picture, so that every god of any catalogue
// has a face. Neither gives a null image, and the caller goes on without a picture.
#include <QImage>
#include <QString>

#include <functional>

inline constexpr int GOD_PICTURE_WIDTH = 48;
inline constexpr int GOD_PICTURE_HEIGHT = 40;

// pictureFile is asked only when no built-in portrait exists; it gives the card picture's path.
QImage GodPicture(const QString& cardNumber, const std::function<QString()>& pictureFile);

// A 48 x 40 thumbnail of a JPEG card picture (its top part, where the figure is), or a null image
// when the file is missing or is no picture.
QImage GodThumbnail(const QString& pictureFile);
