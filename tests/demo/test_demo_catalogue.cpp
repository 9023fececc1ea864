// The demo catalogue and its pictures, as the build generates them: the content must let every
// part of the program show something and must never drop a card from the lists.
#include "TestCatalogue.h"
#include "filters/uQPList.h"
#include "storage/CatalogNames.h"

#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

namespace {

// Cards that mkdemo deliberately leaves without a picture file.
const QStringList MissingPictures = {"033", "144", "287", "421", "512"};

// Which of level, paths, power points and summoning each card type number uses.
struct TTypeFields {
    bool Level, Paths, Hp, Summoning;
};
const TTypeFields TypeFields[15] = {
    {true, true, true, true},    {false, false, true, true}, {true, false, true, true},
    {true, false, false, true},  {false, true, false, false}, {true, false, false, true},
    {true, false, false, true},  {false, false, false, true}, {true, false, true, true},
    {false, false, false, true}, {false, false, false, true}, {false, true, true, false},
    {true, false, true, true},   {true, false, false, true}, {true, false, false, true},
};

class DemoCatalogue : public CatalogueTest {
protected:
    int Count(const QString& sql) { return Scalar(sql).toInt(); }

    // Runs a statement and returns its rows, each as a list of texts (NULL as empty).
    std::vector<QStringList> Rows(const QString& sql)
    {
        TQuery q(&Conn);
        q.SetSQL(sql);
        q.Open();
        std::vector<QStringList> rows;
        for (q.First(); !q.Eof(); q.Next()) {
            QStringList row;
            for (int i = 0; i < q.FieldCount(); ++i) row << q.Fields(i).AsString();
            rows.push_back(row);
        }
        return rows;
    }
};

}  // namespace

TEST_F(DemoCatalogue, RowCountsAreInRange)
{
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP"), 569);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAPTIPUS"), 15);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TVELKOR"), 6);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TTULAJDONSAG"), 8);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TKATEGORIA"), 4);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TFILTERTYPE"), 12);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TFILTEROP"), 30);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TFILTERBASE"), 10);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TLAPTUL"), 200);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TMEGJ"), 10);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TSPEC"), 50);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TSZURESLAP"), 4);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TPAKLI"), 2);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TPAKLILAP"), 10);
}

TEST_F(DemoCatalogue, EveryCardReachesTheCardList)
{
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_VELKOR NOT IN (SELECT VELKOR_ID FROM TVELKOR)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPTIPUS NOT IN (SELECT LAPTIPUS_ID FROM TLAPTIPUS)"), 0);
    TQuery q(&Conn);
    q.SetSQL(Catalog::CardListSelect + " ORDER BY TLAP.L_LAPSZAM");
    q.Open();
    EXPECT_EQ(q.RecordCount(), 569);
    // Every pantheon has cards and at least one main god.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TVELKOR WHERE VELKOR_ID NOT IN "
                    "(SELECT L_VELKOR FROM TLAP WHERE L_LAPTIPUS = 'L004')"), 0);
}

TEST_F(DemoCatalogue, LookupCodesAndCardTypeGroups)
{
    const QRegularExpression code("^[MLTS][0-9]{3}$");
    for (const auto& table : {"SELECT VELKOR_ID, VELKOR_NEV FROM TVELKOR", "SELECT LAPTIPUS_ID, LAPTIPUS_NEV FROM TLAPTIPUS",
                              "SELECT TULAJDONSAG_ID, TULAJDONSAG_NEV FROM TTULAJDONSAG",
                              "SELECT KATEGORIA_ID, KATEGORIA_NEV FROM TKATEGORIA"})
        for (const QStringList& r : Rows(table)) {
            EXPECT_TRUE(code.match(r[0]).hasMatch()) << r[0].toStdString();
            EXPECT_FALSE(r[1].isEmpty()) << r[0].toStdString();
            EXPECT_LE(r[1].size(), 50);
        }
    EXPECT_EQ(Scalar("SELECT MIN(LAPTIPUS_ID) || MAX(LAPTIPUS_ID) FROM TLAPTIPUS"), "L000L014");
    EXPECT_EQ(Scalar("SELECT LAPTIPUS_NEV FROM TLAPTIPUS WHERE LAPTIPUS_ID = 'L004'"), QString::fromUtf8("főisten"));
    EXPECT_EQ(Scalar("SELECT LAPTIPUS_NEV FROM TLAPTIPUS WHERE LAPTIPUS_ID = 'L011'"), QString::fromUtf8("nép"));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAPTIPUS WHERE LAPTIPUS_ID IN ('L006','L008','L012') "
                    "AND LAPTIPUS_TECHSORREND = 1"), 3);
    // Every deck group 0 to 6 is used, and nothing else.
    EXPECT_EQ(Count("SELECT COUNT(DISTINCT LAPTIPUS_TECHSORREND) FROM TLAPTIPUS"), 7);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAPTIPUS WHERE LAPTIPUS_TECHSORREND NOT BETWEEN 0 AND 6"), 0);
}

