#include "app/Screenshots.h"

#include "admin/ui/TForm21.h"
#include "admin/ui/TForm4.h"
#include "admin/ui/TForm5.h"
#include "tariffs/ui/TFTarife.h"
#include "admin/ui/TForm38.h"
#include "reports/ui/TForm9.h"
#include "reports/ui/TListLocNr.h"
#include "reports/ui/TRecensamantF.h"
#include "search/ui/TForm37.h"
#include "search/ui/TForm8.h"
#include "search/ui/TTarlaC.h"
#include "register/YearTakeover.h"
#include "register/ui/TForm6.h"
#include "reports/ui/TForm7.h"
#include "grid/ui/StandardGrid.h"
#include "register/PlotStore.h"
#include "register/ui/PlotsPage.h"
#include "register/ui/TRecalcSelect.h"
#include "register/ui/TTarlaF.h"
#include "search/ui/TForm33.h"
#include "search/ui/TForm34.h"
#include "search/ui/TForm39.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "register/HouseholdPositions.h"
#include "register/ui/IdentificationPage.h"
#include "register/ui/MembersPage.h"
#include "register/ui/PlaceDialogs.h"
#include "register/ui/TForm32.h"
#include "register/ui/TForm35.h"
#include "register/ui/TForm36.h"
#include "services/AppContext.h"
#include "app/ProgramShell.h"
#include "app/TForm1.h"
#include "mainwin/ui/TForm3.h"
#include "services/RegistryStore.h"
#include "services/ScriptedInteraction.h"
#include "ui/Balloon.h"
#include "ui/TContor.h"
#include "ui/TNumericF.h"
#include "ui/TErori.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QThread>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QToolButton>

namespace velmor {

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

class Shooter {
public:
    Shooter(const QString& directory, QStringList* written, QStringList* log)
        : m_dir(directory)
        , m_written(written)
        , m_log(log)
    {
    }

    bool ok() const { return m_ok; }

    // Shows the widget (without activating anything), grabs it and hides it again when it was
    // hidden before.
    void shoot(QWidget* widget, const QString& name)
    {
        if (!widget)
            return;
        const bool wasVisible = widget->isVisible();
        if (!wasVisible)
            widget->show();
        settle();
        save(widget->grab(), name);
        if (!wasVisible)
            widget->hide();
    }

