#include "app/ShellUtil.h"

#include "app/AppVer.h"
#include "app/Messages.h"

#include <QFileInfo>
#include <QMouseEvent>

QUrl BuildMailUrl(const QString& address, const QString& subject, const QString& body)
{
    QByteArray url = "mailto:" + QUrl::toPercentEncoding(address, "@+");
    if (!subject.isEmpty()) url += "?Subject=" + QUrl::toPercentEncoding(subject);
    if (!body.isEmpty()) url += (subject.isEmpty() ? "?Body=" : "&Body=") + QUrl::toPercentEncoding(body);
    return QUrl::fromEncoded(url, QUrl::StrictMode);
}

QUrl ShellTargetUrl(const QString& target)
{
    const QUrl url(target, QUrl::StrictMode);
    // A single-letter "scheme" would be a drive letter, never a protocol.
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

void OpenHelpPage()
{
    // The page needs a browser: say so when none could be started, rather than nothing at all.
    if (!UiHost().OpenDocument(QUrl(HELP_URL)))
        ShowWarning(QStringLiteral("Nem sikerült böngészőt indítani a súgó megnyitásához.\nA súgó címe: ") + HELP_URL);
}

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
