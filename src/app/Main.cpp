#include "app/ProgramHome.h"
#include "app/ProgramShell.h"
#include "ui/QtRomanian.h"
#include "app/Screenshots.h"
#include "app/SingleInstance.h"
#include "services/AppContext.h"
#include "services/RegistryStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPalette>
#include <QToolTip>

#include <QHelpEvent>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

// Hints stay five seconds.
class HintDuration : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && !widget->toolTip().isEmpty()) {
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), widget->toolTip(), widget, QRect(),
                                   5000);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}

int main(int argc, char** argv)
{
    using namespace velmor;

    // Answered before any window system is needed.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("velmor %s\n", VELMOR_VERSION);
        return 0;
    }

    // 1. The application object.
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmor"));
    installRomanianQtTexts(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velmor - registrul agricol"));
    parser.addHelpOption();
    const QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("Folderul programului."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption screenshotsOption(
        QStringLiteral("screenshots"), QStringLiteral("Salveaza imaginile ferestrelor in DIR si iese."),
        QStringLiteral("DIR"));
    const QCommandLineOption registryOption(
        QStringLiteral("registry"),
        QStringLiteral("Setarile calculatorului (calea datelor) intr-un fisier al lor, nu ale utilizatorului."),
        QStringLiteral("FILE"));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Versiunea programului."));
    parser.addOption(homeOption);
    parser.addOption(screenshotsOption);
    parser.addOption(registryOption);
    parser.addOption(versionOption);
    parser.process(app);
    if (parser.isSet(versionOption)) {
        std::printf("velmor %s\n", VELMOR_VERSION);
        return 0;
    }
    if (parser.isSet(registryOption))
        RegistryStore::redirectDefault(QFileInfo(parser.value(registryOption)).absoluteFilePath());

    const ProgramHome home(ProgramHome::locate(parser.value(homeOption)));
    if (!home.ensureExists()) {
        const QString text = QStringLiteral("Folderul programului nu poate fi creat: ")
                             + QDir::toNativeSeparators(home.path());
        std::fprintf(stderr, "%s\n", qPrintable(text));
        QMessageBox::critical(nullptr, QString::fromLatin1(AppContext::ApplicationTitle), text);
        return 1;
    }

    if (parser.isSet(screenshotsOption)) {
        QStringList written;
        QStringList log;
        const int code = takeScreenshots(home.path(), parser.value(screenshotsOption), &written, &log);
        for (const QString& line : log)
            std::fprintf(stderr, "%s\n", qPrintable(line));
        for (const QString& file : written)
            std::printf("%s\n", qPrintable(QDir::toNativeSeparators(file)));
        return code;
    }

    // 2. A copy already running on this home is brought to the front instead.
    SingleInstance instance(home.path());
    if (instance.activateRunning())
        return 0;
    instance.listen();

    // 3. Hints stay five seconds on a white ground.
    app.setProperty("applicationTitle", QString::fromLatin1(AppContext::ApplicationTitle));
    HintDuration hintDuration;
    app.installEventFilter(&hintDuration);
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, Qt::white);
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);

    // 4 and 5. Every window once; the splash first; then the message loop.
    ProgramShell shell(home.path());
    shell.installDeliveredModels();
    QObject::connect(&instance, &SingleInstance::activationRequested, &shell, &ProgramShell::activate);
    QObject::connect(&shell, &ProgramShell::finished, &app, [](int code) { QCoreApplication::exit(code); });
    app.setQuitOnLastWindowClosed(false);
    shell.start();
    return app.exec();
}
