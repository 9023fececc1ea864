// The deck sheet written as PDF and read back with poppler: its lines, groups and totals, hostile
// names, a long deck's pages and repeated headers, the menu command and an unwritable target.
#include "decks/DeckFrameFixture.h"
#include "print/PdfRead.h"

#include "decks/uDeckGroups.h"
#include "decks/uDeckPrint.h"
#include "print/uDeckSheet.h"
#include "storage/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

TDeckSheet Sheet(std::vector<TSheetCard> cards)
{
    TDeckSheet s;
    s.DeckName = "Tűzvihar & <Társai>";
    s.GodNumber = "I-007";
    s.GodName = "Őrző Ümmögő";
    s.GodPantheon = "Északi";
    s.Description = "Első sor\nMásodik sor";
    s.Date = QDate(2026, 12, 9);
    for (size_t g = 0; g < DeckGroupNames.size(); ++g) s.GroupNames << DeckGroupName(int(g));
    s.Cards = std::move(cards);
    for (const TSheetCard& c : s.Cards) s.CardCount += c.Copies;
    s.PowerPoints = 7;
    return s;
}

QString Write(const QTemporaryDir& dir, const TDeckSheet& sheet)
{
    const QString file = dir.filePath("pakli.pdf");
    WriteDeckSheetPdf(file, sheet);
    return file;
}

}  // namespace

