// The data access module on a copy of the demo catalogue: the card list, its error path, the
// generic operations, the note save and the catalogue's own statements.
#include "TestCatalogue.h"

#include "filters/uQPList.h"
#include "storage/uAM.h"
#include "storage/udmVDB.h"

#include <QSignalSpy>

namespace {

// Records what the data module would show and answers for the window.
class TRecordingHost : public TCardListHost {
public:
    QString CardListOrderBy() override { return OrderBy; }
    void SetCardCountCaption(const QString& caption) override { Caption = caption; }
    void ShowError(const QString& context, const QString& message) override { Errors << context + "|" + message; }
    void ShowPlainError(const QString& message) override { Plain << message; }

    QString OrderBy = "ORDER BY L_NEV ASC";
    QString Caption = "(none)";
    QStringList Errors;
    QStringList Plain;
};

class AMTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Am = std::make_unique<TAM>(Cat.ProgramDir());
        Am->SetHost(&Host);
        Am->SetConditions(&Conditions);
        ASSERT_TRUE(Am->Connect());
        Vdb = std::make_unique<TdmVDB>(*Am);
    }

    QString Scalar(const QString& sql) { return ScalarOn(Am->ADOConnection, sql); }

    TTempCatalogue Cat;
    TRecordingHost Host;
    TQPList Conditions;
    std::unique_ptr<TAM> Am;
    std::unique_ptr<TdmVDB> Vdb;
};

}  // namespace

TEST_F(AMTest, ReQueryListsEveryCardAndWritesTheCount)
{
    QSignalSpy changes(&Am->qLapok, &TQuery::DataChange);
    Am->ReQuery();
    EXPECT_TRUE(Host.Errors.isEmpty()) << Host.Errors.join("\n").toStdString();
    const int cards = Scalar("SELECT COUNT(*) FROM (TLAP INNER JOIN TLAPTIPUS ON TLAP.L_LAPTIPUS = "
                             "TLAPTIPUS.LAPTIPUS_ID) INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID")
                          .toInt();
    EXPECT_GT(cards, 0);
    EXPECT_EQ(Am->qLapok.RecordCount(), cards);
    EXPECT_EQ(Host.Caption, QString::number(cards) + " darab");
    EXPECT_EQ(changes.count(), 1);  // held back, sent once
    EXPECT_EQ(Am->qLapok.RecNo(), 0);
    for (const char* f : {"LAPTIPUS_NEV", "VELKOR_NEV", "L_ID", "L_KEPNEV", "L_LAPSZAM", "L_NEV", "L_VELKOR",
                          "L_LAPTIPUS", "L_LEIDEZES", "L_SZINT", "L_UTAK", "L_HP", "L_DB", "L_GYAKORISAG"})
        EXPECT_GE(Am->qLapok.FindField(f), 0) << f;
    // No conditions: two blanks between the SELECT and the ORDER BY.
    EXPECT_TRUE(Am->qLapok.SQL().endsWith("VELKOR_ID   ORDER BY L_NEV ASC")) << Am->qLapok.SQL().toStdString();
}

TEST_F(AMTest, AWhereThatEmptiesTheListGivesZeroCards)
{
    Conditions.AddPiece(MakePiece(pkQuickSearch, "L_NEV", "LIKE", "zzzz-nincs-ilyen", "S", "", 1));
    Am->ReQuery();
    EXPECT_EQ(Host.Caption, "0 darab");
    EXPECT_TRUE(Am->qLapok.Active());
    EXPECT_EQ(Am->qLapok.RecordCount(), 0);
    EXPECT_EQ(Am->qLapok.RecNo(), -1);
}

TEST_F(AMTest, ARejectedStatementIsReportedWithItsSqlAndTheListStaysClosed)
{
    Am->ReQuery();
    const QString before = Host.Caption;
    Conditions.AddPiece(MakePiece(pkStoredFilter, "NINCS_MEZO", "=", "1", "I", "", 1));
    Am->ReQuery();
    ASSERT_EQ(Host.Errors.size(), 1);
    const QString shown = Host.Errors[0];
    EXPECT_TRUE(shown.startsWith("Am.ReQuery no such column: NINCS_MEZO\r\nSELECT ")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("WHERE ((NINCS_MEZO = 1))\r\n")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("|no such column: NINCS_MEZO")) << shown.toStdString();
    EXPECT_EQ(Host.Caption, before);
    EXPECT_FALSE(Am->qLapok.Active());

    // The next good filter brings the list back.
    Conditions.Clear();
    Am->ReQuery();
    EXPECT_TRUE(Am->qLapok.Active());
    EXPECT_EQ(Host.Caption, before);
}

