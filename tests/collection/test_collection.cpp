// The collection figures on a hand-made catalogue whose figures are known, the filtered scope
// against the card list's own statement, and the texts built from hostile names.
#include "collection/uCollection.h"
#include "collection/ufGyujtemeny.h"

#include "TestCatalogue.h"
#include "app/Messages.h"
#include "storage/CatalogNames.h"

#include <QAbstractItemModelTester>
#include <QFile>

namespace {

// Owned counts NULL, 0, negative and text; an unknown pantheon and type; a rarity without name.
const char* const Cards = R"SQL(
INSERT INTO TVELKOR VALUES ('M001','Holdfátyol'),('M002','Árnyak %1 "idéző" ''x'''),('M003','Aranyág');
INSERT INTO TLAPTIPUS VALUES ('L001','Hős',1),('L002','Varázslat',4);
INSERT INTO TLAP (L_ID,L_LAPSZAM,L_NEV,L_VELKOR,L_LAPTIPUS,L_DB,L_GYAKORISAG) VALUES
 (1,'001','Egy','M001','L001',2,'r'), (2,'002','Kettő','M001','L001',NULL,'r'),
 (3,'003','Három','M001','L002',0,'g'), (4,'004','Négy','M001','L002',-1,'t'),
 (5,'005','Öt','M002','L001','néhány','r'), (6,'006','Hat; "hat"','M002','L002',5,'x'),
 (7,'007','Hét','M999','L001',1,'r'), (8,'008','Nyolc','M001','LX99',4,NULL),
 (5000000009,'009','Kilenc %1','M003','L001',1,'');
)SQL";

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cat.Exec(Cards);
        Conn.Open(Cat.DbPath());
    }
    // Each row as "name|cards|owned|missing|copies|completion".
    QStringList Rows(TCollectionGrouping grouping)
    {
        Model.Refresh(grouping);
        QStringList rows;
        for (int r = 0; r < Model.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < Model.columnCount(); ++c) cells << Model.index(r, c).data().toString();
            rows << cells.join(u'|');
        }
        return rows;
    }

    TSchemaCatalogue Cat;
    TConnection Conn;
    TCollectionModel Model{&Conn};
};

TEST_F(CollectionTest, KnownFiguresPerGrouping)
{
    QAbstractItemModelTester tester(&Model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QString arnyak = QStringLiteral("Árnyak %1 \"idéző\" 'x'");
    EXPECT_EQ(Rows(cgPantheon), QStringList({"Aranyág|1|1|0|1|100,0%", arnyak + "|2|1|1|5|50,0%",
                                             "Holdfátyol|5|2|3|6|40,0%", "(ismeretlen)|1|1|0|1|100,0%",
                                             "Összesen|9|5|4|13|55,6%"}));
    EXPECT_EQ(Rows(cgCardType), QStringList({"Hős|5|3|2|4|60,0%", "Varázslat|3|1|2|5|33,3%",
                                             "(ismeretlen)|1|1|0|4|100,0%", "Összesen|9|5|4|13|55,6%"}));
    EXPECT_EQ(Rows(cgRarity), QStringList({"tömeg|1|0|1|0|0,0%", "gyakori|1|0|1|0|0,0%", "ritka|4|2|2|3|50,0%",
                                           "(ismeretlen: x)|1|1|0|5|100,0%", "(ismeretlen)|2|2|0|5|100,0%",
                                           "Összesen|9|5|4|13|55,6%"}));
    EXPECT_EQ(Rows(cgPantheonRarity).first(), "Aranyág – (ismeretlen)|1|1|0|1|100,0%");
    EXPECT_EQ(Rows(cgPantheonRarity).at(1), arnyak + " – ritka|1|0|1|0|0,0%");
    EXPECT_EQ(Model.headerData(0, Qt::Horizontal).toString(), "Velkor és gyakoriság");

    // A card list that nothing passes: the total row alone, its completion a dash.
    TQPList none;
    none.AddPiece(MakePiece(pkQuickSearch, "L_NEV", "LIKE", "nincs ilyen", "S", "", 1));
    Model.SetConditions(&none);
    EXPECT_EQ(Rows(cgRarity), QStringList({"Összesen|0|0|0|0|–"}));
    Model.SetConditions(nullptr);

    // By completion, highest first: the total row stays last.
    Model.Refresh(cgPantheon);
    Model.sort(TCollectionModel::colCompletion, Qt::DescendingOrder);
    EXPECT_EQ(Model.index(3, 0).data().toString(), "Holdfátyol");
    EXPECT_EQ(Model.index(4, 0).data().toString(), "Összesen");
}

TEST_F(CollectionTest, MissingCardsAndTheirCondition)
{
    Model.Refresh(cgPantheon);
    const TCollectionGroup arnyak = Model.Group(1), holdfatyol = Model.Group(2);
    EXPECT_EQ(Model.MissingLines(holdfatyol), QStringList({"(002) Kettő", "(003) Három", "(004) Négy"}));
    EXPECT_EQ(Model.MissingLines(arnyak), QStringList({"(005) Öt"}));
    EXPECT_EQ(TCollectionModel::MissingCaption(arnyak), QStringLiteral("Hiányzók: Árnyak %1 \"idéző\" 'x'"));
    EXPECT_TRUE(Model.MissingLines(Model.Group(3)).isEmpty());  // (ismeretlen): nothing missing

    // The condition in the card list gives the same cards as the lines.
    TQPList list;
    for (const TQueryPiece& p : Model.MissingPieces(holdfatyol)) list.AddPiece(p);
    TQuery q(&Conn);
    q.SetSQL(Catalog::CardListSelect + list.BuildWhereClause() + " ORDER BY TLAP.L_LAPSZAM");
    q.Open();
    QStringList names;
    for (q.First(); !q.Eof(); q.Next()) names << q.FieldByName("L_NEV").AsString();
    EXPECT_EQ(names, QStringList({"Kettő", "Három", "Négy"}));

    Model.Refresh(cgRarity);  // the empty and NULL rarity together
    EXPECT_EQ(Model.MissingLines(Model.Group(4)), QStringList());
    EXPECT_EQ(Model.MissingLines(Model.Group(0)), QStringList({"(004) Négy"}));
}

TEST_F(CollectionTest, SpareCopiesLinesAndCsvBytes)
{
    TTestUiHost ui;
    EXPECT_EQ(Model.SpareText(1), QStringLiteral("1 (001) Egy\r\n4 (006) Hat; \"hat\"\r\n3 (008) Nyolc\r\nÖsszesen: 8\r\n"));
    EXPECT_EQ(Model.SpareText(5), QString());

    TfGyujtemeny window(&Conn, nullptr, 1);
    window.FormShow();
    const QString file = Cat.Dir.filePath("csere.csv");
    ui.PushSaveFile(file);
    window.btnCsereCsvClick();
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArray("\xEF\xBB\xBF"
                                        "1;001;Egy;\r\n4;006;\"Hat; \"\"hat\"\"\";\r\n3;008;Nyolc;\r\n8;;") +
                                 QStringLiteral("Összesen;\r\n").toUtf8());
}

