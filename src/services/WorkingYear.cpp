#include "services/WorkingYear.h"

namespace velmor {

void WorkingYear::setYears(const QStringList& years)
{
    m_years = years;
    emit yearsChanged(m_years);
    setText(m_years.isEmpty() ? QString() : m_years.last());
}

void WorkingYear::setText(const QString& year)
{
    if (year == m_text)
        return;
    m_text = year;
    emit changed(m_text);
}

void WorkingYear::reload()
{
    if (m_loader)
        setYears(m_loader());
}

}
