#pragma once
// What every printed page shares: the body rectangle in the device's own pixels (a PDF writer
// works at 1200 dpi, a printer at its own resolution), point-sized fonts measured on the device,
// and the footer "oldal N / M".
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPaintDevice;
class QPagedPaintDevice;
class QPainter;

// Fonts with a wide character set, so accented letters and unusual characters print as themselves.
QFont PrintFont(qreal points, bool bold = false, bool italic = false);

class TPrintPage {
public:
    explicit TPrintPage(QPagedPaintDevice& device);

    QPagedPaintDevice& Device() const { return FDevice; }
    // The page inside the margins, less the footer line, from (0, 0) of the painter.
    QRectF Body() const { return FBody; }
    // Device pixels per millimetre.
    qreal Mm() const { return FMm; }
    QFontMetricsF Metrics(const QFont& font) const;

    // "oldal page / pages" centred under the body, with a thin rule above it.
    void PaintFooter(QPainter& p, int page, int pages) const;

private:
    QPagedPaintDevice& FDevice;
    QRectF FBody;
    QRectF FFooter;
    qreal FMm = 1;
};

// The text broken at word boundaries, or anywhere where a word alone is wider than width (in the
// device's pixels); no lines for an empty text.
QStringList WrapText(const QString& text, const QFont& font, qreal width, QPaintDevice* device);

// Fails with a Hungarian message when the painter could not start on the device.
void BeginPainting(QPainter& p, QPagedPaintDevice& device);
