#include "register/ui/TForm35.h"

#include "ui/TNumericF.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor {

namespace {

TNumericF* numberField(const QString& name, int digits, QWidget* parent)
{
    auto* field = new TNumericF(parent);
    field->setObjectName(name);
    field->setMaskInt(digits);
    field->setMaskZec(0);
    return field;
}

}

TForm35::TForm35(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm35"));
    setWindowFlags((windowFlags() | Qt::WindowStaysOnTopHint) & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_village = new QComboBox(this);
    m_village->setObjectName(QString::fromLatin1(HouseholdPositions::VillageField));
    m_village->setEditable(false);
    m_village->setMinimumWidth(220);
    form->addRow(QStringLiteral("Localitatea"), m_village);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("Tip"));
    m_type->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    form->addRow(QStringLiteral("TIP"), m_type);
    m_position = numberField(QString::fromLatin1(HouseholdPositions::PositionField), 6, this);
    form->addRow(QStringLiteral("Pozitia"), m_position);
    m_volume = numberField(QString::fromLatin1(HouseholdPositions::VolumeField), 6, this);
    form->addRow(QStringLiteral("Volumul"), m_volume);
    m_role = numberField(QStringLiteral("ROL"), 9, this);
    form->addRow(QStringLiteral("ROL"), m_role);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("&MEMOREAZA"), this);
    m_save->setObjectName(QStringLiteral("BitBtn1"));
    m_save->setToolTip(QStringLiteral("Memoreaza gospodaria."));
    m_save->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("&RENUNT"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setToolTip(QStringLiteral("Nu memora nimic si inchide fereastra."));
    m_cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &TForm35::MemoreazaClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm35::setPlaceEditable(bool editable)
{
    for (QWidget* field : {static_cast<QWidget*>(m_village), static_cast<QWidget*>(m_type),
                           static_cast<QWidget*>(m_position), static_cast<QWidget*>(m_volume)})
        field->setEnabled(editable);
}

void TForm35::prepare(PlaceMode mode, const Place& place, const QStringList& villages)
{
    m_mode = mode;
    switch (mode) {
    case PlaceMode::Add: setWindowTitle(QStringLiteral("Adaugare gospodarie")); break;
    case PlaceMode::Insert: setWindowTitle(QStringLiteral("Inserare gospodarie")); break;
    case PlaceMode::Modify: setWindowTitle(QStringLiteral("Modificare gospodarie")); break;
    }
    m_village->clear();
    m_village->addItems(villages);
    m_village->setCurrentIndex(place.village.isEmpty() ? -1 : m_village->findText(place.village, Qt::MatchExactly));
    if (!place.village.isEmpty() && m_village->currentIndex() < 0) {
        // A household's village that the list no longer holds is still its village.
        m_village->addItem(place.village);
        m_village->setCurrentIndex(m_village->count() - 1);
    }
    m_type->setCurrentIndex(std::max(0, m_type->findText(place.type)));
    m_position->setText(place.position);
    m_volume->setText(place.volume);
    m_role->setText(place.role);
    setPlaceEditable(mode != PlaceMode::Insert);
}

Place TForm35::place() const
{
    Place p;
    p.village = m_village->currentIndex() < 0 ? QString() : m_village->currentText();
    p.type = m_type->currentText();
    p.position = m_position->text();
    p.volume = m_volume->text();
    p.role = m_role->text();
    return p;
}

bool TForm35::run(PlaceMode mode, Place& place, const QStringList& villages, Check check)
{
    prepare(mode, place, villages);
    m_check = std::move(check);
    if (mode == PlaceMode::Insert)
        m_role->setFocus();
    else
        m_position->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    setPlaceEditable(true);
    m_check = nullptr;
    if (confirmed)
        place = m_result;
    return confirmed;
}

void TForm35::MemoreazaClick()
{
    Place p = place();
    m_save->setEnabled(false);
    // The check reports its own failures and never throws into the event loop.
    const bool ok = !m_check || m_check(m_mode, p);
    m_save->setEnabled(true);
    m_role->setText(p.role);
    if (!ok)
        return;
    m_result = p;
    accept();
}

void TForm35::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (focusWidget() == m_role)
            MemoreazaClick();
        else
            focusNextChild();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}
