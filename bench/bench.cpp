// The benchmark: each user action's time beside the bare engine doing the same work in the same
// run, at the demo catalogue's size and at 100,000 cards. Ratios are what we quote: the machines
// are shared and noisy. Usage: velkor_bench [--quick] [--pictures] [--print] [--search] [--collection]
// [--backup]
#include "bench_backup.h"
#include "bench_catalogue.h"
#include "bench_util.h"
#include "bench_export.h"
#include "bench_collection.h"
#include "bench_print.h"
#include "bench_pictures.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uGridPage.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "decks/uCardLists.h"
#include "decks/uDeckHost.h"
#include "decks/uDeckHtml.h"
#include "decks/uDeckSummary.h"
#include "decks/ufPakliBong.h"
#include "decks/ufUjPakli.h"
#include "decks/ufmPakli.h"
#include "filters/DataListBox.h"
#include "filters/uQPList.h"
#include "filters/ufKapcs.h"
#include "filters/ufQueries.h"
#include "storage/CatalogNames.h"
#include "storage/QueryModel.h"
#include "storage/uAM.h"
#include "widgets/CheckListCombo.h"

#include <QAbstractItemView>
#include <QTest>

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "bench_search.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

int Repeats = 5;

// The median of Repeats runs, in milliseconds.
double Median(const std::function<void()>& work) { return MedianMs(Repeats, work); }

// SQLite alone on the same connection: prepare, step every row, read every column's text.
void BareStep(TConnection& conn, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(conn.Handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "bare prepare failed: %s\n", sqlite3_errmsg(conn.Handle()));
        return;
    }
    const int cols = sqlite3_column_count(st);
    volatile size_t sink = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < cols; ++c) {
            sqlite3_column_text(st, c);
            sink = sink + size_t(sqlite3_column_bytes(st, c));
        }
    sqlite3_finalize(st);
}

// A filter that uses every part of the grammar: two stored-filter groups, the owned count and two
// properties.
void EveryKindOfCondition(TQPList& list)
{
    auto add = [&](const char* field, const char* op, const char* value, const char* type, quint8 kind,
                   const char* andOr, int group) { list.AddPiece(MakePiece(kind, field, op, value, type, andOr, group)); };
    add("TLAP.L_LAPTIPUS", "=", "L004", "S", pkStoredFilter, "", 1);
    add("TLAP.L_SZINT", ">", "3", "I", pkStoredFilter, "OR", 1);
    add("TLAP.L_NEV", "LIKE", "A", "S", pkStoredFilter, "AND", 2);
    add("L_DB", ">", "0", "I", pkOwnedCount, "", 0);
    add("", "", "T012", "", pkProperty, "", 0);
    add("", "", "S003", "", pkProperty, "", 0);
}

