#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace velmor {

// The login prompt "AUTENTIFICARE": a label, a password field and OK / cancel. Enter in the field
// moves the focus to OK; Escape cancels.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Sets caption and label, empties the field and shows the prompt modally. On OK stores the
    // field's text in `value` and returns true; otherwise returns false and leaves `value`.
    bool InputQuery2(const QString& caption, const QString& label, QString& value);

    QLabel* Label1() const { return m_label1; }
    QLineEdit* Edit1() const { return m_edit1; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QStatusBar* statusBar() const { return m_status; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_label1 = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QStatusBar* m_status = nullptr;
};

}
