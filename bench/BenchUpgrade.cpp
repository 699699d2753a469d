#include "bench/BenchUpgrade.h"

#include "app/SchemaUpgradeRun.h"
#include "core/Error.h"
#include "data/Schema.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "data/engine/TableHandle.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace velmor::bench {

namespace {

int indexOf(const QList<dbf::FieldSpec>& specs, const char* name)
{
    for (int i = 0; i < specs.size(); ++i) {
        if (specs[i].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QList<dbf::FieldSpec> specsOf(const dbf::DbfTable& t)
{
    QList<dbf::FieldSpec> specs;
    for (const dbf::Field& f : t.fields())
        specs.append(f.declaration());
    return specs;
}


void setSize(QList<dbf::FieldSpec>& specs, const char* name, int width, int decimals)
{
    const int i = indexOf(specs, name);
    if (i >= 0) {
        specs[i].width = width;
        specs[i].decimals = decimals;
    }
}

// The register of `dir` in the layouts of the oldest generation: village in SATUL, POZITIA,
// narrow columns, year of birth, notes in a memo, no row 19, no plot tables.
void rewriteAsOldest(const QString& dir)
{
    engine::Engine engine(dir);
    const auto path = [&](const QString& name) { return dbf::resolveFileName(dir + QLatin1Char('/') + name); };
    const auto run = [&](const QString& statement) {
        engine::Query q(engine);
        q.add(statement);
        q.execSQL();
    };
    run(QStringLiteral("DELETE FROM %1 WHERE RAND<>CAST(RAND AS INTEGER)").arg(engine::quotedPath(path(QStringLiteral("CAP7.dbf")))));
    run(QStringLiteral("DELETE FROM %1 WHERE RAND=19").arg(engine::quotedPath(path(QStringLiteral("CAP10.dbf")))));

    {
        engine::TableHandle& h = engine.table(path(QStringLiteral("Identificare.dbf")));
        QList<dbf::FieldSpec> specs = specsOf(h.table());
        specs[indexOf(specs, "POZ")] = {QStringLiteral("POZITIA"), 'N', 10, 2};
        specs.removeAt(indexOf(specs, "VOLUM"));
        specs[indexOf(specs, "LOCALIT")] = {QStringLiteral("SATUL"), 'C', 40, 0};
        const int nr = indexOf(specs, "NR");
        specs[nr] = {QStringLiteral("NR"), 'C', 10, 0};
        specs.insert(nr + 1, {QStringLiteral("TIP"), 'C', 1, 0});
        specs[indexOf(specs, "NR2")] = {QStringLiteral("NR2"), 'C', 10, 0};
        specs.removeAt(indexOf(specs, "TIPRA"));
        const int pz = indexOf(specs, "POZITIA"), sat = indexOf(specs, "SATUL"), n1 = indexOf(specs, "NR"), n2 = indexOf(specs, "NR2");
        h.restructure(specs, [=](const dbf::OldRecord& old, std::vector<dbf::Value>& v) {
            v[size_t(pz)] = dbf::numberOnly(old.value(QStringLiteral("POZ"))) + std::min(99.0, dbf::numberOnly(old.value(QStringLiteral("VOLUM")))) / 100.0;
            v[size_t(sat)] = old.value(QStringLiteral("LOCALIT"));
            v[size_t(n1)] = dbf::storedText(old.value(QStringLiteral("NR"))).left(10);
            v[size_t(n2)] = dbf::storedText(old.value(QStringLiteral("NR2"))).left(10);
        });
    }
    {
        engine::TableHandle& h = engine.table(path(QStringLiteral("CAP1.dbf")));
        QList<dbf::FieldSpec> specs = specsOf(h.table());
        specs[indexOf(specs, "DATAN")] = {QStringLiteral("ANN"), 'N', 4, 0};
        specs[indexOf(specs, "MENTIUNI")] = {QStringLiteral("MENTIUNI"), 'M', 10, 0};
        const int ann = indexOf(specs, "ANN"), notes = indexOf(specs, "MENTIUNI");
        h.restructure(specs, [=](const dbf::OldRecord& old, std::vector<dbf::Value>& v) {
            const dbf::Value born = old.value(QStringLiteral("DATAN"));
            const auto* date = std::get_if<QDate>(&born);
            v[size_t(ann)] = date ? dbf::Value(std::int64_t(date->year())) : dbf::Value();
            v[size_t(notes)] = old.value(QStringLiteral("MENTIUNI"));
        });
    }
    for (int n = 1; n <= 11; ++n) {
        engine::TableHandle& h = engine.table(path(QStringLiteral("CAP%1.dbf").arg(n)));
        QList<dbf::FieldSpec> specs = specsOf(h.table());
        const int at = indexOf(specs, "CODID") + 1;
        specs.insert(at, {QStringLiteral("POZITIA"), 'N', 10, 2});
        specs.insert(at + 1, {QStringLiteral("LOCALIT"), 'C', 40, 0});
        for (const char* area : {"AARI", "BARI", "CARI", "IARI", "ARI"})
            setSize(specs, area, 5, 2);
        if (n == 7)
            setSize(specs, "RAND", 3, 0);
        if (n == 10) {
            setSize(specs, "DETALII", 7, 2);
            specs.removeAt(indexOf(specs, "OBS"));
        }
        h.restructure(specs);
    }
    for (const char* plots : {"Tarlale.dbf", "OmTarla.dbf", "PozeTarla.dbf"}) {
        engine.forget(path(QLatin1String(plots)));
        QFile::remove(path(QLatin1String(plots)));
    }
}

void copyDirectory(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files)) {
        if (f.suffix().compare(QLatin1String("lck"), Qt::CaseInsensitive) == 0)
            continue;
        QFile::remove(to + QLatin1Char('/') + f.fileName());
        if (!QFile::copy(f.absoluteFilePath(), to + QLatin1Char('/') + f.fileName()))
            throw Error(QStringLiteral("Nu pot copia %1.").arg(f.absoluteFilePath()));
    }
}

}

std::vector<std::pair<QString, double>> upgradeScenarios(const QString& dataDir, const QString& workDir, Interaction& ui,
                                                         int rounds, const QString& only)
{
    std::vector<std::pair<QString, double>> results;
    const QString upgradeName = QStringLiteral("schema upgrade of the oldest layouts");
    const QString checkName = QStringLiteral("schema upgrade check, current register");
    if (!only.isEmpty() && !upgradeName.contains(only) && !checkName.contains(only))
        return results;
    const QString copy = workDir + QStringLiteral("/upgrade/Data");
    copyDirectory(dataDir, copy);
    rewriteAsOldest(copy);
    {
        engine::Engine engine(copy);
        QElapsedTimer timer;
        timer.start();
        data::Schema(engine, copy, ui).CreazaBaza();
        SchemaUpgradeRun upgrade(engine, copy, ui);
        const data::UpgradeReport report = upgrade.run();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (report.failed())
            throw Error(SchemaUpgradeRun::failureMessage(report));
        results.push_back({upgradeName, ms});
        QFile::remove(upgrade.safetyArchive());
    }
    std::vector<double> times;
    for (int r = 0; r < std::max(1, rounds); ++r) {
        // As at a start: a new engine over the files, then the upgrade finding nothing to do.
        QElapsedTimer timer;
        timer.start();
        engine::Engine engine(copy);
        const data::UpgradeReport report = SchemaUpgradeRun(engine, copy, ui).run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (report.changed)
            throw Error(QStringLiteral("Actualizarea a schimbat o baza de date la zi."));
    }
    std::sort(times.begin(), times.end());
    results.push_back({checkName, times[times.size() / 2]});
    QDir(workDir + QStringLiteral("/upgrade")).removeRecursively();
    return results;
}

}
