#include "services/TextFunctions.h"

namespace velmor {

QString Trim(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

QString PuneAnd(const QString& text)
{
    const QString trimmed = Trim(text);
    QString result;
    result.reserve(trimmed.size() + 16);
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        result += trimmed[i];
        if (trimmed[i] == QLatin1Char(')') && i + 1 < trimmed.size() && trimmed[i + 1] == QLatin1Char('('))
            result += QLatin1String(" AND ");
    }
    return result;
}

QString Curata(const QString& text)
{
    const QString trimmed = Trim(text);
    QString result;
    result.reserve(trimmed.size());
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] == QLatin1Char(' ') && !result.isEmpty() && result.back() == QLatin1Char(' '))
            continue;
        result += trimmed[i];
    }
    return result;
}

}
