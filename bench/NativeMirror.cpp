#include "bench/NativeMirror.h"

#include "data/engine/SqlError.h"

#include <sqlite3.h>

namespace velmor::bench {

namespace {

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw engine::SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
}

}

NativeMirror::NativeMirror(const QString& databasePath)
{
    check(m_db, sqlite3_open(databasePath.toUtf8().constData(), &m_db));
    for (const char* pragma : {"PRAGMA case_sensitive_like = ON", "PRAGMA journal_mode = OFF", "PRAGMA synchronous = OFF",
                               "PRAGMA cache_size = -4000000", "PRAGMA temp_store = MEMORY"})
        sqlite3_exec(m_db, pragma, nullptr, nullptr, nullptr);
}

NativeMirror::~NativeMirror()
{
    sqlite3_close_v2(m_db);
}

void NativeMirror::copyTable(const QString& name, const engine::ResultSet& rows, const QStringList& declaredTypes)
{
    QStringList columns;
    QStringList marks;
    for (int c = 0; c < rows.fields.size(); ++c) {
        columns << QStringLiteral("\"%1\" %2").arg(rows.fields[c].name, declaredTypes.value(c));
        marks << QStringLiteral("?");
    }
    run(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(name, columns.join(QStringLiteral(", "))));
    sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray insert = QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(name, marks.join(QLatin1Char(','))).toUtf8();
    check(m_db, sqlite3_prepare_v2(m_db, insert.constData(), -1, &stmt, nullptr));
    for (const auto& row : rows.rows) {
        for (int c = 0; c < int(row.size()); ++c) {
            const dbf::Value& v = row[size_t(c)];
            if (const auto* i = std::get_if<std::int64_t>(&v)) {
                sqlite3_bind_int64(stmt, c + 1, *i);
            } else if (const auto* d = std::get_if<double>(&v)) {
                sqlite3_bind_double(stmt, c + 1, *d);
            } else if (const auto* s = std::get_if<QString>(&v)) {
                const QByteArray utf8 = s->toUtf8();
                sqlite3_bind_text(stmt, c + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            } else if (const auto* date = std::get_if<QDate>(&v)) {
                const QByteArray text = date->toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
                sqlite3_bind_text(stmt, c + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(stmt, c + 1);
            }
        }
        check(m_db, sqlite3_step(stmt));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    for (const char* column : {"ANUL", "CODID", "RAND"}) {
        if (rows.fieldIndex(QLatin1String(column)) >= 0)
            run(QStringLiteral("CREATE INDEX \"%1_%2\" ON \"%1\" (%2)").arg(name, QLatin1String(column)));
    }
}

int NativeMirror::run(const QString& sql, engine::ResultSet* rows)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    check(m_db, sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(stmt, sqlite3_finalize);
    engine::ResultSet local;
    engine::ResultSet& out = rows ? *rows : local;
    out = engine::ResultSet {};
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c)
        out.fields.append(engine::ResultField {QString::fromUtf8(sqlite3_column_name(stmt, c))});
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<dbf::Value> row;
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                row.emplace_back(std::int64_t(sqlite3_column_int64(stmt, c)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_NULL:
                row.emplace_back();
                break;
            default:
                row.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                                   sqlite3_column_bytes(stmt, c)));
            }
        }
        out.rows.push_back(std::move(row));
    }
    check(m_db, rc);
    return rows ? int(out.rows.size()) : sqlite3_changes(m_db);
}

}
