#pragma once

#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QStringList>

#include <vector>

namespace velmor::test {

// An empty register, made by the program's own schema in a temporary home; cases add its rows.
class EmptyRegister {
public:
    EmptyRegister()
        : engine(home.data())
    {
        ScriptedInteraction ui;
        data::Schema(engine, home.data(), ui).CreazaBaza();
    }

    QString table(const char* name) const { return engine::quotedPath(home.dataFile(QLatin1String(name))); }

    // One row of `columns` (a comma-separated list), every value bound.
    void insert(const char* name, const QString& columns, const std::vector<dbf::Value>& values)
    {
        engine::Parameters p;
        QStringList marks;
        for (size_t i = 0; i < values.size(); ++i) {
            p.bind(QStringLiteral("P%1").arg(i), values[i]);
            marks << QStringLiteral(":P%1").arg(i);
        }
        engine.execute(QStringLiteral("INSERT INTO ") + table(name) + QStringLiteral(" (") + columns + QStringLiteral(") VALUES (")
                           + marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                       p);
    }

    TempHome home;
    engine::Engine engine;
};

}
