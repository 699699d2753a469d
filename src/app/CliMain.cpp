#include "app/Cli.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmor"));
    return velmor::cli::run(QCoreApplication::arguments().mid(1));
}
