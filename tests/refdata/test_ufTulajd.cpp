// The lookup table editor over a copy of the demo catalogue: generated ids, the two prompts,
// in-place edits posted on row leave and on table switch, new grid rows, deleting only what is
// unused, failures that leave the catalogue as it was, and the main window's lists afterwards.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "browser/uDetailPage.h"
#include "browser/ufMain.h"
#include "refdata/uLookupTable.h"
#include "refdata/ufTulajd.h"
#include "storage/uAM.h"
#include "widgets/LComboBox.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

TEST(LookupIds, NumberPartAndNextId)
{
    struct Case {
        QStringList Ids;
        QString Next;
    };
    const Case cases[] = {
        {{}, "T000"},                                 // empty table
        {{"T000"}, "T001"},
        {{"T001", "T017", "T009"}, "T018"},            // not the last one read
        {{"T998", "T999"}, "T1000"},                   // four digits written in full
        {{"T999", "T1000"}, "T1001"},                  // the number decides, not the text
        {{"T1000", "T999", "T0005"}, "T1001"},
        {{"TABC"}, "T000"},                            // not a number: -1, so 0
        {{"TABC", "T004"}, "T005"},
        {{"T"}, "T000"},
        {{"T-5"}, "T000"},                             // a sign is not part of an id
        {{"T 12"}, "T000"},
        {{"T0009"}, "T010"},                           // extra zeros still read as the number
        {{"X041"}, "T042"},                            // the letter of a stored id does not matter
        {{"T12345678901234567890"}, "T000"},           // too long to be a number
    };
    for (const Case& c : cases) EXPECT_EQ(NextLookupIdAfter("T", c.Ids), c.Next) << c.Ids.join(",").toStdString();
    EXPECT_EQ(FormatLookupId("M", 7), "M007");
    EXPECT_EQ(FormatLookupId("L", 123), "L123");
    EXPECT_EQ(FormatLookupId("S", 12345), "S12345");
    EXPECT_EQ(LookupIdNumber("M006"), 6);
    EXPECT_EQ(LookupIdNumber("M"), -1);
    EXPECT_EQ(LookupIdNumber("Mx06"), -1);
    EXPECT_EQ(LookupIdNumber("M\u0663"), -1);  // a non-ASCII digit is not a digit here
}

class TulajdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(fMain->Connected());
    }
    void TearDown() override
    {
        W.reset();
        Program.reset();
    }
    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }

    TfTulajd& Open()
    {
        W = std::make_unique<TfTulajd>();
        Tester = std::make_unique<QAbstractItemModelTester>(&W->tblTul,
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
        W->FormShow();
        return *W;
    }
    // Chooses a table the way the user does.
    void Choose(QRadioButton* rb) { rb->click(); }
    QStringList GridNames()
    {
        QStringList names;
        for (int r = 0; r < W->grTul->model()->rowCount(); ++r)
            names.append(W->grTul->model()->index(r, 0).data().toString());
        return names;
    }
    int GridRowOf(const QString& name) { return GridNames().indexOf(name); }
    void GoToRow(int row) { W->grTul->setCurrentIndex(W->tblTul.index(row, 0)); }
    // Types into the grid's cell editor of the current row, as the user does, and leaves the editor open.
    QLineEdit* TypeInCell(const QString& text)
    {
        if (!W->grTul->Editing()) W->grTul->edit(W->grTul->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(W->grTul->CellEditor());
        EXPECT_NE(editor, nullptr);
        if (!editor) return nullptr;
        editor->clear();
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        return editor;
    }
    // Every row that the editor may touch or that points at a lookup code, for "nothing changed".
    QString Snapshot()
    {
        QString s;
        for (const char* sql :
             {"SELECT group_concat(VELKOR_ID || '=' || ifnull(VELKOR_NEV, '~'), '|') FROM (SELECT * FROM TVELKOR ORDER BY 1)",
              "SELECT group_concat(LAPTIPUS_ID || '=' || ifnull(LAPTIPUS_NEV, '~'), '|') FROM (SELECT * FROM TLAPTIPUS ORDER BY 1)",
              "SELECT group_concat(TULAJDONSAG_ID || '=' || ifnull(TULAJDONSAG_NEV, '~'), '|') FROM (SELECT * FROM TTULAJDONSAG ORDER BY 1)",
              "SELECT group_concat(KATEGORIA_ID || '=' || ifnull(KATEGORIA_NEV, '~'), '|') FROM (SELECT * FROM TKATEGORIA ORDER BY 1)",
              "SELECT COUNT(*) || ':' || group_concat(L_VELKOR || L_LAPTIPUS, '') FROM TLAP",
              "SELECT COUNT(*) || ':' || group_concat(LT_LID || LT_TULID, '') FROM TLAPTUL",
              "SELECT COUNT(*) || ':' || group_concat(F_VALUE, '') FROM TFILTER",
              "SELECT COUNT(*) FROM TPAKLI"})
            s += Scalar(sql) + '\n';
        return s;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    std::unique_ptr<TfTulajd> W;
    std::unique_ptr<QAbstractItemModelTester> Tester;
};

}  // namespace

TEST_F(TulajdTest, ShowsThePantheonsFirstWithTheFourTablesOnRadioButtons)
{
    TfTulajd& w = Open();
    EXPECT_EQ(w.windowTitle(), "Tulajdonságok felvitele");
    EXPECT_EQ(w.rb1->text(), "Velkor");
    EXPECT_EQ(w.rb2->text(), "Laptípus");
    EXPECT_EQ(w.rb3->text(), "Tulajdonság");
    EXPECT_EQ(w.rb4->text(), "Egyéb tulajdonság");
    EXPECT_EQ(w.btnNew->text(), "Új");
    EXPECT_EQ(w.btnEdit->text(), "Módosítás");
    EXPECT_EQ(w.btnDel->text(), "Törlés");
    EXPECT_EQ(w.btnClose->text(), "Bezárás");
    EXPECT_TRUE(w.rb1->isChecked());
    EXPECT_EQ(w.grTul->model()->columnCount(), 1);
    EXPECT_EQ(w.grTul->model()->headerData(0, Qt::Horizontal).toString(), "Megnevezés");
    EXPECT_EQ(w.grTul->columnWidth(0), 394);
    // The name column fits the grid without a horizontal scroll.
    EXPECT_GE(w.grTul->viewport()->width(), 394);
    EXPECT_EQ(w.IdColumn(), "VELKOR_ID");
    EXPECT_EQ(w.Prefix(), "M");
    EXPECT_EQ(GridNames().size(), Scalar("SELECT COUNT(*) FROM TVELKOR").toInt());
    EXPECT_EQ(w.CurrentRow(), 0);

    const struct {
        QRadioButton* Rb;
        const char* Table;
        const char* Id;
        const char* Prefix;
    } tables[] = {{w.rb2, "TLAPTIPUS", "LAPTIPUS_ID", "L"},
                  {w.rb3, "TTULAJDONSAG", "TULAJDONSAG_ID", "T"},
                  {w.rb4, "TKATEGORIA", "KATEGORIA_ID", "S"},
                  {w.rb1, "TVELKOR", "VELKOR_ID", "M"}};
    for (const auto& t : tables) {
        Choose(t.Rb);
        EXPECT_EQ(w.IdColumn(), t.Id);
        EXPECT_EQ(w.Prefix(), t.Prefix);
        EXPECT_EQ(w.tblTul.Table().Table, t.Table);
        EXPECT_EQ(GridNames().size(), Scalar(QString("SELECT COUNT(*) FROM ") + t.Table).toInt()) << t.Table;
    }
    // Only a radio button's click acts.
    w.rb3->setChecked(true);
    w.rbClick(w.btnNew);
    EXPECT_EQ(w.Prefix(), "M");
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(TulajdTest, NamesAreInHungarianOrder)
{
    Exec("DELETE FROM TTULAJDONSAG");
    Exec("INSERT INTO TTULAJDONSAG VALUES ('T001','Ödön'),('T002','Ozsonna'),('T003','Csiga'),('T004','Cukor'),"
         "('T005','ábra'),('T006','Zebra'),('T007','Abroncs')");
    TfTulajd& w = Open();
    Choose(w.rb3);
    EXPECT_EQ(GridNames(), QStringList({"ábra", "Abroncs", "Cukor", "Csiga", "Ozsonna", "Ödön", "Zebra"}));
}

TEST_F(TulajdTest, NewEntryOnAnEmptyTableGetsTheFirstId)
{
    Exec("DELETE FROM TTULAJDONSAG");
    TfTulajd& w = Open();
    Choose(w.rb3);
    EXPECT_TRUE(GridNames().isEmpty());
    Ui.PushInput(QString("X"));
    w.btnNewClick();
    const TUiRecord prompt = Ui.Of(TUiKind::Input).value(0);
    EXPECT_EQ(prompt.Title, "Új tétel");
    EXPECT_EQ(prompt.Text, "Kérem adja meg az új tételt:");
    EXPECT_EQ(prompt.Extra, "");
    EXPECT_EQ(Scalar("SELECT group_concat(TULAJDONSAG_ID || '=' || TULAJDONSAG_NEV) FROM TTULAJDONSAG"), "T000=X");
    EXPECT_EQ(GridNames(), QStringList({"X"}));
    EXPECT_EQ(w.CurrentRow(), 0);
    EXPECT_TRUE(w.Changed());
}

TEST_F(TulajdTest, NewIdsFollowTheLargestNumberAndNeverCollide)
{
    Exec("DELETE FROM TVELKOR WHERE VELKOR_ID > 'M006'");
    TfTulajd& w = Open();
    Ui.PushInput(QString("Új velkor"));
    w.btnNewClick();
    EXPECT_EQ(Scalar("SELECT VELKOR_ID FROM TVELKOR WHERE VELKOR_NEV = 'Új velkor'"), "M007");

    // Past 999: the largest id as text would stay T999 and give T1000 twice.
    Exec("INSERT INTO TTULAJDONSAG VALUES ('T999', 'Utolsó háromjegyű')");
    Choose(w.rb3);
    Ui.PushInput(QString("Első négyjegyű"));
    Ui.PushInput(QString("Második négyjegyű"));
    w.btnNewClick();
    w.btnNewClick();
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
    EXPECT_EQ(Scalar("SELECT TULAJDONSAG_ID FROM TTULAJDONSAG WHERE TULAJDONSAG_NEV = 'Első négyjegyű'"), "T1000");
    EXPECT_EQ(Scalar("SELECT TULAJDONSAG_ID FROM TTULAJDONSAG WHERE TULAJDONSAG_NEV = 'Második négyjegyű'"), "T1001");
    // A grid row takes the next one too.
    EXPECT_EQ(w.tblTulNewRecord(), "T1002");
}

TEST_F(TulajdTest, EmptyNameIsStoredAsEnteredAndCancelChangesNothing)
{
    TfTulajd& w = Open();
    Choose(w.rb4);
    const QString before = Snapshot();
    Ui.PushInput(std::nullopt);
    w.btnNewClick();
    GoToRow(2);
    Ui.PushInput(std::nullopt);
    w.btnEditClick();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(w.Changed());
    const TUiRecord edit = Ui.Of(TUiKind::Input).value(1);
    EXPECT_EQ(edit.Title, "Tétel módosítása");
    EXPECT_EQ(edit.Text, "Kérem adja meg a módosított tételt:");
    EXPECT_EQ(edit.Extra, GridNames().value(2));

    Ui.PushInput(QString(""));
    w.btnNewClick();
    EXPECT_EQ(Scalar("SELECT KATEGORIA_ID || ':' || typeof(KATEGORIA_NEV) FROM TKATEGORIA WHERE KATEGORIA_NEV = ''"),
              "S007:text");
    EXPECT_EQ(GridNames().value(0), "");  // an empty name sorts first
    EXPECT_EQ(w.CurrentRow(), 0);
}

TEST_F(TulajdTest, ModifyRenamesTheCurrentEntryAndOnAnEmptyTableMatchesNothing)
{
    TfTulajd& w = Open();
    Choose(w.rb2);
    const int row = GridRowOf("nép");
    ASSERT_GE(row, 0);
    GoToRow(row);
    const QString longName = QString("Népek és építmények különösen hosszú, ékezetes megnevezéssel: ") + QString(60, u'ő');
    Ui.PushInput(longName);
    w.btnEditClick();
    EXPECT_EQ(Scalar("SELECT LAPTIPUS_NEV FROM TLAPTIPUS WHERE LAPTIPUS_ID = 'L011'"), longName);
    EXPECT_EQ(w.tblTul.IdAt(w.CurrentRow()), "L011");  // the renamed entry stays current
    EXPECT_EQ(GridNames().value(w.CurrentRow()), longName);

    Exec("DELETE FROM TKATEGORIA");
    Choose(w.rb4);
    const QString before = Snapshot();
    Ui.PushInput(QString("Y"));
    w.btnEditClick();
    EXPECT_EQ(Ui.Of(TUiKind::Input).last().Extra, "");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
}

TEST_F(TulajdTest, ModifyDoesNotOverwriteANameChangedElsewhere)
{
    TfTulajd& w = Open();
    GoToRow(GridRowOf("Jégvár"));
    Exec("UPDATE TVELKOR SET VELKOR_NEV = 'Jégpalota' WHERE VELKOR_ID = 'M006'");
    Ui.PushInput(QString("Jégerőd"));
    w.btnEditClick();
    EXPECT_EQ(Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M006'"), "Jégpalota");
    ASSERT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::Warning)[0].Text.contains("„Jégerőd”"));
    EXPECT_GE(GridRowOf("Jégpalota"), 0);  // the table shows what is stored now
}

TEST_F(TulajdTest, InPlaceEditIsPostedWhenTheRowIsLeftAndEscapeUndoesIt)
{
    TfTulajd& w = Open();
    w.show();
    const int row = GridRowOf("Ködhegy");
    GoToRow(row);
    TypeInCell("Ködös hegyvidék");
    w.grTul->CommitEditor();
    EXPECT_TRUE(w.tblTul.IsPending(row));
    EXPECT_EQ(w.grTul->model()->headerData(row, Qt::Vertical).toString(), "*");
    EXPECT_EQ(Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M004'"), "Ködhegy");  // not yet
    GoToRow(row == 0 ? 1 : 0);
    EXPECT_EQ(Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M004'"), "Ködös hegyvidék");
    EXPECT_FALSE(w.tblTul.Modified());
    EXPECT_EQ(GridNames().value(row), "Ködös hegyvidék");  // the row keeps its place until reopened

    // Escape outside the editor takes back a change that is not posted yet.
    const int other = GridRowOf("Tűzszív");
    GoToRow(other);
    TypeInCell("Tűzhányó");
    w.grTul->CommitEditor();
    QTest::keyClick(w.grTul, Qt::Key_Escape);
    EXPECT_FALSE(w.tblTul.Modified());
    EXPECT_EQ(GridNames().value(other), "Tűzszív");
    GoToRow(0);
    EXPECT_EQ(Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M005'"), "Tűzszív");
    EXPECT_TRUE(w.isVisible());
}

TEST_F(TulajdTest, PendingEditIsPostedWhenTheTableIsSwitched)
{
    TfTulajd& w = Open();
    w.show();
    GoToRow(GridRowOf("Holdfátyol"));
    TypeInCell("Holdfény fátyla");  // the editor is still open when the radio button is clicked
    Choose(w.rb2);
    EXPECT_EQ(Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M002'"), "Holdfény fátyla");
    EXPECT_EQ(w.Prefix(), "L");
    EXPECT_GE(GridRowOf("főisten"), 0);
    EXPECT_TRUE(w.Changed());
}

TEST_F(TulajdTest, InPlaceEditDoesNotOverwriteANameChangedElsewhere)
{
    TfTulajd& w = Open();
    const int row = GridRowOf("Napkorona");
    GoToRow(row);
    W->tblTul.setData(W->tblTul.index(row, 0), "Napfény");
    Exec("UPDATE TVELKOR SET VELKOR_NEV = 'Napkorong' WHERE VELKOR_ID = 'M001'");
    Choose(w.rb3);
    EXPECT_EQ(Scalar("SELECT VELKOR_NEV FROM TVELKOR WHERE VELKOR_ID = 'M001'"), "Napkorong");
    ASSERT_EQ(Ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::Warning)[0].Text.contains("„Napfény”"));
}

TEST_F(TulajdTest, NewGridRowGetsTheNextIdAndIsWrittenWhenLeft)
{
    TfTulajd& w = Open();
    w.show();
    Choose(w.rb3);
    const int count = GridNames().size();
    GoToRow(count - 1);
    QTest::keyClick(w.grTul, Qt::Key_Down);  // past the last row: a new row
    ASSERT_EQ(GridNames().size(), count + 1);
    EXPECT_EQ(w.CurrentRow(), count);
    EXPECT_EQ(w.tblTul.IdAt(count), "T013");
    EXPECT_TRUE(w.grTul->Editing());
    TypeInCell("Lángoló");
    w.grTul->CommitEditor();
    GoToRow(0);
    EXPECT_EQ(Scalar("SELECT TULAJDONSAG_NEV FROM TTULAJDONSAG WHERE TULAJDONSAG_ID = 'T013'"), "Lángoló");

    // A new row that nobody typed into goes away when left; Insert makes one too.
    QTest::keyClick(w.grTul, Qt::Key_Insert);
    ASSERT_EQ(GridNames().size(), count + 2);
    w.grTul->CommitEditor();
    GoToRow(0);
    EXPECT_EQ(GridNames().size(), count + 1);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TTULAJDONSAG"), QString::number(count + 1));

    // Someone took the row's id meanwhile: the row is written under the next free one.
    QTest::keyClick(w.grTul, Qt::Key_Insert);
    const int fresh = w.CurrentRow();
    EXPECT_EQ(w.tblTul.IdAt(fresh), "T014");
    TypeInCell("Vízálló");
    w.grTul->CommitEditor();
    Exec("INSERT INTO TTULAJDONSAG VALUES ('T014', 'Máshonnan')");
    w.btnCloseClick();
    EXPECT_EQ(w.result(), int(QDialog::Accepted));
    EXPECT_EQ(Scalar("SELECT TULAJDONSAG_ID FROM TTULAJDONSAG WHERE TULAJDONSAG_NEV = 'Vízálló'"), "T015");
    EXPECT_EQ(Scalar("SELECT TULAJDONSAG_NEV FROM TTULAJDONSAG WHERE TULAJDONSAG_ID = 'T014'"), "Máshonnan");
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
}

TEST_F(TulajdTest, ClosingTheWindowKeepsAPendingName)
{
    TfTulajd& w = Open();
    w.show();
    Choose(w.rb4);
    GoToRow(GridRowOf("Kedvenc"));
    TypeInCell("Kedvencek");
    w.reject();  // the close box
    EXPECT_EQ(Scalar("SELECT KATEGORIA_NEV FROM TKATEGORIA WHERE KATEGORIA_ID = 'S006'"), "Kedvencek");
    EXPECT_FALSE(w.isVisible());
}

TEST_F(TulajdTest, EntriesStillInUseAreNotDeleted)
{
    // One used entry in each table, each used in a different way.
    Exec("INSERT INTO TKATEGORIA VALUES ('S050', 'Csak szűrésben')");
    Exec("INSERT INTO TFILTERBASE (FB_NAME, FB_CATEGORY) VALUES ('Szűrés az S050-re', '02KAT')");
    Exec("INSERT INTO TFILTER (F_FBID, F_FTID, F_FOID, F_VALUE, F_ORDER, F_GROUP, F_ANDOR, F_FIELDNAME, F_OPERATION, "
         "F_VALUETYPE) SELECT MAX(FB_ID), 11, -1, 'S050', 0, 1, '', 'TLAPTUL.LT_TULID', '=', 'SO' FROM TFILTERBASE");
    const QString godPantheon = Scalar("SELECT L_VELKOR FROM TLAP WHERE L_ID = (SELECT P_FOISTENLID FROM TPAKLI LIMIT 1)");
    ASSERT_FALSE(godPantheon.isEmpty());
    const QString usedProperty = Scalar("SELECT LT_TULID FROM TLAPTUL WHERE LT_TULID LIKE 'T%' LIMIT 1");
    const QString usedType = Scalar("SELECT L_LAPTIPUS FROM TLAP LIMIT 1");
    const QString before = Snapshot();

    TfTulajd& w = Open();
    struct Case {
        QRadioButton* Rb;
        QString Id;
        QString Says;
    };
    const Case cases[] = {{w.rb1, godPantheon, "pakli főistenének velkora"},
                          {w.rb2, usedType, "lap laptípusa"},
                          {w.rb3, usedProperty, "lap tulajdonsága"},
                          {w.rb4, "S050", "1 tárolt szűrés feltétele: „Szűrés az S050-re”"}};
    for (const Case& c : cases) {
        Choose(c.Rb);
        const int row = w.tblTul.RowOfId(c.Id);
        ASSERT_GE(row, 0) << c.Id.toStdString();
        GoToRow(row);
        Ui.Clear();
        Ui.PushYesNo(true);
        w.btnDelClick();
        ASSERT_EQ(Ui.Count(TUiKind::Warning), 1) << c.Id.toStdString();
        const QString text = Ui.Of(TUiKind::Warning)[0].Text;
        EXPECT_TRUE(text.startsWith("„" + w.tblTul.NameAt(row) + "” nem törölhető")) << text.toStdString();
        EXPECT_TRUE(text.contains(c.Says)) << text.toStdString();
        EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 0);  // refused before asking
        EXPECT_EQ(w.tblTul.RowOfId(c.Id), row);
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(w.Changed());
    EXPECT_TRUE(LookupUsage(AM->ADOConnection, LookupTableDef(0), godPantheon).join("\n").contains(" lap velkora"));
}

TEST_F(TulajdTest, UnusedEntryIsDeletedAfterTheQuestion)
{
    TfTulajd& w = Open();
    Choose(w.rb3);
    Ui.PushInput(QString("Törlendő"));
    w.btnNewClick();
    const QString id = w.tblTul.IdAt(w.CurrentRow());
    ASSERT_EQ(id, "T013");
    Ui.PushYesNo(false);
    w.btnDelClick();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TTULAJDONSAG WHERE TULAJDONSAG_ID = 'T013'"), "1");
    EXPECT_EQ(Ui.Of(TUiKind::Confirmation).value(0).Text, "Valóban szeretné törölni?");

    // The grid's own delete command asks the same question.
    w.show();
    GoToRow(w.tblTul.RowOfId(id));
    Ui.PushYesNo(true);
    QTest::keyClick(w.grTul, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Ui.Count(TUiKind::Confirmation), 2);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TTULAJDONSAG WHERE TULAJDONSAG_ID = 'T013'"), "0");
    EXPECT_EQ(w.tblTul.RowOfId(id), -1);
    EXPECT_TRUE(w.Changed());
    EXPECT_GE(w.CurrentRow(), 0);
}

TEST_F(TulajdTest, FailedStatementsReachTheErrorDialogAndWriteNothing)
{
    TfTulajd& w = Open();
    w.show();
    Exec("CREATE TRIGGER no_new_velkor BEFORE INSERT ON TVELKOR BEGIN SELECT RAISE(ABORT, 'tiltott beszúrás'); END");
    Exec("CREATE TRIGGER no_velkor_rename BEFORE UPDATE ON TVELKOR BEGIN SELECT RAISE(ABORT, 'tiltott módosítás'); END");
    const QString before = Snapshot();

    Ui.PushInput(QString("Sosem lesz"));
    w.btnNew->click();
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(Ui.Of(TUiKind::ErrorDialog)[0].Title, "Belső alkalmazáshiba");
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog)[0].Text.contains("tiltott beszúrás"));

    // A failed post on switching keeps the table, its radio button and the typed name.
    const int row = GridRowOf("Vérmező");
    GoToRow(row);
    TypeInCell("Vérmezők");
    Choose(w.rb3);
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 2);
    EXPECT_TRUE(w.rb1->isChecked());
    EXPECT_EQ(w.Prefix(), "M");
    EXPECT_EQ(GridNames().value(row), "Vérmezők");
    EXPECT_EQ(Snapshot(), before);

    // Bezárás does not close over a name that could not be written; Escape on the row gives it up.
    w.btnClose->click();
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 3);
    EXPECT_TRUE(w.isVisible());
    QTest::keyClick(w.grTul, Qt::Key_Escape);
    EXPECT_EQ(GridNames().value(row), "Vérmező");
    w.btnClose->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(w.Changed());
}

