// The card list written as PDF from the real main window and read back with poppler: titles in
// on-screen order, rows after a filter and a two-key sort, the empty list, cancelling.
#include "TestCatalogue.h"
#include "print/PdfRead.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "browser/uGridPage.h"
#include "browser/uListPrint.h"
#include "browser/ufMain.h"
#include "decks/uDeckPrint.h"
#include "export/uExportProgress.h"
#include "storage/QueryModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ListPdfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
    }
    void TearDown() override { Program.reset(); }

    TQuery& Cards() { return AM->qLapok; }
    int Column(const char* field) { return int(fMain->ts2->Model()->ColumnFields().indexOf(field)); }
    void Filter(const char* field, const QString& text)
    {
        QLineEdit* box = fMain->pnGridTop->findChild<QLineEdit*>(QString("e__") + field);
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    QString Write(const QString& name)
    {
        const QString file = Dir.filePath(name);
        WriteCardListPdf(file, Cards(), GridListSheet(fMain->grQuery, Cards(), fMain->ListFilterText()));
        return file;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    QTemporaryDir Dir;
    std::unique_ptr<TProgram> Program;
};

// Says stop at the second step: after every page has been painted, before the file is complete.
class TCancelAt : public TExportProgress {
public:
    void Start(int) override {}
    bool Step(int) override { return ++Steps < 2; }
    void Finish() override {}
    int Steps = 0;
};

}  // namespace

TEST_F(ListPdfTest, TitlesInScreenOrderAndRowsAfterFilterAndTwoKeySort)
{
    QHeaderView* header = fMain->grQuery->horizontalHeader();
    header->moveSection(header->visualIndex(Column("L_NEV")), 0);
    header->setSectionHidden(Column("L_HP"), true);
    fMain->ts2->grQueryTitleClick(Column("L_SZINT"));
    fMain->CtrlHeld = true;
    fMain->ts2->grQueryTitleClick(Column("L_LAPSZAM"));
    fMain->CtrlHeld = false;
    Filter("L_NEV", "a");
    const int rows = Cards().RecordCount();
    ASSERT_GT(rows, 10);
    const int current = Cards().RecNo();

    const QString file = Write("lista.pdf");
    EXPECT_EQ(Cards().RecNo(), current);
    const QStringList pages = PdfPages(file);
    ASSERT_EQ(int(pages.size()), PdfPageCount(file));
    const int field = Cards().FindField("L_LAPSZAM");
    int row = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const QStringList lines = PdfLines(pages[p]);
        EXPECT_TRUE(lines.join("\n").contains(QString::number(rows) + " lap – szűrés: Megnevezés: a")) << p;
        // The titles on every page, in on-screen order, the hidden one left out.
        const QString titles = lines.value(2);
        EXPECT_TRUE(titles.startsWith("Megnevezés")) << titles.toStdString();
        EXPECT_LT(titles.indexOf("2:Szám [ + ]"), titles.indexOf("Velkor")) << titles.toStdString();
        EXPECT_LT(titles.indexOf("Velkor"), titles.indexOf("1:Szint [ + ]")) << titles.toStdString();
        EXPECT_FALSE(titles.contains("Hp")) << titles.toStdString();
        EXPECT_TRUE(lines.last().contains(QString("oldal %1 / %2").arg(p + 1).arg(pages.size())));
        for (const QString& line : lines.mid(3, lines.size() - 4))
            EXPECT_TRUE(line.contains(" " + Cards().ValueText(row++, field) + " ")) << row << line.toStdString();
    }
    EXPECT_EQ(row, rows);
}

TEST_F(ListPdfTest, EmptyListIsOnePageWithTitles)
{
    Filter("L_NEV", "nincs ilyen lap sehol");
    ASSERT_EQ(Cards().RecordCount(), 0);
    const QString file = Write("ures.pdf");
    ASSERT_EQ(PdfPageCount(file), 1);
    const QStringList lines = PdfLines(PdfPages(file).value(0));
    EXPECT_TRUE(lines.value(1).startsWith("0 lap")) << lines.join("|").toStdString();
    EXPECT_TRUE(lines.value(2).contains("Megnevezés"));
    EXPECT_EQ(lines.size(), 4);
}

TEST_F(ListPdfTest, CancelLeavesNoFileAndTheEarlierOneWhole)
{
    const QString file = Dir.filePath("lista.pdf");
    QFile earlier(file);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("korábbi");
    earlier.close();

    TPdfSaveDialog prompt;
    TCancelAt cancel;
    Ui.PushSaveFile(file);
    EXPECT_FALSE(SaveCardListPdf(prompt, Cards(), GridListSheet(fMain->grQuery, Cards(), QString()), &cancel));
    EXPECT_EQ(cancel.Steps, 2);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "korábbi");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::SaveFile).last().Extra.endsWith(".pdf"));
    EXPECT_TRUE(Ui.Of(TUiKind::SaveFile).last().Extra.contains("Lista-"));
    // An unwritable target: the error dialog, no file.
    Ui.PushSaveFile(Dir.filePath("nincs/lista.pdf"));
    EXPECT_FALSE(SaveCardListPdf(prompt, Cards(), GridListSheet(fMain->grQuery, Cards(), QString())));
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog).last().Text.contains("nincs/lista.pdf"));
}
