#include "data/engine/Engine.h"

#include "core/ChangeCounter.h"

#include "data/dbf/DbfError.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "data/engine/DbfModule.h"
#include "data/engine/DialectTranslator.h"
#include "data/engine/SqlError.h"
#include "data/engine/TableHandle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

namespace velmor::engine {

int ResultSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::size_t ResultSet::requiredField(const char* name) const
{
    const int index = fieldIndex(QLatin1String(name));
    if (index < 0)
        throw SqlError(QStringLiteral("Rezultatul nu are coloana %1.").arg(QLatin1String(name)));
    return std::size_t(index);
}

struct Engine::Entry {
    int id = 0;
    std::unique_ptr<TableHandle> handle;
    QString sqlName;       // current virtual table, empty when none
    int generation = -1;   // layout generation the virtual table was declared with
};

namespace {

QString sqliteMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

void exec(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "SQLite error");
        sqlite3_free(error);
        throw SqlError(message);
    }
}

// Type of a result column from the declaration of the table column behind it.
ResultField describe(sqlite3_stmt* stmt, int column)
{
    ResultField f;
    f.name = QString::fromUtf8(sqlite3_column_name(stmt, column));
    const char* decl = sqlite3_column_decltype(stmt, column);
    if (!decl)
        return f;
    const QString type = QString::fromLatin1(decl).toUpper();
    static const QRegularExpression sized(QStringLiteral("^(\\w+)\\((\\d+)(?:,(\\d+))?\\)"));
    const auto m = sized.match(type);
    if (type.startsWith(QLatin1String("DECIMAL")) && m.hasMatch()) {
        f.width = m.captured(2).toInt();
        f.decimals = m.captured(3).toInt();
        f.type = f.decimals == 0 ? FieldType::Integer : FieldType::Float;
    } else if (type.startsWith(QLatin1String("CHAR")) && m.hasMatch()) {
        f.width = m.captured(2).toInt();
        f.type = FieldType::Text;
    } else if (type.startsWith(QLatin1String("DATE"))) {
        f.type = FieldType::Date;
        f.width = 8;
    } else if (type.startsWith(QLatin1String("MEMO"))) {
        f.type = FieldType::Memo;
        f.width = 10;
    } else if (type.startsWith(QLatin1String("BOOLEAN"))) {
        f.type = FieldType::Boolean;
        f.width = 1;
    }
    return f;
}

dbf::Value cellOf(sqlite3_stmt* stmt, int column, FieldType type)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        if (type == FieldType::Boolean)
            return sqlite3_column_int64(stmt, column) != 0;
        return std::int64_t(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    default: {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                               sqlite3_column_bytes(stmt, column));
        if (type == FieldType::Date) {
            const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (date.isValid())
                return date;
        }
        return text;
    }
    }
}

// Computed columns take the type of the values they hold.
void inferTypes(ResultSet& result)
{
    for (int c = 0; c < result.fields.size(); ++c) {
        ResultField& f = result.fields[c];
        if (f.type != FieldType::Unknown)
            continue;
        for (const auto& row : result.rows) {
            const dbf::Value& v = row[size_t(c)];
            if (std::holds_alternative<std::int64_t>(v)) {
                f.type = FieldType::Integer;
            } else if (std::holds_alternative<double>(v)) {
                f.type = FieldType::Float;
                break;
            } else if (std::holds_alternative<QString>(v)) {
                f.type = FieldType::Text;
                break;
            }
        }
    }
}

