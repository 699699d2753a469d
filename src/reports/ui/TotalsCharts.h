#pragma once

#include "data/engine/ResultSet.h"
#include "reports/Totals.h"

class QWidget;

namespace velmor::reports {

// The chart of a totals page (pages 2-7): a pie with percentages, horizontal bars, or the two
// half-year series with a legend, titled as the page's chart.
QWidget* makeTotalsChart(TotalsTable table, const engine::ResultSet& rows, QWidget* parent);
QString totalsChartTitle(TotalsTable table);

}