    void save(const QPixmap& pixmap, const QString& name)
    {
        const QString path = QDir(m_dir).filePath(name + QStringLiteral(".png"));
        if (pixmap.isNull() || !pixmap.save(path, "PNG")) {
            m_ok = false;
            if (m_log)
                *m_log << QStringLiteral("Nu pot scrie imaginea %1").arg(QDir::toNativeSeparators(path));
            return;
        }
        if (m_written)
            *m_written << path;
    }

private:
    QString m_dir;
    QStringList* m_written;
    QStringList* m_log;
    bool m_ok = true;
};

void shootMessage(Shooter& shooter, TErori* erori, const QString& name, const QString& title, const QString& text,
                  int kind, int buttons)
{
    erori->prepare(title, text, kind, buttons);
    shooter.shoot(erori, name);
}

// The plot page on the first household of the list that has plots, and the plot dialog showing
// that household's first plot.
void shootPlots(Shooter& shooter, TForm6& editor)
{
    auto* plots = dynamic_cast<PlotsPage*>(editor.page(13));
    if (!plots)
        return;
    editor.Pregateste(); // the list page's picture closed it
    const int shown = editor.logic().shownCount();
    for (int row = 0; row < shown; ++row) {
        editor.logic().moveToRow(row);
        editor.ButClick(14);
        if (plots->currentPlot() >= 0)
            break;
    }
    shooter.shoot(&editor, QStringLiteral("TForm6_13"));
    if (plots->currentPlot() >= 0) {
        if (AppContext* ctx = &editor.logic().context(); ctx->engine && ctx->settings) {
            PlotStore store(*ctx->engine, ctx->dataDirectory, *ctx->settings);
            plots->dialog()->ArataParcela(store.read(editor.logic().year().toInt(), plots->currentPlot()));
        }
    }
    plots->dialog()->setWindowTitle(QStringLiteral("Tarlale - MODIFICARE"));
    shooter.shoot(plots->dialog(), QStringLiteral("TTarlaF"));
    shooter.shoot(plots->recalcDialog(), QStringLiteral("TRecalcSelect"));
    editor.ButClick(1);
}


// The identification and members pages of the current household, shown as when unlocked but
// without saving anything, and the position, delete-mode and member dialogs filled from it (the
// dialogs empty when the register has no household).
void shootHouseholdPages(Shooter& shooter, TForm6& editor)
{
    auto* identification = qobject_cast<IdentificationPage*>(editor.page(1));
    auto* members = qobject_cast<MembersPage*>(editor.page(2));
    if (!identification || !members)
        return;
    TForm32* member = members->Form32();
    member->setWindowTitle(QStringLiteral("Adaugare"));
    member->CurataCampurile();
    if (editor.logic().hasCurrent()) {
        identification->applyUnlocked(true);
        editor.ButClick(2);
        shooter.shoot(&editor, QStringLiteral("TForm6_1"));
        identification->applyUnlocked(false);
        members->applyUnlocked(true);
        editor.ButClick(3);
        shooter.shoot(&editor, QStringLiteral("TForm6_2"));
        if (members->logic().count() > 0) {
            member->setWindowTitle(QStringLiteral("Modificare"));
            member->fill(members->logic().currentEntry());
        }
        members->applyUnlocked(false);
        editor.ButClick(1);
    }
    shooter.shoot(member, QStringLiteral("TForm32"));

    // Adding next to the current household: its village chosen.
    Place proposal = editor.positions().proposalForAdd();
    const dbf::Value village = editor.logic().currentValue(QStringLiteral("LOCALIT"));
    if (proposal.village.isEmpty() && std::holds_alternative<QString>(village))
        proposal.village = std::get<QString>(village);
    TForm35* place = editor.placeDialogs().Form35();
    place->prepare(PlaceMode::Add, proposal, editor.positions().villages());
    shooter.shoot(place, QStringLiteral("TForm35"));
    TForm36* mode = editor.placeDialogs().Form36();
    mode->prepare();
    shooter.shoot(mode, QStringLiteral("TForm36"));
}

// What every window's pictures are taken with.
struct Shots {
    ProgramShell& shell;
    Shooter& shooter;
    AppContext& ctx;
    QString programHome;
    QStringList* log;

