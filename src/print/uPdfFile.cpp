#include "print/uPdfFile.h"

#include "storage/Exceptions.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

QString PdfWriteError(const QString& fileName, const QString& reason)
{
    return QStringLiteral("A(z) ") + QDir::toNativeSeparators(fileName) + QStringLiteral(" fájl nem írható: ") + reason;
}

TPdfFile::TPdfFile(const QString& fileName, const QString& title) : FFileName(fileName)
{
    FFile = std::make_unique<QSaveFile>(fileName);
    if (!FFile->open(QIODevice::WriteOnly)) throw Exception(PdfWriteError(fileName, FFile->errorString()));
    FWriter = std::make_unique<QPdfWriter>(FFile.get());
    FWriter->setTitle(title);
    FWriter->setCreator(QStringLiteral("Velkor Adatbázis"));
}

TPdfFile::~TPdfFile()
{
    FWriter.reset();
    if (FFile) FFile->cancelWriting();
}

void TPdfFile::Commit()
{
    FWriter.reset();
    const bool ok = FFile->error() == QFileDevice::NoError && FFile->commit();
    if (!ok) {
        const QString reason = FFile->errorString();
        FFile->cancelWriting();
        FFile.reset();
        throw Exception(PdfWriteError(FFileName, reason));
    }
    FFile.reset();
}
