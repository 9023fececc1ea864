// The catalogue's search index and the "Keresés" box, on a copy of the demo catalogue and the
// real main window.
#include <gtest/gtest.h>

#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/ufMain.h"
#include "filters/uQPList.h"
#include "storage/SearchIndex.h"
#include "storage/udmVDB.h"
#include "widgets/CheckListCombo.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <thread>

namespace {

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(fMain->SearchAvailable());
    }
    void Search(const QString& text)
    {
        fMain->eKereses->setText(text);
        QTest::keyClick(fMain->eKereses, Qt::Key_Return);
    }
    QSet<qint64> Listed()
    {
        QSet<qint64> ids;
        for (int r = 0; r < AM->qLapok.RecordCount(); ++r) ids << AM->qLapok.ValueInteger(r, AM->qLapok.FindField("L_ID"));
        return ids;
    }
    // Cards the index gives for a query, read with plain SQL.
    QSet<qint64> Found(const QString& fts)
    {
        TQuery q(&AM->ADOConnection);
        q.SetSQL("SELECT rowid FROM TKERESES WHERE TKERESES MATCH :Q");
        q.SetParam(0, fts);
        q.Open();
        QSet<qint64> ids;
        for (int r = 0; r < q.RecordCount(); ++r) ids << q.ValueInteger(r, 0);
        return ids;
    }
    // Another program writing the catalogue: a plain SQLite connection.
    void Other(const char* sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Cat.DbPath().toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

TEST_F(SearchTest, EveryKindOfTextIsFoundAccentAndCaseInsensitiveAndEditsAtOnce)
{
    // name, information, number, ability, property, note; accents and case both ways.
    const std::pair<const char*, qint64> words[] = {
        {"arnyas", 24}, {"ÁRNYAS", 24}, {"fOISTENE", 1}, {"024", 24},
        {"intrika", 1}, {"repülo", 5},  {"CSEREALAP", 1}};
    for (const auto& [word, card] : words) {
        Search(QString::fromUtf8(word));
        EXPECT_TRUE(Listed().contains(card)) << word;
    }
    // The program's own note save, then another program's ability and property rename.
    ASSERT_TRUE(dmVDB->SaveCardNote(24, QStringLiteral("eladni a vásáron")));
    Other("INSERT INTO TSPEC VALUES (24, 9, '', '', 'Húzz két zümmögőt'); "
          "UPDATE TTULAJDONSAG SET TULAJDONSAG_NEV = 'Szárnyaló' WHERE TULAJDONSAG_ID = 'T001'");
    EXPECT_TRUE(Found("vasar*").contains(24));
    EXPECT_TRUE(Found("\"huzz ket\"").contains(24));
    EXPECT_TRUE(Found("szarnyalo").contains(5));
    EXPECT_FALSE(Found("repulo").contains(5));
    Other("DELETE FROM TSPEC WHERE S_LAPID = 24 AND S_NUM = 9; DELETE FROM TLAP WHERE L_ID = 24");
    EXPECT_TRUE(Found("zummogo*").isEmpty());
    EXPECT_FALSE(Found("arnyas OR jegpancel").contains(24));
    Other("INSERT INTO TKERESES(TKERESES, rank) VALUES('integrity-check', 1)");  // no stale word left
}

TEST_F(SearchTest, PrefixPhraseAndExclusionCombineWithStoredFilterAndColumnBoxAsIntersection)
{
    const int all = AM->qLapok.RecordCount();
    Search("arny");
    const QSet<qint64> arny = Listed();
    EXPECT_EQ(arny, Found("arny*"));
    Search("arny -jeg");
    EXPECT_EQ(Listed(), arny - Found("jeg*"));
    Search("-arny");
    EXPECT_EQ(Listed().size() + arny.size(), all);
    EXPECT_FALSE(Listed().intersects(arny));

    Search("");
    LoadStoredFilter(AM->qGetFilter, 3, pkStoredFilter, *QPList);
    fMain->pnGridTop->findChild<QLineEdit*>("e__L_NEV")->setText("V");
    AM->ReQuery();
    const QSet<qint64> filtered = Listed();
    Search("ell");
    EXPECT_EQ(Listed(), filtered & Found("ell*"));
    EXPECT_FALSE(Listed().isEmpty());
    EXPECT_EQ(fMain->cbFilter->ShownText(), QStringLiteral("[] Keresés: \"ell\""));
    fMain->acDisableFilter->trigger();
    EXPECT_TRUE(fMain->eKereses->text().isEmpty());
    EXPECT_EQ(fMain->cbFilter->ShownText(), "[]");
    EXPECT_EQ(AM->qLapok.RecordCount(), ScalarOn(AM->ADOConnection, "SELECT COUNT(*) FROM TLAP").toInt());
}

TEST_F(SearchTest, BoxWaitsForAPauseEnterSearchesAtOnceEscClears)
{
    const int all = AM->qLapok.RecordCount();
    QTest::keyClicks(fMain->eKereses, "arny");
    EXPECT_EQ(AM->qLapok.RecordCount(), all);  // not at every key
    EXPECT_TRUE(fMain->tmrKereses->isActive());
    EXPECT_EQ(fMain->tmrKereses->interval(), 250);
    EXPECT_TRUE(QTest::qWaitFor([&] { return AM->qLapok.RecordCount() == Found("arny*").size(); }, 3000));
    QTest::keyClick(fMain->eKereses, Qt::Key_Escape);
    EXPECT_EQ(AM->qLapok.RecordCount(), all);
    EXPECT_TRUE(fMain->eKereses->text().isEmpty());
}

TEST_F(SearchTest, HostileTextsGiveResultsOrNothingButNeverAnError)
{
    for (const QString& text : {QStringLiteral("\""), QStringLiteral("*"), QStringLiteral("NEAR("), QStringLiteral("OR"),
                                QStringLiteral("-"), QStringLiteral("a\"b c\""), QStringLiteral("kő-óriás"),
                                QStringLiteral("{L_NEV}: x"), QStringLiteral("'; DROP TABLE TLAP; --"),
                                QStringLiteral("áb ").repeated(3334)}) {
        Search(text);
        EXPECT_TRUE(AM->qLapok.Active()) << text.left(20).toStdString();
    }
    EXPECT_EQ(Ui.Records().size(), 0) << Ui.Texts().join(" | ").toStdString();
}

TEST_F(SearchTest, DetailPageMarksMatchedWordsAndRowTooltipSaysWhere)
{
    Search("cserealap intrika");
    ASSERT_EQ(Listed(), (QSet<qint64>{1}));
    EXPECT_EQ(fMain->SearchToolTip(0), QStringLiteral("Találat: képesség, megjegyzés"));
    fMain->acTs1->trigger();
    const auto marks = fMain->ts1->mSajat->extraSelections();
    ASSERT_EQ(marks.size(), 1);
    EXPECT_EQ(marks[0].cursor.selectedText(), "cserealapba");
    EXPECT_EQ(fMain->ts1->mSajat->toPlainText(), QStringLiteral("Két példány cserealapba."));
    const QImage& picture = fMain->ts1->SpecPicture();
    bool marked = false;
    for (int y = 0; y < picture.height() && !marked; ++y)
        for (int x = 0; x < picture.width() && !marked; ++x) marked = picture.pixelColor(x, y) == SearchMarkColor();
    EXPECT_TRUE(marked);
}

TEST(SearchIndexTest, CatalogueThatCannotTakeTheIndexWorksWithoutIt)
{
    TTempCatalogue cat;
    TConnection conn;
    conn.Open(cat.DbPath());
    const QString schema = ScalarOn(conn, "SELECT group_concat(sql) FROM sqlite_master");
    conn.ExecuteDirect("PRAGMA query_only = 1");
    QString why;
    EXPECT_FALSE(SearchIndex::Ensure(conn, {}, &why));
    EXPECT_FALSE(why.isEmpty());
    conn.ExecuteDirect("PRAGMA query_only = 0");
    EXPECT_EQ(ScalarOn(conn, "SELECT group_concat(sql) FROM sqlite_master"), schema);
    // A table of the player's under the index's name is kept; the window says search is off.
    conn.ExecuteDirect("CREATE TABLE TKERESES (X)");
    conn.Close();
    TTestUiHost ui;
    TProgram program(cat.ProgramDir());
    program.Create();
    EXPECT_FALSE(fMain->eKereses->isEnabled());
    EXPECT_EQ(fMain->eKereses->placeholderText(), QStringLiteral("A keresés nem érhető el"));
    EXPECT_GT(AM->qLapok.RecordCount(), 0);
    EXPECT_EQ(ui.Records().size(), 0);
}

TEST(SearchIndexTest, BuildWaitsForAWriterAndLeavesNothingBehindWhenItCannotCommit)
{
    for (const bool readerStays : {false, true}) {
        TTempCatalogue cat;
        TConnection conn, other;
        conn.SetBusyTimeout(300);
        conn.Open(cat.DbPath());
        other.Open(cat.DbPath());
        other.ExecuteDirect(readerStays ? "BEGIN; SELECT COUNT(*) FROM TLAP" : "BEGIN IMMEDIATE");
        std::thread writerEnds([&] {
            if (!readerStays) QThread::msleep(100), other.ExecuteDirect("COMMIT");
        });
        EXPECT_EQ(SearchIndex::Ensure(conn), !readerStays);
        writerEnds.join();
        EXPECT_TRUE(sqlite3_get_autocommit(conn.Handle()));
        EXPECT_EQ(SearchIndex::IsCurrent(conn), !readerStays);
        if (readerStays) other.ExecuteDirect("COMMIT");
        EXPECT_TRUE(SearchIndex::Ensure(conn));
    }
}

}  // namespace
