#include "bench_collection.h"
#include "bench_util.h"

#include "collection/ufGyujtemeny.h"
#include "filters/uQPList.h"
#include "storage/DbProvider.h"

#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {


// Prepare, step every row, read every column: what the figures cost the engine alone.
void Bare(TConnection& conn, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(conn.Handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "bare prepare failed: %s\n", sqlite3_errmsg(conn.Handle()));
        return;
    }
    volatile size_t sink = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            sqlite3_column_text(st, c);
            sink = sink + size_t(sqlite3_column_bytes(st, c));
        }
    sqlite3_finalize(st);
}

}  // namespace

void MeasureCollection(const QString& programDir, int repeats)
{
    TConnection conn;
    conn.Open(QDir(programDir).filePath("DB/Velkor.db"));
    int cards = 0;
    Bare(conn, "SELECT 1");
    {
        TQuery q(&conn);
        q.SetSQL("SELECT COUNT(*) FROM TLAP");
        q.Open();
        cards = q.Fields(0).AsInteger();
    }
    // A card list narrowed by a property, a name and the owned count, for the filtered figures.
    TQPList list;
    list.AddPiece(MakePiece(pkStoredFilter, "TLAP.L_NEV", "LIKE", "A", "S", "", 1));
    list.AddPiece(MakePiece(pkOwnedCount, "L_DB", ">", "0", "I", "", 0));

    TCollectionModel model(&conn);
    const QString byPantheon = model.GroupedSql(cgPantheon), byBoth = model.GroupedSql(cgPantheonRarity);
    model.SetConditions(&list);
    const QString filtered = model.GroupedSql(cgPantheon);

    // The figures alone: one grouped statement per view, read into the table's rows.
    TCollectionModel whole(&conn);
    const double pantheon = MedianMs(repeats, [&] { whole.Refresh(cgPantheon); });
    Line("collection, by pantheon", cards, pantheon, MedianMs(repeats, [&] { Bare(conn, byPantheon); }));
    const double both = MedianMs(repeats, [&] { whole.Refresh(cgPantheonRarity); });
    Line("collection, pantheon and rarity", cards, both, MedianMs(repeats, [&] { Bare(conn, byBoth); }));
    const QString filteredBoth = model.GroupedSql(cgPantheonRarity);
    const double narrowed = MedianMs(repeats, [&] { model.Refresh(cgPantheonRarity); });
    Line("collection, filtered, pantheon and rarity", cards, narrowed,
         MedianMs(repeats, [&] { Bare(conn, filteredBoth); }));

    // The window as the player sees it: built, figures run, table painted; then one regrouping.
    const double open = MedianMs(repeats, [&] {
        TfGyujtemeny window(&conn, &list, 3);
        window.FormShow();
        window.show();
        QApplication::processEvents();
    });
    Line("collection window opens (by pantheon)", cards, open, MedianMs(repeats, [&] { Bare(conn, byPantheon); }));
    TfGyujtemeny window(&conn, &list, 3);
    window.FormShow();
    window.show();
    QApplication::processEvents();
    int grouping = cgPantheon;
    const double regroup = MedianMs(repeats, [&] {
        grouping = grouping == cgPantheon ? cgPantheonRarity : cgPantheon;
        window.cbCsoport->setCurrentIndex(grouping);
        QApplication::processEvents();
    });
    Line("collection window regroups", cards, regroup, MedianMs(repeats, [&] { Bare(conn, byBoth); }));
}
