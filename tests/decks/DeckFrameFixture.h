#pragma once
// A deck frame on a private copy of the demo catalogue, with a host and a message host of the
// test's own, for the deck insight tests.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "decks/uDeckHost.h"
#include "decks/ufmPakli.h"

#include <sqlite3.h>

class TInsightDeckHost : public TDeckHost {
public:
    QString PictureFolder() const override { return {}; }
    QList<QAction*> DeckMenuActions() const override { return {}; }
    void SetDeckSummoningTech(const QString&) override {}
    void DeckLoaded() override {}
    void DeckClosed() override {}
    bool IsSummaryStale() const override { return Stale; }
    void SetSummaryStale(bool stale) override { Stale = stale; }
    void FlashDeckTab(QWidget*, int) override {}
    int OpeningHandSize() const override { return Hand; }
    void SetOpeningHandSize(int hand) override { Hand = hand; }

    bool Stale = false;
    int Hand = 7;
};

class DeckInsightTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Conn.Open(Cat.DbPath());
        Page.resize(800, 560);
        Frame = new TfmPakli(&Host, Conn, &Page);
        Frame->resize(Page.size());
    }
    void TearDown() override { delete Frame; }

    void Load(qint64 deckId)
    {
        TFormOpenPars pars;
        InitFormOpenPars(pars);
        pars.Id = int32_t(deckId);
        pars.Mode = fmEdit;
        Frame->LoadDeck(pars);
    }
    QString Scalar(const QString& sql) { return ScalarOn(Conn, sql); }
    // Raw SQL as another program would run it.
    void Exec(const QByteArray& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Cat.DbPath().toUtf8().constData(), &db), SQLITE_OK);
        char* err = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(db);
    }
    // The deck's stored rows as "card:copies" in card order, and its head.
    QString StoredRows(qint64 deckId)
    {
        return Scalar(QStringLiteral("SELECT group_concat(PL_LID || ':' || PL_LDB, ' ') FROM (SELECT PL_LID, PL_LDB "
                                     "FROM TPAKLILAP WHERE PL_PID = %1 ORDER BY PL_LID)")
                          .arg(deckId));
    }
    QString DeckCount() { return Scalar("SELECT COUNT(*) FROM TPAKLI") + "/" + Scalar("SELECT COUNT(*) FROM TPAKLILAP"); }

    TTempCatalogue Cat;
    TConnection Conn;
    TTestUiHost Ui;
    TInsightDeckHost Host;
    QWidget Page;
    TfmPakli* Frame = nullptr;
};
