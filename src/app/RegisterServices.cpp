#include "app/RegisterServices.h"

#include "data/engine/Engine.h"
#include "services/AppContext.h"
#include "services/Settings.h"

namespace velmor {

RegisterServices::RegisterServices(const QString& programDirectory, const QString& dataDirectory)
    : m_programDirectory(programDirectory)
    , m_dataDirectory(dataDirectory)
    , m_engine(std::make_unique<engine::Engine>(dataDirectory))
    , m_settings(std::make_unique<Settings>(dataDirectory))
{
    if (!programDirectory.isEmpty())
        m_engine->addTableRoot(programDirectory);
}

RegisterServices::~RegisterServices() = default;

void RegisterServices::attachTo(AppContext& ctx, Interaction* ui) const
{
    ctx.attach(m_programDirectory, m_dataDirectory, m_engine.get(), m_settings.get(), ui);
}

void RegisterServices::detachFrom(AppContext& ctx) const
{
    if (ctx.engine == m_engine.get())
        ctx.engine = nullptr;
    if (ctx.settings == m_settings.get())
        ctx.settings = nullptr;
}

}