void bindValue(sqlite3_stmt* stmt, int index, const dbf::Value& value)
{
    int rc = SQLITE_OK;
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        rc = sqlite3_bind_int64(stmt, index, *i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        rc = sqlite3_bind_double(stmt, index, *d);
    } else if (const auto* b = std::get_if<bool>(&value)) {
        rc = sqlite3_bind_int(stmt, index, *b ? 1 : 0);
    } else if (const auto* text = std::get_if<QString>(&value)) {
        // Text as the files hold it, like the literals of a statement.
        const QByteArray utf8 = dbf::cp1250::storedForm(*text).toUtf8();
        rc = sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    } else if (const auto* date = std::get_if<QDate>(&value)) {
        if (date->isValid()) {
            const QByteArray iso = date->toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
            rc = sqlite3_bind_text(stmt, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        } else {
            rc = sqlite3_bind_null(stmt, index);
        }
    } else {
        rc = sqlite3_bind_null(stmt, index);
    }
    if (rc != SQLITE_OK)
        throw SqlError(sqliteMessage(sqlite3_db_handle(stmt)));
}

// Every parameter of the statement gets its value; values for names the statement does not use
// are refused too, since they mean a misspelt name.
void bindParameters(sqlite3_stmt* stmt, const Parameters& parameters)
{
    const int count = sqlite3_bind_parameter_count(stmt);
    QSet<QString> used;
    for (int index = 1; index <= count; ++index) {
        const char* raw = sqlite3_bind_parameter_name(stmt, index);
        if (!raw || raw[0] != ':')
            throw SqlError(QStringLiteral("Instructiunea are un parametru fara nume; folositi :NUME."));
        const QString name = Parameters::key(QString::fromUtf8(raw));
        const dbf::Value* value = parameters.find(name);
        if (!value)
            throw SqlError(QStringLiteral("Parametrul :%1 nu are valoare.").arg(name));
        bindValue(stmt, index, *value);
        used.insert(name);
    }
    for (const QString& name : parameters.names()) {
        if (!used.contains(name))
            throw SqlError(QStringLiteral("Parametrul :%1 nu apare in instructiune.").arg(name));
    }
}

// Duplicate column names become NAME_1, NAME_2, ... in order.
void renameDuplicates(QList<ResultField>& fields)
{
    QHash<QString, int> seen;
    QSet<QString> taken;
    for (const ResultField& f : fields)
        taken.insert(f.name.toUpper());
    for (ResultField& f : fields) {
        const QString key = f.name.toUpper();
        int& count = seen[key];
        if (count++ == 0)
            continue;
        int n = count - 1;
        QString candidate;
        do {
            candidate = f.name + QLatin1Char('_') + QString::number(n++);
        } while (taken.contains(candidate.toUpper()));
        taken.insert(candidate.toUpper());
        f.name = candidate;
    }
}

}

Engine::Engine(const QString& dataDirectory)
    : m_dataDirectory(QDir::cleanPath(QDir(dataDirectory).absolutePath()))
{
    // One connection per engine, used from one thread: no mutexes needed.
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        throw SqlError(QStringLiteral("Motorul SQL nu poate porni: %1").arg(sqliteMessage(m_db)));
    registerDbfModule(m_db, [this](int id) -> TableHandle* {
        return id >= 0 && size_t(id) < m_byId.size() && m_byId[size_t(id)] ? m_byId[size_t(id)]->handle.get() : nullptr;
    });
    exec(m_db, QStringLiteral("PRAGMA case_sensitive_like = ON"));
    addTableRoot(m_dataDirectory);
}

void Engine::addTableRoot(const QString& directory)
{
    if (directory.trimmed().isEmpty())
        return;
    const QString root = QDir::cleanPath(QDir(directory).absolutePath());
    if (!m_roots.contains(root))
        m_roots.append(root);
}

bool Engine::underRoot(const QString& path) const
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    for (const QString& root : m_roots) {
        // Compared after links are followed on both sides; a root's real path is looked up once
        // it exists.
        QString& real = m_realRoots[root];
        if (real.isEmpty()) {
            real = QFileInfo(root).canonicalFilePath();
            if (real.isEmpty())
                continue;
            if (!real.endsWith(QLatin1Char('/')))
                real += QLatin1Char('/');
        }
        if (path.startsWith(real, cs))
            return true;
    }
    return false;
}

