#include "app/AppVer.h"

#include "AppVersion.h"

#include <limits>

TAppVer AppVer;

namespace {
void SetPart(std::optional<int> value, int& number, QString& text)
{
    number = value.value_or(0);
    text = value ? QString::number(*value) : QStringLiteral("NA");
}

// Stringifying lets a definition that CMake left empty read as "missing" instead of failing the build.
#define VELKOR_STR2(x) #x
#define VELKOR_STR(x) VELKOR_STR2(x)

std::optional<int> CompiledNumber(const char* text) { return ParseVersionNumber(text); }
} // namespace

std::optional<int> ParseVersionNumber(const char* text)
{
    if (!text || !*text) return std::nullopt;
    long long value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return std::nullopt;
        value = value * 10 + (*p - '0');
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
    }
    return static_cast<int>(value);
}

TAppVer MakeAppVer(std::optional<int> major, std::optional<int> minor, std::optional<int> release,
                   std::optional<int> build)
{
    TAppVer v;
    SetPart(major, v.Major, v.MajorText);
    SetPart(minor, v.Minor, v.MinorText);
    SetPart(release, v.Release, v.ReleaseText);
    SetPart(build, v.Build, v.BuildText);
    v.VersionText = v.MajorText + '.' + v.MinorText + '.' + v.ReleaseText + '.' + v.BuildText;
    return v;
}

void ReadVersionInfo()
{
#if defined(VELKOR_VERSION_MAJOR)
    const auto major = CompiledNumber(VELKOR_STR(VELKOR_VERSION_MAJOR));
#else
    const std::optional<int> major;
#endif
#if defined(VELKOR_VERSION_MINOR)
    const auto minor = CompiledNumber(VELKOR_STR(VELKOR_VERSION_MINOR));
#else
    const std::optional<int> minor;
#endif
#if defined(VELKOR_VERSION_RELEASE)
    const auto release = CompiledNumber(VELKOR_STR(VELKOR_VERSION_RELEASE));
#else
    const std::optional<int> release;
#endif
#if defined(VELKOR_VERSION_BUILD)
    const auto build = CompiledNumber(VELKOR_STR(VELKOR_VERSION_BUILD));
#else
    const std::optional<int> build;
#endif
    AppVer = MakeAppVer(major, minor, release, build);
}
