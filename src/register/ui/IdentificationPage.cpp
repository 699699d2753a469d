#include "register/ui/IdentificationPage.h"

#include "register/HouseholdEditor.h"
#include "register/ui/UpperCase.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "data/engine/Query.h"
#include "domain/TextCase.h"
#include "grid/ui/IncarcaCombo.h"
#include "services/AppContext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QVBoxLayout>

namespace velmor {

namespace {

// A county typed into a county list: capitals, and at most the column's width unless it is (or
// is being typed as) one of the list's items. A refused keystroke is reported.
class CountyValidator : public QValidator {
public:
    CountyValidator(QStringList items, std::function<void()> refused, QObject* parent)
        : QValidator(parent)
        , m_items(std::move(items))
        , m_refused(std::move(refused))
    {
    }

    State validate(QString& input, int&) const override
    {
        input = upperRomanian(input);
        if (input.size() <= HouseholdIdentification::CountyWidth || m_items.contains(input))
            return Acceptable;
        for (const QString& item : m_items)
            if (item.startsWith(input))
                return Intermediate;
        if (m_refused)
            m_refused();
        return Invalid;
    }

private:
    QStringList m_items;
    std::function<void()> m_refused;
};

}

IdentificationPage::IdentificationPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent)
    : EditorPage(editor, HouseholdEditor::IdentificationPage, parent)
    , m_ctx(ctx)
    , m_logic(editor)
{
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("DATE DE IDENTIFICARE"), this);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    title->setFont(font);
    layout->addWidget(title);

    m_resident = new QGroupBox(QStringLiteral(" Persoane fizice "), this);
    m_resident->setObjectName(QStringLiteral("GrupRezident"));
    auto* resident = new QFormLayout(m_resident);
    m_residentStreet = new QComboBox(m_resident);
    m_residentStreet->setObjectName(QStringLiteral("StradaRez"));
    m_residentStreet->setEditable(true);
    m_residentStreet->setInsertPolicy(QComboBox::NoInsert);
    m_residentStreet->lineEdit()->setMaxLength(32);
    upperCaseWhileTyping(m_residentStreet->lineEdit());
    resident->addRow(QStringLiteral("Strada"), m_residentStreet);
    m_residentNumber = lineField(m_resident, QStringLiteral("NrRez"), 32);
    resident->addRow(QStringLiteral("Nr."), m_residentNumber);
    layout->addWidget(m_resident);

    m_domicile = new QGroupBox(QStringLiteral(" Domiciliul stabil "), this);
    m_domicile->setObjectName(QStringLiteral("GrupDomiciliu"));
    m_domicile->setToolTip(QStringLiteral("Se completeaza pentru persoanele cu domiciliul in alte localitati."));
    auto* domicile = new QFormLayout(m_domicile);
    m_domicileCounty = countyField(m_domicile, QStringLiteral("JudetulDom"));
    domicile->addRow(QStringLiteral("Judetul"), m_domicileCounty);
    m_domicileLocality = lineField(m_domicile, QStringLiteral("LocalitateDom"), 32);
    domicile->addRow(QStringLiteral("Comuna / Orasul / Municipiul"), m_domicileLocality);
    m_siruta = lineField(m_domicile, QStringLiteral("SirutaDom"), 6);
    domicile->addRow(QStringLiteral("COD SIRUTA"), m_siruta);
    m_domicileStreet = lineField(m_domicile, QStringLiteral("StradaDom"), 32);
    domicile->addRow(QStringLiteral("Strada"), m_domicileStreet);
    m_domicileNumber = lineField(m_domicile, QStringLiteral("NrDom"), 32);
    domicile->addRow(QStringLiteral("Nr."), m_domicileNumber);
    layout->addWidget(m_domicile);

    m_legal = new QGroupBox(QStringLiteral(" Persoane juridice"), this);
    m_legal->setObjectName(QStringLiteral("GrupJuridic"));
    auto* legal = new QFormLayout(m_legal);
    m_unit = lineField(m_legal, QStringLiteral("DenumireJur"), 40);
    legal->addRow(QStringLiteral("Denumirea unitatii"), m_unit);
    m_legalCounty = countyField(m_legal, QStringLiteral("JudetulJur"));
    legal->addRow(QStringLiteral("Judetul"), m_legalCounty);
    m_subunit = lineField(m_legal, QStringLiteral("SubunitateJur"), 40);
    legal->addRow(QStringLiteral("Denumirea subunitatii"), m_subunit);
    m_legalStreet = lineField(m_legal, QStringLiteral("StradaJur"), 32);
    legal->addRow(QStringLiteral("Strada"), m_legalStreet);
    m_legalNumber = lineField(m_legal, QStringLiteral("NrJur"), 32);
    legal->addRow(QStringLiteral("Nr."), m_legalNumber);
    m_legalLocality = lineField(m_legal, QStringLiteral("LocalitateJur"), 32);
    legal->addRow(QStringLiteral("Comuna / Orasul / Municipiul"), m_legalLocality);
    m_sirues = lineField(m_legal, QStringLiteral("SiruesJur"), 10);
    legal->addRow(QStringLiteral("COD SIRUES"), m_sirues);
    m_fiscal = lineField(m_legal, QStringLiteral("CodFiscalJur"), 10);
    legal->addRow(QStringLiteral("COD FISCAL"), m_fiscal);
    layout->addWidget(m_legal);
    layout->addStretch(1);

    m_domicile->hide();
    m_legal->hide();

    // Locked, the navigator stays and the page follows the household it moves to.
    connect(&editor, &HouseholdEditor::currentChanged, this, &IdentificationPage::refreshForNavigator);
}

