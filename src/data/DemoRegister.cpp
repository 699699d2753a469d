#include "data/DemoRegister.h"

#include "data/Schema.h"
#include "data/demo/Generator.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace velmor::data {

DemoTypeCounts demoTypeCounts(int households)
{
    DemoTypeCounts c;
    if (households <= 0)
        return c;
    if (households < 4) {
        c.type1 = 1;
        c.type2 = households >= 2 ? 1 : 0;
        c.type3 = households >= 3 ? 1 : 0;
        return c;
    }
    c.type2 = std::max(1, households * 7 / 100);
    c.type3 = std::max(1, households * 2 / 100);
    c.type4 = std::max(1, households * 15 / 1000);
    c.type1 = households - c.type2 - c.type3 - c.type4;
    return c;
}

QStringList demoRegisterFiles()
{
    QStringList files = Schema::tableFileNames();
    files << QStringLiteral("CAP11.dbt") << QStringLiteral("Sate.lst") << QStringLiteral("Velmor.ini");
    return files;
}

DemoSummary generateDemoRegister(const QString& dataDirectory, const DemoOptions& options, Interaction& ui)
{
    DemoOptions o = options;
    if (o.households < 1 || o.households > 1000000)
        throw DemoError(QStringLiteral("Numarul de gospodarii trebuie sa fie intre 1 si 1000000 (nu %1).").arg(o.households));
    if (o.years < 1 || o.years > 100)
        throw DemoError(QStringLiteral("Numarul de ani trebuie sa fie intre 1 si 100 (nu %1).").arg(o.years));
    if (o.firstYear == 0)
        o.firstYear = std::max(2005, QDate::currentDate().year() - o.years + 1);
    if (o.firstYear < 2005 || o.firstYear + o.years - 1 > 9999)
        throw DemoError(QStringLiteral("Primul an trebuie sa fie cel putin 2005, iar ultimul cel mult 9999 (nu %1).").arg(o.firstYear));

    const QString dir = QDir::cleanPath(QDir::fromNativeSeparators(dataDirectory));
    if (QFileInfo(dir).exists() && !QFileInfo(dir).isDir())
        throw DemoError(QStringLiteral("\"%1\" nu este un director.").arg(dir));
    QStringList present;
    for (const QString& name : demoRegisterFiles()) {
        if (QFileInfo::exists(dbf::resolveFileName(dir + QLatin1Char('/') + name)))
            present << name;
    }
    if (!present.isEmpty())
        throw DemoError(QStringLiteral("Directorul \"%1\" contine deja fisiere de registru (%2). Alegeti un director gol.")
                            .arg(dir, present.join(QStringLiteral(", "))));
    if (!QDir().mkpath(dir))
        throw DemoError(QStringLiteral("Directorul \"%1\" nu poate fi creat.").arg(dir));

    // The tables are made by the schema's own creators, then filled.
    {
        engine::Engine engine(dir);
        Schema schema(engine, dir, ui);
        try {
            schema.CreazaBaza();
        } catch (const engine::SqlError& e) {
            throw DemoError(e.message());
        }
    }
    demo::Generator generator(o, dir, ui);
    return generator.run();
}

}
