#include "register/ui/TForm32.h"

#include "register/ui/UpperCase.h"

#include "ui/TCNPEdit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace velmor {

namespace {

// The date picker's lowest date stands for "no date" and shows blank.
const QDate NoDate(1899, 12, 30);

}

TForm32::TForm32(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm32"));
    setWindowFlags((windowFlags() | Qt::WindowStaysOnTopHint) & ~Qt::WindowContextHelpButtonHint);
    setModal(true);
    setWindowTitle(QStringLiteral("Adaugare"));

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QString::fromLatin1(HouseholdMembers::NameField));
    m_name->setMaxLength(HouseholdMembers::NameWidth);
    m_name->setMinimumWidth(300);
    upperCaseWhileTyping(m_name);
    form->addRow(QStringLiteral("Numele si Prenumele"), m_name);
    m_cnp = new TCNPEdit(this);
    m_cnp->setObjectName(QString::fromLatin1(HouseholdMembers::CodeField));
    m_cnp->setAcceptGol(false);
    form->addRow(QStringLiteral("CNP"), m_cnp);
    m_kinship = new QComboBox(this);
    m_kinship->setObjectName(QString::fromLatin1(HouseholdMembers::KinshipField));
    m_kinship->setEditable(true);
    m_kinship->setInsertPolicy(QComboBox::NoInsert);
    m_kinship->addItems(kinship::items());
    form->addRow(QStringLiteral("Legatura de rudenie"), m_kinship);
    m_sex = new QComboBox(this);
    m_sex->setObjectName(QStringLiteral("Sex"));
    m_sex->addItems({QStringLiteral("Masculin"), QStringLiteral("Feminin")});
    form->addRow(QStringLiteral("SEX"), m_sex);
    m_birth = new QDateEdit(this);
    m_birth->setObjectName(QStringLiteral("DataNasterii"));
    m_birth->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_birth->setMinimumDate(NoDate);
    m_birth->setSpecialValueText(QStringLiteral(" "));
    m_birth->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    form->addRow(QStringLiteral("Data nasterii"), m_birth);
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QString::fromLatin1(HouseholdMembers::NotesField));
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notes->setTabChangesFocus(true);
    m_notes->setMaximumHeight(80);
    form->addRow(QStringLiteral("Mentiuni"), m_notes);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("&Memoreaza"), this);
    m_save->setObjectName(QStringLiteral("BitBtn1"));
    m_save->setToolTip(QStringLiteral("Memoreaza membrul."));
    m_save->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setToolTip(QStringLiteral("Inchide aceasta fereastra."));
    m_cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &TForm32::MemoreazaClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cnp, &QLineEdit::textChanged, this, &TForm32::codeTyped);
    CurataCampurile();
}

void TForm32::setBirth(const QDate& birth)
{
    m_birth->setDate(birth.isValid() ? birth : NoDate);
}

void TForm32::CurataCampurile()
{
    m_filling = true;
    m_name->clear();
    m_cnp->clear();
    setBirth(QDate());
    m_kinship->setCurrentIndex(0);
    m_sex->setCurrentIndex(0);
    m_notes->clear();
    m_filling = false;
}

void TForm32::codeTyped()
{
    if (m_filling)
        return;
    MemberEntry derived;
    derived.cnp = m_cnp->text();
    HouseholdMembers::applyCode(derived);
    setBirth(derived.birth);
    m_sex->setCurrentIndex(derived.sex - 1);
}

void TForm32::fill(const MemberEntry& entry)
{
    CurataCampurile();
    m_name->setText(entry.name);
    m_cnp->setText(entry.cnp); // derives the date and the sex, overridden below
    m_kinship->setCurrentIndex(kinship::items().indexOf(entry.kinship));
    m_kinship->setEditText(entry.kinship);
    m_sex->setCurrentIndex(entry.sex == 2 ? 1 : 0);
    setBirth(entry.birth);
    if (!entry.notes.trimmed().isEmpty())
        m_notes->setPlainText(entry.notes);
}

MemberEntry TForm32::entry() const
{
    MemberEntry e;
    e.name = m_name->text();
    e.cnp = m_cnp->text();
    e.kinship = m_kinship->currentText();
    e.sex = m_sex->currentIndex() == 1 ? 2 : 1;
    e.birth = m_birth->date() == NoDate ? QDate() : m_birth->date();
    e.notes = m_notes->toPlainText().remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    return e;
}

bool TForm32::run(MemberEntry& entry, Check check)
{
    m_check = std::move(check);
    m_name->setFocus();
    // Showing the dialog selects the whole name; the caret goes after the proposed family name.
    QTimer::singleShot(0, m_name, [this] {
        m_name->deselect();
        m_name->setCursorPosition(int(m_name->text().size()));
    });
    const bool confirmed = exec() == QDialog::Accepted;
    m_check = nullptr;
    if (confirmed)
        entry = m_result;
    return confirmed;
}

bool TForm32::Adaugare(MemberEntry& entry, Check check)
{
    setWindowTitle(QStringLiteral("Adaugare"));
    CurataCampurile();
    m_name->setText(entry.name);
    return run(entry, std::move(check));
}

bool TForm32::Modificare(MemberEntry& entry, Check check)
{
    setWindowTitle(QStringLiteral("Modificare"));
    fill(entry);
    return run(entry, std::move(check));
}

void TForm32::MemoreazaClick()
{
    MemberEntry e = entry();
    m_save->setEnabled(false);
    // The check reports its own failures and never throws into the event loop.
    const bool ok = !m_check || m_check(e);
    m_save->setEnabled(true);
    // The cleaned name, and the sex and birth date a code sets, are shown again.
    m_filling = true;
    m_name->setText(e.name);
    m_sex->setCurrentIndex(e.sex == 2 ? 1 : 0);
    setBirth(e.birth);
    m_filling = false;
    const int item = kinship::items().indexOf(m_kinship->currentText());
    if (item >= 0)
        m_kinship->setCurrentIndex(item);
    if (!ok)
        return;
    m_result = e;
    accept();
}

void TForm32::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() != m_notes) {
        focusNextChild();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}
