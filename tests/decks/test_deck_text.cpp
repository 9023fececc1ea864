// Owned versus needed copies and plain-text deck lists, on a copy of the demo catalogue:
// the missing marks with NULL owned counts, the text of a deck, reading it back into a new deck,
// and every bad text refused with nothing stored.
#include "DeckFrameFixture.h"

#include "decks/uDeckModel.h"
#include "decks/uDeckText.h"

#include "decks/uDeckCharts.h"
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QUndoStack>

using DeckOwned = DeckInsightTest;
using DeckText = DeckInsightTest;

TEST_F(DeckOwned, MissingCopiesCountNullAsNone)
{
    // Deck 1's god (001) is owned; its rows need 10 copies more than are owned.
    Load(1);
    EXPECT_EQ(MissingTotal(Frame->Missing()), 10);
    EXPECT_EQ(Frame->lHianyzo->text(), QStringLiteral("Hiányzó: 10 lap"));
    EXPECT_FALSE(Frame->lHianyzo->isHidden());

    // 167 "Tüzes Hadvezér": 3 copies, L_DB NULL.
    TDeckModel* model = Frame->DeckModel();
    const int row = Frame->mdPakli.Find(167);
    ASSERT_GE(row, 0);
    const QModelIndex db = model->index(row, TDeckModel::colDb);
    EXPECT_EQ(db.data(Qt::ToolTipRole).toString(), QStringLiteral("Hiányzik: 3"));
    EXPECT_EQ(db.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    // 511: 2 copies, 2 owned: no mark.
    const QModelIndex owned = model->index(Frame->mdPakli.Find(511), TDeckModel::colDb);
    EXPECT_FALSE(owned.data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(owned.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));

    // Adding a third copy of 511 makes it short by one, at once.
    Frame->AddCardToDeck(511);
    EXPECT_EQ(Frame->lHianyzo->text(), QStringLiteral("Hiányzó: 11 lap"));
    EXPECT_EQ(model->index(Frame->mdPakli.Find(511), TDeckModel::colDb).data(Qt::ToolTipRole).toString(),
              QStringLiteral("Hiányzik: 1"));
}

TEST_F(DeckOwned, GodAndNullCountsAfterReload)
{
    // Nothing owned at all: every copy is missing, the god's one included, and listed first.
    Exec("UPDATE TLAP SET L_DB = NULL");
    Load(1);
    EXPECT_EQ(MissingTotal(Frame->Missing()), 21 + 1);
    Frame->CopyMissingCards();
    const QStringList lines = Ui.Clipboard().split(u'\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[0], QStringLiteral("1 (001) Ábel, a Fény Atyja"));
    EXPECT_EQ(lines[1], QStringLiteral("3 (167) Tüzes Hadvezér"));
}

TEST_F(DeckOwned, NothingMissingHidesTheMark)
{
    Exec("UPDATE TLAP SET L_DB = 50");
    Load(1);
    EXPECT_TRUE(Frame->lHianyzo->isHidden());
    Frame->CopyMissingCards();
    EXPECT_TRUE(Ui.Clipboard().isEmpty());
    EXPECT_EQ(Ui.Count(TUiKind::Information), 1);
}

TEST_F(DeckText, ParsesLinesAndRefusesBadOnes)
{
    const TDeckTextParse ok = ParseDeckText("1 (001) Ábel, a Fény Atyja\r\n\n  3 (167)  Tüzes Hadvezér \n2 Vak Zsoldosok\n4 (259)");
    ASSERT_TRUE(ok.Ok()) << ok.Error.toStdString();
    ASSERT_EQ(ok.Lines.size(), 4u);
    EXPECT_EQ(ok.Lines[1].LineNo, 3);
    EXPECT_EQ(ok.Lines[1].Count, 3);
    EXPECT_EQ(ok.Lines[1].Number, QStringLiteral("167"));
    EXPECT_EQ(ok.Lines[1].Name, QStringLiteral("Tüzes Hadvezér"));
    EXPECT_TRUE(ok.Lines[2].Number.isEmpty());
    EXPECT_TRUE(ok.Lines[3].Name.isEmpty());

    struct TCase {
        const char* Text;
        const char* InMessage;
    };
    const TCase bad[] = {
        {"", "üres"},
        {"  \n\t\n", "üres"},
        {"1 (001) Ábel\nTüzes Hadvezér", "2. sor"},
        {"1 (001) Ábel\n3x Tüzes", "2. sor"},
        {"0 (167) Tüzes Hadvezér", "1 és 99"},
        {"-2 (167) Tüzes Hadvezér", "1 és 99"},
        {"100 (167) Tüzes Hadvezér", "1 és 99"},
        {"99999999999999999999 (167) Tüzes", "1 és 99"},
        {"3 ()", "1. sor"},
    };
    for (const TCase& c : bad) {
        const TDeckTextParse p = ParseDeckText(QString::fromUtf8(c.Text));
        EXPECT_FALSE(p.Ok()) << c.Text;
        EXPECT_TRUE(p.Lines.empty()) << c.Text;
        EXPECT_TRUE(p.Error.contains(QString::fromUtf8(c.InMessage))) << c.Text << " -> " << p.Error.toStdString();
    }
    EXPECT_TRUE(ParseDeckText("99 (167) x").Ok());
}

TEST_F(DeckText, RoundTripOfADemoDeck)
{
    Load(1);
    Frame->CopyDeckAsText();
    const QString text = Ui.Clipboard();
    EXPECT_TRUE(text.startsWith(QStringLiteral("1 (001) Ábel, a Fény Atyja\n3 (167) Tüzes Hadvezér\n")));
    const QString before = DeckCount();

    Ui.PushYesNo(true);
    const std::optional<qint64> id = ImportDeckText(Conn, text);
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT P_FOISTENLID FROM TPAKLI WHERE P_ID = %1").arg(*id)), "1");
    EXPECT_EQ(StoredRows(*id), StoredRows(1));
    EXPECT_NE(DeckCount(), before);
}

TEST_F(DeckText, MatchesByNumberElseByNameIgnoringCase)
{
    // Number wins over a wrong name; a name alone is found ignoring the case of accented letters;
    // a second god line is an ordinary card; unknown lines are listed, not stored.
    const QString text = QStringLiteral(
        "1 (004) Ködkirály Ugron\n"
        "2 (167) Rossz név\n"
        "1 ÖREG JÉGPÁNCÉL\n"
        "1 (001)\n"
        "2 (9999) Nincs ilyen lap\n"
        "1 Tüzes Hadvezér\n");
    const TDeckTextParse parsed = ParseDeckText(text);
    ASSERT_TRUE(parsed.Ok());
    const TDeckImport deck = MatchDeckText(Conn, parsed.Lines);
    EXPECT_EQ(deck.GodId, 4);
    const std::vector<std::pair<qint64, qint64>> cards{{167, 3}, {247, 1}, {1, 1}};
    EXPECT_EQ(deck.Cards, cards);
    EXPECT_EQ(deck.Unmatched, QStringList{QStringLiteral("2 (9999) Nincs ilyen lap")});

    // The user says no: nothing stored, and the unmatched line was shown.
    const QString before = DeckCount();
    Ui.PushYesNo(false);
    EXPECT_FALSE(ImportDeckText(Conn, text).has_value());
    EXPECT_EQ(DeckCount(), before);
    EXPECT_TRUE(Ui.Of(TUiKind::Confirmation).value(0).Text.contains(QStringLiteral("Nincs ilyen lap")));
}

TEST_F(DeckText, BadTextsStoreNothing)
{
    const QString before = DeckCount();
    const QString noGod = QStringLiteral("3 (167) Tüzes Hadvezér\n1 (247) Öreg Jégpáncél");
    const QString huge = QStringLiteral("1 (001) Ábel\n") + QString(5 * 1024 * 1024, u'x');
    for (const QString& text : {QString(), QStringLiteral("nem pakli"), QStringLiteral("0 (167) x"),
                                QStringLiteral("100 (167) x"), noGod, huge}) {
        Ui.Clear();
        EXPECT_FALSE(ImportDeckText(Conn, text).has_value());
        EXPECT_EQ(Ui.Count(TUiKind::Warning), 1) << text.left(40).toStdString();
        EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 0);
    }
    EXPECT_EQ(DeckCount(), before);
}

TEST_F(DeckOwned, CountsEditedElsewhereShowWhenTheFrameIsShownAgain)
{
    Load(1);
    ASSERT_EQ(Frame->lHianyzo->text(), QStringLiteral("Hiányzó: 10 lap"));
    // The player records 3 copies of 167 (say on the detail page) while the deck is open.
    Exec("UPDATE TLAP SET L_DB = 3 WHERE L_ID = 167");
    Page.show();
    EXPECT_EQ(Frame->lHianyzo->text(), QStringLiteral("Hiányzó: 7 lap"));
    EXPECT_FALSE(Frame->DeckModel()
                     ->index(Frame->mdPakli.Find(167), TDeckModel::colDb)
                     .data(Qt::ToolTipRole)
                     .isValid());
}

TEST_F(DeckInsightTest, PercentSignsInNamesComeThroughEveryBuiltText)
{
    for (const QString& name : {QStringLiteral("O'Neil > 100%1 %2"), QStringLiteral("%3%2%1 „Ős” <b>")}) {
        Exec(QString("UPDATE TLAP SET L_NEV = '" + name + "' WHERE L_ID = 167; UPDATE TLAP SET L_NEV = 'Isten " + name +
                     "' WHERE L_ID = 1").replace("'Neil", "''Neil").toUtf8());
        Load(1);
        Frame->mdPakli.SetRecNo(Frame->mdPakli.Find(167));
        Frame->Charts->ShowSelectedCard(Frame->mdPakli);
        EXPECT_TRUE(Frame->Charts->lLapEsely->text().startsWith("(167) " + name + ", 3 példány: "));
        Frame->AddCardToDeck(167);
        EXPECT_TRUE(Frame->UndoStack()->undoText().endsWith("(167) " + name));
        Ui.PushYesNo(false);
        ImportDeckText(Conn, DeckToText(Frame->God(), Frame->mdPakli.Rows()));
        EXPECT_TRUE(Ui.Of(TUiKind::Confirmation).last().Text.startsWith("A beolvasott pakli főistene: Isten " + name + "; "));
    }
}

TEST_F(DeckInsightTest, NoBreakSpacesInTheDescriptionStayAsStored)
{
    Exec("UPDATE TPAKLI SET P_MEGJ = 'Gyors' || char(160) || 'pakli' || char(13, 10) || 'sor' || char(160) WHERE P_ID = 1");
    const QString stored = Scalar("SELECT hex(P_MEGJ) FROM TPAKLI WHERE P_ID = 1");
    Load(1);
    EXPECT_FALSE(Frame->IsModified());
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT hex(P_MEGJ) FROM TPAKLI WHERE P_ID = 1"), stored);
    QTemporaryDir dir;
    Ui.PushSaveFile(dir.filePath("pakli.htm"));
    Frame->ExportDeckHtml();
    QFile page(dir.filePath("pakli.htm"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Gyors\xA0pakli"));
}
