#include "bitmaps/Bitmaps.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <array>
#include <functional>

namespace {

// --- letters drawn as strokes in a 10 x 12 box, so the artwork needs no installed font ---

QPainterPath Glyph(QChar letter)
{
    QPainterPath p;
    switch (letter.unicode()) {
    case 'V':
        p.moveTo(1, 1); p.lineTo(5, 11); p.lineTo(9, 1);
        break;
    case 'M':
        p.moveTo(1, 11); p.lineTo(1, 1); p.lineTo(5, 7); p.lineTo(9, 1); p.lineTo(9, 11);
        break;
    case 'H':
        p.moveTo(1.5, 1); p.lineTo(1.5, 11);
        p.moveTo(8.5, 1); p.lineTo(8.5, 11);
        p.moveTo(1.5, 6); p.lineTo(8.5, 6);
        break;
    case 'I':
        p.moveTo(5, 1); p.lineTo(5, 11);
        p.moveTo(2.5, 1); p.lineTo(7.5, 1);
        p.moveTo(2.5, 11); p.lineTo(7.5, 11);
        break;
    case 'K':
        p.moveTo(2, 1); p.lineTo(2, 11);
        p.moveTo(8.5, 1); p.lineTo(2, 7.5);
        p.moveTo(4.2, 5.3); p.lineTo(8.5, 11);
        break;
    case 'B':
        p.moveTo(2, 1); p.lineTo(2, 11);
        p.moveTo(2, 1); p.lineTo(5.5, 1); p.cubicTo(8.5, 1, 8.5, 6, 5.5, 6); p.lineTo(2, 6);
        p.moveTo(5.5, 6); p.cubicTo(9.5, 6, 9.5, 11, 5.5, 11); p.lineTo(2, 11);
        break;
    case 'P':
        p.moveTo(2, 11); p.lineTo(2, 1); p.lineTo(5.5, 1);
        p.cubicTo(9, 1, 9, 7, 5.5, 7); p.lineTo(2, 7);
        break;
    case 'S':
        p.moveTo(8.5, 2.5);
        p.cubicTo(7, 0.5, 2, 0.5, 2, 3.5);
        p.cubicTo(2, 6.2, 8.5, 5.5, 8.5, 8.5);
        p.cubicTo(8.5, 11.5, 3, 11.5, 1.5, 9.5);
        break;
    case '+':
        p.moveTo(5, 2); p.lineTo(5, 10); p.moveTo(1, 6); p.lineTo(9, 6);
        break;
    case '-':
        p.moveTo(1, 6); p.lineTo(9, 6);
        break;
    case 'X':
        p.moveTo(1.5, 2); p.lineTo(8.5, 10); p.moveTo(8.5, 2); p.lineTo(1.5, 10);
        break;
    default:
        break;
    }
    return p;
}

// Draws a glyph scaled into box.
void DrawGlyph(QPainter& painter, QChar letter, const QRectF& box, const QColor& color, qreal width)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 10.0, box.height() / 12.0);
    QPen pen(color, width * 10.0 / box.width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(Glyph(letter));
    painter.restore();
}

// Seven-segment digits, 4 x 7 px each with a 2 px gap, drawn pixel-exact.
void DrawDigits(QPainter& painter, const QString& digits, QPoint origin, const QColor& color)
{
    // Segments a b c d e f g as bits 0..6.
    static constexpr std::array<int, 10> Segs = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    int x = origin.x();
    const int y = origin.y();
    for (QChar c : digits) {
        if (!c.isDigit()) continue;
        const int s = Segs[c.digitValue() % 10];
        if (s & 0x01) painter.drawRect(x, y, 4, 1);
        if (s & 0x02) painter.drawRect(x + 3, y, 1, 4);
        if (s & 0x04) painter.drawRect(x + 3, y + 3, 1, 4);
        if (s & 0x08) painter.drawRect(x, y + 6, 4, 1);
        if (s & 0x10) painter.drawRect(x, y + 3, 1, 4);
        if (s & 0x20) painter.drawRect(x, y, 1, 4);
        if (s & 0x40) painter.drawRect(x, y + 3, 4, 1);
        x += 6;
    }
    painter.restore();
}

