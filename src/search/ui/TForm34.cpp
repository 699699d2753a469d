#include "search/ui/TForm34.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/dbf/DbfValue.h"
#include "tariffs/LocalTariffs.h"
#include "services/AppContext.h"
#include "services/Settings.h"
#include "services/TextFunctions.h"
#include "ui/EnterOrder.h"
#include "ui/TNumericF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor {

namespace {

const QString kTitle = QStringLiteral("Adeverinta");

const char* const kChapterCaptions[] = {
    "TERENURI IN PROPRIETATE", "MODUL DE UTILIZARE A SUPRAFETEI AGRICOLE", "SUPRAFATA ARABILA CULTIVATA", "POMI FRUCTIFERI",
    "SUPRAFATA AMENAJATA PENTRU IRIGAT", "ANIMALE DOMESTICE LA INCEPUT DE AN", "EVOLUTIA EFECTIVELOR DE ANIMALE Sem.I",
    "EVOLUTIA EFECTIVELOR DE ANIMALE Sem.II", "UTILAJE SI MIJLOACE DE TRANSPORT", "CONSTRUCTII PE RAZA LOCALITATII",
    "MENTIUNI SPECIALE", "COMPONENTA GOSPODARIEI", "VENITUL LUNAR", "IDENTIFICAREA PE PARCELE",
};

// Typed letters shown in capitals.
void capitals(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        if (text != text.toUpper()) {
            const int cursor = edit->cursorPosition();
            edit->setText(text.toUpper());
            edit->setCursorPosition(cursor);
        }
    });
}

QComboBox* editableCombo(QWidget* parent, int maxLength)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    if (maxLength > 0)
        box->lineEdit()->setMaxLength(maxLength);
    capitals(box->lineEdit());
    return box;
}

}

