#include "decks/uDeckPrint.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "app/WidgetUtil.h"
#include "decks/uDeckGroups.h"
#include "decks/ufmPakli.h"
#include "storage/Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>

QString SafeFileName(const QString& name, const QString& fallback)
{
    QString out;
    for (QChar c : name) {
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c)) out += u'_';
        else out += c;
    }
    out = out.trimmed();
    while (out.startsWith(u'.')) out.remove(0, 1);
    out = out.trimmed();
    // A file name holds at most 255 bytes on most file systems; leave room for ".pdf".
    while (out.toUtf8().size() > 200) out.chop(1);
    return out.isEmpty() ? fallback : out;
}

QString TPdfSaveDialog::Execute(const QString& suggestedName)
{
    const QString base = SafeFileName(suggestedName, QStringLiteral("Pakli")) + QStringLiteral(".pdf");
    const QString start = Folder.isEmpty() ? base : QDir(Folder).filePath(base);
    QString name = PromptSaveFile(Title, QStringLiteral("PDF fájlok|*.pdf|Minden fájl|*.*"), start, QStringLiteral("pdf"));
    if (name.isEmpty()) return QString();
    if (QFileInfo(name).suffix().isEmpty() && !name.endsWith(u'.')) name += QStringLiteral(".pdf");
    Folder = QFileInfo(name).absolutePath();
    return name;
}

TDeckSheet DeckSheetOf(const TfmPakli& frame, const QDate& date)
{
    TDeckSheet sheet;
    sheet.DeckName = frame.eNev->text();
    sheet.GodNumber = frame.God().Number;
    sheet.GodName = frame.God().Name;
    sheet.GodPantheon = frame.God().Pantheon;
    sheet.Description = frame.mLeir->toPlainText();
    sheet.Date = date;
    for (size_t g = 0; g < DeckGroupNames.size(); ++g) sheet.GroupNames << DeckGroupName(int(g));
    for (const TDeckRow& row : frame.mdPakli.Rows())
        sheet.Cards.push_back({row.L_LAPSZAM, row.L_NEV, row.TECHSORREND, row.DB, row.L_SZINT, row.L_IDEZES});
    sheet.CardCount = frame.mdPakli.CardCount();
    sheet.PowerPoints = frame.mdPakli.PowerPoints();
    return sheet;
}

void PrintDeckSheet(TfmPakli& frame, QWidget* parent)
{
    const TDeckSheet sheet = DeckSheetOf(frame);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(sheet.DeckName);
    SetSheetPage(printer, true);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Pakli nyomtatása"));
    GuardedConnect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&sheet](QPrinter* target) {
        TWaitCursor wait;
        PaintDeckSheet(*target, sheet);
    });
    preview.exec();
}

bool SaveDeckSheetPdf(TfmPakli& frame, TPdfSaveDialog& dialog)
{
    const TDeckSheet sheet = DeckSheetOf(frame);
    const QString fileName = dialog.Execute(sheet.DeckName);
    if (fileName.isEmpty()) return false;
    TWaitCursor wait;
    try {
        WriteDeckSheetPdf(fileName, sheet);
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        ShowErrorDialog(QStringLiteral("Pakli mentése PDF-be"), e.Message());
        return false;
    }
    return true;
}
