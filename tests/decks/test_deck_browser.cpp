// The deck browser and the data module's deck copy and deletion, on a copy of the demo program
// folder: the list and its order, the description, each button with and without a selected deck,
// and copies and deletions that fail midway.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/ufMain.h"
#include "decks/uDeckHtml.h"
#include "decks/ufPakliBong.h"
#include "decks/ufmPakli.h"
#include "storage/uAM.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

class DeckBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(AM->Connected());
        // A third deck around the god of deck 1, with a 20-row card list and a description.
        QString sql = "BEGIN; INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES "
                      "(7, 'Napkorona – második', 'Első sor\r\nmásodik sor', 1);";
        for (int i = 0; i < 20; ++i)
            sql += QString("INSERT INTO TPAKLILAP (PL_PID, PL_LID, PL_LDB) VALUES (7, %1, %2);").arg(100 + i).arg(1 + i % 3);
        Exec(sql + "COMMIT;");
    }
    void TearDown() override
    {
        Browser.reset();
        Program.reset();
    }

    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }
    QString Rows(const QString& sql)
    {
        TQuery q(&AM->ADOConnection);
        q.SetSQL(sql);
        q.Open();
        QString out;
        for (int r = 0; r < q.RecordCount(); ++r)
            for (int c = 0; c < q.FieldCount(); ++c) out += q.ValueText(r, c) + (c + 1 < q.FieldCount() ? "|" : "\n");
        return out;
    }
    QString Dump()
    {
        return Rows("SELECT 'P', P_ID, P_NEV, P_MEGJ, P_FOISTENLID FROM TPAKLI UNION ALL "
                    "SELECT 'L', PL_PID, PL_LID, PL_LDB, NULL FROM TPAKLILAP ORDER BY 1, 2, 3, 4");
    }
    QString CardRows(qint64 deck)
    {
        return Rows("SELECT PL_LID, PL_LDB FROM TPAKLILAP WHERE PL_PID = " + QString::number(deck) +
                    " ORDER BY PL_LID, PL_LDB");
    }
    TfPakliBong& Make()
    {
        Browser = std::make_unique<TfPakliBong>(
            *AM, [this](qint64 id) { Opened.push_back(id); fMain->OpenDeck(id); }, fMain->PictureFolder());
        Browser->FormShow();
        return *Browser;
    }
    // Selects the item of the deck; false when it is not listed.
    bool Select(qint64 deck)
    {
        for (int i = 0; i < Browser->lbPakli->count(); ++i)
            if (Browser->DeckAt(i)->DeckId == deck) {
                Browser->lbPakli->setCurrentRow(i);
                return true;
            }
        return false;
    }
    std::vector<qint64> Listed()
    {
        std::vector<qint64> ids;
        for (int i = 0; i < Browser->lbPakli->count(); ++i) ids.push_back(Browser->DeckAt(i)->DeckId);
        return ids;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    std::unique_ptr<TfPakliBong> Browser;
    std::vector<qint64> Opened;
};

}  // namespace

TEST_F(DeckBrowserTest, WindowAndButtons)
{
    TfPakliBong& b = Make();
    EXPECT_EQ(b.windowTitle(), "Paklik böngészése");
    EXPECT_EQ(b.size(), QSize(545, 350));
    EXPECT_EQ(b.minimumSize(), b.maximumSize());
    QStringList captions;
    int lastTop = -1;
    for (QPushButton* btn : {b.btnUj, b.btnMegnyit, b.btnMasol, b.btnExport, b.btnTorol, b.btnBezar}) {
        captions << btn->text();
        EXPECT_GT(btn->y(), lastTop);  // down the right side, in this order
        EXPECT_GT(btn->x(), b.lbPakli->geometry().right());
        EXPECT_TRUE(btn->isEnabled()) << btn->text().toStdString();
        lastTop = btn->y();
    }
    EXPECT_EQ(captions, QStringList({"Ú&j pakli", "&Megnyitás", "Má&solás újba", "&Export", "&Törlés", "&Bezárás"}));
    EXPECT_TRUE(b.mLeir->isReadOnly());
    EXPECT_GT(b.mLeir->y(), b.lbPakli->geometry().bottom());
}