QLineEdit* IdentificationPage::lineField(QWidget* parent, const QString& name, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(width);
    upperCaseWhileTyping(edit);
    return edit;
}

QComboBox* IdentificationPage::countyField(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(HouseholdIdentification::countyItems());
    box->setCurrentIndex(-1);
    box->setValidator(new CountyValidator(HouseholdIdentification::countyItems(), [this, name] {
        m_ctx.interaction->ArataProblema(QStringLiteral("Judetul poate avea cel mult %1 caractere !")
                                             .arg(HouseholdIdentification::CountyWidth),
                                         name);
    }, box));
    return box;
}

QGroupBox* IdentificationPage::group(int type) const
{
    return type == 1 ? m_resident : type == 2 ? m_domicile : m_legal;
}

void IdentificationPage::editorOpened(const QString& year)
{
    Q_UNUSED(year);
    try {
        IncarcaStrazi();
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
}

void IdentificationPage::IncarcaStrazi()
{
    m_residentStreet->clear();
    engine::Query query(*m_ctx.engine);
    IncarcaCombo(m_residentStreet, query, m_ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("STRADA"),
                 QString(), m_ctx.interaction);
    m_residentStreet->setCurrentIndex(-1);
    m_residentStreet->setEditText(QString());
}

void IdentificationPage::applyUnlocked(bool unlocked)
{
    m_unlocked = unlocked;
    for (QGroupBox* box : {m_resident, m_domicile, m_legal})
        box->setEnabled(unlocked);
}

void IdentificationPage::clearFields()
{
    m_residentStreet->setCurrentIndex(-1);
    m_residentStreet->setEditText(QString());
    for (QComboBox* county : {m_domicileCounty, m_legalCounty}) {
        county->setCurrentIndex(-1);
        county->setEditText(QString());
    }
    for (QLineEdit* edit : {m_residentNumber, m_domicileLocality, m_siruta, m_domicileStreet, m_domicileNumber, m_unit,
                            m_subunit, m_legalStreet, m_legalNumber, m_legalLocality, m_sirues, m_fiscal})
        edit->clear();
}

void IdentificationPage::show(int type, const Identification& data)
{
    clearFields();
    m_type = type;
    // Types 1 and 2 show the same columns in both groups.
    if (type == 1 || type == 2) {
        m_residentStreet->setEditText(type == 1 ? data.street : QString());
        m_residentNumber->setText(type == 1 ? data.number : QString());
        m_domicileCounty->setEditText(data.county);
        m_domicileLocality->setText(data.locality);
        m_siruta->setText(data.siruta);
        m_domicileStreet->setText(type == 2 ? data.street : QString());
        m_domicileNumber->setText(type == 2 ? data.number : QString());
    } else if (type == 3 || type == 4) {
        m_unit->setText(data.unitName);
        m_legalCounty->setEditText(data.county);
        m_subunit->setText(data.subunit);
        m_legalStreet->setText(data.street);
        m_legalNumber->setText(data.number);
        m_legalLocality->setText(data.locality);
        m_sirues->setText(data.sirues);
        m_fiscal->setText(data.fiscalCode);
    }
    m_resident->setVisible(type == 1);
    m_domicile->setVisible(type == 2);
    m_legal->setVisible(type == 3 || type == 4);
}

Identification IdentificationPage::values(int type) const
{
    Identification d;
    if (type == 1) {
        d.street = m_residentStreet->currentText();
        d.number = m_residentNumber->text();
    } else if (type == 2) {
        d.county = m_domicileCounty->currentText();
        d.locality = m_domicileLocality->text();
        d.siruta = m_siruta->text();
        d.street = m_domicileStreet->text();
        d.number = m_domicileNumber->text();
    } else if (type == 3 || type == 4) {
        d.unitName = m_unit->text();
        d.county = m_legalCounty->currentText();
        d.subunit = m_subunit->text();
        d.street = m_legalStreet->text();
        d.number = m_legalNumber->text();
        d.locality = m_legalLocality->text();
        d.sirues = m_sirues->text();
        d.fiscalCode = m_fiscal->text();
    }
    return d;
}

void IdentificationPage::IncarcaPagina()
{
    if (m_unlocked)
        editor().setNavigatorShown(false);
    m_editing = true;
    show(m_logic.currentType(), m_logic.read());
}

void IdentificationPage::refreshForNavigator()
{
    if (m_editing && !m_unlocked && editor().currentPage() == number())
        show(m_logic.currentType(), m_logic.read());
}

void IdentificationPage::StopCap()
{
    if (!m_editing)
        return;
    m_editing = false;
    struct Show {
        HouseholdEditor& editor;
        ~Show() { editor.setNavigatorShown(true); }
    } showNavigator {editor()};
    if (!m_unlocked || !editor().hasCurrent())
        return;
    try {
        const auto refused = m_logic.save(values(m_type));
        if (refused)
            m_ctx.interaction->Mesaj(QStringLiteral("Date de identificare"),
                                     refused->text + CR + QStringLiteral("Datele de identificare nu au fost memorate."),
                                     KindError, ButtonsOk);
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
}

}
