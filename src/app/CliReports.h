#pragma once

namespace velmor::cli {

class Options;

// velmor-cli statfile --data DIR [--home H] --year Y --date dd.MM.yyyy --out DIR [--replace yes|no]:
// writes the statistics file of the year into DIR and prints its path.
int runStatisticsFile(const Options& options);

// velmor-cli accounting --data DIR [--home H] --year Y [--pdf F]: the land of every head of household
// by category, intravilan and extravilan, in hectares.
int runAccounting(const Options& options);

// velmor-cli heads --data DIR [--home H] --year Y --by address|positions [--pdf F]: the heads of
// household with their address, or the index of positions.
int runHeads(const Options& options);

// velmor-cli list-street --street S | list-sizes | list-dwellings --data DIR [--home H] --year Y
// [--out FILE]: the residents of a street, the households by size, the dwellings; --out exports the
// list in the format of the file's extension.
int runListStreet(const Options& options);
int runListSizes(const Options& options);
int runListDwellings(const Options& options);

// velmor-cli farms --data DIR [--home H] --year Y --date dd.MM.yyyy [--out FILE.rtf]: the placeholders
// of the farm situation and their texts; --out fills the data directory's ModelDir.rtf into FILE.
int runFarms(const Options& options);

}
