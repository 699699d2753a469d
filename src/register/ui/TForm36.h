#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace velmor {

// The delete-mode dialog: leave the household's place empty, or renumber the village.
class TForm36 : public QDialog {
    Q_OBJECT
public:
    explicit TForm36(QWidget* parent = nullptr);

    // Resets the choice to the first one.
    void prepare();
    // 0 when closed without "&OPEREAZA", 1 "Stergem si lasam locul gol", 2 "Stergem si
    // renumerotam localitatea".
    int Stergere();
    // The choice the dialog holds (1 or 2).
    int choice() const;

    QRadioButton* LasaGol() const { return m_empty; }
    QRadioButton* Renumeroteaza() const { return m_renumber; }
    QPushButton* Opereaza() const { return m_run; }
    QPushButton* Renunt() const { return m_cancel; }

private:
    QRadioButton* m_empty = nullptr;
    QRadioButton* m_renumber = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_cancel = nullptr;
};

}
