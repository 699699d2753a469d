#pragma once

namespace velmor::cli {

class Options;

// velmor-cli list-rows --data DIR [--home DIR] --year Y --chapter N: the rows a chapter offers in
// the lists window, RAND<TAB>DENUMIRE.
int runListRows(const Options& options);

// velmor-cli advanced-list --data DIR [--home DIR] --year Y [--village V] [--type T] [--volume N]
// [--column CH:ROW]... [--condition CH:ROW:MIN:MAX]... [--export FILE]: the advanced list.
int runAdvancedList(const Options& options);

// velmor-cli selection-list --data DIR [--home DIR] --year Y --chapter N --row CODE [--min X] [--max X]
// [--village V] [--type T] [--volume N] [--export FILE] [--pdf FILE]: the rows of a selection list,
// then its totals, subject and filter lines.
int runSelectionList(const Options& options);

}