TEST_F(DeckBrowserTest, DecksAreListedUnderTheirGodsInCardNumberOrder)
{
    // Decks whose god card, or that card's pantheon, is missing are not listed.
    Exec("INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (8, 'Isten nélkül', '', 99999);"
         "INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_UTAK) VALUES "
         "(9003, '0001', 'Hontalan isten', 'M999', 'L004', '0000');"
         "INSERT INTO TPAKLI (P_ID, P_NEV, P_MEGJ, P_FOISTENLID) VALUES (9, 'Nép nélkül', '', 9003);");
    TfPakliBong& b = Make();
    const std::vector<qint64> ids = Listed();
    ASSERT_EQ(ids.size(), 3u);
    // Deck 1 and 7 share god 001, deck 2 has god 004: both decks of 001 first, next to each other.
    EXPECT_EQ(std::vector<qint64>(ids.begin(), ids.begin() + 2) == std::vector<qint64>({1, 7}) ||
                  std::vector<qint64>(ids.begin(), ids.begin() + 2) == std::vector<qint64>({7, 1}),
              true);
    EXPECT_EQ(ids[2], 2);

    const TPakli* seven = b.DeckAt(ids[0] == 7 ? 0 : 1);
    EXPECT_EQ(seven->DeckName, "Napkorona – második");
    EXPECT_EQ(seven->GodId, 1);
    EXPECT_EQ(seven->GodNumber, "001");
    EXPECT_EQ(seven->GodName, Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 1"));
    EXPECT_EQ(seven->GodPaths, Scalar("SELECT L_UTAK FROM TLAP WHERE L_ID = 1"));
    EXPECT_EQ(seven->GodPantheon, Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M001'"));
    EXPECT_EQ(b.lbPakli->item(0)->text(), seven->GodName);
    EXPECT_EQ(b.lbPakli->sizeHintForRow(0), 48);

    // Painted: the selection colour as background of the selected item, something written on it.
    QPalette palette = b.lbPakli->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    QImage item(400, 48, QImage::Format_RGB32);
    {
        QPainter p(&item);
        DrawDeckItem(b, p, item.rect(), 0, true, palette);
    }
    EXPECT_EQ(QColor(item.pixel(2, 2)), QColor(0, 0, 200));
    int written = 0;
    for (int y = 32; y < 46; ++y)
        for (int x = 12; x < 200; ++x) written += QColor(item.pixel(x, y)) != QColor(0, 0, 200);
    EXPECT_GT(written, 20);  // the deck's name on the third line
}

TEST_F(DeckBrowserTest, ClickingADeckShowsItsDescription)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(7));
    EXPECT_EQ(b.mLeir->toPlainText(), "Első sor\nmásodik sor");
    Exec("UPDATE TPAKLI SET P_MEGJ = NULL WHERE P_ID = 2;");
    ASSERT_TRUE(Select(2));
    EXPECT_EQ(b.mLeir->toPlainText(), "");
    // A long description is shown whole.
    const QString longText = QString("Hosszú leírás ékezetekkel: őŐűŰ. ").repeated(200);
    AM->qTemp.Close();
    AM->qTemp.SetSQL("UPDATE TPAKLI SET P_MEGJ = :M WHERE P_ID = 1");
    AM->qTemp.SetParam("M", longText);
    AM->qTemp.ExecSQL();
    ASSERT_TRUE(Select(1));
    EXPECT_EQ(b.mLeir->toPlainText(), longText);
}

TEST_F(DeckBrowserTest, ButtonsThatNeedADeckDoNothingWithoutOne)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(b.lbPakli->selectedItems().isEmpty());
    Ui.PushInput(QString("Másolat"));
    Ui.PushYesNo(true);
    Ui.PushSaveFile(Cat.Dir.filePath("nem.htm"));
    const QString before = Dump();
    for (QPushButton* btn : {b.btnMegnyit, b.btnMasol, b.btnExport, b.btnTorol}) btn->click();
    EXPECT_TRUE(Ui.Records().isEmpty());
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(Opened.empty());
    EXPECT_FALSE(QFile::exists(Cat.Dir.filePath("nem.htm")));
    EXPECT_EQ(b.result(), 0);
}

TEST_F(DeckBrowserTest, OpeningOpensTheSelectedDeckAndCloses)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(2));
    b.btnMegnyit->click();
    ASSERT_EQ(Opened, std::vector<qint64>({2}));
    ASSERT_NE(fMain->FindDeckFrame(), nullptr);
    EXPECT_EQ(fMain->FindDeckFrame()->DeckId(), 2);
    EXPECT_EQ(b.result(), QDialog::Accepted);
}

TEST_F(DeckBrowserTest, ADeckGoneMeanwhileIsNotOpenedAndLeavesTheList)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(2));
    Exec("DELETE FROM TPAKLILAP WHERE PL_PID = 2; DELETE FROM TPAKLI WHERE P_ID = 2;");
    EXPECT_THROW(b.btnMegnyitClick(), EAbort);  // the frame has warned
    EXPECT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_EQ(fMain->FindDeckFrame(), nullptr);
    EXPECT_EQ(Listed().size(), 2u);
    EXPECT_EQ(b.result(), 0);
}

