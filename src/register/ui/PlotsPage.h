#pragma once

#include "register/PlotStore.h"
#include "register/ui/EditorPage.h"

#include <memory>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace velmor {

struct AppContext;
namespace engine {
class Engine;
}
class TRecalcSelect;
class TTarlaF;
namespace grid {
class QueryTableModel;
class StandardGrid;
}

// Page 13 of the household register editor: the current household's plots with their holders and
// pictures, the plot dialog, and the recalculation of chapters 2 and 3 from the plots.
class PlotsPage : public EditorPage {
    Q_OBJECT
public:
    PlotsPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent = nullptr);
    ~PlotsPage() override;

    void IncarcaPagina() override { IncarcaParcele(); }
    void editorClosed() override;
    void applyUnlocked(bool unlocked) override;

    // Loads the household's plots and shows the first.
    void IncarcaParcele();
    // Shows the current plot's details, holders and pictures.
    void FiltreazaParcela();
    // The CODT of the current plot, -1 when there is none.
    qint64 currentPlot() const;

    void AdaugaClick();
    void ModificaClick();
    void StergeClick();
    void RecalcClick();
    void AratePozaClick();
    void AdaugaPozaClick();
    void StergePozaClick();
    // Adds a picture reference to the current plot (from the file dialog or a dropped file).
    void AdaugaPoza(const QString& path);

    grid::StandardGrid* Grid() const { return m_grid; }
    QListWidget* Titulari() const { return m_holders; }
    QListWidget* Poze() const { return m_pictures; }
    QPlainTextEdit* Mentiuni() const { return m_notes; }
    QPushButton* Adauga() const { return m_add; }
    QPushButton* Modifica() const { return m_modify; }
    QPushButton* Sterge() const { return m_delete; }
    QPushButton* Recalculeaza() const { return m_recalc; }
    QPushButton* AdaugaPozaButton() const { return m_addPicture; }
    TTarlaF* dialog() const { return m_dialog; }
    TRecalcSelect* recalcDialog() const { return m_recalcDialog; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int year();
    PlotStore* store();
    void reloadAndSelect(qint64 codt);
    void warn(const QString& text, QWidget* anchor);

    AppContext& m_ctx;
    std::unique_ptr<PlotStore> m_store;
    engine::Engine* m_storeEngine = nullptr;
    QString m_storeDirectory;
    grid::QueryTableModel* m_model = nullptr;
    grid::StandardGrid* m_grid = nullptr;
    QLabel* m_details = nullptr;
    QListWidget* m_holders = nullptr;
    QListWidget* m_pictures = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_recalc = nullptr;
    QPushButton* m_showPicture = nullptr;
    QPushButton* m_addPicture = nullptr;
    QPushButton* m_deletePicture = nullptr;
    TTarlaF* m_dialog = nullptr;
    TRecalcSelect* m_recalcDialog = nullptr;
    bool m_unlocked = false;
};

}
