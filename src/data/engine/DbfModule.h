#pragma once

#include <sqlite3.h>

#include <functional>

namespace velmor::engine {

class TableHandle;

// Registers the virtual-table module "dbf" on a connection. A virtual table is created with
// `CREATE VIRTUAL TABLE temp.name USING dbf(id)`; `lookup(id)` gives the table it stands for.
void registerDbfModule(sqlite3* db, std::function<TableHandle*(int)> lookup);

}
