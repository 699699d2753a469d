#pragma once

namespace velmor::cli {

class Options;

// velmor-cli merge --data DIR [--home H] --year Y --archive F.kt --replace yes|no [--fail-after N]:
// merges the archive's households of year Y, answering DA to "Adaugam datele ?" and --replace to
// the replacement question; prints per table the rows replaced and appended, the common positions,
// the counters and the log as TSV.
int runMerge(const Options& options);

// velmor-cli check 1|2|3|4|missing --data DIR [--home H] --year Y [--delete] [--export F.xlsx]:
// prints a check's rows and its result line (or the missing positions' lines).
int runCheck(const Options& options);
// Whether the check changes the register (--delete).
bool checkWrites(const Options& options);

}
