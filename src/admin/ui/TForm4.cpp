#include "admin/ui/TForm4.h"

#include "core/ErrorReport.h"
#include "admin/AccessControl.h"
#include "admin/VillageMaintenance.h"
#include "admin/DataChecks.h"
#include "admin/RegisterMerge.h"
#include "admin/ui/TForm38.h"
#include "data/Schema.h"
#include "data/engine/SqlError.h"
#include "tariffs/ui/TFTarife.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "services/ServiceError.h"
#include "ui/DialogParts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor {

namespace {

QLineEdit* edit(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

}

TForm4::TForm4(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Administrare"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("PageList"));
    m_pageList->addItems({ QStringLiteral("GENERAL"), QStringLiteral("DATE DESPRE PRIMARIE"), QStringLiteral("Utilitare") });
    m_pageList->setFixedWidth(170);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addWidget(buildGeneralPage());
    m_pages->addWidget(buildCouncilPage());
    m_pages->addWidget(buildUtilitiesPage());
    connect(m_pageList, &QListWidget::currentRowChanged, m_pages, &QStackedWidget::setCurrentIndex);
    m_pageList->setCurrentRow(0);

    m_saveAndClose = commandButton(QStringLiteral("Sal&veaza si inchide"), QStringLiteral("BitBtn1"), this);
    connect(m_saveAndClose, &QPushButton::clicked, this, &QDialog::accept);

    m_status = statusLine(this, QStringLiteral("ESC - Iesire din Administrare"));

    auto* body = new QHBoxLayout;
    body->addWidget(m_pageList);
    body->addWidget(m_pages, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_saveAndClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);
    layout->addWidget(m_status);

    setConstants(Administration::designedConstants());

    // The hidden box mirrors the unlocked state of the run.
    QPointer<QCheckBox> box = m_checkBox1;
    connect(&m_ctx.unlock, &UnlockState::changed, this, [box](bool on) {
        if (box) {
            const QSignalBlocker block(box);
            box->setChecked(on);
        }
    });
}

QWidget* TForm4::buildGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* heading = new QLabel(QStringLiteral("GENERAL"), page);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* dataGroup = new QGroupBox(QStringLiteral("Baza de date"), page);
    m_dataPath = new QLabel(dataGroup);
    m_dataPath->setObjectName(QStringLiteral("DataPath"));
    m_dataPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_setCaleLocal = commandButton(QStringLiteral("Baza de date locala"), QStringLiteral("SetCaleLocal"), dataGroup,
                            QStringLiteral("Lucrati pe baza de date de pe acest calculator."));
    m_setCaleNet = commandButton(QStringLiteral("Baza de date in retea"), QStringLiteral("SetCaleNet"), dataGroup,
                          QStringLiteral("Lucrati pe o baza de date din retea."));
    connect(m_setCaleLocal, &QPushButton::clicked, this, &TForm4::SetCaleLocalClick);
    connect(m_setCaleNet, &QPushButton::clicked, this, &TForm4::SetCaleNetClick);
    auto* dataLayout = new QGridLayout(dataGroup);
    dataLayout->addWidget(m_dataPath, 0, 0, 1, 2);
    dataLayout->addWidget(m_setCaleLocal, 1, 0);
    dataLayout->addWidget(m_setCaleNet, 1, 1);

    auto* backupGroup = new QGroupBox(QStringLiteral("Salvari automate"), page);
    m_caleSalvari = new QLabel(QStringLiteral("-"), backupGroup);
    m_caleSalvari->setObjectName(QStringLiteral("CaleSalvari"));
    m_convexBtn6 = commandButton(QStringLiteral("Alege calea"), QStringLiteral("ConvexBtn6"), backupGroup,
                          QStringLiteral("Alegeti directorul salvarilor automate."));
    m_convexBtn5 = commandButton(QStringLiteral("Dezactiveaza"), QStringLiteral("ConvexBtn5"), backupGroup,
                          QStringLiteral("Dezactivati salvarea automata."));
    connect(m_convexBtn6, &QPushButton::clicked, this, &TForm4::ConvexBtn6Click);
    connect(m_convexBtn5, &QPushButton::clicked, this, &TForm4::ConvexBtn5Click);
    auto* backupLayout = new QGridLayout(backupGroup);
    backupLayout->addWidget(m_caleSalvari, 0, 0, 1, 2);
    backupLayout->addWidget(m_convexBtn6, 1, 0);
    backupLayout->addWidget(m_convexBtn5, 1, 1);

