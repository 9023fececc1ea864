// The table page under real use: the window shown, the grid scrolled, the quick-filter strip
// placed over the columns and driven by keys, the current row after column drags.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uDetailPage.h"
#include "browser/uGridPage.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "storage/QueryModel.h"
#include "storage/uAM.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

class GridPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        fMain->show();
        QCoreApplication::processEvents();
        // Fails the run at once when a reset or a change of the grid's model breaks the contract.
        Tester = std::make_unique<QAbstractItemModelTester>(Page()->Model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override
    {
        Tester.reset();
        fMain->close();
        Program.reset();
    }

    TGridPage* Page() { return fMain->ts2; }
    QHeaderView* Header() { return fMain->grQuery->horizontalHeader(); }
    QScrollBar* HScroll() { return fMain->grQuery->horizontalScrollBar(); }
    QLineEdit* Box(const QString& field) { return fMain->pnGridTop->findChild<QLineEdit*>("e__" + field); }
    int ColumnOf(const QString& field) { return Page()->Model()->ColumnFields().indexOf(field); }
    void ScrollFullyRight()
    {
        HScroll()->setValue(HScroll()->maximum());
        QCoreApplication::processEvents();
    }
    void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Every box covers exactly the part of its column that the grid shows, in screen
    // coordinates; boxes of columns beyond the right edge are hidden.
    void ExpectBoxesOverTheirColumns(const char* when)
    {
        SCOPED_TRACE(when);
        QWidget* vp = Header()->viewport();
        const int vpLeft = vp->mapToGlobal(QPoint(0, 0)).x();
        ASSERT_FALSE(Page()->QuickFilterBoxes.isEmpty());
        EXPECT_EQ(Page()->QuickFilterBoxes[0]->objectName(),
                  "e__" + Page()->Model()->ColumnFields()[Page()->FirstVisibleColumn()]);
        for (const auto& box : Page()->QuickFilterBoxes) {
            ASSERT_TRUE(box);
            const int col = ColumnOf(box->objectName().mid(3));
            ASSERT_GE(col, 0);
            const int start = Header()->sectionViewportPosition(col);
            const int left = std::max(0, start);
            const int right = std::min(vp->width(), start + Header()->sectionSize(col));
            if (right <= left) {
                EXPECT_FALSE(box->isVisible()) << box->objectName().toStdString();
                continue;
            }
            EXPECT_TRUE(box->isVisible()) << box->objectName().toStdString();
            EXPECT_EQ(box->mapToGlobal(QPoint(0, 0)).x(), vpLeft + left) << box->objectName().toStdString();
            EXPECT_EQ(box->width(), right - left) << box->objectName().toStdString();
            EXPECT_EQ(box->y(), 1);
        }
    }
    void ExpectCountMatches() { EXPECT_EQ(fMain->lDb->text(), QString::number(AM->qLapok.RecordCount()) + " darab"); }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    std::unique_ptr<QAbstractItemModelTester> Tester;
};

}  // namespace

TEST_F(GridPageTest, EnterAndF3WithTheGridScrolledFullyRight)
{
    ScrollFullyRight();
    const int first = Page()->FirstVisibleColumn();
    ASSERT_GT(first, 0);
    ASSERT_LT(Header()->sectionViewportPosition(first), 0);  // the first column is partly shown

    // The box over the partly shown column, then one in the middle; each runs its filter.
    QPointer<QLineEdit> edge = Page()->QuickFilterBoxes[0];
    const QString edgeField = edge->objectName().mid(3);
    edge->setFocus();
    QTest::keyClicks(edge, "2");
    QTest::keyClick(edge, Qt::Key_Return);
    Settle();
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->text(), "2");
    ExpectCountMatches();
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
    EXPECT_EQ(Page()->FirstVisibleColumn(), first);  // the requery leaves the grid where it was
    ExpectBoxesOverTheirColumns("after Enter");

    QPointer<QLineEdit> db = Box("L_DB");
    ASSERT_TRUE(db);
    db->setFocus();
    QTest::keyClicks(db, ">0");
    QTest::keyClick(db, Qt::Key_F3);
    Settle();
    ASSERT_TRUE(db);
    ExpectCountMatches();
    const int dbField = AM->qLapok.FindField("L_DB");
    for (int r = 0; r < AM->qLapok.RecordCount(); ++r) EXPECT_GT(AM->qLapok.ValueText(r, dbField).toInt(), 0);
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).isEmpty());
    ExpectBoxesOverTheirColumns("after F3");
    EXPECT_EQ(Box(edgeField)->text(), "2");
}