TEST_F(AMTest, APropertyConditionJoinsTheLinkTable)
{
    Conditions.AddPiece(MakePiece(pkStoredFilter, "TLAPTUL.LT_TULID", "=", "T001", "S", "", 1));
    EXPECT_TRUE(Am->BuildCardListSql().contains("INNER JOIN TLAPTUL ON TLAP.L_ID = TLAPTUL.LT_LID"));
    Am->ReQuery();
    EXPECT_TRUE(Host.Errors.isEmpty()) << Host.Errors.join("\n").toStdString();
    EXPECT_EQ(Am->qLapok.RecordCount(), Scalar("SELECT COUNT(*) FROM TLAPTUL WHERE LT_TULID = 'T001'").toInt());
}

TEST_F(AMTest, GenericOperations)
{
    EXPECT_GT(Am->GetMaxValue("L_ID", "TLAP"), 0);
    EXPECT_EQ(Am->GetMaxValueText("L_LAPSZAM", "TLAP"), Scalar("SELECT MAX(L_LAPSZAM) FROM TLAP"));
    ASSERT_TRUE(Am->RunCommand("DELETE FROM TSZURESLAP"));
    ASSERT_TRUE(Am->RunCommand("DELETE FROM TFILTER"));
    ASSERT_TRUE(Am->RunCommand("DELETE FROM TFILTERBASE"));
    EXPECT_EQ(Am->GetMaxValue("FB_ID", "TFILTERBASE"), 0);
    EXPECT_EQ(Am->GetMaxValueText("FB_NAME", "TFILTERBASE"), "");

    EXPECT_EQ(Am->GetFieldValue("TLAP", "L_ID", 1, "L_LAPSZAM"), "001");
    EXPECT_EQ(Am->GetFieldValue("TLAP", "L_LAPSZAM", "001", "L_ID"), "1");
    EXPECT_EQ(Am->GetFieldValue("TLAP", "L_ID", -5, "L_NEV"), "");
    EXPECT_EQ(Am->CountByKey(-5, "TLAP", "L_ID"), 0);
    EXPECT_EQ(Am->CountByKey(1, "TLAP", "L_ID"), 1);
    EXPECT_THROW(Am->CountByKey(1, "NINCS", "L_ID"), EDatabaseError);  // left to the caller

    EXPECT_TRUE(Am->RunCommand("UPDATE TLAP SET L_DB = 9 WHERE L_ID = :P", 1));
    EXPECT_EQ(Scalar("SELECT L_DB FROM TLAP WHERE L_ID = 1"), "9");
    EXPECT_TRUE(Am->RunCommandString("UPDATE TLAP SET L_DB = NULL WHERE L_ID = :P", 1));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TLAP WHERE L_ID = 1 AND L_DB IS NULL"), "1");

    EXPECT_TRUE(Host.Errors.isEmpty());
    EXPECT_FALSE(Am->RunCommand("DELETE FROM NINCS"));
    EXPECT_FALSE(Am->RunCommand("DELETE FROM NINCS WHERE X = :P", 1));
    EXPECT_FALSE(Am->RunCommandString("DELETE FROM NINCS WHERE X = :P", 1));
    ASSERT_EQ(Host.Errors.size(), 3);
    EXPECT_EQ(Host.Errors[0], "Am.RunCommand|no such table: NINCS");
    EXPECT_EQ(Host.Errors[1], "Am.RunCommand 2|no such table: NINCS");
    EXPECT_EQ(Host.Errors[2], "Am.RunCommandString|no such table: NINCS");
}

TEST_F(AMTest, CardNoteIsInsertedThenUpdated)
{
    Am->RunCommand("DELETE FROM TMEGJ WHERE ME_LAPID = 2");
    EXPECT_TRUE(Vdb->SaveCardNote(2, "első jegyzet"));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID = 2"), "1");
    EXPECT_TRUE(Vdb->SaveCardNote(2, "O'Brien második"));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID = 2"), "1");
    EXPECT_EQ(Scalar("SELECT ME_MEGJEGYZES FROM TMEGJ WHERE ME_LAPID = 2"), "O'Brien második");

    Am->ADOConnection.ExecuteDirect("DROP TABLE TMEGJ; CREATE TABLE TMEGJ (ME_LAPID INTEGER)");
    EXPECT_FALSE(Vdb->SaveCardNote(2, "x"));
    ASSERT_EQ(Host.Plain.size(), 1);
    EXPECT_TRUE(Host.Plain[0].contains("ME_MEGJEGYZES"));
}

