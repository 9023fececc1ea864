#include "app/TermSignal.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int gSignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &c, 1);
}
}  // namespace

void CloseForTermination(QWidget* window)
{
    if (!window) return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        // Cancel, never accept: a question answers No or Mégse, a dialog drops its edits.
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
        // One that refuses (a close handler that says no) is hidden, which ends its exec() too.
        if (modal->isVisible()) modal->hide();
        // The window's own exec() returns only when control is back in its loop; the main
        // window is closed after that, once nothing modal is left (the handler that opened the
        // dialog may open another one when the first returns: that one is cancelled in turn).
        QPointer<QWidget> target(window);
        QTimer::singleShot(0, window, [target] { CloseForTermination(target); });
        return;
    }
    window->close();
}

void CloseWindowOnTermination(QWidget* window)
{
    if (gSignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(gSignalPipe[0], &c, 1);
        CloseForTermination(window);
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
}