namespace {

// Where a file path really leads: links followed, for a file that does not exist yet its folder's
// real path and its name.
QString realPathOf(const QString& path)
{
    QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) {
        // A link to nothing (yet): a write through it would create its target.
        info = QFileInfo(QDir(info.absolutePath()).absoluteFilePath(info.symLinkTarget()));
        if (info.isSymLink())
            return QString();
    }
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return folder + QLatin1Char('/') + info.fileName();
}

}

QString Engine::explain(const QString& sqliteText) const
{
    // Virtual table names stand for the table paths of the statement.
    static const QRegularExpression sqlName(QStringLiteral("\\bdbf_\\d+\\b"));
    QString original;
    qsizetype last = 0;
    for (auto it = sqlName.globalMatch(sqliteText); it.hasNext();) {
        const auto m = it.next();
        original += sqliteText.mid(last, m.capturedStart() - last);
        const auto path = m_statementPaths.constFind(m.captured());
        original += path == m_statementPaths.cend() ? m.captured() : QLatin1Char('"') + *path + QLatin1Char('"');
        last = m.capturedEnd();
    }
    original += sqliteText.mid(last);

    struct Translation {
        const char* pattern;
        const char* text; // %1, %2: the captured parts
    };
    static const Translation translations[] = {
        {"^no such table: (.+)$", "Tabelul %1 nu exista; un tabel se scrie cu calea lui intre ghilimele."},
        {"^no such column: (.+)$", "Coloana %1 nu exista in tabelele instructiunii."},
        {"^table (.+) has no column named (.+)$", "Tabelul %1 nu are coloana %2."},
        {"^(\\d+) values for (\\d+) columns$", "Instructiunea da %1 valori pentru %2 coloane."},
        {"^parser stack overflow$", "Instructiunea este prea complicata (prea multe paranteze una in alta)."},
        {"^Expression tree is too large.*$", "Instructiunea este prea complicata (expresie prea lunga)."},
        {"^near \"(.*)\": syntax error$", "Eroare de scriere a instructiunii langa \"%1\"."},
        {"^incomplete input$", "Instructiunea SQL este incompleta."},
        {"^unrecognized token: \"?(.*?)\"?$", "Instructiunea contine semnul necunoscut %1."},
        {"^ambiguous column name: (.+)$", "Coloana %1 se afla in mai multe tabele; scrieti si tabelul (de exemplu T.%1)."},
        {"^misuse of aggregate(?: function)?:? (.+)$", "Functia de grupare %1 nu poate fi folosita aici."},
        {"^no such function: (.+)$", "Functia %1 nu exista."},
        {"^wrong number of arguments to function (.+)$", "Functia %1 a primit alt numar de argumente."},
        {"^sub-select returns (\\d+) columns - expected 1$", "Subinterogarea da %1 coloane in loc de una."},
        {"^SELECTs to the left and right of (\\w+(?: ALL)?) do not have the same number of result columns$",
         "Interogarile legate prin %1 au numar diferit de coloane."},
        {"^a GROUP BY clause is required before HAVING$", "HAVING cere GROUP BY."},
        {"^aggregate functions are not allowed in the GROUP BY clause$", "GROUP BY nu poate contine functii de grupare."},
        {"^(\\d+)\\w* ORDER BY term does not match any column in the result set$",
         "Termenul %1 din ORDER BY nu este o coloana a rezultatului."},
        {"^ORDER BY term out of range - should be between 1 and (\\d+)$", "ORDER BY trimite la o coloana care nu exista (sunt %1)."},
        {"^no tables specified$", "Instructiunea nu numeste niciun tabel."},
        {"^string or blob too big$", "Un text al instructiunii este prea lung."},
        {"^too many SQL variables$", "Instructiunea are prea multi parametri."},
        {"^too many columns (?:in|on) (.+)$", "Prea multe coloane in %1."},
        {"^interrupted$", "Instructiunea a fost intrerupta."},
        {"^out of memory$", "Memoria nu ajunge pentru instructiune."},
    };
    for (const Translation& t : translations) {
        const QRegularExpression re(QString::fromLatin1(t.pattern));
        const auto m = re.match(original);
        if (!m.hasMatch())
            continue;
        QString text = QString::fromLatin1(t.text);
        if (m.lastCapturedIndex() >= 2)
            text = text.arg(m.captured(1), m.captured(2));
        else if (m.lastCapturedIndex() >= 1)
            text = text.arg(m.captured(1));
        return text + QStringLiteral(" (SQLite: ") + original + QLatin1Char(')');
    }
    return original;
}

