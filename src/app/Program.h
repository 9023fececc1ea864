#pragma once
// The program's long-lived modules, created in their fixed order and released in reverse:
// QPList, AM, dmVDB, dmColumns, dmExport and the main window fMain (whose creation steps run in
// FormCreate). The program, the screenshot tools, the end-to-end tests and the benchmark all
// start the program this way.
#include <QString>

class TProgram {
public:
    explicit TProgram(const QString& programDir);
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Runs the main window's creation steps through the application-wide handler.
    void Create();
};

// Copies the catalogue of one program folder (DB/Velkor.db) into another, writable by its owner;
// the tools and the benchmark work on such copies so the real catalogue is never touched.
bool CopyCatalogue(const QString& fromProgramDir, const QString& toProgramDir);
