// The card list export on a catalogue of known cards: the lines of the CSV file and the clipboard,
// quoting that a CSV reader reads back, the workbook's sheet and cells read back from the .xlsx,
// failures that leave the old file or no file at all, and a cancelled export.
#include "TestCatalogue.h"
#include "export/ExportRead.h"

#include "app/Messages.h"
#include "export/uExportProgress.h"
#include "export/uExportText.h"
#include "export/uXlsxBook.h"
#include "export/udmExport.h"
#include "storage/CatalogNames.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QStringList kNumberAndName{"L_LAPSZAM", "L_NEV"};

// A progress that never shows anything; it can cancel at a chosen row count.
class TScriptedProgress : public TExportProgress {
public:
    void Start(int total) override { Total = total; ++Starts; }
    bool Step(int done) override
    {
        Steps << done;
        return CancelAt < 0 || done < CancelAt;
    }
    void Finish() override { ++Finishes; }
    int CancelAt = -1;
    int Total = -1, Starts = 0, Finishes = 0;
    QList<int> Steps;
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString Utf8WithoutBom(const QByteArray& bytes)
{
    EXPECT_TRUE(bytes.startsWith(UTF8_BOM)) << "no byte-order mark";
    return QString::fromUtf8(bytes.mid(UTF8_BOM.size()));
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cat.Exec("INSERT INTO TVELKOR VALUES ('V001', 'Északi');"
                 "INSERT INTO TLAPTIPUS VALUES ('L001', 'Isten', 1);"
                 "INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_LEIDEZES, L_SZINT, L_UTAK, L_HP, L_DB)"
                 " VALUES (1, '001', 'Ábel', 'V001', 'L001', 'KK', 3, 'VM', 5, 2),"
                 "        (2, '002', 'Bóbita', 'V001', 'L001', NULL, NULL, NULL, NULL, 0);");
        Conn.Open(Cat.DbPath());
        Cards.SetConnection(&Conn);
        Open();
        Export.WorkbookFolder = Out.path();
        Export.Progress = &Progress;
    }
    void Open(const QString& where = QString())
    {
        Cards.SetSQL(Catalog::CardListSelect + where + QStringLiteral(" ORDER BY L_LAPSZAM"));
        Cards.Open();
    }
    void AddCard(qint64 id, const QString& number, const QString& name)
    {
        TCommand c(&Conn);
        c.SetSQL("INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_SZINT) "
                 "VALUES (:ID, :NUM, :NAME, 'V001', 'L001', 1)");
        c.SetParam("ID", id);
        c.SetParam("NUM", number);
        c.SetParam("NAME", name);
        c.Execute();
    }
    void AddManyCards(int count)
    {
        Conn.ExecuteDirect(QStringLiteral("WITH RECURSIVE N(K) AS (SELECT 1 UNION ALL SELECT K + 1 FROM N WHERE K < %1) "
                                          "INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_SZINT) "
                                          "SELECT 100 + K, printf('%03d', K % 1000), 'Kártya ' || K, 'V001', 'L001', K % 7 "
                                          "FROM N")
                               .arg(count));
    }
    QString Csv(const QStringList& fields)
    {
        const QString file = Out.filePath("lista.csv");
        Export.ExportFields(emText, Cards, file, fields);
        return Utf8WithoutBom(ReadAll(file));
    }
    QString Clipboard(const QStringList& fields)
    {
        Export.ExportFields(emClipboard, Cards, QString(), fields);
        return Ui.Clipboard();
    }
    QString Workbook(const QStringList& fields)
    {
        Export.ExportFields(emExcel, Cards, QString(), fields);
        EXPECT_TRUE(QFileInfo::exists(Export.LastWorkbook()));
        return Export.LastWorkbook();
    }
    // Every file of the output folder.
    QStringList OutFiles() { return QDir(Out.path()).entryList(QDir::Files | QDir::Hidden); }