QString Engine::allowedPath(const QString& written) const
{
    const QString resolved = resolvePath(written);
    const QString real = realPathOf(resolved);
    if (!real.isEmpty() && underRoot(real))
        return resolved;
    QStringList roots;
    for (const QString& root : m_roots)
        roots << QDir::toNativeSeparators(root);
    QString where = QDir::toNativeSeparators(written.trimmed());
    if (!real.isEmpty() && QDir::cleanPath(real) != QDir::cleanPath(resolved) && QFileInfo(resolved).isSymLink())
        where += QStringLiteral(" (legatura catre %1)").arg(QDir::toNativeSeparators(real));
    throw SqlError(QStringLiteral("Tabelul \"%1\" se afla in afara directoarelor in care programul lucreaza (%2); "
                                  "nu a fost folosit.")
                       .arg(where, roots.join(QStringLiteral(", "))));
}

Engine::~Engine()
{
    sqlite3_close_v2(m_db);
}

QString Engine::resolvePath(const QString& path) const
{
    QString p = path.trimmed();
    if (QDir::separator() == QLatin1Char('/'))
        p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(p).isRelative())
        p = m_dataDirectory + QLatin1Char('/') + p;
    return dbf::resolveFileName(QDir::cleanPath(p));
}

QString Engine::keyOf(const QString& resolvedPath)
{
    // Resolved paths are absolute and clean.
    return resolvedPath.toLower();
}

Engine::Entry& Engine::entryFor(const QString& resolvedPath)
{
    const QString key = keyOf(resolvedPath);
    auto it = m_entries.find(key);
    if (it != m_entries.end()) {
        Entry& entry = **it;
        try {
            entry.handle->refreshIfChanged();
        } catch (const dbf::DbfError& e) {
            dropSqlTable(entry);
            m_byId[size_t(entry.id)].reset();
            m_entries.erase(it);
            throw SqlError(e.message());
        }
        return entry;
    }
    auto entry = std::make_shared<Entry>();
    try {
        entry->handle = std::make_unique<TableHandle>(resolvedPath);
    } catch (const dbf::DbfError& e) {
        throw SqlError(e.message());
    }
    entry->handle->setReadOnly(m_readOnly && inDataDirectory(resolvedPath));
    entry->id = int(m_byId.size());
    m_byId.push_back(entry);
    m_entries.insert(key, entry);
    return *entry;
}

TableHandle& Engine::table(const QString& path)
{
    TableHandle& handle = *entryFor(allowedPath(path)).handle;
    if (const QString memo = handle.table().memoPath(); !memo.isEmpty())
        allowedPath(memo);
    return handle;
}

void Engine::dropSqlTable(Entry& entry)
{
    if (entry.sqlName.isEmpty())
        return;
    char* error = nullptr;
    sqlite3_exec(m_db, QStringLiteral("DROP TABLE IF EXISTS temp.%1").arg(entry.sqlName).toUtf8().constData(),
                 nullptr, nullptr, &error);
    sqlite3_free(error);
    entry.sqlName.clear();
}

void Engine::forget(const QString& path)
{
    const QString key = keyOf(resolvePath(path));
    auto it = m_entries.find(key);
    if (it == m_entries.end())
        return;
    dropSqlTable(**it);
    m_byId[size_t((*it)->id)].reset();
    m_entries.erase(it);
}

