#include "app/AppVer.h"
#include "app/Messages.h"
#include "app/ufExcept.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ShellUtil.h"

TEST(ShellExcept, MailBodyEndsEveryLineWithOneSpace)
{
    struct Case { QStringList lines; const char* expected; };
    const Case cases[] = {
        {{}, "A hiba pontos leírása : "},
        {{"Belső alkalmazáshiba", "no such column: X"}, "A hiba pontos leírása : Belső alkalmazáshiba no such column: X "},
        {{"", "üzenet"}, "A hiba pontos leírása :  üzenet "},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorMailBody(c.lines), QString::fromUtf8(c.expected));
}

TEST(ShellExcept, MailSubjectCarriesVersionAndMinuteStamp)
{
    const QDateTime when(QDate(2024, 3, 7), QTime(9, 5, 59));
    EXPECT_EQ(ErrorMailSubject(QStringLiteral("0.1.0.1"), when),
              QStringLiteral("VelkorDb üzenet (Verzió: 0.1.0.1) 2024.03.07 09:05"));
    EXPECT_EQ(ErrorMailSubject(MakeAppVer({}, {}, {}, {}).VersionText, QDateTime(QDate(2024, 12, 31), QTime(23, 0))),
              QStringLiteral("VelkorDb üzenet (Verzió: NA.NA.NA.NA) 2024.12.31 23:00"));
}

TEST(ShellExcept, FillFromParsPutsTwoLinesAndShowsTheFirst)
{
    TfExcept dlg;
    TFormOpenPars pars;
    InitFormOpenPars(pars);
    pars.Context = QStringLiteral("Am.Tulajdonsag_Insert");
    pars.Message = QStringLiteral("UNIQUE constraint failed");
    dlg.FillFromPars(pars);
    EXPECT_EQ(dlg.MemoLines(), (QStringList{pars.Context, pars.Message}));

    // A long message with its own line breaks: every line is a memo line, the view starts at the top.
    pars.Message = QStringList(20, QStringLiteral("sor")).join('\n') + '\n';
    dlg.FillFromPars(pars);
    EXPECT_EQ(dlg.MemoLines().size(), 21);
    EXPECT_EQ(dlg.mHiba->verticalScrollBar()->value(), 0);
    EXPECT_EQ(dlg.mHiba->textCursor().position(), 0);
}

TEST(ShellExcept, EMailButtonAndLinkMailTheMemo)
{
    TTestUiHost host;
    TfExcept dlg;
    TFormOpenPars pars;
    pars.Context = QStringLiteral("Belső alkalmazáshiba");
    pars.Message = QStringLiteral("hiba & baj");
    dlg.FillFromPars(pars);

    QTest::mouseClick(dlg.btnEMail, Qt::LeftButton);
    QTest::mouseClick(dlg.lEMail, Qt::LeftButton);
    const QList<TUiRecord> mails = host.Of(TUiKind::Shell);
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(mails[0].Text, mails[1].Text);

    const QUrl url = QUrl::fromEncoded(mails[0].Text.toLatin1());
    EXPECT_EQ(url.path(), MAKER_EMAIL);
    const QStringList parts = url.query(QUrl::FullyEncoded).split('&');
    ASSERT_EQ(parts.size(), 2);
    const QString subject = QUrl::fromPercentEncoding(parts[0].mid(8).toLatin1());
    const QString body = QUrl::fromPercentEncoding(parts[1].mid(5).toLatin1());
    const QRegularExpression stamp(QStringLiteral("^VelkorDb üzenet \\(Verzió: %1\\) \\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d$")
                                       .arg(QRegularExpression::escape(AppVer.VersionText)));
    EXPECT_TRUE(stamp.match(subject).hasMatch()) << subject.toStdString();
    EXPECT_EQ(body, QStringLiteral("A hiba pontos leírása : Belső alkalmazáshiba hiba & baj "));
}

TEST(ShellExcept, LayoutAndControls)
{
    TfExcept dlg;
    EXPECT_EQ(dlg.size(), QSize(414, 266));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Velkor Adatbázis"));
    EXPECT_EQ(dlg.pnTop->height(), 43);
    EXPECT_EQ(dlg.pnTop->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(dlg.lTitle->text(), QStringLiteral("Hiba történt"));
    EXPECT_EQ(dlg.lTitle->font().pixelSize(), 16);
    EXPECT_TRUE(dlg.lTitle->font().bold());
    EXPECT_EQ(dlg.imIcon->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(dlg.mHiba->isReadOnly());
    EXPECT_EQ(dlg.mHiba->height(), 55);
    EXPECT_EQ(dlg.mHiba->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(dlg.lEMail->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_TRUE(dlg.lEMail->font().underline());
    EXPECT_EQ(dlg.lEMail->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dlg.btnEMail->text(), QStringLiteral("E-Mail"));
    EXPECT_EQ(dlg.btnClose->text(), QStringLiteral("Bezárás"));
    EXPECT_TRUE(dlg.btnClose->isDefault());
    EXPECT_LT(dlg.btnEMail->x(), dlg.btnClose->x());
    EXPECT_LE(dlg.btnClose->geometry().right(), 414);
    EXPECT_LE(dlg.btnClose->geometry().bottom(), 266);
    // Every line of text fits the dialog's width in the font it is drawn with.
    for (QLabel* l : {dlg.lLine1, dlg.lLine2, dlg.lLine3})
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();

    dlg.show();
    QTest::mouseClick(dlg.btnClose, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}
