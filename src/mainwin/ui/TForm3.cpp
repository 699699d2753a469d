#include "mainwin/ui/TForm3.h"

#include "core/ErrorReport.h"
#include "mainwin/ui/ToolbarIcons.h"

#include "data/Schema.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "ui/GradientPanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

namespace velmor {

namespace {

struct ReportItem {
    const char* name;
    const char* caption;
};

// The reports menu, in order.
const ReportItem kReports[] = {
    {"RAGR21", "R.AGR.2"},
    {"Contabilitate1", "Contabilitate"},
    {"RomTelecom1", "RomTelecom"},
    {"RepertoarPozitii1", "Repertoar Pozitii"},
    {"Situatieferme1", "Situatie ferme"},
    {"Listalocuitorinrstrada1", "Lista Locuitori dupa Strada"},
    {"ListeGospodariidupanrmembri1", "Liste Gospodarii dupa nr.membri"},
    {"ListaCL", "Lista Constructiilor cu destinatie de locuinta"},
    {"ListaExploatatiiAgricole1", "Recensamant General 2010"},
    {"Raport1APIA1", "Raport 1 APIA"},
    {"RaportStatistica1", "Raport Directia Statistica"},
    {"RaportStrainasi1", "Raport Strainasi"},
};

// The legislation menu: item name (also the document's base name) and caption.
const ReportItem kLaws[] = {
    {"Pop1", "HG 175/2007"},
    {"Pop2", "Ordinul 344/2007"},
    {"Pop3", "Ordinul 431/2008"},
    {"Pop4", "OG 28/2008"},
    {"Pop5", "Legea 98/2009"},
};

QString windowName(TForm3::Window window)
{
    switch (window) {
    case TForm3::Window::Evidente: return QStringLiteral("Evidente");
    case TForm3::Window::Totaluri: return QStringLiteral("Totaluri");
    case TForm3::Window::Liste: return QStringLiteral("Liste");
    case TForm3::Window::Parcele: return QStringLiteral("Parcele");
    }
    return QString();
}

}

TForm3::TForm3(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
    , m_logic(ctx)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QString::fromLatin1(AppContext::VersionTitle));

    m_strip = GradientPanel::titleStrip(this, QStringLiteral("ToolBar1"));
    auto* layout = new QHBoxLayout(m_strip);
    layout->setContentsMargins(2, 2, 6, 2);
    layout->setSpacing(0);
    setCentralWidget(m_strip);

    m_toolButton9 = addButton(QStringLiteral("ToolButton9"), QStringLiteral("Evidente"),
                              QStringLiteral("Adaugare sau Modificare date."), toolbarIcon(ToolbarPicture::Evidente));
    m_toolButton7 = addButton(QStringLiteral("ToolButton7"), QStringLiteral("Totaluri"),
                              QStringLiteral("Totalizari pe localitati, pe capitole si articole."),
                              toolbarIcon(ToolbarPicture::Totaluri));
    m_toolButton5 = addButton(QStringLiteral("ToolButton5"), QStringLiteral("Liste"),
                              QStringLiteral("Liste cu persoane si bunuri."), toolbarIcon(ToolbarPicture::Liste));
    m_toolButton6 = addButton(QStringLiteral("ToolButton6"), QStringLiteral("Raportari "),
                              QStringLiteral("Formulare de raportari diverse."), toolbarIcon(ToolbarPicture::Raportari));
    m_toolButton8 = addButton(QStringLiteral("ToolButton8"), QStringLiteral("Parcele"), QStringLiteral("Cautare tarla."),
                              toolbarIcon(ToolbarPicture::Parcele));
    m_legisB = addButton(QStringLiteral("LegisB"), QStringLiteral("Legislatie"), QStringLiteral("Legislatie in vigoare."),
                         toolbarIcon(ToolbarPicture::Legislatie));
    m_toolButton2 = addButton(QStringLiteral("ToolButton2"), QStringLiteral(" Administrare"),
                              QStringLiteral("Administrare program."), toolbarIcon(ToolbarPicture::Locked));
    m_savBut = addButton(QStringLiteral("SavBut"), QStringLiteral("Salvare"),
                         QStringLiteral("Salvare - Incarcare baza de date."), toolbarIcon(ToolbarPicture::Salvare));
    m_toolButton1 = addButton(QStringLiteral("ToolButton1"), QStringLiteral(" Iesire"), QStringLiteral("Inchide program."),
                              toolbarIcon(ToolbarPicture::Iesire));
    layout->addStretch(1);

