#include "bench_search.h"
#include "bench_catalogue.h"
#include "bench_util.h"

#include "filters/uQPList.h"
#include "storage/SearchIndex.h"
#include "storage/uAM.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {


void Exec(TConnection& conn, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(conn.Handle(), sql, nullptr, nullptr, &err) != SQLITE_OK) std::fprintf(stderr, "search bench: %s\n", err);
    sqlite3_free(err);
}

// The card list's statement with its one bound value, stepped by SQLite alone.
void BareStepBound(TConnection& conn, const QString& sql, const QString& name, const QString& value)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(conn.Handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) return;
    const QByteArray v = value.toUtf8();
    sqlite3_bind_text(st, sqlite3_bind_parameter_index(st, (":" + name).toUtf8().constData()), v.constData(),
                      int(v.size()), SQLITE_TRANSIENT);
    const int cols = sqlite3_column_count(st);
    volatile size_t sink = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < cols; ++c) {
            sqlite3_column_text(st, c);
            sink = sink + size_t(sqlite3_column_bytes(st, c));
        }
    sqlite3_finalize(st);
}

}  // namespace

void MeasureSearch(const QString& programDir, int repeats, bool fillTexts)
{
    TBenchCatalogue cat(programDir);
    TAM& am = cat.Am;
    TQPList& conditions = cat.Conditions;
    TConnection& conn = am.ADOConnection;
    // Measured from nothing: whatever index an earlier run left is dropped first.
    Exec(conn, "DROP TABLE IF EXISTS TKERESES; DROP VIEW IF EXISTS VKERESES;");
    for (const QString& sql : SearchIndex::SchemaStatements())
        if (sql.startsWith(QLatin1String("CREATE TRIGGER")))
            conn.ExecuteDirect(QStringLiteral("DROP TRIGGER IF EXISTS ") + sql.section(u' ', 2, 2));
    if (fillTexts) {
        // Two abilities and a note for every card, their texts taken round-robin from the demo's.
        Exec(conn, "BEGIN;"
                   "CREATE TEMP TABLE KEPESSEGEK AS SELECT S_SZOVEG AS T FROM TSPEC WHERE S_SZOVEG <> '';"
                   "CREATE TEMP TABLE NOTES AS SELECT ME_MEGJEGYZES AS T FROM TMEGJ;"
                   "DELETE FROM TSPEC; DELETE FROM TMEGJ;"
                   "INSERT INTO TSPEC (S_LAPID, S_NUM, S_KIJATSZ, S_LEIDEZES, S_SZOVEG) SELECT L_ID, K, '', '',"
                   " (SELECT T FROM temp.KEPESSEGEK WHERE rowid = 1 + (L_ID * 7 + K * 13) % (SELECT COUNT(*) FROM temp.KEPESSEGEK))"
                   " FROM TLAP, (SELECT 1 AS K UNION ALL SELECT 2);"
                   "INSERT INTO TMEGJ (ME_LAPID, ME_MEGJEGYZES) SELECT L_ID,"
                   " (SELECT T FROM temp.NOTES WHERE rowid = 1 + L_ID % (SELECT COUNT(*) FROM temp.NOTES)) FROM TLAP;"
                   "COMMIT;");
    }
    Exec(conn, "VACUUM");
    const QString file = conn.FileName();
    const qint64 before = QFileInfo(file).size();
    const int cards = SearchIndex::CardCount(conn);

    QElapsedTimer t;
    t.start();
    SearchIndex::Build(conn);
    const double build = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    Exec(conn, "INSERT INTO TKERESES(TKERESES) VALUES('rebuild')");
    const double bareBuild = double(t.nsecsElapsed()) / 1e6;
    Line("search index, build (bare: FTS5 'rebuild')", cards, build, bareBuild);
    Exec(conn, "VACUUM");
    const qint64 after = QFileInfo(file).size();
    std::printf("%-44s %7d cards  %9lld kB -> %lld kB  growth %5.1f%%\n", "search index, catalogue file size", cards,
                before / 1024, after / 1024, before > 0 ? 100.0 * double(after - before) / double(before) : 0.0);

    const std::pair<const char*, const char*> searches[] = {{"search, one prefix", "kap"},
                                                            {"search, two words", "saját had"},
                                                            {"search, one rarer prefix", "cserealap"},
                                                            {"search, two rarer words", "kijátszott főistene"}};
    for (const auto& [what, text] : searches) {
        conditions.SetSearchText(QString::fromUtf8(text));
        am.ReQuery();
        const QString sql = am.qLapok.SQL();
        const QString match = conditions.Search().MatchText();
        const double ours = MedianMs(repeats, [&] { am.ReQuery(); });
        const double bare = MedianMs(repeats, [&] { BareStepBound(conn, sql, TQPList::SearchParamName(), match); });
        Line(what, am.qLapok.RecordCount(), ours, bare);
    }
    // Where the time goes: the index lookup alone, without the card list's joins and order.
    for (const char* text : {"kap", "saját had"}) {
        const QString match = TSearchQuery::Parse(QString::fromUtf8(text)).MatchText();
        const double bare = MedianMs(repeats, [&] {
            BareStepBound(conn, QStringLiteral("SELECT rowid FROM TKERESES WHERE TKERESES MATCH :Q"), "Q", match);
        });
        std::printf("%-44s %7d cards  %9.2f ms\n", qPrintable(QStringLiteral("search, MATCH alone: ") + text), cards, bare);
    }
}