TEST_F(DemoCatalogue, CardNumbersNamesAndSets)
{
    const QRegularExpression number("^[0-9]{3}$");
    QSet<QString> numbers;
    int apostrophes = 0;
    for (const QStringList& r : Rows("SELECT L_ID, L_LAPSZAM, L_NEV, L_KEPNEV, L_GYAKORISAG FROM TLAP")) {
        EXPECT_TRUE(number.match(r[1]).hasMatch()) << r[1].toStdString();
        EXPECT_FALSE(numbers.contains(r[1])) << "duplicate card number " << r[1].toStdString();
        numbers.insert(r[1]);
        EXPECT_FALSE(r[2].isEmpty());
        EXPECT_LE(r[2].size(), 30) << r[2].toStdString();
        EXPECT_EQ(r[3], r[1] + ".jpg");
        EXPECT_TRUE(QStringList({"t", "g", QString::fromUtf8("á"), "r", "e"}).contains(r[4])) << r[4].toStdString();
        if (r[2].contains('\'')) ++apostrophes;
    }
    EXPECT_GE(apostrophes, 2);
    EXPECT_EQ(Count("SELECT COUNT(DISTINCT L_GYAKORISAG) FROM TLAP"), 5);
    // All three sets have cards.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPSZAM < '358'"), 357);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPSZAM BETWEEN '358' AND '485'"), 128);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPSZAM BETWEEN '486' AND '569'"), 84);
    // Owned counts on some cards, NULL (never 0) on the others.
    EXPECT_GT(Count("SELECT COUNT(*) FROM TLAP WHERE L_DB > 0"), 50);
    EXPECT_GT(Count("SELECT COUNT(*) FROM TLAP WHERE L_DB IS NULL"), 50);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_DB <= 0 OR L_SZINT = 0 OR L_HP = 0"), 0);
    EXPECT_GT(Count("SELECT COUNT(*) FROM TLAP WHERE L_HP >= 3"), 10);
}

TEST_F(DemoCatalogue, PrefixSearchFindsNamesInEveryLetterCase)
{
    // The connection's LIKE folds case for accented letters too.
    EXPECT_GE(Count("SELECT COUNT(*) FROM TLAP WHERE L_NEV LIKE 'ab%'"), 4);
    EXPECT_GE(Count(QString::fromUtf8("SELECT COUNT(*) FROM TLAP WHERE L_NEV LIKE 'áb%'")), 4);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TLAP WHERE L_NEV LIKE 'ab%' AND SUBSTR(L_NEV, 1, 1) = 'a'"), 1);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TLAP WHERE L_NEV LIKE 'ab%' AND SUBSTR(L_NEV, 1, 2) = 'AB'"), 1);
    EXPECT_GE(Count(QString::fromUtf8("SELECT COUNT(*) FROM TLAP WHERE SUBSTR(L_NEV, 1, 2) = 'áb'")), 1);
    EXPECT_GE(Count(QString::fromUtf8("SELECT COUNT(*) FROM TLAP WHERE SUBSTR(L_NEV, 1, 2) = 'Áb'")), 1);
}

TEST_F(DemoCatalogue, FieldsFollowTheCardType)
{
    const QRegularExpression summoning("^[vmhiV]{1,4}$");
    for (const QStringList& r : Rows("SELECT L_LAPSZAM, L_LAPTIPUS, L_SZINT, L_UTAK, L_HP, L_LEIDEZES FROM TLAP")) {
        const int n = r[1].mid(1).toInt();
        ASSERT_TRUE(n >= 0 && n < 15) << r[1].toStdString();
        const TTypeFields& f = TypeFields[n];
        const std::string card = r[0].toStdString() + " " + r[1].toStdString();
        EXPECT_TRUE(f.Level || r[2].isEmpty()) << card;
        EXPECT_TRUE(f.Paths || r[3].isEmpty()) << card;
        EXPECT_TRUE(f.Hp || r[4].isEmpty()) << card;
        EXPECT_TRUE(f.Summoning ? summoning.match(r[5]).hasMatch() : r[5].isEmpty())
            << card << " " << r[5].toStdString();
    }
}

