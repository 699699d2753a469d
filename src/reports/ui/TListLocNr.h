#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace velmor {
struct AppContext;
}

namespace velmor::reports {

// The street dialog of the residents list ("Lista Locuitori dupa strada"), and the two lists
// exported without a dialog (households by size, dwellings).
class TListLocNr : public QDialog {
    Q_OBJECT
public:
    explicit TListLocNr(AppContext& ctx, QWidget* parent = nullptr);

    // Fills the streets and shows the dialog modally.
    void Deschide();
    // Fills the street list as Deschide does; false (after the message) when it failed.
    bool prepare();
    // Exports the residents of the chosen street through the export dialog.
    void ArataListaClick();

    // "Liste Gospodarii dupa nr.membri" and "Lista Constructiilor cu destinatie de locuinta".
    static void exportHouseholdSizes(AppContext& ctx);
    static void exportDwellings(AppContext& ctx);

    QComboBox* Strada() const { return m_strada; }
    QPushButton* arataLista() const { return m_arata; }
    QPushButton* renunt() const { return m_renunt; }

private:
    AppContext& m_ctx;
    QComboBox* m_strada = nullptr;
    QPushButton* m_arata = nullptr;
    QPushButton* m_renunt = nullptr;
};

}
