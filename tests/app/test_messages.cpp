#include "app/Messages.h"

#include <QClipboard>
#include <QFile>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(ShellMessages, HelpersShowTheirTitlesAndTextsThroughTheHost)
{
    TTestUiHost host;
    host.PushYesNo(true);
    host.PushYesNo(false);
    host.PushYesNo(true);
    EXPECT_TRUE(ConfirmDelete());
    EXPECT_FALSE(AskYesNo(QStringLiteral("Valóban szeretné törölni a paklit?")));
    EXPECT_TRUE(AskYesNo(QStringLiteral("Valóban szeretné törölni a lapok darabszámait?")));
    ShowWarning(QStringLiteral("Ön nem adott meg egy szűrési feltételt sem. A szűrés így nem menthető."));
    ShowInfo(QStringLiteral("A vágólapra másolás sikeres."));
    ShowErrorMessage(QStringLiteral("disk I/O error"));

    const QList<TUiRecord>& r = host.Records();
    ASSERT_EQ(r.size(), 6);
    EXPECT_EQ(r[0].Kind, TUiKind::Confirmation);
    EXPECT_EQ(r[0].Title, QStringLiteral("Megerősítés"));
    EXPECT_EQ(r[0].Text, QStringLiteral("Valóban szeretné törölni?"));
    EXPECT_EQ(r[1].Text, QStringLiteral("Valóban szeretné törölni a paklit?"));
    EXPECT_EQ(r[3].Kind, TUiKind::Warning);
    EXPECT_EQ(r[3].Title, QStringLiteral("Figyelmeztetés"));
    EXPECT_EQ(r[4].Kind, TUiKind::Information);
    EXPECT_EQ(r[4].Title, QStringLiteral("Információ"));
    EXPECT_EQ(r[5].Kind, TUiKind::Error);
    EXPECT_EQ(r[5].Title, QStringLiteral("Hiba"));
    EXPECT_EQ(r[5].Text, QStringLiteral("disk I/O error"));
    EXPECT_EQ(host.Unanswered(), 0);
}

TEST(ShellMessages, UnansweredQuestionsSayNoAndCancel)
{
    TTestUiHost host;
    EXPECT_FALSE(ConfirmDelete());
    QString value = QStringLiteral("régi");
    EXPECT_FALSE(InputQuery(QStringLiteral("Szűrő"), QStringLiteral("Név:"), value));
    EXPECT_EQ(value, QStringLiteral("régi"));
    EXPECT_TRUE(PromptSaveFile(QStringLiteral("Mentés"), QString(), QString()).isEmpty());
    EXPECT_EQ(host.Unanswered(), 3);
}

TEST(ShellMessages, PromptsTakeQueuedAnswersAndRecordWhatTheyAsked)
{
    TTestUiHost host;
    host.PushInput(QStringLiteral("Új szűrő"));
    host.PushInput(std::nullopt);
    host.PushSaveFile(QStringLiteral("/tmp/lapok.csv"));

    QString value = QStringLiteral("alap");
    EXPECT_TRUE(InputQuery(QStringLiteral("Szűrő mentése"), QStringLiteral("Név:"), value));
    EXPECT_EQ(value, QStringLiteral("Új szűrő"));
    value = QStringLiteral("marad");
    EXPECT_FALSE(InputQuery(QStringLiteral("Szűrő mentése"), QStringLiteral("Név:"), value));
    EXPECT_EQ(value, QStringLiteral("marad"));
    EXPECT_EQ(PromptSaveFile(QStringLiteral("Táblázat mentése CSV fájlba"), QStringLiteral("CSV fájlok|*.csv"),
                             QStringLiteral("lapok.csv"), QStringLiteral("csv")),
              QStringLiteral("/tmp/lapok.csv"));

    const QList<TUiRecord> inputs = host.Of(TUiKind::Input);
    ASSERT_EQ(inputs.size(), 2);
    EXPECT_EQ(inputs[0].Title, QStringLiteral("Szűrő mentése"));
    EXPECT_EQ(inputs[0].Text, QStringLiteral("Név:"));
    EXPECT_EQ(inputs[0].Extra, QStringLiteral("alap"));
    const TUiRecord save = host.Of(TUiKind::SaveFile).constFirst();
    EXPECT_EQ(save.Title, QStringLiteral("Táblázat mentése CSV fájlba"));
    EXPECT_EQ(save.Extra, QStringLiteral("lapok.csv"));
}

TEST(ShellMessages, ClipboardErrorDialogAndHostNesting)
{
    TTestUiHost outer;
    {
        TTestUiHost inner;
        CopyToClipboard(QStringLiteral("001\tÁbel"));
        ShowErrorDialog(QStringLiteral("Am.RunCommand"), QStringLiteral("no such table: TX"));
        EXPECT_EQ(inner.Clipboard(), QStringLiteral("001\tÁbel"));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("001\tÁbel"));
        const TUiRecord dlg = inner.Of(TUiKind::ErrorDialog).constFirst();
        EXPECT_EQ(dlg.Title, QStringLiteral("Am.RunCommand"));
        EXPECT_EQ(dlg.Text, QStringLiteral("no such table: TX"));
    }
    // The inner host gave the outer one back.
    ShowInfo(QStringLiteral("x"));
    EXPECT_EQ(&UiHost(), static_cast<TUiHost*>(&outer));
    EXPECT_EQ(outer.Texts(), QStringList{QStringLiteral("x")});
}

TEST(ShellMessages, FileFiltersInPairFormBecomeQtFilters)
{
    struct Case { const char* input; const char* expected; };
    const Case cases[] = {
        {"", ""},
        {"CSV fájlok (*.csv);;Minden fájl (*.*)", "CSV fájlok (*.csv);;Minden fájl (*.*)"},
        {"CSV fájlok|*.csv|Minden fájl|*.*", "CSV fájlok (*.csv);;Minden fájl (*.*)"},
        {"Html fájlok (*.htm;*.html)|*.htm;*.html|Minden fájl|*.*", "Html fájlok (*.htm *.html);;Minden fájl (*.*)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtFileFilter(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected)) << c.input;
}

TEST(OpenDocument, OpenedOnlyWhenAProgramTookTheFile)
{
    QTemporaryDir dir;
    const struct { const char* Name; QByteArray Script; bool Opened; } openers[] = {{"no-method", "echo 'xdg-open: no method available' >&2; exit 3", false},
                   {"launcher", "exit 0", true}, {"foreground", "sleep 3", true}, {"crashed", "kill -9 $$", false}};
    for (const auto& o : openers) {
        QFile f(dir.filePath(o.Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + o.Script + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(OpenWithDesktopOpener(QUrl::fromLocalFile(dir.filePath("Lista.xlsx")), f.fileName(), 300), o.Opened) << o.Name;
    }
}