TEST_F(DeckBrowserTest, CopyingA20RowDeckOpensTheCopyAndLeavesTheSourceAlone)
{
    TfPakliBong& b = Make();
    const QString source = Rows("SELECT * FROM TPAKLI WHERE P_ID = 7") + CardRows(7);
    ASSERT_EQ(CardRows(7).count('\n'), 20);
    ASSERT_TRUE(Select(7));
    Ui.PushInput(QString("Új név – ékezetes"));
    b.btnMasol->click();

    const QList<TUiRecord> asked = Ui.Of(TUiKind::Input);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].Title, "Új megnevezés");
    EXPECT_EQ(asked[0].Text, "A pakli új neve");
    EXPECT_EQ(asked[0].Extra, "Napkorona – második");

    ASSERT_EQ(Opened.size(), 1u);
    const qint64 copy = Opened.front();
    EXPECT_NE(copy, 7);
    const QString where = " FROM TPAKLI WHERE P_ID = " + QString::number(copy);
    EXPECT_EQ(Scalar("SELECT P_NEV" + where), "Új név – ékezetes");
    EXPECT_EQ(Scalar("SELECT P_FOISTENLID" + where), "1");
    EXPECT_EQ(Scalar("SELECT COALESCE(P_MEGJ, '')" + where), "");
    EXPECT_EQ(CardRows(copy), CardRows(7));
    EXPECT_EQ(Rows("SELECT * FROM TPAKLI WHERE P_ID = 7") + CardRows(7), source);

    TfmPakli* frame = fMain->FindDeckFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->DeckId(), copy);
    EXPECT_EQ(frame->mdPakli.RecordCount(), 20);
    EXPECT_EQ(frame->lFoisten->text(), Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 1"));
    EXPECT_EQ(frame->eNev->text(), "Új név – ékezetes");
    EXPECT_EQ(b.result(), QDialog::Accepted);
}

TEST_F(DeckBrowserTest, CopyingUnderTheSameNameMakesASecondDeckOfThatName)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(1));
    const QString name = Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = 1");
    Ui.PushInput(name);
    b.btnMasol->click();
    ASSERT_EQ(Opened.size(), 1u);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLI WHERE P_NEV = '" + name + "'").toInt(), 2);
    EXPECT_EQ(CardRows(Opened.front()), CardRows(1));
}

TEST_F(DeckBrowserTest, CancellingTheNameCopiesNothing)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(1));
    const QString before = Dump();
    Ui.PushInput(std::nullopt);
    b.btnMasol->click();
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(b.result(), 0);
}

TEST_F(DeckBrowserTest, DeletingRemovesTheCardRowsAndTheHead)
{
    TfPakliBong& b = Make();
    const QString others = CardRows(1) + CardRows(2);
    ASSERT_TRUE(Select(7));
    Ui.PushYesNo(true);
    b.btnTorol->click();
    const QList<TUiRecord> asked = Ui.Of(TUiKind::Confirmation);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].Text, "Valóban szeretné törölni a paklit?");
    EXPECT_EQ(asked[0].Extra, BUTTON_NO);  // "Nem" is the default button
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TPAKLI WHERE P_ID = 7").toInt(), 0);
    EXPECT_EQ(CardRows(7), "");
    EXPECT_EQ(CardRows(1) + CardRows(2), others);
    EXPECT_EQ(Listed(), std::vector<qint64>({1, 2}));
    EXPECT_TRUE(b.lbPakli->selectedItems().isEmpty());
    EXPECT_TRUE(b.mLeir->toPlainText().isEmpty());
    EXPECT_EQ(b.result(), 0);  // the browser stays open
}

TEST_F(DeckBrowserTest, AnsweringNoChangesNothing)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(7));
    const QString before = Dump();
    Ui.PushYesNo(false);
    b.btnTorol->click();
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 1);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(Listed().size(), 3u);
}

TEST_F(DeckBrowserTest, ACopyFailingMidwayLeavesEveryRowAsItWasAndOpensNothing)
{
    TfPakliBong& b = Make();
    // The card rows of the copy cannot be written, after its head has been.
    Exec("CREATE TRIGGER NO_CARDS BEFORE INSERT ON TPAKLILAP BEGIN SELECT RAISE(ABORT, 'nincs hely'); END;");
    const QString before = Dump();
    ASSERT_TRUE(Select(7));
    Ui.PushInput(QString("Másolat"));
    b.btnMasol->click();
    EXPECT_EQ(Dump(), before);
    const QList<TUiRecord> errors = Ui.Of(TUiKind::ErrorDialog);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].Title, "Am.CopyDeck");
    EXPECT_TRUE(errors[0].Text.contains("nincs hely"));
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(fMain->FindDeckFrame(), nullptr);
    EXPECT_EQ(b.result(), 0);
}

