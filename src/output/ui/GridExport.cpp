#include "output/ui/GridExport.h"

#include "output/TableSources.h"
#include "output/ui/ExportClipboard.h"
#include "output/ui/ExportFormatDialog.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"

#include <QHeaderView>
#include <QTableView>

namespace velmor::output {

QList<int> shownColumns(const QHeaderView& header)
{
    QList<int> columns;
    for (int visual = 0; visual < header.count(); ++visual) {
        const int logical = header.logicalIndex(visual);
        if (logical >= 0 && !header.isSectionHidden(logical))
            columns << logical;
    }
    return columns;
}

ExportTable tableFromView(const QTableView& view)
{
    if (!view.model())
        return {};
    ExportTable table = tableFromModel(*view.model(), shownColumns(*view.horizontalHeader()));
    std::vector<std::vector<dbf::Value>> shown;
    shown.reserve(table.rows.size());
    for (size_t r = 0; r < table.rows.size(); ++r)
        if (!view.isRowHidden(int(r)))
            shown.push_back(std::move(table.rows[r]));
    table.rows = std::move(shown);
    return table;
}

bool carryOut(const ExportTable& table, const ExportDialogChoice& choice, Interaction& ui)
{
    try {
        if (choice.clipboard) {
            copyToClipboard(table);
            ui.Mesaj(QStringLiteral("Export"), QStringLiteral("Tabelul a fost copiat in Clipboard!"), KindInformation, ButtonsOk);
            return true;
        }
        return !exportAsChosen(table, choice.file, ui).isEmpty();
    } catch (const std::exception& error) {
        showError(ui, error);
        return false;
    }
}

bool exportTableWithDialog(const ExportTable& table, Interaction& ui, const QString& dialogTitle,
                           const QList<ExportFormat>& formats)
{
    ExportFormatDialog dialog(dialogTitle, formats);
    if (dialog.exec() != QDialog::Accepted || !dialog.choice())
        return false;
    return carryOut(table, *dialog.choice(), ui);
}

bool exportGrid(const QTableView& view, const QString& title, const QString& footer, Interaction& ui,
                const QString& dialogTitle)
{
    ExportTable table = tableFromView(view);
    table.title = title;
    table.footer = footer;
    return exportTableWithDialog(table, ui, dialogTitle);
}

}
