#include "storage/DbProvider.h"

#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <cstring>
#include <string>

// ---------------------------------------------------------------------------------------------
// Case folding and LIKE

namespace {

// Decodes UTF-8 into folded code points; invalid bytes are taken as they are.
void FoldUtf8Into(const unsigned char* s, std::u32string& out)
{
    out.clear();
    while (*s) {
        char32_t c = *s;
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z') c += 32;
            out.push_back(c);
            ++s;
            continue;
        }
        int extra = 0;
        if ((c & 0xE0) == 0xC0) { c &= 0x1F; extra = 1; }
        else if ((c & 0xF0) == 0xE0) { c &= 0x0F; extra = 2; }
        else if ((c & 0xF8) == 0xF0) { c &= 0x07; extra = 3; }
        ++s;
        for (int i = 0; i < extra && (*s & 0xC0) == 0x80; ++i, ++s) c = (c << 6) | (*s & 0x3F);
        out.push_back(QChar::toCaseFolded(c));
    }
}

enum class TokKind : uint8_t { Literal, AnyOne, AnySeq };
struct LikeToken {
    char32_t ch;
    TokKind kind;
};
using LikePattern = std::vector<LikeToken>;

LikePattern CompileLike(const unsigned char* pattern, char32_t escape)
{
    std::u32string folded;
    FoldUtf8Into(pattern, folded);
    LikePattern tokens;
    tokens.reserve(folded.size());
    for (size_t i = 0; i < folded.size(); ++i) {
        char32_t c = folded[i];
        if (escape && c == escape && i + 1 < folded.size()) {
            tokens.push_back({folded[++i], TokKind::Literal});
        } else if (c == U'%') {
            if (tokens.empty() || tokens.back().kind != TokKind::AnySeq) tokens.push_back({c, TokKind::AnySeq});
        } else if (c == U'_') {
            tokens.push_back({c, TokKind::AnyOne});
        } else {
            tokens.push_back({c, TokKind::Literal});
        }
    }
    return tokens;
}

// Linear-time wildcard match with one backtrack point per "%".
bool MatchLike(const LikePattern& p, const std::u32string& s)
{
    size_t pi = 0, si = 0, starP = SIZE_MAX, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi].kind == TokKind::AnySeq) {
            starP = pi++;
            starS = si;
        } else if (pi < p.size() && (p[pi].kind == TokKind::AnyOne || p[pi].ch == s[si])) {
            ++pi;
            ++si;
        } else if (starP != SIZE_MAX) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi].kind == TokKind::AnySeq) ++pi;
    return pi == p.size();
}

void LikeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    const unsigned char* pattern = sqlite3_value_text(argv[0]);
    const unsigned char* value = sqlite3_value_text(argv[1]);
    if (!pattern || !value) return;  // NULL LIKE anything is NULL
    char32_t escape = 0;
    if (argc == 3) {
        const unsigned char* e = sqlite3_value_text(argv[2]);
        std::u32string esc;
        if (e) FoldUtf8Into(e, esc);
        if (esc.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = esc[0];
    }
    thread_local std::u32string folded;
    FoldUtf8Into(value, folded);
    // The compiled pattern is cached for the statement while the pattern argument is constant.
    if (auto* cached = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0))) {
        sqlite3_result_int(ctx, MatchLike(*cached, folded) ? 1 : 0);
        return;
    }
    auto* compiled = new LikePattern(CompileLike(pattern, escape));
    sqlite3_result_int(ctx, MatchLike(*compiled, folded) ? 1 : 0);
    sqlite3_set_auxdata(ctx, 0, compiled, [](void* p) { delete static_cast<LikePattern*>(p); });
}

int NoCaseCollation(void* arg, int len1, const void* s1, int len2, const void* s2)
{
    return static_cast<const TConnection*>(arg)->CompareUtf8(static_cast<const char*>(s1), len1,
                                                              static_cast<const char*>(s2), len2);
}

// Hungarian order ignoring letter case: the collator Qt's own QCollator builds for the Hungarian
// locale with case insensitivity (normalisation on, secondary strength, no numeric order,
// punctuation not ignored), opened once and used on UTF-8 and UTF-16 directly.
UCollator* OpenHungarianCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("hu_HU", &status);
    if (U_FAILURE(status) || !c) return nullptr;
    ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(c, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(c, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status)) {
        ucol_close(c);
        return nullptr;
    }
    return c;
}

