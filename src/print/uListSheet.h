#pragma once
// The card list on paper: the rows as the grid holds them (after filtering and ordering), the shown
// columns in their on-screen order with their titles repeated on every page and their widths
// scaled to the page (landscape when they do not fit portrait), path columns as icons; the count
// of cards and the active filter at the top of every page, "oldal N / M" at the bottom.
#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class TQuery;

struct TListColumn {
    QString Title;
    int Field = -1;      // the card list's field; -1: the list has no such field (printed empty)
    int Width = 64;      // on screen, in pixels: only the proportions count
    bool Icons = false;  // path letters printed as icons
};

struct TListSheet {
    QString Title = QStringLiteral("Lapok listája");
    QString Filter;      // the active filter as the user set it; empty: none
    std::vector<TListColumn> Columns;
};

// done rows laid out of total; false stops the work (the caller's "Mégse").
using TListProgress = std::function<bool(int done, int total)>;

// Whether the columns need a landscape page: wider than a portrait page at print size.
bool ListNeedsLandscape(const TListSheet& sheet);

// Paper (A4 unless keepPaperSize), 15 mm margins and the orientation the columns need.
void SetListPage(QPagedPaintDevice& device, const TListSheet& sheet, bool keepPaperSize = false);

// Paints the list on device page by page, reading the rows by position (the cursor never moves);
// returns the number of pages. Throws EAbort when progress says stop.
int PaintCardList(QPagedPaintDevice& device, const TQuery& rows, const TListSheet& sheet,
                  const TListProgress& progress = {});

// The list as a PDF file, whole or not at all (a cancelled or failed one leaves no file and any
// earlier file of that name as it was).
void WriteCardListPdf(const QString& fileName, const TQuery& rows, const TListSheet& sheet,
                      const TListProgress& progress = {});
