#pragma once
// The program's version record, filled once at start and read by the error dialog and the about
// box; also the program's fixed contact values shown there.
#include <QString>

#include <optional>

struct TAppVer {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
    QString MajorText = QStringLiteral("NA");
    QString MinorText = QStringLiteral("NA");
    QString ReleaseText = QStringLiteral("NA");
    QString BuildText = QStringLiteral("NA");
    QString VersionText = QStringLiteral("NA.NA.NA.NA");
};

extern TAppVer AppVer;

// A missing number stays 0 with the text "NA"; VersionText joins the four texts with ".".
TAppVer MakeAppVer(std::optional<int> major, std::optional<int> minor, std::optional<int> release,
                   std::optional<int> build);

// A number as the build gave it: decimal digits only, anything else (or nothing) is missing.
std::optional<int> ParseVersionNumber(const char* text);

// Fills AppVer from the version numbers compiled into the program.
void ReadVersionInfo();

// Contact values of the program's maker, shown by the error dialog and the about box.
inline const QString DEVELOPER_NAME = QStringLiteral("Velkor Fejlesztő");
inline const QString MAKER_EMAIL = QStringLiteral("velkor.fejleszto@example.org");
inline const QString HELP_URL = QStringLiteral("https://velkor.example.org/sugo");