    auto* passwordGroup = new QGroupBox(QStringLiteral("Schimbare parola"), page);
    m_edit2 = edit(QStringLiteral("Edit2"), passwordGroup);
    m_edit3 = edit(QStringLiteral("Edit3"), passwordGroup);
    m_edit2->setEchoMode(QLineEdit::Password);
    m_edit3->setEchoMode(QLineEdit::Password);
    m_edit2->installEventFilter(this);
    m_edit3->installEventFilter(this);
    m_schimbaParola = commandButton(QStringLiteral("&Schimba parola"), QStringLiteral("BitBtn4"), passwordGroup);
    m_schimbaParola->setAutoDefault(true);
    connect(m_schimbaParola, &QPushButton::clicked, this, &TForm4::SchimbaParolaClick);
    auto* passwordLayout = new QFormLayout(passwordGroup);
    passwordLayout->addRow(QStringLiteral("Parola noua"), m_edit2);
    passwordLayout->addRow(QStringLiteral("Inca odata"), m_edit3);
    passwordLayout->addRow(m_schimbaParola);

    m_checkBox1 = new QCheckBox(QStringLiteral("PROGRAM DEBLOCAT"), page);
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setVisible(false);
    connect(m_checkBox1, &QCheckBox::clicked, this, &TForm4::CheckBox1Click);

    auto* modelsGroup = new QGroupBox(QStringLiteral("Modele"), page);
    m_modelAdeverinta = commandButton(QStringLiteral("&Modifica modelul de adeverinta"), QStringLiteral("ModelAdeverinta"),
                               modelsGroup);
    auto* certificateMenu = new QMenu(m_modelAdeverinta);
    for (int n = 1; n <= 4; ++n) {
        QAction* action = certificateMenu->addAction(QStringLiteral("Model %1").arg(n));
        action->setObjectName(QStringLiteral("Model%1").arg(n));
        connect(action, &QAction::triggered, this, [this, n] { Administration(m_ctx).DeschideModelAdeverinta(n); });
    }
    m_modelAdeverinta->setMenu(certificateMenu);
    m_modelRAgr2 = commandButton(QStringLiteral("M&odifica modelul RAgr2"), QStringLiteral("ModelRAgr2"), modelsGroup);
    connect(m_modelRAgr2, &QPushButton::clicked, this, [this] { Administration(m_ctx).DeschideModelRAgr2(); });
    m_modeleRecensamant = commandButton(QStringLiteral("Mo&difica modele Recensamant 2010"), QStringLiteral("ModeleRecensamant"),
                                 modelsGroup);
    auto* censusMenu = new QMenu(m_modeleRecensamant);
    for (int n = 1; n <= 4; ++n) {
        const QString caption = QStringLiteral("Formularul L%1").arg(n);
        QAction* action = censusMenu->addAction(caption);
        action->setObjectName(QStringLiteral("FormularulL%1").arg(n));
        connect(action, &QAction::triggered, this,
                [this, caption] { Administration(m_ctx).DeschideModelRecensamant(caption); });
    }
    m_modeleRecensamant->setMenu(censusMenu);
    m_tarifeStabilite = commandButton(QStringLiteral("Tarife stabilite"), QStringLiteral("TarifeStabilite"), modelsGroup,
                               QStringLiteral("Tarifele de venituri stabilite local."));
    connect(m_tarifeStabilite, &QPushButton::clicked, this, &TForm4::TarifeStabiliteClick);
    auto* modelsLayout = new QVBoxLayout(modelsGroup);
    modelsLayout->addWidget(m_modelAdeverinta);
    modelsLayout->addWidget(m_modelRAgr2);
    modelsLayout->addWidget(m_modeleRecensamant);
    modelsLayout->addWidget(m_tarifeStabilite);

