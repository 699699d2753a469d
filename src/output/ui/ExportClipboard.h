#pragma once

#include "output/ExportTable.h"

namespace velmor::output {

// Puts the table on the system clipboard as tab-separated text (what spreadsheets paste into
// cells) and as an HTML table (what word processors paste).
void copyToClipboard(const ExportTable& table);

}