int Sign(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

// The collator may call different texts equal; the folded code units then decide, so that the
// order is total and equality means "equal but for letter case".
int CompareFolded(const QString& a, const QString& b) { return Sign(a.toCaseFolded().compare(b.toCaseFolded())); }

QString Utf8(const char* s) { return QString::fromUtf8(s ? s : ""); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TConnection

TConnection::TConnection() : FCollator(OpenHungarianCollator()) {}

TConnection::~TConnection()
{
    Close();
    if (FCollator) ucol_close(FCollator);
}

void TConnection::Open(const QString& fileName)
{
    Close();
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile())
        throw EDatabaseError(QStringLiteral("A katalógus fájlja nem található: %1").arg(fileName));
    if (info.size() == 0)
        throw EDatabaseError(QStringLiteral("A katalógus fájlja üres, nem adatbázis: %1").arg(fileName));

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(fileName.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    auto refuse = [&](const QString& message) {
        sqlite3_close_v2(db);
        throw EDatabaseError(message);
    };
    if (rc != SQLITE_OK)
        refuse(QStringLiteral("A katalógus nem nyitható meg: %1\nRészletek: %2").arg(fileName, Utf8(sqlite3_errmsg(db))));
    if (sqlite3_db_readonly(db, "main") == 1)
        refuse(QStringLiteral("A katalógus fájlja csak olvasható, nem módosítható: %1").arg(fileName));
    sqlite3_busy_timeout(db, FBusyTimeout);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);

    // Reading the schema tells a database from any other file without writing to it.
    sqlite3_stmt* st = nullptr;
    int tables = -1;
    if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'", -1, &st, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        tables = sqlite3_column_int(st, 0);
    const QString err = Utf8(sqlite3_errmsg(db));
    const int code = sqlite3_extended_errcode(db);
    sqlite3_finalize(st);
    if (tables < 0) {
        // A lock or an unfinished write of another program is not a wrong file: say which it is.
        const int primary = code & 0xFF;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            refuse(QStringLiteral("A katalógust egy másik program zárolja, most nem nyitható meg: %1\nRészletek: %2")
                       .arg(fileName, err));
        const bool journal = QFileInfo::exists(fileName + QStringLiteral("-journal")) ||
                             QFileInfo::exists(fileName + QStringLiteral("-wal"));
        if (journal && (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY))
            refuse(QStringLiteral("A katalógus egy félbemaradt írását nem lehet visszagörgetni, mert a naplófájlja "
                                  "vagy a mappája nem írható: %1\nRészletek: %2")
                       .arg(fileName, err));
        if (primary != SQLITE_NOTADB && primary != SQLITE_CORRUPT && primary != SQLITE_ERROR)
            refuse(QStringLiteral("A katalógus nem olvasható: %1\nRészletek: %2").arg(fileName, err));
        refuse(QStringLiteral("A fájl nem Velkor katalógus: %1\nRészletek: %2").arg(fileName, err));
    }
    if (tables == 0) refuse(QStringLiteral("A katalógus nem tartalmaz egy táblát sem: %1").arg(fileName));

    FDb = db;
    FFileName = fileName;
    RegisterFunctions();
}

void TConnection::RegisterFunctions()
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    Check(sqlite3_create_function(FDb, "like", 2, flags, nullptr, LikeFunction, nullptr, nullptr));
    Check(sqlite3_create_function(FDb, "like", 3, flags, nullptr, LikeFunction, nullptr, nullptr));
    // The catalogue's text columns declare NOCASE, which every SQLite tool knows (ASCII only);
    // on our connection the same name folds every letter and sorts in Hungarian order.
    Check(sqlite3_create_collation(FDb, "NOCASE", SQLITE_UTF8, this, NoCaseCollation));
}

int TConnection::CompareText(const QString& a, const QString& b) const
{
    if (FCollator) {
        const UCollationResult r = ucol_strcoll(FCollator, reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                                                reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()));
        if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    }
    return CompareFolded(a, b);
}

int TConnection::CompareUtf8(const char* a, int lenA, const char* b, int lenB) const
{
    // Straight on the engine's bytes: no text objects are built unless the collator calls the
    // two equal, which in a name order is rare.
    if (FCollator) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult r = ucol_strcollUTF8(FCollator, a, lenA, b, lenB, &status);
        if (U_SUCCESS(status) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    }
    return CompareFolded(QString::fromUtf8(a, lenA), QString::fromUtf8(b, lenB));
}

void TConnection::Close()
{
    if (FDb) {
        sqlite3_close_v2(FDb);
        FDb = nullptr;
    }
}