    auto* grid = new QGridLayout;
    grid->addWidget(dataGroup, 0, 0);
    grid->addWidget(backupGroup, 1, 0);
    grid->addWidget(passwordGroup, 0, 1);
    grid->addWidget(modelsGroup, 1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addWidget(m_checkBox1);
    layout->addStretch();
    return page;
}

QWidget* TForm4::buildCouncilPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* heading = new QLabel(QStringLiteral("DATE DESPRE PRIMARIE"), page);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    m_numePrimarie = edit(QStringLiteral("NumePrimarie"), page);
    // Wide enough for a whole council name of 40 capitals ("PRIMARIA COMUNEI ...").
    m_numePrimarie->setMinimumWidth(m_numePrimarie->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('N'))) + 16);
    m_tipLoc = new QComboBox(page);
    m_tipLoc->setObjectName(QStringLiteral("TipLoc"));
    m_tipLoc->addItems(TipuriLocalitate());
    m_comuna = edit(QStringLiteral("Comuna"), page);
    m_codFiscal = edit(QStringLiteral("CodFiscal"), page);
    m_judet = edit(QStringLiteral("JUDETL"), page);
    m_primar = edit(QStringLiteral("PrimarI"), page);
    m_secretar = edit(QStringLiteral("SecretarI"), page);
    // Enter moves through the constants in their order.
    for (QWidget* field : std::initializer_list<QWidget*> { m_numePrimarie, m_tipLoc, m_comuna, m_codFiscal, m_judet,
                                                            m_primar, m_secretar })
        field->installEventFilter(this);
    auto* constants = new QFormLayout;
    constants->addRow(QStringLiteral("Denumirea U.A.T."), m_numePrimarie);
    constants->addRow(QStringLiteral("Localitatea"), m_tipLoc);
    constants->addRow(QString(), m_comuna);
    constants->addRow(QStringLiteral("Cod Fiscal"), m_codFiscal);
    constants->addRow(QStringLiteral("Judetul"), m_judet);
    constants->addRow(QStringLiteral("PRIMAR"), m_primar);
    constants->addRow(QStringLiteral("SECRETAR"), m_secretar);

    auto* villages = new QGroupBox(QStringLiteral("Localitati componente"), page);
    m_inSat = edit(QStringLiteral("InSat"), villages);
    m_inSat->installEventFilter(this);
    m_speedButton1 = commandButton(QStringLiteral("Adauga"), QStringLiteral("SpeedButton1"), villages,
                            QStringLiteral("Adauga satul din casuta in lista."));
    m_speedButton2 = commandButton(QStringLiteral("Sterge"), QStringLiteral("SpeedButton2"), villages,
                            QStringLiteral("Sterge satul selectat din tabel."));
    m_speedButton3 = commandButton(QStringLiteral("Modifica"), QStringLiteral("SpeedButton3"), villages,
                            QStringLiteral("Modifica denumirea satului selectat in tabel."));
    connect(m_speedButton1, &QPushButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(m_speedButton2, &QPushButton::clicked, this, &TForm4::SpeedButton2Click);
    connect(m_speedButton3, &QPushButton::clicked, this, &TForm4::SpeedButton3Click);
    m_listaSate = new QListWidget(villages);
    m_listaSate->setObjectName(QStringLiteral("ListaSate"));
    m_listaSate->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listaSate->setContextMenuPolicy(Qt::CustomContextMenu);
    m_listMenu = new QMenu(m_listaSate);
    QAction* deleteAction = m_listMenu->addAction(QStringLiteral("Sterge"));
    deleteAction->setObjectName(QStringLiteral("Sterge1"));
    QAction* editAction = m_listMenu->addAction(QStringLiteral("Modifica"));
    editAction->setObjectName(QStringLiteral("Modifica1"));
    connect(deleteAction, &QAction::triggered, this, &TForm4::SpeedButton2Click);
    connect(editAction, &QAction::triggered, this, &TForm4::Modifica1Click);
    connect(m_listaSate, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_listMenu->popup(m_listaSate->viewport()->mapToGlobal(at)); });

    auto* villageButtons = new QHBoxLayout;
    villageButtons->addWidget(m_speedButton1);
    villageButtons->addWidget(m_speedButton2);
    villageButtons->addWidget(m_speedButton3);
    auto* villageLayout = new QVBoxLayout(villages);
    villageLayout->addWidget(m_inSat);
    villageLayout->addLayout(villageButtons);
    villageLayout->addWidget(m_listaSate, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(constants, 3);
    columns->addWidget(villages, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addLayout(columns, 1);
    return page;
}

QWidget* TForm4::buildUtilitiesPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* heading = new QLabel(QStringLiteral("Utilitare"), page);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    m_merge = commandButton(QStringLiteral("&Adauga o salvare KT"), QStringLiteral("ConvexBtn4"), page,
                     QStringLiteral("Adaugare date dintr-un alt program KT."));
    m_missing = commandButton(QStringLiteral("&Cauta pozitiile lipsa"), QStringLiteral("MissingButton"), page,
                       QStringLiteral("Cauta in fiecare volum pozitiile lipsa."));
    m_checkData = commandButton(QStringLiteral("&Porneste Verificarea"), QStringLiteral("CheckButton"), page,
                         QStringLiteral("Face o verificare a corectitudinii bazei de date."));
    connect(m_merge, &QPushButton::clicked, this, &TForm4::ConvexBtn4Click);
    connect(m_missing, &QPushButton::clicked, this, &TForm4::CautaPozitiiLipsaClick);
    connect(m_checkData, &QPushButton::clicked, this, &TForm4::PornesteVerificareaClick);
    m_memo1 = new QPlainTextEdit(page);
    m_memo1->setObjectName(QStringLiteral("Memo1"));
    m_memo1->setReadOnly(true);
    m_memo2 = new QPlainTextEdit(page);
    m_memo2->setObjectName(QStringLiteral("Memo2"));
    m_memo2->setReadOnly(true);

    auto* mergeGroup = new QGroupBox(QStringLiteral("Adaugare pozitii dintr-o salvare"), page);
    mergeGroup->setObjectName(QStringLiteral("GroupMerge"));
    auto* mergeLayout = new QVBoxLayout(mergeGroup);
    mergeLayout->addWidget(m_merge);
    mergeLayout->addWidget(m_memo1, 1);
    auto* missingGroup = new QGroupBox(QStringLiteral("Depistare pozitii lipsa"), page);
    missingGroup->setObjectName(QStringLiteral("GroupMissing"));
    (new QVBoxLayout(missingGroup))->addWidget(m_missing);
    auto* checkGroup = new QGroupBox(QStringLiteral("Verificare date"), page);
    checkGroup->setObjectName(QStringLiteral("GroupCheck"));
    (new QVBoxLayout(checkGroup))->addWidget(m_checkData);
    auto* checks = new QHBoxLayout;
    checks->addWidget(missingGroup);
    checks->addWidget(checkGroup);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addWidget(mergeGroup, 1);
    layout->addLayout(checks);
    layout->addWidget(m_memo2, 1);
    return page;
}

