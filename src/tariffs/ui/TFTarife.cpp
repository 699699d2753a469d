#include "tariffs/ui/TFTarife.h"

#include "core/ErrorReport.h"
#include "tariffs/LocalTariffs.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "services/ServiceError.h"
#include "ui/TNumericF.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor {

namespace {

QList<TFTarife*>& liveInstances()
{
    static QList<TFTarife*> instances;
    return instances;
}

TNumericF* makeField(int n, QWidget* parent)
{
    auto* field = new TNumericF(parent);
    field->setObjectName(QStringLiteral("NumericF%1").arg(n));
    field->setMaskInt(6);
    field->setMaskZec(2);
    field->setText(QStringLiteral("0"));
    field->setMinimumWidth(90);
    return field;
}

}

TFTarife::TFTarife(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TFTarife"));
    setWindowTitle(QStringLiteral("Tarife de venituri stabilite local"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    for (int n = 1; n <= LocalTariffs::Count; ++n)
        m_fields[size_t(n - 1)] = makeField(n, this);

    // Decision.
    m_hotarare = new QLineEdit(this);
    m_hotarare->setObjectName(QStringLiteral("Hotarare"));
    m_hotarare->setMaxLength(LocalTariffs::DecisionLength);
    connect(m_hotarare, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int caret = m_hotarare->cursorPosition();
            m_hotarare->setText(upper.left(LocalTariffs::DecisionLength));
            m_hotarare->setCursorPosition(caret);
        }
    });
    auto* decisionRow = new QHBoxLayout;
    decisionRow->addWidget(new QLabel(QStringLiteral("Tarife stabilite prin"), this));
    decisionRow->addWidget(m_hotarare, 1);

    // Land: rows by use, columns inside and outside the built-up area.
    auto* land = new QGroupBox(QStringLiteral("Teren"), this);
    auto* landGrid = new QGridLayout(land);
    landGrid->addWidget(new QLabel(QStringLiteral("Intravilan"), land), 0, 1, Qt::AlignCenter);
    landGrid->addWidget(new QLabel(QStringLiteral("Extravilan"), land), 0, 3, Qt::AlignCenter);
    for (int row = 1; row <= 5; ++row) {
        landGrid->addWidget(new QLabel(LocalTariffs::label(row), land), row, 0);
        landGrid->addWidget(m_fields[size_t(row - 1)], row, 1);
        landGrid->addWidget(new QLabel(LocalTariffs::unit(row), land), row, 2);
        landGrid->addWidget(m_fields[size_t(row + 10)], row, 3);
        landGrid->addWidget(new QLabel(LocalTariffs::unit(row + 11), land), row, 4);
    }

    // Animals.
    auto* animals = new QGroupBox(QStringLiteral("Animale"), this);
    auto* animalGrid = new QGridLayout(animals);
    for (int n = 6; n <= 11; ++n) {
        animalGrid->addWidget(new QLabel(LocalTariffs::label(n), animals), n - 6, 0);
        animalGrid->addWidget(m_fields[size_t(n - 1)], n - 6, 1);
        animalGrid->addWidget(new QLabel(LocalTariffs::unit(n), animals), n - 6, 2);
    }

    m_memoreaza = new QPushButton(QStringLiteral("&Memoreaza"), this);
    m_memoreaza->setObjectName(QStringLiteral("Memoreaza"));
    m_renunt = new QPushButton(QStringLiteral("&Renunt"), this);
    m_renunt->setObjectName(QStringLiteral("Renunt"));
    // Enter presses a button only when it has the focus; fields handle Enter themselves.
    m_memoreaza->setAutoDefault(true);
    m_renunt->setAutoDefault(true);
    connect(m_memoreaza, &QPushButton::clicked, this, &TFTarife::MemoreazaClick);
    connect(m_renunt, &QPushButton::clicked, this, &TFTarife::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_memoreaza);
    buttons->addWidget(m_renunt);

    m_status = new QStatusBar(this);
    m_status->setSizeGripEnabled(false);
    m_status->showMessage(QStringLiteral("ESC - Renunt"));

    auto* groups = new QHBoxLayout;
    groups->addWidget(land, 2);
    groups->addWidget(animals, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(decisionRow);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->addWidget(m_status);

    // Enter order: the decision, the land inside, the land outside, the animals (Albine last).
    m_order << m_hotarare;
    for (int n = 1; n <= 5; ++n)
        m_order << m_fields[size_t(n - 1)];
    for (int n = 12; n <= 16; ++n)
        m_order << m_fields[size_t(n - 1)];
    for (int n = 6; n <= 11; ++n)
        m_order << m_fields[size_t(n - 1)];
    for (int i = 0; i + 1 < m_order.size(); ++i)
        setTabOrder(m_order[i], m_order[i + 1]);
    setTabOrder(m_order.back(), m_memoreaza);
    setTabOrder(m_memoreaza, m_renunt);
    for (QWidget* w : m_order)
        w->installEventFilter(this);
    liveInstances() << this;
}

TFTarife::~TFTarife()
{
    liveInstances().removeAll(this);
}

TNumericF* TFTarife::NumericF(int n) const
{
    return n >= 1 && n <= LocalTariffs::Count ? m_fields[size_t(n - 1)] : nullptr;
}

double TFTarife::Valoare(int n) const
{
    const TNumericF* field = NumericF(n);
    return field ? field->Valoare() : 0.0;
}

void TFTarife::Incarca()
{
    const LocalTariffs::Values values = LocalTariffs(*m_ctx.settings).load();
    for (int n = 1; n <= LocalTariffs::Count; ++n)
        m_fields[size_t(n - 1)]->setText(LocalTariffs::formatForField(values.tariffs[size_t(n - 1)]));
    m_hotarare->setText(values.hotarare);
}

void TFTarife::Deschide()
{
    m_hotarare->setFocus(Qt::OtherFocusReason);
    exec();
}

void TFTarife::MemoreazaClick()
{
    LocalTariffs::Values values;
    for (int n = 1; n <= LocalTariffs::Count; ++n)
        values.tariffs[size_t(n - 1)] = m_fields[size_t(n - 1)]->Valoare();
    values.hotarare = m_hotarare->text();
    try {
        LocalTariffs(*m_ctx.settings).save(values);
    } catch (const ServiceError& e) {
        // The window stays open with the edits, so nothing typed is lost.
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, QStringLiteral("Tarife stabilite"));
        return;
    }
    // The fields show what was stored, here and in every other instance.
    for (TFTarife* instance : liveInstances()) {
        if (instance != this && &instance->m_ctx == &m_ctx)
            instance->Incarca();
    }
    Incarca();
    accept();
}

void TFTarife::reject()
{
    try {
        Incarca();
    } catch (const ServiceError& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, QStringLiteral("Tarife stabilite"));
    }
    QDialog::reject();
}

bool TFTarife::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget == m_fields[10]) {
                m_memoreaza->click();
                return true;
            }
            const qsizetype index = m_order.indexOf(widget);
            if (index >= 0 && index + 1 < m_order.size()) {
                m_order[index + 1]->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}