TEST_F(AMTest, CardWriteBackByNamedParameters)
{
    TCommand& u = Vdb->updLapok;
    const QStringList names = {"L_LAPSZAM", "L_NEV",  "L_VELKOR", "L_LAPTIPUS",   "L_LEIDEZES",    "L_SZINT",
                               "L_UTAK",    "L_HP",   "L_DB",     "L_GYAKORISAG", "L_LEIDEZESTECH", "PIDXLAP"};
    EXPECT_EQ(u.ParamNames(), names);
    u.SetParam("L_LAPSZAM", "001");
    u.SetParam("L_NEV", "Új név");
    u.SetParam("L_VELKOR", Scalar("SELECT L_VELKOR FROM TLAP WHERE L_ID = 1"));
    u.SetParam("L_LAPTIPUS", Scalar("SELECT L_LAPTIPUS FROM TLAP WHERE L_ID = 1"));
    u.SetParam("L_LEIDEZES", "vm");
    u.SetParam("L_SZINT", QVariant());
    u.SetParam("L_UTAK", "");
    u.SetParam("L_HP", -3);
    u.SetParam("L_DB", QVariant());
    u.SetParam("L_GYAKORISAG", "á");
    u.SetParam("L_LEIDEZESTECH", "");
    u.SetParam("PIDXLAP", 1);
    EXPECT_EQ(u.Execute(), 1);
    EXPECT_EQ(Scalar("SELECT L_NEV || '/' || IFNULL(L_SZINT,'NULL') || '/' || L_HP FROM TLAP WHERE L_ID = 1"),
              "Új név/NULL/-3");
}