void TConnection::ExecuteDirect(const QString& sql)
{
    if (!FDb) throw EDatabaseError(QStringLiteral("Nincs kapcsolat a katalógussal"));
    char* err = nullptr;
    if (sqlite3_exec(FDb, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString message = Utf8(err);
        sqlite3_free(err);
        throw EDatabaseError(message);
    }
}

QString TConnection::EngineVersion() { return Utf8(sqlite3_libversion()); }

qint64 TConnection::LastInsertId() const { return FDb ? qint64(sqlite3_last_insert_rowid(FDb)) : 0; }

void TConnection::Check(int rc) const
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) Fail();
}

void TConnection::Fail(const QString& context) const
{
    QString message = FDb ? Utf8(sqlite3_errmsg(FDb)) : QStringLiteral("Nincs kapcsolat a katalógussal");
    if (!context.isEmpty()) message = context + QStringLiteral(": ") + message;
    throw EDatabaseError(message);
}

// ---------------------------------------------------------------------------------------------
// TStatement

TStatement::TStatement(TConnection* connection) : FConnection(connection) {}
TStatement::~TStatement() = default;

void TStatement::SetSQL(const QString& sql)
{
    FSQL = sql;
    FParamNames.clear();
    FParamValues.clear();
    FParamsKnown = false;
}