// Grows a copy of the demo catalogue to the given number of cards by copying its cards under new
// ids, numbers and names; links and notes follow the copies so filters still find rows.
bool GrowCatalogue(const QString& file, int target)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK) return false;
    const char* sql =
        "BEGIN;"
        "CREATE TEMP TABLE SEED AS SELECT * FROM TLAP;"
        "WITH RECURSIVE N(K) AS (SELECT 1 UNION ALL SELECT K + 1 FROM N WHERE K < 400)"
        " INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_LEIDEZES, L_SZINT, L_UTAK, L_HP, L_DB,"
        " L_GYAKORISAG, L_LEIDEZESTECH, L_KEPNEV, L_INFO)"
        " SELECT S.L_ID + N.K * 1000, S.L_LAPSZAM, S.L_NEV || ' ' || N.K, S.L_VELKOR, S.L_LAPTIPUS, S.L_LEIDEZES,"
        " S.L_SZINT, S.L_UTAK, S.L_HP, S.L_DB, S.L_GYAKORISAG, S.L_LEIDEZESTECH, S.L_KEPNEV, S.L_INFO"
        " FROM SEED S, N;"
        "INSERT INTO TLAPTUL (LT_LID, LT_TULID) SELECT T.LT_LID + N.K * 1000, T.LT_TULID FROM TLAPTUL T,"
        " (WITH RECURSIVE M(K) AS (SELECT 1 UNION ALL SELECT K + 1 FROM M WHERE K < 400) SELECT K FROM M) N"
        " WHERE T.LT_LID < 1000;"
        "COMMIT;";
    char* err = nullptr;
    bool ok = sqlite3_exec(db, sql, nullptr, nullptr, &err) == SQLITE_OK;
    if (!ok) std::fprintf(stderr, "grow: %s\n", err);
    sqlite3_free(err);
    // Trim to the exact size.
    const QByteArray trim = QStringLiteral("DELETE FROM TLAP WHERE L_ID NOT IN (SELECT L_ID FROM TLAP ORDER BY L_ID "
                                           "LIMIT %1); DELETE FROM TLAPTUL WHERE LT_LID NOT IN (SELECT L_ID FROM TLAP);")
                                .arg(target)
                                .toUtf8();
    ok = ok && sqlite3_exec(db, trim.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

void MeasureCatalogue(const QString& programDir)
{
    TBenchCatalogue cat(programDir);
    TAM& am = cat.Am;
    TQPList& conditions = cat.Conditions;
    am.ReQuery();
    const int cards = am.qLapok.RecordCount();

    // Every card, by name.
    conditions.Clear();
    const QString allSql = am.BuildCardListSql();
    const double oursAll = Median([&] { am.ReQuery(); });
    const double bareAll = Median([&] { BareStep(am.ADOConnection, allSql); });
    Line("ReQuery, every card, ORDER BY L_NEV", cards, oursAll, bareAll);

    // The same rows ordered by the bytes of the name: what the Hungarian order costs on top.
    const QString binarySql = allSql.left(allSql.lastIndexOf(QStringLiteral("ORDER BY"))) +
                              QStringLiteral("ORDER BY L_NEV COLLATE BINARY ASC");
    const double bareBinary = Median([&] { BareStep(am.ADOConnection, binarySql); });
    Line("ReQuery, every card by name, vs BINARY order", cards, oursAll, bareBinary);

    // The WHERE clause of every condition kind.
    EveryKindOfCondition(conditions);
    const QString whereSql = am.BuildCardListSql();
    const double oursWhere = Median([&] { am.ReQuery(); });
    const double bareWhere = Median([&] { BareStep(am.ADOConnection, whereSql); });
    Line("ReQuery, WHERE of every condition kind", am.qLapok.RecordCount(), oursWhere, bareWhere);

    // The clause builder itself plus the requery.
    const double oursBuild = Median([&] {
        conditions.Clear();
        EveryKindOfCondition(conditions);
        am.ReQuery();
    });
    Line("BuildWhereClause + ReQuery, every condition kind", am.qLapok.RecordCount(), oursBuild, bareWhere);

    conditions.Clear();
    am.ReQuery();
    std::printf("%-44s %7d cards  resident %ld kB\n", "open card list", am.qLapok.RecordCount(), ResidentKb());
}

// The real window: a title click (sort change, grid rebuild, requery) and stepping the current card.
void MeasureWindow(const QString& programDir)
{
    TTestUiHost ui;  // no dialog may block the run
    TProgram program(programDir);
    program.Create();
    const int cards = AM->qLapok.RecordCount();
    // Each click on the name title flips its direction; the engine runs the same two statements.
    const int nameColumn = fMain->ts2->Model()->ColumnFields().indexOf("L_NEV");
    QStringList statements;
    const double click = Median([&] {
        fMain->ts2->grQueryTitleClick(nameColumn);
        statements << AM->qLapok.SQL();
    });
    int next = 0;
    const double bare = Median([&] { BareStep(AM->ADOConnection, statements[next++ % statements.size()]); });
    Line("title click (sort, RefreshGrid, requery)", cards, click, bare);

    AM->qLapok.First();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 1000; ++i) fMain->acNextExecute();
    const double perMove = double(t.nsecsElapsed()) / 1e6 / 1000.0;
    std::printf("%-44s %7d cards  %9.4f ms per move\n", "acNext with CurrentCardChanged", cards, perMove);
    for (const auto& r : ui.Of(TUiKind::ErrorDialog))
        std::fprintf(stderr, "error: %s\n", qPrintable(r.Title + " " + r.Text));
    fMain->close();
}