TEST_F(DemoCatalogue, MainGodsHavePathsInfoAndPortraitNumbers)
{
    const QRegularExpression paths("^[0-6]{4}$");
    for (const QStringList& r : Rows("SELECT L_LAPSZAM, L_UTAK, L_INFO FROM TLAP WHERE L_LAPTIPUS = 'L004'")) {
        EXPECT_TRUE(paths.match(r[1]).hasMatch()) << r[0].toStdString() << " " << r[1].toStdString();
        EXPECT_FALSE(r[2].isEmpty()) << r[0].toStdString();
        EXPECT_LE(r[2].size(), 250);
    }
    QStringList portraits;
    for (int i = 1; i <= 20; ++i) portraits << QString::asprintf("%03d", i);
    for (int i = 401; i <= 408; ++i) portraits << QString::number(i);
    portraits << "550" << "559" << "560";
    for (const QString& n : portraits)
        EXPECT_EQ(Scalar("SELECT L_LAPTIPUS FROM TLAP WHERE L_LAPSZAM = '" + n + "'"), "L004") << n.toStdString();
    // A main god without a built-in portrait, too.
    EXPECT_GT(Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPTIPUS = 'L004' AND L_LAPSZAM NOT IN ('" +
                    portraits.join("','") + "')"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_INFO IS NOT NULL AND L_LAPTIPUS <> 'L004'"), 0);
}

TEST_F(DemoCatalogue, StoredSummoningFormMatchesHandWorkedCases)
{
    struct TCase {
        const char* Number;
        const char* Expected;
    };
    const TCase cases[] = {
        {"001", "vv____m_____h___________"},  // main god, paths 2110
        {"002", "______mm____h_____iii___"},  // main god, paths 0213
        {"021", "vv____m_________________"},  // vmv: letters regrouped per path
        {"022", "______m_____h_____ii____"},  // mhii
        {"023", "v_____m_________________"},  // vVm: the capital V does not count
        {"025", "vv____m_________________"},  // vvm
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Scalar(QStringLiteral("SELECT L_LEIDEZESTECH FROM TLAP WHERE L_LAPSZAM = '%1'").arg(c.Number)),
                  QString::fromLatin1(c.Expected)) << c.Number;

    // Every card: 24 characters, each block its own letter as often as the cost (or paths) asks.
    static const QString letters = QStringLiteral("vmhi");
    for (const QStringList& r : Rows("SELECT L_LAPSZAM, L_LAPTIPUS, L_LEIDEZES, L_UTAK, L_LEIDEZESTECH FROM TLAP")) {
        const QString& tech = r[4];
        ASSERT_EQ(tech.size(), 24) << r[0].toStdString();
        for (int k = 0; k < 4; ++k) {
            const int need = r[1] == "L004" ? r[3].mid(k, 1).toInt() : int(r[2].count(letters[k]));
            const QString expected = QString(need, letters[k]) + QString(6 - need, '_');
            EXPECT_EQ(tech.mid(k * 6, 6), expected) << r[0].toStdString();
        }
    }
}

TEST_F(DemoCatalogue, FilterTypesOfferWhatTheQueryEditorNeeds)
{
    EXPECT_EQ(Rows("SELECT FT_FIELD, FT_FIELD2, FT_FIELD3, SUBSTR(FT_KIND, 2, 1) FROM TFILTERTYPE WHERE FT_ID = 4")
                  .at(0), QStringList({"TLAPTIPUS.LAPTIPUS_ID", "TLAPTIPUS.LAPTIPUS_ID", "LAPTIPUS_NEV", "O"}));
    EXPECT_EQ(Rows("SELECT FT_FIELD, FT_KIND FROM TFILTERTYPE WHERE FT_ID = 12").at(0),
              QStringList({"TLAP.L_ID", "I"}));
    for (const char* field : {"TLAP.L_SZINT", "TLAP.L_HP", "TLAP.L_DB"}) {
        EXPECT_EQ(Scalar(QStringLiteral("SELECT FT_KIND FROM TFILTERTYPE WHERE FT_FIELD = '%1'").arg(field)), "I");
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(DISTINCT FO_OP) FROM TFILTEROP INNER JOIN TFILTERTYPE ON "
                                       "FO_FTID = FT_ID WHERE FT_FIELD = '%1' AND FO_OP IN ('=','<','>','<=','>=','<>')")
                          .arg(field)), 6) << field;
    }
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TFILTERTYPE INNER JOIN TFILTEROP ON FO_FTID = FT_ID "
                    "WHERE FT_FIELD = 'TLAP.L_NEV' AND FO_OP = 'LIKE'"), 1);
    // Every options type lists real rows: the query editor's value list is built from these.
    for (const QStringList& r : Rows("SELECT FT_ID, FT_FIELD2, FT_FIELD3 FROM TFILTERTYPE WHERE SUBSTR(FT_KIND, 2, 1) = 'O'")) {
        const QString table = r[1].left(r[1].indexOf('.'));
        EXPECT_GT(Count("SELECT COUNT(*) FROM (SELECT " + r[1] + "," + r[2] + " FROM " + table + " ORDER BY 2)"), 0)
            << r[0].toStdString();
    }
    for (const char* list : {"TVELKOR", "TTULAJDONSAG", "TKATEGORIA"})
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM TFILTERTYPE WHERE FT_FIELD2 LIKE '%1.%'").arg(list)), 1) << list;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TFILTEROP WHERE FO_FTID NOT IN (SELECT FT_ID FROM TFILTERTYPE)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TFILTERTYPE WHERE FT_ID NOT IN (SELECT FO_FTID FROM TFILTEROP)"), 0);
}