// The catalogue statements of the deck editor, the deck browser and the fixed statements run as
// written: nested joins in parentheses, parameters, INSERT ... SELECT and a trailing " ;".
TEST_F(AMTest, CatalogueStatementsRunAsWritten)
{
    const int deck = Scalar("SELECT MIN(P_ID) FROM TPAKLI").toInt();
    ASSERT_GT(deck, 0);
    TQuery q(&Am->ADOConnection);
    q.SetSQL(
        "SELECT TLAP.L_LAPSZAM, TLAP.L_NEV, TVELKOR.VELKOR_NEV, TLAPTIPUS.LAPTIPUS_NEV, TLAP.L_HP, TLAP.L_SZINT, "
        "TLAPTIPUS.LAPTIPUS_TECHSORREND, PL_LDB, TLAP.L_HP, TLAP.L_ID, TLAP.L_SZINT, TLAP.L_LEIDEZES FROM TPAKLILAP "
        "INNER JOIN ((TLAP INNER JOIN TLAPTIPUS ON TLAP.L_LAPTIPUS = TLAPTIPUS.LAPTIPUS_ID) INNER JOIN TVELKOR ON "
        "TLAP.L_VELKOR = TVELKOR.VELKOR_ID) ON TPAKLILAP.PL_LID = TLAP.L_ID WHERE TPAKLILAP.PL_PID = :PPAKLIID ORDER "
        "BY TLAPTIPUS.LAPTIPUS_TECHSORREND,TLAP.L_LAPSZAM ;");
    q.SetParam("PPAKLIID", deck);
    q.Open();
    EXPECT_GT(q.RecordCount(), 0);
    EXPECT_EQ(q.RecordCount(), Scalar(QString("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = %1").arg(deck)).toInt());

    q.SetSQL("SELECT TLAP.L_LAPSZAM, TLAP.L_NEV, TLAP.L_UTAK, TLAP.L_LEIDEZESTECH, TVELKOR.VELKOR_NEV, TPAKLI.P_ID, "
             "TPAKLI.P_NEV, TPAKLI.P_MEGJ, TPAKLI.P_FOISTENLID FROM (TPAKLI INNER JOIN TLAP ON TPAKLI.P_FOISTENLID = "
             "TLAP.L_ID) INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID WHERE TPAKLI.P_ID = :PPAKLIID ;");
    q.SetParam(0, deck);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);

    q.SetSQL("SELECT TPAKLI.P_ID, TPAKLI.P_NEV, TPAKLI.P_MEGJ, TLAP.L_LAPSZAM, TVELKOR.VELKOR_NEV, TLAP.L_UTAK, "
             "TLAP.L_NEV, TPAKLI.P_FOISTENLID FROM (TLAP INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID) "
             "INNER JOIN TPAKLI ON TLAP.L_ID = TPAKLI.P_FOISTENLID ORDER BY TLAP.L_LAPSZAM ;");
    q.Open();
    EXPECT_EQ(q.RecordCount(), Scalar("SELECT COUNT(*) FROM TPAKLI").toInt());

    // Copying a deck: header by INSERT ... SELECT, then its cards.
    const int cards = Scalar(QString("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = %1").arg(deck)).toInt();
    Am->qMasolPakliFej.SetParam(0, "Másolat");
    Am->qMasolPakliFej.SetParam(1, deck);
    EXPECT_EQ(Am->qMasolPakliFej.Execute(), 1);
    const int copy = Am->GetMaxValue("P_ID", "TPAKLI");
    Am->qMasolPakliLap.SetParam(0, copy);
    Am->qMasolPakliLap.SetParam(1, deck);
    EXPECT_EQ(Am->qMasolPakliLap.Execute(), cards);
    EXPECT_TRUE(Am->RunCommandString("DELETE FROM TPAKLILAP WHERE PL_PID = :PPAKLIID", copy));
    EXPECT_TRUE(Am->RunCommandString("DELETE FROM TPAKLI WHERE P_ID = :PPAKLIID", copy));
    EXPECT_EQ(Scalar(QString("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_PID = %1").arg(copy)), "0");

    // The fixed statements of the module prepare and run.
    const int card = Scalar("SELECT MIN(LT_LID) FROM TLAPTUL").toInt();
    for (TQuery* fixed : {&Am->qTulajd, &Am->qKategoria, &Am->qSajatMegj, &Am->qSpec}) {
        fixed->SetParam("PIDXLAP", card);
        EXPECT_NO_THROW(fixed->Open()) << fixed->SQL().toStdString();
    }
    for (TQuery* fixed : {&Am->qFilterQuery, &Am->qTulQuery, &Am->qKatQuery}) {
        EXPECT_NO_THROW(fixed->Open()) << fixed->SQL().toStdString();
        EXPECT_GT(fixed->RecordCount(), 0) << fixed->SQL().toStdString();
    }
    Am->qGetFilter.SetParam("PID", Scalar("SELECT MIN(F_FBID) FROM TFILTER").toInt());
    Am->qGetFilter.Open();
    EXPECT_GT(Am->qGetFilter.RecordCount(), 0);
    Am->qSzuresLap.SetParam("PLID", Scalar("SELECT MIN(SZL_LID) FROM TSZURESLAP").toInt());
    Am->qSzuresLap.Open();
    EXPECT_GT(Am->qSzuresLap.RecordCount(), 0);

    Am->cInsertFilterBase.SetParam("FB_NAME", "Próba");
    Am->cInsertFilterBase.SetParam("FB_CATEGORY", "01USER");
    EXPECT_EQ(Am->cInsertFilterBase.Execute(), 1);
    const int fb = Am->GetMaxValue("FB_ID", "TFILTERBASE");
    const QVariant values[] = {fb, 12, -1, "1", 0, 0, "", "L_ID", "=", "I"};
    for (int i = 0; i < 10; ++i) Am->cInsertFilter.SetParam(i, values[i]);
    EXPECT_EQ(Am->cInsertFilter.Execute(), 1);
    Am->qInsUjPakliFej.SetParam("P_NEV", "Új pakli");
    Am->qInsUjPakliFej.SetParam("P_MEGJ", "");
    Am->qInsUjPakliFej.SetParam("P_FOISTENLID", 1);
    EXPECT_EQ(Am->qInsUjPakliFej.Execute(), 1);
}

TEST(AMConnect, AMissingCatalogueIsReportedAndNeverCreated)
{
    QTemporaryDir dir;
    TRecordingHost host;
    TAM am(dir.path());
    am.SetHost(&host);
    EXPECT_THROW(am.Connect(), EAbort);
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith("Hiba a csatlakozás közben|")) << host.Errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("DB/Velkor.db")));
    EXPECT_FALSE(am.Connected());
    // Nothing offered fails further: the list simply stays closed.
    am.ReQuery();
    EXPECT_FALSE(am.qLapok.Active());
}
