// The deck's HTML page: its lines, the card texts, escaping, Windows-1250 with references for what
// the code page lacks, CR LF, the all-or-nothing write, and the export from the deck frame (its save
// dialog) and from the main window's menu, on copies of the demo catalogue.
#include "TestCatalogue.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufMain.h"
#include "decks/uDeckHost.h"
#include "decks/uDeckHtml.h"
#include "decks/uDeckStore.h"
#include "decks/ufmPakli.h"
#include "storage/Exceptions.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTabWidget>

namespace {

TDeckRow Card(const QString& number, const QString& name, int group, int db = 1, int level = 0,
              const QString& summoning = QString())
{
    TDeckRow r;
    r.L_ID = number.toLongLong();
    r.L_LAPSZAM = number;
    r.L_NEV = name;
    r.TECHSORREND = group;
    r.DB = db;
    r.L_SZINT = level;
    r.L_IDEZES = summoning;
    return r;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList DecodedLines(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    QString text = decoder.decode(bytes);
    EXPECT_TRUE(text.endsWith("\r\n"));
    text.chop(2);
    return text.split("\r\n");
}

const QStringList FixedTail = {
    R"(<tr><td colspan="4" bgcolor="#C0C0C0">Tulajdonságok</td></tr>)",
    R"(<tr><td>&nbsp;</td></tr>)",
    R"(<tr><td colspan="4" bgcolor="#C0C0C0">Kategóriák</td></tr>)",
    R"(<tr><td>&nbsp;</td></tr>)",
    R"(<tr><td colspan="4" bgcolor="#C0C0C0">Idézés</td></tr>)",
    R"(<tr><td>&nbsp;</td></tr>)",
    R"(</font></table></body></html>)",
};

}  // namespace

TEST(DeckHtml, AnEmptyDeckGivesTheFourteenFixedLinesWithTheirValues)
{
    const QStringList lines = DeckHtmlLines({}, {"Ősi Főisten", "Első \"pakli\"", "Egy sor\r\nMásik & sor\nHarmadik"});
    QStringList expected = {
        R"(<html><head><meta http-equiv="Content-Type" content="text/html; charset=windows-1250"><title>Velkor Kártyajáték</title></head><body bgcolor="#FFFFFF">)",
        R"(<table border="0" cellpadding="0" cellspacing="0" width="650">)",
        R"(<tr><th align="left" colspan="4" bgcolor="#008080"><font face="Trebuchet MS" color="#FFFFFF" size="4">Velkor kártyajáték</font></th></tr>)",
        R"(<font size="2" face="Trebuchet MS">)",
        R"(<tr><td colspan="4">Főisten: Ősi Főisten</td></tr>)",
        R"(<tr><td>Pakli megnevezése:</td><td colspan="3">Első &quot;pakli&quot;</td></tr>)",
        R"(<tr><td>Leírás:</td><td colspan="3">Egy sor<br>Másik &amp; sor<br>Harmadik</td></tr>)",
    };
    expected += FixedTail;
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.size(), 14);
}

TEST(DeckHtml, CardTexts)
{
    EXPECT_EQ(DeckCardText(Card("001", "Ábel", 1, 1, 1, "VM")), "(001) Ábel VM");
    EXPECT_EQ(DeckCardText(Card("002", "Béla", 1, 2, 3, "VVM")), "(002) Béla (2) 3 VVM");
    EXPECT_EQ(DeckCardText(Card("003", "Cili", 1, 12, 0)), "(003) Cili (12) ");
    EXPECT_EQ(DeckCardText(Card("004", "Dani", 1, 1, 2, "h")), "(004) Dani 2 h");
}

TEST(DeckHtml, GroupsInDeckOrderWithGroupZeroFirstUnderAnEmptyName)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("pakli.htm");
    // Given out of order: the page lists them by group, then card number.
    WriteDeckHtml(file,
                  {Card("300", "Kard", 3), Card("010", "Vezér B", 1, 2, 3, "VVM"), Card("005", "Vezér A", 1),
                   Card("900", "Egyéb", 0)},
                  {});
    const QStringList lines = DecodedLines(ReadAll(file));
    ASSERT_EQ(lines.size(), 14 + 3 + 4);
    const QStringList body = lines.mid(7, 7);
    EXPECT_EQ(body, QStringList({
                        R"(<tr><td colspan="4" bgcolor="#C0C0C0"></td></tr>)",
                        R"(<tr><td><font size="2" face="Courier">(900) Egyéb </font></td></tr>)",
                        R"(<tr><td colspan="4" bgcolor="#C0C0C0">Vezérek</td></tr>)",
                        R"(<tr><td><font size="2" face="Courier">(005) Vezér A </font></td></tr>)",
                        R"(<tr><td><font size="2" face="Courier">(010) Vezér B (2) 3 VVM</font></td></tr>)",
                        R"(<tr><td colspan="4" bgcolor="#C0C0C0">Tárgyak, ereklyék és fegyverzetek</td></tr>)",
                        R"(<tr><td><font size="2" face="Courier">(300) Kard </font></td></tr>)",
                    }));
    EXPECT_EQ(lines.mid(14), FixedTail);
}