    void note(const char* window, const std::exception& error) const
    {
        if (log)
            *log << QStringLiteral("%1: %2").arg(QLatin1String(window), QString::fromStdString(error.what()));
    }
};

// Shows the latest year with households (the calendar year of the year list may still be empty);
// returns the working year to put back.
QString showLatestYear(AppContext& ctx)
{
    const QString working = ctx.year.text();
    if (ctx.engine && ctx.settings && ctx.interaction) {
        const QString latest =
            YearTakeover(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, *ctx.settings, *ctx.interaction).latestYear();
        if (!latest.isEmpty() && ctx.year.years().contains(latest))
            ctx.year.setText(latest);
    }
    return working;
}

bool shootSplash(Shots& s)
{
    TForm1* splash = s.shell.form1();
    splash->Label6()->setText(TForm1::versionText());
    splash->Label7()->setText(TForm1::versionText());
    splash->Timer1()->stop();
    s.shooter.shoot(splash, QStringLiteral("TForm1"));
    splash->Timer1()->stop();
    return true;
}

bool shootMainWindow(Shots& s)
{
    TForm3* main = s.shell.form3();
    main->Deschide();
    s.shooter.shoot(main, QStringLiteral("TForm3"));

    main->PopupMenu1()->popup(main->reportsMenuPosition());
    s.shooter.shoot(main->PopupMenu1(), QStringLiteral("PopupMenu1"));
    main->PopupMenu1()->hide();
    main->PopupMenu2()->popup(main->LegisB()->mapToGlobal(QPoint(0, main->LegisB()->height())));
    s.shooter.shoot(main->PopupMenu2(), QStringLiteral("PopupMenu2"));
    main->PopupMenu2()->hide();

    // The balloon of a missing legislation document.
    const QString law = QDir::toNativeSeparators(QDir(s.programHome).filePath(QStringLiteral("Pop1.pdf")));
    ArataProblema(QStringLiteral("Nu exista fisierul ") + law + QLatin1Char('!'), main->LegisB());
    s.shooter.shoot(BalloonHint::shared(), QStringLiteral("Hint1"));
    BalloonHint::shared()->hide();
    return true;
}

bool shootMessages(Shots& s)
{
    TErori* erori = s.shell.erori();
    shootMessage(s.shooter, erori, QStringLiteral("TErori_Atentie"), QStringLiteral("ATENTIE !"),
                 QStringLiteral("Nu aveti dreptul sa faceti modificari !\rDaca doriti sa modificati date, apasati "
                                "mai intai butonul Administrare!"),
                 0, 4);
    shootMessage(s.shooter, erori, QStringLiteral("TErori_Eroare"), QStringLiteral("Problema"),
                 QStringLiteral("Introduceti mai intai localitatile la sectiunea Admin !"), 1, 4);
    shootMessage(s.shooter, erori, QStringLiteral("TErori_Informatie"), QStringLiteral("Informatie"),
                 QStringLiteral("Fereastra \"Totaluri\" nu este disponibila in aceasta versiune."), 2, 4);
    shootMessage(s.shooter, erori, QStringLiteral("TErori_Confirmare"), QStringLiteral("Inchidere program"),
                 QStringLiteral("Vreti sa inchideti programul?"), 3, 3);
    return true;
}

bool shootProgress(Shots& s)
{
    TContor* contor = s.shell.contor();
    contor->Label1()->setText(QStringLiteral("Salvez datele actuale..."));
    contor->Bar()->setMaximum(100);
    contor->Bar()->setValue(40);
    s.shooter.shoot(contor, QStringLiteral("TContor"));
    return true;
}

bool shootLogin(Shots& s)
{
    TForm5* login = s.shell.form5();
    login->setWindowTitle(QStringLiteral("IDENTIFICARE ADMIN"));
    login->Label1()->setText(QStringLiteral("PAROLA :"));
    s.shooter.shoot(login, QStringLiteral("TForm5"));
    return true;
}

bool shootBackup(Shots& s)
{
    s.shooter.shoot(s.shell.form21(), QStringLiteral("TForm21"));
    return true;
}

bool shootTariffs(Shots& s)
{
    s.shooter.shoot(s.shell.tarife(), QStringLiteral("TFTarife"));
    return true;
}

// One picture per page of the administration window.
bool shootAdministration(Shots& s)
{
    TForm4* admin = s.shell.form4();
    for (int page = 0; page < admin->PageList()->count(); ++page) {
        admin->PageList()->setCurrentRow(page);
        s.shooter.shoot(admin, QStringLiteral("TForm4_%1").arg(page + 1));
    }
    return true;
}

// The verification window of the administration's utilities page.
bool shootVerification(Shots& s)
{
    if (s.ctx.engine && s.ctx.interaction) {
        TForm38 checks(s.ctx, s.shell.form4());
        s.shooter.shoot(&checks, QStringLiteral("TForm38"));
    }
    return true;
}

// The household register editor's list page, on the home's data, a page of each chapter (pages
// 3 to 12) for the list's first household, the plots and the household's own pages.
bool shootEditor(Shots& s)
{
    TForm6* editor = s.shell.form6();
    try {
        const QString working = showLatestYear(s.ctx);
        editor->Pregateste();
        s.shooter.shoot(editor, QStringLiteral("TForm6_0"));
        for (int page = 3; page <= 12; ++page) {
            editor->ButClick(page + 1);
            s.shooter.shoot(editor, QStringLiteral("TForm6_%1").arg(page));
        }
        shootPlots(s.shooter, *editor);
        shootHouseholdPages(s.shooter, *editor);
        editor->Inchide();
        s.ctx.year.setText(working);
    } catch (const std::exception& error) {
        s.note("TForm6", error);
        editor->Inchide();
        return false;
    }
    return true;
}

// The search by name, listing the members of the latest year with households.
bool shootSearch(Shots& s)
{
    TForm33* search = s.shell.form33();
    try {
        const QString working = showLatestYear(s.ctx);
        search->Pregateste(HouseholdEditor::allVillages());
        s.shooter.shoot(search, QStringLiteral("TForm33"));
        search->logic().close();
        s.ctx.year.setText(working);
    } catch (const std::exception& error) {
        s.note("TForm33", error);
        search->hide();
        return false;
    }
    return true;
}

// The certificate window for a household of the latest year that has members.
bool shootCertificate(Shots& s)
{
    try {
        if (s.ctx.engine) {
            const engine::ResultSet found = s.ctx.engine->select(
                QStringLiteral("SELECT I.CODID FROM ") + engine::quotedPath(s.ctx.tablePath(QStringLiteral("Identificare.dbf")))
                + QStringLiteral(" I WHERE I.CODID IN (SELECT CODID FROM ") + engine::quotedPath(s.ctx.tablePath(QStringLiteral("CAP1.dbf")))
                + QStringLiteral(") ORDER BY I.ANUL DESC, I.CODID LIMIT 1"));
            if (!found.rows.empty()) {
                if (const auto* codid = std::get_if<std::int64_t>(&found.rows.front().front());
                    codid && s.shell.form34()->Pregateste(*codid)) {
                    s.shell.form34()->CheckBox(1)->setChecked(true);
                    s.shell.form34()->CheckBox(12)->setChecked(true);
                    s.shooter.shoot(s.shell.form34(), QStringLiteral("TForm34"));
                }
            }
        }
    } catch (const std::exception& error) {
        s.note("TForm34", error);
    }
    return true;
}

// The totals window: the filter page, then every page with the totals built (pages 2-7 showing
// their chart).
bool shootTotals(Shots& s)
{
    reports::TForm7* totals = s.shell.form7();
    if (!totals)
        return true;
    try {
        const QString working = showLatestYear(s.ctx);
        totals->prepare();
        s.shooter.shoot(totals, QStringLiteral("TForm7_0"));
        if (totals->grid(0)->model()->rowCount() > 0)
            totals->RapB1Click();
        if (totals->totals().built()) {
            for (int page = 1; page <= 10; ++page) {
                totals->pressPage(page);
                totals->showChart(page >= 2 && page <= 7);
                s.shooter.shoot(totals, QStringLiteral("TForm7_%1").arg(page));
            }
        }
        totals->totals().removeTables();
        totals->hide();
        s.ctx.year.setText(working);
    } catch (const std::exception& error) {
        s.note("TForm7", error);
    }
    return true;
}

// The lists window with a few advanced items, and the advanced list they give.
bool shootLists(Shots& s)
{
    search::TForm8* lists = s.shell.form8();
    if (!lists || !s.ctx.engine || !s.ctx.interaction)
        return true;
    try {
        lists->prepare();
        if (lists->choices().columns().size() == search::ListChoices::fixedColumns) {
            lists->ComboBox3()->setCurrentIndex(1);
            lists->BitBtn4Click();
            lists->ComboBox3()->setCurrentIndex(5);
            lists->BitBtn4Click();
            lists->ValMin()->setText(QStringLiteral("1"));
            lists->BitBtn6Click();
            lists->ValMin()->clear();
        }
        s.shooter.shoot(lists, QStringLiteral("TForm8"));
        search::AdvancedList list(*s.ctx.engine, s.ctx.dataDirectory, s.ctx.programDirectory, s.ctx.workingYear().toLongLong());
        lists->form37()->load(list.build(lists->choices(), lists->filter()));
        s.shooter.shoot(lists->form37(), QStringLiteral("TForm37"));
    } catch (const std::exception& error) {
        s.note("TForm8", error);
    }
    return true;
}

// The census dialog and the plot search over the latest year of the register.
bool shootCensusAndPlots(Shots& s)
{
    const QString working = s.ctx.year.text();
    try {
        showLatestYear(s.ctx);
        s.shell.recensamant()->IncarcaLocalitati();
        s.shell.tarlaC()->pregateste();
    } catch (const std::exception& error) {
        s.note("TTarlaC", error);
    }
    s.shooter.shoot(s.shell.recensamant(), QStringLiteral("TRecensamantF"));
    s.shooter.shoot(s.shell.tarlaC(), QStringLiteral("TTarlaC"));
    s.ctx.year.setText(working);
    return true;
}

// The accounting window and the street dialog of the residents list.
bool shootAccounting(Shots& s)
{
    try {
        reports::TForm9 accounting(s.ctx, nullptr);
        if (accounting.prepare())
            s.shooter.shoot(&accounting, QStringLiteral("TForm9"));
        accounting.closeTables();
        reports::TListLocNr streets(s.ctx, nullptr);
        if (streets.prepare())
            s.shooter.shoot(&streets, QStringLiteral("TListLocNr"));
    } catch (const std::exception& error) {
        s.note("TForm9", error);
    }
    return true;
}

// The R.AGR.2 header, filled by hand: opening it for real would take a report number.
bool shootReportHeader(Shots& s)
{
    TForm39* header = s.shell.form39();
    header->setWindowTitle(QStringLiteral("R.AGR.2"));
    header->Edit2()->setText(QStringLiteral("1"));
    header->DateTimePicker1()->setDate(QDate::currentDate());
    s.shooter.shoot(header, QStringLiteral("TForm39"));
    return true;
}

// The windows in the order they are taken; one that returns false ends the run as failed.
bool (*const kWindows[])(Shots&) {
    shootSplash, shootMainWindow, shootMessages, shootProgress, shootLogin, shootBackup, shootTariffs,
    shootAdministration, shootVerification, shootEditor, shootSearch, shootCertificate, shootTotals, shootLists,
    shootCensusAndPlots, shootAccounting, shootReportHeader,
};

}

int takeScreenshots(const QString& programHome, const QString& directory, QStringList* written, QStringList* log)
{
    if (!QDir().mkpath(directory)) {
        if (log)
            *log << QStringLiteral("Nu pot crea directorul %1").arg(QDir::toNativeSeparators(directory));
        return 1;
    }

    // Nothing may wait for an answer: messages are recorded and answered as if closed.
    ScriptedInteraction recorder;
    ProgramShell shell(programHome, nullptr, &recorder);
    shell.installDeliveredModels();
    shell.createWindows();
    const StartupSequence::Result result = shell.runStartup();
    if (log) {
        for (const auto& message : recorder.messages())
            *log << QStringLiteral("[%1] %2").arg(message.title, QString(message.text).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    }
    if (result.outcome == StartupSequence::Outcome::Terminate)
        return 1;

    Shooter shooter(directory, written, log);
    Shots shots {shell, shooter, shell.context(), programHome, log};
    bool ok = true;
    for (const auto shoot : kWindows) {
        if (!shoot(shots)) {
            ok = false;
            break;
        }
    }
    shell.form3()->hide();
    return ok && shooter.ok() ? 0 : 1;
}

}