void TStatement::EnsureParams() const
{
    if (FParamsKnown) return;
    // SQLite itself says which :NAME parameters the text has, so quotes and comments can never
    // hide or invent one. Names keep the spelling of their first appearance.
    TConnection* conn = RequireConnection();
    sqlite3_stmt* st = nullptr;
    const QByteArray text = FSQL.toUtf8();
    if (sqlite3_prepare_v2(conn->Handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        conn->Fail();
    const int count = st ? sqlite3_bind_parameter_count(st) : 0;
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(st, i);
        FParamNames << (name && *name ? Utf8(name + 1) : QString());
        FParamValues.emplace_back();
    }
    sqlite3_finalize(st);
    FParamsKnown = true;
}

int TStatement::ParamCount() const
{
    EnsureParams();
    return int(FParamNames.size());
}

const QStringList& TStatement::ParamNames() const
{
    EnsureParams();
    return FParamNames;
}

int TStatement::ParamIndex(const QString& name) const
{
    EnsureParams();
    for (int i = 0; i < FParamNames.size(); ++i)
        if (FParamNames[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TStatement::SetParam(const QString& name, const QVariant& value)
{
    const int first = ParamIndex(name);
    if (first < 0) throw EDatabaseError(QStringLiteral("Ismeretlen paraméter: %1").arg(name));
    // SQLite tells :ID and :id apart; our names are case-insensitive, so both take the value.
    for (int i = first; i < FParamNames.size(); ++i)
        if (FParamNames[i].compare(name, Qt::CaseInsensitive) == 0) FParamValues[size_t(i)] = value;
}

void TStatement::SetParam(int index, const QVariant& value)
{
    if (index < 0 || index >= ParamCount())
        throw EDatabaseError(QStringLiteral("Nincs %1. paraméter").arg(index + 1));
    FParamValues[size_t(index)] = value;
}

QVariant TStatement::Param(const QString& name) const
{
    const int i = ParamIndex(name);
    return i < 0 ? QVariant() : FParamValues[size_t(i)];
}

TConnection* TStatement::RequireConnection() const
{
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat a katalógussal"));
    return FConnection;
}

sqlite3_stmt* TStatement::Prepare() const
{
    TConnection* conn = RequireConnection();
    sqlite3_stmt* st = nullptr;
    const QByteArray text = FSQL.toUtf8();
    if (sqlite3_prepare_v2(conn->Handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        conn->Fail();
    if (!st) throw EDatabaseError(QStringLiteral("Üres SQL utasítás"));
    EnsureParams();
    for (int i = 0; i < FParamNames.size(); ++i) {
        const int idx = i + 1;  // the list is SQLite's own, in its order
        const QVariant& v = FParamValues[size_t(i)];
        int rc;
        switch (v.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr: rc = sqlite3_bind_null(st, idx); break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::UChar: rc = sqlite3_bind_int64(st, idx, v.toLongLong()); break;
        case QMetaType::Double:
        case QMetaType::Float: rc = sqlite3_bind_double(st, idx, v.toDouble()); break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob(st, idx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            if (v.isNull() && v.typeId() != QMetaType::QString) {
                rc = sqlite3_bind_null(st, idx);
            } else {
                const QByteArray s = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, idx, s.constData(), int(s.size()), SQLITE_TRANSIENT);
            }
        }
        }
        if (rc != SQLITE_OK) {
            sqlite3_finalize(st);
            conn->Fail();
        }
    }
    return st;
}

int TCommand::Execute()
{
    sqlite3_stmt* st = Prepare();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {}
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) Connection()->Fail();
    return sqlite3_changes(Connection()->Handle());
}

// ---------------------------------------------------------------------------------------------
// TField

QString TField::AsString() const { return FQuery->ValueText(FQuery->RecNo(), FColumn); }
int TField::AsInteger() const { return int(FQuery->ValueInteger(FQuery->RecNo(), FColumn)); }
qint64 TField::AsLargeInt() const { return FQuery->ValueInteger(FQuery->RecNo(), FColumn); }
QVariant TField::AsVariant() const { return FQuery->Value(FQuery->RecNo(), FColumn); }
QVariant TField::AsStoredValue() const { return FQuery->StoredValue(FQuery->RecNo(), FColumn); }
bool TField::IsNull() const { return FQuery->ValueIsNull(FQuery->RecNo(), FColumn); }
QString TField::FieldName() const { return FQuery->FieldNames().value(FColumn); }
TFieldType TField::DataType() const { return FQuery->FieldType(FColumn); }

// ---------------------------------------------------------------------------------------------
// TQuery

namespace {
TFieldType TypeFromDeclared(const char* decl, int storage)
{
    if (decl) {
        const QByteArray d = QByteArray(decl).toUpper();
        if (d.contains("INT")) return TFieldType::ftInteger;
        if (d.contains("CHAR") || d.contains("TEXT") || d.contains("CLOB")) return TFieldType::ftString;
        if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB")) return TFieldType::ftFloat;
    }
    switch (storage) {
    case SQLITE_INTEGER: return TFieldType::ftInteger;
    case SQLITE_FLOAT: return TFieldType::ftFloat;
    case SQLITE_TEXT: return TFieldType::ftString;
    default: return decl ? TFieldType::ftString : TFieldType::ftUnknown;
    }
}
}  // namespace

TQuery::TQuery(TConnection* connection, QObject* parent) : QObject(parent), TStatement(connection) {}
TQuery::~TQuery() = default;

void TQuery::Open()
{
    if (FActive) Close();
    sqlite3_stmt* st = Prepare();
    const int cols = sqlite3_column_count(st);
    QStringList names;
    std::vector<const char*> declared(size_t(cols), nullptr);
    for (int c = 0; c < cols; ++c) {
        names << Utf8(sqlite3_column_name(st, c));
        declared[size_t(c)] = sqlite3_column_decltype(st, c);
    }
    std::vector<int> firstStorage(size_t(cols), SQLITE_NULL);
    QByteArray arena;
    std::vector<uint32_t> offsets{0};
    std::vector<uint8_t> storageClasses;
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) {
            const int storage = sqlite3_column_type(st, c);
            if (storage != SQLITE_NULL) {
                if (firstStorage[size_t(c)] == SQLITE_NULL) firstStorage[size_t(c)] = storage;
                if (storage == SQLITE_BLOB) {
                    // A blob is kept byte for byte; its text form would stop at a NUL.
                    const auto* data = static_cast<const char*>(sqlite3_column_blob(st, c));
                    arena.append(data, sqlite3_column_bytes(st, c));
                } else {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                    arena.append(text, sqlite3_column_bytes(st, c));
                }
            }
            storageClasses.push_back(uint8_t(storage));
            offsets.push_back(uint32_t(arena.size()));
        }
        ++rows;
    }
    if (rc != SQLITE_DONE) {
        const QString message = Utf8(sqlite3_errmsg(Connection()->Handle()));
        sqlite3_finalize(st);
        throw EDatabaseError(message);
    }
    std::vector<TFieldType> types;
    for (int c = 0; c < cols; ++c) types.push_back(TypeFromDeclared(declared[size_t(c)], firstStorage[size_t(c)]));
    sqlite3_finalize(st);

    emit BeforeReset();
    FFieldNames = names;
    FFieldTypes = std::move(types);
    FArena = std::move(arena);
    FArena.squeeze();
    FOffsets = std::move(offsets);
    FOffsets.shrink_to_fit();
    FStorage = std::move(storageClasses);
    FStorage.shrink_to_fit();
    FRowCount = rows;
    FRow = 0;
    FBof = true;
    FEof = rows == 0;
    FActive = true;
    emit AfterReset();
    NotifyDataChange();
}

void TQuery::Close()
{
    if (!FActive) return;
    emit BeforeReset();
    FActive = false;
    FFieldNames.clear();
    FFieldTypes.clear();
    FArena.clear();
    FOffsets.assign(1, 0);
    FStorage.clear();
    FRowCount = 0;
    FRow = 0;
    FEof = FBof = true;
    emit AfterReset();
    NotifyDataChange();
}

int TQuery::ExecSQL()
{
    if (FActive) Close();
    sqlite3_stmt* st = Prepare();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {}
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) Connection()->Fail();
    return sqlite3_changes(Connection()->Handle());
}

void TQuery::MoveTo(int row)
{
    if (FRowCount == 0) {
        FEof = FBof = true;
        return;
    }
    const int target = std::clamp(row, 0, FRowCount - 1);
    const bool moved = target != FRow;
    FRow = target;
    if (moved) NotifyDataChange();
}

void TQuery::First()
{
    MoveTo(0);
    FBof = true;
    FEof = FRowCount == 0;
}

void TQuery::Last()
{
    MoveTo(FRowCount - 1);
    FEof = true;
    FBof = FRowCount == 0;
}

void TQuery::Next()
{
    if (FRowCount == 0 || FRow >= FRowCount - 1) {
        FEof = true;
        return;
    }
    MoveTo(FRow + 1);
    FBof = false;
    FEof = false;
}

void TQuery::Prior()
{
    if (FRowCount == 0 || FRow <= 0) {
        FBof = true;
        return;
    }
    MoveTo(FRow - 1);
    FBof = false;
    FEof = false;
}

int TQuery::MoveBy(int distance)
{
    if (FRowCount == 0) return 0;
    const int from = FRow;
    const long target = long(FRow) + distance;
    MoveTo(int(std::clamp<long>(target, 0, FRowCount - 1)));
    FEof = target > FRowCount - 1;
    FBof = target < 0;
    return FRow - from;
}

void TQuery::SetRecNo(int row)
{
    MoveTo(row);
    FBof = FEof = FRowCount == 0;
}

void TQuery::GotoBookmark(TBookmark b)
{
    if (BookmarkValid(b)) SetRecNo(b);
}

bool TQuery::Locate(const QString& fieldName, const QVariant& value, int options)
{
    const int col = FindField(fieldName);
    if (col < 0) throw EDatabaseError(QStringLiteral("Ismeretlen mező: %1").arg(fieldName));
    const QString wanted = value.toString();
    const bool partial = options & loPartialKey;
    const bool noCase = options & loCaseInsensitive;
    const QString folded = noCase ? wanted.toCaseFolded() : wanted;
    for (int r = 0; r < FRowCount; ++r) {
        QString cell = ValueText(r, col);
        if (noCase) cell = cell.toCaseFolded();
        if (partial ? cell.startsWith(folded) : cell == folded) {
            SetRecNo(r);
            return true;
        }
    }
    return false;
}

int TQuery::FindField(const QString& name) const
{
    for (int i = 0; i < FFieldNames.size(); ++i)
        if (FFieldNames[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

TField TQuery::FieldByName(const QString& name) const
{
    const int i = FindField(name);
    if (i < 0) throw EDatabaseError(QStringLiteral("Ismeretlen mező: %1").arg(name));
    return TField(this, i);
}

TFieldType TQuery::FieldType(int column) const
{
    return column >= 0 && column < int(FFieldTypes.size()) ? FFieldTypes[size_t(column)] : TFieldType::ftUnknown;
}

const char* TQuery::CellData(int row, int column, uint32_t* length) const
{
    const int cols = FieldCount();
    if (row < 0 || row >= FRowCount || column < 0 || column >= cols) {
        *length = 0;
        return nullptr;
    }
    const size_t k = size_t(row) * size_t(cols) + size_t(column);
    *length = FOffsets[k + 1] - FOffsets[k];
    return FArena.constData() + FOffsets[k];
}

QString TQuery::ValueText(int row, int column) const
{
    uint32_t len;
    const char* p = CellData(row, column, &len);
    return p ? QString::fromUtf8(p, len) : QString();
}

qint64 TQuery::ValueInteger(int row, int column) const
{
    uint32_t len;
    const char* p = CellData(row, column, &len);
    if (!p || len == 0) return 0;
    bool ok = false;
    const QByteArray text = QByteArray::fromRawData(p, qsizetype(len));
    qint64 v = text.toLongLong(&ok);
    if (!ok) v = qint64(text.toDouble(&ok));
    return ok ? v : 0;
}

bool TQuery::ValueIsNull(int row, int column) const
{
    const int cols = FieldCount();
    if (row < 0 || row >= FRowCount || column < 0 || column >= cols) return true;
    return FStorage[size_t(row) * size_t(cols) + size_t(column)] == SQLITE_NULL;
}

QVariant TQuery::StoredValue(int row, int column) const
{
    const int cols = FieldCount();
    if (row < 0 || row >= FRowCount || column < 0 || column >= cols) return QVariant();
    uint32_t len;
    const char* p = CellData(row, column, &len);
    const QByteArray bytes = QByteArray::fromRawData(p, qsizetype(len));
    switch (FStorage[size_t(row) * size_t(cols) + size_t(column)]) {
    case SQLITE_INTEGER: return QVariant(bytes.toLongLong());
    case SQLITE_FLOAT: return QVariant(bytes.toDouble());
    case SQLITE_TEXT: return QVariant(QString::fromUtf8(p, len));
    case SQLITE_BLOB: return QVariant(QByteArray(p, qsizetype(len)));
    default: return QVariant();
    }
}

bool SameStoredValue(const QVariant& a, const QVariant& b)
{
    if (a.isValid() != b.isValid()) return false;
    if (!a.isValid()) return true;
    if (a.typeId() != b.typeId()) return false;
    switch (a.typeId()) {
    case QMetaType::LongLong: return a.toLongLong() == b.toLongLong();
    case QMetaType::Double: return a.toDouble() == b.toDouble();
    case QMetaType::QByteArray: return a.toByteArray() == b.toByteArray();
    default: return a.toString() == b.toString();
    }
}

bool SameStoredValues(const QList<QVariant>& a, const QList<QVariant>& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!SameStoredValue(a[i], b[i])) return false;
    return true;
}

QVariant TQuery::Value(int row, int column) const
{
    if (ValueIsNull(row, column)) return QVariant();
    switch (FieldType(column)) {
    case TFieldType::ftInteger: return QVariant(ValueInteger(row, column));
    case TFieldType::ftFloat: return QVariant(ValueText(row, column).toDouble());
    default: return QVariant(ValueText(row, column));
    }
}

void TQuery::DisableControls() { ++FDisableCount; }

void TQuery::EnableControls()
{
    if (FDisableCount > 0 && --FDisableCount == 0 && FPendingChange) {
        FPendingChange = false;
        emit DataChange();
    }
}

void TQuery::NotifyDataChange()
{
    if (FDisableCount > 0) {
        FPendingChange = true;
        return;
    }
    emit DataChange();
}

// ---------------------------------------------------------------------------------------------
// TTransaction

TTransaction::TTransaction(TConnection& connection, TLock lock) : FConnection(connection)
{
    if (sqlite3_get_autocommit(FConnection.Handle())) {
        // The outermost one is the real transaction: COMMIT or ROLLBACK end it, never RELEASE,
        // whose failure would leave the connection inside a transaction that later ones only nest in.
        FConnection.ExecuteDirect(lock == Immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        return;
    }
    FName = QStringLiteral("vdb_") + QUuid::createUuid().toString(QUuid::Id128);
    FConnection.ExecuteDirect(QStringLiteral("SAVEPOINT ") + FName);
}

TTransaction::~TTransaction()
{
    if (FDone || !FConnection.Connected()) return;
    Abandon();
}

void TTransaction::Abandon()
{
    FDone = true;
    sqlite3* db = FConnection.Handle();
    if (FName.isEmpty()) {
        if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return;
    }
    // An error may already have ended the whole transaction (SQLite rolls back on some errors):
    // then the savepoint is gone and there is nothing left to undo here.
    if (sqlite3_get_autocommit(db)) return;
    const QByteArray sql = ("ROLLBACK TO " + FName + "; RELEASE " + FName).toUtf8();
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
}

void TTransaction::Commit()
{
    if (FDone) return;
    try {
        FConnection.ExecuteDirect(FName.isEmpty() ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + FName);
    } catch (...) {
        // A COMMIT that failed (a reader still holds the file) leaves the transaction open: end it,
        // so that the next write is a transaction of its own and not lost inside this one.
        Abandon();
        throw;
    }
    FDone = true;
}
