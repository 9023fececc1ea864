// The WHERE clause grammar, one line per case: the conditions in list order and the exact text.
#include "filters/uQPList.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

namespace {

TQueryPiece P(quint8 kind, const char* field, const char* op, const char* value, const char* type,
              const char* andOr, int group)
{
    return MakePiece(kind, QString::fromUtf8(field), QString::fromUtf8(op), QString::fromUtf8(value),
                     QString::fromUtf8(type), QString::fromUtf8(andOr), group);
}
// A checked property or category, as the filter combo adds it.
TQueryPiece Prop(const char* id) { return P(pkProperty, "", "", id, "S", "", 0); }
TQueryPiece Owned() { return P(pkOwnedCount, "L_DB", ">", "0", "I", "", 0); }
TQueryPiece Summon(const char* tech) { return P(pkSummoning, tech, "LIKE", "TLAP.L_LEIDEZESTECH", "S", "", 0); }

struct ClauseCase {
    const char* name;
    std::vector<TQueryPiece> pieces;
    const char* expected;
};

QString Build(const std::vector<TQueryPiece>& pieces)
{
    TQPList list;
    for (const auto& p : pieces) list.AddPiece(p);
    return list.BuildWhereClause();
}

const ClauseCase ClauseCases[] = {
    {"empty list", {}, ""},
    {"two groups, owned count and two properties",
     {P(3, "TLAP.L_LAPTIPUS", "=", "L004", "S", "", 1), P(3, "TLAP.L_SZINT", ">", "3", "I", "OR", 1),
      P(3, "TLAP.L_NEV", "LIKE", "A", "S", "AND", 2), Owned(), Prop("T012"), Prop("S003")},
     "WHERE ((TLAP.L_LAPTIPUS = 'L004')OR(TLAP.L_SZINT > 3))AND((TLAP.L_NEV LIKE 'A%'))AND((L_DB > 0)) AND\r\n"
     "(L_ID IN (SELECT LT_LID FROM TLAPTUL WHERE (LT_TULID='T012')OR(LT_TULID='S003') GROUP BY LT_LID "
     "HAVING COUNT(LT_LID)=2))\r\n"},
    {"only properties: one line, no AND",
     {Prop("T001")},
     "WHERE (L_ID IN (SELECT LT_LID FROM TLAPTUL WHERE (LT_TULID='T001') GROUP BY LT_LID HAVING COUNT(LT_LID)=1))\r\n"},
    {"three properties count 3",
     {Prop("T001"), Prop("K002"), Prop("T003")},
     "WHERE (L_ID IN (SELECT LT_LID FROM TLAPTUL WHERE (LT_TULID='T001')OR(LT_TULID='K002')OR(LT_TULID='T003') "
     "GROUP BY LT_LID HAVING COUNT(LT_LID)=3))\r\n"},
    {"LIKE on type I keeps quotes and appends %", {P(3, "TLAP.L_SZINT", "LIKE", "1", "I", "", 0)},
     "WHERE ((TLAP.L_SZINT LIKE '1%'))\r\n"},
    {"LIKE puts % only at the end", {P(1, "L_NEV", "LIKE", "a%b_c", "S", "", 1)},
     "WHERE ((L_NEV LIKE 'a%b_c%'))\r\n"},
    {"type compared case-sensitively: i is text", {P(3, "TLAP.L_SZINT", "=", "3", "i", "", 0)},
     "WHERE ((TLAP.L_SZINT = '3'))\r\n"},
    {"type compared as a whole: IS is text", {P(3, "TLAP.L_SZINT", "=", "3", "IS", "", 0)},
     "WHERE ((TLAP.L_SZINT = '3'))\r\n"},
    {"like in lower case is not LIKE", {P(3, "TLAP.L_SZINT", "like", "3", "I", "", 0)},
     "WHERE ((TLAP.L_SZINT like 3))\r\n"},
    {"summoning: no quotes, no %", {Summon("\"VVMMHH\"")},
     "WHERE ((\"VVMMHH\" LIKE TLAP.L_LEIDEZESTECH))\r\n"},
    {"leader value expands whatever the field and operator", {P(3, "TLAP.L_NEV", "<>", "L999", "S", "", 0)},
     "WHERE (((TLAPTIPUS.LAPTIPUS_ID='L006')OR(TLAPTIPUS.LAPTIPUS_ID='L008')OR(TLAPTIPUS.LAPTIPUS_ID='L012')))\r\n"},
    {"leader value keeps its connective",
     {P(3, "TLAP.L_SZINT", ">", "2", "I", "", 1), P(3, "TLAP.L_LAPTIPUS", "=", "L999", "S", "OR", 1)},
     "WHERE ((TLAP.L_SZINT > 2)OR((TLAPTIPUS.LAPTIPUS_ID='L006')OR(TLAPTIPUS.LAPTIPUS_ID='L008')OR"
     "(TLAPTIPUS.LAPTIPUS_ID='L012')))\r\n"},
    {"leader value is case-sensitive", {P(3, "TLAP.L_LAPTIPUS", "=", "l999", "S", "", 0)},
     "WHERE ((TLAP.L_LAPTIPUS = 'l999'))\r\n"},
    {"empty connective inside a group is ANDed",
     {P(3, "TLAP.L_SZINT", ">", "1", "I", "", 1), P(3, "TLAP.L_HP", "<", "5", "I", "", 1)},
     "WHERE ((TLAP.L_SZINT > 1)AND(TLAP.L_HP < 5))\r\n"},
    {"two stored filters with the same kind and group form one group",
     {P(3, "TLAP.L_NEV", "LIKE", "A", "S", "", 0), P(3, "TLAP.L_ID", "=", "5", "I", "OR", 0),
      P(3, "TLAP.L_SZINT", "=", "2", "I", "", 0)},
     "WHERE ((TLAP.L_NEV LIKE 'A%')OR(TLAP.L_ID = 5)AND(TLAP.L_SZINT = 2))\r\n"},
    {"a property between two of one group splits it",
     {P(3, "TLAP.L_SZINT", ">", "1", "I", "", 1), Prop("T001"), P(3, "TLAP.L_HP", "<", "5", "I", "OR", 1)},
     "WHERE ((TLAP.L_SZINT > 1))OR((TLAP.L_HP < 5)) AND\r\n"
     "(L_ID IN (SELECT LT_LID FROM TLAPTUL WHERE (LT_TULID='T001') GROUP BY LT_LID HAVING COUNT(LT_LID)=1))\r\n"},
    {"group change breaks; OR group stays OR",
     {P(3, "TLAP.L_SZINT", ">", "1", "I", "", 1), P(3, "TLAP.L_HP", "<", "5", "I", "OR", 2),
      P(3, "TLAP.L_DB", "=", "0", "I", "AND", 2)},
     "WHERE ((TLAP.L_SZINT > 1))OR((TLAP.L_HP < 5)AND(TLAP.L_DB = 0))\r\n"},
    {"kind change breaks even with the same group",
     {P(3, "TLAP.L_SZINT", ">", "1", "I", "", 0), Owned()},
     "WHERE ((TLAP.L_SZINT > 1))AND((L_DB > 0))\r\n"},
    {"first group beginning with AND is written as it stands", {P(1, "L_NEV", "LIKE", "x", "S", "AND", 2)},
     "WHERE AND((L_NEV LIKE 'x%'))\r\n"},
    {"first group beginning with OR is written as it stands", {P(3, "TLAP.L_NEV", "=", "x", "S", "OR", 0)},
     "WHERE OR((TLAP.L_NEV = 'x'))\r\n"},
    {"connective other than AND/OR is verbatim", {P(3, "TLAP.L_NEV", "=", "x", "S", "NOT", 0)},
     "WHERE (NOT(TLAP.L_NEV = 'x'))\r\n"},
    {"value with )( is rewritten by the join", {P(1, "L_NEV", "LIKE", "a)(b", "S", "", 1)},
     "WHERE ((L_NEV LIKE 'a)AND(b%'))\r\n"},
    {"owned and summoning together",
     {Owned(), Summon("\"ABC\"")},
     "WHERE ((L_DB > 0))AND((\"ABC\" LIKE TLAP.L_LEIDEZESTECH))\r\n"},

    // Values are literals and nothing else.
    {"apostrophe in a stored value is doubled", {P(3, "TLAP.L_NEV", "=", "O'Brien", "S", "", 0)},
     "WHERE ((TLAP.L_NEV = 'O''Brien'))\r\n"},
    {"apostrophe in a LIKE value is doubled", {P(3, "TLAP.L_NEV", "LIKE", "d'A", "S", "", 0)},
     "WHERE ((TLAP.L_NEV LIKE 'd''A%'))\r\n"},
    {"stored value cannot end its literal", {P(3, "TLAP.L_NEV", "=", "x') OR (1=1", "S", "", 0)},
     "WHERE ((TLAP.L_NEV = 'x'') OR (1=1'))\r\n"},
    {"property key with an apostrophe is doubled", {Prop("T'1")},
     "WHERE (L_ID IN (SELECT LT_LID FROM TLAPTUL WHERE (LT_TULID='T''1') GROUP BY LT_LID HAVING COUNT(LT_LID)=1))\r\n"},
    {"type I integer with sign and blanks stays bare", {P(3, "TLAP.L_SZINT", ">", " -3 ", "I", "", 0)},
     "WHERE ((TLAP.L_SZINT >  -3 ))\r\n"},
    {"type I with OR in it is quoted", {P(1, "L_SZINT", ">", "3 OR 1=1", "I", "", 1)},
     "WHERE ((L_SZINT > '3 OR 1=1'))\r\n"},
    {"type I closing the group is quoted", {P(1, "L_SZINT", ">=", "0) OR (1=1", "I", "", 1)},
     "WHERE ((L_SZINT >= '0) OR (1=1'))\r\n"},
    {"type I with a separator is quoted", {P(3, "TLAP.L_ID", "=", "5; x", "I", "", 0)},
     "WHERE ((TLAP.L_ID = '5; x'))\r\n"},
    {"type I empty value is an empty literal", {P(3, "TLAP.L_ID", "=", "", "I", "", 0)},
     "WHERE ((TLAP.L_ID = ''))\r\n"},
    {"type I sign alone is quoted", {P(3, "TLAP.L_ID", "=", "-", "I", "", 0)},
     "WHERE ((TLAP.L_ID = '-'))\r\n"},
    {"type I decimal is quoted", {P(3, "TLAP.L_ID", "=", "1.5", "I", "", 0)},
     "WHERE ((TLAP.L_ID = '1.5'))\r\n"},
    {"type I non-ASCII digits are quoted", {P(3, "TLAP.L_ID", "=", "\xd9\xa3", "I", "", 0)},
     "WHERE ((TLAP.L_ID = '\xd9\xa3'))\r\n"},
};

void PrintTo(const ClauseCase& c, std::ostream* os) { *os << c.name; }

class WhereClauseGrammar : public ::testing::TestWithParam<ClauseCase> {};

TEST_P(WhereClauseGrammar, BuildsExactText)
{
    const ClauseCase& c = GetParam();
    EXPECT_EQ(Build(c.pieces).toStdString(), std::string(c.expected)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(WhereClause, WhereClauseGrammar, ::testing::ValuesIn(ClauseCases));

// --- list behaviour ---

TEST(QPListOwnership, RemovesByKindAndKeepsOrder)
{
    TQPList list;
    list.AddPiece(P(1, "A", "LIKE", "a", "S", "", 1));
    list.AddPiece(Owned());
    list.AddPiece(P(3, "B", "=", "b", "S", "", 0));
    list.AddPiece(Prop("T001"));
    list.AddPiece(Summon("\"X\""));
    list.AddPiece(P(1, "C", "LIKE", "c", "S", "", 2));

    list.RemovePiecesOfKind(pkQuickSearch);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0]->Kind, pkOwnedCount);
    EXPECT_EQ(list[1]->FieldName, "B");

    list.RemoveSelectablePieces();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0]->Kind, pkOwnedCount);
    EXPECT_EQ(list[1]->Kind, pkSummoning);

    list.RemovePiecesOfKind(2);  // unused kind: nothing goes
    EXPECT_EQ(list.Count(), 2);
}

TEST(QPListOwnership, AnyFieldContainsChoosesThePropertyJoin)
{
    TQPList list;
    EXPECT_FALSE(list.AnyFieldContains("LT_TULID"));
    list.AddPiece(P(3, "TLAP.L_NEV", "=", "LT_TULID", "S", "", 0));  // a value does not count
    list.AddPiece(Prop("T001"));  // the property block is a subquery: no join needed
    EXPECT_FALSE(list.AnyFieldContains("LT_TULID"));
    list.AddPiece(P(3, "TLAPTUL.LT_TULID", "=", "T001", "S", "", 0));
    EXPECT_TRUE(list.AnyFieldContains("LT_TULID"));
    EXPECT_FALSE(list.AnyFieldContains("lt_tulid"));
}

TEST(QPListOwnership, IntegerLiteral)
{
    for (const char* yes : {"0", "-3", "+12", " 7 ", "\t42\r\n", "0001"}) EXPECT_TRUE(IsIntegerLiteral(yes)) << yes;
    for (const char* no : {"", " ", "+", "- 3", "3 4", "1e3", "0x10", "3)", "1;", "3 OR 1=1"})
        EXPECT_FALSE(IsIntegerLiteral(no)) << no;
}

}  // namespace
