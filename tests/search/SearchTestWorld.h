#pragma once

#include "register/EditorTestWorld.h"

#include "data/ChapterCatalogue.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"

#include <QStringList>

#include <ostream>

#include <utility>
#include <vector>

// Texts in failure messages as text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace velmor::test {

using Columns = std::vector<std::pair<QString, dbf::Value>>;

// The editor's test world with helpers that write households, members and chapter rows through
// bound statements.
struct SearchWorld : EditorWorld {
    explicit SearchWorld(const QString& year = QStringLiteral("2010"), bool withRegister = false)
        : EditorWorld(year, withRegister)
    {
    }

    // INSERT INTO table (names) VALUES (:P0, :P1, ...).
    void insert(const QString& table, const Columns& columns)
    {
        QStringList names;
        QStringList values;
        engine::Query q(*engine);
        for (size_t i = 0; i < columns.size(); ++i) {
            names << columns[i].first;
            values << QStringLiteral(":P%1").arg(i);
            q.bind(QStringLiteral("P%1").arg(i), columns[i].second);
        }
        q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(table)));
        q.add(QStringLiteral("(") + names.join(QStringLiteral(", ")) + QStringLiteral(")"));
        q.add(QStringLiteral("VALUES (") + values.join(QStringLiteral(", ")) + QStringLiteral(")"));
        q.execSQL();
    }

    void household(qint64 codid, const QString& village, int type, int volume, int position, Columns more = {},
                   qint64 year = 2010)
    {
        Columns columns {{QStringLiteral("ANUL"), std::int64_t(year)},
                         {QStringLiteral("CODID"), std::int64_t(codid)},
                         {QStringLiteral("LOCALIT"), village},
                         {QStringLiteral("TIPRA"), std::int64_t(type)},
                         {QStringLiteral("VOLUM"), std::int64_t(volume)},
                         {QStringLiteral("POZ"), std::int64_t(position)}};
        columns.insert(columns.end(), more.begin(), more.end());
        insert(QStringLiteral("Identificare.dbf"), columns);
    }

    void member(qint64 codid, const QString& name, int cod, const QString& cnp = {}, const QString& relation = {},
                qint64 year = 2010)
    {
        static qint64 nextCod1 = 1000;
        insert(QStringLiteral("CAP1.dbf"), {{QStringLiteral("ANUL"), std::int64_t(year)},
                                            {QStringLiteral("CODID"), std::int64_t(codid)},
                                            {QStringLiteral("NUMEP"), name},
                                            {QStringLiteral("CNP"), cnp},
                                            {QStringLiteral("DENUM"), relation},
                                            {QStringLiteral("COD"), std::int64_t(cod)},
                                            {QStringLiteral("COD1"), std::int64_t(++nextCod1)}});
    }

    // One row of chapter `chapter` (CAP2..CAP10) of household `codid`.
    void row(int chapter, qint64 codid, double rand, Columns values, const QString& categ = QString())
    {
        Columns columns {{QStringLiteral("ANUL"), std::int64_t(2010)},
                         {QStringLiteral("CODID"), std::int64_t(codid)},
                         {QStringLiteral("RAND"), rand}};
        // A null name takes the catalogue's.
        if (chapter != 10)
            columns.emplace_back(QStringLiteral("CATEG"),
                                 categ.isNull() ? data::chapterRowName(chapter, data::chapterPositionOfCode(chapter, rand))
                                                : categ);
        columns.insert(columns.end(), values.begin(), values.end());
        insert(QStringLiteral("CAP%1.dbf").arg(chapter), columns);
    }
};

inline dbf::Value whole(qint64 v) { return std::int64_t(v); }
inline dbf::Value real(double v) { return v; }
inline dbf::Value text(const char* v) { return QString::fromUtf8(v); }

}
