#include "data/engine/Query.h"

#include "data/engine/Engine.h"

namespace velmor::engine {

Query::Query(Engine& engine)
    : m_engine(engine)
{
}

void Query::open()
{
    close();
    m_result = m_engine.select(text(), m_parameters);
    setActive(true);
    rebuildView();
}

int Query::execSQL()
{
    close();
    return m_engine.execute(text(), m_parameters);
}

void Query::close()
{
    m_result = ResultSet {};
    setActive(false);
    clearView();
}

void QueryRst(Query& query)
{
    query.close();
    query.SQL().clear();
    query.clearParameters();
    query.setFiltered(false);
    query.setFilter(QString());
}

}
