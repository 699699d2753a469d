// The SQLite virtual-table module "dbf": every table file a statement names is a virtual table
// over the engine's TableHandle of that file.
//
// Usage (the engine does this for each connection and table):
//     registerDbfModule(db, [](int id) { return handleNumbered(id); });
//     CREATE VIRTUAL TABLE temp.t7 USING dbf(7)   -- columns declared from the file's fields
//     SELECT ... FROM temp.t7 WHERE CODID = ?     -- equality on a column uses its hash index
//     INSERT / UPDATE / DELETE                    -- appended, rewritten or flagged records
// Numeric fields are DECIMAL(width,decimals) (whole numbers come as integers), dates DATE as
// "yyyy-MM-dd" text, logicals BOOLEAN (1/0), texts CHAR and memos MEMO with RTRIM collation, so
// blank padding never decides a comparison; blank fields are NULL.
//
// No exception crosses into SQLite: every callback runs its body through guarded(), which turns
// a velmor::Error into the SQLite error of the table (or of the value being read).

#include "data/engine/DbfModule.h"

#include "core/Error.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/FieldCodec.h"
#include "data/engine/TableHandle.h"

#include <QDate>

#include <array>
#include <charconv>
#include <new>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace velmor::engine {

namespace {

// The most digits of a whole number read straight into a 64-bit integer without overflow; longer
// ones go through the general number parser.
constexpr int kPlainIntegerDigits = 18;

// The client data of the module on one connection: how a table id becomes its table.
struct ModuleContext {
    std::function<TableHandle*(int)> lookup;
};

// One virtual table: SQLite's base struct first (SQLite hands back a pointer to it), then the
// table it stands for.
struct DbfVtab {
    sqlite3_vtab base {};
    TableHandle* handle = nullptr;
    int columns = 0;   // as declared to SQLite
    QByteArray record; // reused for every inserted row
};

// Where a callback reports a failure: the table's error message, the value being computed, or
// the creation error of xConnect.
struct ErrorTarget {
    sqlite3_vtab* vtab = nullptr;
    sqlite3_context* context = nullptr;
    char** creationError = nullptr;
};

int setError(sqlite3_vtab* vtab, const QString& message)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.toUtf8().constData());
    return SQLITE_ERROR;
}

int reportError(const ErrorTarget& target, const QString& message)
{
    const QByteArray utf8 = message.toUtf8();
    if (target.context)
        sqlite3_result_error(target.context, utf8.constData(), int(utf8.size()));
    if (target.creationError)
        *target.creationError = sqlite3_mprintf("%s", utf8.constData());
    if (target.vtab)
        return setError(target.vtab, message);
    return SQLITE_ERROR;
}

// Runs the body of a callback and gives its result code; any error becomes the SQLite error of
// the target instead of crossing into SQLite.
template <typename Body>
int guarded(const ErrorTarget& target, Body&& body) noexcept
{
    try {
        return body();
    } catch (const Error& e) {
        return reportError(target, e.message());
    } catch (const std::bad_alloc&) {
        if (target.context)
            sqlite3_result_error_nomem(target.context);
        return SQLITE_NOMEM;
    } catch (const std::exception& e) {
        return reportError(target, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return reportError(target, QStringLiteral("Eroare neasteptata in tabelul virtual."));
    }
}

// The declared columns still those of the table: SQLite never sees an index past its fields.
bool layoutHolds(const DbfVtab* vtab)
{
    return vtab->columns == vtab->handle->table().fieldCount();
}

// One scan of a virtual table: SQLite's base struct first, then where the scan stands. A scan
// reads the records present when it started; deleted ones are skipped.
struct DbfCursor {
    sqlite3_vtab_cursor base {};
    TableHandle* handle = nullptr;
    std::vector<int> rows; // index lookup result; empty and unused on a full scan
    bool fullScan = true;
    int limit = 0;         // records present when the scan started
    size_t position = 0;   // in rows, or the record number on a full scan
    int row = -1;
    std::string buffer;
};

// True when every byte is below 0x80 and none is NUL; eight bytes at a time while there are eight.
bool isPlainAscii(const char* p, int n)
{
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        // A high bit anywhere, or a zero byte (the classic has-zero-byte test).
        if ((word & kHigh) || ((word - kOnes) & ~word & kHigh))
            return false;
    }
    for (; i < n; ++i) {
        if ((unsigned char)p[i] >= 0x80 || p[i] == '\0')
            return false;
    }
    return true;
}