// Checking filter combo items as the player does: a click on the item's row in the open list.
void ClickComboItem(TCheckListCombo* combo, const QString& text)
{
    for (int i = 0; i < combo->Count(); ++i) {
        if (combo->ItemText(i) != text) continue;
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        const QModelIndex index = view->model()->index(i, 0);
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
        combo->hidePopup();
        return;
    }
}

// The filter combo with two stored filters and a property checked, "Leidézés szűrés" on.
void MeasureFilterSelection(const QString& programDir)
{
    TTestUiHost ui;
    TProgram program(programDir);
    program.Create();
    const QString god = [] {
        TQuery q(&AM->ADOConnection);
        q.SetSQL(QStringLiteral("SELECT L_LEIDEZESTECH FROM TLAP WHERE L_LAPTIPUS = 'L004' ORDER BY L_ID"));
        q.Open();
        return q.Fields(0).AsString();
    }();
    fMain->DeckLoaded();
    fMain->SetDeckSummoningTech(god);
    fMain->acLeidezesFilter->trigger();
    for (const char* item : {"Gyors", "Alapsor lapjai", "Ritka és egyedi lapok"})
        ClickComboItem(fMain->cbFilter, QString::fromUtf8(item));
    const double change = Median([&] { fMain->cbFilterChange(); });
    const QString sql = AM->qLapok.SQL();
    const double bare = Median([&] { BareStep(AM->ADOConnection, sql); });
    Line("cbFilterChange, 2 stored + 1 property + summoning", AM->qLapok.RecordCount(), change, bare);
    const double off = Median([&] { fMain->acDisableFilterExecute(); });
    const QString offSql = AM->qLapok.SQL();
    Line("Szűrés kikapcsolása (summoning stays)", AM->qLapok.RecordCount(), off,
        Median([&] { BareStep(AM->ADOConnection, offSql); }));
    fMain->DeckClosed();
    fMain->close();
}

// The filter windows whose opening walks every card: the related-card sets window fills and sorts
// "Összes lap", the query editor fills its card combo.
void MeasureFilterWindows(const QString& programDir)
{
    TTestUiHost ui;
    TProgram program(programDir);
    program.Create();
    const QString cardsSql = QStringLiteral("SELECT L_ID, L_LAPSZAM, L_NEV FROM TLAP ORDER BY L_LAPSZAM, L_NEV");
    const double bare = Median([&] { BareStep(AM->ADOConnection, cardsSql); });
    int cards = 0;
    const double kapcs = Median([&] {
        TfKapcs w;
        w.FormShow();
        cards = w.lb1->count();
    });
    Line("related-card sets window, FormShow", cards, kapcs, bare);
    const double queries = Median([&] {
        TFormOpenPars pars;
        pars.Mode = fmNew;
        TfQueries w(pars);
    });
    Line("query editor created (LoadLookups)", cards, queries, bare);
    fMain->close();
}

void MeasureStartup(const QString& programDir)
{
    const QString exe = QDir(programDir).filePath("VelkorDB");
    if (!QFile::exists(exe)) return;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELKOR_EXIT_AFTER_START", "1");
    const double ms = Median([&] {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(programDir);
        p.start(exe, {});
        p.waitForFinished(60000);
    });
    std::printf("%-44s %9.2f ms\n", "process start to first ReQuery done", ms);
}


// --- the deck editor ---

