#include "app/Cli.h"

#include "app/CliOutput.h"
#include "app/ProgramHome.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace velmor::cli {

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Options of the form --name VALUE, and the remaining positional arguments.
struct Options {
    QHash<QString, QString> values;
    QStringList positional;

    QString value(const QString& name, const QString& fallback = {}) const { return values.value(name, fallback); }
    bool has(const QString& name) const { return values.contains(name); }
};

Options parseOptions(const QStringList& arguments)
{
    Options o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a.startsWith(QLatin1String("--")) && i + 1 < arguments.size()) {
            o.values.insert(a.mid(2), arguments[++i]);
        } else {
            o.positional << a;
        }
    }
    return o;
}

int usage()
{
    err() << "usage: velmor-cli sql [--home DIR] [--data DIR] STATEMENT\n"
             "       velmor-cli home [--home DIR]\n";
    err().flush();
    return 2;
}

QString dataDirectory(const Options& o)
{
    if (o.has(QStringLiteral("data")))
        return QDir(o.value(QStringLiteral("data"))).absolutePath();
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    home.ensureExists();
    return home.localDataDirectory();
}

int runSql(const Options& o)
{
    if (o.positional.size() != 1)
        return usage();
    try {
        engine::Engine engine(dataDirectory(o));
        engine::ResultSet result;
        engine.run(o.positional.first(), &result);
        if (!result.fields.isEmpty())
            out() << formatResult(result);
        out().flush();
        return 0;
    } catch (const engine::SqlError& e) {
        err() << e.message() << '\n';
        err().flush();
        return 1;
    }
}

int runHome(const Options& o)
{
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    if (!home.ensureExists()) {
        err() << "Folderul programului nu poate fi creat: " << home.path() << '\n';
        return 1;
    }
    out() << "Program home: " << home.path() << '\n';
    const QDir dir(home.path());
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name)) {
        out() << (info.isDir() ? "  [dir] " : "  ") << info.fileName() << '\n';
        if (info.isDir()) {
            for (const QString& name : QDir(info.filePath()).entryList(QDir::Files, QDir::Name))
                out() << "        " << name << '\n';
        }
    }
    out().flush();
    return 0;
}

}

int run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.first();
    const Options options = parseOptions(arguments.mid(1));
    if (command == QLatin1String("sql"))
        return runSql(options);
    if (command == QLatin1String("home"))
        return runHome(options);
    return usage();
}

}
