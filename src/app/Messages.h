#pragma once
// Every message box, prompt, clipboard write and shell call of the program goes through one
// replaceable host: the real one shows Qt dialogs with Hungarian captions and buttons, the test one
// answers from queues and records every text it was shown.
#include <QList>
#include <QString>
#include <QUrl>

#include <deque>
#include <optional>

class QDialog;

enum class TUiKind {
    Confirmation, // "Megerősítés", Yes / No; Extra = "&Nem" when No is the default button
    Warning,      // "Figyelmeztetés", OK
    Information,  // "Információ", OK
    Error,        // "Hiba", OK
    ErrorDialog,  // the error dialog: Title = context line, Text = message
    Input,        // one-line prompt: Title = caption, Text = prompt, Extra = initial value
    SaveFile,     // save-file prompt: Title = caption, Text = filter, Extra = default name
    Clipboard,    // Text = the text put on the clipboard
    Shell,        // Text = the fully encoded address handed to the desktop
    YesNoCancel,  // "Megerősítés", Yes / No / Cancel
    OpenFile,     // open-file prompt: Title = caption, Text = filter, Extra = starting folder
    Modal         // a window of the program shown modally: Title = its object name, Text = its title
};

enum class TYesNoCancel { Yes, No, Cancel };

struct TUiRecord {
    TUiKind Kind;
    QString Title;
    QString Text;
    QString Extra;
};

// Titles and buttons of the message boxes.
inline const QString TITLE_CONFIRM = QStringLiteral("Megerősítés");
inline const QString TITLE_WARNING = QStringLiteral("Figyelmeztetés");
inline const QString TITLE_INFO = QStringLiteral("Információ");
inline const QString TITLE_ERROR = QStringLiteral("Hiba");
inline const QString BUTTON_YES = QStringLiteral("&Igen");
inline const QString BUTTON_NO = QStringLiteral("&Nem");
inline const QString BUTTON_OK = QStringLiteral("OK");
inline const QString BUTTON_CANCEL = QStringLiteral("Mégse");
inline const QString TEXT_CONFIRM_DELETE = QStringLiteral("Valóban szeretné törölni?");
// Asked by a save when another program changed the row after it was loaded: Igen overwrites,
// Nem reloads and keeps nothing of the edit.
inline const QString TEXT_CHANGED_ELSEWHERE =
    QStringLiteral("A lapot időközben egy másik program módosította. Felülírja a változásait?");

class TUiHost {
public:
    virtual ~TUiHost() = default;
    // Yes / No question; true when Yes.
    virtual bool AskConfirmation(const QString& title, const QString& text) = 0;
    // The same before something is deleted: Enter answers No.
    virtual bool AskDeleteConfirmation(const QString& title, const QString& text) { return AskConfirmation(title, text); }
    // A message with an OK button (warning, information or error).
    virtual void ShowMessage(TUiKind kind, const QString& title, const QString& text) = 0;
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    // Empty when cancelled.
    virtual QString PromptSaveFile(const QString& caption, const QString& filter,
                                   const QString& defaultName, const QString& defaultSuffix,
                                   bool confirmOverwrite) = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    // Reports nothing: when no program answers, nothing happens.
    virtual void OpenUrl(const QUrl& url) = 0;
    virtual void ShowErrorDialog(const QString& context, const QString& message) = 0;
    // Yes / No / Cancel question (Escape cancels).
    virtual TYesNoCancel AskYesNoCancel(const QString& title, const QString& text) = 0;
    // Opens a document (or a web address) with the desktop's program for its type; false when none
    // could be started.
    virtual bool OpenDocument(const QUrl& url)
    {
        OpenUrl(url);
        return true;
    }
    // An existing file chosen by the user; empty when cancelled.
    virtual QString PromptOpenFile(const QString& caption, const QString& filter, const QString& folder) = 0;
    // Shows one of the program's own windows modally where nobody calls it directly (the recovery
    // window at start); the test host closes it unanswered.
    virtual int RunModal(QDialog& dialog);
};

// The real host: Qt dialogs, the system clipboard and QDesktopServices.
class TQtUiHost : public TUiHost {
public:
    bool AskConfirmation(const QString& title, const QString& text) override;
    bool AskDeleteConfirmation(const QString& title, const QString& text) override;
    void ShowMessage(TUiKind kind, const QString& title, const QString& text) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    QString PromptSaveFile(const QString& caption, const QString& filter, const QString& defaultName,
                           const QString& defaultSuffix, bool confirmOverwrite) override;
    void SetClipboardText(const QString& text) override;
    void OpenUrl(const QUrl& url) override;
    void ShowErrorDialog(const QString& context, const QString& message) override;
    TYesNoCancel AskYesNoCancel(const QString& title, const QString& text) override;
    bool OpenDocument(const QUrl& url) override;
    QString PromptOpenFile(const QString& caption, const QString& filter, const QString& folder) override;

private:
    static bool Ask(const QString& title, const QString& text, bool defaultNo);
};

// Opens url with the desktop's opener program (xdg-open); true only when a program took it: the
// opener ended successfully, or still runs after waitMs. Without an opener, Qt's own attempt decides.
bool OpenWithDesktopOpener(const QUrl& url, const QString& opener, int waitMs = 2000);