// ---- constants ----

void TForm4::setConstants(const CouncilConstants& c)
{
    m_numePrimarie->setText(c.NumePrimarie);
    m_comuna->setText(c.Comuna);
    m_codFiscal->setText(c.CodFiscal);
    m_judet->setText(c.JUDET);
    m_primar->setText(c.PRIMAR);
    m_secretar->setText(c.SECRETAR);
    m_tipLoc->setCurrentIndex(int(TipuriLocalitate().indexOf(c.TIPLOC)));
}

CouncilConstants TForm4::Constante() const
{
    CouncilConstants c;
    c.NumePrimarie = m_numePrimarie->text();
    c.Comuna = m_comuna->text();
    c.CodFiscal = m_codFiscal->text();
    c.JUDET = m_judet->text();
    c.PRIMAR = m_primar->text();
    c.SECRETAR = m_secretar->text();
    c.TIPLOC = m_tipLoc->currentIndex() < 0 ? QString() : m_tipLoc->currentText();
    return c;
}

QString TForm4::ComunaText() const { return m_comuna->text(); }
QString TForm4::JudetText() const { return m_judet->text(); }
QString TForm4::TipLocText() const { return Constante().TIPLOC; }
QString TForm4::TipLocalitate() const { return velmor::TipLocalitate(TipLocText()); }
QString TForm4::CaleSalvariText() const { return m_caleSalvari->text(); }

