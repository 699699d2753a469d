#pragma once

namespace velmor::cli {

class Options;

// velmor-cli totals --data DIR [--home H] --year Y [--village V] [--type 1..4] [--volume N] [--sex 1|2]
// [--born dd.MM.yyyy..dd.MM.yyyy] --table pop|2|3|4|5|6|7|8|8net|9|10 [--chart] [--pdf FILE]: builds the
// totals in a private folder and prints the table's page rows (or its chart rows) as TSV.
int runTotals(const Options& options);

}
