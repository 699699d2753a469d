#pragma once

namespace velmor {

struct AppContext;
class TForm3;

// Hooks the reports menu items of the statistics file, the accounting report, the lists of heads
// of household, the farm situation and the three exported lists.
void wireRegisterReports(TForm3& mainWindow, AppContext& ctx);

}
