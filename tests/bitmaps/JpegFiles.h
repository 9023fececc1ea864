#pragma once
// Real JPEG files for the picture tests, written into a temporary folder.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

// A card-like picture of one colour with a darker frame, so that a stretched copy is recognisable.
inline QImage SolidCard(int w, int h, const QColor& color)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    QPainter p(&img);
    p.setPen(QPen(color.darker(200), 4));
    p.drawRect(2, 2, w - 5, h - 5);
    return img;
}

// Left half one colour, right half another: shows which way a picture was turned.
inline QImage TwoColourCard(int w, int h, const QColor& left, const QColor& right)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(left);
    QPainter p(&img);
    p.fillRect(w / 2, 0, w - w / 2, h, right);
    return img;
}

inline bool WriteJpeg(const QString& path, const QImage& image, int quality = 90)
{
    return image.save(path, "JPG", quality);
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether two colours are the same within the losses of a JPEG round trip.
inline bool Near(QRgb a, QRgb b, int tolerance = 24)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
