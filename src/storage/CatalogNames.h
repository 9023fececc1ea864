#pragma once
// Catalogue table names, fixed code values and the card list's base statements.
#include <QString>
#include <QStringList>

namespace Catalog {

// Card types with a fixed meaning.
inline const QString MainGodType = QStringLiteral("L004");
inline const QString PeopleType = QStringLiteral("L011");
inline const QString LeaderTypes[] = {QStringLiteral("L006"), QStringLiteral("L008"), QStringLiteral("L012")};
inline const QString AllLeadersValue = QStringLiteral("L999");

// Filter categories (TFILTERBASE.FB_CATEGORY).
inline const QString CatBasic = QStringLiteral("00ALAP");
inline const QString CatUser = QStringLiteral("01USER");
inline const QString CatCategories = QStringLiteral("02KAT");
inline const QString CatRelatedSets = QStringLiteral("04OSSZ");
inline const QString CatProperties = QStringLiteral("05TUL");

// The card list: the plain base SELECT, and the one joined with TLAPTUL used when a condition
// touches LT_TULID. Both end in one space.
inline const QString CardListSelect = QStringLiteral(
    "SELECT TLAPTIPUS.LAPTIPUS_NEV,TVELKOR.VELKOR_NEV,TLAP.L_ID,TLAP.L_KEPNEV,TLAP.L_LAPSZAM,TLAP.L_NEV,"
    "TLAP.L_VELKOR,TLAP.L_LAPTIPUS,TLAP.L_LEIDEZES,TLAP.L_SZINT,TLAP.L_UTAK,TLAP.L_HP,TLAP.L_DB,"
    "TLAP.L_GYAKORISAG FROM (TLAP INNER JOIN TLAPTIPUS ON TLAP.L_LAPTIPUS = TLAPTIPUS.LAPTIPUS_ID) "
    "INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID ");
inline const QString CardListSelectWithProperties = QStringLiteral(
    "SELECT TLAPTIPUS.LAPTIPUS_NEV, TLAP.L_KEPNEV, TVELKOR.VELKOR_NEV, TLAP.L_ID, TLAP.L_LAPSZAM, "
    "TLAP.L_NEV, TLAP.L_VELKOR, TLAP.L_LAPTIPUS, TLAP.L_LEIDEZES, TLAP.L_SZINT, TLAP.L_UTAK, TLAP.L_HP, "
    "TLAP.L_DB, TLAP.L_GYAKORISAG FROM ((TLAP INNER JOIN TLAPTIPUS ON TLAP.L_LAPTIPUS = "
    "TLAPTIPUS.LAPTIPUS_ID) INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID) INNER JOIN TLAPTUL "
    "ON TLAP.L_ID = TLAPTUL.LT_LID ");

// The name and free-text columns, which order and compare case-insensitively in Hungarian
// order. The program's own ORDER BY terms on them carry the collation explicitly, so the order
// does not depend on whether the file (made by another tool from the table layout) declares it.
// Code, number and link columns keep the plain comparison, numbers sort as numbers.
inline const QStringList NoCaseColumns = {
    QStringLiteral("VELKOR_NEV"),  QStringLiteral("LAPTIPUS_NEV"),  QStringLiteral("TULAJDONSAG_NEV"),
    QStringLiteral("KATEGORIA_NEV"), QStringLiteral("L_NEV"),       QStringLiteral("L_LEIDEZES"),
    QStringLiteral("L_GYAKORISAG"), QStringLiteral("L_INFO"),       QStringLiteral("ME_MEGJEGYZES"),
    QStringLiteral("S_KIJATSZ"),   QStringLiteral("S_LEIDEZES"),    QStringLiteral("S_SZOVEG"),
    QStringLiteral("FB_NAME"),     QStringLiteral("FT_NAME"),       QStringLiteral("P_NEV"),
    QStringLiteral("P_MEGJ")};

// The column (optionally table-qualified) as an ORDER BY or comparison operand: a name column
// followed by " COLLATE NOCASE", any other column as it is.
inline QString WithCollation(const QString& column)
{
    const QString bare = column.mid(column.lastIndexOf(u'.') + 1);
    return NoCaseColumns.contains(bare, Qt::CaseInsensitive) ? column + QStringLiteral(" COLLATE NOCASE") : column;
}

}  // namespace Catalog
