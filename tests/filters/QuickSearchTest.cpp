// Quick-search box texts: the splitter, the operator split and the conditions of the boxes.
#include "filters/uQPList.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* input;
    std::vector<const char*> tokens;
};

const SplitCase SplitCases[] = {
    {"", {}},
    {"Ab", {"Ab"}},
    {">=3; 1", {">=3", "1"}},
    {"a;b;c", {"a", "b", "c"}},
    {"   a", {"a"}},
    {"a ;b", {"a ", "b"}},           // a blank before ";" stays
    {"a b; c d", {"a b", "c d"}},    // inner blanks stay
    {";", {}},
    {";;a;;", {"a"}},
    {"a; ;b", {"a", "b"}},           // a token of blanks only is empty
    {"\"a;b\";c", {"\"a;b\"", "c"}},  // quotes protect ";" and stay in the token
    {"x\"a;b", {"x\"a;b"}},          // an unclosed quote runs to the end
    {"\"\"", {"\"\""}},
    {"a'b;c", {"a'b", "c"}},         // apostrophes do not quote
    {"a\r\nb", {"a", "b"}},          // line breaks end tokens
    {"a\nb;c", {"a", "b", "c"}},
    {"\"a\nb;c\"", {"\"a", "b", "c\""}},  // a line break closes an open quote
    {"\t a", {"a"}},
    {"<>x; <=5", {"<>x", "<=5"}},
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.input; }

class QuickSearchSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(QuickSearchSplit, Tokens)
{
    const SplitCase& c = GetParam();
    QStringList expected;
    for (const char* t : c.tokens) expected << QString::fromUtf8(t);
    EXPECT_EQ(SplitQuickSearchText(QString::fromUtf8(c.input)).join(u'|').toStdString(), expected.join(u'|').toStdString())
        << c.input;
}

INSTANTIATE_TEST_SUITE_P(QuickSearch, QuickSearchSplit, ::testing::ValuesIn(SplitCases));

struct OperatorCase {
    const char* token;
    const char* op;
    const char* value;
};

const OperatorCase OperatorCases[] = {
    {"<=5", "<=", "5"},   {"<>x", "<>", "x"},   {">=3", ">=", "3"},  {"<2", "<", "2"},
    {">2", ">", "2"},     {"=5", "LIKE", "=5"}, {"Ab", "LIKE", "Ab"}, {"> 3", ">", " 3"},
    {"<>", "<>", ""},     {"<", "<", ""},       {"><", ">", "<"},    {"<<1", "<", "<1"},
    {" <1", "LIKE", " <1"}, {"a<b", "LIKE", "a<b"},
};

void PrintTo(const OperatorCase& c, std::ostream* os) { *os << c.token; }

class QuickSearchOperator : public ::testing::TestWithParam<OperatorCase> {};

TEST_P(QuickSearchOperator, Splits)
{
    const OperatorCase& c = GetParam();
    const auto [op, value] = SplitOperator(QString::fromUtf8(c.token));
    EXPECT_EQ(op.toStdString(), c.op) << c.token;
    EXPECT_EQ(value.toStdString(), c.value) << c.token;
}

INSTANTIATE_TEST_SUITE_P(QuickSearch, QuickSearchOperator, ::testing::ValuesIn(OperatorCases));

TEST(QuickSearchOperator, MaskAndTrim)
{
    EXPECT_EQ(MaskQuotes("O'Br'ien"), "O_Br_ien");
    EXPECT_EQ(MaskQuotes("\"a\""), "\"a\"");
    EXPECT_EQ(TrimBoxText(" \t\x01 a b \r\n\x7f"), "a b");
    EXPECT_EQ(TrimBoxText(" \t "), "");
}

// Boxes (field name, text) in creation order, and the clause they become on their own.
struct BoxCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> boxes;
    const char* expected;
};

bool DemoIntegerColumn(const QString& field) { return field == "L_SZINT" || field == "L_HP" || field == "L_DB"; }

