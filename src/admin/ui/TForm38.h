#pragma once

#include "admin/DataChecks.h"
#include "data/engine/Query.h"
#include "grid/QueryTableModel.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace velmor {

struct AppContext;
namespace grid {
class StandardGrid;
}

// The verification window "Verificare Baza de Date": four checks whose rows fill the grid, their
// export to Excel and, after the first check, the deletion of the households it listed.
class TForm38 : public QDialog {
    Q_OBJECT
public:
    explicit TForm38(AppContext& ctx, QWidget* parent = nullptr);
    ~TForm38() override;

    // Resets the window, shows it modally, resets it again and removes the check table.
    void Deschide();
    // Result line "Rezultat", Panel4 hidden, the query and the grid emptied.
    void Reset();

    int lastCheck() const { return m_lastCheck; }

    QPushButton* Corectitudine() const { return m_check1; }
    QPushButton* MembriFaraCnp() const { return m_check2; }
    QPushButton* PozitiiFaraCap() const { return m_check3; }
    QPushButton* DiferenteParcele() const { return m_check4; }
    QPushButton* ExportExcel() const { return m_export; }
    QPushButton* Inchide() const { return m_close; }
    QWidget* Panel4() const { return m_panel4; }
    QPushButton* StergeLe() const { return m_delete; }
    QLabel* Label6() const { return m_label6; }
    grid::StandardGrid* Grid() const { return m_grid; }
    const grid::QueryTableModel& model() const { return m_model; }

public slots:
    void CorectitudineClick();
    void MembriClick();
    void PozitiiClick();
    void DiferenteClick();
    void ExportClick();
    void StergeClick();

private:
    void show(const QString& result, int check);

    AppContext& m_ctx;
    DataChecks m_checks;
    engine::Query m_query;
    grid::QueryTableModel m_model;
    int m_lastCheck = 0;

    QPushButton* m_check1 = nullptr;
    QPushButton* m_check2 = nullptr;
    QPushButton* m_check3 = nullptr;
    QPushButton* m_check4 = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QWidget* m_panel4 = nullptr;
    QPushButton* m_delete = nullptr;
    QLabel* m_label6 = nullptr;
    grid::StandardGrid* m_grid = nullptr;
};

}
