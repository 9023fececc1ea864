#pragma once
// The database provider adaptor: a thin RAII layer over SQLite that offers what the rest of the
// program relies on from its provider (connection, queries with a static in-memory cursor,
// commands, parameters by name and position, data-change notification, transactions).
// Every failure throws EDatabaseError carrying SQLite's own message.
#include "storage/Exceptions.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct UCollator;

enum class TFieldType { ftUnknown, ftInteger, ftFloat, ftString };

class TConnection {
public:
    TConnection();
    ~TConnection();
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    // Opens an existing catalogue for reading and writing; a missing file is never created, and a
    // file that is not a database, is empty or cannot be written is refused and left untouched.
    void Open(const QString& fileName);
    void Close();
    bool Connected() const { return FDb != nullptr; }
    // How long a statement waits for another program's lock before it fails; set before Open.
    void SetBusyTimeout(int milliseconds) { FBusyTimeout = milliseconds; }
    const QString& FileName() const { return FFileName; }
    sqlite3* Handle() const { return FDb; }

    // Runs one or more statements without parameters or rows.
    void ExecuteDirect(const QString& sql);
    // The rowid of the row the last INSERT on this connection added (0 before any); read it inside
    // the transaction of the insert, where no other writer can move it.
    qint64 LastInsertId() const;

    // The engine's version text ("3.40.1"), for the about box.
    static QString EngineVersion();

    // Throws EDatabaseError with the engine's current message when rc is an error code.
    void Check(int rc) const;
    [[noreturn]] void Fail(const QString& context = QString()) const;

    // Case-insensitive, Hungarian-order comparison used for the NOCASE collation of our
    // connection; exposed so that in-memory lists sort exactly as the catalogue does.
    int CompareText(const QString& a, const QString& b) const;
    // The same comparison on UTF-8 bytes, as the engine hands them to the collation.
    int CompareUtf8(const char* a, int lenA, const char* b, int lenB) const;

private:
    void RegisterFunctions();

    sqlite3* FDb = nullptr;
    QString FFileName;
    int FBusyTimeout = 5000;
    UCollator* FCollator = nullptr;  // owned; null only when ICU lacks the locale's data
};

// SQL text with :NAME parameters; shared by queries and commands.
class TStatement {
public:
    explicit TStatement(TConnection* connection = nullptr);
    virtual ~TStatement();

    void SetConnection(TConnection* connection) { FConnection = connection; }
    TConnection* Connection() const { return FConnection; }

    void SetSQL(const QString& sql);
    const QString& SQL() const { return FSQL; }

    // The parameters are those SQLite finds in the text (needs an open connection).
    int ParamCount() const;
    const QStringList& ParamNames() const;
    // By name (without the colon, case-insensitive) or by position from 0; an unknown one throws.
    void SetParam(const QString& name, const QVariant& value);
    void SetParam(int index, const QVariant& value);
    QVariant Param(const QString& name) const;

protected:
    // Prepares the text and binds every parameter; the caller finalises the statement.
    sqlite3_stmt* Prepare() const;
    TConnection* RequireConnection() const;

private:
    int ParamIndex(const QString& name) const;
    void EnsureParams() const;

    TConnection* FConnection = nullptr;
    QString FSQL;
    mutable QStringList FParamNames;
    mutable std::vector<QVariant> FParamValues;
    mutable bool FParamsKnown = false;
};

// A statement without rows (INSERT, UPDATE, DELETE).
class TCommand : public TStatement {
public:
    using TStatement::TStatement;
    // Returns the number of rows changed.
    int Execute();
};

class TQuery;

// One column of the current row, read by name or position. NULL reads as empty text or 0.
class TField {
public:
    TField(const TQuery* query, int column) : FQuery(query), FColumn(column) {}
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    QVariant AsVariant() const;
    // The value exactly as the catalogue holds it (see TQuery::StoredValue).
    QVariant AsStoredValue() const;
    bool IsNull() const;
    QString FieldName() const;
    TFieldType DataType() const;
    int Index() const { return FColumn; }

private:
    const TQuery* FQuery;
    int FColumn;
};

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };

// A query whose rows are read into a static, read-only cursor kept in memory. Each row's values
// sit in one compact buffer; a QString is made only when a cell is asked for.
class TQuery : public QObject, public TStatement {
    Q_OBJECT
public:
    explicit TQuery(TConnection* connection = nullptr, QObject* parent = nullptr);
    ~TQuery() override;

    void Open();
    void Close();
    bool Active() const { return FActive; }
    // Runs the text as a statement without rows; returns the number of rows changed.
    int ExecSQL();

    // Cursor. Moves stop at the first and last row; moving sends one data-change notification.
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    int RecordCount() const { return FRowCount; }
    bool IsEmpty() const { return FRowCount == 0; }
    int RecNo() const { return FRowCount ? FRow : -1; }  // from 0, -1 when there is no row
    void SetRecNo(int row);

    // The first row whose column equals value exactly, or (loPartialKey | loCaseInsensitive)
    // whose text begins with it ignoring letter case; becomes the current row. False: unchanged.
    bool Locate(const QString& fieldName, const QVariant& value, int options = 0);

    using TBookmark = int;
    TBookmark GetBookmark() const { return RecNo(); }
    bool BookmarkValid(TBookmark b) const { return b >= 0 && b < FRowCount; }
    void GotoBookmark(TBookmark b);

    // Columns.
    int FieldCount() const { return int(FFieldNames.size()); }
    const QStringList& FieldNames() const { return FFieldNames; }
    int FindField(const QString& name) const;  // -1 when missing
    TField FieldByName(const QString& name) const;  // throws EDatabaseError when missing
    TField Fields(int column) const { return TField(this, column); }
    TFieldType FieldType(int column) const;

    // Any row, without moving the cursor (the grid's model reads painted cells this way).
    QString ValueText(int row, int column) const;
    qint64 ValueInteger(int row, int column) const;
    QVariant Value(int row, int column) const;
    bool ValueIsNull(int row, int column) const;
    // The value in the storage class the engine returned, whatever the column declares: an
    // integer as qint64, a real as double, a text as QString, a blob as QByteArray, NULL as an
    // invalid QVariant. Bound back as a parameter it writes or matches the very same value.
    QVariant StoredValue(int row, int column) const;

    // Notifications to the views: held back while disabled, sent once when enabled again.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

signals:
    // The current row moved, or the list was reopened or closed.
    void DataChange();
    // Rows are about to be replaced / have been replaced (open, close): models reset on these.
    void BeforeReset();
    void AfterReset();

private:
    void MoveTo(int row);
    void NotifyDataChange();
    const char* CellData(int row, int column, uint32_t* length) const;

    bool FActive = false;
    bool FEof = true;
    bool FBof = true;
    int FRow = 0;
    int FRowCount = 0;
    int FDisableCount = 0;
    bool FPendingChange = false;
    QStringList FFieldNames;
    std::vector<TFieldType> FFieldTypes;
    // Cell i of row r is FArena[FOffsets[k] .. FOffsets[k+1]) with k = r * columns + i.
    QByteArray FArena;
    std::vector<uint32_t> FOffsets;
    std::vector<uint8_t> FStorage;  // the engine's storage class of each cell (SQLITE_NULL, ...)
};

// True when both values have the same storage class and value (5 and "5" differ), as
// StoredValue gives them: how a save tells another program's write from the row it loaded.
bool SameStoredValue(const QVariant& a, const QVariant& b);
bool SameStoredValues(const QList<QVariant>& a, const QList<QVariant>& b);

// A scope guard: Commit() keeps the work; leaving the scope without it (an exception) rolls back.
// The outermost one opens the real transaction and ends it with COMMIT or ROLLBACK (a failed COMMIT
// is rolled back and rethrown), so the connection is back in autocommit afterwards whatever failed;
// one inside another is a savepoint. Immediate (every write): the write lock is taken at once,
// waiting the busy timeout for another program, so that a check read inside the transaction still
// holds when the write follows. Deferred: a consistent reading only.
class TTransaction {
public:
    enum TLock { Deferred, Immediate };
    explicit TTransaction(TConnection& connection, TLock lock = Immediate);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    void Abandon();

    TConnection& FConnection;
    QString FName;  // empty: an outermost BEGIN IMMEDIATE, ended by COMMIT or ROLLBACK
    bool FDone = false;
};
