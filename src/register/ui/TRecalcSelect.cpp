#include "register/ui/TRecalcSelect.h"

#include "services/Settings.h"
#include "ui/ComboUtil.h"
#include "ui/EnterOrder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor {

namespace {

const QString kAny = QStringLiteral("INDIFERENT");

void fill(QComboBox* box, const QStringList& values, const QString& selected)
{
    box->clear();
    box->addItem(kAny);
    box->addItems(values);
    SelecteazaInCombo(box, selected);
    if (box->currentIndex() < 0)
        box->setCurrentIndex(0);
}

std::optional<qint64> numberOf(const QComboBox* box)
{
    qint64 value = 0;
    if (box->currentText() == kAny || !parseInteger(box->currentText(), value))
        return std::nullopt;
    return value;
}

}

TRecalcSelect::TRecalcSelect(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TRecalcSelect"));
    setWindowTitle(QStringLiteral("Recalculare Cap.2 si 3"));
    setModal(true);
    m_village = new QComboBox(this);
    m_type = new QComboBox(this);
    m_volume = new QComboBox(this);
    m_position = new QComboBox(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Localitatea"), m_village);
    form->addRow(QStringLiteral("Tipul"), m_type);
    form->addRow(QStringLiteral("Volumul"), m_volume);
    form->addRow(QStringLiteral("Pozitia"), m_position);
    for (QComboBox* box : {m_village, m_type, m_volume, m_position})
        box->installEventFilter(this);

    m_run = new QPushButton(QStringLiteral("&Recalculeaza"), this);
    m_run->setToolTip(QStringLiteral("Memoreaza modificarile."));
    m_cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    m_cancel->setToolTip(QStringLiteral("Nu memora nimic si inchide fereastra."));
    m_status = new QStatusBar(this);
    m_status->showMessage(QStringLiteral("ESC - Renunt"));
    m_status->setSizeGripEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Recalculam Cap.2 si 3 dupa parcele la toti din:"), this));
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    connect(m_run, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TRecalcSelect::PregatesteSelectia(const PlotRecalculation& recalculation, const QString& village, const QString& type,
                                       const QString& volume, const QString& position)
{
    fill(m_village, recalculation.villages(), village);
    fill(m_type, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}, type);
    fill(m_volume, recalculation.volumes(), volume);
    fill(m_position, recalculation.positions(), position);
}

bool TRecalcSelect::AlegeSelectia()
{
    m_village->setFocus();
    return exec() == QDialog::Accepted;
}

RecalcSelection TRecalcSelect::selection() const
{
    RecalcSelection s;
    if (m_village->currentText() != kAny)
        s.village = m_village->currentText();
    s.type = numberOf(m_type);
    s.volume = numberOf(m_volume);
    s.position = numberOf(m_position);
    return s;
}

bool TRecalcSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (moveOnEnter(watched, event, {m_village, m_type, m_volume, m_position}, [this] { m_run->click(); }))
        return true;
    return QDialog::eventFilter(watched, event);
}

}
