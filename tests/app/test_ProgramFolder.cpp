#include "app/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(ProgramFolder, WritableExecutableFolderIsUsedAsItIs)
{
    QTemporaryDir exe, data;
    EXPECT_EQ(ChooseProgramFolder(exe.path(), data.path() + "/velkor", data.path() + "/none"), exe.path());
    EXPECT_FALSE(QFileInfo::exists(data.path() + "/velkor"));
}

TEST(ProgramFolder, ReadOnlyFolderMovesToTheDataFolderFilledOnceFromTheDemo)
{
    QTemporaryDir exe, data, demo;
    WriteFile(demo.path() + "/DB/Velkor.db", "demo catalogue");
    WriteFile(demo.path() + "/GFX/a.jpg", "demo a");
    WriteFile(demo.path() + "/GFX/b.jpg", "demo b");
    // A folder nobody can write into, whoever runs the test (root included): one that is not there.
    const QString readOnly = exe.path() + "/not-there";
    const QString target = data.path() + "/velkor";

    ASSERT_EQ(ChooseProgramFolder(readOnly, target, demo.path()), target);
    EXPECT_EQ(ReadFile(target + "/DB/Velkor.db"), "demo catalogue");
    EXPECT_EQ(ReadFile(target + "/GFX/a.jpg"), "demo a");

    // The player's catalogue and pictures are never replaced; a picture added to the demo arrives.
    WriteFile(target + "/DB/Velkor.db", "edited");
    WriteFile(target + "/GFX/a.jpg", "own a");
    WriteFile(demo.path() + "/GFX/c.jpg", "demo c");
    ASSERT_EQ(ChooseProgramFolder(readOnly, target, demo.path()), target);
    EXPECT_EQ(ReadFile(target + "/DB/Velkor.db"), "edited");
    EXPECT_EQ(ReadFile(target + "/GFX/a.jpg"), "own a");
    EXPECT_EQ(ReadFile(target + "/GFX/c.jpg"), "demo c");
}

TEST(ProgramFolder, MissingDemoIsReportedNotAnEmptyCatalogue)
{
    QTemporaryDir exe, data;
    // A folder nobody can write into, whoever runs the test (root included): one that is not there.
    const QString readOnly = exe.path() + "/not-there";
    QString error;
    EXPECT_TRUE(ChooseProgramFolder(readOnly, data.path() + "/velkor", data.path() + "/nodemo", &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(data.path() + "/velkor/DB/Velkor.db"));
}

TEST(ProgramFolder, IconHasEverySizeAndTheDemoSitsInThePrefix)
{
    const QIcon icon = ProgramIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
    EXPECT_EQ(InstalledDemoFolder("/opt/v/bin"), "/opt/v/share/velkor/demo");
}