// UTF-8 of Windows-1250 bytes.
const std::string& utf8Of(unsigned char b)
{
    static const auto table = [] {
        std::array<std::string, 256> t;
        for (int i = 0; i < 256; ++i) {
            const char c = char(i);
            t[size_t(i)] = dbf::cp1250::decode(&c, 1).toStdString();
        }
        return t;
    }();
    return table[b];
}

// `stable`: the bytes stay in place for the whole statement, so SQLite need not copy them.
void resultText(sqlite3_context* ctx, const char* p, int width, std::string& buffer, bool stable)
{
    // Trailing blanks, eight at a time while there are eight.
    int end = width;
    static constexpr char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (end >= 8 && std::memcmp(p + end - 8, kBlanks, 8) == 0)
        end -= 8;
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    if (end == 0) {
        sqlite3_result_null(ctx);
        return;
    }
    if (isPlainAscii(p, end)) {
        sqlite3_result_text(ctx, p, end, stable ? SQLITE_STATIC : SQLITE_TRANSIENT);
        return;
    }
    buffer.clear();
    for (int i = 0; i < end; ++i)
        buffer += utf8Of((unsigned char)p[i]);
    sqlite3_result_text(ctx, buffer.data(), int(buffer.size()), SQLITE_TRANSIENT);
}

QString declaredType(const dbf::Field& f)
{
    switch (f.type) {
    case 'N':
    case 'F':
        return QStringLiteral("DECIMAL(%1,%2)").arg(f.width).arg(f.decimals);
    case 'D':
        return QStringLiteral("DATE");
    case 'L':
        return QStringLiteral("BOOLEAN");
    case 'M':
        return QStringLiteral("MEMO COLLATE RTRIM");
    default:
        return QStringLiteral("CHAR(%1) COLLATE RTRIM").arg(f.width);
    }
}

int connectTable(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** err)
{
    auto* context = static_cast<ModuleContext*>(aux);
    if (argc < 4) {
        *err = sqlite3_mprintf("dbf: missing table id");
        return SQLITE_ERROR;
    }
    TableHandle* handle = context->lookup(std::atoi(argv[3]));
    if (!handle) {
        *err = sqlite3_mprintf("dbf: unknown table id %s", argv[3]);
        return SQLITE_ERROR;
    }
    QString schema = QStringLiteral("CREATE TABLE x(");
    const auto& fields = handle->table().fields();
    for (int i = 0; i < fields.size(); ++i) {
        if (i)
            schema += QStringLiteral(", ");
        // Names are letters, digits and "_" (the storage layer refuses others); quoted all the same.
        QString name = fields[i].name;
        name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        schema += QLatin1Char('"') + name + QStringLiteral("\" ") + declaredType(fields[i]);
    }
    schema += QLatin1Char(')');
    const int rc = sqlite3_declare_vtab(db, schema.toUtf8().constData());
    if (rc != SQLITE_OK) {
        *err = sqlite3_mprintf("dbf: %s", sqlite3_errmsg(db));
        return rc;
    }
    auto* vtab = new DbfVtab;
    vtab->handle = handle;
    vtab->columns = int(fields.size());
    *out = &vtab->base;
    return SQLITE_OK;
}

int disconnectTable(sqlite3_vtab* vtab)
{
    delete reinterpret_cast<DbfVtab*>(vtab);
    return SQLITE_OK;
}