    auto* yearLabel = new QLabel(QStringLiteral("Anul:"), m_strip);
    yearLabel->setObjectName(QStringLiteral("Label1"));
    QFont bold = yearLabel->font();
    bold.setBold(true);
    yearLabel->setFont(bold);
    layout->addWidget(yearLabel);
    m_anul = new QComboBox(m_strip);
    m_anul->setObjectName(QStringLiteral("Anul"));
    m_anul->setEditable(false);
    m_anul->setMinimumWidth(90);
    QFont yearFont = m_anul->font();
    yearFont.setBold(true);
    yearFont.setPointSize(yearFont.pointSize() + 2);
    m_anul->setFont(yearFont);
    m_anul->setToolTip(QStringLiteral("Anul de lucru"));
    layout->addWidget(m_anul);

    m_statusText = new QLabel(QStringLiteral("ESC - Iesire din program"), this);
    m_statusText->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(m_statusText, 1);
    statusBar()->setSizeGripEnabled(false);

    buildMenus();

    connect(m_toolButton9, &QToolButton::clicked, this, [this] { runAction([this] { onEvidente(); }); });
    connect(m_toolButton7, &QToolButton::clicked, this,
            [this] { runAction([this] { openToolbarWindow(Window::Totaluri, m_toolButton7); }); });
    connect(m_toolButton5, &QToolButton::clicked, this,
            [this] { runAction([this] { openToolbarWindow(Window::Liste, m_toolButton5); }); });
    connect(m_toolButton8, &QToolButton::clicked, this,
            [this] { runAction([this] { openToolbarWindow(Window::Parcele, m_toolButton8); }); });
    connect(m_toolButton6, &QToolButton::clicked, this, [this] { m_popupMenu1->popup(reportsMenuPosition()); });
    connect(m_toolButton2, &QToolButton::clicked, this, [this] { runAction([this] { onAdministrare(); }); });
    connect(m_savBut, &QToolButton::clicked, this, [this] {
        runAction([this] {
            if (m_openSave)
                m_openSave();
            else
                m_logic.windowNotAvailable(QStringLiteral("Salvare - Incarcare"));
        });
    });
    connect(m_toolButton1, &QToolButton::clicked, this, &QWidget::close);

    // The window sees these keys before its controls.
    for (const QKeySequence key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F12)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, m_toolButton2, &QToolButton::click);

    QPointer<TForm3> self(this);
    // The year box shows the working year's list and chooses the working year.
    connect(&m_ctx.year, &WorkingYear::yearsChanged, this, [this](const QStringList& years) {
        const QSignalBlocker blocker(m_anul);
        m_anul->clear();
        m_anul->addItems(years);
        m_anul->setCurrentIndex(m_anul->count() - 1);
    });
    connect(&m_ctx.year, &WorkingYear::changed, this, [this](const QString& year) {
        const int index = m_anul->findText(year, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0 && index != m_anul->currentIndex())
            m_anul->setCurrentIndex(index);
    });
    connect(m_anul, &QComboBox::currentTextChanged, &m_ctx.year, &WorkingYear::setText);
    connect(&m_ctx.unlock, &UnlockState::changed, this, [self](bool unlocked) {
        if (self)
            self->applyUnlocked(unlocked);
    });
    applyUnlocked(m_ctx.unlocked());

    m_logic.setInputQuery2([this](const QString& caption, const QString& label, QString& value) {
        const std::optional<QString> answer = m_ctx.interaction->askText(caption, label, QString(), true);
        if (!answer)
            return false;
        value = *answer;
        return true;
    });

    setMinimumWidth(400);
    adjustSize();
    resize(width(), sizeHint().height());
}

