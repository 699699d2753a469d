#include "app/Cli.h"

#include "app/CliInteraction.h"
#include "app/CliOutput.h"
#include "admin/ArchiveCommands.h"
#include "app/ProgramHome.h"
#include "data/DemoRegister.h"
#include "data/Schema.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "core/Interaction.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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
             "       velmor-cli home [--home DIR]\n"
             "       velmor-cli create --data DIR\n"
             "       velmor-cli demo --data DIR --households N --years Y [--first-year F] [--seed S]\n"
             "       velmor-cli backup --data DIR ARCHIVE\n"
             "       velmor-cli restore ARCHIVE --into DIR\n";
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


// A whole number option; false (after a message) when it is present but not a number.
bool integerOption(const Options& o, const QString& name, qint64& value)
{
    if (!o.has(name))
        return true;
    bool ok = false;
    const qint64 v = o.value(name).trimmed().toLongLong(&ok);
    if (!ok) {
        err() << "Optiunea --" << name << " cere un numar intreg, nu \"" << o.value(name) << "\".\n";
        err().flush();
        return false;
    }
    value = v;
    return true;
}

int runCreate(const Options& o)
{
    if (!o.has(QStringLiteral("data")) || !o.positional.isEmpty())
        return usage();
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    if (QFileInfo(dir).exists() && !QFileInfo(dir).isDir()) {
        err() << "\"" << dir << "\" nu este un director.\n";
        err().flush();
        return 1;
    }
    if (!QDir().mkpath(dir)) {
        err() << "Directorul \"" << dir << "\" nu poate fi creat.\n";
        err().flush();
        return 1;
    }
    QStringList missing;
    for (const QString& name : data::Schema::tableFileNames()) {
        if (!QFileInfo::exists(dbf::resolveFileName(dir + QLatin1Char('/') + name)))
            missing << name;
    }
    CliInteraction ui;
    try {
        engine::Engine engine(dir);
        data::Schema schema(engine, dir, ui);
        schema.CreazaBaza();
    } catch (const data::ProgramTermination&) {
        return 1;
    } catch (const engine::SqlError& e) {
        err() << e.message() << '\n';
        err().flush();
        return 1;
    }
    if (missing.isEmpty())
        out() << "Baza de date din " << dir << " este completa; nu am creat nimic.\n";
    else
        out() << "Tabele create in " << dir << ": " << missing.join(QStringLiteral(", ")) << '\n';
    out().flush();
    return 0;
}

int runDemo(const Options& o)
{
    if (!o.has(QStringLiteral("data")) || !o.has(QStringLiteral("households")) || !o.has(QStringLiteral("years"))
        || !o.positional.isEmpty())
        return usage();
    qint64 households = 0, years = 0, firstYear = 0, seed = 1;
    if (!integerOption(o, QStringLiteral("households"), households) || !integerOption(o, QStringLiteral("years"), years)
        || !integerOption(o, QStringLiteral("first-year"), firstYear) || !integerOption(o, QStringLiteral("seed"), seed))
        return 2;
    data::DemoOptions options;
    options.households = int(std::clamp<qint64>(households, -1, 2000000000));
    options.years = int(std::clamp<qint64>(years, -1, 1000000));
    options.firstYear = o.has(QStringLiteral("first-year")) ? int(std::clamp<qint64>(firstYear, -1, 1000000)) : 0;
    if (o.has(QStringLiteral("first-year")) && options.firstYear == 0)
        options.firstYear = -1; // zero given explicitly is out of range, not "default"
    options.seed = quint64(seed);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    CliInteraction ui;
    QElapsedTimer timer;
    timer.start();
    try {
        const data::DemoSummary s = data::generateDemoRegister(dir, options, ui);
        out() << "Registru demonstrativ scris in " << dir << '\n'
              << "  ani " << s.firstYear << "-" << s.lastYear << ", gospodarii (toti anii) " << s.householdRows
              << ", membri " << s.memberRows << ", randuri de capitole " << s.chapterRows << '\n'
              << "  parcele " << s.plotRows << ", titulari " << s.holderRows << ", poze " << s.pictureRows
              << ", ultimele coduri CODID " << s.lastCodid << " COD1 " << s.lastCod1 << " CODT " << s.lastCodt << '\n'
              << "  durata " << QString::number(double(timer.elapsed()) / 1000.0, 'f', 1) << " s\n";
        out().flush();
        return 0;
    } catch (const data::DemoError& e) {
        err() << e.message() << '\n';
    } catch (const dbf::DbfError& e) {
        err() << e.message() << '\n';
    } catch (const data::ProgramTermination&) {
    }
    err().flush();
    return 1;
}

int runBackup(const Options& o)
{
    if (!o.has(QStringLiteral("data")) || o.positional.size() != 1)
        return usage();
    int members = 0;
    const QString error = ArchiveCommands::runBackupCommand(QDir(o.value(QStringLiteral("data"))).absolutePath(),
                                                            QDir().absoluteFilePath(o.positional.first()), nullptr, &members);
    if (!error.isEmpty()) {
        err() << error << '\n';
        err().flush();
        return 1;
    }
    out() << "Salvare incheiata: " << members << " fisiere in " << o.positional.first() << '\n';
    out().flush();
    return 0;
}

int runRestore(const Options& o)
{
    if (!o.has(QStringLiteral("into")) || o.positional.size() != 1)
        return usage();
    int members = 0;
    const QString error = ArchiveCommands::runRestoreCommand(QDir().absoluteFilePath(o.positional.first()),
                                                             QDir(o.value(QStringLiteral("into"))).absolutePath(), nullptr, &members);
    if (!error.isEmpty()) {
        err() << error << '\n';
        err().flush();
        return 1;
    }
    out() << "Restaurare incheiata: " << members << " fisiere in " << o.value(QStringLiteral("into")) << '\n';
    out().flush();
    return 0;
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
    if (command == QLatin1String("create"))
        return runCreate(options);
    if (command == QLatin1String("demo"))
        return runDemo(options);
    if (command == QLatin1String("backup"))
        return runBackup(options);
    if (command == QLatin1String("restore"))
        return runRestore(options);
    return usage();
}

}