    TSchemaCatalogue Cat;
    TConnection Conn;
    TQuery Cards;
    TTestUiHost Ui;
    TScriptedProgress Progress;
    TdmExport Export;
    QTemporaryDir Out;
};

// --- the text lines ---

TEST(ExportText, ValuesAreQuotedOnlyWhenASpreadsheetWouldSplitThem)
{
    struct {
        const char* value;
        QChar separator;
        const char* expected;
    } cases[] = {
        {"Ábel", u';', "Ábel"},
        {"", u';', ""},
        {"Kard; a legendás", u';', "\"Kard; a legendás\""},
        {"Kard; a legendás", u'\t', "Kard; a legendás"},
        {"Az \"Ősi\" kard", u';', "\"Az \"\"Ősi\"\" kard\""},
        {"Az \"Ősi\" kard", u'\t', "\"Az \"\"Ősi\"\" kard\""},
        {"tab\there", u'\t', "\"tab\there\""},
        {"tab\there", u';', "tab\there"},
        {"két\r\nsor", u';', "\"két\r\nsor\""},
        {"sor\n", u'\t', "\"sor\n\""},
        {"\"", u';', "\"\"\"\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotedValue(QString::fromUtf8(c.value), c.separator), QString::fromUtf8(c.expected)) << c.value;
        QString line = QStringLiteral("x;");
        AppendValue(line, QString::fromUtf8(c.value), c.separator);
        EXPECT_EQ(line, QStringLiteral("x;") + QString::fromUtf8(c.expected) + c.separator) << c.value;
    }
}

TEST(ExportText, CellAddressesGoOnPastTheTwentySixthColumn)
{
    struct {
        int row, column;
        const char* address;
    } cases[] = {{0, 0, "A1"}, {1, 1, "B2"}, {0, 25, "Z1"}, {0, 26, "AA1"}, {9, 27, "AB10"},
                 {0, 51, "AZ1"}, {0, 52, "BA1"}, {0, 701, "ZZ1"}, {0, 702, "AAA1"}, {1048575, 16383, "XFD1048576"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CellAddress(c.row, c.column), QString::fromLatin1(c.address));
        int row = -1, column = -1;
        ASSERT_TRUE(ParseCellAddress(QString::fromLatin1(c.address), row, column)) << c.address;
        EXPECT_EQ(row, c.row) << c.address;
        EXPECT_EQ(column, c.column) << c.address;
    }
    int row = 0, column = 0;
    EXPECT_TRUE(ParseCellAddress("ab10", row, column));
    EXPECT_EQ(column, 27);
    for (const char* bad : {"", "A", "1", "A0", "A01", "1A", "A1B", "XFE1", "A1048577", "Á1", "A-1"})
        EXPECT_FALSE(ParseCellAddress(QString::fromUtf8(bad), row, column)) << bad;
}

// --- the file and the clipboard ---

TEST_F(ExportTest, TwoCardsGiveTwoLinesWithTheSeparatorAfterEveryValue)
{
    EXPECT_EQ(Csv(kNumberAndName), QString::fromUtf8("001;Ábel;\r\n002;Bóbita;\r\n"));
    EXPECT_EQ(Clipboard(kNumberAndName), QString::fromUtf8("001\tÁbel\t\r\n002\tBóbita\t\r\n"));
    EXPECT_EQ(Ui.Count(TUiKind::Clipboard), 1);
    EXPECT_EQ(Ui.Count(TUiKind::Information), 0) << "the success message is the command's, not the export's";
}

TEST_F(ExportTest, FileIsUtf8WithAByteOrderMarkAndKeepsEveryCharacter)
{
    AddCard(3, "003", QString::fromUtf8("Őrző űr ΩЖ 🂡"));  // beyond any single code page
    Open();
    Csv({"L_NEV"});
    const QByteArray bytes = ReadAll(Out.filePath("lista.csv"));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains(QString::fromUtf8("Őrző űr ΩЖ 🂡;\r\n").toUtf8()));
}

