#include "app/CliInteraction.h"

#include <QTextStream>

namespace velmor::cli {

namespace {

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

}

int CliInteraction::Mesaj(const QString& title, const QString& text, int, int buttons)
{
    if (buttons == 0)
        return ResultCancel;
    QString body = text;
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    err() << title << ": " << body << '\n';
    err().flush();
    return buttons == ButtonsOk ? ResultOk : ResultCancel;
}

void CliInteraction::ArataProblema(const QString& text, const QString&)
{
    err() << "Problema ! " << text << '\n';
    err().flush();
}

}