double estimatedRows(TableHandle* handle, int column)
{
    const ColumnIndex& index = handle->index(column);
    const double count = std::max(1, handle->table().recordCount());
    const double distinct = std::max<double>(1, double(index.distinctCount()));
    return std::max(1.0, count / distinct);
}

int chooseIndex(sqlite3_vtab* base, sqlite3_index_info* info)
{
    auto* vtab = reinterpret_cast<DbfVtab*>(base);
    TableHandle* handle = vtab->handle;
    const double count = std::max(1, handle->table().recordCount());
    int best = -1;
    double bestRows = count;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (!c.usable || c.op != SQLITE_INDEX_CONSTRAINT_EQ || c.iColumn < 0 || c.iColumn >= vtab->columns || !layoutHolds(vtab))
            continue;
        const char type = handle->table().fields()[c.iColumn].type;
        if (type == 'M' || type == 'L')
            continue;
        const double rows = estimatedRows(handle, c.iColumn);
        if (best < 0 || rows < bestRows) {
            best = i;
            bestRows = rows;
        }
    }
    if (best >= 0) {
        info->aConstraintUsage[best].argvIndex = 1;
        info->aConstraintUsage[best].omit = 0; // SQLite checks the value again
        info->idxNum = info->aConstraint[best].iColumn;
        info->estimatedCost = 10 + bestRows;
        info->estimatedRows = sqlite3_int64(bestRows);
    } else {
        info->idxNum = -1;
        info->estimatedCost = 100 + count * 2;
        info->estimatedRows = sqlite3_int64(count);
    }
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab* base, sqlite3_vtab_cursor** out)
{
    auto* cursor = new DbfCursor;
    cursor->handle = reinterpret_cast<DbfVtab*>(base)->handle;
    *out = &cursor->base;
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor* base)
{
    delete reinterpret_cast<DbfCursor*>(base);
    return SQLITE_OK;
}

void advanceToLive(DbfCursor* c)
{
    const dbf::DbfTable& t = c->handle->table();
    if (c->fullScan) {
        while (int(c->position) < c->limit && t.isDeleted(int(c->position)))
            ++c->position;
        c->row = int(c->position) < c->limit ? int(c->position) : -1;
    } else {
        while (c->position < c->rows.size()
               && (c->rows[c->position] >= c->limit || t.isDeleted(c->rows[c->position])))
            ++c->position;
        c->row = c->position < c->rows.size() ? c->rows[c->position] : -1;
    }
}

// The lookup key of a constraint value for a column; false when no record can match.
bool lookupRows(TableHandle* handle, int column, sqlite3_value* value, std::vector<int>& rows, bool& fullScan)
{
    const dbf::Field& f = handle->table().fields()[column];
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL)
        return false;
    const ColumnIndex& index = handle->index(column);
    const std::vector<int>* found = nullptr;
    if (f.isNumeric()) {
        double d = 0;
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            d = sqlite3_value_double(value);
        } else {
            bool ok = false;
            d = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value))).trimmed().toDouble(&ok);
            if (!ok) {
                fullScan = true; // let SQLite compare
                return true;
            }
        }
        found = index.lookupNumber(d);
    } else {
        QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)));
        if (f.type == 'D') {
            const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!date.isValid()) {
                fullScan = true;
                return true;
            }
            text = date.toString(QStringLiteral("yyyyMMdd"));
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        QByteArray key;
        if (!dbf::cp1250::tryEncode(text, key))
            return false;
        found = index.lookupBytes(key);
    }
    if (found)
        rows = *found;
    return found != nullptr;
}