QStringList TForm4::Sate() const
{
    QStringList villages;
    for (int i = 0; i < m_listaSate->count(); ++i)
        villages << m_listaSate->item(i)->text();
    return villages;
}

void TForm4::setVillages(const QStringList& villages)
{
    m_listaSate->clear();
    m_listaSate->addItems(villages);
    m_ctx.profile.setVillages(villages);
}

void TForm4::IncarcaConstante()
{
    Administration admin(m_ctx);
    m_ctx.year.reload();
    m_dataPath->setText(QDir::toNativeSeparators(m_ctx.dataDirectory));
    try {
        setVillages(admin.readVillages());
    } catch (const ServiceError& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Administrare"));
    }
    try {
        setConstants(admin.readConstants(Constante()));
        m_ctx.profile.setConstants(Constante());
    } catch (const ServiceError& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Administrare"));
    }
    CheckBox1Click();
    m_caleSalvari->setText(admin.readBackupDirectory());
    m_ctx.profile.setBackupDirectory(m_caleSalvari->text());
}

void TForm4::Deschide()
{
    m_pageList->setCurrentRow(0);
    exec();
    if (m_endRequested)
        throw data::ProgramTermination(QStringLiteral("Baza de date a fost schimbata."));
}

void TForm4::showEvent(QShowEvent* event)
{
    m_memo1->setPlainText(QStringLiteral("Adaugare date din alt program KT.\n") + QString(35, QLatin1Char('*')));
    m_memo2->clear();
    QDialog::showEvent(event);
}

