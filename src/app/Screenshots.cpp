#include "app/Screenshots.h"

#include "admin/ui/TForm21.h"
#include "admin/ui/TForm4.h"
#include "admin/ui/TForm5.h"
#include "register/ui/TFTarife.h"
#include "register/YearTakeover.h"
#include "register/ui/TForm6.h"
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
        editor->Inchide();
        ctx.year.setText(workingYear);
    } catch (const std::exception& error) {
        if (log)
            *log << QStringLiteral("TForm6: %1").arg(QString::fromStdString(error.what()));
        editor->Inchide();
        main->hide();
        return 1;
    }

    main->hide();
    return shooter.ok() ? 0 : 1;
}

}
