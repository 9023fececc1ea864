// Conditions run against a real catalogue copy: stored filters loaded from TFILTER, built
// statements checked by the rows they return, and random box texts and stored values that must
// never break the statement's structure.
#include "filters/uQPList.h"
#include "storage/uAM.h"

#include "TestCatalogue.h"
#include "storage/CatalogNames.h"
#include "storage/Exceptions.h"

#include <sqlite3.h>

#include <algorithm>
#include <random>

namespace {

// Our own cards, so the expectations do not depend on the demo content.
const char* const SeedSql = R"SQL(
DELETE FROM TLAPTUL; DELETE FROM TLAP; DELETE FROM TFILTER;
INSERT OR REPLACE INTO TVELKOR VALUES ('V01','Próba');
INSERT OR REPLACE INTO TLAPTIPUS VALUES ('L001','Lény',1),('L004','Főisten',2),('L006','Vezér A',3),
  ('L008','Vezér B',4),('L012','Vezér C',5);
INSERT INTO TLAP (L_ID,L_LAPSZAM,L_NEV,L_VELKOR,L_LAPTIPUS,L_SZINT,L_HP,L_DB,L_LEIDEZESTECH) VALUES
 (1,'001','Abel','V01','L001',1,3,0,'V%'),
 (2,'002','ABRAK','V01','L001',2,5,1,'M%'),
 (3,'003','abc','V01','L006',3,1,2,'_M%'),
 (4,'004','Ábel','V01','L004',4,2,0,'VMH'),
 (5,'005','ábra','V01','L008',5,7,3,NULL),
 (6,'006','Ödön','V01','L012',1,4,1,NULL),
 (7,'007','Öröm','V01','L001',6,2,0,NULL),
 (8,'008','O''Brien','V01','L001',2,1,1,NULL),
 (9,'009','OxBrien','V01','L001',3,1,0,NULL),
 (10,'010','Éva','V01','L001',1,1,1,NULL),
 (11,'011','éjfél','V01','L001',2,2,0,NULL),
 (12,'012','Ab Ovo','V01','L001',4,3,1,NULL),
 (13,'013','Zoltán 3','V01','L001',1,3,0,NULL),
 (14,'014','Űrhajó','V01','L001',2,3,0,NULL),
 (15,'015','űzött','V01','L001',3,3,1,NULL),
 (16,'016','Szél','V01','L001',7,3,0,NULL),
 (17,'017','3 Testvér','V01','L001',10,3,2,NULL),
 (18,'018','Ábrahám','V01','L001',11,3,0,NULL),
 (19,'019','ÁBÉCÉ','V01','L001',1,3,0,NULL),
 (20,'020','a_b','V01','L001',1,3,0,NULL),
 (21,'021','axb','V01','L001',1,3,0,NULL);
INSERT INTO TLAPTUL VALUES (1,'T001'),(1,'T002'),(2,'T001'),(3,'T002'),(4,'K001');
INSERT OR REPLACE INTO TFILTERTYPE (FT_ID,FT_NAME,FT_FIELD,FT_KIND) VALUES
  (901,'Név','TLAP.L_NEV','S'),(902,'Szint','TLAP.L_SZINT','I');
)SQL";

TQueryPiece P(quint8 kind, const char* field, const char* op, const char* value, const char* type,
              const char* andOr, int group)
{
    return MakePiece(kind, QString::fromUtf8(field), QString::fromUtf8(op), QString::fromUtf8(value),
                     QString::fromUtf8(type), QString::fromUtf8(andOr), group);
}
TQueryPiece Stored(const char* field, const char* op, const char* value, const char* type)
{
    return P(pkStoredFilter, field, op, value, type, "", 0);
}
TQueryPiece Prop(const char* id) { return P(pkProperty, "", "", id, "S", "", 0); }

using Boxes = std::vector<std::pair<QString, QString>>;

