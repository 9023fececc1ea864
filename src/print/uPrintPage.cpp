#include "print/uPrintPage.h"

#include "storage/Exceptions.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

QFont PrintFont(qreal points, bool bold, bool italic)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

TPrintPage::TPrintPage(QPagedPaintDevice& device) : FDevice(device)
{
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    FMm = dpi / 25.4;
    // The painter's origin is the top left of the margins' inside.
    const QRect paint = device.pageLayout().paintRectPixels(dpi);
    const QFontMetricsF fm = Metrics(PrintFont(8));
    const qreal footer = fm.height() + 3 * FMm;
    FBody = QRectF(0, 0, paint.width(), std::max<qreal>(paint.height() - footer, fm.height() * 4));
    FFooter = QRectF(0, FBody.bottom(), paint.width(), footer);
}

QFontMetricsF TPrintPage::Metrics(const QFont& font) const { return QFontMetricsF(font, &FDevice); }

void TPrintPage::PaintFooter(QPainter& p, int page, int pages) const
{
    p.setPen(QPen(Qt::black, std::max<qreal>(1, FMm / 5)));
    const qreal ruleY = FFooter.top() + FMm;
    p.drawLine(QPointF(FFooter.left(), ruleY), QPointF(FFooter.right(), ruleY));
    p.setFont(PrintFont(8));
    const QString text = QStringLiteral("oldal ") + QString::number(page) + QStringLiteral(" / ") + QString::number(pages);
    p.drawText(QRectF(FFooter.left(), ruleY + FMm, FFooter.width(), FFooter.height() - 2 * FMm),
               Qt::AlignHCenter | Qt::AlignTop, text);
}

void BeginPainting(QPainter& p, QPagedPaintDevice& device)
{
    if (!p.begin(&device)) throw Exception(QStringLiteral("A nyomtatás nem indítható el."));
    p.setPen(Qt::black);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QStringList WrapText(const QString& text, const QFont& font, qreal width, QPaintDevice* device)
{
    QStringList lines;
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}
