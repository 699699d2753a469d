#include "app/CliOptions.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace velmor::cli {

Options Options::parse(const QStringList& arguments, const std::vector<OptionSpec>& known)
{
    Options o;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (optionsEnded || !a.startsWith(QLatin1String("--")) || a.size() == 2) {
            if (!optionsEnded && a == QLatin1String("--"))
                optionsEnded = true;
            else
                o.m_positional << a;
            continue;
        }
        const QString name = a.mid(2);
        const auto option = std::find_if(known.begin(), known.end(), [&](const OptionSpec& s) { return s.name == name; });
        if (option == known.end())
            throw UsageError(QStringLiteral("Optiune necunoscuta: %1").arg(a));
        if (!option->repeatable && o.has(name))
            throw UsageError(QStringLiteral("Optiunea %1 este data de doua ori.").arg(a));
        if (!option->takesValue) {
            o.m_flags.insert(name);
            continue;
        }
        if (i + 1 >= arguments.size())
            throw UsageError(QStringLiteral("Optiunea %1 cere o valoare.").arg(a));
        o.m_values[name] << arguments[++i];
    }
    return o;
}

void Options::require(std::initializer_list<const char*> names) const
{
    for (const char* name : names) {
        if (!m_values.contains(QString::fromLatin1(name)))
            throw UsageError(QStringLiteral("Lipseste optiunea --%1.").arg(QString::fromLatin1(name)));
    }
}

void Options::requirePositional(int minimum, int maximum) const
{
    if (m_positional.size() < minimum)
        throw UsageError(QStringLiteral("Lipsesc argumente."));
    if (m_positional.size() > maximum)
        throw UsageError(QStringLiteral("Argumente in plus: %1").arg(m_positional.mid(maximum).join(QLatin1Char(' '))));
}

qint64 wholeOption(const Options& o, const char* name)
{
    const QString option = QLatin1String(name);
    bool ok = false;
    const qint64 value = o.value(option).trimmed().toLongLong(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("Optiunea --%1 cere un numar intreg, nu \"%2\".").arg(option, o.value(option)));
    return value;
}

qint64 wholeOption(const Options& o, const char* name, qint64 fallback)
{
    return o.has(QLatin1String(name)) ? wholeOption(o, name) : fallback;
}

bool drawsPdf(int argc, char** argv, std::initializer_list<const char*> commands)
{
    if (argc < 2 || std::none_of(commands.begin(), commands.end(), [&](const char* c) { return std::strcmp(argv[1], c) == 0; }))
        return false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0)
            return true;
    }
    return false;
}

QString existingDataDirectory(const Options& o)
{
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    if (!QDir(dir).exists())
        throw Error(QStringLiteral("Directorul de date \"%1\" nu exista.").arg(QDir::toNativeSeparators(dir)));
    return dir;
}

}