class WhereClauseCatalogue : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        Conn.ExecuteDirect(QString::fromUtf8(SeedSql));
        CardList = std::make_unique<TQuery>(&Conn);
        CardList->SetSQL(Catalog::CardListSelect);
        CardList->Open();
    }

    // What the card list does at a requery: boxes into conditions, the SELECT chosen by the
    // conditions, the clause between single blanks.
    QString Statement(TQPList& list, const Boxes& boxes)
    {
        RebuildQuickSearchPieces(list, boxes, [this](const QString& f) { return IsIntegerColumn(*CardList, f); });
        const QString& select =
            list.AnyFieldContains("LT_TULID") ? Catalog::CardListSelectWithProperties : Catalog::CardListSelect;
        return select + " " + list.BuildWhereClause() + " ";
    }

    QStringList Names(const QString& sql)
    {
        TQuery q(&Conn);
        q.SetSQL(sql);
        q.Open();
        QStringList names;
        for (q.First(); !q.Eof(); q.Next()) names << q.FieldByName("L_NEV").AsString();
        std::sort(names.begin(), names.end());
        return names;
    }

    std::unique_ptr<TQuery> CardList;
};

// --- rows of built statements ---

struct RowCase {
    const char* name;
    std::vector<TQueryPiece> pieces;
    std::vector<std::pair<const char*, const char*>> boxes;
    std::vector<const char*> expected;
};

