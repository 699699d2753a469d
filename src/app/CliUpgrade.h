#pragma once

namespace velmor::cli {

class Options;

// velmor-cli upgrade --data DIR [--home H]: creates the missing tables, then runs the schema
// upgrade; prints STEP<TAB>STATUS<TAB>DETAIL per step and #CHANGES<TAB>n.
int runUpgrade(const Options& options);

}
