#include "register/ui/MembersPage.h"

#include "data/dbf/ValueConversions.h"
#include "register/HouseholdEditor.h"
#include "register/ui/TForm32.h"

#include "core/ErrorReport.h"
#include "grid/ui/StandardGrid.h"
#include "services/AppContext.h"
#include "ui/DialogParts.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor {

namespace {

}

MembersPage::MembersPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent)
    : EditorPage(editor, 2, parent)
    , m_ctx(ctx)
    , m_logic(ctx)
{
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("1. COMPONENTA GOSPODARIEI"), this);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    title->setFont(font);
    layout->addWidget(title);

    m_grid = new grid::StandardGrid(this);
    m_grid->setObjectName(QString::fromLatin1(HouseholdMembers::GridAnchor));
    m_logic.model().setColumns({
        {QStringLiteral("NUMEP"), QStringLiteral("NUME si PRENUME MEMBRU"), 32, grid::DisplayFormat::text()},
        {QStringLiteral("CNP"), QStringLiteral("CNP"), 14, grid::DisplayFormat::text()},
        {QStringLiteral("CODSEX"), QStringLiteral("SEX"), 4, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("DENUM"), QStringLiteral("DENUMIRE"), 20, grid::DisplayFormat::text()},
        {QStringLiteral("COD"), QStringLiteral("COD"), 4, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("DATAS"), QStringLiteral("Data nasterii"), 11, grid::DisplayFormat::text()},
    });
    m_grid->setModel(&m_logic.model());
    layout->addWidget(m_grid, 1);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (m_syncing || !current.isValid())
            return;
        m_logic.selectRow(current.row());
        showNotes();
    });

    layout->addWidget(new QLabel(QStringLiteral(" - MENTIUNI MEMBRU - "), this));
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("MentiuniMembru"));
    m_notes->setWordWrap(true);
    m_notes->setFrameShape(QFrame::StyledPanel);
    m_notes->setMinimumHeight(40);
    m_notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_notes);

    auto* buttons = new QHBoxLayout;
    m_add = commandButton(QStringLiteral("&Adauga membru"), QStringLiteral("AdaugaMembru"), this,
                          QStringLiteral("Adauga un membru nou."));
    m_modify = commandButton(QStringLiteral("&Modifica membru"), QStringLiteral("ModificaMembru"), this,
                             QStringLiteral("Modifica date membru."));
    m_delete = commandButton(QStringLiteral("&Sterge membru"), QString::fromLatin1(HouseholdMembers::DeleteAnchor), this,
                             QStringLiteral("Sterge membrul selectat in tabel."));
    for (QPushButton* button : {m_add, m_modify, m_delete})
        buttons->addWidget(button);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, &MembersPage::AdaugaClick);
    connect(m_modify, &QPushButton::clicked, this, &MembersPage::ModificaClick);
    connect(m_delete, &QPushButton::clicked, this, &MembersPage::StergeClick);

    m_form32 = new TForm32(this);
}

MembersPage::~MembersPage() = default;

void MembersPage::editorOpened(const QString& year)
{
    m_logic.prepare(year);
}

void MembersPage::editorClosed()
{
    m_logic.close();
    showMembers();
}

void MembersPage::applyUnlocked(bool unlocked)
{
    for (QPushButton* button : {m_add, m_modify, m_delete})
        button->setEnabled(unlocked);
}

void MembersPage::IncarcaPagina()
{
    try {
        m_logic.load(editor().currentCodid());
    } catch (const std::exception& error) {
        m_logic.close();
        showError(*m_ctx.interaction, error);
    }
    showMembers();
}

void MembersPage::StopCap()
{
    m_logic.close();
    showMembers();
}

void MembersPage::showMembers()
{
    m_syncing = true;
    const int row = m_logic.currentRow();
    if (row >= 0) {
        const QModelIndex index = m_logic.model().index(row, 0);
        m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_grid->scrollTo(index);
    } else {
        m_grid->selectionModel()->clear();
    }
    m_syncing = false;
    showNotes();
}

void MembersPage::showNotes()
{
    m_notes->setText(dbf::toText(m_logic.currentValue(QStringLiteral("MENTIUNI"))));
}

bool MembersPage::check(MemberEntry& entry, qint64 self)
{
    try {
        return m_logic.confirm(entry, self);
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
        return false;
    }
}

bool MembersPage::Adaugare(MemberEntry& entry)
{
    return m_form32->Adaugare(entry, [this](MemberEntry& e) { return check(e, 0); });
}

bool MembersPage::Modificare(MemberEntry& entry)
{
    const qint64 self = m_logic.currentCod1();
    return m_form32->Modificare(entry, [this, self](MemberEntry& e) { return check(e, self); });
}

void MembersPage::afterChange(bool changed)
{
    showMembers();
    if (changed)
        editor().notifyMembersChanged();
}

void MembersPage::AdaugaClick()
{
    bool changed = false;
    try {
        changed = m_logic.AdaugaMembru(*this);
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
    afterChange(changed);
}

void MembersPage::ModificaClick()
{
    bool changed = false;
    try {
        changed = m_logic.ModificaMembru(*this);
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
    afterChange(changed);
}

void MembersPage::StergeClick()
{
    bool changed = false;
    try {
        changed = m_logic.StergeMembru();
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
    afterChange(changed);
}

}
