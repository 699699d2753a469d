#pragma once

namespace velmor::cli {

class Options;

// velmor-cli household-delete --data DIR --year Y --codid C [--renumber] [--home DIR]: deletes a
// household of a year with every row that belongs to it; with --renumber the following households
// of its village and register type move back one place.
int runHouseholdDelete(const Options& o);

}
