#pragma once
// A PDF file that appears only when written whole: the pages go to a temporary file in the target's
// folder, renamed over the target by Commit. Destroyed without Commit, it leaves nothing behind.
#include <QString>

#include <memory>

class QPdfWriter;
class QSaveFile;

class TPdfFile {
public:
    // Opens the temporary file; throws an Exception with a Hungarian message when it cannot.
    explicit TPdfFile(const QString& fileName, const QString& title);
    ~TPdfFile();
    TPdfFile(const TPdfFile&) = delete;
    TPdfFile& operator=(const TPdfFile&) = delete;

    QPdfWriter& Writer() { return *FWriter; }
    // Call after the painter has ended; throws when the file could not be completed.
    void Commit();

private:
    QString FFileName;
    std::unique_ptr<QSaveFile> FFile;
    std::unique_ptr<QPdfWriter> FWriter;
};

// "A(z) <name> fájl nem írható: <reason>"
QString PdfWriteError(const QString& fileName, const QString& reason);