TEST(DeckHtml, EveryLineEndsWithCrLfInWindows1250)
{
    const QByteArray bytes = DeckHtmlBytes(DeckHtmlLines({Card("001", "Tűzőrző Ősapa", 1)}, {"Főisten", "ű", ""}));
    EXPECT_TRUE(bytes.endsWith("</html>\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 16);
    EXPECT_EQ(bytes.count('\n'), 16);
    EXPECT_EQ(bytes.count('\r'), 16);
    // ő, ű, Ő, á in Windows-1250; no UTF-8 byte sequences.
    EXPECT_TRUE(bytes.contains("F\xF5isten:"));
    EXPECT_TRUE(bytes.contains("T\xFBz\xF5rz\xF5 \xD5sapa"));
    EXPECT_TRUE(bytes.contains("K\xE1rtyaj\xE1t\xE9k"));
    EXPECT_FALSE(bytes.contains("\xC5\x91"));
    EXPECT_EQ(EncodeWindows1250(QStringLiteral("őűŐŰ")), QByteArray("\xF5\xFB\xD5\xDB"));
}

TEST(DeckHtml, CatalogueTextsAreEscaped)
{
    const QStringList lines = DeckHtmlLines({Card("001", "Tűz & Jég <új> \"x\"", 2, 1, 0, "<V>")},
                                            {"A & B", "<script>", "x > y"});
    EXPECT_EQ(lines[8], R"(<tr><td><font size="2" face="Courier">(001) Tűz &amp; Jég &lt;új&gt; &quot;x&quot; &lt;V&gt;</font></td></tr>)");
    EXPECT_EQ(lines[4], R"(<tr><td colspan="4">Főisten: A &amp; B</td></tr>)");
    EXPECT_EQ(lines[5], R"(<tr><td>Pakli megnevezése:</td><td colspan="3">&lt;script&gt;</td></tr>)");
    // A line break inside a one-line text would break the line structure of the page.
    EXPECT_EQ(HtmlEscape("a\r\nb"), "a  b");
}

TEST(DeckHtml, ACharacterOutsideTheCodePageBecomesAReference)
{
    EXPECT_EQ(EncodeWindows1250(QStringLiteral("Ñandú Ж €")), QByteArray("&#209;and\xFA &#1046; \x80"));
    EXPECT_EQ(EncodeWindows1250(QString::fromUtf8("\xF0\x9F\x98\x80")), QByteArray("&#128512;"));
    const QByteArray bytes = DeckHtmlBytes(DeckHtmlLines({Card("001", QStringLiteral("Ñoño"), 1)}, {}));
    EXPECT_TRUE(bytes.contains("(001) &#209;o&#241;o "));
    EXPECT_FALSE(bytes.contains('?'));
}

TEST(DeckHtml, AnUnwritableTargetLeavesNothing)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("nincs/pakli.htm");
    EXPECT_THROW(WriteDeckHtml(missing, {Card("001", "A", 1)}, {}), Exception);
    EXPECT_FALSE(QFile::exists(missing));

    // A folder that cannot be written: the earlier page stays whole and no temporary file is left.
    const QString folder = dir.filePath("zart");
    QDir().mkpath(folder);
    const QString file = folder + "/pakli.htm";
    WriteDeckHtml(file, {Card("001", "Régi", 1)}, {});
    const QByteArray before = ReadAll(file);
    TImmutable locked(folder);
    if (!locked.Active()) GTEST_SKIP() << "chattr +i is not available here";
    try {
        WriteDeckHtml(file, {Card("002", "Új", 1)}, {});
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains("pakli.htm")) << e.what();
    }
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"pakli.htm"}));
}

// --- from the deck frame ------------------------------------------------------------------------

namespace {

class THtmlDeckHost : public TDeckHost {
public:
    QString PictureFolder() const override { return QString(); }
    QList<QAction*> DeckMenuActions() const override { return {}; }
    void SetDeckSummoningTech(const QString&) override {}
    void DeckLoaded() override {}
    void DeckClosed() override {}
    bool IsSummaryStale() const override { return false; }
    void SetSummaryStale(bool) override {}
    void FlashDeckTab(QWidget*, int) override {}
};

class DeckExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Conn.Open(Cat.DbPath());
        Frame = new TfmPakli(&Host, Conn, &Page);
        TFormOpenPars pars;
        InitFormOpenPars(pars);
        pars.Id = 1;
        pars.Mode = fmEdit;
        Frame->LoadDeck(pars);
    }
    void TearDown() override { delete Frame; }

    TTempCatalogue Cat;
    TConnection Conn;
    TTestUiHost Ui;
    THtmlDeckHost Host;
    QWidget Page;
    TfmPakli* Frame = nullptr;
    QTemporaryDir Out;
};

}  // namespace

