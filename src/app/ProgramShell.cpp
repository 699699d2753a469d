#include "app/ProgramShell.h"

#include "reports/TemplateExport.h"

#include "admin/Models.h"
#include "admin/ui/TForm21.h"
#include "admin/ui/TForm4.h"
#include "admin/ui/TForm5.h"
#include "app/TForm1.h"
#include "mainwin/ui/TForm3.h"
#include "core/Error.h"
#include "core/ErrorReport.h"
#include "register/PlotValueLists.h"
#include "tariffs/ui/TFTarife.h"
#include "register/ui/TForm6.h"
#include "search/RAgr2Report.h"
#include "search/ui/TForm33.h"
#include "search/ui/TForm34.h"
#include "search/ui/TForm39.h"
#include "search/ui/TForm8.h"
#include "reports/ui/TForm7.h"
#include "reports/Census.h"
#include "reports/ui/TRecensamantF.h"
#include "search/ui/TTarlaC.h"
#include "app/ShellReports.h"

#include <QDateEdit>
#include <QLineEdit>
#include "core/Interaction.h"
#include "services/RegistryStore.h"
#include "ui/DesktopInteraction.h"
#include "ui/TContor.h"
#include "ui/TErori.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace velmor {

ProgramShell::ProgramShell(const QString& programHome, RegistryStore* registry, Interaction* interaction)
    : m_home(programHome)
{
    if (!registry) {
        m_ownRegistry = std::make_unique<RegistryStore>();
        registry = m_ownRegistry.get();
    }
    m_ctx.registry = registry;
    m_ctx.programDirectory = QDir::fromNativeSeparators(programHome);

    // The message dialog and the progress window serve every window, so they come first.
    m_erori = std::make_unique<TErori>();
    m_erori->setObjectName(QStringLiteral("TErori"));
    m_contor = std::make_unique<TContor>();
    m_contor->setObjectName(QStringLiteral("TContor"));
    if (!interaction) {
        m_ownInteraction = std::make_unique<DesktopInteraction>(m_erori.get(), m_contor.get());
        interaction = m_ownInteraction.get();
    }
    m_ctx.interaction = interaction;
    m_sequence = std::make_unique<StartupSequence>(m_ctx, m_home);
}

ProgramShell::~ProgramShell() = default;

void ProgramShell::createWindows()
{
    if (m_form1)
        return;
    m_form1 = std::make_unique<TForm1>();
    m_form3 = std::make_unique<TForm3>(m_ctx);
    m_form4 = std::make_unique<TForm4>(m_ctx, nullptr);
    m_form5 = std::make_unique<TForm5>(nullptr);
    m_form6 = std::make_unique<TForm6>(m_ctx, nullptr);
    m_form21 = std::make_unique<TForm21>(m_ctx, nullptr);
    m_form33 = std::make_unique<TForm33>(m_ctx, nullptr);
    m_form34 = std::make_unique<TForm34>(m_ctx, nullptr);
    m_form39 = std::make_unique<TForm39>(m_ctx, nullptr);
    m_form8 = std::make_unique<search::TForm8>(m_ctx, nullptr);
    m_form7 = std::make_unique<reports::TForm7>(m_ctx, nullptr);
    m_recensamant = std::make_unique<reports::TRecensamantF>(m_ctx, nullptr);
    m_tarlaC = std::make_unique<TTarlaC>(m_ctx, nullptr);
    m_tarife = std::make_unique<TFTarife>(m_ctx, nullptr);
    m_form4->setTarife(m_tarife.get());
    m_sequence->hooks() = makeHooks();
    wireMainWindow();
    m_form1->setStartupSequence([this] {
        const StartupSequence::Result result = runStartup();
        if (result.outcome == StartupSequence::Outcome::Terminate) {
            m_form1->hide();
            emit finished(1);
            return;
        }
        handOver();
    });
    connect(m_form3.get(), &TForm3::closed, this, [this] { emit finished(0); });
}

StartupSequence::Hooks ProgramShell::makeHooks()
{
    StartupSequence::Hooks hooks;
    hooks.setStatus = [this](const QString& text) { m_form1->Label5()->setText(text); };
    hooks.setBar = [this](int position) { m_form1->Bar()->setValue(position); };
    hooks.setMainCaption = [this] { m_form3->setWindowTitle(QString::fromLatin1(AppContext::VersionTitle)); };
    hooks.showDataPath = [this] { m_form4->DataPath()->setText(QDir::toNativeSeparators(m_ctx.dataDirectory)); };
    hooks.loadConstants = [this] { m_form4->IncarcaConstante(); };
    hooks.loadTariffs = [this] { m_tarife->Incarca(); };
    hooks.loadPlotLists = [this] {
        try {
            PlotValueLists(*m_ctx.engine, m_ctx.dataDirectory, *m_ctx.settings).IncarcaListe();
        } catch (const Error& e) {
            // The lists only help typing; the program goes on without them.
            showError(*m_ctx.interaction, e, QStringLiteral("Parcele"));
        }
    };
    // The sequence runs the schema upgrade itself. Not built yet: the household editor's
    // square-metre box (whose setting the sequence reads and writes back itself).
    hooks.upgrade = nullptr;
    hooks.applySquareMetres = nullptr;
    return hooks;
}