QImage NewArgb(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Flattens a drawing to 24 bits: untouched pixels become the background key, partly covered edge
// pixels are blended over a light neutral so they look right on the light grids they sit on, and no
// painted pixel may come out equal to the key.
QImage FlattenOverKey(const QImage& argb)
{
    const QColor neutral(240, 240, 240);
    QImage out(argb.size(), QImage::Format_RGB888);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = src[x]; // premultiplied
            const int a = qAlpha(px);
            QRgb result = ICON_BACKGROUND;
            if (a > 0) {
                const int r = qRed(px) + neutral.red() * (255 - a) / 255;
                const int g = qGreen(px) + neutral.green() * (255 - a) / 255;
                const int b = qBlue(px) + neutral.blue() * (255 - a) / 255;
                result = qRgb(qMin(r, 255), qMin(g, 255), qMin(b, 255));
                if (result == ICON_BACKGROUND) result = qRgb(254, 0, 255);
            }
            out.setPixel(x, y, result);
        }
    }
    return out;
}

enum class TIconShape { Disc, Square };

struct TIconStyle {
    QChar Letter;
    TIconShape Shape;
    QColor Fill;
    QColor Border;
    QColor Ink;
};

QImage PathIcon(const TIconStyle& style)
{
    QImage img = NewArgb(18, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(style.Border, 1.2));
    QRadialGradient shade(QPointF(6.5, 6), 12);
    shade.setColorAt(0, style.Fill.lighter(135));
    shade.setColorAt(1, style.Fill);
    p.setBrush(shade);
    if (style.Shape == TIconShape::Disc)
        p.drawEllipse(QRectF(1.2, 1.2, 15.6, 15.6));
    else
        p.drawRoundedRect(QRectF(1.5, 1.5, 15, 15), 3.5, 3.5);
    DrawGlyph(p, style.Letter, QRectF(4.5, 3.5, 9, 11), style.Ink, 1.9);
    p.end();
    return FlattenOverKey(img);
}

// The card numbers that have a main-god portrait.
const QStringList& PortraitNumbers()
{
    static const QStringList numbers = [] {
        QStringList n;
        for (int i = 1; i <= 20; ++i) n << QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        for (int i = 401; i <= 408; ++i) n << QString::number(i);
        n << QStringLiteral("550") << QStringLiteral("559") << QStringLiteral("560");
        return n;
    }();
    return numbers;
}

QImage Portrait(int index, const QString& number)
{
    const int hue = (index * 137) % 360;
    const QColor robe = QColor::fromHsv(hue, 170, 170);
    QImage img(47, 40, QImage::Format_RGB888);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 40);
    sky.setColorAt(0, QColor::fromHsv(hue, 90, 90));
    sky.setColorAt(1, QColor::fromHsv(hue, 60, 210));
    p.fillRect(img.rect(), sky);
    // Rays behind the figure, turned by the number so neighbours differ in shape too.
    p.setPen(QPen(QColor(255, 230, 150, 90), 1.5));
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(23.5, 15);
        p.rotate(k * 45 + index * 11);
        p.drawLine(QPointF(10, 0), QPointF(24, 0));
        p.restore();
    }
    p.setPen(QPen(QColor(230, 190, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(23.5, 15), 10, 10);
    p.setPen(QPen(robe.darker(160), 1));
    p.setBrush(robe);
    p.drawEllipse(QPointF(23.5, 41), 15, 15);
    p.setBrush(QColor(232, 196, 160));
    p.setPen(QPen(QColor(140, 100, 70), 1));
    p.drawEllipse(QPointF(23.5, 16), 5.5, 6.5);
    QPolygonF crown;
    crown << QPointF(18, 10) << QPointF(18, 5) << QPointF(20.5, 8) << QPointF(23.5, 3) << QPointF(26.5, 8)
          << QPointF(29, 5) << QPointF(29, 10);
    p.setBrush(QColor(240, 200, 40));
    p.setPen(QPen(QColor(150, 110, 0), 0.8));
    p.drawPolygon(crown);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(30, 30, 30));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 46, 39);
    p.fillRect(1, 1, 19, 9, QColor(0, 0, 0, 120));
    DrawDigits(p, number, QPoint(2, 2), Qt::white);
    p.end();
    return img;
}