// The host in force; the Qt host until another one is set. Returns the previous host.
TUiHost* SetUiHost(TUiHost* host);
TUiHost& UiHost();

// A host for tests, in force for its lifetime. Questions take the next queued answer; an empty
// queue answers No / cancels and counts as Unanswered, so nothing is deleted or written by accident.
class TTestUiHost : public TUiHost {
public:
    TTestUiHost();
    ~TTestUiHost() override;
    TTestUiHost(const TTestUiHost&) = delete;
    TTestUiHost& operator=(const TTestUiHost&) = delete;

    void PushYesNo(bool yes) { FYesNo.push_back(yes); }
    // nullopt = the user cancels the prompt.
    void PushInput(std::optional<QString> value) { FInputs.push_back(std::move(value)); }
    // Empty = the user cancels the dialog.
    void PushSaveFile(const QString& fileName) { FSaveFiles.push_back(fileName); }
    // An empty queue cancels.
    void PushYesNoCancel(TYesNoCancel answer) { FYesNoCancel.push_back(answer); }
    // Whether the desktop finds a program for the next document; an empty queue opens it.
    void PushOpenDocument(bool opened) { FOpenDocument.push_back(opened); }
    // Empty = the user cancels the open-file prompt.
    void PushOpenFile(const QString& fileName) { FOpenFiles.push_back(fileName); }

    const QList<TUiRecord>& Records() const { return FRecords; }
    QList<TUiRecord> Of(TUiKind kind) const;
    int Count(TUiKind kind) const { return Of(kind).size(); }
    // The texts shown, in order, of every kind.
    QStringList Texts() const;
    void Clear();
    int Unanswered() const { return FUnanswered; }
    const QString& Clipboard() const { return FClipboard; }

    bool AskConfirmation(const QString& title, const QString& text) override;
    bool AskDeleteConfirmation(const QString& title, const QString& text) override;
    void ShowMessage(TUiKind kind, const QString& title, const QString& text) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    QString PromptSaveFile(const QString& caption, const QString& filter, const QString& defaultName,
                           const QString& defaultSuffix, bool confirmOverwrite) override;
    void SetClipboardText(const QString& text) override;
    void OpenUrl(const QUrl& url) override;
    void ShowErrorDialog(const QString& context, const QString& message) override;
    TYesNoCancel AskYesNoCancel(const QString& title, const QString& text) override;
    bool OpenDocument(const QUrl& url) override;
    QString PromptOpenFile(const QString& caption, const QString& filter, const QString& folder) override;
    int RunModal(QDialog& dialog) override;

private:
    TUiHost* FPrevious;
    QList<TUiRecord> FRecords;
    std::deque<bool> FYesNo;
    std::deque<std::optional<QString>> FInputs;
    std::deque<QString> FSaveFiles;
    std::deque<TYesNoCancel> FYesNoCancel;
    std::deque<bool> FOpenDocument;
    std::deque<QString> FOpenFiles;
    QString FClipboard;
    int FUnanswered = 0;
};

// "Valóban szeretné törölni?", Yes / No; true when Yes.
bool ConfirmDelete();
bool AskYesNo(const QString& text);
// A Yes / No question before something is deleted: "Nem" is the default button.
bool AskDelete(const QString& text);
TYesNoCancel AskYesNoCancel(const QString& text);
void ShowWarning(const QString& text);
void ShowInfo(const QString& text);
// A plain error box (title "Hiba", OK) holding the message alone.
void ShowErrorMessage(const QString& text);
// One-line prompt: value is the initial text and, when confirmed, the entered text.
bool InputQuery(const QString& caption, const QString& prompt, QString& value);
// filter in Qt form ("CSV fájlok (*.csv);;Minden fájl (*.*)") or in "text|patterns|..." pairs;
// defaultSuffix is added when the user types a name without one. Empty when cancelled.
QString PromptSaveFile(const QString& caption, const QString& filter, const QString& defaultName,
                       const QString& defaultSuffix = QString(), bool confirmOverwrite = true);
// The folder of the file last chosen in a save prompt; a prompt given a bare name starts there (else in
// the user's documents folder). The main window keeps it in the settings file.
QString LastSaveFolder();
void SetLastSaveFolder(const QString& folder);
// Where a save prompt given defaultName starts: a name with a folder as it is, a bare one in the
// last folder used.
QString SaveDialogStart(const QString& defaultName);
// An existing file to open, starting in folder; empty when cancelled.
QString PromptOpenFile(const QString& caption, const QString& filter, const QString& folder = QString());
void CopyToClipboard(const QString& text);
// A file path or an address with a scheme (https:, mailto:, file:).
void ShellOpen(const QString& target);
// A local file, opened with the desktop's program for its type; false when there is none.
bool OpenDocument(const QString& fileName);
void SendMail(const QString& address, const QString& subject, const QString& body);
// The error dialog with the two memo lines context and message.
void ShowErrorDialog(const QString& context, const QString& message);

// "text|patterns|text|patterns" becomes Qt's "text (patterns);;text (patterns)"; a Qt filter
// stays as it is.
QString QtFileFilter(const QString& filter);
