// The catalogue's name order: Hungarian, letter case ignored, digraphs as letters of their own,
// and exactly the order the program has always had (the Hungarian QCollator, ties broken by the
// case-folded text), through the engine's ORDER BY and through the in-memory comparison.
#include "TestCatalogue.h"

#include <QCollator>
#include <QLocale>
#include <QRandomGenerator>

#include <algorithm>

namespace {

// The order as the program has always computed it.
int ReferenceCompare(const QCollator& collator, const QString& a, const QString& b)
{
    const int c = collator.compare(a, b);
    if (c != 0) return c < 0 ? -1 : 1;
    const int f = a.toCaseFolded().compare(b.toCaseFolded());
    return f < 0 ? -1 : (f > 0 ? 1 : 0);
}

QCollator HungarianCollator()
{
    QCollator c(QLocale(QLocale::Hungarian, QLocale::Hungary));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

class CollationTest : public ::testing::Test {
protected:
    void SetUp() override { Conn.Open(Cat.DbPath()); }

    // The names through the catalogue's ORDER BY on the card name column.
    QStringList Ordered(const QStringList& names, bool descending = false)
    {
        Conn.ExecuteDirect("DELETE FROM TLAP");
        TCommand insert(&Conn);
        insert.SetSQL("INSERT INTO TLAP (L_ID, L_NEV) VALUES (:ID, :NEV)");
        for (int i = 0; i < names.size(); ++i) {
            insert.SetParam("ID", i + 1);
            insert.SetParam("NEV", names[i]);
            insert.Execute();
        }
        TQuery q(&Conn);
        q.SetSQL(QStringLiteral("SELECT L_NEV FROM TLAP ORDER BY L_NEV %1, L_ID").arg(descending ? "DESC" : "ASC"));
        q.Open();
        QStringList out;
        for (int r = 0; r < q.RecordCount(); ++r) out << q.ValueText(r, 0);
        return out;
    }

    TSchemaCatalogue Cat;
    TConnection Conn;
};

QString RandomName(QRandomGenerator& rng)
{
    // Letters that make the digraphs and trigraph, accented and plain, both cases, and the
    // punctuation, digits and blanks that card names hold.
    static const QStringList pieces = {"a", "á", "b", "c", "cs", "d", "dz", "dzs", "e", "é", "g", "gy", "i", "í",
                                       "l", "ly", "n", "ny", "o", "ó", "ö", "ő", "s", "sz", "t", "ty", "u", "ú",
                                       "ü", "ű", "z", "zs", "A", "Á", "C", "CS", "Cs", "D", "DZS", "Dz", "G", "Gy",
                                       "O", "Ö", "Ő", "S", "Sz", "Z", "Zs", " ", "-", "'", ",", "2", "10", "x"};
    QString s;
    const int n = 1 + int(rng.bounded(6));
    for (int i = 0; i < n; ++i) s += pieces[int(rng.bounded(pieces.size()))];
    return s;
}

}  // namespace

TEST_F(CollationTest, HungarianLettersAndDigraphsSortAsAlways)
{
    struct Case {
        QStringList expected;
    } cases[] = {
        {{"Cukor", "Csiga"}},
        {{"Ozsonna", "Ödön"}},
        {{"Abel", "ábel", "ábra"}},  // the accent counts only where the letters agree
        {{"dúc", "dzéta", "dzsem"}},
        {{"gumi", "gyár"}},
        {{"lusta", "lyuk"}},
        {{"nulla", "nyúl"}},
        {{"sült", "szék"}},
        {{"tutaj", "tyúk"}},
        {{"zúzó", "zsák"}},
        {{"Ödön", "Őrző", "Piros"}},
    };
    for (const auto& c : cases) {
        QStringList shuffled = c.expected;
        std::reverse(shuffled.begin(), shuffled.end());
        EXPECT_EQ(Ordered(shuffled), c.expected);
        QStringList descending = c.expected;
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(Ordered(c.expected, true), descending);
    }
    // Equal but for letter case is equal.
    EXPECT_EQ(Conn.CompareText("ÁBEL", "ábel"), 0);
    const QByteArray a = QStringLiteral("ÁBEL").toUtf8(), b = QStringLiteral("ábel").toUtf8();
    EXPECT_EQ(Conn.CompareUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())), 0);
}

TEST_F(CollationTest, TheOrderIsExactlyTheOneOfTheHungarianCollator)
{
    const QCollator collator = HungarianCollator();
    QRandomGenerator rng(20240611);
    QStringList names;
    for (int i = 0; i < 1500; ++i) names << RandomName(rng);

    // Every pair the engine could meet, through both entry points.
    int checked = 0;
    for (int i = 0; i < names.size(); ++i)
        for (int j = i; j < names.size(); j += 7) {
            const QString& x = names[i];
            const QString& y = names[j];
            const int expected = ReferenceCompare(collator, x, y);
            const QByteArray ux = x.toUtf8(), uy = y.toUtf8();
            ASSERT_EQ(Conn.CompareUtf8(ux.constData(), int(ux.size()), uy.constData(), int(uy.size())), expected)
                << x.toStdString() << " | " << y.toStdString();
            ASSERT_EQ(Conn.CompareText(x, y), expected) << x.toStdString() << " | " << y.toStdString();
            ++checked;
        }
    EXPECT_GT(checked, 100000);

    // And the whole list through ORDER BY.
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const QString& x, const QString& y) { return ReferenceCompare(collator, x, y) < 0; });
    const QStringList got = Ordered(names);
    ASSERT_EQ(got.size(), expected.size());
    for (int i = 0; i < got.size(); ++i)
        ASSERT_EQ(ReferenceCompare(collator, got[i], expected[i]), 0) << i << ": " << got[i].toStdString();
}
