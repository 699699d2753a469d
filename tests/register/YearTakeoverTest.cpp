// The year take-over on a copy of the reference register, checked through the dBase files
// themselves (not through the SQL engine that did the copy).

#include "register/YearTakeover.h"

#include "data/dbf/DbfTable.h"
#include "data/engine/Engine.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <set>

using namespace velmor;

namespace {

using Row = std::map<QString, QString>; // column -> value as text

QString textOf(const dbf::Value& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&v))
        return QString::number(*d, 'g', 15);
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    if (const auto* date = std::get_if<QDate>(&v))
        return date->toString(Qt::ISODate);
    return QString();
}

// Every live row of a table file, as sorted text lines (column=value;...).
std::multiset<QString> rowsOf(const QString& path, const std::function<bool(const Row&)>& keep)
{
    dbf::DbfTable table(path);
    std::multiset<QString> rows;
    for (int r = 0; r < table.recordCount(); ++r) {
        if (table.isDeleted(r))
            continue;
        Row row;
        for (int c = 0; c < table.fieldCount(); ++c)
            row[table.fields()[c].name.toUpper()] = textOf(table.value(r, c));
        if (!keep(row))
            continue;
        QString line;
        for (const auto& [column, value] : row)
            line += column + QLatin1Char('=') + value + QLatin1Char(';');
        rows.insert(line);
    }
    return rows;
}

QMap<QString, QByteArray> filesOf(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files, QDir::Name)) {
        QFile f(dir + QLatin1Char('/') + name);
        f.open(QIODevice::ReadOnly);
        files.insert(name, f.readAll());
    }
    return files;
}

// The reference register (households of 2009 and 2010) in a program home.
struct TakeoverWorld {
    test::TempHome home;
    engine::Engine engine {home.data()};
    Settings settings {home.data()};
    ScriptedInteraction ui;

    TakeoverWorld()
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine.addTableRoot(home.home());
    }
    YearTakeover takeover() { return YearTakeover(engine, home.data(), home.home(), settings, ui); }
    QString table(const QString& name) const { return home.dataFile(name + QStringLiteral(".dbf")); }
    QStringList archives() const { return QDir(home.home()).entryList({QStringLiteral("Preluare-*.kt")}, QDir::Files); }
};

struct Carried {
    const char* table;
    QStringList shifted; // identifier columns
};

}

TEST(YearTakeover, CopiesTheLatestYearWithShiftedIdentifiersAndLeavesItUnchanged)
{
    TakeoverWorld w;
    const Carried carried[] = {
        {"Identificare", {"CODID"}}, {"CAP1", {"CODID", "COD1"}}, {"CAP2", {"CODID"}}, {"CAP3", {"CODID"}},
        {"CAP4", {"CODID"}}, {"CAP5", {"CODID"}}, {"CAP6", {"CODID"}}, {"CAP7", {"CODID"}}, {"CAP9", {"CODID"}},
        {"CAP10", {"CODID"}}, {"CAP11", {"CODID"}}, {"Tarlale", {"CODID", "CODT"}}, {"OmTarla", {"CODID", "CODT"}},
        {"PozeTarla", {"CODT"}},
    };
    auto ofYear = [](const char* year) { return [year](const Row& r) { return r.at(QStringLiteral("ANUL")) == QLatin1String(year); }; };
    auto notYear = [](const char* year) { return [year](const Row& r) { return r.at(QStringLiteral("ANUL")) != QLatin1String(year); }; };
    std::map<QString, std::multiset<QString>> before;
    for (const Carried& c : carried)
        before[QLatin1String(c.table)] = rowsOf(w.table(QLatin1String(c.table)), [](const Row&) { return true; });
    const auto cap8Before = rowsOf(w.table(QStringLiteral("CAP8")), [](const Row&) { return true; });
    ASSERT_FALSE(rowsOf(w.table(QStringLiteral("CAP8")), ofYear("2010")).empty()) << "the fixture has chapter 8 rows to leave behind";

    EXPECT_EQ(w.takeover().latestYear(), QStringLiteral("2010"));
    const TakeoverReport report = w.takeover().run(QStringLiteral("2012"));
    EXPECT_EQ(report.fromYear, QStringLiteral("2010"));
    ASSERT_EQ(report.tables.size(), 14);

    // Counters: smallest 2010 identifiers (CODID 101, COD1 in CAP1, CODT in the plots) move to the
    // counter; the counters end above every new identifier.
    const std::map<QString, std::pair<qint64, qint64>> counters = {
        {QStringLiteral("CODID"), {109, 117}}, {QStringLiteral("COD1"), {200, 210}}, {QStringLiteral("CODT"), {600, 603}}};
    for (const auto& counter : report.counters) {
        EXPECT_EQ(std::make_pair(counter.before, counter.after), counters.at(counter.kind)) << counter.kind.toStdString();
        EXPECT_EQ(w.settings.CodExistent(counter.kind), QString::number(counter.after));
    }
    const qint64 codidShift = 109 - 101;
    std::map<QString, qint64> shift = {{QStringLiteral("CODID"), codidShift}};
    {
        // COD1 and CODT shifts: counter minus the smallest identifier of 2010.
        qint64 lowCod1 = LLONG_MAX, lowCodt = LLONG_MAX;
        for (const QString& line : rowsOf(w.table(QStringLiteral("CAP1")), ofYear("2010")))
            lowCod1 = std::min(lowCod1, line.section(QStringLiteral("COD1="), 1).section(QLatin1Char(';'), 0, 0).toLongLong());
        for (const char* t : {"Tarlale", "OmTarla", "PozeTarla"}) {
            for (const QString& line : rowsOf(w.table(QLatin1String(t)), ofYear("2010")))
                lowCodt = std::min(lowCodt, line.section(QStringLiteral("CODT="), 1).section(QLatin1Char(';'), 0, 0).toLongLong());
        }
        shift[QStringLiteral("COD1")] = 200 - lowCod1;
        shift[QStringLiteral("CODT")] = 600 - lowCodt;
    }

    for (const Carried& c : carried) {
        const QString name = QLatin1String(c.table);
        // The old years are as they were.
        EXPECT_EQ(rowsOf(w.table(name), notYear("2012")), before[name]) << c.table;
        // 2012 holds the 2010 rows with the new year and shifted identifiers (no CARFUN).
        std::multiset<QString> expected;
        dbf::DbfTable table(w.table(name));
        for (int r = 0; r < table.recordCount(); ++r) {
            if (table.isDeleted(r) || textOf(table.value(r, table.fieldIndex(QStringLiteral("ANUL")))) != QLatin1String("2010"))
                continue;
            Row row;
            for (int col = 0; col < table.fieldCount(); ++col)
                row[table.fields()[col].name.toUpper()] = textOf(table.value(r, col));
            row[QStringLiteral("ANUL")] = QStringLiteral("2012");
            for (const QString& id : c.shifted)
                row[id] = QString::number(row[id].toLongLong() + shift.at(id));
            if (row.count(QStringLiteral("CARFUN")))
                row[QStringLiteral("CARFUN")] = QString();
            QString line;
            for (const auto& [column, value] : row)
                line += column + QLatin1Char('=') + value + QLatin1Char(';');
            expected.insert(line);
        }
        EXPECT_EQ(rowsOf(w.table(name), ofYear("2012")), expected) << c.table;
        const auto reported = std::find_if(report.tables.begin(), report.tables.end(),
                                           [&](const TakeoverReport::Table& t) { return t.name == name; });
        ASSERT_NE(reported, report.tables.end()) << c.table;
        EXPECT_EQ(reported->rows, qint64(expected.size())) << c.table;
    }
    EXPECT_EQ(rowsOf(w.table(QStringLiteral("CAP8")), [](const Row&) { return true; }), cap8Before)
        << "chapter 8 is not carried over";
    EXPECT_FALSE(QFileInfo::exists(w.home.home() + QStringLiteral("/tmp.dbf")));
    EXPECT_EQ(w.archives().size(), 1) << "the safety archive is kept";
    EXPECT_FALSE(w.ui.progressVisible());
}