int startScan(sqlite3_vtab_cursor* base, int idxNum, const char*, int argc, sqlite3_value** argv)
{
    auto* c = reinterpret_cast<DbfCursor*>(base);
    if (!layoutHolds(reinterpret_cast<DbfVtab*>(base->pVtab)))
        return setError(base->pVtab, QStringLiteral("Coloanele tabelului \"%1\" s-au schimbat in timpul instructiunii.")
                                         .arg(c->handle->table().fileName()));
    c->limit = c->handle->table().recordCount();
    c->position = 0;
    c->rows.clear();
    c->fullScan = true;
    if (idxNum >= 0 && idxNum < c->handle->table().fieldCount() && argc >= 1) {
        c->fullScan = false;
        if (!lookupRows(c->handle, idxNum, argv[0], c->rows, c->fullScan))
            c->rows.clear();
    }
    advanceToLive(c);
    return SQLITE_OK;
}

int nextRow(sqlite3_vtab_cursor* base)
{
    auto* c = reinterpret_cast<DbfCursor*>(base);
    ++c->position;
    advanceToLive(c);
    return SQLITE_OK;
}

int atEnd(sqlite3_vtab_cursor* base)
{
    return reinterpret_cast<DbfCursor*>(base)->row < 0;
}


int columnValue(sqlite3_vtab_cursor* base, sqlite3_context* ctx, int column)
{
    auto* c = reinterpret_cast<DbfCursor*>(base);
    if (sqlite3_vtab_nochange(ctx))
        return SQLITE_OK;
    const dbf::DbfTable& t = c->handle->table();
    if (column < 0 || column >= t.fieldCount() || c->row < 0 || c->row >= t.recordCount())
        throw dbf::DbfError(QStringLiteral("Tabelul \"%1\" nu are coloana nr. %2.").arg(t.fileName()).arg(column + 1));
    const dbf::Field& f = t.fields()[column];
    const char* p = t.record(c->row) + f.offset;
    switch (f.type) {
    case 'N':
    case 'F': {
        // Whole numbers of plain digits, the common case, straight to an integer.
        if (f.decimals == 0) {
            int b = 0;
            while (b < f.width && p[b] == ' ')
                ++b;
            int i = b;
            std::int64_t v = 0;
            while (i < f.width && i - b < kPlainIntegerDigits && p[i] >= '0' && p[i] <= '9')
                v = v * 10 + (p[i++] - '0');
            if (i > b && (i == f.width || p[i] == ' ')) {
                int j = i;
                while (j < f.width && p[j] == ' ')
                    ++j;
                if (j == f.width) {
                    sqlite3_result_int64(ctx, v);
                    return SQLITE_OK;
                }
            }
        }
        double d;
        if (!dbf::parseNumber(p, f.width, d)) {
            sqlite3_result_null(ctx);
        } else if (f.decimals == 0 && std::fabs(d) < dbf::kLargestExactWhole) {
            sqlite3_result_int64(ctx, sqlite3_int64(std::llround(d)));
        } else {
            sqlite3_result_double(ctx, d);
        }
        return SQLITE_OK;
    }
    case 'D': {
        const QDate date = [&] {
            bool blank = true;
            for (int i = 0; i < f.width && blank; ++i)
                blank = p[i] == ' ' || p[i] == '\0';
            return blank ? QDate() : QDate::fromString(QString::fromLatin1(p, 8), QStringLiteral("yyyyMMdd"));
        }();
        if (!date.isValid()) {
            sqlite3_result_null(ctx);
        } else {
            const QByteArray text = date.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
            sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        return SQLITE_OK;
    }
    case 'L':
        switch (*p) {
        case 'T': case 't': case 'Y': case 'y':
            sqlite3_result_int(ctx, 1);
            break;
        case 'F': case 'f': case 'N': case 'n':
            sqlite3_result_int(ctx, 0);
            break;
        default:
            sqlite3_result_null(ctx);
        }
        return SQLITE_OK;
    case 'M': {
        // A damaged memo file throws: the guard makes it the error of this value.
        const dbf::Value v = t.value(c->row, column);
        if (const auto* s = std::get_if<QString>(&v)) {
            const QByteArray utf8 = s->toUtf8();
            sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_result_null(ctx);
        }
        return SQLITE_OK;
    }
    default:
        resultText(ctx, p, f.width, c->buffer, t.hasStableAddress(c->row));
        return SQLITE_OK;
    }
}

int rowNumber(sqlite3_vtab_cursor* base, sqlite3_int64* rowid)
{
    *rowid = reinterpret_cast<DbfCursor*>(base)->row;
    return SQLITE_OK;
}

dbf::Value valueOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return std::int64_t(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_NULL:
        return {};
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    }
}

