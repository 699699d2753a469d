#pragma once

#include "output/DataExport.h"
#include "output/ui/ExportFormatDialog.h"

#include <QList>
#include <QString>

class QHeaderView;
class QTableView;

namespace velmor {
class Interaction;
}

namespace velmor::output {

// Logical columns a header shows, in the order it shows them (moved sections where they are
// shown, hidden sections left out).
QList<int> shownColumns(const QHeaderView& header);

// What a table view shows: the rows of its model (through any proxy it is given) that are not
// hidden, and its shown columns in their order.
ExportTable tableFromView(const QTableView& view);

// The grid export of the windows ("Export Grila"): the format dialog over what the view shows,
// then the chosen file (asked through the interaction seam), the view-only file or the clipboard.
// Failures are shown as error messages. Returns false when nothing was exported.
bool exportGrid(const QTableView& view, const QString& title, const QString& footer, Interaction& ui,
                const QString& dialogTitle = QStringLiteral("Export Grila"));

// The same dialog over an export table already built (a query's rows).
bool exportTableWithDialog(const ExportTable& table, Interaction& ui,
                           const QString& dialogTitle = QStringLiteral("Export datele"),
                           const QList<ExportFormat>& formats = allExportFormats());

// Carries out a dialog's choice: the clipboard (with the confirmation message) or exportAsChosen.
// Failures are shown as error messages. Returns false when nothing was exported.
bool carryOut(const ExportTable& table, const ExportDialogChoice& choice, Interaction& ui);

}
