// A document counts as opened only when a program took it: the desktop opener's failure ("no method
// available") is not a success.
#include "app/Messages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// Sets environment variables for the scope and puts the old values back.
class TEnvScope {
public:
    void Set(const char* name, const QByteArray& value)
    {
        FSaved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~TEnvScope()
    {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) it->Was ? qputenv(it->Name, it->Value) : qunsetenv(it->Name);
    }

private:
    struct TSaved {
        const char* Name;
        bool Was;
        QByteArray Value;
    };
    std::vector<TSaved> FSaved;
};

QString Script(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

}  // namespace

TEST(OpenDocument, OpenedOnlyWhenAProgramTookTheFile)
{
    QTemporaryDir dir;
    const QUrl book = QUrl::fromLocalFile(dir.filePath("Lista.xlsx"));
    const struct {
        const char* Opener;
        QByteArray Body;
        bool Opened;
    } cases[] = {
        {"no-method", "echo \"xdg-open: no method available for opening '$1'\" >&2; exit 3", false},
        {"launcher", "exit 0", true},                   // a desktop launcher handed it over
        {"foreground", "sleep 3", true},                // the program itself, still running
        {"crashed", "kill -9 $$", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenWithDesktopOpener(book, Script(dir, c.Opener, c.Body), 300), c.Opened) << c.Opener;
}

TEST(OpenDocument, RealOpenerWithoutAnyProgramIsNoSuccess)
{
    if (QStandardPaths::findExecutable("xdg-open").isEmpty()) GTEST_SKIP() << "xdg-open is not installed";
    // A desktop with no program for anything: empty data and config folders, no browser.
    QTemporaryDir home;
    TEnvScope env;
    env.Set("XDG_DATA_HOME", home.path().toUtf8());
    env.Set("XDG_DATA_DIRS", home.path().toUtf8());
    env.Set("XDG_CONFIG_HOME", home.path().toUtf8());
    env.Set("XDG_CONFIG_DIRS", home.path().toUtf8());
    env.Set("BROWSER", "velkor-nincs-ilyen-bongeszo");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "MATE_DESKTOP_SESSION_ID", "DISPLAY", "WAYLAND_DISPLAY"})
        env.Set(name, QByteArray());
    QFile book(home.filePath("Lista.xlsx"));
    ASSERT_TRUE(book.open(QIODevice::WriteOnly));
    book.write("PK");
    book.close();
    TQtUiHost host;
    EXPECT_FALSE(host.OpenDocument(QUrl::fromLocalFile(book.fileName())));
}
