#pragma once

#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"
#include "support/TestDirs.h"

#include <QStringList>

#include <memory>

namespace velmor::test {

// A run context over a temporary program home for the household register editor: the reference
// register (years 2009 and 2010) or an empty one, its villages, a working year, the scripted
// interaction.
struct EditorWorld {
    TempHome home;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<engine::Engine> engine;
    ScriptedInteraction ui;
    AppContext ctx;

    explicit EditorWorld(const QString& year, bool withRegister = true)
    {
        if (withRegister)
            home.copyFixture(QStringLiteral("register-dbase4"));
        settings = std::make_unique<Settings>(home.data());
        engine = std::make_unique<engine::Engine>(home.data());
        engine->addTableRoot(home.home());
        if (!withRegister) {
            ScriptedInteraction quiet;
            data::Schema(*engine, home.data(), quiet).CreazaBaza();
        }
        ctx.programDirectory = home.home();
        ctx.dataDirectory = home.data();
        ctx.localDataMode = true;
        ctx.engine = engine.get();
        ctx.settings = settings.get();
        ctx.interaction = &ui;
        ctx.profile.setVillages({QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA")});
        ctx.year.setYears({QStringLiteral("2009"), QStringLiteral("2010"), year});
        ctx.year.setText(year);
    }

    // A household of the year, placed by village, type, volume and position.
    void addHousehold(const QString& year, qint64 codid, const QString& village, int type, int volume, int position)
    {
        engine::Query q(*engine);
        q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QStringLiteral("Identificare.dbf"))));
        q.add(QStringLiteral("(ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ, STRADA, NR)"));
        q.add(QStringLiteral("VALUES (:ANUL, :CODID, :SAT, :TIP, :VOL, :POZ, :STR, :NR)"));
        q.bind(QStringLiteral("ANUL"), std::int64_t(year.toLongLong()))
            .bind(QStringLiteral("CODID"), std::int64_t(codid))
            .bind(QStringLiteral("SAT"), village)
            .bind(QStringLiteral("TIP"), std::int64_t(type))
            .bind(QStringLiteral("VOL"), std::int64_t(volume))
            .bind(QStringLiteral("POZ"), std::int64_t(position))
            .bind(QStringLiteral("STR"), QStringLiteral("ULMILOR"))
            .bind(QStringLiteral("NR"), QString::number(codid));
        q.execSQL();
    }

    // Rows of a table that meet a condition, counted by an independent statement.
    qint64 count(const QString& table, const QString& where) const
    {
        const engine::ResultSet rows = engine->select(QStringLiteral("SELECT COUNT(*) AS N FROM ")
                                                      + engine::quotedPath(ctx.tablePath(table))
                                                      + QStringLiteral(" WHERE ") + where);
        const auto* n = std::get_if<std::int64_t>(&rows.rows.front().front());
        return n ? *n : -1;
    }
};

}
