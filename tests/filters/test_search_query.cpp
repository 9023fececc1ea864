// The "Keresés" box's text as an FTS5 query: every typed word quoted, so nothing typed is read as
// the query language's own syntax.
#include <gtest/gtest.h>

#include "QtPrint.h"
#include "filters/uSearch.h"

struct SearchQueryCase {
    const char* typed;
    const char* match;  // the bound FTS5 query; "" = no condition
    bool excluding;
};

TEST(SearchQuery, TypedTextBecomesQuotedPrefixPhraseAndExclusionTerms)
{
    const SearchQueryCase cases[] = {
        {"sár", "\"sár\"*", false},
        {"  Két   lap ", "\"Két\"* AND \"lap\"*", false},
        {"\"két lapot\"", "\"két lapot\"", false},
        {"sár -tűz -\"egy lap\"", "(\"sár\"*) NOT (\"tűz\"* OR \"egy lap\")", false},
        {"-tűz", "\"tűz\"*", true},
        {"a\"b", "\"a\"\"b\"*", false},
        {"kő-óriás", "\"kő-óriás\"*", false},
        {"sár**", "\"sár\"*", false},
        {"OR AND", "\"OR\"* AND \"AND\"*", false},
        {"* - ( NEAR(", "\"NEAR(\"*", false},
        {"\"nyitott idézet", "\"nyitott idézet\"", false},
        {"\"", "", false},
        {"-", "", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        const TSearchQuery q = TSearchQuery::Parse(QString::fromUtf8(c.typed));
        EXPECT_EQ(q.MatchText(), QString::fromUtf8(c.match)) << c.typed;
        EXPECT_EQ(q.Excluding(), c.excluding) << c.typed;
        EXPECT_EQ(q.SqlCondition("K").isEmpty(), q.IsEmpty()) << c.typed;
    }
    EXPECT_EQ(TSearchQuery::Parse(QStringLiteral("ab ").repeated(3000)).Terms.size(), TSearchQuery::MaxTerms);
}

TEST(SearchQuery, HighlightsFoldAccentsAndCaseAndKeepPhrasesWhole)
{
    const QString text = QStringLiteral("Árnyas Jégpáncél, ÁRNYÉK jégpáncélos");
    using Spans = QList<QPair<int, int>>;
    EXPECT_EQ(TSearchQuery::Parse("arny").Highlights(text), (Spans{{0, 6}, {18, 6}}));
    EXPECT_EQ(TSearchQuery::Parse("\"JEGPANCEL\"").Highlights(text), (Spans{{7, 9}}));
    EXPECT_EQ(TSearchQuery::Parse("jeg -arny").Highlights(text), (Spans{{7, 9}, {25, 11}}));
    EXPECT_TRUE(TSearchQuery::Parse("-arny").Highlights(text).isEmpty());
}
