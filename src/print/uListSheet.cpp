#include "print/uListSheet.h"

#include "bitmaps/Bitmaps.h"
#include "bitmaps/uPaths.h"
#include "print/uPdfFile.h"
#include "print/uPrintPage.h"
#include "storage/DbProvider.h"
#include "storage/DisplayText.h"
#include "storage/Exceptions.h"

#include <QHash>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace {

// Screen pixels to millimetres on paper: the list prints at about four fifths of its screen size.
constexpr double kMmPerScreenPixel = 25.4 / 96 * 0.8;
constexpr int kProgressRows = 500;

class TListLayout {
public:
    TListLayout(QPagedPaintDevice& device, const TQuery& rows, const TListSheet& sheet)
        : FPage(device), FRows(rows), FSheet(sheet), FCellFont(PrintFont(8)), FTitleFont(PrintFont(8, true)),
          FCellMetrics(FPage.Metrics(FCellFont))
    {
        const qreal mm = FPage.Mm();
        const qreal width = FPage.Body().width();
        qint64 total = 0;
        for (const TListColumn& c : sheet.Columns) total += std::max(1, c.Width);
        qreal x = 0;
        for (const TListColumn& c : sheet.Columns) {
            const qreal w = total > 0 ? width * std::max(1, c.Width) / qreal(total) : 0;
            FLeft.push_back(x);
            FWidth.push_back(w);
            x += w;
        }
        FPad = 0.6 * mm;
        FRowHeight = FCellMetrics.height() + 0.8 * mm;
        FMaxChar = FCellMetrics.maxWidth();

        // The heading: title, then the count and the filter, wrapped to the page's width.
        const int count = rows.Active() ? rows.RecordCount() : 0;
        QString info = QString::number(count) + QStringLiteral(" lap");
        info += FSheet.Filter.isEmpty() ? QStringLiteral(" – nincs szűrés") : QStringLiteral(" – szűrés: ") + OneLine(FSheet.Filter);
        FHeadLines = WrapText(info, PrintFont(9), width, &device);
        FHeadHeight = FPage.Metrics(PrintFont(12, true)).height() + FHeadLines.size() * FPage.Metrics(PrintFont(9)).height() +
                      2 * mm;
        FRowsPerPage = std::max(1, int((FPage.Body().height() - FHeadHeight - FRowHeight) / FRowHeight));
        FCount = count;
        FPages = std::max(1, (FCount + FRowsPerPage - 1) / FRowsPerPage);
    }

    int PageCount() const { return FPages; }

