#include "app/CliInteraction.h"

#include "app/CliOutput.h"

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
    err() << title << ": " << messageLines(text) << '\n';
    err().flush();
    return buttons == ButtonsOk ? ResultOk : ResultCancel;
}

void CliInteraction::ArataProblema(const QString& text, const QString&)
{
    err() << "Problema ! " << messageLines(text) << '\n';
    err().flush();
}

}
