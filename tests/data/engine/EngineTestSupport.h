#pragma once

// A copy of a reference register (or an empty data folder) with an engine over it, and short
// ways to run statements and look at their rows.

#include "../dbf/DbfTestSupport.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QRegularExpression>
#include <QString>

#include <string>
#include <vector>

namespace velmor::test {

using Rows = std::vector<std::vector<std::string>>;

inline QString quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

inline Rows shownRows(const engine::ResultSet& r)
{
    Rows out;
    for (const auto& row : r.rows)
        out.push_back(showRow(row));
    return out;
}

inline std::vector<std::string> fieldNames(const engine::ResultSet& r)
{
    std::vector<std::string> out;
    for (const auto& f : r.fields)
        out.push_back(f.name.toStdString());
    return out;
}

class Register {
public:
    // An empty data folder when `fixture` is empty.
    explicit Register(const QString& fixture = {})
        : engine(home.data())
    {
        if (!fixture.isEmpty())
            copyFixture(fixture);
    }

    // Copies every file of a reference folder into the data folder (plain writes: QFile::copy
    // syncs each file to disk, which makes a test ten times slower).
    void copyFixture(const QString& fixture) const
    {
        const QDir source(fixturePath(fixture));
        const QStringList names = source.entryList(QDir::Files);
        ASSERT_FALSE(names.isEmpty()) << fixture.toStdString();
        for (const QString& name : names)
            writeBytes(home.dataFile(name), velmor::test::existingFileBytes(source.filePath(name)));
    }

    // A table path as statements write it: full path in double quotes.
    QString t(const QString& file) const { return quoted(home.dataFile(file)); }
    QString file(const QString& name) const { return home.dataFile(name); }

    // "{CAP1}" in a statement stands for the quoted path of CAP1.dbf in the data folder.
    QString expand(const QString& sql) const
    {
        static const QRegularExpression table(QStringLiteral("\\{(\\w+)\\}"));
        QString out = sql;
        QRegularExpressionMatch m;
        while ((m = table.match(out)).hasMatch())
            out.replace(m.capturedStart(), m.capturedLength(), t(m.captured(1) + QStringLiteral(".dbf")));
        return out;
    }

    engine::ResultSet select(const QString& sql) { return engine.select(expand(sql)); }
    Rows rows(const QString& sql) { return shownRows(select(sql)); }
    std::vector<std::string> column(const QString& sql)
    {
        std::vector<std::string> out;
        for (const auto& row : select(sql).rows)
            out.push_back(show(row.at(0)));
        return out;
    }
    std::string one(const QString& sql)
    {
        const auto r = select(sql);
        EXPECT_EQ(r.rows.size(), 1u) << sql.toStdString();
        return r.rows.empty() ? std::string("<no row>") : show(r.rows[0].at(0));
    }
    int exec(const QString& sql) { return engine.execute(expand(sql)); }
    // The message of the error a statement raises; empty when it ran.
    QString error(const QString& sql)
    {
        try {
            engine::ResultSet ignored;
            engine.run(expand(sql), &ignored);
        } catch (const engine::SqlError& e) {
            return e.message().isEmpty() ? QStringLiteral("(empty message)") : e.message();
        }
        return {};
    }

    TempHome home;
    engine::Engine engine;
};

}