TEST_F(DemoCatalogue, StoredFilterRowsAreSane)
{
    for (const char* cat : {"00ALAP", "01USER", "02KAT", "04OSSZ", "05TUL"})
        EXPECT_GE(Count(QStringLiteral("SELECT COUNT(*) FROM TFILTERBASE WHERE FB_CATEGORY = '%1'").arg(cat)), 1) << cat;
    EXPECT_GE(Count("SELECT COUNT(*) FROM TFILTERBASE WHERE FB_CATEGORY = '00ALAP'"), 5);
    // Grouped AND/OR conditions exist among the basic filters.
    EXPECT_GT(Count("SELECT COUNT(*) FROM TFILTER INNER JOIN TFILTERBASE ON F_FBID = FB_ID "
                    "WHERE FB_CATEGORY = '00ALAP' AND F_ANDOR = 'OR' AND F_ORDER > 0"), 0);
    EXPECT_GT(Count("SELECT COUNT(*) FROM TFILTER WHERE F_GROUP > 1"), 0);
    EXPECT_GT(Count("SELECT COUNT(*) FROM TFILTER WHERE F_VALUE = 'L999'"), 0);

    const QRegularExpression integer("^-?[0-9]+$");
    for (const QStringList& base : Rows("SELECT FB_ID, FB_NAME, FB_CATEGORY FROM TFILTERBASE")) {
        const std::string name = base[1].toStdString();
        const bool related = base[2] == "04OSSZ";
        const auto rows = Rows("SELECT F_FTID, F_FOID, F_VALUE, F_ORDER, F_GROUP, F_ANDOR, F_FIELDNAME, F_OPERATION, "
                               "F_VALUETYPE, FT_FIELD, FT_KIND, FT_FIELD2 FROM TFILTER LEFT JOIN TFILTERTYPE ON "
                               "F_FTID = FT_ID WHERE F_FBID = " + base[0] + " ORDER BY F_ORDER");
        ASSERT_FALSE(rows.empty()) << name;
        for (size_t i = 0; i < rows.size(); ++i) {
            const QStringList& r = rows[i];
            ASSERT_FALSE(r[9].isEmpty()) << name << ": unknown filter type " << r[0].toStdString();
            EXPECT_EQ(r[1], "-1") << name;
            EXPECT_EQ(r[3].toInt(), int(i)) << name;
            // The first condition has no connective: a clause beginning with AND or OR fails.
            EXPECT_TRUE(i > 0 || r[5].isEmpty()) << name;
            EXPECT_TRUE(QStringList({"", "AND", "OR"}).contains(r[5])) << name;
            if (related) {
                EXPECT_EQ(QStringList({r[0], r[4], r[6], r[7], r[8]}), QStringList({"12", "0", "L_ID", "=", "I"})) << name;
                EXPECT_EQ(r[5], i == 0 ? "" : "OR") << name;
                EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAP WHERE L_ID = " + r[2]), 1) << name;
                continue;
            }
            EXPECT_EQ(r[6], r[9]) << name;
            EXPECT_EQ(r[8], r[10]) << name;
            EXPECT_EQ(Count("SELECT COUNT(*) FROM TFILTEROP WHERE FO_FTID = " + r[0] + " AND FO_OP = '" + r[7] + "'"), 1)
                << name << ": operation " << r[7].toStdString();
            EXPECT_TRUE(r[8] != "I" || integer.match(r[2]).hasMatch()) << name;
            if (r[10].mid(1, 1) == "O" && r[2] != Catalog::AllLeadersValue) {
                const QString table = r[11].left(r[11].indexOf('.'));
                EXPECT_EQ(Count("SELECT COUNT(*) FROM " + table + " WHERE " + r[11] + " = '" + r[2] + "'"), 1)
                    << name << ": value " << r[2].toStdString();
            }
            EXPECT_TRUE(r[2] != Catalog::AllLeadersValue || r[0] == "4") << name;
            // Each condition on its own is valid SQL over the card list and finds cards.
            const QString quote = r[8] == "I" && r[7] != "LIKE" ? "" : "'";
            const QString value = r[2] == Catalog::AllLeadersValue ? QString("L006") : r[2];
            const QString select = r[9].contains("LT_TULID") ? Catalog::CardListSelectWithProperties
                                                              : Catalog::CardListSelect;
            EXPECT_GT(Count("SELECT COUNT(*) FROM (" + select + "WHERE (" + r[9] + " " + r[7] + " " + quote + value +
                            (r[7] == "LIKE" ? "%" : "") + quote + "))"), 0)
                << name << ": condition " << i;
        }
    }
}