void TForm4::done(int result)
{
    Administration(m_ctx).saveOnClose(Sate(), Constante());
    QDialog::done(result);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_edit2) {
                m_edit3->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (watched == m_edit3) {
                m_schimbaParola->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (watched == m_inSat) {
                SpeedButton1Click();
                return true;
            }
            const QList<QWidget*> order = { m_numePrimarie, m_tipLoc, m_comuna, m_codFiscal, m_judet, m_primar, m_secretar };
            const qsizetype index = order.indexOf(qobject_cast<QWidget*>(watched));
            if (index >= 0) {
                (index + 1 < order.size() ? order[index + 1] : static_cast<QWidget*>(m_inSat))->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- general page ----

void TForm4::requestProgramEnd()
{
    m_endRequested = true;
    emit programEndRequested();
    if (isVisible())
        accept();
}

void TForm4::SetCaleLocalClick()
{
    if (Administration(m_ctx).useLocalData())
        requestProgramEnd();
}

void TForm4::SetCaleNetClick()
{
    if (Administration(m_ctx).useNetworkData())
        requestProgramEnd();
}

void TForm4::ConvexBtn6Click()
{
    QString text = m_caleSalvari->text();
    Administration(m_ctx).chooseBackupDirectory(text);
    m_caleSalvari->setText(text);
}

void TForm4::ConvexBtn5Click()
{
    QString text = m_caleSalvari->text();
    Administration(m_ctx).stopAutomaticBackup(text);
    m_caleSalvari->setText(text);
}

void TForm4::SchimbaParolaClick()
{
    const AccessControl::ChangeOutcome outcome = AccessControl(m_ctx).SchimbaParola(m_edit2->text(), m_edit3->text());
    if (outcome == AccessControl::ChangeOutcome::Mismatch)
        QApplication::beep();
    if (outcome == AccessControl::ChangeOutcome::Changed) {
        m_edit2->clear();
        m_edit3->clear();
    }
}

void TForm4::CheckBox1Click()
{
    m_ctx.setUnlocked(m_checkBox1->isChecked());
}

void TForm4::TarifeStabiliteClick()
{
    if (!m_tarife) {
        m_tarife = new TFTarife(m_ctx, this);
        try {
            m_tarife->Incarca();
        } catch (const ServiceError& e) {
            showError(*m_ctx.interaction, e, QStringLiteral("Tarife stabilite"));
        }
    }
    m_tarifeStabilite->setEnabled(false);
    m_tarife->Deschide();
    m_tarifeStabilite->setEnabled(true);
}

// ---- utilities ----

void TForm4::ConvexBtn4Click()
{
    Interaction& ui = *m_ctx.interaction;
    const QString archive = ui.chooseOpenFile(QStringLiteral("Indicati salvarea KT de preluat!"), QString(),
                                              QStringLiteral("Salvare KT (*.kt)"));
    if (archive.isEmpty())
        return;
    RegisterMerge merge(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.settings, ui);
    merge.log = [this](const QString& line) {
        m_memo1->appendPlainText(line);
        m_ctx.interaction->processEvents();
    };
    m_merge->setEnabled(false);
    try {
        const MergeReport report = merge.run(archive, m_ctx.workingYear(), Sate());
        if (!report.cancelled) {
            setVillages(report.villages);
            m_ctx.profile.setVillages(report.villages);
        }
    } catch (const MergeError& e) {
        if (e.balloon())
            ui.ArataProblema(e.message(), QStringLiteral("Memo1"));
        else
            ui.Mesaj(QStringLiteral("Lipire"), e.message(), KindError, ButtonsOk);
    } catch (const std::exception& e) {
        showError(ui, e, QStringLiteral("Lipire"));
    }
    m_merge->setEnabled(true);
}

void TForm4::CautaPozitiiLipsaClick()
{
    m_memo2->clear();
    try {
        DataChecks checks(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.interaction);
        m_memo2->setPlainText(checks.missingPositions(m_ctx.workingYear()).join(QLatin1Char('\n')));
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Pozitii lipsa"));
    }
}

void TForm4::PornesteVerificareaClick()
{
    TForm38 form(m_ctx, this);
    form.Deschide();
}

// ---- villages ----

int TForm4::selectedVillage() const
{
    const QList<QListWidgetItem*> selected = m_listaSate->selectedItems();
    return selected.isEmpty() ? -1 : m_listaSate->row(selected.first());
}

void TForm4::runVillageCommand(const std::function<void(QStringList&)>& command)
{
    QStringList villages = Sate();
    try {
        command(villages);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e);
    }
    if (villages != Sate()) {
        // A renamed village stays selected; after an addition or removal nothing is.
        const int row = villages.size() == m_listaSate->count() ? selectedVillage() : -1;
        setVillages(villages);
        if (row >= 0 && row < m_listaSate->count())
            m_listaSate->setCurrentRow(row);
    }
}

void TForm4::SpeedButton1Click()
{
    runVillageCommand([this](QStringList& villages) {
        QString text = m_inSat->text();
        VillageMaintenance(m_ctx).addVillage(villages, text);
        m_inSat->setText(text);
    });
}

void TForm4::Modifica1Click()
{
    runVillageCommand([this](QStringList& villages) {
        QString text = m_inSat->text();
        if (VillageMaintenance(m_ctx).takeForCorrection(villages, selectedVillage(), text) == VillageMaintenance::Outcome::Done) {
            m_inSat->setText(text);
            m_inSat->setFocus(Qt::OtherFocusReason);
        }
    });
}

void TForm4::SpeedButton3Click()
{
    runVillageCommand([this](QStringList& villages) { VillageMaintenance(m_ctx).renameVillage(villages, selectedVillage()); });
}

void TForm4::SpeedButton2Click()
{
    m_speedButton2->setEnabled(false);
    runVillageCommand([this](QStringList& villages) { VillageMaintenance(m_ctx).deleteVillage(villages, selectedVillage()); });
    m_speedButton2->setEnabled(true);
}

}
