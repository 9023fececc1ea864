#include "app/AppVer.h"
#include "app/Messages.h"
#include "app/ShellUtil.h"
#include "app/ufAbout.h"
#include "storage/DbProvider.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(ShellAbout, ShowsVersionsAndMaker)
{
    const TAppVer saved = AppVer;
    AppVer = MakeAppVer({}, {}, {}, {});
    TfAbout dlg;
    EXPECT_EQ(dlg.size(), QSize(377, 280));
    EXPECT_TRUE(dlg.windowTitle().isEmpty());
    EXPECT_EQ(dlg.lProgVersion->text(), QStringLiteral("NA.NA.NA.NA"));
    EXPECT_EQ(dlg.lAdo->text(), TConnection::EngineVersion());
    EXPECT_NE(dlg.lAdo->text(), QStringLiteral("0.0"));
    EXPECT_EQ(dlg.lAuthor->text(), QStringLiteral("Velkor Fejlesztő"));
    EXPECT_EQ(dlg.Label9->text(), QStringLiteral("velkor.fejleszto@example.org"));
    EXPECT_EQ(dlg.lProgName->font().pixelSize(), 19);
    EXPECT_EQ(dlg.lProgName->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_TRUE(dlg.lDescription->wordWrap());
    EXPECT_TRUE(dlg.btnOK->isDefault());
    AppVer = saved;
}

TEST(ShellAbout, MailLinkHasVersionSubjectAndNoBody)
{
    TTestUiHost host;
    const TAppVer saved = AppVer;
    AppVer = MakeAppVer(1, 2, 3, 4);
    TfAbout dlg;
    QTest::mouseClick(dlg.Label9, Qt::LeftButton);
    AppVer = saved;
    const QList<TUiRecord> mails = host.Of(TUiKind::Shell);
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails[0].Text, QStringLiteral("mailto:velkor.fejleszto@example.org?Subject="
                                            "VelkorDb%20%C3%BCzenet%20%28Verzi%C3%B3%3A%201.2.3.4%29"));
    EXPECT_FALSE(mails[0].Text.contains(QStringLiteral("Body")));
}

TEST(ShellAbout, HelpPageOpensTheHelpAddress)
{
    TTestUiHost host;
    OpenHelpPage();
    EXPECT_EQ(host.Texts(), QStringList{QStringLiteral("https://velkor.example.org/sugo")});
}
