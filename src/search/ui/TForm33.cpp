#include "search/ui/TForm33.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "domain/TextCase.h"
#include "grid/ui/StandardGrid.h"
#include "services/AppContext.h"
#include "ui/GradientPanel.h"
#include "ui/DialogParts.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace velmor {

namespace {

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}

TForm33::TForm33(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_logic(ctx)
{
    setObjectName(QStringLiteral("TForm33"));
    setWindowTitle(QStringLiteral("Cautare dupa nume"));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowStaysOnTopHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* strip = GradientPanel::titleStrip(this, QStringLiteral("Panel1"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 6, 8, 6);
    stripLayout->addWidget(boldLabel(QStringLiteral("Localitatea :"), strip));
    m_village = boldLabel(QString(), strip);
    m_village->setObjectName(QStringLiteral("LabelSat"));
    stripLayout->addWidget(m_village);
    stripLayout->addStretch(1);
    layout->addWidget(strip);

    auto* body = new QWidget(this);
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(6, 6, 6, 6);

    m_grid = new grid::StandardGrid(body);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(&m_logic.results());
    m_grid->installEventFilter(this);
    bodyLayout->addWidget(m_grid, 1);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    auto addField = [this, fields, body](int row, int column, const QString& label, QWidget* field) {
        fields->addWidget(new QLabel(label, body), row, column * 2);
        fields->addWidget(field, row, column * 2 + 1);
        field->installEventFilter(this);
    };
    m_name = new QLineEdit(body);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setMaxLength(40);
    addField(0, 0, QStringLiteral("Numele si Prenumele"), m_name);
    m_cnp = new QLineEdit(body);
    m_cnp->setObjectName(QStringLiteral("CNPE"));
    m_cnp->setMaxLength(13);
    addField(0, 1, QStringLiteral("C.N.P."), m_cnp);
    m_company = new QComboBox(body);
    m_company->setObjectName(QStringLiteral("Denumire"));
    m_company->setEditable(true);
    m_company->setInsertPolicy(QComboBox::NoInsert);
    m_company->setMinimumWidth(200);
    m_company->lineEdit()->installEventFilter(this);
    addField(0, 2, QStringLiteral("Societatea"), m_company);
    m_street = new QComboBox(body);
    m_street->setObjectName(QStringLiteral("StradaE"));
    m_street->setEditable(false);
    m_street->setMinimumWidth(200);
    addField(1, 0, QStringLiteral("Strada"), m_street);
    m_number = new QLineEdit(body);
    m_number->setObjectName(QStringLiteral("NrE"));
    m_number->setMaxLength(6);
    addField(1, 1, QStringLiteral("Numarul"), m_number);
    m_domicile = new QComboBox(body);
    m_domicile->setObjectName(QStringLiteral("Loc"));
    m_domicile->setEditable(true);
    m_domicile->setInsertPolicy(QComboBox::NoInsert);
    m_domicile->setMinimumWidth(200);
    m_domicile->lineEdit()->installEventFilter(this);
    addField(1, 2, QStringLiteral("Dom.stabil in localitatea"), m_domicile);
    m_headsOnly = new QCheckBox(QStringLiteral("Numai capi de gospodarie"), body);
    m_headsOnly->setObjectName(QStringLiteral("CheckBox1"));
    m_headsOnly->installEventFilter(this);
    fields->addWidget(m_headsOnly, 2, 1, 1, 3);
    fields->setColumnStretch(5, 1);
    bodyLayout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_choose = commandButton(QStringLiteral("&Am ales"), QStringLiteral("B11"), body,
                             QStringLiteral("Am terminat de ales membrul si ne intoarcem la datele lui."));
    m_cancel = commandButton(QStringLiteral("&Renunt"), QStringLiteral("GlyphButton1"), body, QStringLiteral("Renunt la cautare."));
    buttons->addWidget(m_choose);
    buttons->addWidget(m_cancel);
    bodyLayout->addLayout(buttons);
    layout->addWidget(body, 1);

    m_status = statusLine(this, QStringLiteral("ESC - Iesire"));
    layout->addWidget(m_status);

    for (QLineEdit* edit : {m_name, m_cnp, m_number, m_company->lineEdit(), m_domicile->lineEdit()})
        upperCaseWhileTyping(edit);
    connect(m_name, &QLineEdit::textChanged, this, &TForm33::Filtreaza);
    connect(m_cnp, &QLineEdit::textChanged, this, &TForm33::Filtreaza);
    connect(m_number, &QLineEdit::textChanged, this, &TForm33::Filtreaza);
    connect(m_company, &QComboBox::currentTextChanged, this, &TForm33::Filtreaza);
    connect(m_street, &QComboBox::currentTextChanged, this, &TForm33::Filtreaza);
    connect(m_domicile, &QComboBox::currentTextChanged, this, &TForm33::Filtreaza);
    connect(m_headsOnly, &QCheckBox::clicked, this, &TForm33::Filtreaza);
    connect(m_choose, &QPushButton::clicked, this, &TForm33::B11Click);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TForm33::B11Click);

    connect(&m_logic, &search::NameSearch::currentChanged, this, &TForm33::showCurrent);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (!m_syncingGrid && current.isValid())
            m_logic.setCurrentRow(current.row());
    });

    resize(980, 560);
}

