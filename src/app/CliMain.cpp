#include "app/Cli.h"
#include "app/CliOptions.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char** argv)
{
    // Reports drawn to PDF need fonts, hence a GUI application; without a display it runs offscreen.
    std::unique_ptr<QCoreApplication> app;
    if (velmor::cli::drawsPdf(argc, argv, {"totals", "selection-list", "accounting", "heads"})) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmor"));
    return velmor::cli::run(QCoreApplication::arguments().mid(1));
}
