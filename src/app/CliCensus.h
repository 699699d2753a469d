#pragma once

namespace velmor::cli {

class Options;

// velmor-cli census --data DIR [--home H] --year Y --form L1|L2|L3|L4|C1|C2 --village V
// [--include-nu] [--ignore-other] [--date dd.MM.yyyy] [--template FILE] [--rows] [--out FILE.xls]:
// the census rows as TSV, or the filled form written to FILE (not opened) and the rows written.
int runCensus(const Options& options);

// velmor-cli plot-search --data DIR --year Y [filters] [--sort FIELD] [--export FILE.xls]
// [--date dd.MM.yyyy]: the plots found as TSV in the window's order (or by FIELD), then the
// total label; --export writes the list of land in ownership to FILE.
int runPlotSearch(const Options& options);

}
