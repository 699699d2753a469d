#pragma once

#include <QString>

#include <memory>

namespace velmor {

namespace engine {
class Engine;
}
class Interaction;
class Settings;
struct AppContext;

// The services over one data directory, made the one way the program, the command line and the
// benchmark make them: the engine over the data directory, which also reads the work tables of
// the program home, and the settings of its Velmor.ini.
class RegisterServices {
public:
    RegisterServices(const QString& programDirectory, const QString& dataDirectory);
    ~RegisterServices();
    RegisterServices(const RegisterServices&) = delete;
    RegisterServices& operator=(const RegisterServices&) = delete;

    engine::Engine& engine() const { return *m_engine; }
    Settings& settings() const { return *m_settings; }

    // Points `ctx` at both directories, these services and `ui`.
    void attachTo(AppContext& ctx, Interaction* ui) const;
    // Takes what points at these services out of `ctx` (before they go).
    void detachFrom(AppContext& ctx) const;

private:
    QString m_programDirectory;
    QString m_dataDirectory;
    std::unique_ptr<engine::Engine> m_engine;
    std::unique_ptr<Settings> m_settings;
};

}
