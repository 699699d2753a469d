#include "app/ProgramShell.h"

#include "app/TForm1.h"
#include "mainwin/TForm3.h"
#include "services/Interaction.h"
#include "services/RegistryStore.h"
#include "services/Resources.h"
#include "ui/DesktopInteraction.h"
#include "ui/TContor.h"
#include "ui/TErori.h"

#include "app/OtherWindows.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace velmor {

struct ProgramShell::OtherWindows {
#if VELMOR_HAVE_TFORM4
    std::unique_ptr<TForm4> form4;
#endif
#if VELMOR_HAVE_TFORM5
    std::unique_ptr<TForm5> form5;
#endif
#if VELMOR_HAVE_TFORM21
    std::unique_ptr<TForm21> form21;
#endif
#if VELMOR_HAVE_TFTARIFE
    std::unique_ptr<TFTarife> tarife;
#endif
};

ProgramShell::ProgramShell(const QString& programHome, RegistryStore* registry, Interaction* interaction)
    : m_home(programHome)
    , m_other(std::make_unique<OtherWindows>())
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

TForm4* ProgramShell::form4() const
{
#if VELMOR_HAVE_TFORM4
    return m_other->form4.get();
#else
    return nullptr;
#endif
}

TForm5* ProgramShell::form5() const
{
#if VELMOR_HAVE_TFORM5
    return m_other->form5.get();
#else
    return nullptr;
#endif
}

TForm21* ProgramShell::form21() const
{
#if VELMOR_HAVE_TFORM21
    return m_other->form21.get();
#else
    return nullptr;
#endif
}

TFTarife* ProgramShell::tarife() const
{
#if VELMOR_HAVE_TFTARIFE
    return m_other->tarife.get();
#else
    return nullptr;
#endif
}

void ProgramShell::createWindows()
{
    if (m_form1)
        return;
    m_form1 = std::make_unique<TForm1>();
    m_form3 = std::make_unique<TForm3>(m_ctx);
#if VELMOR_HAVE_TFORM4
    m_other->form4 = std::make_unique<TForm4>(m_ctx, nullptr);
#endif
#if VELMOR_HAVE_TFORM5
    m_other->form5 = std::make_unique<TForm5>(nullptr);
#endif
#if VELMOR_HAVE_TFORM21
    m_other->form21 = std::make_unique<TForm21>(m_ctx, nullptr);
#endif
#if VELMOR_HAVE_TFTARIFE
    m_other->tarife = std::make_unique<TFTarife>(m_ctx, nullptr);
#endif
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
#if VELMOR_HAVE_TFORM4
    hooks.loadConstants = [this] { m_other->form4->IncarcaConstante(); };
#else
    // Without the administration window only the main window's year list is loaded.
    hooks.loadConstants = [this] {
        if (m_ctx.loadYearList)
            m_ctx.loadYearList();
    };
#endif
#if VELMOR_HAVE_TFTARIFE
    hooks.loadTariffs = [this] { m_other->tarife->Incarca(); };
#endif
    // Not built yet: the schema upgrade, the plot window's lists and the household editor's
    // square-metre box (whose setting the sequence reads and writes back itself).
    hooks.upgrade = nullptr;
    hooks.loadPlotLists = nullptr;
    hooks.applySquareMetres = nullptr;
    return hooks;
}

void ProgramShell::wireMainWindow()
{
    MainWindowLogic& logic = m_form3->logic();
#if VELMOR_HAVE_TFORM4
    logic.setOpenAdministration([this] { m_other->form4->Deschide(); });
#endif
#if VELMOR_HAVE_TFORM5
    logic.setInputQuery2([this](const QString& caption, const QString& label, QString& value) {
        return m_other->form5->InputQuery2(caption, label, value);
    });
#endif
#if VELMOR_HAVE_TFORM21
    m_form3->setSaveWindow([this] { m_other->form21->Deschide(); });
    logic.setAutomaticBackup([this](const QString& archive) { m_other->form21->SalvareAutomata(archive); });
#endif
    Q_UNUSED(logic);
}

QStringList ProgramShell::installDeliveredModels()
{
    QStringList missing;
    const QDir home(m_home);
    for (const DeliveredModel& model : deliveredModels()) {
        const QString target = home.filePath(model.fileName);
        if (QFileInfo::exists(target))
            continue;
        if (!ExtrageResursa(model.resourceType, model.resourceName, target))
            missing << model.fileName;
    }
    return missing;
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
    QWidget* window = m_form3 && m_form3->isVisible() ? static_cast<QWidget*>(m_form3.get())
                                                      : static_cast<QWidget*>(m_form1.get());
    if (QWidget* modal = QApplication::activeModalWidget())
        window = modal;
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

}