void ProgramShell::wireMainWindow()
{
    MainWindowLogic& logic = m_form3->logic();
    logic.setOpenAdministration([this] { m_form4->Deschide(); });
    logic.setInputQuery2([this](const QString& caption, const QString& label, QString& value) {
        return m_form5->InputQuery2(caption, label, value);
    });
    m_form3->setWindowOpener(TForm3::Window::Evidente, [this] { m_form6->Deschide(); });
    m_form3->setWindowOpener(TForm3::Window::Totaluri, [this] { m_form7->Deschide(); });
    m_form3->setWindowOpener(TForm3::Window::Liste, [this] { m_form8->PornesteListele(); });
    m_form3->setWindowOpener(TForm3::Window::Parcele, [this] { m_tarlaC->Deschide(); });
    // The editor's search by name; the search window sits above the editor's layer.
    m_form6->setSearchByName([this](const QString& village) { return m_form33->Alege(village); });
    m_form6->setCertificate([this](qint64 household) { m_form34->AdeverintaOk(household); });
    m_form34->setTariffsWindow([this] { m_tarife->Deschide(); });
    m_form3->setSaveWindow([this] { m_form21->Deschide(); });
    logic.setAutomaticBackup([this](const QString& archive) { m_form21->SalvareAutomata(archive); });
    // The reports filled from the built-in Excel templates.
    m_form3->setReport(QStringLiteral("Raport1APIA1"), [this] {
        reports::TemplateExport(reports::TemplateExport::setupFrom(m_ctx)).raport1Apia(m_ctx.workingYear());
    });
    m_form3->setReport(QStringLiteral("RAGR21"), [this] { exportRAgr2(); });
    m_form3->setReport(QStringLiteral("ListaExploatatiiAgricole1"), [this] {
        if (const auto request = m_recensamant->Alege())
            reports::Census(reports::TemplateExport::setupFrom(m_ctx), m_ctx.profile.constants().JUDET, m_ctx.profile.constants().Comuna)
                .run(*request, m_ctx.workingYear());
    });
    wireRegisterReports(*m_form3, m_ctx);
    m_form3->setReport(QStringLiteral("RaportStrainasi1"), [this] {
        reports::TemplateExport(reports::TemplateExport::setupFrom(m_ctx))
            .raportStrainasi(m_ctx.workingYear(), m_ctx.profile.constants().JUDET);
    });
}

void ProgramShell::exportRAgr2()
{
    if (!m_ctx.engine || !m_ctx.settings || !m_ctx.interaction)
        return;
    try {
        if (!m_form39->Adaugare(QStringLiteral("R.AGR.2"), *m_ctx.settings))
            return;
        RAgr2Request request;
        request.year = m_ctx.workingYear().toInt();
        request.siruta = m_form39->Edit1()->text();
        request.number = m_form39->Edit2()->text();
        request.date = m_form39->DateTimePicker1()->date();
        request.council = m_ctx.profile.constants();
        const QString path = RAgr2Report(*m_ctx.engine, m_ctx.dataDirectory)
                                 .write(request, QDir(m_ctx.programDirectory).filePath(QStringLiteral("RAGR2.rtf")),
                                        m_ctx.programDirectory);
        m_ctx.interaction->openFile(path);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Export RAGR 2"));
    }
}

QStringList ProgramShell::installDeliveredModels()
{
    return InstaleazaModele(m_home);
}

void ProgramShell::start()
{
    createWindows();
    m_form1->centre();
    m_form1->show();
}

StartupSequence::Result ProgramShell::runStartup()
{
    createWindows();
    return m_sequence->run();
}

void ProgramShell::handOver()
{
    m_form1->unsetCursor();
    m_form1->hide();
    m_form3->Deschide();
}

void ProgramShell::activate()
{
    QWidget* main = m_form3 && m_form3->isVisible() ? static_cast<QWidget*>(m_form3.get())
                                                    : static_cast<QWidget*>(m_form1.get());
    if (!main)
        return;
    if (main->isMinimized())
        main->showNormal();
    // A window open over the main window comes to the front with it.
    QWidget* target = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main;
    if (target->isMinimized())
        target->showNormal();
    target->raise();
    target->activateWindow();
}

}