QImage BackgroundTile()
{
    QImage img(250, 152, QImage::Format_RGB888);
    img.fill(QColor(222, 214, 196));
    // Fixed seed: the same tile on every run.
    QRandomGenerator gen(0x5EED02u);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int d = int(gen.bounded(13u)) - 6;
            img.setPixel(x, y, qRgb(222 + d, 214 + d, 196 + d));
        }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A lattice whose lines meet the tile's edges where the neighbouring tile continues them.
    p.setPen(QPen(QColor(196, 184, 160), 1.5));
    p.setBrush(Qt::NoBrush);
    QPolygonF diamond;
    diamond << QPointF(0, 76) << QPointF(125, 0) << QPointF(250, 76) << QPointF(125, 152);
    p.drawPolygon(diamond);
    p.setPen(QPen(QColor(204, 192, 170), 1));
    for (QPointF c : {QPointF(0, 0), QPointF(250, 0), QPointF(0, 152), QPointF(250, 152), QPointF(125, 76)}) {
        p.drawEllipse(c, 18, 18);
        p.drawEllipse(c, 10, 10);
    }
    p.end();
    return img;
}

QImage TabMark(bool added)
{
    QImage img = NewArgb(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = added ? QColor(40, 160, 60) : QColor(200, 40, 40);
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    DrawGlyph(p, added ? QChar('+') : QChar('-'), QRectF(3.5, 2.5, 9, 11), Qt::white, 2.2);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

QImage ErrorIcon()
{
    QImage img = NewArgb(32, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(12, 11), 20);
    shade.setColorAt(0, QColor(240, 90, 80));
    shade.setColorAt(1, QColor(190, 20, 20));
    p.setPen(QPen(QColor(120, 10, 10), 1.2));
    p.setBrush(shade);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    DrawGlyph(p, QChar('X'), QRectF(9, 8, 14, 16), Qt::white, 3.2);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

using TPainterFn = std::function<QImage()>;

const QHash<QString, TPainterFn>& Painters()
{
    static const QHash<QString, TPainterFn> painters = [] {
        QHash<QString, TPainterFn> h;
        const std::array<TIconStyle, 8> icons = {{
            {'V', TIconShape::Disc, QColor(200, 35, 35), QColor(105, 10, 10), Qt::white},
            {'M', TIconShape::Disc, QColor(40, 85, 205), QColor(15, 35, 110), Qt::white},
            {'H', TIconShape::Disc, QColor(40, 150, 55), QColor(15, 75, 20), Qt::white},
            {'I', TIconShape::Disc, QColor(240, 185, 30), QColor(140, 95, 0), QColor(70, 45, 0)},
            {'B', TIconShape::Square, QColor(125, 125, 135), QColor(60, 60, 65), Qt::white},
            {'K', TIconShape::Square, QColor(135, 60, 165), QColor(70, 25, 90), Qt::white},
            {'P', TIconShape::Square, QColor(160, 95, 40), QColor(85, 45, 15), Qt::white},
            {'S', TIconShape::Square, QColor(20, 145, 145), QColor(5, 75, 75), Qt::white},
        }};
        for (const TIconStyle& style : icons)
            h.insert(QStringLiteral("IKON_") + style.Letter, [style] { return PathIcon(style); });
        const QStringList& numbers = PortraitNumbers();
        for (int i = 0; i < numbers.size(); ++i) {
            const QString number = numbers[i];
            h.insert(QStringLiteral("FOIST_") + number, [i, number] { return Portrait(i, number); });
        }
        h.insert(QStringLiteral("BACK_02"), BackgroundTile);
        h.insert(QStringLiteral("TAB_MARK_1"), [] { return TabMark(true); });
        h.insert(QStringLiteral("TAB_MARK_2"), [] { return TabMark(false); });
        h.insert(QStringLiteral("ERROR_ICON"), ErrorIcon);
        return h;
    }();
    return painters;
}

} // namespace

QImage BuiltinBitmap(const QString& name)
{
    static QHash<QString, QImage> cache;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd()) return *cached;
    const auto painter = Painters().constFind(name);
    if (painter == Painters().constEnd()) return QImage();
    const QImage img = (*painter)();
    cache.insert(name, img);
    return img;
}

QImage TransparentBitmap(const QImage& image)
{
    if (image.isNull()) return QImage();
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = out.pixel(0, out.height() - 1);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == key) line[x] = 0;
    }
    return out;
}

QImage BuiltinTransparentBitmap(const QString& name)
{
    static QHash<QString, QImage> cache;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd()) return *cached;
    const QImage img = TransparentBitmap(BuiltinBitmap(name));
    if (!img.isNull()) cache.insert(name, img);
    return img;
}

QStringList BuiltinBitmapNames()
{
    QStringList names = Painters().keys();
    names.sort();
    return names;
}