QString Engine::sqlNameFor(const QString& path)
{
    // Paths as written resolve to the same file while it exists; the entry checks that.
    auto cached = m_resolved.constFind(path);
    if (cached == m_resolved.cend() || !m_entries.contains(keyOf(*cached)))
        cached = m_resolved.insert(path, resolvePath(path));
    // Checked at every statement: a file may have become a link since.
    if (!underRoot(realPathOf(*cached)))
        allowedPath(path);
    Entry& entry = entryFor(*cached);
    // The memo file is written through too; nothing of it has been read yet.
    if (const QString memo = entry.handle->table().memoPath(); !memo.isEmpty() && !underRoot(realPathOf(memo)))
        allowedPath(memo);
    const bool known = std::any_of(m_statementTables.begin(), m_statementTables.end(),
                                   [&](const std::shared_ptr<Entry>& e) { return e.get() == &entry; });
    if (!known) {
        entry.handle->table().beginBatch();
        m_statementTables.push_back(m_byId[size_t(entry.id)]);
    }
    if (!entry.sqlName.isEmpty() && entry.generation == entry.handle->layoutGeneration()) {
        m_statementPaths.insert(entry.sqlName, path);
        return entry.sqlName;
    }
    dropSqlTable(entry);
    const QString name = QStringLiteral("dbf_%1").arg(m_nextSqlName++);
    exec(m_db, QStringLiteral("CREATE VIRTUAL TABLE temp.%1 USING dbf(%2)").arg(name).arg(entry.id));
    entry.sqlName = name;
    entry.generation = entry.handle->layoutGeneration();
    m_statementPaths.insert(name, path);
    return name;
}

ResultSet Engine::select(const QString& statement, const Parameters& parameters)
{
    ResultSet rows;
    run(statement, &rows, parameters);
    return rows;
}

int Engine::execute(const QString& statement, const Parameters& parameters)
{
    return run(statement, nullptr, parameters);
}

int Engine::run(const QString& text, ResultSet* rows, const Parameters& parameters)
{
    // Appends of one statement are written in blocks; every table is complete on disk when
    // the statement ends, whether it succeeded or not.
    std::exception_ptr failure;
    int count = 0;
    m_statementChanged = false;
    try {
        count = runStatement(text, rows, parameters);
    } catch (...) {
        failure = std::current_exception();
    }
    QString writeError;
    for (const auto& entry : m_statementTables) {
        try {
            entry->handle->table().endBatch();
        } catch (const dbf::DbfError& e) {
            writeError = e.message();
        }
    }
    m_statementTables.clear();
    m_statementPaths.clear();
    if (failure)
        std::rethrow_exception(failure);
    if (!writeError.isEmpty())
        throw SqlError(writeError);
    if (m_statementChanged)
        ChangeCounter::count();
    return count;
}

int Engine::runStatement(const QString& text, ResultSet* rows, const Parameters& parameters)
{
    const Statement statement = translateStatement(text, [this](const QString& path) { return sqlNameFor(path); });
    if (statement.isDefinition()) {
        if (!parameters.isEmpty())
            throw SqlError(QStringLiteral("Instructiunile care creeaza sau modifica tabele nu primesc parametri."));
        runDefinition(statement);
        m_statementChanged = true;
        return 0;
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = statement.sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, &tail) != SQLITE_OK)
        throw SqlError(explain(sqliteMessage(m_db)));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(stmt, sqlite3_finalize);
    if (!stmt)
        throw SqlError(QStringLiteral("Instructiunea SQL este goala."));
    // Whatever SQLite did not take (a second statement hidden from the translator) is refused.
    const QString rest = tail ? QString::fromUtf8(tail).trimmed() : QString();
    if (!rest.isEmpty() && rest != QLatin1String(";"))
        throw SqlError(QStringLiteral("Textul trimis are mai multe instructiuni; se trimite cate o instructiune."));
    try {
        bindParameters(stmt, parameters);
    } catch (const SqlError& e) {
        throw SqlError(explain(e.message()));
    }

    ResultSet local;
    ResultSet& result = rows ? *rows : local;
    result = ResultSet {};
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c)
        result.fields.append(describe(stmt, c));
    std::vector<FieldType> types;
    for (const ResultField& f : result.fields)
        types.push_back(f.type);

    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<dbf::Value> row;
        row.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(cellOf(stmt, c, types[size_t(c)]));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        throw SqlError(explain(sqliteMessage(m_db)));
    inferTypes(result);
    renameDuplicates(result.fields);
    if (statement.kind == Statement::Change) {
        const int changed = sqlite3_changes(m_db);
        m_statementChanged = changed > 0;
        return changed;
    }
    return int(result.rows.size());
}

