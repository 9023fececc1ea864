// The main window and its grid on a copy of the demo program folder: start-up and close, sorting
// by title clicks, navigation, jumps, the quick-filter strip, copying a row, the layout round trip.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "widgets/LComboBox.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/uPicturePage.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "filters/uQPList.h"
#include "storage/QueryModel.h"

#include <QAbstractItemModelTester>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <functional>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { Start(); }
    void TearDown() override { Program.reset(); }

    void Start()
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        fMain->resize(fMain->size());
    }
    void Restart()
    {
        fMain->close();
        Program.reset();
        Start();
    }

    TQuery& Cards() { return AM->qLapok; }
    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    QString Field(const char* name) { return Cards().FieldByName(name).AsString(); }
    int GridColumnOf(const QString& field) { return fMain->ts2->Model()->ColumnFields().indexOf(field); }
    QLineEdit* Box(const QString& field) { return fMain->pnGridTop->findChild<QLineEdit*>("e__" + field); }
    void Enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
    void TypeInto(QLineEdit* e, const QString& text)
    {
        e->clear();
        for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};

}  // namespace

TEST_F(MainWindowTest, StartsOnTheTablePageWithEveryCard)
{
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
    EXPECT_EQ(fMain->windowTitle(), "Velkor Adatbázis");
    EXPECT_EQ(fMain->pc->currentWidget(), static_cast<QWidget*>(fMain->ts2));
    EXPECT_EQ(fMain->pc->tabPosition(), QTabWidget::East);
    EXPECT_EQ(fMain->pc->tabText(0), "Részlet");
    EXPECT_EQ(fMain->pc->tabText(1), "Táblázat");
    EXPECT_EQ(fMain->pc->tabText(2), "Kép");
    fMain->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(fMain->centralWidget()->height(), 510);
    EXPECT_EQ(fMain->width(), 780);
    EXPECT_EQ(fMain->lDb->text(), QString::number(Cards().RecordCount()) + " darab");
    EXPECT_GT(Cards().RecordCount(), 500);
    EXPECT_EQ(Cards().RecNo(), 0);
    EXPECT_EQ(fMain->grQuery->currentIndex().row(), 0);
    EXPECT_EQ(fMain->ts2->Model()->columnCount(), 9);
    EXPECT_EQ(fMain->grQuery->columnWidth(0), 120);  // no settings file: every column 120 wide
    EXPECT_EQ(fMain->cbVelkor->count(), Scalar("SELECT COUNT(*) FROM TVELKOR").toInt());
    EXPECT_EQ(fMain->cbLTipus->LItems().value(4), "L004");
    QAbstractItemModelTester tester(fMain->ts2->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    AM->ReQuery();
}

TEST_F(MainWindowTest, ActionsWithoutBehaviourYetAreDisabledAndNavigationIsEnabled)
{
    for (QAction* a : {fMain->acNext, fMain->acPrior, fMain->ac5Next, fMain->ac5Prior, fMain->acTs1, fMain->acTs2,
                       fMain->acTs3, fMain->acAbout, fMain->acExit, fMain->acHelp, fMain->acNewDeck,
                       fMain->acDeckBrowser, fMain->acOpenDeck, fMain->acExportExcel})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a : {fMain->acSaveDeck, fMain->acAddCard})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(fMain->acNext->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(fMain->acDisableFilter->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(fMain->acNext->toolTip(), "Következő");
    EXPECT_EQ(fMain->acLeidezesFilter->text(), "Leidézés szűrés");
    // Disabled actions do nothing when triggered.
    fMain->acSaveDeck->trigger();
    EXPECT_TRUE(Ui.Records().isEmpty());
}

TEST_F(MainWindowTest, NavigationStopsAtTheEnds)
{
    const int last = Cards().RecordCount() - 1;
    fMain->acNext->trigger();
    EXPECT_EQ(Cards().RecNo(), 1);
    EXPECT_EQ(fMain->grQuery->currentIndex().row(), 1);
    fMain->acPrior->trigger();
    fMain->acPrior->trigger();
    EXPECT_EQ(Cards().RecNo(), 0);
    Cards().SetRecNo(last - 4);
    fMain->ac5Next->trigger();  // four rows before the end lands on the last row
    EXPECT_EQ(Cards().RecNo(), last);
    fMain->ac5Next->trigger();
    EXPECT_EQ(Cards().RecNo(), last);
    fMain->ac5Prior->trigger();
    EXPECT_EQ(Cards().RecNo(), last - 5);
    // Moving the grid's row moves the card list.
    fMain->grQuery->setCurrentIndex(fMain->ts2->Model()->index(3, 1));
    EXPECT_EQ(Cards().RecNo(), 3);
}

TEST_F(MainWindowTest, JumpsByNumberAndByName)
{
    TypeInto(fMain->eUgrLSZ, "7");
    Enter(fMain->eUgrLSZ);
    EXPECT_EQ(fMain->eUgrLSZ->text(), "007");
    EXPECT_EQ(Field("L_LAPSZAM"), "007");
    EXPECT_EQ(fMain->eUgrNev->text(), Field("L_NEV"));

    const int before = Cards().RecNo();
    TypeInto(fMain->eUgrLSZ, "999");
    Enter(fMain->eUgrLSZ);
    EXPECT_EQ(Cards().RecNo(), before);  // no such card: the current card stays
    EXPECT_EQ(fMain->eUgrNev->text(), Field("L_NEV"));

    // The first card, in the list's current order, whose name begins with the text in any case.
    dmColumns->TitleClick("L_NEV", false);
    fMain->RefreshGrid();
    TypeInto(fMain->eUgrNev, "áb");
    Enter(fMain->eUgrNev);
    const QString found = Field("L_NEV");
    EXPECT_TRUE(found.toCaseFolded().startsWith("áb")) << found.toStdString();
    for (int r = 0; r < Cards().RecNo(); ++r)
        EXPECT_FALSE(Cards().ValueText(r, Cards().FindField("L_NEV")).toCaseFolded().startsWith("áb"));
    EXPECT_EQ(fMain->eUgrLSZ->text(), Field("L_LAPSZAM"));
}

TEST_F(MainWindowTest, TitleClicksSortAndMarkTheTitles)
{
    TGridPage* page = fMain->ts2;
    const auto title = [&](const char* field) {
        return page->Model()->headerData(GridColumnOf(field), Qt::Horizontal).toString();
    };
    page->grQueryTitleClick(GridColumnOf("L_LAPSZAM"));
    EXPECT_TRUE(Cards().SQL().endsWith("ORDER BY L_LAPSZAM ASC"));
    EXPECT_EQ(title("L_LAPSZAM"), "Szám [ + ]");
    EXPECT_TRUE(page->Model()->headerData(GridColumnOf("L_LAPSZAM"), Qt::Horizontal, Qt::BackgroundRole).isValid());
    page->grQueryTitleClick(GridColumnOf("L_LAPSZAM"));
    EXPECT_TRUE(Cards().SQL().endsWith("ORDER BY L_LAPSZAM DESC"));
    EXPECT_EQ(title("L_LAPSZAM"), "Szám [ - ]");
    EXPECT_EQ(Field("L_LAPSZAM"), Scalar("SELECT MAX(L_LAPSZAM) FROM TLAP"));

    fMain->CtrlHeld = true;
    page->grQueryTitleClick(GridColumnOf("L_NEV"));
    EXPECT_TRUE(Cards().SQL().endsWith("ORDER BY L_LAPSZAM DESC,L_NEV COLLATE NOCASE ASC"));
    EXPECT_EQ(title("L_LAPSZAM"), "1:Szám [ - ]");
    EXPECT_EQ(title("L_NEV"), "2:Megnevezés [ + ]");

    fMain->CtrlHeld = false;
    page->grQueryTitleClick(GridColumnOf("VELKOR_NEV"));  // a plain click drops every other key
    EXPECT_TRUE(Cards().SQL().endsWith("ORDER BY VELKOR_NEV COLLATE NOCASE ASC"));
    EXPECT_EQ(title("L_LAPSZAM"), "Szám");
    EXPECT_FALSE(page->Model()->headerData(GridColumnOf("L_LAPSZAM"), Qt::Horizontal, Qt::BackgroundRole).isValid());
}

TEST_F(MainWindowTest, CtrlKeyIsTrackedByTheGrid)
{
    QTest::keyPress(fMain->grQuery, Qt::Key_Control);
    EXPECT_TRUE(fMain->CtrlHeld);
    // Released while another control has the focus: the flag stays.
    QTest::keyRelease(fMain->eUgrNev, Qt::Key_Control);
    EXPECT_TRUE(fMain->CtrlHeld);
    QTest::keyRelease(fMain->grQuery, Qt::Key_Control);
    EXPECT_FALSE(fMain->CtrlHeld);
}

TEST_F(MainWindowTest, QuickFilterBoxesSitOverTheirColumnsAndFilter)
{
    TGridPage* page = fMain->ts2;
    fMain->show();
    QCoreApplication::processEvents();
    QHeaderView* header = fMain->grQuery->horizontalHeader();
    // A box's left edge, in the header's coordinates.
    const auto boxLeft = [&](QLineEdit* box) { return box->mapTo(fMain, QPoint(0, 0)).x() - header->mapTo(fMain, QPoint(0, 0)).x(); };
    ASSERT_EQ(page->QuickFilterBoxes.size(), 9);
    for (int col = 0; col < 6; ++col) {  // the columns wholly in view
        QLineEdit* box = page->QuickFilterBoxes[col];
        EXPECT_EQ(box->objectName(), "e__" + page->Model()->ColumnFields()[col]);
        EXPECT_EQ(boxLeft(box), header->sectionPosition(col));
        EXPECT_EQ(box->width(), fMain->grQuery->columnWidth(col));
        EXPECT_EQ(box->y(), 1);
    }

    TypeInto(Box("L_NEV"), "Ab");
    // The name column moves to the end; its box follows it and still filters on the name.
    fMain->grQuery->horizontalHeader()->moveSection(1, 8);  // as a drag of its title does
    EXPECT_EQ(dmColumns->cCols[8].FieldName(), "L_NEV");
    EXPECT_EQ(page->Model()->ColumnFields()[8], "L_NEV");
    EXPECT_FALSE(Box("L_NEV")->isVisible());  // beyond the right edge
    EXPECT_EQ(Box("L_NEV")->text(), "Ab");
    Enter(Box("L_NEV"));
    ASSERT_GT(Cards().RecordCount(), 0);
    for (int r = 0; r < Cards().RecordCount(); ++r)
        EXPECT_TRUE(Cards().ValueText(r, Cards().FindField("L_NEV")).toCaseFolded().startsWith("ab"));
    EXPECT_EQ(fMain->lDb->text(), QString::number(Cards().RecordCount()) + " darab");

    // Resizing a column moves the boxes right of it and writes the width into the model.
    fMain->grQuery->horizontalHeader()->resizeSection(0, 60);
    EXPECT_EQ(dmColumns->cCols[0].Width, 60);
    EXPECT_EQ(boxLeft(Box(page->Model()->ColumnFields()[1])), 60);
}

TEST_F(MainWindowTest, AScrolledOutBoxLosesItsText)
{
    TGridPage* page = fMain->ts2;
    TypeInto(Box("L_LAPSZAM"), "00");
    TypeInto(Box("L_NEV"), "A");
    fMain->show();
    QCoreApplication::processEvents();
    fMain->grQuery->horizontalScrollBar()->setValue(1);
    EXPECT_EQ(page->FirstVisibleColumn(), 1);
    EXPECT_EQ(Box("L_LAPSZAM"), nullptr);
    EXPECT_EQ(Box("L_NEV")->text(), "A");
    EXPECT_EQ(Box("L_NEV")->mapTo(fMain, QPoint(0, 0)).x(),
              fMain->grQuery->horizontalHeader()->mapTo(fMain, QPoint(0, 0)).x());  // at the grid's left edge
    fMain->grQuery->horizontalScrollBar()->setValue(0);
    ASSERT_NE(Box("L_LAPSZAM"), nullptr);
    EXPECT_EQ(Box("L_LAPSZAM")->text(), "");
    EXPECT_EQ(Box("L_NEV")->text(), "A");
}

TEST_F(MainWindowTest, CtrlCCopiesTheRowInGridOrder)
{
    for (int i = 0; i < dmColumns->cCols.Count(); ++i) {
        const QString f = dmColumns->cCols[i].FieldName();
        dmColumns->cCols[i].Visible = f == "L_LAPSZAM" || f == "L_NEV";
    }
    fMain->RefreshGrid();
    ASSERT_EQ(fMain->ts2->Model()->columnCount(), 2);
    QTest::keyClick(fMain->grQuery, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Ui.Clipboard(), Field("L_LAPSZAM") + "\t" + Field("L_NEV"));
    fMain->acNext->trigger();
    QTest::keyClick(fMain->grQuery, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(Ui.Clipboard(), Field("L_LAPSZAM") + "\t" + Field("L_NEV"));
}

TEST_F(MainWindowTest, LayoutSurvivesARestart)
{
    TGridPage* page = fMain->ts2;
    fMain->grQuery->horizontalHeader()->moveSection(0, 4);
    fMain->grQuery->horizontalHeader()->resizeSection(2, 77);
    page->grQueryTitleClick(1);
    fMain->CtrlHeld = true;
    page->grQueryTitleClick(4);
    fMain->CtrlHeld = false;
    const QStringList fields = page->Model()->ColumnFields();
    const QString orderBy = dmColumns->BuildOrderBy();
    Restart();
    EXPECT_EQ(fMain->ts2->Model()->ColumnFields(), fields);
    EXPECT_EQ(fMain->grQuery->columnWidth(2), 77);
    EXPECT_EQ(dmColumns->BuildOrderBy(), orderBy);
    EXPECT_TRUE(Cards().SQL().endsWith(orderBy));
}

TEST_F(MainWindowTest, ViewActionsSwitchPages)
{
    fMain->acTs1->trigger();
    EXPECT_EQ(fMain->pc->currentWidget(), static_cast<QWidget*>(fMain->ts1));
    fMain->acTs3->trigger();
    EXPECT_EQ(fMain->pc->currentWidget(), fMain->ts3);
    dmColumns->cCols[2].Visible = false;
    fMain->acTs2->trigger();  // rebuilds the columns from the model
    EXPECT_EQ(fMain->pc->currentWidget(), static_cast<QWidget*>(fMain->ts2));
    EXPECT_EQ(fMain->ts2->Model()->columnCount(), 8);
}

TEST_F(MainWindowTest, AFilterThatEmptiesTheListLeavesNoCurrentCard)
{
    TypeInto(Box("L_NEV"), "qqqq-nincs");
    Enter(Box("L_NEV"));
    EXPECT_EQ(fMain->lDb->text(), "0 darab");
    EXPECT_EQ(Cards().RecNo(), -1);
    fMain->acNext->trigger();
    fMain->ac5Prior->trigger();
    TypeInto(fMain->eUgrLSZ, "1");
    Enter(fMain->eUgrLSZ);
    EXPECT_EQ(fMain->eUgrNev->text(), "");
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
}

TEST(MainWindowStart, AFailedConnectionIsReportedAndTheWindowStaysUsable)
{
    QTemporaryDir dir;  // a program folder without a catalogue
    TTestUiHost ui;
    {
        TProgram program(dir.path());
        program.Create();
        ASSERT_EQ(ui.Count(TUiKind::ErrorDialog), 1);
        EXPECT_EQ(ui.Of(TUiKind::ErrorDialog)[0].Title, "Hiba a csatlakozás közben");
        EXPECT_FALSE(fMain->Connected());
        for (QAction* a : fMain->actions())
            if (a->isEnabled() && a != fMain->acExit && a != fMain->acAbout && a != fMain->acHelp) a->trigger();
        fMain->RefreshGrid();
        fMain->eUgrNevEnter();
        EXPECT_EQ(ui.Count(TUiKind::ErrorDialog), 1);
        fMain->close();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("DB/Velkor.db")));
    EXPECT_TRUE(QFile::exists(dir.filePath("velkor.ini")));  // closing still writes the settings
}

namespace {
// Paints one grid cell of the given column with the grid's delegate and with a plain one.
std::pair<QImage, QImage> PaintCell(QTableView* grid, int row, int column)
{
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.rect = QRect(0, 0, 120, 19);
    option.state &= ~QStyle::State_Selected;
    const QModelIndex index = grid->model()->index(row, column);
    QImage ours(120, 19, QImage::Format_RGB32), plain(120, 19, QImage::Format_RGB32);
    ours.fill(Qt::white);
    plain.fill(Qt::white);
    {
        QPainter p(&ours);
        grid->itemDelegate()->paint(&p, option, index);
    }
    {
        QPainter p(&plain);
        QStyledItemDelegate().paint(&p, option, index);
    }
    return {ours, plain};
}
}  // namespace

TEST_F(MainWindowTest, TheSixthColumnIsDrawnAsIconsWhateverItHolds)
{
    TGridPage* page = fMain->ts2;
    ASSERT_EQ(page->Model()->ColumnFields()[5], "L_LEIDEZES");
    int row = 0;
    while (row < Cards().RecordCount() && Cards().ValueText(row, Cards().FindField("L_LEIDEZES")).isEmpty()) ++row;
    ASSERT_LT(row, Cards().RecordCount());
    auto [icons, text] = PaintCell(fMain->grQuery, row, 5);
    EXPECT_NE(icons, text);
    auto [other, otherPlain] = PaintCell(fMain->grQuery, row, 4);
    EXPECT_EQ(other, otherPlain);

    // The name column moved into position 5: names have characters without icons, so they stay text.
    fMain->grQuery->horizontalHeader()->moveSection(1, 5);
    ASSERT_EQ(page->Model()->ColumnFields()[5], "L_NEV");
    auto [name, namePlain] = PaintCell(fMain->grQuery, 0, 5);
    EXPECT_EQ(name, namePlain);
}

TEST(MainWindowStart, ABadColumnPositionInTheSettingsStopsCreationWithTheInternalError)
{
    TTempCatalogue cat;
    {
        QFile ini(cat.ProgramDir() + "/velkor.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[cCols_ORDERING]\nL_NEV=40\n");
    }
    TTestUiHost ui;
    TProgram program(cat.ProgramDir());
    program.Create();
    ASSERT_EQ(ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(ui.Of(TUiKind::ErrorDialog)[0].Title, "Belső alkalmazáshiba");
    fMain->acNext->trigger();  // the window stays usable
    fMain->close();
    // Closing writes a sound layout back, so the next start is clean.
    TSettings settings;
    TdmColumns columns;
    EXPECT_NO_THROW(ReadSettings(cat.ProgramDir() + "/velkor.ini", settings, columns));
}

TEST(MainWindowStart, AnUnwritableProgramFolderIsReportedAtClose)
{
    TTempCatalogue cat;
    TTestUiHost ui;
    TProgram program(cat.ProgramDir());
    program.Create();
    TImmutable locked(cat.ProgramDir());
    if (!locked.Active() || QFile(cat.ProgramDir() + "/probe").open(QIODevice::WriteOnly))
        GTEST_SKIP() << "cannot make the folder unwritable here";
    fMain->close();
    ASSERT_EQ(ui.Count(TUiKind::Warning), 1);
    EXPECT_TRUE(ui.Of(TUiKind::Warning)[0].Text.contains("nem írható"));
    EXPECT_FALSE(QFile::exists(cat.ProgramDir() + "/velkor.ini"));
}

// Every menu of the bar and every item in it can be reached from the keyboard, each letter once per
// menu, the captions otherwise unchanged; the tool row's labels lead to their boxes.
TEST_F(MainWindowTest, EveryMenuAndItemHasItsOwnMnemonic)
{
    QStringList before;
    for (QAction* m : fMain->menuBar()->actions()) before << m->text();
    fMain->AssignMenuMnemonics();
    auto mnemonic = [](const QString& text) {
        for (int i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != u'&') continue;
            if (text[i + 1] != u'&') return text[i + 1].toLower();
            ++i;
        }
        return QChar();
    };
    std::function<void(QList<QAction*>, const QString&)> check = [&](QList<QAction*> actions, const QString& where) {
        QSet<QChar> used;
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible()) continue;
            const QChar m = mnemonic(a->text());
            EXPECT_FALSE(m.isNull()) << where.toStdString() << ": " << a->text().toStdString();
            EXPECT_FALSE(used.contains(m)) << where.toStdString() << ": " << a->text().toStdString();
            used.insert(m);
            if (a->menu()) check(a->menu()->actions(), WithoutMnemonic(a->text()));
        }
    };
    check(fMain->menuBar()->actions(), "menüsor");
    QStringList after;
    for (QAction* m : fMain->menuBar()->actions()) after << WithoutMnemonic(m->text());
    EXPECT_EQ(after, before);
    for (const char* name : {"eUgrLSZ", "cbFilter"}) {
        bool hasBuddy = false;
        for (QLabel* l : fMain->findChildren<QLabel*>())
            if (l->buddy() && l->buddy()->objectName() == name) hasBuddy = true;
        EXPECT_TRUE(hasBuddy) << name;
    }
}

TEST_F(MainWindowTest, HiddenColumnPictureModeAndSaveFolderAreKeptBetweenRuns)
{
    dmColumns->cCols[1].Caption = "Név & szám";
    std::unique_ptr<QMenu> menu(fMain->ts2->BuildColumnMenu(nullptr));
    EXPECT_EQ(menu->actions()[1]->text(), "Név && szám");  // no keyboard mark
    menu->actions()[1]->trigger();
    fMain->ts3->SetPictureMode(pmQuarter);
    SetLastSaveFolder(Cat.ProgramDir());
    Restart();
    SetLastSaveFolder(QString());
    Restart();
    EXPECT_FALSE(dmColumns->cCols[1].Visible);
    EXPECT_EQ(fMain->ts3->PictureMode(), int(pmQuarter));
    EXPECT_EQ(SaveDialogStart("pakli.htm"), Cat.ProgramDir() + "/pakli.htm");
}
