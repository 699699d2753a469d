#pragma once

#include "data/engine/ResultSet.h"

#include <QDialog>

class QPushButton;

namespace velmor {
class Interaction;
namespace grid {
class QueryTableModel;
class StandardGrid;
}
}

namespace velmor::search {

// "Cautare avansata": the advanced list's rows in a read-only grid, with the grid export.
class TForm37 : public QDialog {
    Q_OBJECT
public:
    TForm37(Interaction& ui, QWidget* parent = nullptr);

    // Loads the rows (the grid's titles are the column names).
    void load(const engine::ResultSet& rows);
    // Loads the rows and runs modally.
    void Arata(const engine::ResultSet& rows);
    // "&EXPORTA": the grid export, spreadsheet preselected; false when nothing was exported.
    bool Exporta();

    grid::StandardGrid* DBGrid1() const { return m_grid; }
    grid::QueryTableModel* model() const { return m_model; }
    QPushButton* ExportBut() const { return m_export; }
    QPushButton* CloseBut() const { return m_close; }

private:
    Interaction& m_ui;
    grid::StandardGrid* m_grid = nullptr;
    grid::QueryTableModel* m_model = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
};

}