TEST_F(ExportTest, NullIsEmptyAndNumbersArePlainDecimal)
{
    EXPECT_EQ(Csv({"L_LAPSZAM", "L_LEIDEZES", "L_SZINT", "L_HP", "L_DB"}),
              QStringLiteral("001;KK;3;5;2;\r\n002;;;;0;\r\n"));
    // A floating value the engine prints with an exponent is written out.
    Conn.ExecuteDirect("CREATE TABLE TSZAM (X REAL); INSERT INTO TSZAM VALUES (1e20), (0.5), (NULL), (-3.0)");
    Cards.SetSQL("SELECT X FROM TSZAM ORDER BY rowid");
    Cards.Open();
    EXPECT_EQ(Csv({"X"}), QStringLiteral("100000000000000000000;\r\n0.5;\r\n;\r\n-3.0;\r\n"));
}

TEST_F(ExportTest, EmptyListGivesOneLineOfSeparators)
{
    Open(" WHERE 1 = 0");
    ASSERT_TRUE(Cards.IsEmpty());
    EXPECT_EQ(Csv({"L_LAPSZAM", "L_NEV", "L_SZINT"}), QStringLiteral(";;;\r\n"));
    EXPECT_EQ(Clipboard({"L_LAPSZAM", "L_NEV"}), QStringLiteral("\t\t\r\n"));
    const QString book = Workbook({"L_LAPSZAM", "L_NEV"});
    EXPECT_EQ(SheetNames(book), QStringList{"Lista"});
    EXPECT_TRUE(SheetCells(book).isEmpty());
}

TEST_F(ExportTest, SeparatorsQuotesAndLineBreaksInNamesReadBackFieldForField)
{
    const QStringList names{QString::fromUtf8("Kard; a legendás"), QString::fromUtf8("Az \"Ősi\" kard"),
                            QString::fromUtf8("Két\r\nsoros"), QString::fromUtf8("tab\tban"), QStringLiteral("\"")};
    for (int i = 0; i < names.size(); ++i) AddCard(10 + i, QStringLiteral("1%1").arg(i), names[i]);
    Open(" WHERE L_ID >= 10");
    for (QChar separator : {FILE_SEPARATOR, CLIPBOARD_SEPARATOR}) {
        const QString text = separator == FILE_SEPARATOR ? Csv({"L_NEV", "L_LAPSZAM"}) : Clipboard({"L_NEV", "L_LAPSZAM"});
        const QList<QStringList> records = ReadCsv(text, separator);
        ASSERT_EQ(records.size(), names.size()) << text.toStdString();
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(records[i], (QStringList{names[i], QStringLiteral("1%1").arg(i), QString()})) << i;
    }
}

TEST_F(ExportTest, TextsThatASpreadsheetWouldRunAsFormulasGetAnApostrophe)
{
    const QStringList names{"=1+1", "+36 1 234", "-lap", "@SUM(A1)", "\tbehúzva", "=HYPERLINK(\"x\")", "a=b"};
    for (int i = 0; i < names.size(); ++i) AddCard(10 + i, QStringLiteral("1%1").arg(i), names[i]);
    Conn.ExecuteDirect("UPDATE TLAP SET L_SZINT = -5 WHERE L_ID = 10; UPDATE TLAP SET L_SZINT = '=2+2' WHERE L_ID = 11");
    Open(" WHERE L_ID >= 10");
    for (QChar separator : {FILE_SEPARATOR, CLIPBOARD_SEPARATOR}) {
        const QString text = separator == FILE_SEPARATOR ? Csv({"L_NEV", "L_SZINT"}) : Clipboard({"L_NEV", "L_SZINT"});
        const QList<QStringList> records = ReadCsv(text, separator);
        ASSERT_EQ(records.size(), names.size()) << text.toStdString();
        for (int i = 0; i < names.size(); ++i)
            EXPECT_EQ(records[i][0], i < 6 ? "'" + names[i] : names[i]) << i;
        EXPECT_EQ(records[0][1], "-5");     // a number of an integer column stays a number
        EXPECT_EQ(records[1][1], "'=2+2");  // text stored in it does not
    }
}

