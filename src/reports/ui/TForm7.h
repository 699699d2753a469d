#pragma once

#include "reports/Totals.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class QChartView;
class QCheckBox;
class QPainter;
class QRectF;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QToolButton;
class QWidget;

namespace velmor {
struct AppContext;
namespace grid {
class QueryTableModel;
class StandardGrid;
}
namespace output {
class ReportDocument;
}
}

namespace velmor::reports {

// "TOTALURI / GRAFICE": the totals by village, chapter and row over a chosen set of households, as
// grids, charts and printed forms. Thin over Totals; its tables live in the program home.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    TForm7(AppContext& ctx, QWidget* parent);
    ~TForm7() override;

    // Fills the combos, shows the households and runs modally; the tables go when it closes.
    void Deschide();
    // Prepares the window as Deschide does, without running it (screenshots, tests).
    void prepare();

    // "Creaza Raport".
    void RapB1Click();
    // The page buttons But0..But10.
    void pressPage(int n);
    int activePage() const;
    // "LISTEAZA" on the active page.
    void ListButClick();
    // "Export in Excel".
    void ExpButClick();
    // Shows the chart tab of the active page (pages 2-7).
    void showChart(bool on);
    // "Salveaza imaginea": the active page's chart as a PNG file asked for; false when none was written.
    bool saveChartImage();

    TotalsFilter filter() const;
    Totals& totals() { return *m_totals; }
    QStackedWidget* Pages() const { return m_pages; }
    QComboBox* SatCombo() const { return m_satCombo; }
    QComboBox* TipRACombo() const { return m_tipCombo; }
    QComboBox* VolCombo() const { return m_volCombo; }
    QComboBox* SexCombo() const { return m_sexCombo; }
    QCheckBox* OriceDN() const { return m_oriceDN; }
    QDateEdit* Data1() const { return m_data1; }
    QDateEdit* Data2() const { return m_data2; }
    QLabel* householdCount() const { return m_householdCount; }
    QLabel* personCount() const { return m_personCount; }
    QToolButton* pageButton(int n) const { return m_buttons.value(n); }
    QToolButton* ExpBut() const { return m_expBut; }
    QToolButton* ListBut() const { return m_listBut; }
    QWidget* PanelC() const { return m_panelC; }
    grid::StandardGrid* grid(int page) const { return m_grids.value(page); }

    // The preview opener used by LISTEAZA (tests replace it; the default shows the preview).
    std::function<void(const output::ReportDocument&, const QString& title)> previewReport;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildFilterPage();
    QWidget* buildTablePage(int index, const QString& name, const QString& caption, bool withChart);
    void reloadHouseholds();
    void loadPage(int index);
    void closeTables();
    // Closes the grids and removes the work tables (closing the window).
    void removeTables();
    QChartView* chartView() const;
    std::function<void(QPainter&, const QRectF&)> chartDrawing() const;
    TotalsTable tableOfPage(int index) const;

    AppContext& m_ctx;
    std::unique_ptr<Totals> m_totals;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_panelC = nullptr;
    QComboBox* m_satCombo = nullptr;
    QComboBox* m_tipCombo = nullptr;
    QComboBox* m_volCombo = nullptr;
    QComboBox* m_sexCombo = nullptr;
    QCheckBox* m_oriceDN = nullptr;
    QDateEdit* m_data1 = nullptr;
    QDateEdit* m_data2 = nullptr;
    QPushButton* m_rapB1 = nullptr;
    QLabel* m_householdCount = nullptr;
    QLabel* m_personCount = nullptr;
    QToolButton* m_expBut = nullptr;
    QToolButton* m_listBut = nullptr;
    QHash<int, QToolButton*> m_buttons;
    QHash<int, grid::StandardGrid*> m_grids;
    QHash<int, grid::QueryTableModel*> m_models;
    QHash<int, QTabWidget*> m_tabs;
    QHash<int, QWidget*> m_chartHosts;
};

}