void Engine::setReadOnly(bool on)
{
    m_readOnly = on;
    for (const auto& entry : m_entries)
        entry->handle->setReadOnly(on && inDataDirectory(entry->handle->table().path()));
}

bool Engine::inDataDirectory(const QString& path) const
{
    const QString dir = QFileInfo(m_dataDirectory).canonicalFilePath();
    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    return !dir.isEmpty() && folder.compare(dir, Qt::CaseInsensitive) == 0;
}

void Engine::runDefinition(const Statement& s)
{
    const QString path = allowedPath(s.path);
    if (m_readOnly && inDataDirectory(path))
        throw SqlError(QStringLiteral("Baza de date este deschisa doar pentru consultare; tabelul \"%1\" nu poate fi schimbat.")
                           .arg(QFileInfo(path).fileName()));
    // A new or restructured table may write its memo file: it must lie under a root as well.
    allowedPath(dbf::memoPathFor(path));
    const QString name = QFileInfo(path).fileName();
    try {
        switch (s.kind) {
        case Statement::CreateTable:
            if (QFileInfo::exists(path))
                throw SqlError(QStringLiteral("Tabelul \"%1\" exista deja.").arg(name));
            forget(path);
            dbf::DbfTable::create(path, s.columns);
            break;
        case Statement::CreateIndex: {
            TableHandle& handle = table(path);
            const int column = handle.table().fieldIndex(s.indexColumn);
            if (column < 0)
                throw SqlError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(name, s.indexColumn));
            // Indexes are built in memory by the first lookup that needs them.
            break;
        }
        case Statement::AlterTable: {
            TableHandle& handle = table(path);
            QList<dbf::FieldSpec> fields;
            for (const dbf::Field& f : handle.table().fields())
                fields.append(f.declaration());
            for (const QString& drop : s.dropColumns) {
                auto it = std::find_if(fields.begin(), fields.end(), [&](const dbf::FieldSpec& f) {
                    return f.name.compare(drop, Qt::CaseInsensitive) == 0;
                });
                if (it == fields.end())
                    throw SqlError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(name, drop));
                fields.erase(it);
            }
            for (const dbf::FieldSpec& add : s.columns) {
                const bool exists = std::any_of(fields.begin(), fields.end(), [&](const dbf::FieldSpec& f) {
                    return f.name.compare(add.name, Qt::CaseInsensitive) == 0;
                });
                if (exists)
                    throw SqlError(QStringLiteral("Tabelul \"%1\" are deja coloana %2.").arg(name, add.name));
                fields.append(add);
            }
            handle.restructure(fields);
            break;
        }
        case Statement::DropTable: {
            if (!QFileInfo::exists(path))
                throw SqlError(QStringLiteral("Tabelul \"%1\" nu exista.").arg(name));
            const QString memo = dbf::memoPathFor(path);
            const QString mdx = dbf::resolveFileName(dbf::withExtension(path, QStringLiteral("mdx")));
            forget(path);
            if (!QFile::remove(path))
                throw SqlError(QStringLiteral("Tabelul \"%1\" nu poate fi sters.").arg(name));
            QFile::remove(memo);
            QFile::remove(mdx);
            break;
        }
        default:
            break;
        }
    } catch (const dbf::DbfError& e) {
        throw SqlError(e.message());
    } catch (const dbf::EncodingError& e) {
        throw SqlError(e.message());
    }
}

}
