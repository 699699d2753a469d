#pragma once

#include "data/engine/ResultSet.h"

#include <QString>

namespace velmor::cli {

// One field as the CLI prints it: NULL as nothing, integers plainly, reals with at most 10
// decimals and no trailing zeros, dates yyyy-MM-dd, text with \\ \t \r \n escaped.
QString formatCell(const dbf::Value& value);

// Column names on the first line, then one line per row; fields separated by one TAB.
QString formatResult(const engine::ResultSet& result);

// A message as the CLI prints it: line breaks (CR LF or a lone CR) as line feeds, system texts
// in Romanian.
QString messageLines(QString message);

}
