#pragma once

#include "output/ReportDocument.h"

#include <QDialog>

#include <functional>
#include <memory>

class QPushButton;

namespace velmor {
struct AppContext;
namespace grid {
class QueryTableModel;
class StandardGrid;
}
}

namespace velmor::reports {

class Accounting;

// The accounting window ("Raport catre contabilitate"): the land of every head of household by
// category, with the printed report and the grid export.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(AppContext& ctx, QWidget* parent = nullptr);
    ~TForm9() override;

    // "Contabilitate": builds the work tables, shows the window modally, removes them on return.
    void Deschide();
    // Builds the work tables and loads the grid without showing the window; false (after the
    // message) when the report could not be built.
    bool prepare();
    // Removes the work tables (Deschide does it on return).
    void closeTables();

    void ListeazaClick();
    void ExportaClick();

    grid::StandardGrid* grid() const { return m_grid; }
    QPushButton* listeaza() const { return m_listeaza; }
    QPushButton* exporta() const { return m_exporta; }
    QPushButton* inchide() const { return m_inchide; }

    // Shows a report document (the preview window; tests look at the document instead).
    std::function<void(const output::ReportDocument&, const QString&)> previewReport;

private:
    AppContext& m_ctx;
    std::unique_ptr<Accounting> m_accounting;
    grid::StandardGrid* m_grid = nullptr;
    grid::QueryTableModel* m_model = nullptr;
    QPushButton* m_listeaza = nullptr;
    QPushButton* m_exporta = nullptr;
    QPushButton* m_inchide = nullptr;
};

}