TEST_F(DeckBrowserTest, ADeletionFailingMidwayLeavesEveryRowAsItWas)
{
    TfPakliBong& b = Make();
    // The head cannot be deleted, after the card rows have been.
    Exec("CREATE TRIGGER KEEP_HEAD BEFORE DELETE ON TPAKLI BEGIN SELECT RAISE(ABORT, 'zárolva'); END;");
    const QString before = Dump();
    ASSERT_TRUE(Select(7));
    Ui.PushYesNo(true);
    b.btnTorol->click();
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(CardRows(7).count('\n'), 20);
    const QList<TUiRecord> errors = Ui.Of(TUiKind::ErrorDialog);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].Title, "Am.DeleteDeck");
    EXPECT_EQ(Listed().size(), 3u);
    EXPECT_FALSE(AM->DeleteDeck(7));
}

TEST_F(DeckBrowserTest, TheCopysIdIsTheRowJustInsertedEvenWhenAnotherDeckArrivesAtOnce)
{
    // A deck added at the same moment, as another writer would, takes a higher id.
    Exec("CREATE TRIGGER OTHER_WRITER AFTER INSERT ON TPAKLI WHEN NEW.P_NEV = 'Másolat' BEGIN "
         "INSERT INTO TPAKLI (P_NEV, P_MEGJ, P_FOISTENLID) VALUES ('Másik író', 'övé', 2); END;");
    const qint64 copy = AM->CopyDeck(7, "Másolat");
    ASSERT_GT(copy, 0);
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = " + QString::number(copy)), "Másolat");
    EXPECT_EQ(CardRows(copy), CardRows(7));
    // The other writer's deck is neither renamed nor given the cards.
    const QString other = Scalar("SELECT P_ID FROM TPAKLI WHERE P_MEGJ = 'övé'");
    EXPECT_GT(other.toLongLong(), copy);
    EXPECT_EQ(Scalar("SELECT P_NEV FROM TPAKLI WHERE P_ID = " + other), "Másik író");
    EXPECT_EQ(CardRows(other.toLongLong()), "");
}

TEST_F(DeckBrowserTest, CopyingADeckThatIsGoneRenamesNothing)
{
    // The connection's last insert is some other deck; a copy that inserts nothing must not touch it.
    const qint64 made = AM->CopyDeck(2, "Friss");
    ASSERT_GT(made, 0);
    const QString before = Dump();
    EXPECT_EQ(AM->CopyDeck(4711, "Sehol"), -1);
    EXPECT_EQ(Dump(), before);
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog)[0].Text.contains("4711"));
}

TEST_F(DeckBrowserTest, ExportWritesTheSelectedDecksPage)
{
    TfPakliBong& b = Make();
    ASSERT_TRUE(Select(7));
    const QString file = Cat.Dir.filePath("sajat.htm");
    Ui.PushSaveFile(file);
    b.btnExport->click();
    const QList<TUiRecord> asked = Ui.Of(TUiKind::SaveFile);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].Extra, "Napkorona – második.htm");
    QFile page(file);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.contains(EncodeWindows1250(HtmlEscape("Napkorona – második"))));
    EXPECT_TRUE(bytes.contains(EncodeWindows1250(Scalar("SELECT L_NEV FROM TLAP WHERE L_ID = 100"))));
    EXPECT_EQ(b.result(), 0);  // the browser stays open

    // Cancelling the file prompt writes nothing.
    Ui.PushSaveFile(QString());
    ASSERT_TRUE(QFile::remove(file));
    b.btnExport->click();
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(DeckBrowserTest, NewDeckRunsTheWizardAndClosesEitherWay)
{
    TfPakliBong& b = Make();
    int shown = 0;
    b.NewDeckWizard = [&] { ++shown; };
    b.btnUj->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(b.result(), QDialog::Accepted);
}

TEST_F(DeckBrowserTest, BothActionsShowTheBrowserModally)
{
    QStringList captions;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* w = qobject_cast<TfPakliBong*>(QApplication::activeModalWidget())) {
            captions << w->windowTitle() + QString(" %1").arg(w->lbPakli->count());
            w->btnBezar->click();
        }
    });
    answer.start(10);
    ASSERT_TRUE(fMain->acDeckBrowser->isEnabled());
    fMain->acDeckBrowser->trigger();
    fMain->acOpenDeck->trigger();
    EXPECT_EQ(captions, QStringList({"Paklik böngészése 3", "Paklik böngészése 3"}));
    EXPECT_EQ(fMain->FindDeckFrame(), nullptr);

    fMain->OpenDeck(1);
    EXPECT_FALSE(fMain->acDeckBrowser->isEnabled());
    EXPECT_TRUE(fMain->acOpenDeck->isEnabled());
}
