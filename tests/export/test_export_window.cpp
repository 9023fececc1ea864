// The export commands of the main window on a copy of the demo catalogue: where they are, and that
// they export the card list as the grid shows it (filtered, sorted, hidden and moved columns).
#include "TestCatalogue.h"
#include "export/ExportRead.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "app/WidgetUtil.h"
#include "browser/uGridPage.h"
#include "browser/udmColumns.h"
#include "browser/ufMain.h"
#include "export/uExportText.h"
#include "export/udmExport.h"
#include "storage/QueryModel.h"

#include <QAction>
#include <QRegularExpression>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

class ExportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        dmExport->WorkbookFolder = Out.path();
    }
    void TearDown() override
    {
        fMain->close();
        Program.reset();
    }

    TQuery& Cards() { return AM->qLapok; }
    QTableView* Grid() { return fMain->grQuery; }
    // The clipboard export's records, as a spreadsheet reads them.
    QList<QStringList> ClipboardRecords()
    {
        Ui.Clear();
        fMain->acExportClipboard->trigger();
        return ReadCsv(Ui.Clipboard(), u'\t');
    }
    // The grid's cells of a row, in on-screen order.
    QStringList GridRow(int row)
    {
        QStringList values;
        const QHeaderView* header = Grid()->horizontalHeader();
        for (int visual = 0; visual < header->count(); ++visual)
            values << Grid()->model()->index(row, header->logicalIndex(visual)).data().toString();
        return values << QString();  // the separator after the last value
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
    QTemporaryDir Out;
};

TEST_F(ExportWindowTest, CommandsAreUnderDataExportAndInTheGridMenu)
{
    const QList<QAction*> expected{fMain->acExportExcel, fMain->acExportText, fMain->acExportClipboard};
    QMenu* data = nullptr;
    for (QAction* a : fMain->menuBar()->actions())
        if (WithoutMnemonic(a->text()) == "Adatok") data = a->menu();
    ASSERT_NE(data, nullptr);
    QMenu* exportMenu = nullptr;
    for (QAction* a : data->actions())
        if (WithoutMnemonic(a->text()) == "Export") exportMenu = a->menu();
    ASSERT_NE(exportMenu, nullptr);
    EXPECT_EQ(exportMenu->actions(), expected);
    for (QAction* a : expected) {
        EXPECT_TRUE(fMain->pmGrid->actions().contains(a)) << a->text().toStdString();
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    }
    EXPECT_EQ(WithoutMnemonic(fMain->acExportExcel->text()), "Export Excelbe");
    EXPECT_EQ(WithoutMnemonic(fMain->acExportText->text()), QString::fromUtf8("Export CSV fájlba"));
    EXPECT_EQ(WithoutMnemonic(fMain->acExportClipboard->text()), QString::fromUtf8("Export vágólapra"));
}

TEST_F(ExportWindowTest, ClipboardHoldsTheGridAsShownAndTheMessageFollows)
{
    ASSERT_GT(Cards().RecordCount(), 10);
    Cards().SetRecNo(5);
    const QString current = Cards().FieldByName("L_NEV").AsString();
    QSignalSpy changes(&Cards(), &TQuery::DataChange);
    const QList<QStringList> records = ClipboardRecords();
    ASSERT_EQ(records.size(), Cards().RecordCount());
    for (int row : {0, 5, Cards().RecordCount() - 1}) EXPECT_EQ(records[row], GridRow(row)) << row;
    EXPECT_EQ(changes.count(), 0) << "the pages do not refresh during an export";
    EXPECT_EQ(Cards().RecNo(), 5);
    EXPECT_EQ(Cards().FieldByName("L_NEV").AsString(), current);
    ASSERT_EQ(Ui.Records().size(), 2);
    EXPECT_EQ(Ui.Records()[0].Kind, TUiKind::Clipboard);
    EXPECT_EQ(Ui.Records()[1].Kind, TUiKind::Information);
    EXPECT_EQ(Ui.Records()[1].Text, QString::fromUtf8("A vágólapra másolás sikeres."));
}

TEST_F(ExportWindowTest, FilteredAndSortedListIsExportedInItsOrder)
{
    QLineEdit* box = fMain->pnGridTop->findChild<QLineEdit*>("e__L_NEV");
    ASSERT_NE(box, nullptr);
    box->setText("a");
    QTest::keyClick(box, Qt::Key_Return);
    const int filtered = Cards().RecordCount();
    fMain->ts2->grQueryTitleClick(fMain->ts2->Model()->ColumnFields().indexOf("L_NEV"));
    fMain->ts2->grQueryTitleClick(fMain->ts2->Model()->ColumnFields().indexOf("L_NEV"));  // descending
    ASSERT_TRUE(Cards().SQL().contains(QRegularExpression("L_NEV( COLLATE NOCASE)? DESC")));
    ASSERT_EQ(Cards().RecordCount(), filtered);
    const QList<QStringList> records = ClipboardRecords();
    ASSERT_EQ(records.size(), filtered);
    const int name = Cards().FindField("L_NEV");
    for (int row = 0; row < filtered; ++row) EXPECT_EQ(records[row][1], Cards().ValueText(row, name)) << row;
}

