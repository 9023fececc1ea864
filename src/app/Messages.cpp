#include "app/Messages.h"

#include "app/ShellUtil.h"
#include "app/WidgetUtil.h"
#include "app/ufExcept.h"
#include "storage/FormOpenPars.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace {
TUiHost* CurrentHost = nullptr;
QString LastFolder;

QMessageBox::Icon IconFor(TUiKind kind)
{
    switch (kind) {
    case TUiKind::Warning: return QMessageBox::Warning;
    case TUiKind::Information: return QMessageBox::Information;
    case TUiKind::Error: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
    }
}
} // namespace

// --- the real host ---

bool TQtUiHost::AskConfirmation(const QString& title, const QString& text) { return Ask(title, text, false); }

bool TQtUiHost::AskDeleteConfirmation(const QString& title, const QString& text) { return Ask(title, text, true); }

bool TQtUiHost::Ask(const QString& title, const QString& text, bool defaultNo)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yes = box.addButton(BUTTON_YES, QMessageBox::YesRole);
    QPushButton* no = box.addButton(BUTTON_NO, QMessageBox::NoRole);
    box.setDefaultButton(defaultNo ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

TYesNoCancel TQtUiHost::AskYesNoCancel(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yes = box.addButton(BUTTON_YES, QMessageBox::YesRole);
    QPushButton* no = box.addButton(BUTTON_NO, QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(BUTTON_CANCEL, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return TYesNoCancel::Yes;
    if (box.clickedButton() == no) return TYesNoCancel::No;
    return TYesNoCancel::Cancel;
}

void TQtUiHost::ShowMessage(TUiKind kind, const QString& title, const QString& text)
{
    QMessageBox box(IconFor(kind), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* ok = box.addButton(BUTTON_OK, QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

bool TQtUiHost::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(value);
    dlg.setOkButtonText(BUTTON_OK);
    dlg.setCancelButtonText(BUTTON_CANCEL);
    if (dlg.exec() != QDialog::Accepted) return false;
    value = dlg.textValue();
    return true;
}

QString TQtUiHost::PromptSaveFile(const QString& caption, const QString& filter, const QString& defaultName,
                                  const QString& defaultSuffix, bool confirmOverwrite)
{
    QFileDialog dlg(QApplication::activeWindow(), caption, SaveDialogStart(defaultName), QtFileFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!defaultSuffix.isEmpty()) dlg.setDefaultSuffix(defaultSuffix);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().constFirst();
}

int TUiHost::RunModal(QDialog& dialog) { return dialog.exec(); }

int TTestUiHost::RunModal(QDialog& dialog)
{
    FRecords.append({TUiKind::Modal, dialog.objectName(), dialog.windowTitle(), QString()});
    ++FUnanswered;
    return QDialog::Rejected;
}

QString TQtUiHost::PromptOpenFile(const QString& caption, const QString& filter, const QString& folder)
{
    QFileDialog dlg(QApplication::activeWindow(), caption, folder, QtFileFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().constFirst();
}

void TQtUiHost::SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void TQtUiHost::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

bool TQtUiHost::OpenDocument(const QUrl& url) { return OpenWithDesktopOpener(url, QStandardPaths::findExecutable(QStringLiteral("xdg-open"))); }

bool OpenWithDesktopOpener(const QUrl& url, const QString& opener, int waitMs)
{
    // Without the opener Qt has no other way either; its answer is as good as ours.
    if (opener.isEmpty()) return QDesktopServices::openUrl(url);
    // The opener returns at once with a failure ("no method available") when no program takes the
    // file, and with success when a desktop's launcher handed it over; a generic desktop runs the
    // program in the foreground, so one still running after the wait has taken the file.
    const TWaitCursor wait;  // up to waitMs while the opener decides
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (process->waitForFinished(waitMs)) {
        const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return opened;
    }
    // Left running, unowned, so that closing this program does not close the document's; it is
    // freed when it ends.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
}

void TQtUiHost::ShowErrorDialog(const QString& context, const QString& message)
{
    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Context = context;
    pars.Message = message;
    ShowExceptDialog(pars);
}

// --- host selection ---

TUiHost* SetUiHost(TUiHost* host)
{
    TUiHost* previous = CurrentHost;
    CurrentHost = host;
    return previous;
}

TUiHost& UiHost()
{
    static TQtUiHost qtHost;
    return CurrentHost ? *CurrentHost : qtHost;
}

// --- the test host ---

TTestUiHost::TTestUiHost() : FPrevious(SetUiHost(this)) {}

TTestUiHost::~TTestUiHost() { SetUiHost(FPrevious); }

QList<TUiRecord> TTestUiHost::Of(TUiKind kind) const
{
    QList<TUiRecord> result;
    for (const TUiRecord& r : FRecords)
        if (r.Kind == kind) result.append(r);
    return result;
}

QStringList TTestUiHost::Texts() const
{
    QStringList result;
    for (const TUiRecord& r : FRecords) result.append(r.Text);
    return result;
}

void TTestUiHost::Clear()
{
    FRecords.clear();
    FYesNo.clear();
    FInputs.clear();
    FSaveFiles.clear();
    FYesNoCancel.clear();
    FOpenDocument.clear();
    FClipboard.clear();
    FUnanswered = 0;
}

bool TTestUiHost::AskDeleteConfirmation(const QString& title, const QString& text)
{
    const bool yes = AskConfirmation(title, text);
    FRecords.last().Extra = BUTTON_NO;
    return yes;
}

bool TTestUiHost::AskConfirmation(const QString& title, const QString& text)
{
    FRecords.append({TUiKind::Confirmation, title, text, QString()});
    if (FYesNo.empty()) {
        ++FUnanswered;
        return false;
    }
    const bool yes = FYesNo.front();
    FYesNo.pop_front();
    return yes;
}

TYesNoCancel TTestUiHost::AskYesNoCancel(const QString& title, const QString& text)
{
    FRecords.append({TUiKind::YesNoCancel, title, text, QString()});
    if (FYesNoCancel.empty()) {
        ++FUnanswered;
        return TYesNoCancel::Cancel;
    }
    const TYesNoCancel answer = FYesNoCancel.front();
    FYesNoCancel.pop_front();
    return answer;
}

void TTestUiHost::ShowMessage(TUiKind kind, const QString& title, const QString& text)
{
    FRecords.append({kind, title, text, QString()});
}

bool TTestUiHost::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    FRecords.append({TUiKind::Input, caption, prompt, value});
    if (FInputs.empty()) {
        ++FUnanswered;
        return false;
    }
    const std::optional<QString> answer = FInputs.front();
    FInputs.pop_front();
    if (!answer) return false;
    value = *answer;
    return true;
}

QString TTestUiHost::PromptSaveFile(const QString& caption, const QString& filter, const QString& defaultName,
                                    const QString&, bool)
{
    FRecords.append({TUiKind::SaveFile, caption, filter, defaultName});
    if (FSaveFiles.empty()) {
        ++FUnanswered;
        return QString();
    }
    const QString answer = FSaveFiles.front();
    FSaveFiles.pop_front();
    return answer;
}

QString TTestUiHost::PromptOpenFile(const QString& caption, const QString& filter, const QString& folder)
{
    FRecords.append({TUiKind::OpenFile, caption, filter, folder});
    if (FOpenFiles.empty()) {
        ++FUnanswered;
        return QString();
    }
    const QString answer = FOpenFiles.front();
    FOpenFiles.pop_front();
    return answer;
}

void TTestUiHost::SetClipboardText(const QString& text)
{
    FRecords.append({TUiKind::Clipboard, QString(), text, QString()});
    FClipboard = text;
    // Code under test may also read the clipboard itself; the offscreen platform keeps it in-process.
    if (QGuiApplication::clipboard()) QGuiApplication::clipboard()->setText(text);
}

void TTestUiHost::OpenUrl(const QUrl& url)
{
    FRecords.append({TUiKind::Shell, QString(), QString::fromLatin1(url.toEncoded()), QString()});
}

bool TTestUiHost::OpenDocument(const QUrl& url)
{
    FRecords.append({TUiKind::Shell, QString(), QString::fromLatin1(url.toEncoded()), QStringLiteral("document")});
    if (FOpenDocument.empty()) return true;
    const bool opened = FOpenDocument.front();
    FOpenDocument.pop_front();
    return opened;
}

void TTestUiHost::ShowErrorDialog(const QString& context, const QString& message)
{
    FRecords.append({TUiKind::ErrorDialog, context, message, QString()});
}

// --- the helpers the rest of the program calls ---

bool ConfirmDelete() { return UiHost().AskDeleteConfirmation(TITLE_CONFIRM, TEXT_CONFIRM_DELETE); }

bool AskYesNo(const QString& text) { return UiHost().AskConfirmation(TITLE_CONFIRM, text); }

bool AskDelete(const QString& text) { return UiHost().AskDeleteConfirmation(TITLE_CONFIRM, text); }

TYesNoCancel AskYesNoCancel(const QString& text) { return UiHost().AskYesNoCancel(TITLE_CONFIRM, text); }

void ShowWarning(const QString& text) { UiHost().ShowMessage(TUiKind::Warning, TITLE_WARNING, text); }

void ShowInfo(const QString& text) { UiHost().ShowMessage(TUiKind::Information, TITLE_INFO, text); }

void ShowErrorMessage(const QString& text) { UiHost().ShowMessage(TUiKind::Error, TITLE_ERROR, text); }

bool InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    return UiHost().InputQuery(caption, prompt, value);
}

QString PromptSaveFile(const QString& caption, const QString& filter, const QString& defaultName,
                       const QString& defaultSuffix, bool confirmOverwrite)
{
    const QString name = UiHost().PromptSaveFile(caption, filter, defaultName, defaultSuffix, confirmOverwrite);
    if (!name.isEmpty()) SetLastSaveFolder(QFileInfo(name).absolutePath());
    return name;
}

QString LastSaveFolder() { return LastFolder; }

void SetLastSaveFolder(const QString& folder) { LastFolder = folder; }

QString SaveDialogStart(const QString& defaultName)
{
    if (!defaultName.isEmpty() && (QFileInfo(defaultName).isAbsolute() || defaultName.contains(u'/'))) return defaultName;
    QString folder = LastFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return defaultName.isEmpty() ? folder : QDir(folder).filePath(defaultName);
}

QString PromptOpenFile(const QString& caption, const QString& filter, const QString& folder)
{
    return UiHost().PromptOpenFile(caption, filter, folder);
}

void CopyToClipboard(const QString& text) { UiHost().SetClipboardText(text); }

void ShellOpen(const QString& target) { UiHost().OpenUrl(ShellTargetUrl(target)); }

bool OpenDocument(const QString& fileName)
{
    return UiHost().OpenDocument(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
}

void SendMail(const QString& address, const QString& subject, const QString& body)
{
    UiHost().OpenUrl(BuildMailUrl(address, subject, body));
}

void ShowErrorDialog(const QString& context, const QString& message)
{
    UiHost().ShowErrorDialog(context, message);
}

QString QtFileFilter(const QString& filter)
{
    if (filter.contains(QLatin1String(";;")) || !filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString text = parts[i];
        // Qt reads the patterns from the last parenthesis; a text that already shows them keeps it.
        const QString shown = QLatin1Char('(') + parts[i + 1] + QLatin1Char(')');
        if (text.endsWith(shown)) text.chop(shown.size());
        result.append(text.trimmed() + QLatin1String(" (") + patterns.trimmed() + QLatin1Char(')'));
    }
    if (parts.size() % 2) result.append(parts.constLast());
    return result.join(QLatin1String(";;"));
}
