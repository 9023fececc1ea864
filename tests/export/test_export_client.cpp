// A real spreadsheet program reads the exported workbook and CSV file back: LibreOffice, headless,
// converts both to UTF-8 text and every cell is compared with the card list; names a spreadsheet
// would run as formulas come back as text, a negative level as a number. Skipped, with a message,
// where LibreOffice is not installed (scripts/deps.sh installs it where it can).
#include "TestCatalogue.h"
#include "export/ExportRead.h"

#include "app/Messages.h"
#include "export/uExportProgress.h"
#include "export/udmExport.h"
#include "storage/CatalogNames.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace {

QString Soffice()
{
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return QString();
}

// Converts input to tab-separated UTF-8 text in outDir; the text, or empty when the conversion failed.
QString ConvertToText(const QString& soffice, const QString& input, const QString& inFilter, const QString& outDir,
                      const QString& profile)
{
    QStringList args{"-env:UserInstallation=" + QUrl::fromLocalFile(profile).toString(), "--headless",
                     "--norestore", "--nolockcheck"};
    if (!inFilter.isEmpty()) args << "--infilter=" + inFilter;
    // Text cells quoted, numbers bare, formulas as their results: the output tells text from number.
    args << "--convert-to" << "csv:Text - txt - csv (StarCalc):9,34,76,1,,0,true,false,true,false" << "--outdir"
         << outDir << input;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, args);
    if (!p.waitForFinished(240000)) {
        p.kill();
        ADD_FAILURE() << "LibreOffice did not finish";
        return QString();
    }
    QFile out(QDir(outDir).filePath(QFileInfo(input).completeBaseName() + ".csv"));
    if (!out.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no output: " << p.readAll().toStdString();
        return QString();
    }
    QByteArray bytes = out.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
}

// Trailing empty fields say nothing about the cells (a spreadsheet drops an empty last column).
QList<QStringList> Trimmed(QList<QStringList> records)
{
    for (QStringList& r : records)
        while (!r.isEmpty() && r.last().isEmpty()) r.removeLast();
    return records;
}

class NoProgress : public TExportProgress {
public:
    void Start(int) override {}
    bool Step(int) override { return true; }
    void Finish() override {}
};

TEST(ExportSpreadsheetClient, LibreOfficeReadsTheWorkbookAndTheCsvFileCellForCell)
{
    const QString soffice = Soffice();
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the check with a real spreadsheet program is skipped; "
                        "install libreoffice-calc-nogui to run it";
    TSchemaCatalogue cat;
    cat.Exec("INSERT INTO TVELKOR VALUES ('V001', 'Északi');"
             "INSERT INTO TLAPTIPUS VALUES ('L001', 'Isten', 1);");
    const QStringList names{QString::fromUtf8("Ábel"), QString::fromUtf8("Kard; a legendás"),
                            QString::fromUtf8("Az \"Ősi\" kard"), QString::fromUtf8("Őrző űrhajós"),
                            QString::fromUtf8("Tündér, a <kicsi> & nagy"), "=1+1", "@SUM(1;2)", "-Kard"};
    TConnection conn;
    conn.Open(cat.DbPath());
    for (int i = 0; i < names.size(); ++i) {
        TCommand c(&conn);
        c.SetSQL("INSERT INTO TLAP (L_ID, L_LAPSZAM, L_NEV, L_VELKOR, L_LAPTIPUS, L_SZINT, L_HP) "
                 "VALUES (:ID, :NUM, :NAME, 'V001', 'L001', :LEVEL, NULL)");
        c.SetParam("ID", i + 1);
        c.SetParam("NUM", QString::number(101 + i));
        c.SetParam("NAME", names[i]);
        c.SetParam("LEVEL", i == 5 ? -5 : i + 2);
        c.Execute();
    }
    TQuery cards(&conn);
    cards.SetSQL(Catalog::CardListSelect + " ORDER BY L_LAPSZAM");
    cards.Open();
    QList<QStringList> expected, expectedCsv;
    for (int i = 0; i < names.size(); ++i) {
        const QString level = QString::number(i == 5 ? -5 : i + 2);
        expected << QStringList{QString::number(101 + i), names[i], level};
        // The CSV file's safe form: the spreadsheet keeps the apostrophe and never runs the text.
        expectedCsv << QStringList{QString::number(101 + i), i >= 5 ? u'\'' + names[i] : names[i], level};
    }

    TTestUiHost ui;
    NoProgress progress;
    QTemporaryDir out, converted, profile;
    TdmExport exporter;
    exporter.Progress = &progress;
    exporter.WorkbookFolder = out.path();
    const QStringList fields{"L_LAPSZAM", "L_NEV", "L_SZINT", "L_HP"};
    exporter.ExportFields(emExcel, cards, QString(), fields);
    const QString csv = out.filePath("lista.csv");
    exporter.ExportFields(emText, cards, csv, fields);

    const QString fromBook = ConvertToText(soffice, exporter.LastWorkbook(), QString(), converted.path(), profile.path());
    EXPECT_EQ(Trimmed(ReadCsv(fromBook, u'\t')), expected) << fromBook.toStdString();

    QTemporaryDir converted2;
    const QString fromCsv = ConvertToText(soffice, csv, "CSV:59,34,76,1", converted2.path(), profile.path());
    EXPECT_EQ(Trimmed(ReadCsv(fromCsv, u'\t')), expectedCsv) << fromCsv.toStdString();
    for (const QString& text : {fromBook, fromCsv}) EXPECT_TRUE(text.contains("\t-5\n")) << "-5 came back as text";
}

}  // namespace
