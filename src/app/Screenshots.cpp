#include "app/Screenshots.h"

#include "admin/ui/TForm21.h"
#include "admin/ui/TForm38.h"
#include "admin/ui/TForm4.h"
#include "admin/ui/TForm5.h"
#include "register/ui/TFTarife.h"
#include "register/YearTakeover.h"
#include "register/ui/TForm6.h"
#include "reports/ui/TForm7.h"
#include "reports/ui/TRecensamantF.h"
#include "search/ui/TTarlaC.h"
#include "reports/ui/TForm9.h"
#include "reports/ui/TListLocNr.h"
#include "grid/ui/StandardGrid.h"
#include "register/PlotStore.h"
#include "register/ui/PlotsPage.h"
#include "register/ui/TRecalcSelect.h"
#include "register/ui/TTarlaF.h"
#include "search/ui/TForm33.h"
#include "search/ui/TForm34.h"
#include "search/ui/TForm39.h"
#include "search/ui/TForm37.h"
#include "search/ui/TForm8.h"
#include "ui/TNumericF.h"
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

    TForm1* splash = shell.form1();
    splash->Label6()->setText(TForm1::versionText());
    splash->Label7()->setText(TForm1::versionText());
    splash->Timer1()->stop();
    shooter.shoot(splash, QStringLiteral("TForm1"));
    splash->Timer1()->stop();

    TForm3* main = shell.form3();
    main->Deschide();
    shooter.shoot(main, QStringLiteral("TForm3"));

    main->PopupMenu1()->popup(main->reportsMenuPosition());
    shooter.shoot(main->PopupMenu1(), QStringLiteral("PopupMenu1"));
    main->PopupMenu1()->hide();
    main->PopupMenu2()->popup(main->LegisB()->mapToGlobal(QPoint(0, main->LegisB()->height())));
    shooter.shoot(main->PopupMenu2(), QStringLiteral("PopupMenu2"));
    main->PopupMenu2()->hide();

    // The balloon of a missing legislation document.
    const QString law = QDir::toNativeSeparators(QDir(programHome).filePath(QStringLiteral("Pop1.pdf")));
    ArataProblema(QStringLiteral("Nu exista fisierul ") + law + QLatin1Char('!'), main->LegisB());
    shooter.shoot(BalloonHint::shared(), QStringLiteral("Hint1"));
    BalloonHint::shared()->hide();

    TErori* erori = shell.erori();
    shootMessage(shooter, erori, QStringLiteral("TErori_Atentie"), QStringLiteral("ATENTIE !"),
                 QStringLiteral("Nu aveti dreptul sa faceti modificari !\rDaca doriti sa modificati date, apasati "
                                "mai intai butonul Administrare!"),
                 0, 4);
    shootMessage(shooter, erori, QStringLiteral("TErori_Eroare"), QStringLiteral("Problema"),
                 QStringLiteral("Introduceti mai intai localitatile la sectiunea Admin !"), 1, 4);
    shootMessage(shooter, erori, QStringLiteral("TErori_Informatie"), QStringLiteral("Informatie"),
                 QStringLiteral("Fereastra \"Totaluri\" nu este disponibila in aceasta versiune."), 2, 4);
    shootMessage(shooter, erori, QStringLiteral("TErori_Confirmare"), QStringLiteral("Inchidere program"),
                 QStringLiteral("Vreti sa inchideti programul?"), 3, 3);

    TContor* contor = shell.contor();
    contor->Label1()->setText(QStringLiteral("Salvez datele actuale..."));
    contor->Bar()->setMaximum(100);
    contor->Bar()->setValue(40);
    shooter.shoot(contor, QStringLiteral("TContor"));

    TForm5* login = shell.form5();
    login->setWindowTitle(QStringLiteral("IDENTIFICARE ADMIN"));
    login->Label1()->setText(QStringLiteral("PAROLA :"));
    shooter.shoot(login, QStringLiteral("TForm5"));
    shooter.shoot(shell.form21(), QStringLiteral("TForm21"));
    shooter.shoot(shell.tarife(), QStringLiteral("TFTarife"));
    // One picture per page of the administration window.
    TForm4* admin = shell.form4();
    for (int page = 0; page < admin->PageList()->count(); ++page) {
        admin->PageList()->setCurrentRow(page);
        shooter.shoot(admin, QStringLiteral("TForm4_%1").arg(page + 1));
    }
    if (shell.context().engine && shell.context().interaction) {
        TForm38 checks(shell.context(), admin);
        shooter.shoot(&checks, QStringLiteral("TForm38"));
    }

    // The household register editor's list page, on the home's data: the latest year with
    // households is shown (the calendar year of the year list may still be empty).
    TForm6* editor = shell.form6();
    AppContext& ctx = shell.context();
    const QString workingYear = ctx.year.text();
    try {
        if (ctx.engine && ctx.settings && ctx.interaction) {
            const QString latest =
                YearTakeover(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, *ctx.settings, *ctx.interaction).latestYear();
            if (!latest.isEmpty() && ctx.year.years().contains(latest))
                ctx.year.setText(latest);
        }
        editor->Pregateste();
        shooter.shoot(editor, QStringLiteral("TForm6_0"));
        // A page of each chapter (pages 3 to 12) for the list's first household.
        for (int page = 3; page <= 12; ++page) {
            editor->ButClick(page + 1);
            shooter.shoot(editor, QStringLiteral("TForm6_%1").arg(page));
        }
        shootPlots(shooter, *editor);
        shootHouseholdPages(shooter, *editor);
        editor->Inchide();
        ctx.year.setText(workingYear);
    } catch (const std::exception& error) {
        if (log)
            *log << QStringLiteral("TForm6: %1").arg(QString::fromStdString(error.what()));
        editor->Inchide();
        main->hide();
        return 1;
    }

    // The search by name, listing the members of the latest year with households.
    TForm33* search = shell.form33();
    try {
        if (ctx.engine && ctx.settings && ctx.interaction) {
            const QString latest =
                YearTakeover(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, *ctx.settings, *ctx.interaction).latestYear();
            if (!latest.isEmpty() && ctx.year.years().contains(latest))
                ctx.year.setText(latest);
        }
        search->Pregateste(HouseholdEditor::allVillages());
        shooter.shoot(search, QStringLiteral("TForm33"));
        search->logic().close();
        ctx.year.setText(workingYear);
    } catch (const std::exception& error) {
        if (log)
            *log << QStringLiteral("TForm33: %1").arg(QString::fromStdString(error.what()));
        search->hide();
        main->hide();
        return 1;
    }

    // The certificate window for a household of the latest year that has members, and the
    // R.AGR.2 header (filled by hand: opening it for real would take a report number).
    try {
        if (ctx.engine) {
            const engine::ResultSet found = ctx.engine->select(
                QStringLiteral("SELECT I.CODID FROM ") + engine::quotedPath(ctx.tablePath(QStringLiteral("Identificare.dbf")))
                + QStringLiteral(" I WHERE I.CODID IN (SELECT CODID FROM ") + engine::quotedPath(ctx.tablePath(QStringLiteral("CAP1.dbf")))
                + QStringLiteral(") ORDER BY I.ANUL DESC, I.CODID LIMIT 1"));
            if (!found.rows.empty()) {
                if (const auto* codid = std::get_if<std::int64_t>(&found.rows.front().front());
                    codid && shell.form34()->Pregateste(*codid)) {
                    shell.form34()->CheckBox(1)->setChecked(true);
                    shell.form34()->CheckBox(12)->setChecked(true);
                    shooter.shoot(shell.form34(), QStringLiteral("TForm34"));
                }
            }
        }
    } catch (const std::exception& error) {
        if (log)
            *log << QStringLiteral("TForm34: %1").arg(QString::fromStdString(error.what()));
    }
    // The totals window: the filter page, then every page with the totals built (pages 2-7 showing
    // their chart).
    if (reports::TForm7* totals = shell.form7()) {
        try {
            const QString year = ctx.year.text();
            if (ctx.engine && ctx.settings && ctx.interaction) {
                const QString latest =
                    YearTakeover(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, *ctx.settings, *ctx.interaction).latestYear();
                if (!latest.isEmpty() && ctx.year.years().contains(latest))
                    ctx.year.setText(latest);
            }
            totals->prepare();
            shooter.shoot(totals, QStringLiteral("TForm7_0"));
            if (totals->grid(0)->model()->rowCount() > 0)
                totals->RapB1Click();
            if (totals->totals().built()) {
                for (int page = 1; page <= 10; ++page) {
                    totals->pressPage(page);
                    totals->showChart(page >= 2 && page <= 7);
                    shooter.shoot(totals, QStringLiteral("TForm7_%1").arg(page));
                }
            }
            totals->totals().removeTables();
            totals->hide();
            ctx.year.setText(year);
        } catch (const std::exception& error) {
            if (log)
                *log << QStringLiteral("TForm7: %1").arg(QString::fromStdString(error.what()));
        }
    }

    // The lists window with a few advanced items, and the advanced list they give.
    if (search::TForm8* lists = shell.form8(); lists && ctx.engine && ctx.interaction) {
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
            shooter.shoot(lists, QStringLiteral("TForm8"));
            search::AdvancedList list(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, ctx.workingYear().toLongLong());
            lists->form37()->load(list.build(lists->choices(), lists->filter()));
            shooter.shoot(lists->form37(), QStringLiteral("TForm37"));
        } catch (const std::exception& error) {
            if (log)
                *log << QStringLiteral("TForm8: %1").arg(QString::fromStdString(error.what()));
        }
    }

    // The census dialog and the plot search over the latest year of the register.
    {
        const QString year = ctx.year.text();
        try {
            if (ctx.engine && ctx.settings && ctx.interaction) {
                const QString latest =
                    YearTakeover(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, *ctx.settings, *ctx.interaction).latestYear();
                if (!latest.isEmpty() && ctx.year.years().contains(latest))
                    ctx.year.setText(latest);
            }
            shell.recensamant()->IncarcaLocalitati();
            shell.tarlaC()->pregateste();
        } catch (const std::exception& error) {
            if (log)
                *log << QStringLiteral("TTarlaC: %1").arg(QString::fromStdString(error.what()));
        }
        shooter.shoot(shell.recensamant(), QStringLiteral("TRecensamantF"));
        shooter.shoot(shell.tarlaC(), QStringLiteral("TTarlaC"));
        ctx.year.setText(year);
    }

    // The accounting window and the street dialog of the residents list.
    try {
        reports::TForm9 accounting(ctx, nullptr);
        if (accounting.prepare())
            shooter.shoot(&accounting, QStringLiteral("TForm9"));
        accounting.closeTables();
        reports::TListLocNr streets(ctx, nullptr);
        if (streets.prepare())
            shooter.shoot(&streets, QStringLiteral("TListLocNr"));
    } catch (const std::exception& error) {
        if (log)
            *log << QStringLiteral("TForm9: %1").arg(QString::fromStdString(error.what()));
    }

    TForm39* header = shell.form39();
    header->setWindowTitle(QStringLiteral("R.AGR.2"));
    header->Edit2()->setText(QStringLiteral("1"));
    header->DateTimePicker1()->setDate(QDate::currentDate());
    shooter.shoot(header, QStringLiteral("TForm39"));

    main->hide();
    return shooter.ok() ? 0 : 1;
}

}
