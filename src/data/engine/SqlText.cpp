#include "data/engine/SqlText.h"

#include <QDir>

namespace velmor::engine {

QString quotedPath(const QString& path)
{
    QString text = QDir::toNativeSeparators(path);
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString filterText(const QString& value, bool prefix)
{
    QString text;
    text.reserve(value.size() + 4);
    text += QLatin1Char('\'');
    for (const QChar c : value) {
        if (c == QLatin1Char('\''))
            text += QLatin1String("''");
        else if (c == QLatin1Char('\\') || c == QLatin1Char('*'))
            text += QLatin1Char('\\') + QString(c);
        else
            text += c;
    }
    if (prefix)
        text += QLatin1Char('*');
    text += QLatin1Char('\'');
    return text;
}

}