TEST(DeckSheet, LinesGroupsTotalsAndHostileNamesReadBack)
{
    const QString longName = QString("Hosszú név ").repeated(18).left(200);
    const std::vector<TSheetCard> cards = {
        {"H-001", "Árvíztűrő tükörfúrógép", 2, 3, 4, "vvm"},
        {"H-002", "Kő & <Óriás> %1 \"idéző\"", 2, 1, 2, "h"},
        {"T-001", "Sárkány 🐉 pajzs", 3, 2, 0, ""},
        {"V-001", longName, 4, 1, 0, "iB"},
    };
    QTemporaryDir dir;
    const QString file = Write(dir, Sheet(cards));
    ASSERT_EQ(PdfPageCount(file), 1);
    const QString text = PdfLines(PdfPages(file).value(0)).join("\n");
    for (const char* expected :
         {"Tűzvihar & <Társai>", "Főisten: (I-007) Őrző Ümmögő – Északi", "Játékos: ____", "Dátum: 2026.12.09.",
          "Hadak és szörnyetegek", "3 × (H-001) Árvíztűrő tükörfúrógép 4", "1 × (H-002) Kő & <Óriás> %1 \"idéző\" 2",
          "Tárgyak, ereklyék és fegyverzetek", "2 × (T-001) Sárkány", "pajzs", "4 lap", "2 lap", "7 lap, 7 Hatalom-pont",
          "Leírás", "Első sor\nMásodik sor", "oldal 1 / 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    // The 200-character name wraps, whole, never cut.
    EXPECT_TRUE(text.simplified().remove(' ').contains(QString("(V-001)" + longName).remove(' '))) << text.toStdString();
    // Groups in the statistics page's order.
    EXPECT_LT(text.indexOf("Hadak"), text.indexOf("Tárgyak"));
    EXPECT_LT(text.indexOf("Tárgyak"), text.indexOf("Varázslatok"));
    // The fonts travel inside the file.
    const QStringList fonts = PdfTool("pdffonts", {file}).split('\n').mid(2);
    ASSERT_FALSE(fonts.join("").trimmed().isEmpty());
    // The dragon is drawn from the pictograph font (poppler does not read astral characters back).
    EXPECT_TRUE(fonts.join("\n").contains("Symbola")) << fonts.join("\n").toStdString();
    for (const QString& f : fonts)
        if (!f.trimmed().isEmpty()) {
            EXPECT_TRUE(f.contains(" yes ")) << f.toStdString();
        }
}

TEST(DeckSheet, LongDeckBreaksBetweenLinesWithRepeatedHeaders)
{
    std::vector<TSheetCard> cards;
    for (int i = 0; i < 300; ++i)
        cards.push_back({QString("K-%1").arg(i, 3, 10, QChar('0')), "Lap " + QString::number(i), 1 + i / 100, 1, 1, "v"});
    QTemporaryDir dir;
    const QString file = Write(dir, Sheet(cards));
    const QStringList pages = PdfPages(file);
    const int n = PdfPageCount(file);
    ASSERT_GT(n, 3);
    ASSERT_EQ(pages.size(), n);
    QString all;
    for (int p = 0; p < n; ++p) {
        EXPECT_TRUE(pages[p].contains(QString("oldal %1 / %2").arg(p + 1).arg(n))) << p;
        const QStringList lines = PdfLines(pages[p]);
        // Every page after the first goes on with a group: its header first, marked as continued.
        if (p > 0) {
            EXPECT_TRUE(lines.value(0).endsWith("(folytatás)")) << lines.value(0).toStdString();
        }
        all += pages[p];
    }
    // Every card once, whole, in order.
    int at = -1;
    for (int i = 0; i < 300; ++i) {
        const QString line = QString("1 × (K-%1) Lap %2 ").arg(i, 3, 10, QChar('0')).arg(i);
        EXPECT_EQ(all.count(line.trimmed() + " "), 1) << i;
        const int next = int(all.indexOf(line.trimmed()));
        EXPECT_GT(next, at) << i;
        at = next;
    }
}

TEST(DeckSheet, UnwritableTargetThrowsAndKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    EXPECT_THROW(WriteDeckSheetPdf(dir.filePath("nincs/ilyen/pakli.pdf"), Sheet({})), Exception);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    // A folder in the file's place: nothing written, the folder as it was.
    QDir(dir.path()).mkdir("pakli.pdf");
    EXPECT_THROW(WriteDeckSheetPdf(dir.filePath("pakli.pdf"), Sheet({})), Exception);
    EXPECT_TRUE(QFileInfo(dir.filePath("pakli.pdf")).isDir());
}

TEST_F(DeckInsightTest, SheetOfTheOpenDeckFollowsTheStatisticsGroupsAndSavesThroughThePrompt)
{
    const qint64 deckId = Scalar("SELECT P_ID FROM TPAKLI ORDER BY P_ID LIMIT 1").toLongLong();
    Load(deckId);
    const TDeckSheet sheet = DeckSheetOf(*Frame, QDate(2026, 1, 2));
    ASSERT_EQ(int(sheet.Cards.size()), Frame->mdPakli.RecordCount());
    EXPECT_EQ(sheet.CardCount, Frame->mdPakli.CardCount());
    EXPECT_FALSE(sheet.GodPantheon.isEmpty());

    QTemporaryDir dir;
    TPdfSaveDialog prompt;
    Ui.PushSaveFile(dir.filePath("lista"));  // typed without an extension
    ASSERT_TRUE(SaveDeckSheetPdf(*Frame, prompt));
    EXPECT_EQ(prompt.Folder, dir.path());
    const QString text = PdfLines(PdfPages(dir.filePath("lista.pdf")).join("")).join("\n");
    int at = -1;
    for (const TDeckRow& row : Frame->mdPakli.Rows()) {
        const int header = int(text.indexOf(DeckGroupName(row.TECHSORREND)));
        EXPECT_GE(header, 0);
        const int line = int(text.indexOf(QString::number(row.DB) + " × (" + row.L_LAPSZAM + ") " + row.L_NEV));
        EXPECT_GT(line, std::max(at, header)) << row.L_NEV.toStdString();
        at = line;
    }
    // The prompt suggests the deck's name in the last folder.
    Ui.PushSaveFile(dir.filePath("nincs/ilyen.pdf"));
    EXPECT_FALSE(SaveDeckSheetPdf(*Frame, prompt));
    EXPECT_EQ(Ui.Of(TUiKind::SaveFile).last().Extra, QDir(dir.path()).filePath(Frame->eNev->text() + ".pdf"));
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
}
