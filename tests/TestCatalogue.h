#pragma once
// A private copy of the demo catalogue in a temporary program folder, for tests that write.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "storage/DbProvider.h"

class TTempCatalogue {
public:
    TTempCatalogue()
    {
        QDir(Dir.path()).mkpath("DB");
        const QString source = QStringLiteral(VELKOR_PROGRAM_DIR "/DB/Velkor.db");
        EXPECT_TRUE(QFile::copy(source, DbPath())) << "demo catalogue missing: " << source.toStdString();
        QFile::setPermissions(DbPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    }
    QString ProgramDir() const { return Dir.path(); }
    QString DbPath() const { return Dir.path() + "/DB/Velkor.db"; }

    QTemporaryDir Dir;
};

// A connection to a fresh copy of the demo catalogue, with a scratch query for reading back.
class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { Conn.Open(Cat.DbPath()); }

    // The first column of the first row of a statement, as text (empty when there is no row).
    QString Scalar(const QString& sql)
    {
        TQuery q(&Conn);
        q.SetSQL(sql);
        q.Open();
        return q.IsEmpty() ? QString() : q.Fields(0).AsString();
    }

    TTempCatalogue Cat;
    TConnection Conn;
};
