#pragma once

#include <QDir>
#include <QString>

namespace velmor::admin {

// Upper-cases only the letters a to z, as every upper-casing of the program does.
inline QString upperAZ(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

// A text value written into a statement: in double quotes, a quote inside doubled.
inline QString sqlText(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// A path written into a statement: in double quotes, with the platform's separators.
inline QString sqlPath(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

// A folder chosen by the user without its trailing separator (a root keeps it).
inline QString withoutTrailingSeparator(const QString& folder)
{
    QString result = folder;
    while (result.size() > 1 && (result.endsWith(QLatin1Char('\\')) || result.endsWith(QLatin1Char('/')))) {
        if (result.size() == 3 && result[1] == QLatin1Char(':'))
            break; // "C:\"
        result.chop(1);
    }
    return result;
}

}
