#include "bitmaps/Bitmaps.h"
#include "bitmaps/uPaths.h"
#include "storage/Exceptions.h"

#include "TestCatalogue.h"

#include <gtest/gtest.h>

TEST(PathsIconNames, OneNamePerCharacter)
{
    struct Case { const char* input; const char* expected; };
    const Case cases[] = {
        {"", ""},
        {"v", "IKON_V"},
        {"vvm", "IKON_V/IKON_V/IKON_M"},
        {"Bv", "IKON_B/IKON_V"},
        {"hiKPS", "IKON_H/IKON_I/IKON_K/IKON_P/IKON_S"},
        {"1 á", "IKON_1/IKON_ /IKON_á"}, // only a to z are upper-cased
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathsToIconNames(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected)) << c.input;
}

TEST(PathsNormalize, SummoningForms)
{
    struct Case { const char* summoning; const char* paths; const char* type; const char* expected; };
    const Case cases[] = {
        {"", "", "L002", "________________________"},
        {"vmv", "", "L002", "vv____m_________________"},
        {"vvm", "", "L001", "vv____m_________________"},
        {"mhii", "", "L002", "______m_____h_____ii____"},
        {"vVm", "", "L002", "v_____m_________________"},
        {"i1 B", "2110", "L003", "__________________i_____"},
        {"vvvvvvvv", "", "L002", "vvvvvv__________________"}, // a block holds six letters at most
        {"", "2110", "L004", "vv____m_____h___________"},
        {"vvvv", "1000", "L004", "v_______________________"},
        {"", "0000", "L004", "________________________"},
        {"", "6666", "L004", "vvvvvvmmmmmmhhhhhhiiiiii"},
        {"", "01234", "L004", "______m_____hh____iii___"}, // only the first four characters count
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeSummoning(QString::fromUtf8(c.summoning), QString::fromUtf8(c.paths),
                                     QString::fromUtf8(c.type)),
                  QString::fromUtf8(c.expected))
            << c.summoning << " / " << c.paths << " / " << c.type;
}

TEST(PathsNormalize, BadMainGodPathsRaiseAConversionError)
{
    struct Case { const char* paths; const char* message; };
    const Case cases[] = {
        {"12a4", "'12a4' nem érvényes egész szám"},
        {" 110", "' 110' nem érvényes egész szám"},
        {"١١١١", "'١١١١' nem érvényes egész szám"},
        {"", "'' nem érvényes: a főisten útjaihoz négy számjegy kell"},
        {"211", "'211' nem érvényes: a főisten útjaihoz négy számjegy kell"},
        {"7000", "'7000' nem érvényes: a főisten egy útjának száma legfeljebb 6 lehet"},
    };
    for (const Case& c : cases) {
        try {
            NormalizeSummoning(QStringLiteral("vv"), QString::fromUtf8(c.paths), QStringLiteral("L004"));
            ADD_FAILURE() << "no error for " << c.paths;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
        }
    }
    // The same text is no number check at all for other card types.
    EXPECT_NO_THROW(NormalizeSummoning(QString(), QStringLiteral("12a4"), QStringLiteral("L002")));
}

// The summoning filter compares the forms with LIKE, the card's form being the pattern.
class PathsSummoningFilter : public CatalogueTest {};

TEST_F(PathsSummoningFilter, CardPassesWhenTheGodHoldsEveryLetter)
{
    const QString god = NormalizeSummoning(QString(), QStringLiteral("2110"), QStringLiteral("L004"));
    struct Case { const char* summoning; bool passes; };
    const Case cases[] = {{"vm", true}, {"", true}, {"vvmh", true}, {"vvv", false}, {"i", false}, {"mm", false}};
    for (const Case& c : cases) {
        const QString card = NormalizeSummoning(QString::fromUtf8(c.summoning), QString(), QStringLiteral("L002"));
        const QString passes = Scalar(QStringLiteral("SELECT CASE WHEN '%1' LIKE '%2' THEN 1 ELSE 0 END").arg(god, card));
        EXPECT_EQ(passes, c.passes ? QStringLiteral("1") : QStringLiteral("0")) << c.summoning;
    }
}

namespace {
QImage Canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(QColor(10, 20, 30));
    return img;
}

// How many pixels differ from the canvas fill inside r.
int Painted(const QImage& img, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) != qRgb(10, 20, 30);
    return n;
}
} // namespace

TEST(PathsDraw, IconsGoLeftToRightAndXAdvances)
{
    QImage img = Canvas(100, 30);
    int x = 8;
    {
        QPainter p(&img);
        DrawIconToCanvas(PathsToIconNames(QStringLiteral("vmh")), p, x, 4);
    }
    EXPECT_EQ(x, 62);
    for (int k = 0; k < 3; ++k) EXPECT_GT(Painted(img, QRect(8 + 18 * k, 4, 18, 18)), 100) << k;
    EXPECT_EQ(Painted(img, QRect(62, 0, 38, 30)), 0);
    // The icons' background is not painted: their corners show the canvas.
    EXPECT_EQ(img.pixel(8, 21), qRgb(10, 20, 30));
    EXPECT_EQ(img.pixel(8 + 17, 4), qRgb(10, 20, 30));

    int none = 3;
    {
        QPainter p(&img);
        DrawIconToCanvas(QString(), p, none, 0);
    }
    EXPECT_EQ(none, 3);
}

TEST(PathsDraw, CharactersWithoutIconsDrawNothing)
{
    QImage img = Canvas(120, 20);
    int x = 0;
    {
        QPainter p(&img);
        // A digit, a space, an accented letter, an empty part and an unknown name.
        DrawIconToCanvas(PathsToIconNames(QStringLiteral("1 é")) + QStringLiteral("//IKON_X"), p, x, 0);
    }
    EXPECT_EQ(x, 5 * 18);
    EXPECT_EQ(Painted(img, img.rect()), 0);

    QImage cell = Canvas(60, 20);
    {
        QPainter p(&cell);
        DrawIconsInRect(QStringLiteral("IKON_9/IKON_V"), p, QRect(0, 0, 60, 20));
    }
    EXPECT_EQ(Painted(cell, QRect(0, 0, 18, 18)), 0);
    EXPECT_GT(Painted(cell, QRect(18, 0, 18, 18)), 100);
}

TEST(PathsDraw, IconsInRectStayInsideTheCell)
{
    QImage img = Canvas(120, 40);
    {
        QPainter p(&img);
        DrawIconsInRect(PathsToIconNames(QStringLiteral("vvmm")), p, QRect(10, 5, 40, 18));
    }
    EXPECT_GT(Painted(img, QRect(10, 5, 18, 18)), 100);
    EXPECT_GT(Painted(img, QRect(28, 5, 18, 18)), 100);
    EXPECT_EQ(Painted(img, QRect(50, 0, 70, 40)), 0);
    EXPECT_EQ(Painted(img, QRect(0, 23, 120, 17)), 0);
}