TEST_F(DeckExportTest, TheDialogRemembersTheNameAndAddsTheExtension)
{
    Ui.PushSaveFile(Out.filePath("elso"));
    Frame->ExportDeckHtml();
    ASSERT_EQ(Ui.Count(TUiKind::SaveFile), 1);
    const TUiRecord first = Ui.Of(TUiKind::SaveFile)[0];
    EXPECT_EQ(first.Text, "Html fájlok (*.htm;*.html)|*.htm;*.html|Minden fájl|*.*");
    EXPECT_EQ(QtFileFilter(first.Text), "Html fájlok (*.htm *.html);;Minden fájl (*.*)");
    EXPECT_EQ(first.Extra, "Napkorona hadai.htm");  // the deck's name
    const QString file = Out.filePath("elso.htm");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(Frame->sd.FileName, file);

    // The page holds the deck as it is now, saved or not.
    Frame->eNev->setText("Átnevezett & új");
    const qint64 extra = ScalarOn(Conn, "SELECT L_ID FROM TLAP WHERE L_ID NOT IN (SELECT PL_LID FROM TPAKLILAP "
                                        "WHERE PL_PID = 1) ORDER BY L_ID LIMIT 1").toLongLong();
    Frame->AddCardToDeck(extra);
    Ui.PushSaveFile(file);
    Frame->ExportDeckHtml();
    EXPECT_EQ(Ui.Of(TUiKind::SaveFile)[1].Extra, Out.filePath("Átnevezett & új.htm"));  // in the last folder
    const QStringList lines = DecodedLines(ReadAll(file));
    EXPECT_TRUE(lines[5].contains("Átnevezett &amp; új"));
    int cardLines = 0;
    for (const QString& l : lines) cardLines += l.startsWith(R"(<tr><td><font size="2" face="Courier">)");
    EXPECT_EQ(cardLines, Frame->mdPakli.RecordCount());
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 0);  // no overwrite question

    // Cancelled: nothing written, the folder kept.
    QFile::remove(file);
    Frame->ExportDeckHtml();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(Frame->sd.FileName.startsWith(Out.path()));
}

TEST_F(DeckExportTest, AFailedWriteReachesTheErrorDialog)
{
    const QString file = Out.filePath("nincs/pakli.htm");
    Ui.PushSaveFile(file);
    Guarded([&] { Frame->ExportDeckHtml(); });
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog)[0].Text.contains("nem írható"));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(DeckExportTest, AStoredDeckGivesTheSamePageAsTheOpenOne)
{
    Ui.PushSaveFile(Out.filePath("nyitott.htm"));
    Frame->ExportDeckHtml();
    TDeckStore store(Conn);
    WriteStoredDeckHtml(store, 1, Out.filePath("tarolt.htm"));
    const QByteArray open = ReadAll(Out.filePath("nyitott.htm"));
    EXPECT_FALSE(open.isEmpty());
    EXPECT_EQ(ReadAll(Out.filePath("tarolt.htm")), open);
    EXPECT_TRUE(DecodedLines(open)[4].contains(Frame->lFoisten->text()));
    EXPECT_THROW(WriteStoredDeckHtml(store, 999, Out.filePath("x.htm")), Exception);
    EXPECT_FALSE(QFile::exists(Out.filePath("x.htm")));
}

TEST(DeckExportWindow, TheMenuEntriesExportTheOpenDeck)
{
    TTempCatalogue cat;
    TTestUiHost ui;
    QTemporaryDir out;
    auto program = std::make_unique<TProgram>(cat.ProgramDir());
    program->Create();
    EXPECT_FALSE(fMain->acPakliExport->isEnabled());
    fMain->OpenDeck(1);
    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(fMain->acPakliExport->isEnabled());
    EXPECT_TRUE(frame->pmPakli->actions().contains(fMain->acPakliExport));
    // From another page as well: the export needs no deck page in front.
    fMain->pc->setCurrentIndex(0);
    ui.PushSaveFile(out.filePath("menu.htm"));
    fMain->acPakliExport->trigger();
    EXPECT_TRUE(QFile::exists(out.filePath("menu.htm")));
    EXPECT_EQ(ui.Count(TUiKind::ErrorDialog), 0);
    program.reset();
}
