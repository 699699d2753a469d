#pragma once

#include "reports/Census.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QStatusBar;

namespace velmor {
struct AppContext;
}

namespace velmor::reports {

// "Recensamant 2010": the village and the form of the census report.
class TRecensamantF : public QDialog {
    Q_OBJECT
public:
    explicit TRecensamantF(AppContext& ctx, QWidget* parent = nullptr);

    // Fills the villages of the working year (the first selected) and shows the dialog; the
    // choice when "&Arata lista" closed it with a village, nullopt when cancelled.
    std::optional<CensusRequest> Alege();
    // Fills the villages as Alege does, without showing the dialog.
    void IncarcaLocalitati();
    // The choice as the controls hold it.
    CensusRequest request() const;

    QComboBox* Localit() const { return m_village; }
    QComboBox* TipRA() const { return m_form; }
    QCheckBox* IncludeNU() const { return m_includeNu; }
    QCheckBox* FaraTerenAlte() const { return m_ignoreOther; }
    QPushButton* BitBtn1() const { return m_show; }
    QPushButton* BitBtn2() const { return m_cancel; }

private:
    void BitBtn1Click();

    AppContext& m_ctx;
    QComboBox* m_village = nullptr;
    QComboBox* m_form = nullptr;
    QCheckBox* m_includeNu = nullptr;
    QCheckBox* m_ignoreOther = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_cancel = nullptr;
    QStatusBar* m_status = nullptr;
};

}
