#include "bench_print.h"
#include "bench_catalogue.h"
#include "bench_util.h"

#include "app/Messages.h"
#include "browser/udmColumns.h"
#include "filters/uQPList.h"
#include "print/uDeckSheet.h"
#include "print/uListSheet.h"
#include "storage/uAM.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {



TDeckSheet SixtyCards()
{
    TDeckSheet s;
    s.DeckName = QStringLiteral("Mérőpakli");
    s.GodNumber = QStringLiteral("I-001");
    s.GodName = QStringLiteral("Főisten");
    s.Date = QDate(2026, 1, 1);
    s.Description = QStringLiteral("Hatvan lap, hat csoportban.");
    s.GroupNames = {QString(), "Vezérek", "Hadak", "Tárgyak", "Varázslatok", "Népek", "Intrikák"};
    for (int i = 0; i < 60; ++i)
        s.Cards.push_back({QStringLiteral("L-%1").arg(i), QStringLiteral("Árnyék lovag %1").arg(i), 1 + i / 10, 1 + i % 3,
                           i % 5, QStringLiteral("vmh")});
    s.CardCount = 120;
    return s;
}

}  // namespace

void MeasurePrint(const QString& programDir, int repeats)
{
    TTestUiHost ui;
    TBenchCatalogue cat(programDir);
    TAM& am = cat.Am;
    am.ReQuery();
    const int cards = am.qLapok.RecordCount();
    TListSheet sheet;
    for (const auto& c : TdmColumns().cCols.Cols)
        sheet.Columns.push_back({c.Caption, am.qLapok.FindField(c.FieldName()), 80, c.FieldName() == "L_LEIDEZES"});

    QTemporaryDir out;
    const QString file = out.filePath("lista.pdf");
    const long before = StatusKb("VmRSS:");
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
    clear.close();
    const double list = MedianMs(repeats, [&] { WriteCardListPdf(file, am.qLapok, sheet); });
    const long peak = StatusKb("VmHWM:");
    const QByteArray sql = am.qLapok.SQL().toUtf8();
    const double bare = MedianMs(repeats, [&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(am.ADOConnection.Handle(), sql.constData(), int(sql.size()), &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c) sqlite3_column_text(st, c);
        sqlite3_finalize(st);
    });
    Line("list PDF (bare: step the list)", cards, list, bare);
    std::printf("%-44s %7d cards  %9ld kB resident growth, %lld kB file\n", "list PDF memory", cards,
                peak - before, QFileInfo(file).size() / 1024);

    const TDeckSheet deck = SixtyCards();
    const QString deckFile = out.filePath("pakli.pdf");
    const double ours = MedianMs(repeats, [&] { WriteDeckSheetPdf(deckFile, deck); });
    const double plain = MedianMs(repeats, [&] {
        QPdfWriter w(out.filePath("plain.pdf"));
        QPainter p(&w);
        p.setFont(QFont("DejaVu Sans", 10));
        int y = 200;
        for (const TSheetCard& c : deck.Cards) p.drawText(100, y += 250, SheetCardText(c));
    });
    Line("deck sheet PDF, 60 lines (bare: QPdfWriter text)", 60, ours, plain);
}
