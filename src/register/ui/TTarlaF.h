#pragma once

#include "register/PlotStore.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace velmor {

struct AppContext;
class PlotValueLists;
class TNumericF;

// "Tarlale - ADAUGARE" / "Tarlale - MODIFICARE": one plot with its deed, holders, block, category,
// area and neighbours. What is stored is checked by PlotStore; the dialog keeps the value lists
// and the category remembered for each field block.
class TTarlaF : public QDialog {
    Q_OBJECT
public:
    explicit TTarlaF(AppContext& ctx, QWidget* parent = nullptr);
    ~TTarlaF() override;

    // Shows the dialog modally in the mode "ADAUGARE" or "MODIFICARE"; true when confirmed.
    bool EditeazaParcela(const QString& mode);
    // Clears every field.
    void GolesteParcela();
    // Fills the fields from a plot (classification and category after the block name).
    void ArataParcela(const PlotDetails& plot);
    PlotDetails details() const;

    // The household the dialog was last filled for (-1 at first).
    qint64 household() const { return m_household; }
    void setHousehold(qint64 household) { m_household = household; }

    // "&Memoreaza": checks, keeps the lists and the category memory, closes with a result.
    void MemoreazaClick();

    QComboBox* Act() const { return m_deed; }
    QLineEdit* Numarul() const { return m_deedNumber; }
    QLineEdit* DinData() const { return m_deedDate; }
    QPlainTextEdit* Titulari() const { return m_holders; }
    QPlainTextEdit* Observatii() const { return m_notes; }
    QComboBox* DenumireTarla() const { return m_block; }
    QLineEdit* NumarTarla() const { return m_blockNumber; }
    QLineEdit* NumarParcela() const { return m_parcel; }
    QLineEdit* NrCadastral() const { return m_cadastral; }
    QComboBox* Categoria() const { return m_category; }
    QComboBox* Incadrare() const { return m_classification; }
    QComboBox* CineLucreaza() const { return m_worker; }
    TNumericF* Suprafata() const { return m_area; }
    QLineEdit* Nord() const { return m_north; }
    QLineEdit* Est() const { return m_east; }
    QLineEdit* Sud() const { return m_south; }
    QLineEdit* Vest() const { return m_west; }
    QPushButton* Memoreaza() const { return m_save; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadLists();
    void blockChanged();

    AppContext& m_ctx;
    std::unique_ptr<PlotValueLists> m_lists;
    qint64 m_household = -1;
    bool m_inBlockChange = false;
    bool m_blockChangedAgain = false;

    QComboBox* m_deed = nullptr;
    QLineEdit* m_deedNumber = nullptr;
    QLineEdit* m_deedDate = nullptr;
    QPlainTextEdit* m_holders = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QComboBox* m_block = nullptr;
    QLineEdit* m_blockNumber = nullptr;
    QLineEdit* m_parcel = nullptr;
    QLineEdit* m_cadastral = nullptr;
    QComboBox* m_category = nullptr;
    QComboBox* m_classification = nullptr;
    QComboBox* m_worker = nullptr;
    TNumericF* m_area = nullptr;
    QLineEdit* m_north = nullptr;
    QLineEdit* m_east = nullptr;
    QLineEdit* m_south = nullptr;
    QLineEdit* m_west = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_cancel = nullptr;
    QStatusBar* m_status = nullptr;
    QList<QWidget*> m_order;              // Enter order
    QHash<QString, QWidget*> m_fieldByLabel; // refusals point at their field
};

}