TForm33::~TForm33() = default;

void TForm33::upperCaseWhileTyping(QLineEdit* edit)
{
    connect(edit, &QLineEdit::textEdited, this, [edit](const QString& text) {
        const QString upper = search::typedSearchText(text);
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

void TForm33::fillList(QComboBox* combo, QStringList values, bool withEmpty)
{
    // Sorted lists, as the clerk reads them.
    std::sort(values.begin(), values.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    if (withEmpty)
        values.prepend(QString());
    combo->clear();
    combo->addItems(values);
}

void TForm33::Pregateste(const QString& village)
{
    m_result = -1;
    m_village->setText(village);
    m_clearing = true;
    try {
        fillList(m_company, m_logic.companies(), false);
        m_company->setEditText(QString());
        m_logic.open(village);
    } catch (...) {
        m_clearing = false;
        throw;
    }
    m_clearing = false;
    CurataCampurile();
    Filtreaza();
    m_name->setFocus(Qt::OtherFocusReason);
}

qint64 TForm33::Cautare(const QString& village)
{
    try {
        Pregateste(village);
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
        m_logic.close();
        return -1;
    }
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    resize(preferredSize(shown ? shown->availableGeometry().size() : QSize(1366, 728)));
    exec();
    return m_result;
}

QSize TForm33::preferredSize(const QSize& available) const
{
    int columns = 0;
    for (int c = 0; m_grid->model() && c < m_grid->model()->columnCount(); ++c)
        columns += m_grid->isColumnHidden(c) ? 0 : m_grid->columnWidth(c);
    // The grid's frame and scroll bar, the window's margins.
    const int around = 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width() + 40;
    const int wanted = std::max(columns + around + 2, 980);
    return QSize(std::min(wanted, available.width()), std::min(height(), available.height()));
}

std::optional<HouseholdPlace> TForm33::Alege(const QString& village)
{
    const qint64 codid = Cautare(village);
    std::optional<HouseholdPlace> place;
    if (codid >= 0)
        place = m_logic.currentPlace();
    m_logic.close();
    return place;
}

void TForm33::CurataCampurile()
{
    m_clearing = true;
    try {
        m_name->clear();
        m_cnp->clear();
        m_number->clear();
        fillList(m_street, m_logic.streets(), true);
        m_street->setCurrentIndex(0);
        fillList(m_domicile, m_logic.domiciles(), true);
        m_domicile->setCurrentIndex(0);
        m_domicile->setEditText(QString());
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
    m_clearing = false;
}

void TForm33::Filtreaza()
{
    if (m_clearing)
        return;
    m_filterGuard.run([this] {
        search::SearchCriteria criteria;
        criteria.name = m_name->text();
        criteria.headsOnly = m_headsOnly->isChecked();
        criteria.cnp = m_cnp->text();
        criteria.street = m_street->currentText();
        criteria.company = m_company->currentText();
        criteria.number = m_number->text();
        criteria.domicile = m_domicile->currentText();
        m_logic.setCriteria(criteria);
    });
}

void TForm33::showCurrent(int row)
{
    m_syncingGrid = true;
    QItemSelectionModel* selection = m_grid->selectionModel();
    if (row >= 0 && row < m_logic.results().rowCount()) {
        const QModelIndex index = m_logic.results().index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_grid->scrollTo(index);
    } else {
        selection->clear();
    }
    m_syncingGrid = false;
}

void TForm33::B11Click()
{
    try {
        if (const std::optional<qint64> codid = m_logic.choose(m_choose->objectName())) {
            m_result = *codid;
            accept();
        }
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
}

bool TForm33::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_grid) {
        if (enter) {
            B11Click();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    // Entry fields: the arrows move through the results, Enter chooses.
    if (key->key() == Qt::Key_Up) {
        m_logic.moveUp();
        return true;
    }
    if (key->key() == Qt::Key_Down) {
        m_logic.moveDown();
        return true;
    }
    if (enter) {
        B11Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}