const RowCase RowCases[] = {
    {"Ab finds every case, not the accented", {}, {{"L_NEV", "Ab"}}, {"Ab Ovo", "Abel", "ABRAK", "abc"}},
    {"áb finds accented names of any case", {}, {{"L_NEV", "áb"}}, {"Ábel", "ábra", "Ábrahám", "ÁBÉCÉ"}},
    {"ÁB is the same as áb", {}, {{"L_NEV", "ÁB"}}, {"Ábel", "ábra", "Ábrahám", "ÁBÉCÉ"}},
    {"ö", {}, {{"L_NEV", "ö"}}, {"Ödön", "Öröm"}},
    {"inner blank", {}, {{"L_NEV", "ab o"}}, {"Ab Ovo"}},
    {"masked apostrophe matches any one character", {}, {{"L_NEV", "O'Br"}}, {"O'Brien", "OxBrien"}},
    {"operator and LIKE ORed", {}, {{"L_SZINT", ">=10; 1"}},
     {"Abel", "Ödön", "Éva", "Zoltán 3", "ÁBÉCÉ", "a_b", "axb", "3 Testvér", "Ábrahám"}},
    {"two boxes ANDed", {}, {{"L_NEV", "a"}, {"L_HP", "<3"}}, {"abc"}},
    {"integer box with OR finds nothing", {}, {{"L_SZINT", ">3 OR 1=1"}}, {}},
    {"integer box closing the group finds nothing", {}, {{"L_SZINT", ">=0) OR (1=1"}}, {}},
    {"stored value with an apostrophe matches literally", {Stored("TLAP.L_NEV", "=", "O'Brien", "S")}, {},
     {"O'Brien"}},
    {"stored LIKE with an apostrophe, any case", {Stored("TLAP.L_NEV", "LIKE", "o'b", "S")}, {}, {"O'Brien"}},
    {"stored type I integer", {Stored("TLAP.L_SZINT", "=", "3", "I")}, {}, {"abc", "OxBrien", "űzött"}},
    {"stored type I with OR finds nothing", {Stored("TLAP.L_SZINT", "=", "3 OR 1=1", "I")}, {}, {}},
    {"leaders", {Stored("TLAP.L_LAPTIPUS", "=", "L999", "S")}, {}, {"abc", "ábra", "Ödön"}},
    {"every checked property", {Prop("T001"), Prop("T002")}, {}, {"Abel"}},
    {"one property", {Prop("T001")}, {}, {"Abel", "ABRAK"}},
    {"property and box", {Prop("T002")}, {{"L_NEV", "abc"}}, {"abc"}},
    {"owned", {P(pkOwnedCount, "L_DB", ">", "0", "I", "", 0)}, {},
     {"ABRAK", "abc", "ábra", "Ödön", "O'Brien", "Éva", "Ab Ovo", "űzött", "3 Testvér"}},
    {"summoning: the god's code against each card's pattern",
     {P(pkSummoning, "\"VMH\"", "LIKE", "TLAP.L_LEIDEZESTECH", "S", "", 0)}, {}, {"Abel", "abc", "Ábel"}},
    {"LT_TULID field takes the joined SELECT: a card per matching link",
     {P(pkStoredFilter, "TLAPTUL.LT_TULID", "=", "T001", "S", "", 0),
      P(pkStoredFilter, "TLAPTUL.LT_TULID", "=", "T002", "S", "OR", 0)},
     {},
     {"Abel", "Abel", "ABRAK", "abc"}},
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class WhereClauseRows : public WhereClauseCatalogue, public ::testing::WithParamInterface<RowCase> {};

TEST_P(WhereClauseRows, ReturnsTheCards)
{
    const RowCase& c = GetParam();
    TQPList list;
    for (const auto& p : c.pieces) list.AddPiece(p);
    Boxes boxes;
    for (const auto& [f, t] : c.boxes) boxes.emplace_back(QString::fromUtf8(f), QString::fromUtf8(t));
    QStringList expected;
    for (const char* n : c.expected) expected << QString::fromUtf8(n);
    std::sort(expected.begin(), expected.end());
    const QString sql = Statement(list, boxes);
    EXPECT_EQ(Names(sql).join(u'|').toStdString(), expected.join(u'|').toStdString()) << c.name << "\n" << sql.toStdString();
}

INSTANTIATE_TEST_SUITE_P(WhereClause, WhereClauseRows, ::testing::ValuesIn(RowCases));

TEST_F(WhereClauseCatalogue, EmptyListLeavesTwoBlanksAndListsEveryCard)
{
    TQPList list;
    const QString sql = Statement(list, {{"L_NEV", "  "}});
    EXPECT_EQ(sql, Catalog::CardListSelect + "  ");
    EXPECT_EQ(Names(sql).size(), 21);
}

// --- stored filters ---

class QPListStoredFilter : public WhereClauseCatalogue {
protected:
    void SetUp() override
    {
        WhereClauseCatalogue::SetUp();
        Conn.ExecuteDirect("INSERT INTO TFILTERBASE (FB_NAME,FB_CATEGORY) VALUES ('Próba','00ALAP')");
        Id = Scalar("SELECT MAX(FB_ID) FROM TFILTERBASE").toInt();
        Conn.ExecuteDirect(QStringLiteral(
            "INSERT INTO TFILTER (F_FBID,F_FTID,F_FOID,F_VALUE,F_ORDER,F_GROUP,F_ANDOR,F_FIELDNAME,F_OPERATION,"
            "F_VALUETYPE) VALUES "
            "(%1,901,-1,'Ab',2,1,'AND','REGI_MEZO','LIKE','S'),"
            "(%1,902,-1,'3',0,1,'','X','>','I'),"
            "(%1,999,-1,'elvesző',1,1,'OR','TLAP.L_NEV','=','S'),"
            "(%1,901,-1,'O''Brien',3,2,'OR','TLAP.L_NEV','=','S'),"
            "(%2,901,-1,'másik',0,0,'','TLAP.L_NEV','=','S')")
                               .arg(Id)
                               .arg(Id + 1000));
    }
    int Id = 0;
};

TEST_F(QPListStoredFilter, AppendsRowsInOrderWithTheTypesField)
{
    TQPList list;
    list.AddPiece(Prop("T001"));
    LoadStoredFilter(Conn, Id, pkStoredFilter, list);
    ASSERT_EQ(list.Count(), 4);  // the row of the unknown type and the other filter's row are left out
    EXPECT_EQ(list[0]->Kind, pkProperty);
    struct Want {
        const char *field, *op, *value, *type, *andOr;
        int group;
    };
    const Want want[] = {{"TLAP.L_SZINT", ">", "3", "I", "", 1},
                         {"TLAP.L_NEV", "LIKE", "Ab", "S", "AND", 1},
                         {"TLAP.L_NEV", "=", "O'Brien", "S", "OR", 2}};
    for (int i = 0; i < 3; ++i) {
        const TQueryPiece& p = *list[i + 1];
        EXPECT_EQ(p.FieldName, want[i].field) << i;
        EXPECT_EQ(p.Operation, want[i].op) << i;
        EXPECT_EQ(p.Value, want[i].value) << i;
        EXPECT_EQ(p.ValueType, want[i].type) << i;
        EXPECT_EQ(p.AndOr, want[i].andOr) << i;
        EXPECT_EQ(p.Group, want[i].group) << i;
        EXPECT_EQ(p.Kind, pkStoredFilter) << i;
    }
    list.Delete(0);
    EXPECT_EQ(list.BuildWhereClause(),
              "WHERE ((TLAP.L_SZINT > 3)AND(TLAP.L_NEV LIKE 'Ab%'))OR((TLAP.L_NEV = 'O''Brien'))\r\n");
    EXPECT_EQ(Names(Statement(list, {})), QStringList({"Ab Ovo", "O'Brien"}));
}

TEST_F(QPListStoredFilter, RunsOnTheGivenQueryAndHonoursTheKind)
{
    TQuery q(&Conn);  // no text yet: the stored filter statement is set
    TQPList list;
    LoadStoredFilter(q, Id, pkOwnedCount, list);
    EXPECT_EQ(q.SQL(), GetFilterSql);
    EXPECT_FALSE(q.Active());
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[2]->Kind, pkOwnedCount);

    LoadStoredFilter(q, Id + 5000, pkStoredFilter, list);  // no such filter: nothing added
    EXPECT_EQ(list.Count(), 3);
}