    void Paint(QPainter& p, const TListProgress& progress)
    {
        if (progress && !progress(0, FCount)) throw EAbort();
        int row = 0;
        for (int page = 0; page < FPages; ++page) {
            if (page > 0 && !FPage.Device().newPage()) throw Exception(QStringLiteral("Új oldal nem kezdhető."));
            qreal y = PaintHead(p);
            p.setFont(FCellFont);
            p.setPen(Qt::black);
            for (int line = 0; line < FRowsPerPage && row < FCount; ++line, ++row) {
                if (line % 2 == 1) p.fillRect(QRectF(0, y, FPage.Body().width(), FRowHeight), QColor(236, 236, 236));
                PaintRow(p, row, y);
                y += FRowHeight;
                if ((row + 1) % kProgressRows == 0 && progress && !progress(row + 1, FCount)) throw EAbort();
            }
            FPage.PaintFooter(p, page + 1, FPages);
        }
        if (progress && !progress(FCount, FCount)) throw EAbort();
    }

private:
    qreal PaintHead(QPainter& p) const
    {
        const qreal mm = FPage.Mm();
        const qreal width = FPage.Body().width();
        p.setPen(Qt::black);
        p.setFont(PrintFont(12, true));
        qreal y = 0;
        const qreal titleHeight = FPage.Metrics(p.font()).height();
        p.drawText(QRectF(0, y, width, titleHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FSheet.Title);
        y += titleHeight;
        p.setFont(PrintFont(9));
        const qreal infoHeight = FPage.Metrics(p.font()).height();
        for (const QString& line : FHeadLines) {
            p.drawText(QRectF(0, y, width, infoHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
            y += infoHeight;
        }
        y = FHeadHeight;
        // Column titles, repeated on every page.
        p.fillRect(QRectF(0, y, width, FRowHeight), QColor(210, 210, 210));
        p.setFont(FTitleFont);
        const QFontMetricsF fm = FPage.Metrics(FTitleFont);
        for (size_t c = 0; c < FSheet.Columns.size(); ++c)
            p.drawText(QRectF(FLeft[c] + FPad, y + 0.4 * mm, std::max<qreal>(0, FWidth[c] - 2 * FPad), FRowHeight),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                       fm.elidedText(OneLine(FSheet.Columns[c].Title), Qt::ElideRight, FWidth[c] - 2 * FPad));
        p.setPen(QPen(Qt::black, std::max<qreal>(1, mm / 6)));
        p.drawLine(QPointF(0, y + FRowHeight), QPointF(width, y + FRowHeight));
        p.setPen(Qt::black);
        return y + FRowHeight;
    }

    void PaintRow(QPainter& p, int row, qreal y)
    {
        for (size_t c = 0; c < FSheet.Columns.size(); ++c) {
            const TListColumn& column = FSheet.Columns[c];
            if (column.Field < 0 || column.Field >= FRows.FieldCount() || FRows.ValueIsNull(row, column.Field)) continue;
            QString text = FRows.ValueText(row, column.Field);
            if (text.isEmpty()) continue;
            const qreal room = FWidth[c] - 2 * FPad;
            if (room <= 0) continue;
            if (column.Icons && PaintIcons(p, text, FLeft[c] + FPad, y, room)) continue;
            if (text.contains(u'\n') || text.contains(u'\r') || text.contains(u'\t')) text = OneLine(text);
            // Measuring every cell costs; a text that is surely narrow enough is drawn as it is.
            if (text.size() * FMaxChar > room) text = FCellMetrics.elidedText(text, Qt::ElideRight, room);
            p.drawText(QRectF(FLeft[c] + FPad, y + 0.4 * FPage.Mm(), room, FRowHeight),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        }
    }

    // The letters as path icons, as the grid shows them; false (text printed instead) when a
    // letter has no icon.
    bool PaintIcons(QPainter& p, const QString& letters, qreal x, qreal y, qreal room)
    {
        const QStringList names = PathsToIconNames(letters).split(u'/', Qt::SkipEmptyParts);
        if (names.isEmpty()) return false;
        std::vector<const QImage*> images;
        for (const QString& name : names) {
            auto it = FIcons.find(name);
            if (it == FIcons.end()) it = FIcons.insert(name, BuiltinTransparentBitmap(name));
            if (it->isNull()) return false;
            images.push_back(&*it);
        }
        const qreal size = FRowHeight - 0.4 * FPage.Mm();
        const qreal limit = x + room;
        for (const QImage* image : images) {
            if (x + size > limit) break;
            p.drawImage(QRectF(x, y + 0.2 * FPage.Mm(), size, size), *image);
            x += size + 0.3 * FPage.Mm();
        }
        return true;
    }

    TPrintPage FPage;
    const TQuery& FRows;
    const TListSheet& FSheet;
    QFont FCellFont;
    QFont FTitleFont;
    QFontMetricsF FCellMetrics;
    std::vector<qreal> FLeft, FWidth;
    qreal FPad = 0, FRowHeight = 0, FMaxChar = 0, FHeadHeight = 0;
    QStringList FHeadLines;
    int FRowsPerPage = 1, FCount = 0, FPages = 1;
    QHash<QString, QImage> FIcons;
};

}  // namespace

bool ListNeedsLandscape(const TListSheet& sheet)
{
    qint64 total = 0;
    for (const TListColumn& c : sheet.Columns) total += std::max(1, c.Width);
    return total * kMmPerScreenPixel > 210 - 30;
}

void SetListPage(QPagedPaintDevice& device, const TListSheet& sheet, bool keepPaperSize)
{
    if (!keepPaperSize) device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(ListNeedsLandscape(sheet) ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

int PaintCardList(QPagedPaintDevice& device, const TQuery& rows, const TListSheet& sheet, const TListProgress& progress)
{
    TListLayout layout(device, rows, sheet);
    QPainter p;
    BeginPainting(p, device);
    try {
        layout.Paint(p, progress);
    } catch (...) {
        p.end();
        throw;
    }
    p.end();
    return layout.PageCount();
}

void WriteCardListPdf(const QString& fileName, const TQuery& rows, const TListSheet& sheet, const TListProgress& progress)
{
    TPdfFile file(fileName, sheet.Title);
    SetListPage(file.Writer(), sheet);
    PaintCardList(file.Writer(), rows, sheet, progress);
    file.Commit();
}