TEST_F(ExportTest, ColumnsComeInTheGivenOrderAndAnUnknownFieldStaysEmpty)
{
    EXPECT_EQ(Csv({"L_NEV", "L_LAPSZAM"}), QString::fromUtf8("Ábel;001;\r\nBóbita;002;\r\n"));
    EXPECT_EQ(Csv({"L_NEV", "NINCS_ILYEN"}), QString::fromUtf8("Ábel;;\r\nBóbita;;\r\n"));
    EXPECT_EQ(Csv({}), QStringLiteral("\r\n\r\n"));
}

TEST_F(ExportTest, CurrentCardStaysAndTheBoundControlsHearNothing)
{
    AddManyCards(1500);
    Open();
    Cards.SetRecNo(7);
    QSignalSpy changes(&Cards, &TQuery::DataChange);
    for (int mode : {emText, emClipboard, emExcel}) {
        Export.ExportFields(mode, Cards, Out.filePath("lista.csv"), kNumberAndName);
        EXPECT_EQ(Cards.RecNo(), 7) << mode;
        EXPECT_FALSE(Cards.ControlsDisabled()) << mode;
    }
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(Progress.Total, 1502);
    EXPECT_EQ(Progress.Starts, 3);
    EXPECT_EQ(Progress.Finishes, 3);
}

TEST_F(ExportTest, CsvFileReplacesAnOldOneWhole)
{
    const QString file = Out.filePath("lista.csv");
    ASSERT_TRUE(WriteAll(file, QByteArray(100000, 'x')));
    Export.ExportFields(emText, Cards, file, kNumberAndName);
    EXPECT_EQ(ReadAll(file), UTF8_BOM + QString::fromUtf8("001;Ábel;\r\n002;Bóbita;\r\n").toUtf8());
    EXPECT_EQ(OutFiles(), QStringList{"lista.csv"}) << "no temporary file left";
}

TEST_F(ExportTest, UnwritableTargetIsReportedAndTheOldFileStaysAsItWas)
{
    const QString file = Out.filePath("lista.csv");
    ASSERT_TRUE(WriteAll(file, "régi tartalom"));
    {
        TImmutable locked(file);
        if (!locked.Active()) GTEST_SKIP() << "chattr +i is not available here";
        try {
            Export.ExportFields(emText, Cards, file, kNumberAndName);
            ADD_FAILURE() << "a failed write must not pass for success";
        } catch (const EAbort&) {
            ADD_FAILURE() << "a failed write must not be silent";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(file))) << e.Message().toStdString();
        }
    }
    EXPECT_EQ(ReadAll(file), QByteArray("régi tartalom"));
    {
        TImmutable lockedFolder(Out.path());
        EXPECT_THROW(Export.ExportFields(emText, Cards, file, kNumberAndName), Exception);
    }
    EXPECT_EQ(ReadAll(file), QByteArray("régi tartalom"));
    EXPECT_EQ(OutFiles(), QStringList{"lista.csv"});
    EXPECT_TRUE(Ui.Records().isEmpty()) << "the command's handler reports it, not the export";
}

TEST_F(ExportTest, MissingFolderIsReported)
{
    EXPECT_THROW(Export.ExportFields(emText, Cards, Out.filePath("nincs/lista.csv"), kNumberAndName), Exception);
    EXPECT_FALSE(QFileInfo::exists(Out.filePath("nincs")));
}