TEST_F(TulajdTest, MainWindowListsHoldTheNewEntryAfterTheWindowCloses)
{
    fMain->acTs1Execute();
    AM->qLapok.Locate("L_ID", 5);
    const QString velkor = fMain->cbVelkor->SelectedKey();
    const int pantheons = fMain->cbVelkor->count();
    ASSERT_TRUE(fMain->acTul->isEnabled());
    EXPECT_EQ(WithoutMnemonic(fMain->acTul->text()), "Egyéb adatok...");
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<TfTulajd*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        ran = true;
        Ui.PushInput(QString("Csillagtenger"));
        w->btnNew->click();
        w->rb2->click();
        Ui.PushInput(QString("varázstárgy"));
        w->btnNew->click();
        w->btnClose->click();
    });
    fMain->acTul->trigger();
    ASSERT_TRUE(ran);
    EXPECT_EQ(fMain->cbVelkor->count(), pantheons + 1);
    EXPECT_EQ(fMain->cbVelkor->LItems().last(), "M009");
    EXPECT_EQ(fMain->cbVelkor->itemText(fMain->cbVelkor->count() - 1), "Csillagtenger");
    EXPECT_EQ(fMain->cbLTipus->LItems().last(), "L015");
    EXPECT_EQ(fMain->cbVelkor->SelectedKey(), velkor);  // the card shown keeps its pantheon
    EXPECT_EQ(AM->qLapok.FieldByName("L_ID").AsInteger(), 5);
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
}

TEST_F(TulajdTest, LongNameIsNeitherCutByTheCellEditorNorWrittenBackShorter)
{
    const QString huge = QString("Őszi ") + QString(40000, u'á');
    Exec("INSERT INTO TKATEGORIA VALUES ('S090', '" + huge + "')");
    TfTulajd& w = Open();
    w.show();
    Choose(w.rb4);
    const int row = w.tblTul.RowOfId("S090");
    GoToRow(row);
    EXPECT_EQ(w.grTul->model()->index(row, 0).data(Qt::ToolTipRole).toString(), huge);
    w.grTul->edit(w.grTul->currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(w.grTul->CellEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text().size(), huge.size());
    w.grTul->CommitEditor();
    EXPECT_FALSE(w.tblTul.IsPending(row));
    w.btnCloseClick();
    EXPECT_EQ(Scalar("SELECT length(KATEGORIA_NEV) FROM TKATEGORIA WHERE KATEGORIA_ID = 'S090'"),
              QString::number(huge.size()));
}

TEST_F(TulajdTest, CentredAfterItsLayout)
{
    TfTulajd editor(nullptr);
    CenterOnScreen(&editor);
    EXPECT_LE((editor.frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center()).manhattanLength(), 2);
}
