#pragma once

#include "search/HouseholdLists.h"

#include <QDialog>
#include <QMap>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace velmor {
struct AppContext;
class TNumericF;
namespace output {
class ReportDocument;
}
}

namespace velmor::search {

class TForm37;

// "Liste cu gospodarii dupa bunurile posedate.": the heads of household of the working year listed
// by what they own, the simple way (a selection list of one chapter row) or the advanced way
// (columns and conditions over several rows, shown in TForm37). Thin over search/HouseholdLists.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    TForm8(AppContext& ctx, QWidget* parent);
    ~TForm8() override;

    // Prepares the window and runs it modally.
    void PornesteListele();
    // Prepares the window as PornesteListele does, without running it (screenshots, tests).
    void prepare();

    // The chapter selector changed: its offered rows fill ComboBox4.
    void ComboBox3Change();
    void BitBtn4Click(); // add column
    void BitBtn5Click(); // remove column
    void BitBtn6Click(); // add condition
    void BitBtn7Click(); // remove condition
    void BitBtn3Click(); // "Anulare filtrare avansata"
    // "CREAZA LISTA" (export false) and "Export in excel" (export true).
    void BitBtn1Click(bool exportChosen);

    const ListChoices& choices() const { return m_choices; }
    ListFilter filter() const;
    int chapter() const;
    const ListRow* selectedRow() const;

    QComboBox* ComboBox1() const { return m_village; }
    QComboBox* TipRACombo() const { return m_type; }
    QComboBox* VolCombo() const { return m_volume; }
    QComboBox* ComboBox3() const { return m_chapter; }
    QComboBox* ComboBox4() const { return m_row; }
    TNumericF* ValMin() const { return m_min; }
    TNumericF* ValMax() const { return m_max; }
    QTreeWidget* ListView1() const { return m_columns; }
    QTreeWidget* ListView2() const { return m_conditions; }
    QPushButton* BitBtn1() const { return m_create; }
    QPushButton* ExportBut() const { return m_exportBut; }
    TForm37* form37() const { return m_form37; }

    // Where results go (tests replace them): the selection list's preview, its export over the
    // format dialog, the advanced list's window.
    std::function<void(const output::ReportDocument&, const QString& title)> previewReport;
    std::function<void(const SelectionResult&)> exportSelection;
    std::function<void(const engine::ResultSet&)> showAdvanced;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refreshLists();
    void refuse(const ListRefusal& refusal);
    void runSelection(bool exportChosen);
    void runAdvanced();

    AppContext& m_ctx;
    ListChoices m_choices;
    QMap<int, std::vector<ListRow>> m_rows;
    QComboBox* m_village = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_volume = nullptr;
    QComboBox* m_chapter = nullptr;
    QComboBox* m_row = nullptr;
    TNumericF* m_min = nullptr;
    TNumericF* m_max = nullptr;
    QTreeWidget* m_columns = nullptr;
    QTreeWidget* m_conditions = nullptr;
    QPushButton* m_addColumn = nullptr;
    QPushButton* m_removeColumn = nullptr;
    QPushButton* m_addCondition = nullptr;
    QPushButton* m_removeCondition = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_create = nullptr;
    QPushButton* m_exportBut = nullptr;
    QPushButton* m_close = nullptr;
    TForm37* m_form37 = nullptr;
};

}