class TBenchDeckHost : public TDeckHost {
public:
    QString PictureFolder() const override { return QStringLiteral("GFX"); }
    QList<QAction*> DeckMenuActions() const override { return {}; }
    void SetDeckSummoningTech(const QString&) override {}
    void DeckLoaded() override {}
    void DeckClosed() override {}
    bool IsSummaryStale() const override { return false; }
    void SetSummaryStale(bool) override {}
    void FlashDeckTab(QWidget*, int) override {}
};

// The median of single calls, in milliseconds; prepare runs untimed before each call.
double MedianOfCalls(int calls, const std::function<void(int)>& prepare, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) {
        prepare(i);
        QElapsedTimer t;
        t.start();
        work(i);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Opening a 60-card deck and adding cards, beside SQLite running the frame's three statements and
// one Hungarian sort of every card name.
void MeasureDeck(const QString& programDir)
{
    TTestUiHost ui;  // no dialog may block the run
    TConnection conn;
    conn.Open(QDir(programDir).filePath("DB/Velkor.db"));
    conn.ExecuteDirect(
        "DELETE FROM TPAKLILAP WHERE PL_PID = 900; DELETE FROM TPAKLI WHERE P_ID = 900;"
        "INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (900, 'Mérőpakli', '', 1);"
        "INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) SELECT 900, L_ID, 1 FROM TLAP WHERE L_LAPTIPUS <> 'L004' "
        "ORDER BY L_ID LIMIT 60;");
    TBenchDeckHost host;
    QWidget page;
    auto* frame = new TfmPakli(&host, conn, &page);
    page.resize(740, 460);
    page.show();
    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Id = 900;
    pars.Mode = fmEdit;
    const double load = Median([&] { frame->LoadDeck(pars); });
    const int cards = frame->CardListModel()->rowCount();

    TDeckStore statements(conn);
    auto literal = [](QString sql, const char* name, const QString& value) {
        return sql.replace(QLatin1Char(':') + QLatin1String(name), value);
    };
    const QString sql1 = statements.qOsszLap.SQL();
    const QString sql2 = literal(statements.qOsszesit.SQL(), "PPAKLIID", "900");
    const QString sql3 = literal(statements.qGetFejAdat.SQL(), "PPAKLIID", "900");
    const double bare = Median([&] {
        BareStep(conn, sql1);
        BareStep(conn, sql2);
        BareStep(conn, sql3);
    });
    QStringList names;
    {
        TQuery q(&conn);
        q.SetSQL("SELECT L_NEV FROM TLAP");
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r) names << q.ValueText(r, 0);
    }
    QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const double sort = Median([&] {
        QStringList copy = names;
        std::sort(copy.begin(), copy.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    });
    Line("LoadDeck, 60 cards (bare: 3 queries)", cards, load, bare);
    // The target: within twice the queries plus one Hungarian sort of the names (ratio <= 1).
    Line("LoadDeck vs 2 x queries + one name sort", cards, load, 2 * bare + sort);

    // New cards: each one not yet in the deck, taken out again untimed.
    std::vector<qint64> fresh;
    {
        TQuery q(&conn);
        q.SetSQL("SELECT L_ID FROM TLAP WHERE L_ID NOT IN (SELECT PL_LID FROM TPAKLILAP WHERE PL_PID = 900) "
                 "ORDER BY L_ID DESC LIMIT 101");
        q.Open();
        for (int r = 0; r < q.RecordCount(); ++r) fresh.push_back(q.ValueInteger(r, 0));
    }
    const int calls = int(fresh.size());
    const double addNew = MedianOfCalls(
        calls, [&](int) { QCoreApplication::processEvents(); }, [&](int i) { frame->AddCardToDeck(fresh[size_t(i)]); });
    for (qint64 id : fresh) frame->RemoveCardFromDeck(id);
    const qint64 inDeck = frame->mdPakli.Row(0).L_ID;
    const double addOld = MedianOfCalls(
        calls, [&](int) { QCoreApplication::processEvents(); }, [&](int) { frame->AddCardToDeck(inDeck); });
    std::printf("%-44s %7d cards  %9.4f ms (new card)  %9.4f ms (card in the deck)\n", "AddCardToDeck, median of 101",
                cards, addNew, addOld);

    // The statistics page, beside making as many plain labels as it shows lines.
    const int lines = frame->mdPakli.RecordCount() + 6;
    const double bareLabels = Median([&] {
        QWidget holder;
        for (int i = 0; i < lines; ++i) (new QLabel(QStringLiteral("(123) Egy kártya neve (2)"), &holder))->adjustSize();
    });
    frame->Summary->cbReszl->setChecked(false);
    Line("DrawSummary short, 60 rows (bare: labels)", cards, Median([&] { frame->DrawSummary(); }), bareLabels);
    frame->Summary->cbReszl->setChecked(true);
    Line("DrawSummary detailed (bare: labels)", cards, Median([&] { frame->DrawSummary(); }), bareLabels);

    // The HTML page, beside writing its bytes straight into a file.
    QTemporaryDir out;
    const QString htm = out.filePath("pakli.htm");
    const TDeckHtmlHead head{frame->lFoisten->text(), QStringLiteral("Mérőpakli"), QString()};
    const QByteArray bytes = DeckHtmlBytes(DeckHtmlLines(frame->mdPakli.Rows(), head));
    const double bareWrite = Median([&] {
        QFile f(out.filePath("bare.htm"));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    });
    Line("WriteDeckHtml, 60 rows (bare: one write)", cards, Median([&] { WriteDeckHtml(htm, frame->mdPakli.Rows(), head); }),
        bareWrite);
    delete frame;
}

// Copying and deleting a 60-row deck beside SQLite running the same statements in one transaction
// with literal values; filling the wizard's god list and the browser's deck list beside SQLite
// stepping their queries.
void MeasureDeckBrowser(const QString& programDir)
{
    TTestUiHost ui;
    TBenchHost host;
    TAM am(programDir);
    am.SetHost(&host);
    am.Connect();
    TConnection& conn = am.ADOConnection;
    conn.ExecuteDirect(
        "BEGIN; DELETE FROM TPAKLILAP WHERE PL_PID = 901; DELETE FROM TPAKLI WHERE P_ID = 901;"
        "INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (901, 'Másolandó', '', 1);"
        "INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) SELECT 901, L_ID, 2 FROM TLAP WHERE L_LAPTIPUS <> 'L004' "
        "ORDER BY L_ID LIMIT 60; COMMIT;");
    auto exec = [&](const QString& sql) { conn.ExecuteDirect(sql); };
    std::vector<qint64> ours;
    std::vector<qint64> bare;
    const double copy = Median([&] { ours.push_back(am.CopyDeck(901, QStringLiteral("Másolat"))); });
    const double bareCopy = Median([&] {
        exec("BEGIN; INSERT INTO TPAKLI ( P_NEV, P_FOISTENLID ) SELECT 'Nyers', P_FOISTENLID FROM TPAKLI WHERE P_ID = 901;");
        const QString id = QString::number(conn.LastInsertId());
        exec("UPDATE TPAKLI SET P_NEV = 'Nyers' WHERE P_ID = " + id + "; INSERT INTO TPAKLILAP ( PL_PID, PL_LID, PL_LDB) "
             "SELECT " + id + ", PL_LID, PL_LDB FROM TPAKLILAP WHERE PL_PID = 901; COMMIT;");
        bare.push_back(id.toLongLong());
    });
    Line("CopyDeck, 60 rows (bare: same SQL, literals)", 60, copy, bareCopy);
    size_t next = 0;
    const double remove = Median([&] { am.DeleteDeck(ours[next++]); });
    next = 0;
    const double bareRemove = Median([&] {
        const QString id = QString::number(bare[next++]);
        exec("BEGIN; DELETE FROM TPAKLILAP WHERE PL_PID = " + id + "; DELETE FROM TPAKLI WHERE P_ID = " + id + "; COMMIT;");
    });
    Line("DeleteDeck, 60 rows (bare: same SQL, literals)", 60, remove, bareRemove);

    const TOpenDeck none = [](qint64) {};
    int gods = 0;
    const double wizard = Median([&] {
        TfUjPakli w(am, none, QString());
        gods = w.lbFoisten->count();
    });
    const QString godSql = TfUjPakli(am, none, QString()).qFoisten.SQL();
    Line("new deck wizard, god list (bare: its query)", gods, wizard, Median([&] { BareStep(conn, godSql); }));
    int decks = 0;
    const double browser = Median([&] {
        TfPakliBong b(am, none, QString());
        b.RefreshDeckList();
        decks = b.lbPakli->count();
    });
    const QString deckSql = TfPakliBong(am, none, QString()).qPaklik.SQL();
    Line("deck browser, deck list (bare: its query)", decks, browser, Median([&] { BareStep(conn, deckSql); }));
    exec("BEGIN; DELETE FROM TPAKLILAP WHERE PL_PID = 901; DELETE FROM TPAKLI WHERE P_ID = 901; COMMIT;");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (app.arguments().contains("--quick")) Repeats = 1;
    const QString demo = QStringLiteral(VELKOR_PROGRAM_DIR);
    if (app.arguments().contains("--pictures")) {  // the picture lines alone
        MeasurePictures(demo, Repeats);
        return 0;
    }
    // One group of lines alone: on a copy of the demo catalogue, then on a copy grown to 100,000 cards.
    auto bothSizes = [&demo](const std::function<void(const QString&, bool big)>& measure) {
        QTemporaryDir small, big;
        CopyCatalogue(demo, small.path());
        measure(small.path(), false);
        CopyCatalogue(demo, big.path());
        if (!GrowCatalogue(big.filePath("DB/Velkor.db"), 100000)) return 1;
        measure(big.path(), true);
        return 0;
    };
    const QStringList args = app.arguments();
    if (args.contains("--print"))
        return bothSizes([](const QString& dir, bool big) { MeasurePrint(dir, big ? 1 : Repeats); });
    if (args.contains("--search"))
        return bothSizes([](const QString& dir, bool big) { MeasureSearch(dir, Repeats, big); });
    if (args.contains("--collection"))
        return bothSizes([](const QString& dir, bool) { MeasureCollection(dir, Repeats); });
    if (args.contains("--backup")) return bothSizes([](const QString& dir, bool) { MeasureBackup(dir, Repeats); });

    std::printf("== demo catalogue ==\n");
    // A copy, so that the measured sorts do not end up in the program folder's settings.
    QTemporaryDir small;
    CopyCatalogue(demo, small.path());
    MeasureCatalogue(small.path());
    MeasureWindow(small.path());
    MeasureDeck(small.path());
    MeasureDeckBrowser(small.path());
    MeasureExport(small.path(), Repeats);
    MeasurePrint(small.path(), Repeats);
    MeasureFilterWindows(small.path());
    MeasureFilterSelection(small.path());
    MeasureSearch(small.path(), Repeats, false);
    MeasureCollection(small.path(), Repeats);
    MeasureBackup(small.path(), Repeats);
    MeasureStartup(demo);
    MeasurePictures(demo, Repeats);

    std::printf("== 100,000 cards ==\n");
    QTemporaryDir dir;
    CopyCatalogue(demo, dir.path());
    const QString big = dir.filePath("DB/Velkor.db");
    if (!GrowCatalogue(big, 100000)) return 1;
    const long before = ResidentKb();
    MeasureCatalogue(dir.path());
    MeasureWindow(dir.path());
    MeasureDeck(dir.path());
    MeasureDeckBrowser(dir.path());
    MeasureExport(dir.path(), Repeats);
    MeasurePrint(dir.path(), 1);
    MeasureFilterWindows(dir.path());
    MeasureFilterSelection(dir.path());
    MeasureSearch(dir.path(), Repeats, true);
    MeasureCollection(dir.path(), Repeats);
    MeasureBackup(dir.path(), Repeats);
    std::printf("%-44s %ld kB before opening\n", "resident", before);
    return 0;
}
