#include "output/RowProgress.h"

namespace velmor::output {

RowProgress::RowProgress(Interaction* ui, int rowCount)
    : m_ui(ui)
    , m_rowCount(rowCount)
{
    if (!m_ui)
        return;
    m_ui->setProgressMaximum(std::max(rowCount, 1));
    m_shown.emplace(*m_ui, QStringLiteral("Prelucrez..."));
}

void RowProgress::rowDone()
{
    ++m_done;
    if (m_ui && m_done % Step == 0) {
        m_ui->setProgressPosition(m_done);
        m_ui->processEvents();
    }
}

void RowProgress::finish()
{
    if (m_ui)
        m_ui->setProgressPosition(std::max(m_rowCount, 1));
}

}
