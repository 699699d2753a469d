#pragma once

#include "register/PlotRecalculation.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QStatusBar;

namespace velmor {

// "Recalculare Cap.2 si 3": which households of the working year are rebuilt from their plots.
// Each list starts with "INDIFERENT" (any).
class TRecalcSelect : public QDialog {
    Q_OBJECT
public:
    explicit TRecalcSelect(QWidget* parent = nullptr);

    // Fills the lists from the register and selects the current household's values.
    void PregatesteSelectia(const PlotRecalculation& recalculation, const QString& village, const QString& type,
                            const QString& volume, const QString& position);
    // Shows the dialog modally; true when "&Recalculeaza" closed it.
    bool AlegeSelectia();
    RecalcSelection selection() const;

    QComboBox* Localitatea() const { return m_village; }
    QComboBox* Tipul() const { return m_type; }
    QComboBox* Volumul() const { return m_volume; }
    QComboBox* Pozitia() const { return m_position; }
    QPushButton* Recalculeaza() const { return m_run; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_village = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_volume = nullptr;
    QComboBox* m_position = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_cancel = nullptr;
    QStatusBar* m_status = nullptr;
};

}
