#pragma once

#include "bench/NativeMirror.h"
#include "data/engine/Engine.h"

#include <QString>

namespace velmor::bench {

// Runs statements of the program's dialect either on the engine or on the native mirror.
class Runner {
public:
    virtual ~Runner() = default;
    virtual int run(const QString& statement, engine::ResultSet* rows = nullptr) = 0;
};

class EngineRunner : public Runner {
public:
    explicit EngineRunner(engine::Engine& engine)
        : m_engine(engine)
    {
    }
    int run(const QString& statement, engine::ResultSet* rows = nullptr) override
    {
        return m_engine.run(statement, rows);
    }

private:
    engine::Engine& m_engine;
};

// Table paths become the mirror's table names (the file name without extension).
class NativeRunner : public Runner {
public:
    explicit NativeRunner(NativeMirror& mirror)
        : m_mirror(mirror)
    {
    }
    int run(const QString& statement, engine::ResultSet* rows = nullptr) override;

    static QString tableNameOf(const QString& path);

private:
    NativeMirror& m_mirror;
};

}
