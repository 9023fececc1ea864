#pragma once
// Addresses handed to the desktop, and the clickable link label of the shell's dialogs.
#include <QLabel>
#include <QString>
#include <QUrl>

// "mailto:" + address, then "?Subject=" + subject and "&Body=" + body (or "?Body=" without a
// subject), each part left out when its text is empty. The texts are percent-encoded (UTF-8), so
// spaces, accented letters, "&", "?" and line breaks reach the mail program as they were written.
QUrl BuildMailUrl(const QString& address, const QString& subject, const QString& body);

// An address with a scheme stays as it is; anything else is a local file or folder.
QUrl ShellTargetUrl(const QString& target);

// Opens the maker's help web page in the desktop's browser; a warning when none could be started.
void OpenHelpPage();

// A label that acts as a link: hand cursor, emits clicked() on a left-button release over it.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
