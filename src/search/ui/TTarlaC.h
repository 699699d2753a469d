#pragma once

#include "grid/QueryTableModel.h"
#include "search/PlotSearch.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace velmor {

struct AppContext;
namespace grid {
class StandardGrid;
}

// The plot search window "Parcele": the plots of the working year's heads of household that
// match the filters, their total area, the pictures of the current plot, sorting by a column and
// the export of the list of land in ownership. The window only reads.
class TTarlaC : public QDialog {
    Q_OBJECT
public:
    explicit TTarlaC(AppContext& ctx, QWidget* parent = nullptr);
    ~TTarlaC() override;

    // Reloads the lists, builds the result once and shows the window modally.
    void Deschide();
    // The same without showing the window (tests, screenshots).
    void pregateste();

    // Rebuilds and reruns the result from the filters.
    void Filtreaza();
    // Sorts by a column of the result grid.
    void SMDBGrid11TitleClick(int column);
    // Shows the pictures of the current plot.
    void TxAfterScroll();
    // "&Exporta Lista".
    void BitBtn1Click();
    // Double click in the pictures grid.
    void openPicture();

    int busy() const { return m_busy; }
    const search::PlotSearch& logic() const { return *m_search; }

    QComboBox* ComboBox2() const { return m_deed; }
    QLineEdit* Edit1() const { return m_deedNumber; }
    QComboBox* ComboBox3() const { return m_category; }
    QComboBox* ComboBox4() const { return m_areaKind; }
    QComboBox* ComboBox1() const { return m_block; }
    QLineEdit* Edit3() const { return m_blockNumber; }
    QLineEdit* Edit4() const { return m_parcel; }
    QLineEdit* Edit2() const { return m_head; }
    QLineEdit* NrCad() const { return m_cadastral; }
    QComboBox* CineLuc() const { return m_worker; }
    QComboBox* TipRA() const { return m_type; }
    QComboBox* LocalitC() const { return m_village; }
    grid::StandardGrid* SMDBGrid11() const { return m_grid; }
    grid::StandardGrid* Poze() const { return m_pictures; }
    QLabel* Total() const { return m_total; }
    QPushButton* BitBtn1() const { return m_export; }
    QPushButton* BitBtn2() const { return m_close; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    search::PlotFilters filters();
    void loadList(QComboBox* box, const QString& file, const QString& any, const QString& column);
    void showRows();
    void selectCurrent();

    AppContext& m_ctx;
    std::unique_ptr<search::PlotSearch> m_search;
    grid::QueryTableModel m_rows;
    grid::QueryTableModel m_pictureRows;
    int m_busy = 0;

    QComboBox* m_deed = nullptr;
    QLineEdit* m_deedNumber = nullptr;
    QComboBox* m_category = nullptr;
    QComboBox* m_areaKind = nullptr;
    QComboBox* m_block = nullptr;
    QLineEdit* m_blockNumber = nullptr;
    QLineEdit* m_parcel = nullptr;
    QLineEdit* m_head = nullptr;
    QLineEdit* m_cadastral = nullptr;
    QComboBox* m_worker = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_village = nullptr;
    grid::StandardGrid* m_grid = nullptr;
    grid::StandardGrid* m_pictures = nullptr;
    QLabel* m_total = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QStatusBar* m_status = nullptr;
    QList<QWidget*> m_order;
};

}
