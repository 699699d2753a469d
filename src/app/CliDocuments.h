#pragma once

namespace velmor::cli {

class Options;

// velmor-cli ragr2 --data DIR [--home H] --year Y [--siruta S] [--number N] [--date dd.MM.yyyy]
// --out FILE.rtf: the statistical form filled as the window fills it; prints the number used.
int runRAgr2(const Options& options);

// velmor-cli certificate --data DIR [--home H] --household CODID --chapters LIST --destination TEXT
// [--model 1..5] [--person NAME] [--second NAME --relation TEXT] [--clerk NAME] [--duty X --receipt R]
// [--number N] [--mentions TEXT] [--heating] --out FILE.rtf: a certificate written as the window
// writes it; prints the number used.
int runCertificate(const Options& options);

}