TEST_F(DemoCatalogue, EveryStoredFilterBuildsAWorkingCardListStatement)
{
    for (const QStringList& base : Rows("SELECT FB_ID, FB_NAME, FB_CATEGORY FROM TFILTERBASE ORDER BY FB_ID")) {
        const std::string name = base[1].toStdString();
        TQPList list;
        LoadStoredFilter(Conn, base[0].toInt(), pkStoredFilter, list);
        ASSERT_GT(list.Count(), 0) << name;
        const QString select = list.AnyFieldContains("LT_TULID") ? Catalog::CardListSelectWithProperties
                                                                  : Catalog::CardListSelect;
        const QString where = list.BuildWhereClause();
        const std::string clause = where.toStdString();
        TQuery q(&Conn);
        q.SetSQL(select + " " + where + " ORDER BY TLAP.L_LAPSZAM");
        ASSERT_NO_THROW(q.Open()) << name << "\n" << clause;
        EXPECT_GT(q.RecordCount(), 0) << name << "\n" << clause;
        // What the catalogue says by other means, for the filters whose meaning is plain.
        int expected = -1;
        if (base[1] == QString::fromUtf8("Főistenek"))
            expected = Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPTIPUS = 'L004'");
        else if (base[1] == QString::fromUtf8("Vezérek"))
            expected = Count("SELECT COUNT(*) FROM TLAP WHERE L_LAPTIPUS IN ('L006','L008','L012')");
        else if (base[2] == Catalog::CatRelatedSets)
            expected = list.Count();
        EXPECT_TRUE(expected < 0 || q.RecordCount() == expected) << name << ": " << q.RecordCount();
    }
}

