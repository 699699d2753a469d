#include "register/ui/TTarlaF.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "register/PlotValueLists.h"
#include "services/AppContext.h"
#include "services/TextFunctions.h"
#include "ui/EnterOrder.h"
#include "ui/TNumericF.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>

namespace velmor {

namespace {

QComboBox* editableList(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QLineEdit* line(QWidget* parent, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    return edit;
}

// Typed capitals for the lists and fields that hold them.
void capitalsOnly(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
}

}

TTarlaF::TTarlaF(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TTarlaF"));
    setModal(true);
    setWindowTitle(QStringLiteral("Tarlale - ADAUGARE"));

    m_deed = editableList(this);
    capitalsOnly(m_deed->lineEdit());
    m_deed->lineEdit()->setMaxLength(45);
    m_deedNumber = line(this, 15);
    m_deedDate = line(this, 11);
    m_holders = new QPlainTextEdit(this);
    m_holders->setPlaceholderText(QStringLiteral("- scrieti titularii\n  pe randuri\n  diferite."));
    m_notes = new QPlainTextEdit(this);
    m_block = editableList(this);
    capitalsOnly(m_block->lineEdit());
    m_block->lineEdit()->setMaxLength(32);
    m_blockNumber = line(this, 16);
    m_parcel = line(this, 16);
    capitalsOnly(m_parcel);
    m_cadastral = line(this, 10);
    m_category = new QComboBox(this);
    m_category->addItems(PlotStore::categories());
    m_classification = new QComboBox(this);
    m_classification->addItems({QStringLiteral("INTRAVILAN"), QStringLiteral("EXTRAVILAN")});
    m_worker = editableList(this);
    capitalsOnly(m_worker->lineEdit());
    m_worker->lineEdit()->setMaxLength(40);
    m_area = new TNumericF(this);
    m_area->setMaskInt(6);
    m_area->setMaskZec(4);
    m_north = line(this, 120);
    m_east = line(this, 120);
    m_south = line(this, 120);
    m_west = line(this, 120);

    const std::pair<const char*, QWidget*> named[] = {
        {"Act doveditor", m_deed},   {"Numarul", m_deedNumber},         {"din data", m_deedDate},
        {"Titulari", m_holders},     {"Observatii", m_notes},           {"Denumire tarla", m_block},
        {"Numar tarla", m_blockNumber}, {"Numar parcela", m_parcel},    {"Nr. cadastral", m_cadastral},
        {"Categoria", m_category},   {"Incadrare", m_classification},   {"Cine lucreaza", m_worker},
        {"Suprafata (ha)", m_area},  {"Nord", m_north}, {"Est", m_east}, {"Sud", m_south}, {"Vest", m_west},
    };
    for (const auto& [label, widget] : named) {
        m_fieldByLabel.insert(QLatin1String(label), widget);
        widget->setObjectName(QStringLiteral("TTarlaF.") + QLatin1String(label));
        m_order << widget;
        if (widget != m_holders && widget != m_notes)
            widget->installEventFilter(this);
    }

    auto* deedBox = new QFormLayout;
    deedBox->addRow(QStringLiteral("Act doveditor"), m_deed);
    deedBox->addRow(QStringLiteral("Numarul"), m_deedNumber);
    deedBox->addRow(QStringLiteral("din data"), m_deedDate);
    deedBox->addRow(QStringLiteral("Titulari"), m_holders);
    deedBox->addRow(QStringLiteral("Observatii"), m_notes);
    auto* plotBox = new QFormLayout;
    plotBox->addRow(QStringLiteral("Denumire tarla"), m_block);
    plotBox->addRow(QStringLiteral("Numar tarla"), m_blockNumber);
    plotBox->addRow(QStringLiteral("Numar parcela"), m_parcel);
    plotBox->addRow(QStringLiteral("Nr. cadastral"), m_cadastral);
    plotBox->addRow(QStringLiteral("Categoria"), m_category);
    plotBox->addRow(QStringLiteral("Incadrare"), m_classification);
    plotBox->addRow(QStringLiteral("Cine lucreaza"), m_worker);
    plotBox->addRow(QStringLiteral("Suprafata (ha)"), m_area);
    auto* neighbours = new QGroupBox(QStringLiteral(" Vecinatati "), this);
    auto* neighbourForm = new QFormLayout(neighbours);
    neighbourForm->addRow(QStringLiteral("Nord"), m_north);
    neighbourForm->addRow(QStringLiteral("Est"), m_east);
    neighbourForm->addRow(QStringLiteral("Sud"), m_south);
    neighbourForm->addRow(QStringLiteral("Vest"), m_west);

    m_save = new QPushButton(QStringLiteral("&Memoreaza"), this);
    m_save->setToolTip(QStringLiteral("Memoreaza modificarile."));
    m_clear = new QPushButton(QStringLiteral("&Goleste casute"), this);
    m_clear->setToolTip(QStringLiteral("Goleste campurile de mai sus."));
    m_cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    m_cancel->setToolTip(QStringLiteral("Nu memora nimic si inchide fereastra."));
    m_status = new QStatusBar(this);
    m_status->showMessage(QStringLiteral("ESC - Renunt"));
    m_status->setSizeGripEnabled(false);

    auto* columns = new QHBoxLayout;
    columns->addLayout(deedBox, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(plotBox);
    right->addWidget(neighbours);
    columns->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_clear);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->addWidget(m_status);

    connect(m_save, &QPushButton::clicked, this, &TTarlaF::MemoreazaClick);
    connect(m_clear, &QPushButton::clicked, this, &TTarlaF::GolesteParcela);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_block, &QComboBox::currentTextChanged, this, &TTarlaF::blockChanged);
}

TTarlaF::~TTarlaF() = default;

void TTarlaF::loadLists()
{
    if (!m_ctx.engine || !m_ctx.settings)
        return;
    if (!m_lists)
        m_lists = std::make_unique<PlotValueLists>(*m_ctx.engine, m_ctx.dataDirectory, *m_ctx.settings);
    const std::pair<QComboBox*, PlotValueLists::List> lists[] = {
        {m_deed, PlotValueLists::List::Deeds},
        {m_block, PlotValueLists::List::Blocks},
        {m_worker, PlotValueLists::List::Workers},
    };
    for (const auto& [box, list] : lists) {
        const QString typed = box->currentText();
        const QSignalBlocker quiet(box);
        box->clear();
        try {
            QStringList values = m_lists->values(list);
            values.sort();
            box->addItems(values);
        } catch (const Error& e) {
            if (m_ctx.interaction)
                showError(*m_ctx.interaction, e, windowTitle());
        }
        box->setEditText(typed);
    }
}

bool TTarlaF::EditeazaParcela(const QString& mode)
{
    setWindowTitle(QStringLiteral("Tarlale - ") + mode);
    loadLists();
    if (mode == QLatin1String("ADAUGARE"))
        m_area->clear();
    m_deed->setFocus();
    return exec() == QDialog::Accepted;
}

void TTarlaF::GolesteParcela()
{
    for (QComboBox* box : {m_deed, m_block, m_worker})
        box->setEditText(QString());
    for (QLineEdit* edit : {m_deedNumber, m_deedDate, m_blockNumber, m_parcel, m_cadastral,
                            static_cast<QLineEdit*>(m_area), m_north, m_east, m_south, m_west})
        edit->clear();
    m_holders->clear();
    m_notes->clear();
    m_category->setCurrentIndex(0);
    m_classification->setCurrentIndex(1);
}

void TTarlaF::ArataParcela(const PlotDetails& plot)
{
    m_deed->setEditText(plot.deed);
    m_deedNumber->setText(plot.deedNumber);
    m_deedDate->setText(plot.deedDate);
    m_block->setEditText(plot.block);
    m_worker->setEditText(plot.worker);
    m_blockNumber->setText(plot.blockNumber);
    m_parcel->setText(plot.parcel);
    m_north->setText(plot.north);
    m_east->setText(plot.east);
    m_south->setText(plot.south);
    m_west->setText(plot.west);
    m_cadastral->setText(plot.cadastral);
    m_area->setText(QString::number(plot.area, 'f', 4));
    m_holders->setPlainText(plot.holderLines.join(QLatin1Char('\n')));
    m_notes->setPlainText(plot.notes);
    const int category = PlotStore::categories().indexOf(plot.category);
    if (category >= 0)
        m_category->setCurrentIndex(category);
    m_classification->setCurrentIndex(plot.classification == QLatin1String("INTRAVILAN") ? 0 : 1);
}

PlotDetails TTarlaF::details() const
{
    PlotDetails plot;
    plot.deed = m_deed->currentText();
    plot.deedNumber = m_deedNumber->text();
    plot.deedDate = m_deedDate->text();
    plot.notes = m_notes->toPlainText().split(QLatin1Char('\n')).join(QString());
    plot.classification = m_classification->currentText();
    plot.block = m_block->currentText();
    plot.blockNumber = m_blockNumber->text();
    plot.parcel = m_parcel->text();
    plot.cadastral = m_cadastral->text();
    plot.category = m_category->currentText();
    plot.area = m_area->Valoare();
    plot.north = m_north->text();
    plot.east = m_east->text();
    plot.south = m_south->text();
    plot.west = m_west->text();
    plot.worker = m_worker->currentText();
    plot.holderLines = m_holders->toPlainText().split(QLatin1Char('\n'));
    return plot;
}

void TTarlaF::MemoreazaClick()
{
    const double area = std::round(m_area->Valoare() * 10000.0) / 10000.0;
    if (!m_area->text().isEmpty())
        m_area->setText(QString::number(area, 'f', 4));
    try {
        PlotStore::check(details());
    } catch (const PlotRefusal& refusal) {
        QWidget* field = m_fieldByLabel.value(plotFieldLabel(refusal.field()));
        if (field)
            field->setFocus();
        if (m_ctx.interaction)
            m_ctx.interaction->ArataProblema(refusal.message(), field ? field->objectName() : QString());
        return;
    }
    m_block->setEditText(Curata(m_block->currentText()));
    m_worker->setEditText(Curata(m_worker->currentText()));
    if (m_lists) {
        try {
            m_lists->AdaugaInLista(PlotValueLists::List::Deeds, m_deed->currentText());
            m_lists->AdaugaInLista(PlotValueLists::List::Blocks, m_block->currentText());
            m_lists->AdaugaInLista(PlotValueLists::List::Workers, m_worker->currentText());
            m_lists->rememberCategory(m_classification->currentText(), m_block->currentText(), m_category->currentIndex());
        } catch (const Error& e) {
            // The plot itself can still be stored; the lists only help typing.
            if (m_ctx.interaction)
                showError(*m_ctx.interaction, e, windowTitle());
        }
    }
    accept();
}

void TTarlaF::blockChanged()
{
    if (m_inBlockChange) {
        m_blockChangedAgain = true;
        return;
    }
    m_inBlockChange = true;
    do {
        m_blockChangedAgain = false;
        const QString block = m_block->currentText();
        const QString classification = PlotValueLists::classificationOf(block);
        m_classification->setCurrentText(classification);
        if (!block.trimmed().isEmpty()) {
            int item = 0;
            if (m_lists)
                item = m_lists->rememberedCategory(classification, block);
            m_category->setCurrentIndex(item);
        }
    } while (m_blockChangedAgain);
    m_inBlockChange = false;
}

bool TTarlaF::eventFilter(QObject* watched, QEvent* event)
{
    // Holders and notes keep Enter for a new line (they are not watched); "Vest" goes to "&Memoreaza".
    if (moveOnEnter(watched, event, m_order, [this] { m_save->setFocus(); }))
        return true;
    return QDialog::eventFilter(watched, event);
}

}
