#pragma once

namespace velmor::cli {

class Options;

// velmor-cli summary --data DIR --household CODID: every chapter summary of the household, one
// line each as NAME<TAB>text.
int runSummary(const Options& options);

// velmor-cli find --data DIR --year Y [--name TEXT] [--heads-only] [--cnp TEXT] [--company TEXT]
// [--street TEXT] [--number TEXT] [--domicile TEXT]: the members found as the search window lists
// them, with the household code.
int runFind(const Options& options);

}
