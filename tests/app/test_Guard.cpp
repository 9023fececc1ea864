#include "app/Guard.h"
#include "app/Messages.h"
#include "storage/Exceptions.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {
class TReceiver : public QObject {
public:
    int Calls = 0;
    int LastValue = 0;
    void OnValue(int value)
    {
        ++Calls;
        LastValue = value;
        if (value == 13) throw EConvertError(QStringLiteral("'13' nem érvényes egész szám"));
    }
};
} // namespace

TEST(ShellGuard, ExceptionFromAConnectedSlotReachesTheDialogAndTheProgramGoesOn)
{
    TTestUiHost host;
    QPushButton button;
    QObject context;
    int calls = 0;
    GuardedConnect(&button, &QPushButton::clicked, &context, [&calls] {
        ++calls;
        throw EDatabaseError(QStringLiteral("no such table: TLAPX"));
    });
    button.click();
    button.click();
    EXPECT_EQ(calls, 2);
    const QList<TUiRecord> shown = host.Of(TUiKind::ErrorDialog);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].Title, QStringLiteral("Belső alkalmazáshiba"));
    EXPECT_EQ(shown[0].Text, QStringLiteral("no such table: TLAPX"));
}

TEST(ShellGuard, AbortIsSilentAndForeignExceptionsAreShownToo)
{
    TTestUiHost host;
    QPushButton button;
    int step = 0;
    GuardedConnect(&button, &QPushButton::clicked, &button, [&step](bool) {
        ++step;
        if (step == 1) throw EAbort();
        if (step == 2) throw std::runtime_error("runtime");
        throw 42;
    });
    button.click();
    EXPECT_EQ(host.Records().size(), 0);
    button.click();
    button.click();
    EXPECT_EQ(step, 3);
    const QList<TUiRecord> shown = host.Of(TUiKind::ErrorDialog);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].Text, QStringLiteral("runtime"));
    EXPECT_EQ(shown[1].Title, QStringLiteral("Belső alkalmazáshiba"));
    EXPECT_FALSE(shown[1].Text.isEmpty());
}

TEST(ShellGuard, MemberSlotsGetTheSignalArgumentsAndDieWithTheReceiver)
{
    TTestUiHost host;
    QSpinBox spin;
    spin.setRange(0, 100);
    auto* receiver = new TReceiver;
    GuardedConnect(&spin, &QSpinBox::valueChanged, receiver, &TReceiver::OnValue);
    spin.setValue(7);
    EXPECT_EQ(receiver->LastValue, 7);
    spin.setValue(13);
    EXPECT_EQ(receiver->LastValue, 13);
    EXPECT_EQ(host.Of(TUiKind::ErrorDialog).size(), 1);
    delete receiver;
    spin.setValue(20); // no call into the deleted receiver
    EXPECT_EQ(host.Of(TUiKind::ErrorDialog).size(), 1);
}

TEST(ShellGuard, GuardedAndAppEventsException)
{
    TTestUiHost host;
    Guarded([] { throw EAbort(); });
    Guarded([] {});
    EXPECT_TRUE(host.Records().isEmpty());
    AppEventsException(EConvertError(QStringLiteral("rossz szám")));
    ASSERT_EQ(host.Records().size(), 1);
    EXPECT_EQ(host.Records()[0].Kind, TUiKind::ErrorDialog);
    EXPECT_EQ(host.Records()[0].Title, QStringLiteral("Belső alkalmazáshiba"));
    EXPECT_EQ(host.Records()[0].Text, QStringLiteral("rossz szám"));
}