// Writes a value into the bytes of its field; the common cases (plain text, numbers) without
// the detour through a Value. Throws DbfError when the value does not fit.
void encodeInto(dbf::DbfTable& table, const dbf::Field& f, sqlite3_value* v, char* dst)
{
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL)
        return;
    if (f.type == 'C' && type == SQLITE_TEXT) {
        // The blob view of a text is its UTF-8 bytes as they stand: asking for the text would make
        // SQLite copy every value that a table scan handed over unterminated.
        const auto* text = static_cast<const char*>(sqlite3_value_blob(v));
        const int n = sqlite3_value_bytes(v);
        if (n == 0 || !text)
            return; // an empty text leaves the field blank
        if (isPlainAscii(text, n)) {
            int length = n;
            while (length > f.width && text[length - 1] == ' ')
                --length;
            if (length > f.width)
                throw dbf::DbfError(dbf::textTooLong(f, length, table.fileName()));
            std::memcpy(dst, text, size_t(length));
            return;
        }
    } else if (f.isNumeric() && (type == SQLITE_INTEGER || type == SQLITE_FLOAT)) {
        if (type == SQLITE_INTEGER && f.decimals == 0) {
            char buffer[24];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, sqlite3_value_int64(v)).ptr;
            const int n = int(end - buffer);
            if (n <= f.width) {
                std::memcpy(dst + (f.width - n), buffer, size_t(n));
                return;
            }
        } else {
            char buffer[dbf::kNumberTextSize];
            const int n = dbf::formatNumberInto(sqlite3_value_double(v), f.decimals, buffer);
            if (n <= f.width) {
                std::memcpy(dst + (f.width - n), buffer, size_t(n));
                return;
            }
        }
    }
    const QByteArray bytes = table.encodeField(f, valueOf(v));
    std::memcpy(dst, bytes.constData(), size_t(f.width));
}

int changeRows(sqlite3_vtab* base, int argc, sqlite3_value** argv, sqlite3_int64* rowid)
{
    auto* vtab = reinterpret_cast<DbfVtab*>(base);
    TableHandle* handle = vtab->handle;
    const int columns = handle->table().fieldCount();
    if (!layoutHolds(vtab) || (argc != 1 && argc != columns + 2))
        return setError(base, QStringLiteral("Coloanele tabelului \"%1\" nu corespund instructiunii.").arg(handle->table().fileName()));
    const auto validRow = [&](sqlite3_int64 row) { return row >= 0 && row < handle->table().recordCount(); };
    {
        handle->checkWritable(); // before a memo text is written
        if (argc == 1) {
            if (!validRow(sqlite3_value_int64(argv[0])))
                return setError(base, QStringLiteral("Tabelul \"%1\" nu are inregistrarea cautata.").arg(handle->table().fileName()));
            handle->remove(int(sqlite3_value_int64(argv[0])));
            return SQLITE_OK;
        }
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            dbf::DbfTable& table = handle->table();
            QByteArray& record = vtab->record;
            if (record.size() != table.recordLength())
                record = QByteArray(table.recordLength(), ' ');
            else
                record.fill(' ');
            // Memo texts last: a value refused in another column leaves the memo file as it was.
            for (const bool memoPass : {false, true}) {
                for (int i = 0; i < columns; ++i) {
                    const dbf::Field& f = table.fields()[i];
                    if ((f.type == 'M') == memoPass)
                        encodeInto(table, f, argv[2 + i], record.data() + 1 + f.offset);
                }
            }
            *rowid = handle->appendEncoded(record);
            return SQLITE_OK;
        }
        if (!validRow(sqlite3_value_int64(argv[0])))
            return setError(base, QStringLiteral("Tabelul \"%1\" nu are inregistrarea cautata.").arg(handle->table().fileName()));
        const int row = int(sqlite3_value_int64(argv[0]));
        if (sqlite3_value_type(argv[1]) != SQLITE_NULL && sqlite3_value_int64(argv[1]) != row)
            return setError(base, QStringLiteral("Numarul inregistrarii nu poate fi schimbat."));
        std::vector<std::pair<int, dbf::Value>> changes;
        for (int i = 0; i < columns; ++i) {
            if (sqlite3_value_nochange(argv[2 + i]))
                continue;
            changes.emplace_back(i, valueOf(argv[2 + i]));
        }
        if (!changes.empty())
            handle->update(row, changes);
        return SQLITE_OK;
    }
}

