#pragma once

#include "output/ExportTable.h"

#include "data/engine/ResultSet.h"

#include <QList>

class QAbstractItemModel;

namespace velmor::engine {
class Query;
}

namespace velmor::output {

// Builds the table of an export (without title, footer and date, which the caller sets) from
// what a grid shows or from a query's rows.

// The rows of a model (top level) and the given columns in the given order (every column when
// the list is empty). Headings come from headerData; values from EditRole (qint64, double, QDate,
// QString, bool; an invalid value is null), or from the DisplayRole text where EditRole gives
// nothing. A column whose values are all integers is an Integer column, all numbers a Real column
// (with as many decimals as the widest shown text has), all dates a Date column, otherwise Text.
// Widths are the longest shown text or heading, in characters.
ExportTable tableFromModel(const QAbstractItemModel& model, const QList<int>& columns = {});

// Every row and field of a result; headings are the field names, kinds and decimals come from the
// field types (reals without declared decimals get as many as their values need, at most 10),
// widths from the declared widths or the values (at most 100 then).
ExportTable tableFromResult(const engine::ResultSet& result);

// The rows a query shows through its client filter, in its order; the current row is kept.
ExportTable tableFromQuery(engine::Query& query);

}
