#pragma once

namespace velmor::cli {

class Options;

// velmor-cli chapters --data DIR --year Y [--household CODID]: completes and recomputes the
// chapters of a year's households; prints CAPn<TAB>added<TAB>removed<TAB>changed per chapter,
// then a line per set of duplicates kept.
int runChapters(const Options& options);

}
