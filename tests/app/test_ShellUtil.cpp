#include "app/Messages.h"
#include "app/ShellUtil.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(ShellMail, UrlPartsAndPercentEncoding)
{
    struct Case { const char* subject; const char* body; const char* expected; };
    const Case cases[] = {
        {"", "", "mailto:a.b@example.org"},
        {"Tárgy", "", "mailto:a.b@example.org?Subject=T%C3%A1rgy"},
        {"", "Szöveg", "mailto:a.b@example.org?Body=Sz%C3%B6veg"},
        {"VelkorDb üzenet (Verzió: 0.1.0.1)", "",
         "mailto:a.b@example.org?Subject=VelkorDb%20%C3%BCzenet%20%28Verzi%C3%B3%3A%200.1.0.1%29"},
        // Characters that would otherwise end or split the address stay part of the text.
        {"a&b?c", "x=1&Body=2\n#3 ", "mailto:a.b@example.org?Subject=a%26b%3Fc&Body=x%3D1%26Body%3D2%0A%233%20"},
    };
    for (const Case& c : cases) {
        const QUrl url = BuildMailUrl(QStringLiteral("a.b@example.org"), QString::fromUtf8(c.subject),
                                      QString::fromUtf8(c.body));
        EXPECT_TRUE(url.isValid()) << c.expected;
        EXPECT_EQ(QString::fromLatin1(url.toEncoded()), QString::fromLatin1(c.expected));
    }
}

TEST(ShellMail, EncodedTextsDecodeBackToTheOriginals)
{
    const QString subject = QStringLiteral("VelkorDb üzenet (Verzió: NA.NA.NA.NA) 2024.01.31 23:59");
    const QString body = QStringLiteral("A hiba pontos leírása : Belső alkalmazáshiba 100% & több ");
    const QUrl url = BuildMailUrl(QStringLiteral("velkor.fejleszto@example.org"), subject, body);
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), QStringLiteral("velkor.fejleszto@example.org"));
    QString query = QString::fromLatin1(url.query(QUrl::FullyEncoded).toLatin1());
    const QStringList parts = query.split(QLatin1Char('&'));
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(QUrl::fromPercentEncoding(parts[0].mid(8).toLatin1()), subject);
    EXPECT_EQ(QUrl::fromPercentEncoding(parts[1].mid(5).toLatin1()), body);
}

TEST(ShellMail, SendMailAndShellOpenReachTheHost)
{
    TTestUiHost host;
    SendMail(QStringLiteral("x@example.org"), QStringLiteral("T"), QString());
    ShellOpen(QStringLiteral("https://velkor.example.org/sugo"));
    ShellOpen(QStringLiteral("/tmp/lista.xlsx"));
    ShellOpen(QStringLiteral("relatív fájl.xlsx"));
    const QStringList texts = host.Texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], QStringLiteral("mailto:x@example.org?Subject=T"));
    EXPECT_EQ(texts[1], QStringLiteral("https://velkor.example.org/sugo"));
    EXPECT_EQ(texts[2], QStringLiteral("file:///tmp/lista.xlsx"));
    EXPECT_EQ(QUrl::fromEncoded(texts[3].toLatin1()).toLocalFile(),
              QDir::current().absoluteFilePath(QStringLiteral("relatív fájl.xlsx")));
    for (const TUiRecord& r : host.Records()) EXPECT_EQ(r.Kind, TUiKind::Shell);
}