TForm34::TForm34(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm34"));
    setWindowTitle(kTitle);
    setModal(true);

    m_destination = editableCombo(this, 120);
    m_destination->setObjectName(QStringLiteral("ComboBox2"));
    m_number = new TNumericF(this);
    m_number->setObjectName(QStringLiteral("AdvNr"));
    m_number->setMaskInt(10);
    m_number->setMaskZec(0);
    m_duty = new TNumericF(this);
    m_duty->setObjectName(QStringLiteral("TaxaT"));
    m_duty->setMaskInt(3);
    m_duty->setMaskZec(2);
    m_receipt = new QLineEdit(this);
    m_receipt->setObjectName(QStringLiteral("Edit4"));
    m_receipt->setMaxLength(12);
    capitals(m_receipt);
    m_person = new QComboBox(this);
    m_person->setObjectName(QStringLiteral("ComboBox1"));
    m_second = editableCombo(this, 40);
    m_second->setObjectName(QStringLiteral("ComboBox3"));
    m_relation = editableCombo(this, 0);
    m_relation->setObjectName(QStringLiteral("ComboBox4"));
    m_relation->addItems({QStringLiteral("SOT"), QStringLiteral("SOTIE"), QStringLiteral("FIU"), QStringLiteral("FIICA"),
                          QStringLiteral("RUDA"), QStringLiteral("ASOCIAT")});
    m_mentions = new QPlainTextEdit(this);
    m_mentions->setObjectName(QStringLiteral("Memo1"));
    m_model = new QComboBox(this);
    m_model->setObjectName(QStringLiteral("ModelAdev"));
    for (int n = 1; n <= 5; ++n)
        m_model->addItem(QStringLiteral("MODEL %1").arg(n));
    m_clerk = new QLineEdit(this);
    m_clerk->setObjectName(QStringLiteral("Edit9"));
    m_clerk->setMaxLength(40);
    capitals(m_clerk);

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Eliberam prezenta pentru a-i servi la"), m_destination);
    top->addRow(QStringLiteral("ADEVERINTA NR."), m_number);
    auto* duty = new QHBoxLayout;
    duty->addWidget(m_duty);
    duty->addWidget(new QLabel(QStringLiteral("lei,cu chitanta nr."), this));
    duty->addWidget(m_receipt);
    top->addRow(QStringLiteral("Achitat taxa timbru "), duty);
    top->addRow(QStringLiteral("Pentru NUMITUL"), m_person);
    top->addRow(QStringLiteral("si NUMITUL"), m_second);
    top->addRow(QStringLiteral("in calitate de"), m_relation);

    auto* chapterBox = new QGroupBox(QStringLiteral("CAPITOLELE DE INCLUS IN ADEVERINTA"), this);
    auto* chapterGrid = new QGridLayout(chapterBox);
    for (int i = 0; i < search::CertificateRequest::ChapterCount; ++i) {
        auto* box = new QCheckBox(QLatin1String(kChapterCaptions[i]), chapterBox);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        m_chapters[size_t(i)] = box;
        chapterGrid->addWidget(box, i % 7, i / 7);
    }

    auto* bottom = new QFormLayout;
    bottom->addRow(QStringLiteral("ALTE MENTIUNI"), m_mentions);
    bottom->addRow(QStringLiteral("Modelul adeverinta"), m_model);
    bottom->addRow(QStringLiteral("Intocmit"), m_clerk);
    auto* note = new QLabel(QStringLiteral("OBSERVATIE:\nCampurile lasate goale\nnu apar pe Adeverinta."), this);

    m_general = new QPushButton(QStringLiteral("&Arata adeverinta"), this);
    m_general->setObjectName(QStringLiteral("BitBtn3"));
    m_heating = new QPushButton(QStringLiteral("Adeverinta &Caldura"), this);
    m_heating->setObjectName(QStringLiteral("AdCaB"));
    m_tariffs = new QPushButton(QStringLiteral("Tarife stabilite"), this);
    m_tariffs->setObjectName(QStringLiteral("BitBtn4"));
    m_close = new QPushButton(QStringLiteral("&Renunt"), this);
    m_close->setObjectName(QStringLiteral("BitBtn2"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(note);
    buttons->addStretch();
    for (QPushButton* b : {m_general, m_heating, m_tariffs, m_close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(chapterBox);
    layout->addLayout(bottom);
    layout->addLayout(buttons);

    m_order = {m_destination, m_number, m_duty, m_receipt, m_person, m_second, m_relation, m_model, m_clerk};
    for (QWidget* w : m_order)
        w->installEventFilter(this);
    connect(m_general, &QPushButton::clicked, this, &TForm34::BitBtn3Click);
    connect(m_heating, &QPushButton::clicked, this, &TForm34::AdCaBClick);
    connect(m_tariffs, &QPushButton::clicked, this, [this] {
        if (m_openTariffs)
            m_openTariffs();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_destination, &QComboBox::currentIndexChanged, this, &TForm34::ComboBox2Change);
}

TForm34::~TForm34() = default;

std::unique_ptr<search::Certificates> TForm34::certificates() const
{
    if (!m_ctx.engine || !m_ctx.settings)
        return nullptr;
    return std::make_unique<search::Certificates>(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.settings,
                                                  m_ctx.profile.constants(), LocalTariffs(*m_ctx.settings).load());
}

bool TForm34::Pregateste(qint64 household)
{
    const auto logic = certificates();
    if (!logic)
        return false;
    m_household = household;
    m_lastDocument.clear();
    m_number->setText(QString::number(logic->proposedNumber()));
    m_duty->setText(QStringLiteral("0"));
    m_receipt->clear();
    m_clerk->setText(m_ctx.settings->Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("INTOCMIT")));
    m_mentions->clear();
    search::CertificateHousehold h;
    try {
        h = logic->household(household, m_ctx.workingYear().toInt());
    } catch (const Error& e) {
        if (m_ctx.interaction)
            m_ctx.interaction->Mesaj(kTitle, e.message(), KindError, ButtonsOk);
        return false;
    }
    const QSignalBlocker quiet(m_destination);
    m_person->clear();
    m_second->clear();
    m_destination->clear();
    m_relation->setEditText(QString());
    for (const search::CertificateMember& m : h.members) {
        m_person->addItem(m.name);
        m_second->addItem(m.name);
    }
    m_person->setCurrentIndex(0);
    m_second->setCurrentIndex(-1);
    m_second->setEditText(QString());
    try {
        m_destination->addItems(logic->destinations());
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
    m_destination->setCurrentIndex(-1);
    m_destination->setEditText(QString());
    for (QCheckBox* box : m_chapters)
        box->setChecked(false);
    m_general->setVisible(QFileInfo::exists(logic->modelPath(1)));
    return true;
}

void TForm34::AdeverintaOk(qint64 household)
{
    if (Pregateste(household))
        exec();
}

void TForm34::setChapters(const QString& state)
{
    const auto chapters = search::Certificates::chaptersOf(state);
    for (size_t i = 0; i < chapters.size(); ++i)
        m_chapters[i]->setChecked(chapters[i]);
}

void TForm34::ComboBox2Change()
{
    if (m_destination->findText(m_destination->currentText()) < 0) {
        setChapters(QString());
        m_duty->setText(QStringLiteral("0"));
        return;
    }
    const auto logic = certificates();
    if (!logic)
        return;
    try {
        const search::Certificates::Profile profile = logic->profile(m_destination->currentText());
        setChapters(profile.state);
        if (!profile.model.trimmed().isEmpty() && m_model->findText(profile.model) >= 0)
            m_model->setCurrentIndex(m_model->findText(profile.model));
        m_duty->setText(dbf::decimalText(profile.duty.toDouble(), 2));
        if (!profile.mentions.isEmpty())
            m_mentions->setPlainText(profile.mentions.join(QLatin1Char('\n')));
    } catch (const search::CertificateRefusal&) {
        setChapters(QString()); // a destination no profile can have
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
}

search::CertificateRequest TForm34::request() const
{
    search::CertificateRequest r;
    r.household = m_household;
    r.year = m_ctx.workingYear().toInt();
    for (size_t i = 0; i < m_chapters.size(); ++i)
        r.chapters[i] = m_chapters[i]->isChecked();
    r.destination = Curata(m_destination->currentText());
    r.model = m_model->currentIndex() + 1;
    r.person = m_person->currentIndex();
    r.second = Curata(m_second->currentText());
    r.relation = m_relation->currentText().trimmed();
    r.clerk = Curata(m_clerk->text());
    r.duty = m_duty->Valoare();
    r.receipt = m_receipt->text().trimmed();
    r.numberText = m_number->text().trimmed();
    const QString mentions = m_mentions->toPlainText();
    if (!mentions.isEmpty())
        r.mentions = mentions.split(QLatin1Char('\n'));
    r.date = QDate::currentDate();
    return r;
}

namespace {

// The control of the window that holds a request's value.
QString controlOf(search::CertificateField field)
{
    using search::CertificateField;
    switch (field) {
    case CertificateField::Person: return QStringLiteral("ComboBox1");
    case CertificateField::Destination: return QStringLiteral("ComboBox2");
    case CertificateField::SecondPerson: return QStringLiteral("ComboBox3");
    case CertificateField::Receipt: return QStringLiteral("Edit4");
    case CertificateField::Chapters: return QStringLiteral("CheckBox1");
    case CertificateField::Clerk: return QStringLiteral("Edit9");
    }
    return QString();
}

}

void TForm34::refuse(const search::CertificateRefusal& refusal)
{
    const QString control = controlOf(refusal.field());
    if (QWidget* field = findChild<QWidget*>(control))
        field->setFocus();
    if (m_ctx.interaction)
        m_ctx.interaction->ArataProblema(refusal.message(), control);
}

void TForm34::BitBtn3Click()
{
    const auto logic = certificates();
    if (!logic || !m_ctx.interaction)
        return;
    if (m_destination->hasFocus()) {
        m_number->setFocus();
        ComboBox2Change();
    }
    m_duty->setText(dbf::decimalText(m_duty->Valoare(), 2));
    const search::CertificateRequest r = request();
    try {
        search::Certificates::check(r, logic->household(r.household, m_ctx.workingYear().toInt()));
        if (r.number() < 1
            && m_ctx.interaction->Mesaj(QStringLiteral("Listare Adeverinta"),
                                        QStringLiteral("Nu ati scris Numarul Adeverintei !\nContinuati asa ?"), KindWarning, ButtonsDaNu)
                   != ResultDa)
            return;
        QStringList warnings;
        m_lastDocument = logic->writeGeneral(r, QString(), &warnings);
        if (m_destination->findText(r.destination) < 0) {
            const QSignalBlocker quiet(m_destination);
            m_destination->addItem(r.destination);
        }
        if (r.number() >= 1)
            m_number->setText(QString::number(r.number() + 1));
        for (const QString& warning : warnings)
            m_ctx.interaction->Mesaj(kTitle, warning, KindWarning, ButtonsOk);
        m_ctx.interaction->openFile(m_lastDocument);
    } catch (const search::CertificateRefusal& refusal) {
        refuse(refusal);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, kTitle);
    }
}

void TForm34::AdCaBClick()
{
    const auto logic = certificates();
    if (!logic || !m_ctx.interaction)
        return;
    try {
        m_lastDocument = logic->writeHeating(request());
        m_ctx.interaction->openFile(m_lastDocument);
    } catch (const search::CertificateRefusal& refusal) {
        refuse(refusal);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, kTitle);
    }
}

void TForm34::done(int result)
{
    // The clerk's name is kept for the next certificate.
    if (m_ctx.settings) {
        try {
            m_ctx.settings->Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("INTOCMIT"), Curata(m_clerk->text()));
        } catch (const Error& e) {
            if (m_ctx.interaction)
                showError(*m_ctx.interaction, e, kTitle);
        }
    }
    QDialog::done(result);
}

bool TForm34::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && watched == m_destination)
        ComboBox2Change();
    if (moveOnEnter(watched, event, m_order, [this] {
            if (m_general->isVisible())
                m_general->click();
        }))
        return true;
    return QDialog::eventFilter(watched, event);
}

}