TEST_F(ExportWindowTest, HiddenColumnsAreLeftOutAndAMovedColumnMovesInTheNextExport)
{
    const int all = fMain->ts2->Model()->columnCount();
    dmColumns->cCols[dmColumns->FindColumn("L_UTAK")].Visible = false;
    fMain->RebuildGridColumns();
    QList<QStringList> records = ClipboardRecords();
    ASSERT_FALSE(records.isEmpty());
    EXPECT_EQ(records[0].size(), all - 1 + 1);
    EXPECT_EQ(records[0], GridRow(0));
    EXPECT_FALSE(GridExportFields(Grid()).contains("L_UTAK"));

    // Dragging "Szám" to the third place.
    Grid()->horizontalHeader()->moveSection(0, 2);
    EXPECT_EQ(GridExportFields(Grid()).mid(0, 3), (QStringList{"L_NEV", "VELKOR_NEV", "L_LAPSZAM"}));
    records = ClipboardRecords();
    EXPECT_EQ(records[0], GridRow(0));
    EXPECT_EQ(records[0][2], Cards().ValueText(0, Cards().FindField("L_LAPSZAM")));
}

TEST_F(ExportWindowTest, CsvCommandAsksForTheFileAndAddsTheExtension)
{
    Ui.PushSaveFile(Out.filePath("kártyák"));
    fMain->acExportText->trigger();
    ASSERT_EQ(Ui.Count(TUiKind::SaveFile), 1);
    EXPECT_EQ(Ui.Of(TUiKind::SaveFile)[0].Title, QString::fromUtf8("Táblázat mentése CSV fájlba"));
    EXPECT_EQ(Ui.Of(TUiKind::SaveFile)[0].Text, QString::fromUtf8("CSV fájlok|*.csv|Minden fájl|*.*"));
    EXPECT_EQ(dmExport->sd.DefaultExt, "csv");
    EXPECT_TRUE(dmExport->sd.ConfirmOverwrite);
    QFile file(Out.filePath("kártyák.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith(UTF8_BOM));
    const QList<QStringList> records = ReadCsv(QString::fromUtf8(bytes.mid(3)), u';');
    ASSERT_EQ(records.size(), Cards().RecordCount());
    EXPECT_EQ(records[3], GridRow(3));
    EXPECT_EQ(Ui.Of(TUiKind::Information).value(0).Text, "A lista elkészült:\n" + file.fileName());

    // The next export starts from the name chosen; cancelling writes and says nothing.
    Ui.Clear();
    fMain->acExportText->trigger();
    ASSERT_EQ(Ui.Count(TUiKind::SaveFile), 1);
    EXPECT_EQ(Ui.Of(TUiKind::SaveFile)[0].Extra, Out.filePath("kártyák.csv"));
    EXPECT_EQ(Ui.Records().size(), 1);
    EXPECT_EQ(QDir(Out.path()).entryList(QDir::Files), QStringList{"kártyák.csv"});
}

TEST_F(ExportWindowTest, UnwritableCsvTargetReachesTheErrorDialog)
{
    Ui.PushSaveFile(Out.filePath("nincs/lista.csv"));
    fMain->acExportText->trigger();
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(Ui.Of(TUiKind::ErrorDialog)[0].Title, QString::fromUtf8("Belső alkalmazáshiba"));
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog)[0].Text.contains("lista.csv"));
}

TEST_F(ExportWindowTest, ExcelCommandWritesAndOpensTheWorkbook)
{
    Cards().SetRecNo(2);
    fMain->acExportExcel->trigger();
    ASSERT_EQ(Ui.Count(TUiKind::Shell), 1);
    const QString book = dmExport->LastWorkbook();
    EXPECT_TRUE(QFileInfo(book).fileName().startsWith("Lista-"));
    EXPECT_EQ(SheetNames(book), QStringList{"Lista"});
    const QMap<QString, TSheetCell> cells = SheetCells(book);
    const QStringList row = GridRow(Cards().RecordCount() - 1);
    const int last = Cards().RecordCount();
    EXPECT_EQ(cells.value(QStringLiteral("A%1").arg(last)).Text, row[0]);
    EXPECT_EQ(cells.value(QStringLiteral("B%1").arg(last)).Text, row[1]);
    EXPECT_FALSE(cells.contains(QStringLiteral("A%1").arg(last + 1)));
    EXPECT_EQ(Cards().RecNo(), 2);
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 0);
}

}  // namespace