const BoxCase BoxCases[] = {
    {"no box", {}, ""},
    {"prefix on a text column", {{"L_NEV", "Ab"}}, "WHERE ((L_NEV LIKE 'Ab%'))\r\n"},
    {"operator and LIKE on an integer column ORed in one group", {{"L_SZINT", ">=3; 1"}},
     "WHERE ((L_SZINT >= 3)OR(L_SZINT LIKE '1%'))\r\n"},
    {"blanks only are skipped", {{"L_NEV", "   "}, {"L_SZINT", "2"}}, "WHERE ((L_SZINT LIKE '2%'))\r\n"},
    {"boxes are ANDed", {{"L_NEV", "a"}, {"L_HP", "<5"}}, "WHERE ((L_NEV LIKE 'a%'))AND((L_HP < 5))\r\n"},
    {"trimmed before splitting", {{"L_NEV", "  x  "}}, "WHERE ((L_NEV LIKE 'x%'))\r\n"},
    {"a blank before the separator stays", {{"L_NEV", "a ;b"}}, "WHERE ((L_NEV LIKE 'a %')OR(L_NEV LIKE 'b%'))\r\n"},
    {"a separator-only box advances the group: leading AND", {{"L_NEV", ";"}, {"L_HP", "3"}},
     "WHERE AND((L_HP LIKE '3%'))\r\n"},
    {"a separator-only box between two", {{"L_NEV", "a"}, {"L_LAPSZAM", ";"}, {"L_HP", ">1"}},
     "WHERE ((L_NEV LIKE 'a%'))AND((L_HP > 1))\r\n"},
    {"=5 is LIKE", {{"L_SZINT", "=5"}}, "WHERE ((L_SZINT LIKE '=5%'))\r\n"},
    {"operator on a text column is quoted", {{"L_NEV", "<>x"}}, "WHERE ((L_NEV <> 'x'))\r\n"},
    {"blank after the operator stays; bare integer", {{"L_SZINT", "> 3"}}, "WHERE ((L_SZINT >  3))\r\n"},
    {"apostrophe is masked, not doubled", {{"L_NEV", "O'Br"}}, "WHERE ((L_NEV LIKE 'O_Br%'))\r\n"},
    {"apostrophe after an operator is masked", {{"L_SZINT", ">3'"}}, "WHERE ((L_SZINT > '3_'))\r\n"},
    {"integer box text with OR is quoted", {{"L_SZINT", ">3 OR 1=1"}}, "WHERE ((L_SZINT > '3 OR 1=1'))\r\n"},
    {"integer box closing the group is quoted", {{"L_SZINT", ">=0) OR (1=1"}},
     "WHERE ((L_SZINT >= '0) OR (1=1'))\r\n"},
    {"quoted separator stays in the value", {{"L_SZINT", ">\"5; x\""}}, "WHERE ((L_SZINT > '\"5; x\"'))\r\n"},
    {"empty value after an operator is an empty literal", {{"L_SZINT", "<>"}}, "WHERE ((L_SZINT <> ''))\r\n"},
    {"box text with )( is rewritten by the join", {{"L_NEV", "a)(b"}}, "WHERE ((L_NEV LIKE 'a)AND(b%'))\r\n"},
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class QuickSearchRebuild : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QuickSearchRebuild, Clause)
{
    const BoxCase& c = GetParam();
    std::vector<std::pair<QString, QString>> boxes;
    for (const auto& [f, t] : c.boxes) boxes.emplace_back(QString::fromUtf8(f), QString::fromUtf8(t));
    TQPList list;
    RebuildQuickSearchPieces(list, boxes, DemoIntegerColumn);
    EXPECT_EQ(list.BuildWhereClause().toStdString(), std::string(c.expected)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(QuickSearch, QuickSearchRebuild, ::testing::ValuesIn(BoxCases));

TEST(QuickSearchRebuild, ReplacesOnlyQuickSearchConditions)
{
    TQPList list;
    TQueryPiece owned;
    owned.FieldName = "L_DB";
    owned.Operation = ">";
    owned.Value = "0";
    owned.ValueType = "I";
    owned.Kind = pkOwnedCount;
    list.AddPiece(owned);
    RebuildQuickSearchPieces(list, {{"L_NEV", "old"}}, DemoIntegerColumn);
    ASSERT_EQ(list.Count(), 2);

    RebuildQuickSearchPieces(list, {{"L_NEV", ";"}, {"L_SZINT", ">=3; 1"}, {"L_NEV", "x"}}, DemoIntegerColumn);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0]->Kind, pkOwnedCount);
    // The separator-only box took group 1: the next box is group 2 and carries AND.
    EXPECT_EQ(list[1]->Group, 2);
    EXPECT_EQ(list[3]->Group, 3);
    EXPECT_EQ(list[3]->Kind, pkQuickSearch);
    EXPECT_EQ(list.BuildWhereClause(),
              "WHERE ((L_DB > 0))AND((L_SZINT >= 3)OR(L_SZINT LIKE '1%'))AND((L_NEV LIKE 'x%'))\r\n");

    RebuildQuickSearchPieces(list, {}, DemoIntegerColumn);
    EXPECT_EQ(list.Count(), 1);
}

}  // namespace