TEST_F(DemoCatalogue, AnnotationsAndLinks)
{
    EXPECT_EQ(Count("SELECT COUNT(*) FROM (SELECT LT_LID, LT_TULID FROM TLAPTUL GROUP BY LT_LID, LT_TULID "
                    "HAVING COUNT(*) > 1)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAPTUL WHERE LT_LID NOT IN (SELECT L_ID FROM TLAP)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TLAPTUL WHERE LT_TULID NOT IN (SELECT TULAJDONSAG_ID FROM TTULAJDONSAG) "
                    "AND LT_TULID NOT IN (SELECT KATEGORIA_ID FROM TKATEGORIA)"), 0);
    EXPECT_GT(Count("SELECT COUNT(*) FROM TLAPTUL WHERE LT_TULID LIKE 'S%'"), 0);

    EXPECT_EQ(Count("SELECT COUNT(*) FROM (SELECT ME_LAPID FROM TMEGJ GROUP BY ME_LAPID HAVING COUNT(*) > 1)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TMEGJ WHERE ME_LAPID NOT IN (SELECT L_ID FROM TLAP) "
                    "OR LENGTH(ME_MEGJEGYZES) > 250"), 0);

    EXPECT_EQ(Count("SELECT COUNT(*) - COUNT(DISTINCT S_NUM) FROM TSPEC"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TSPEC WHERE S_LAPID NOT IN (SELECT L_ID FROM TLAP) "
                    "OR LENGTH(S_KIJATSZ) > 3 OR LENGTH(S_LEIDEZES) > 4"), 0);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TSPEC WHERE LENGTH(S_SZOVEG) > 75"), 10);
    EXPECT_GE(Count("SELECT COUNT(*) FROM TSPEC WHERE LENGTH(S_SZOVEG) > 150"), 3);
    EXPECT_GT(Count("SELECT COUNT(*) FROM TSPEC WHERE S_KIJATSZ GLOB '*[BKPS]*' OR S_LEIDEZES GLOB '*[BKPS]*'"), 0);
    // A card with three abilities, at least one of which wraps.
    EXPECT_GT(Count("SELECT COUNT(*) FROM (SELECT S_LAPID FROM TSPEC GROUP BY S_LAPID "
                    "HAVING COUNT(*) = 3 AND MAX(LENGTH(S_SZOVEG)) > 75)"), 0);

    EXPECT_EQ(Count("SELECT COUNT(*) FROM TSZURESLAP WHERE SZL_FBID NOT IN (SELECT FB_ID FROM TFILTERBASE) "
                    "OR SZL_LID NOT IN (SELECT L_ID FROM TLAP)"), 0);
    // One card carries more links than the picture page shows.
    EXPECT_GT(Count("SELECT COUNT(*) FROM (SELECT SZL_LID FROM TSZURESLAP GROUP BY SZL_LID HAVING COUNT(*) > 3)"), 0);
}

TEST_F(DemoCatalogue, DecksAreHeadedByMainGods)
{
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TPAKLI WHERE P_FOISTENLID NOT IN "
                    "(SELECT L_ID FROM TLAP WHERE L_LAPTIPUS = 'L004')"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TPAKLILAP INNER JOIN TPAKLI ON PL_PID = P_ID WHERE PL_LID = P_FOISTENLID"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TPAKLILAP WHERE PL_LDB IS NULL OR PL_LDB < 1 "
                    "OR PL_LID NOT IN (SELECT L_ID FROM TLAP) OR PL_PID NOT IN (SELECT P_ID FROM TPAKLI)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM (SELECT PL_PID, PL_LID FROM TPAKLILAP GROUP BY PL_PID, PL_LID "
                    "HAVING COUNT(*) > 1)"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM TPAKLI WHERE P_ID NOT IN (SELECT PL_PID FROM TPAKLILAP)"), 0);
}

TEST_F(DemoCatalogue, PicturesExistDecodeAndPeopleAreSideways)
{
    const QDir gfx(QStringLiteral(VELKOR_DEMO_DIR "/GFX"));
    const QImage back(gfx.filePath("hatlap.jpg"));
    ASSERT_FALSE(back.isNull()) << "card back missing";
    EXPECT_EQ(back.size(), QSize(250, 350));

    QStringList missing;
    int checked = 0;
    for (const QStringList& r : Rows("SELECT L_LAPSZAM, L_LAPTIPUS, L_KEPNEV FROM TLAP ORDER BY L_ID")) {
        const QString path = gfx.filePath(r[2]);
        if (!QFileInfo::exists(path)) {
            missing << r[0];
            continue;
        }
        const QImage img(path, "JPG");
        ASSERT_FALSE(img.isNull()) << path.toStdString();
        // Every file is upright in shape; a people card's landscape face lies in it sideways.
        EXPECT_EQ(img.size(), QSize(250, 350)) << r[0].toStdString();
        ++checked;
    }
    EXPECT_EQ(missing, MissingPictures);
    EXPECT_EQ(checked, 569 - MissingPictures.size());
    // Among the missing ones is a people card.
    EXPECT_EQ(Scalar("SELECT L_LAPTIPUS FROM TLAP WHERE L_LAPSZAM = '421'"), Catalog::PeopleType);
}