TEST_F(ExportTest, CancelledExportLeavesNothingBehind)
{
    AddManyCards(3000);
    Open();
    const QString file = Out.filePath("lista.csv");
    ASSERT_TRUE(WriteAll(file, "régi"));
    Progress.CancelAt = 1024;
    EXPECT_THROW(Export.ExportFields(emText, Cards, file, kNumberAndName), EAbort);
    EXPECT_EQ(ReadAll(file), QByteArray("régi"));
    EXPECT_THROW(Export.ExportFields(emClipboard, Cards, QString(), kNumberAndName), EAbort);
    EXPECT_EQ(Ui.Count(TUiKind::Clipboard), 0);
    EXPECT_THROW(Export.ExportFields(emExcel, Cards, QString(), kNumberAndName), EAbort);
    EXPECT_EQ(OutFiles(), QStringList{"lista.csv"}) << "no workbook and no temporary file";
    EXPECT_EQ(Ui.Count(TUiKind::Shell), 0);
    EXPECT_EQ(Progress.Steps.last(), 1024);
    EXPECT_EQ(Progress.Finishes, 3);
    EXPECT_EQ(Cards.ControlsDisabled(), false);
}

TEST_F(ExportTest, ProgressIsAskedAsTheRowsGo)
{
    AddManyCards(2000);
    Open();
    Csv(kNumberAndName);
    EXPECT_EQ(Progress.Total, 2002);
    EXPECT_EQ(Progress.Steps, (QList<int>{512, 1024, 1536}));
    // The file is written in pieces as the rows go; the pieces join up.
    const QList<QStringList> records = ReadCsv(Utf8WithoutBom(ReadAll(Out.filePath("lista.csv"))), u';');
    ASSERT_EQ(records.size(), 2002);
    EXPECT_EQ(records[1000][1], Cards.ValueText(1000, Cards.FindField("L_NEV")));
}

// --- the workbook ---

TEST_F(ExportTest, WorkbookHasTheSheetListaWithTheFirstCardInRowOne)
{
    const QString book = Workbook({"L_LAPSZAM", "L_NEV", "L_SZINT", "L_LEIDEZES", "L_DB"});
    EXPECT_EQ(SheetNames(book), QStringList{"Lista"});
    const QMap<QString, TSheetCell> cells = SheetCells(book);
    EXPECT_EQ(cells.value("A1").Text, "001");
    EXPECT_FALSE(cells.value("A1").Number) << "a card number is text: its leading zeros stay";
    EXPECT_EQ(cells.value("B1").Text, QString::fromUtf8("Ábel"));
    EXPECT_FALSE(cells.value("B1").Number);
    EXPECT_EQ(cells.value("C1").Text, "3");
    EXPECT_TRUE(cells.value("C1").Number) << "an integer column is stored as a number";
    EXPECT_EQ(cells.value("D1").Text, "KK");
    EXPECT_EQ(cells.value("E1").Text, "2");
    EXPECT_TRUE(cells.value("E1").Number);
    EXPECT_EQ(cells.value("B2").Text, QString::fromUtf8("Bóbita"));
    EXPECT_FALSE(cells.contains("C2")) << "NULL leaves the cell empty";
    EXPECT_FALSE(cells.contains("D2"));
    EXPECT_EQ(cells.value("E2").Text, "0");
    EXPECT_EQ(cells.size(), 8);
    // Opened with the desktop's program, and nothing else said.
    ASSERT_EQ(Ui.Count(TUiKind::Shell), 1);
    EXPECT_EQ(Ui.Of(TUiKind::Shell)[0].Text, QUrl::fromLocalFile(book).toString(QUrl::FullyEncoded));
    EXPECT_EQ(Ui.Of(TUiKind::Shell)[0].Extra, "document");
    EXPECT_EQ(Ui.Count(TUiKind::Information), 0);
    EXPECT_EQ(OutFiles(), QStringList{QFileInfo(book).fileName()});
}