// The callbacks SQLite calls, each through the guard.
int xConnect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** err)
{
    return guarded({nullptr, nullptr, err}, [&] { return connectTable(db, aux, argc, argv, out, err); });
}
int xDisconnect(sqlite3_vtab* vtab)
{
    return guarded({vtab}, [&] { return disconnectTable(vtab); });
}
int xBestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info)
{
    return guarded({vtab}, [&] { return chooseIndex(vtab, info); });
}
int xOpen(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out)
{
    return guarded({vtab}, [&] { return openCursor(vtab, out); });
}
int xClose(sqlite3_vtab_cursor* cursor)
{
    return guarded({cursor->pVtab}, [&] { return closeCursor(cursor); });
}
int xFilter(sqlite3_vtab_cursor* cursor, int idxNum, const char* idxStr, int argc, sqlite3_value** argv)
{
    return guarded({cursor->pVtab}, [&] { return startScan(cursor, idxNum, idxStr, argc, argv); });
}
int xNext(sqlite3_vtab_cursor* cursor)
{
    return guarded({cursor->pVtab}, [&] { return nextRow(cursor); });
}
int xEof(sqlite3_vtab_cursor* cursor)
{
    // A failure ends the scan.
    return guarded({cursor->pVtab}, [&] { return atEnd(cursor); }) != 0;
}
int xColumn(sqlite3_vtab_cursor* cursor, sqlite3_context* context, int index)
{
    return guarded({nullptr, context}, [&] { return columnValue(cursor, context, index); });
}
int xRowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* id)
{
    return guarded({cursor->pVtab}, [&] { return rowNumber(cursor, id); });
}
int xUpdate(sqlite3_vtab* vtab, int argc, sqlite3_value** argv, sqlite3_int64* id)
{
    return guarded({vtab}, [&] { return changeRows(vtab, argc, argv, id); });
}

sqlite3_module makeModule()
{
    sqlite3_module m {};
    m.iVersion = 1;
    m.xCreate = xConnect;
    m.xConnect = xConnect;
    m.xBestIndex = xBestIndex;
    m.xDisconnect = xDisconnect;
    m.xDestroy = xDisconnect;
    m.xOpen = xOpen;
    m.xClose = xClose;
    m.xFilter = xFilter;
    m.xNext = xNext;
    m.xEof = xEof;
    m.xColumn = xColumn;
    m.xRowid = xRowid;
    m.xUpdate = xUpdate;
    return m;
}

}

void registerDbfModule(sqlite3* db, std::function<TableHandle*(int)> lookup)
{
    static const sqlite3_module module = makeModule();
    auto* context = new ModuleContext {std::move(lookup)};
    sqlite3_create_module_v2(db, "dbf", &module, context, [](void* p) { delete static_cast<ModuleContext*>(p); });
}

}