TEST_F(QPListStoredFilter, DatabaseErrorPropagatesAndAddsNothing)
{
    TQuery q(&Conn);
    q.SetSQL("SELECT * FROM NINCS_ILYEN WHERE F_FBID = :PID");
    TQPList list;
    EXPECT_THROW(LoadStoredFilter(q, Id, pkStoredFilter, list), EDatabaseError);
    EXPECT_TRUE(list.IsEmpty());
}

class QuickSearchCatalogue : public WhereClauseCatalogue {};

TEST_F(QuickSearchCatalogue, IntegerColumnsFromTheCardList)
{
    for (const char* f : {"L_ID", "L_SZINT", "L_HP", "L_DB"}) EXPECT_TRUE(IsIntegerColumn(*CardList, f)) << f;
    for (const char* f : {"L_NEV", "L_LAPSZAM", "L_UTAK", "VELKOR_NEV", "NINCS"})
        EXPECT_FALSE(IsIntegerColumn(*CardList, f)) << f;
    TQuery joined(&Conn);
    joined.SetSQL(Catalog::CardListSelectWithProperties);
    joined.Open();
    EXPECT_TRUE(IsIntegerColumn(joined, "L_SZINT"));
    EXPECT_FALSE(IsIntegerColumn(TQuery(&Conn), "L_SZINT"));  // never opened: no column types
}

// --- random texts ---

// Prepares the whole text as one statement; false when SQLite rejects it or leaves text over.
bool PreparesWhole(TConnection& conn, const QString& sql, QString* error)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(conn.Handle(), utf8.constData(), int(utf8.size()), &st, &tail);
    if (rc != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(conn.Handle()));
        return false;
    }
    bool whole = true;
    for (const char* c = tail; c && *c; ++c)
        if (!(*c == ' ' || *c == '\r' || *c == '\n' || *c == '\t')) whole = false;
    int steps = 0;
    while (sqlite3_step(st) == SQLITE_ROW) ++steps;
    const int done = sqlite3_reset(st);
    sqlite3_finalize(st);
    if (!whole) *error = QStringLiteral("text left after the statement");
    else if (done != SQLITE_OK) *error = QString::fromUtf8(sqlite3_errmsg(conn.Handle()));
    return whole && done == SQLITE_OK;
}

class TextGen {
public:
    explicit TextGen(unsigned seed) : Rng(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }
    template <class T, size_t N>
    const T& Pick(const T (&a)[N]) { return a[size_t(Int(0, int(N) - 1))]; }

    QString Hostile(int maxParts)
    {
        static const char* const parts[] = {"a",  "B",  "á",  "É",  "ő",  "Ű", "z",   "0",   "7",  "12", "<",
                                            ">",  "=",  "<>", ">=", ";",  "\"", "'",  "''",  "%",  "_",  ")(",
                                            "(",  ")",  " ",  " ",  "OR", "AND", "--", "/*", "1=1", "\r\n", "L999"};
        QString s;
        const int n = Int(0, maxParts);
        for (int i = 0; i < n; ++i) s += QString::fromUtf8(Pick(parts));
        return s;
    }

    std::mt19937 Rng;
};