TForm3::~TForm3() = default;

QToolButton* TForm3::addButton(const QString& name, const QString& caption, const QString& hint, const QIcon& icon)
{
    auto* button = new QToolButton(m_strip);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    m_strip->layout()->addWidget(button);
    return button;
}

void TForm3::buildMenus()
{
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const ReportItem& item : kReports) {
        QAction* action = m_popupMenu1->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        const QString name = QString::fromLatin1(item.name);
        const QString caption = QString::fromLatin1(item.caption);
        connect(action, &QAction::triggered, this, [this, name, caption] {
            runAction([this, name, caption] { onReport(name, caption); });
        });
    }

    m_popupMenu2 = new QMenu(this);
    m_popupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    for (const ReportItem& item : kLaws) {
        QAction* action = m_popupMenu2->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        // All items share one handler, which tells them apart by the item's name.
        connect(action, &QAction::triggered, this, [this, action] {
            runAction([this, action] { m_logic.Aratalege(action->objectName()); });
        });
    }
    m_legisB->setMenu(m_popupMenu2);
    m_legisB->setPopupMode(QToolButton::InstantPopup);
}

void TForm3::IncarcaAnii()
{
    m_ctx.year.reload();
}

void TForm3::setWindowOpener(Window window, std::function<void()> open)
{
    m_windowOpeners.insert(int(window), std::move(open));
}

void TForm3::setReport(const QString& itemName, std::function<void()> run)
{
    m_reports.insert(itemName, std::move(run));
}

void TForm3::Deschide()
{
    show();
    raise();
    activateWindow();
}

void TForm3::terminateProgram()
{
    m_terminated = true;
    close();
}

QPoint TForm3::reportsMenuPosition() const
{
    return QPoint(m_toolButton6->mapToGlobal(QPoint(0, 0)).x(), geometry().top() + 85);
}

void TForm3::runAction(const std::function<void()>& action)
{
    try {
        action();
    } catch (const data::ProgramTermination&) {
        terminateProgram();
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
}

void TForm3::openToolbarWindow(Window window, QToolButton* button)
{
    const std::function<void()> open = m_windowOpeners.value(int(window));
    m_logic.guardedOpen([button](bool on) { button->setEnabled(on); }, [this, window, &open] {
        if (open)
            open();
        else
            m_logic.windowNotAvailable(windowName(window));
    });
}

void TForm3::onEvidente()
{
    if (!m_logic.EvidenteChecks())
        return;
    openToolbarWindow(Window::Evidente, m_toolButton9);
}

void TForm3::onAdministrare()
{
    m_logic.Administrare();
}

void TForm3::onReport(const QString& itemName, const QString& caption)
{
    const std::function<void()> run = m_reports.value(itemName);
    if (run)
        run();
    else
        m_logic.reportNotAvailable(caption);
}

void TForm3::applyUnlocked(bool unlocked)
{
    m_toolButton2->setIcon(toolbarIcon(unlocked ? ToolbarPicture::Unlocked : ToolbarPicture::Locked));
    m_savBut->setEnabled(unlocked);
}

void TForm3::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (const QScreen* current = screen()) {
        const QRect available = current->availableGeometry();
        const int frame = frameGeometry().width() - geometry().width();
        resize(available.width() - std::max(0, frame), height());
        move(available.left(), y());
    }
}

void TForm3::closeEvent(QCloseEvent* event)
{
    if (m_terminated) {
        event->accept();
        emit closed();
        return;
    }
    if (m_inCloseSequence) {
        event->ignore();
        return;
    }
    m_inCloseSequence = true;
    MainWindowLogic::CloseDecision decision = MainWindowLogic::CloseDecision::Stay;
    try {
        decision = m_logic.CloseSequence();
    } catch (const std::exception& error) {
        // Once the backup was offered there is no way back: the program still ends.
        showError(*m_ctx.interaction, error);
        decision = MainWindowLogic::CloseDecision::Terminate;
    }
    m_inCloseSequence = false;
    if (decision == MainWindowLogic::CloseDecision::Terminate) {
        m_terminated = true;
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

}