TEST(YearTakeover, RefusalsChangeNothing)
{
    struct Case {
        const char* year;
        std::function<void(TakeoverWorld&)> prepare;
        const char* message;
    };
    const Case cases[] = {
        {"2010", nullptr, "are deja gospodarii"},
        {"2008", nullptr, "nu este dupa ultimul an"},
        {"20x1", nullptr, "nu este un an"},
        {"2012",
         [](TakeoverWorld& w) { w.settings.Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("9999999995")); },
         "ar depasi 10 cifre"},
        {"2012",
         [](TakeoverWorld& w) {
             w.engine.execute(QStringLiteral("DELETE FROM \"%1\"").arg(w.table(QStringLiteral("Identificare"))));
         },
         "nu are nicio gospodarie"},
    };
    for (const Case& c : cases) {
        TakeoverWorld w;
        if (c.prepare)
            c.prepare(w);
        const QMap<QString, QByteArray> before = filesOf(w.home.data());
        try {
            w.takeover().run(QLatin1String(c.year));
            ADD_FAILURE() << c.message << ": the take-over ran";
        } catch (const TakeoverError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.message))) << e.message().toStdString();
        }
        EXPECT_EQ(filesOf(w.home.data()), before) << c.message;
        EXPECT_TRUE(w.archives().isEmpty()) << c.message;
    }
}

// A step failing after others succeeded (here: a picture table of an older layout, without its
// FISIER column) restores every file from the safety archive.
TEST(YearTakeover, FailureInTheMiddleLeavesEveryFileAsItWas)
{
    TakeoverWorld w;
    const QString pictures = w.table(QStringLiteral("PozeTarla"));
    QFile::remove(pictures);
    w.engine.forget(pictures);
    w.engine.execute(QStringLiteral("CREATE TABLE \"%1\" (ANUL DECIMAL(4,0), CODT DECIMAL(10,0))").arg(pictures));
    w.engine.execute(QStringLiteral("INSERT INTO \"%1\" (ANUL, CODT) VALUES (2010, 501)").arg(pictures));
    // An empty file is not archived and must stay.
    QFile(w.home.dataFile(QStringLiteral("gol.txt"))).open(QIODevice::WriteOnly);
    const QMap<QString, QByteArray> before = filesOf(w.home.data());

    try {
        w.takeover().run(QStringLiteral("2012"));
        ADD_FAILURE() << "the take-over succeeded on a table without FISIER";
    } catch (const TakeoverError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("nu s-a schimbat nimic"))) << e.message().toStdString();
    }
    EXPECT_EQ(filesOf(w.home.data()), before);
    EXPECT_EQ(w.archives().size(), 1) << "the safety archive is kept";
    EXPECT_FALSE(QFileInfo::exists(w.home.home() + QStringLiteral("/tmp.dbf")));
    EXPECT_FALSE(w.ui.progressVisible());
    // The engine sees the restored files.
    EXPECT_EQ(w.engine.select(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE ANUL=2012").arg(w.table(QStringLiteral("CAP2")))).rows[0][0],
              dbf::Value(std::int64_t(0)));
}
