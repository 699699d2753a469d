#pragma once

#include "register/HouseholdIdentification.h"
#include "register/ui/EditorPage.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace velmor {

struct AppContext;

// Page 1 of the household register editor, "Date de identificare": the address of a resident
// household (type 1), the permanent domicile (type 2) or the legal person (types 3 and 4). Filled
// when shown; saved when left, in the unlocked state; the navigator is hidden meanwhile.
class IdentificationPage : public EditorPage {
    Q_OBJECT
public:
    IdentificationPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent = nullptr);

    HouseholdIdentification& logic() { return m_logic; }

    void IncarcaPagina() override;
    void StopCap() override;
    void editorOpened(const QString& year) override;
    void applyUnlocked(bool unlocked) override;

    // The street list of resident households (the streets already used).
    void IncarcaStrazi();

    // The group shown for a register type (1: " Persoane fizice ", 2: " Domiciliul stabil ",
    // 3 and 4: " Persoane juridice").
    QGroupBox* group(int type) const;
    // The values of the fields of a type's group.
    Identification values(int type) const;
    // Shows `data` in the group of `type` and only that group.
    void show(int type, const Identification& data);

    QComboBox* StradaRez() const { return m_residentStreet; }
    QLineEdit* NrRez() const { return m_residentNumber; }
    QComboBox* JudetDom() const { return m_domicileCounty; }
    QComboBox* JudetJur() const { return m_legalCounty; }
    QLineEdit* Denumire() const { return m_unit; }

private:
    QLineEdit* lineField(QWidget* parent, const QString& name, int width);
    QComboBox* countyField(QWidget* parent, const QString& name);
    void clearFields();
    void refreshForNavigator();

    AppContext& m_ctx;
    HouseholdIdentification m_logic;
    bool m_unlocked = false;
    bool m_editing = false;
    int m_type = 0;

    QGroupBox* m_resident = nullptr;
    QComboBox* m_residentStreet = nullptr;
    QLineEdit* m_residentNumber = nullptr;

    QGroupBox* m_domicile = nullptr;
    QComboBox* m_domicileCounty = nullptr;
    QLineEdit* m_domicileLocality = nullptr;
    QLineEdit* m_siruta = nullptr;
    QLineEdit* m_domicileStreet = nullptr;
    QLineEdit* m_domicileNumber = nullptr;

    QGroupBox* m_legal = nullptr;
    QLineEdit* m_unit = nullptr;
    QComboBox* m_legalCounty = nullptr;
    QLineEdit* m_subunit = nullptr;
    QLineEdit* m_legalStreet = nullptr;
    QLineEdit* m_legalNumber = nullptr;
    QLineEdit* m_legalLocality = nullptr;
    QLineEdit* m_sirues = nullptr;
    QLineEdit* m_fiscal = nullptr;
};

}
