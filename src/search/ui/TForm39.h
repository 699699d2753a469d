#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace velmor {

struct AppContext;
class Settings;

// The header of the statistical form R.AGR.2: the SIRUTA code, the report number and its date.
class TForm39 : public QDialog {
    Q_OBJECT
public:
    explicit TForm39(AppContext& ctx, QWidget* parent = nullptr);

    // Sets the caption, proposes the stored code, the next report number (the counter advances
    // now) and today, and shows the dialog modally; true when "&RAPORT" closed it.
    bool Adaugare(const QString& caption, Settings& settings);
    // Fills the fields as Adaugare does, without showing the dialog.
    void CurataCampurile(Settings& settings);

    QLineEdit* Edit1() const { return m_siruta; }
    QLineEdit* Edit2() const { return m_number; }
    QDateEdit* DateTimePicker1() const { return m_date; }
    QPushButton* BitBtn1() const { return m_report; }
    QPushButton* BitBtn2() const { return m_cancel; }

private:
    void BitBtn1Click();

    AppContext& m_ctx;
    Settings* m_settings = nullptr;
    QLineEdit* m_siruta = nullptr;
    QLineEdit* m_number = nullptr;
    QDateEdit* m_date = nullptr;
    QPushButton* m_report = nullptr;
    QPushButton* m_cancel = nullptr;
};

}
