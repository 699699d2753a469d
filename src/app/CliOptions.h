#pragma once

#include "core/Error.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace velmor::cli {

// A command line the program cannot take: an unknown option, a missing value, a wrong count of
// arguments. The command prints the message and its usage and exits with status 2.
class UsageError : public Error {
public:
    using Error::Error;
};

// One option a command knows: "--name VALUE" or, for a flag, just "--name".
struct OptionSpec {
    QString name;
    bool takesValue = true;
    bool repeatable = false;
};

// The options and positional arguments of one command. "--" ends the options.
class Options {
public:
    // Parses against the command's options; throws UsageError for an option it does not know, a
    // missing value or a non-repeatable option given twice.
    static Options parse(const QStringList& arguments, const std::vector<OptionSpec>& known);

    bool has(const QString& name) const { return m_values.contains(name) || m_flags.contains(name); }
    QString value(const QString& name, const QString& fallback = {}) const
    {
        const auto it = m_values.constFind(name);
        return it == m_values.cend() || it->isEmpty() ? fallback : it->last();
    }
    // Every value of a repeatable option, in the order given.
    QStringList values(const QString& name) const { return m_values.value(name); }
    const QStringList& positional() const { return m_positional; }

    // Throws UsageError unless a value was given for each of the names.
    void require(std::initializer_list<const char*> names) const;
    // Throws UsageError unless the count of positional arguments is within the bounds.
    void requirePositional(int minimum, int maximum) const;

private:
    QHash<QString, QStringList> m_values;
    QSet<QString> m_flags;
    QStringList m_positional;
};

// The whole number of an option; UsageError when it is none.
qint64 wholeOption(const Options& o, const char* name);
// As wholeOption; `fallback` when the option is not given.
qint64 wholeOption(const Options& o, const char* name, qint64 fallback);
// True when the command line runs one of `commands` with --pdf: a report drawn to PDF needs a
// GUI application object (fonts).
bool drawsPdf(int argc, char** argv, std::initializer_list<const char*> commands);
// The absolute path of --data; Error when there is no such directory.
QString existingDataDirectory(const Options& o);

}
