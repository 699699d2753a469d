#pragma once

#include "register/HouseholdMembers.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velmor {

class TCNPEdit;

// The member dialog: name, personal code, kinship, sex, birth date and notes of a household
// member, in add ("Adaugare") or modify ("Modificare") mode. Its confirmation ("&Memoreaza") is
// the check it is given; the dialog stays open while the check refuses.
class TForm32 : public QDialog {
    Q_OBJECT
public:
    using Check = std::function<bool(MemberEntry&)>;

    explicit TForm32(QWidget* parent = nullptr);

    // Name and code empty, no birth date, "Cap de gospodarie", "Masculin", no notes.
    void CurataCampurile();
    // Shows `entry` in the fields (the code first, then the values that override what it sets).
    void fill(const MemberEntry& entry);
    // What the fields hold: the notes' lines run together.
    MemberEntry entry() const;

    // Clears the dialog, proposes `entry`'s name and runs it in add mode; true when confirmed.
    bool Adaugare(MemberEntry& entry, Check check);
    // Runs the dialog filled with `entry` in modify mode; true when confirmed.
    bool Modificare(MemberEntry& entry, Check check);

    QLineEdit* Nume() const { return m_name; }
    TCNPEdit* CNP() const { return m_cnp; }
    QComboBox* Rudenie() const { return m_kinship; }
    QComboBox* Sex() const { return m_sex; }
    QDateEdit* DataNasterii() const { return m_birth; }
    QPlainTextEdit* Mentiuni() const { return m_notes; }
    QPushButton* Memoreaza() const { return m_save; }
    QPushButton* Renunt() const { return m_cancel; }

public slots:
    void MemoreazaClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool run(MemberEntry& entry, Check check);
    void codeTyped();
    void setBirth(const QDate& birth);

    QLineEdit* m_name = nullptr;
    TCNPEdit* m_cnp = nullptr;
    QComboBox* m_kinship = nullptr;
    QComboBox* m_sex = nullptr;
    QDateEdit* m_birth = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    Check m_check;
    MemberEntry m_result;
    bool m_filling = false;
};

}
