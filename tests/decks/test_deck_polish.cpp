// Catalogue texts reach the deck windows unchanged: a "%1" in a name is never read as a place for
// another value, and a no-break space in the description survives loading, saving and export.
#include "DeckFrameFixture.h"

#include "app/WidgetUtil.h"
#include "decks/uDeckCharts.h"
#include "decks/uDeckText.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QUndoStack>

namespace {

class DeckTexts : public DeckInsightTest {
protected:
    void Rename(qint64 card, const QString& name)
    {
        TCommand c(&Conn);
        c.SetSQL("UPDATE TLAP SET L_NEV = :N WHERE L_ID = :ID");
        c.SetParam("N", name);
        c.SetParam("ID", card);
        c.Execute();
    }
};

}  // namespace

TEST_F(DeckTexts, PercentSignsInNamesComeThroughEveryBuiltText)
{
    for (const QString& name : {QStringLiteral("O'Neil > 100%1 %2"), QStringLiteral("%3%2%1 „Ős” <b>&amp;")}) {
        SCOPED_TRACE(name.toStdString());
        Rename(167, name);
        Rename(1, QStringLiteral("Isten ") + name);
        Ui.Clear();
        Load(1);

        // The header and the odds line of the card chosen in the deck.
        EXPECT_EQ(Frame->lFoisten->text(), QStringLiteral("Isten ") + name);
        Frame->mdPakli.SetRecNo(Frame->mdPakli.Find(167));
        Frame->Charts->ShowSelectedCard(Frame->mdPakli);
        EXPECT_TRUE(Frame->Charts->lLapEsely->text().startsWith(QStringLiteral("(167) ") + name + QStringLiteral(", 3 példány: ")))
            << Frame->Charts->lLapEsely->text().toStdString();

        // The undo item, the deck as text, and the question of a deck read back from that text.
        Frame->AddCardToDeck(167);
        EXPECT_TRUE(Frame->UndoStack()->undoText().endsWith(QStringLiteral("(167) ") + name));
        const QString text = DeckToText(Frame->God(), Frame->mdPakli.Rows());
        EXPECT_TRUE(text.contains(QStringLiteral("4 (167) ") + name)) << text.toStdString();
        Ui.PushYesNo(false);
        EXPECT_FALSE(ImportDeckText(Conn, text).has_value());
        EXPECT_TRUE(Ui.Of(TUiKind::Confirmation).value(0).Text.startsWith(
            QStringLiteral("A beolvasott pakli főistene: Isten ") + name + QStringLiteral("; ")))
            << Ui.Of(TUiKind::Confirmation).value(0).Text.toStdString();
    }
}

TEST_F(DeckTexts, NoBreakSpacesInTheDescriptionAndNameStayAsStored)
{
    // Stored by another program: no-break spaces, a CR LF and a line separator.
    Exec("UPDATE TPAKLI SET P_NEV = 'Nap' || char(160) || 'korona', "
         "P_MEGJ = 'Gyors' || char(160) || 'pakli' || char(13, 10) || 'második' || char(8232) || 'sor' || char(160) "
         "WHERE P_ID = 1");
    const QString name = Scalar("SELECT hex(P_NEV) FROM TPAKLI WHERE P_ID = 1");
    const QString description = Scalar("SELECT hex(P_MEGJ) FROM TPAKLI WHERE P_ID = 1");
    Load(1);
    EXPECT_FALSE(Frame->IsModified());
    EXPECT_TRUE(ExactPlainText(Frame->mLeir).contains(QChar(0xA0)));
    EXPECT_EQ(Frame->UndoStack()->count(), 0);

    // A save without an edit writes the texts back byte for byte.
    ASSERT_TRUE(Frame->SaveDeck());
    EXPECT_EQ(Scalar("SELECT hex(P_NEV) FROM TPAKLI WHERE P_ID = 1"), name);
    EXPECT_EQ(Scalar("SELECT hex(P_MEGJ) FROM TPAKLI WHERE P_ID = 1"), description);

    // The page carries 0xA0 (Windows-1250) where the description has it.
    QTemporaryDir dir;
    const QString page = dir.filePath("pakli.htm");
    Ui.PushSaveFile(page);
    Frame->ExportDeckHtml();
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    EXPECT_TRUE(html.contains(QByteArray("Gyors\xA0pakli"))) << html.toStdString();
}
