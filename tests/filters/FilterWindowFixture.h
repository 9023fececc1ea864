#pragma once
// The filter windows over a private copy of the demo catalogue: the program's modules created as
// at start, a test UI host that answers questions and records every message, and plain SQL to
// read back what was written.
#include "TestCatalogue.h"

#include "app/Messages.h"
#include "app/Program.h"
#include "storage/uAM.h"

#include <memory>

class FilterWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program = std::make_unique<TProgram>(Cat.ProgramDir());
        Program->Create();
        ASSERT_TRUE(AM && AM->Connected());
        Ui.Clear();
    }

    QString Scalar(const QString& sql) { return ScalarOn(AM->ADOConnection, sql); }
    qint64 Count(const QString& table) { return Scalar("SELECT COUNT(*) FROM " + table).toLongLong(); }
    void Exec(const QString& sql) { AM->ADOConnection.ExecuteDirect(sql); }
    // Every row of every filter table, to compare the catalogue before and after a failed save.
    QString FilterTables()
    {
        return Scalar("SELECT group_concat(x, '|') FROM (SELECT FB_ID || ',' || IFNULL(FB_NAME, '~') || ',' || "
                      "IFNULL(FB_CATEGORY, '~') AS x FROM TFILTERBASE ORDER BY FB_ID)") +
               "#" +
               Scalar("SELECT group_concat(x, '|') FROM (SELECT F_ID || ',' || F_FBID || ',' || F_FTID || ',' || "
                      "F_VALUE || ',' || F_ORDER || ',' || F_GROUP || ',' || F_ANDOR || ',' || F_OPERATION AS x "
                      "FROM TFILTER ORDER BY F_ID)") +
               "#" +
               Scalar("SELECT group_concat(x, '|') FROM (SELECT SZL_ID || ',' || SZL_FBID || ',' || SZL_LID AS x "
                      "FROM TSZURESLAP ORDER BY SZL_ID)");
    }
    QStringList ErrorContexts() const
    {
        QStringList out;
        for (const TUiRecord& r : Ui.Of(TUiKind::ErrorDialog)) out << r.Title;
        return out;
    }

    TTempCatalogue Cat;
    TTestUiHost Ui;
    std::unique_ptr<TProgram> Program;
};
