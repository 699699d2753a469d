#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QStatusBar;

namespace velmor {

struct AppContext;
class TNumericF;

// "Tarife de venituri stabilite local": the sixteen local tariffs and the council decision.
// Loaded once at start-up; certificates read the values straight from the fields. Saving in one
// instance reloads every other live instance, so all windows show the stored tariffs.
class TFTarife : public QDialog {
    Q_OBJECT
public:
    explicit TFTarife(AppContext& ctx, QWidget* parent = nullptr);
    ~TFTarife() override;

    // Fills the fields from the settings file.
    void Incarca();
    // Shows the window modally. "&Memoreaza" saves and closes; "&Renunt", Escape and the close
    // box close and reload the stored values.
    void Deschide();

    // The field of tariff n (1..16) and its value.
    TNumericF* NumericF(int n) const;
    double Valoare(int n) const;
    QLineEdit* Hotarare() const { return m_hotarare; }
    QPushButton* Memoreaza() const { return m_memoreaza; }
    QPushButton* Renunt() const { return m_renunt; }
    QStatusBar* statusBar() const { return m_status; }

public slots:
    void MemoreazaClick();
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& m_ctx;
    std::array<TNumericF*, 16> m_fields {};
    QLineEdit* m_hotarare = nullptr;
    QPushButton* m_memoreaza = nullptr;
    QPushButton* m_renunt = nullptr;
    QStatusBar* m_status = nullptr;
    QList<QWidget*> m_order; // Enter order
};

}