// The demo catalogue under a stored filter and "Darab szűrés": the figures count exactly the
// card list's rows, and the missing cards' condition narrows the same list to the lines.
TEST(CollectionDemoTest, FilteredFiguresFollowTheCardList)
{
    TTempCatalogue cat;
    TConnection conn;
    conn.Open(cat.DbPath());
    TQPList list;
    const qint64 filter = ScalarOn(conn, "SELECT MIN(FB_ID) FROM TFILTERBASE WHERE FB_CATEGORY = '00ALAP'").toLongLong();
    LoadStoredFilter(conn, filter, pkStoredFilter, list);
    ASSERT_GT(list.Count(), 0);
    list.AddPiece(MakePiece(pkQuickSearch, "L_NEV", "LIKE", "%a", "S", "", 1));
    TCollectionModel model(&conn);
    model.SetConditions(&list);
    model.Refresh(cgPantheon);

    TQuery cards(&conn);
    cards.SetSQL(Catalog::CardListSelect + list.BuildWhereClause());
    cards.Open();
    ASSERT_GT(cards.RecordCount(), 0);
    QMap<QString, int> perPantheon;
    for (cards.First(); !cards.Eof(); cards.Next()) ++perPantheon[cards.FieldByName("VELKOR_NEV").AsString()];
    const TCollectionGroup& total = model.Groups().back();
    EXPECT_EQ(total.Cards, cards.RecordCount());
    for (const TCollectionGroup& g : model.Groups())
        if (!g.Total) {
            EXPECT_EQ(g.Cards, perPantheon.value(g.Name1)) << g.Name1.toStdString();
        }

    for (const TCollectionGroup& g : model.Groups()) {
        TQPList narrowed;
        LoadStoredFilter(conn, filter, pkStoredFilter, narrowed);
        narrowed.AddPiece(MakePiece(pkQuickSearch, "L_NEV", "LIKE", "%a", "S", "", 1));
        for (const TQueryPiece& p : model.MissingPieces(g)) narrowed.AddPiece(p);
        TQuery q(&conn);
        q.SetSQL(Catalog::CardListSelect + narrowed.BuildWhereClause());
        q.Open();
        EXPECT_EQ(q.RecordCount(), model.MissingLines(g).size()) << g.Caption().toStdString();
        EXPECT_EQ(q.RecordCount(), g.Missing());
    }
}

}  // namespace