TEST_F(ExportTest, WorkbookKeepsNamesWithQuotesSeparatorsAndMarkup)
{
    const QStringList names{QString::fromUtf8("Kard; a legendás"), QString::fromUtf8("Az \"Ősi\" <kard> & pajzs"),
                            QString::fromUtf8("=1+1"), QString::fromUtf8("Két\nsoros"), QStringLiteral("12")};
    for (int i = 0; i < names.size(); ++i) AddCard(10 + i, QStringLiteral("1%1").arg(i), names[i]);
    Open(" WHERE L_ID >= 10");
    const QMap<QString, TSheetCell> cells = SheetCells(Workbook({"L_NEV"}));
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(cells.value(CellAddress(i, 0)).Text, names[i]);
        EXPECT_FALSE(cells.value(CellAddress(i, 0)).Number) << "a text column stays text, even \"12\"";
    }
}

TEST_F(ExportTest, TextsLikeTheFormatsOwnEscapesAreWrittenEscaped)
{
    EXPECT_EQ(EscapeXlsxText("_x0041_x0042_ _X0041_ _x12_"), "_x005F_x0041_x005F_x0042_ _X0041_ _x12_");
    AddCard(10, "10", "x_x0041_y");
    Open(" WHERE L_ID >= 10");
    EXPECT_TRUE(ZipMember(Workbook({"L_NEV"}), "xl/worksheets/sheet1.xml").contains("x_x005F_x0041_y"));
}

TEST_F(ExportTest, WorkbookTakesMoreThanTwentySixColumns)
{
    QStringList fields;
    for (int i = 0; i < 30; ++i) fields << (i % 2 ? "L_NEV" : "L_SZINT");
    const QMap<QString, TSheetCell> cells = SheetCells(Workbook(fields));
    EXPECT_EQ(cells.value("Z1").Text, QString::fromUtf8("Ábel"));
    EXPECT_EQ(cells.value("AA1").Text, "3");
    EXPECT_EQ(cells.value("AD1").Text, QString::fromUtf8("Ábel"));
    EXPECT_EQ(cells.value("AD2").Text, QString::fromUtf8("Bóbita"));
}

TEST_F(ExportTest, IntegersASpreadsheetCannotHoldExactlyStayText)
{
    Conn.ExecuteDirect("UPDATE TLAP SET L_DB = 9007199254740993 WHERE L_ID = 1;"
                       "UPDATE TLAP SET L_DB = 'sok' WHERE L_ID = 2");
    Open();
    const QMap<QString, TSheetCell> cells = SheetCells(Workbook({"L_DB"}));
    EXPECT_EQ(cells.value("A1").Text, "9007199254740993");
    EXPECT_FALSE(cells.value("A1").Number);
    EXPECT_EQ(cells.value("A2").Text, "sok");
    EXPECT_FALSE(cells.value("A2").Number);
}