TEST_F(GridPageTest, ABoxWhoseColumnScrollsOutWhileItRunsItsFilterLives)
{
    // Something the filter run does scrolls the grid to its right end: the box handling the key
    // loses its column at once, inside its own key press.
    QObject::connect(Page(), &TGridPage::QuickFilterRun, Page(), [this] { HScroll()->setValue(HScroll()->maximum()); });
    for (const auto key : {Qt::Key_Return, Qt::Key_F3}) {
        HScroll()->setValue(0);
        Settle();
        QPointer<QLineEdit> number = Box("L_LAPSZAM");
        ASSERT_TRUE(number);
        number->setText("00");
        QTest::keyClick(number, key);
        EXPECT_EQ(Box("L_LAPSZAM"), nullptr);  // scrolled out: no box by that name any more
        Settle();
        EXPECT_FALSE(number);  // destroyed once its event was over
        ExpectCountMatches();
        ExpectBoxesOverTheirColumns("scrolled out by the run");
    }

    // A filter that empties the list and one that fills it again: the vertical scroll bar goes
    // and comes back, the columns shift under the strip inside the key press, and the strip
    // follows them.
    QObject::disconnect(Page(), &TGridPage::QuickFilterRun, Page(), nullptr);
    for (int c = 0; c < Header()->count(); ++c) Header()->resizeSection(c, 123);
    ScrollFullyRight();
    QPointer<QLineEdit> box = Page()->QuickFilterBoxes[0];
    box->setText("qqqq-nincs");
    QTest::keyClick(box, Qt::Key_F3);
    Settle();
    EXPECT_EQ(AM->qLapok.RecordCount(), 0);
    ExpectBoxesOverTheirColumns("empty list");
    ScrollFullyRight();
    box = Page()->QuickFilterBoxes[0];
    box->setText("qqqq-nincs");
    QTest::keyClick(box, Qt::Key_Return);
    box->clear();
    QTest::keyClick(box, Qt::Key_Return);
    Settle();
    EXPECT_GT(AM->qLapok.RecordCount(), 500);
    ExpectBoxesOverTheirColumns("full list again");
}

TEST_F(GridPageTest, BoxesStandOverTheirColumnsAtEveryScrollPosition)
{
    for (int v = 0; v <= HScroll()->maximum(); ++v) {
        HScroll()->setValue(v);
        QCoreApplication::processEvents();
        ExpectBoxesOverTheirColumns(qPrintable(QStringLiteral("scroll %1").arg(v)));
    }
    // Scrolled fully right, the box over "Laptípus" filters "Laptípus".
    ScrollFullyRight();
    QWidget* vp = Header()->viewport();
    const int laptipus = ColumnOf("LAPTIPUS_NEV");
    const QPoint middle = vp->mapToGlobal(
        QPoint(Header()->sectionViewportPosition(laptipus) + Header()->sectionSize(laptipus) / 2, 0));
    QWidget* under = QApplication::widgetAt(QPoint(middle.x(), fMain->pnGridTop->mapToGlobal(QPoint(0, 12)).y()));
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(under->objectName(), "e__LAPTIPUS_NEV");

    // A resize and a move re-place the boxes at once.
    Header()->resizeSection(ColumnOf("L_HP"), 60);
    ExpectBoxesOverTheirColumns("after a resize");
    Header()->moveSection(ColumnOf("L_DB"), Page()->FirstVisibleColumn() + 1);
    QCoreApplication::processEvents();
    ExpectBoxesOverTheirColumns("after a move");
    HScroll()->setValue(0);
    QCoreApplication::processEvents();
    ExpectBoxesOverTheirColumns("back at the left");
}

TEST_F(GridPageTest, TheCurrentRowStaysHighlightedAfterAColumnIsDragged)
{
    fMain->acNext->trigger();
    fMain->acNext->trigger();
    const int row = AM->qLapok.RecNo();
    ASSERT_TRUE(fMain->grQuery->selectionModel()->isRowSelected(row, QModelIndex()));
    Header()->moveSection(1, 4);  // as a drag of its title does
    EXPECT_EQ(AM->qLapok.RecNo(), row);
    EXPECT_EQ(fMain->grQuery->currentIndex().row(), row);
    EXPECT_TRUE(fMain->grQuery->selectionModel()->isRowSelected(row, QModelIndex()));
}

TEST_F(GridPageTest, LongCardNamesShowTheirBeginning)
{
    const QString name = QStringLiteral("Árnyékvilág Őrzője, a Hosszú");  // 28 characters
    {
        TConnection conn;
        conn.Open(Cat.DbPath());
        TCommand c(&conn);
        c.SetSQL("UPDATE TLAP SET L_NEV = :N, L_LAPSZAM = '001' WHERE L_ID = :ID");
        c.SetParam("N", name);
        c.SetParam("ID", AM->qLapok.FieldByName("L_ID").AsLargeInt());
        c.Execute();
    }
    AM->ReQuery();
    fMain->eUgrLSZ->setText("1");
    fMain->eUgrLSZEnter();
    ASSERT_EQ(fMain->eUgrNev->text(), name);
    EXPECT_EQ(fMain->eUgrNev->cursorPosition(), 0);
    fMain->acTs1->trigger();
    ASSERT_EQ(fMain->ts1->eNev->text(), name);
    EXPECT_EQ(fMain->ts1->eNev->cursorPosition(), 0);
}