TEST_F(WhereClauseCatalogue, RandomTextsNeverBreakTheStatement)
{
    TextGen g(20240611u);
    static const char* const boxFields[] = {"L_NEV", "L_SZINT", "L_HP", "L_LAPSZAM", "L_DB"};
    static const char* const storedFields[] = {"TLAP.L_NEV", "TLAP.L_SZINT", "TLAP.L_LAPTIPUS", "TLAP.L_ID"};
    static const char* const ops[] = {"=", "<>", "LIKE", ">", "<="};
    static const char* const types[] = {"I", "S", "SO", "I"};
    static const char* const connectives[] = {"", "", "AND", "OR"};
    int rejected = 0, accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        TQPList list;
        const int pieces = g.Int(0, 5);
        for (int i = 0; i < pieces; ++i) {
            switch (g.Int(0, 5)) {
            case 0: list.AddPiece(Prop(g.Hostile(6).toUtf8().constData())); break;
            case 1: list.AddPiece(P(pkOwnedCount, "L_DB", ">", "0", "I", "", 0)); break;
            case 2: list.AddPiece(P(pkSummoning, "\"VMH\"", "LIKE", "TLAP.L_LEIDEZESTECH", "S", "", 0)); break;
            default: {
                TQueryPiece p = P(pkStoredFilter, g.Pick(storedFields), g.Pick(ops), "", g.Pick(types),
                                  g.Pick(connectives), g.Int(0, 2));
                p.Value = g.Hostile(8);
                list.AddPiece(p);
            }
            }
        }
        Boxes boxes;
        const int boxCount = g.Int(0, 3);
        for (int i = 0; i < boxCount; ++i) boxes.emplace_back(QString::fromUtf8(g.Pick(boxFields)), g.Hostile(10));

        const QString sql = Statement(list, boxes);
        const QString where = list.BuildWhereClause();
        const bool leadingConnective = where.startsWith("WHERE AND(") || where.startsWith("WHERE OR(");
        QString error;
        const bool ok = PreparesWhole(Conn, sql, &error);
        ASSERT_EQ(ok, !leadingConnective) << error.toStdString() << "\n" << sql.toStdString();
        ok ? ++accepted : ++rejected;
    }
    EXPECT_GT(accepted, 1000);  // the mix must mostly reach the engine, not stop at the connective
    EXPECT_GT(rejected, 0);
}

TEST_F(WhereClauseCatalogue, NameBoxMatchesCaseFoldedPrefix)
{
    // Names of the catalogue, and an oracle the SQL cannot influence.
    std::vector<std::pair<int, QString>> cards;
    {
        TQuery q(&Conn);
        q.SetSQL(Catalog::CardListSelect);
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) cards.emplace_back(q.FieldByName("L_ID").AsInteger(), q.FieldByName("L_NEV").AsString());
    }
    ASSERT_FALSE(cards.empty());
    static const char* const letters[] = {"a", "A", "b", "B", "á", "Á", "é", "É", "ö", "Ö", "ő", "Ű", "ű", "o",
                                          "O", "z", "Z", "r", "3", "1", " ", " "};
    TextGen g(77u);
    int nonEmpty = 0;
    for (int round = 0; round < 600; ++round) {
        QString text;
        if (g.Int(0, 1) == 0) {
            // A prefix of a real name with its letter case scrambled.
            const QString& name = cards[size_t(g.Int(0, int(cards.size()) - 1))].second;
            if (name.contains(u'\'') || name.contains(u'_') || name.contains(u'%')) continue;
            text = name.left(g.Int(1, int(name.size())));
            for (QChar& c : text) c = g.Int(0, 1) ? c.toUpper() : c.toLower();
        } else {
            const int n = g.Int(1, 4);
            for (int i = 0; i < n; ++i) text += QString::fromUtf8(g.Pick(letters));
        }
        const QString wanted = text.trimmed().toCaseFolded();
        std::vector<int> expected;
        if (!wanted.isEmpty())
            for (const auto& [id, name] : cards)
                if (name.toCaseFolded().startsWith(wanted)) expected.push_back(id);
        if (wanted.isEmpty()) continue;

        TQPList list;
        TQuery q(&Conn);
        q.SetSQL(Statement(list, {{"L_NEV", text}}));
        q.Open();
        std::vector<int> got;
        for (q.First(); !q.Eof(); q.Next()) got.push_back(q.FieldByName("L_ID").AsInteger());
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(got, expected) << text.toStdString();
        if (!expected.empty()) ++nonEmpty;
    }
    EXPECT_GT(nonEmpty, 200);
}

}  // namespace
