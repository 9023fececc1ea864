#include "app/AppVer.h"
#include "AppVersion.h"

#include <gtest/gtest.h>

TEST(ShellAppVer, MissingNumbersReadNA)
{
    const TAppVer none = MakeAppVer({}, {}, {}, {});
    EXPECT_EQ(none.VersionText, QStringLiteral("NA.NA.NA.NA"));
    EXPECT_EQ(none.MajorText, QStringLiteral("NA"));
    EXPECT_EQ(none.Build, 0);
    EXPECT_EQ(TAppVer().VersionText, QStringLiteral("NA.NA.NA.NA"));

    const TAppVer some = MakeAppVer(2, 10, {}, 0);
    EXPECT_EQ(some.VersionText, QStringLiteral("2.10.NA.0"));
    EXPECT_EQ(some.Minor, 10);
}

TEST(ShellAppVer, CompiledNumbersAreRead)
{
    struct Case { const char* text; std::optional<int> expected; };
    const Case cases[] = {{"", std::nullopt}, {"0", 0}, {"17", 17}, {"1a", std::nullopt},
                          {"-1", std::nullopt}, {"99999999999", std::nullopt}, {nullptr, std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(ParseVersionNumber(c.text), c.expected) << (c.text ? c.text : "null");

    const TAppVer saved = AppVer;
    ReadVersionInfo();
    EXPECT_EQ(AppVer.VersionText,
              QStringLiteral("%1.%2.%3.%4").arg(VELKOR_VERSION_MAJOR).arg(VELKOR_VERSION_MINOR)
                  .arg(VELKOR_VERSION_RELEASE).arg(VELKOR_VERSION_BUILD));
    AppVer = saved;
}