TEST_F(ExportTest, WorkbookIsNamedByDateAndTimeAndNeverReplacesAnother)
{
    Export.Now = [] { return QDateTime(QDate(2026, 12, 9), QTime(17, 5, 33)); };
    EXPECT_EQ(QFileInfo(Workbook(kNumberAndName)).fileName(), "Lista-2026-12-09_17-05-33.xlsx");
    EXPECT_EQ(QFileInfo(Workbook(kNumberAndName)).fileName(), "Lista-2026-12-09_17-05-33-2.xlsx");
    EXPECT_EQ(OutFiles().size(), 2);
    Export.WorkbookFolder.clear();
    EXPECT_EQ(QFileInfo(Export.NewWorkbookName()).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
}

TEST_F(ExportTest, WorkbookThatNoProgramOpensIsNamedInAMessage)
{
    Ui.PushOpenDocument(false);
    const QString book = Workbook(kNumberAndName);
    ASSERT_EQ(Ui.Count(TUiKind::Information), 1);
    EXPECT_TRUE(Ui.Of(TUiKind::Information)[0].Text.contains(QDir::toNativeSeparators(book)));
}

TEST_F(ExportTest, WorkbookThatCannotBeCreatedShowsTheConnectionErrorAndNothingElse)
{
    Export.WorkbookFolder = Out.filePath("nincs");
    EXPECT_THROW(Export.ExportFields(emExcel, Cards, QString(), kNumberAndName), EAbort);
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(Ui.Of(TUiKind::ErrorDialog)[0].Title, "Excelhez való kapcsolódás");
    EXPECT_EQ(Ui.Count(TUiKind::Shell), 0);
    EXPECT_EQ(Progress.Starts, 0) << "nothing is written";
}

TEST_F(ExportTest, WorkbookThatFailsWhileWrittenLeavesNoHalfFile)
{
    AddCard(3, "003", QString(40000, u'x'));  // longer than a cell holds
    Open();
    EXPECT_THROW(Export.ExportFields(emExcel, Cards, QString(), kNumberAndName), EAbort);
    ASSERT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(Ui.Of(TUiKind::ErrorDialog)[0].Title, "Excelhez való kapcsolódás");
    EXPECT_TRUE(Ui.Of(TUiKind::ErrorDialog)[0].Text.contains("B3"));
    EXPECT_TRUE(OutFiles().isEmpty()) << OutFiles().join(", ").toStdString();
    EXPECT_EQ(Ui.Count(TUiKind::Shell), 0);
}

TEST_F(ExportTest, WorkbookFolderLockedAtSaveLeavesNoFile)
{
    ASSERT_TRUE(Export.ConnectExcel());
    Export.SetCellValue("A1", "Ábel");
    Export.SetCellValue("b2", "3", true);
    EXPECT_THROW(Export.SetCellValue("A0", "x"), Exception);
    {
        // The temporary file is already there; the rename onto the final name is what fails.
        TImmutable locked(Out.path());
        if (!locked.Active()) GTEST_SKIP() << "chattr +i is not available here";
        EXPECT_FALSE(Export.DisconnectExcel());
    }
    EXPECT_EQ(Ui.Count(TUiKind::ErrorDialog), 1);
    EXPECT_EQ(Ui.Count(TUiKind::Shell), 0);
    for (const QString& f : OutFiles()) EXPECT_FALSE(f.endsWith(".xlsx")) << f.toStdString();
}

TEST_F(ExportTest, CellsSetByAddress)
{
    ASSERT_TRUE(Export.ConnectExcel());
    Export.SetCellValue("A1", QString::fromUtf8("Őrző"));
    Export.SetCellValue("AB1", "42", true);
    Export.SetCellValue("C2", "");
    Export.SetCellValue("D2", "7");
    ASSERT_TRUE(Export.DisconnectExcel());
    const QMap<QString, TSheetCell> cells = SheetCells(Export.LastWorkbook());
    EXPECT_EQ(cells.value("A1").Text, QString::fromUtf8("Őrző"));
    EXPECT_TRUE(cells.value("AB1").Number);
    EXPECT_FALSE(cells.contains("C2"));
    EXPECT_FALSE(cells.value("D2").Number);
}

// --- the progress dialog ---

TEST(ExportProgressDialog, AppearsAfterTheDelayAndItsCancelStopsTheExport)
{
    TDialogProgress progress;
    progress.ShowAfterMs = 60 * 60 * 1000;
    progress.Start(100);
    EXPECT_TRUE(progress.Step(10));
    EXPECT_EQ(progress.Dialog(), nullptr) << "short work shows nothing";
    progress.ShowAfterMs = 0;
    EXPECT_TRUE(progress.Step(20));
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_TRUE(progress.Dialog()->isVisible());
    EXPECT_EQ(progress.Dialog()->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(progress.Dialog()->value(), 20);
    progress.Dialog()->cancel();
    EXPECT_FALSE(progress.Step(30));
    progress.Finish();
    EXPECT_EQ(progress.Dialog(), nullptr);
}

}  // namespace
