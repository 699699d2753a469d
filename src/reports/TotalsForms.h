#pragma once

#include "output/ReportDocument.h"
#include "reports/Totals.h"

#include <QDate>

namespace velmor::reports {

// What the printed totals show above the table.
struct TotalsFormTexts {
    QString council;        // council name
    QString commune;        // commune name
    QString filter;         // Totals::filterDescription
    QString populationLine; // Totals::populationLine (population form)
    std::int64_t year = 0;
    QDate today = QDate::currentDate();
};

// The title lines of a table's form ("CAP 2. TERENURI IN PROPRIETATE.").
QStringList totalsFormTitle(TotalsTable table);
// The banded form of a table, its columns those of the table's page.
output::ReportForm totalsForm(TotalsTable table);
// The chart of a page on paper: the form's header labels above the chart drawn as vectors.
output::ReportDocument totalsChartDocument(TotalsTable table, output::ReportDocument::Drawing chart,
                                           const TotalsFormTexts& texts);

// The form filled with the page rows and its labels.
output::ReportDocument totalsDocument(TotalsTable table, engine::ResultSet rows, const TotalsFormTexts& texts);

}
