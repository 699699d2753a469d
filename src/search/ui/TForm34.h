#pragma once

#include "search/Certificates.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velmor {

struct AppContext;
class TNumericF;

// "Adeverinta": the certificates of the household current in the register editor. The window
// gathers what the certificate says; Certificates checks, fills and counts.
class TForm34 : public QDialog {
    Q_OBJECT
public:
    explicit TForm34(AppContext& ctx, QWidget* parent = nullptr);
    ~TForm34() override;

    // Prepares the window for the household and shows it modally. A household without members
    // gets the message and no window.
    void AdeverintaOk(qint64 household);
    // The same preparation without showing the window; false when the household has no members.
    bool Pregateste(qint64 household);
    // "&Arata adeverinta" and "Adeverinta &Caldura".
    void BitBtn3Click();
    void AdCaBClick();
    // The destination chosen or typed: a listed one brings back its chapters, model, duty and mentions.
    void ComboBox2Change();
    // "Tarife stabilite" opens the local tariffs window the program hands in.
    void setTariffsWindow(std::function<void()> open) { m_openTariffs = std::move(open); }

    // The request the controls describe.
    search::CertificateRequest request() const;
    // The last document written, empty when none.
    const QString& lastDocument() const { return m_lastDocument; }

    QComboBox* ComboBox1() const { return m_person; }
    QComboBox* ComboBox2() const { return m_destination; }
    QComboBox* ComboBox3() const { return m_second; }
    QComboBox* ComboBox4() const { return m_relation; }
    QComboBox* ModelAdev() const { return m_model; }
    TNumericF* AdvNr() const { return m_number; }
    TNumericF* TaxaT() const { return m_duty; }
    QLineEdit* Edit4() const { return m_receipt; }
    QLineEdit* Edit9() const { return m_clerk; }
    QPlainTextEdit* Memo1() const { return m_mentions; }
    QCheckBox* CheckBox(int n) const { return m_chapters[size_t(n - 1)]; }
    QPushButton* BitBtn3() const { return m_general; }
    QPushButton* AdCaB() const { return m_heating; }

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<search::Certificates> certificates() const;
    void refuse(const search::CertificateRefusal& refusal);
    void setChapters(const QString& state);

    AppContext& m_ctx;
    qint64 m_household = -1;
    QString m_lastDocument;
    std::function<void()> m_openTariffs;

    QComboBox* m_destination = nullptr;
    TNumericF* m_number = nullptr;
    TNumericF* m_duty = nullptr;
    QLineEdit* m_receipt = nullptr;
    QComboBox* m_person = nullptr;
    QComboBox* m_second = nullptr;
    QComboBox* m_relation = nullptr;
    std::array<QCheckBox*, search::CertificateRequest::ChapterCount> m_chapters {};
    QPlainTextEdit* m_mentions = nullptr;
    QComboBox* m_model = nullptr;
    QLineEdit* m_clerk = nullptr;
    QPushButton* m_general = nullptr;
    QPushButton* m_heating = nullptr;
    QPushButton* m_tariffs = nullptr;
    QPushButton* m_close = nullptr;
    QList<QWidget*> m_order; // Enter order
};

}
