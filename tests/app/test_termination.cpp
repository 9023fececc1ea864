// A stop request while a modal window is open: the modal window goes first, as cancelled, and
// the main window closes only after it has returned.
#include "app/Messages.h"
#include "app/TermSignal.h"

#include <QCloseEvent>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class TRecordingWindow : public QWidget {
public:
    explicit TRecordingWindow(QStringList& events) : FEvents(events) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        FEvents << "main closed";
        event->accept();
    }

private:
    QStringList& FEvents;
};

// Runs body from the event loop (as a handler would) and waits until the window has closed.
bool RunUntilClosed(QWidget& window, const std::function<void()>& body)
{
    window.show();
    QTimer::singleShot(0, &window, body);
    return QTest::qWaitFor([&] { return !window.isVisible(); }, 5000);
}

}  // namespace

TEST(Termination, AnOpenDialogIsCancelledBeforeTheMainWindowCloses)
{
    QStringList events;
    TRecordingWindow main(events);
    ASSERT_TRUE(RunUntilClosed(main, [&] {
        QDialog dialog(&main);
        dialog.setModal(true);
        QTimer::singleShot(0, &main, [&] { CloseForTermination(&main); });
        const int result = dialog.exec();
        events << QString("dialog returned %1").arg(result);
    }));
    EXPECT_EQ(events, QStringList({QString("dialog returned %1").arg(QDialog::Rejected), "main closed"}));
}

TEST(Termination, AQuestionOpenAtTheStopIsAnsweredNo)
{
    QStringList events;
    TRecordingWindow main(events);
    TQtUiHost real;  // the real message box, not the test host's queue
    ASSERT_TRUE(RunUntilClosed(main, [&] {
        QTimer::singleShot(0, &main, [&] { CloseForTermination(&main); });
        const bool yes = real.AskConfirmation(TITLE_CONFIRM, "Valóban szeretné törölni?");
        events << (yes ? "yes" : "no");
    }));
    EXPECT_EQ(events, QStringList({"no", "main closed"}));
}

TEST(Termination, ASecondQuestionOpenedByTheFirstAnswerIsCancelledToo)
{
    QStringList events;
    TRecordingWindow main(events);
    TQtUiHost real;
    ASSERT_TRUE(RunUntilClosed(main, [&] {
        QTimer::singleShot(0, &main, [&] { CloseForTermination(&main); });
        events << (real.AskConfirmation(TITLE_CONFIRM, "Első kérdés") ? "first yes" : "first no");
        const TYesNoCancel second = real.AskYesNoCancel(TITLE_CONFIRM, "Második kérdés");
        events << (second == TYesNoCancel::Cancel ? "second cancelled" : "second answered");
    }));
    EXPECT_EQ(events, QStringList({"first no", "second cancelled", "main closed"}));
}

TEST(Termination, TheSignalTakesTheSameRoad)
{
    struct sigaction before[3] = {};
    const int stopSignals[3] = {SIGTERM, SIGINT, SIGHUP};
    for (int i = 0; i < 3; ++i) sigaction(stopSignals[i], nullptr, &before[i]);

    QStringList events;
    {
        TRecordingWindow main(events);
        CloseWindowOnTermination(&main);
        ASSERT_TRUE(RunUntilClosed(main, [&] {
            QDialog dialog(&main);
            dialog.setModal(true);
            QTimer::singleShot(0, &main, [] { std::raise(SIGTERM); });
            events << QString("dialog returned %1").arg(dialog.exec());
        }));
    }
    // The test process gets its own handlers back.
    for (int i = 0; i < 3; ++i) sigaction(stopSignals[i], &before[i], nullptr);
    EXPECT_EQ(events, QStringList({QString("dialog returned %1").arg(QDialog::Rejected), "main closed"}));
}
