#include "AdminTestWorld.h"
#include "ArchiveTestUtil.h"

#include "admin/KtArchive.h"
#include "admin/RegisterMerge.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/engine/SqlText.h"
#include "data/dbf/ValueConversions.h"
#include "services/LineListFile.h"
#include "services/OperationMarker.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <set>

namespace velmor {
namespace {

using test::AdminWorld;

QString archiveFixture(const char* name)
{
    return test::fixturePath(QStringLiteral("archives/") + QString::fromLatin1(name));
}

const QStringList Villages {QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA")};

// Every row of a table as text lines, in file order.
QStringList rowsOf(engine::Engine& engine, const QString& path, const QString& where = QString())
{
    const engine::ResultSet r = engine.select(QStringLiteral("SELECT * FROM ") + engine::quotedPath(path) + where);
    QStringList lines;
    for (const auto& row : r.rows) {
        QStringList cells;
        for (const auto& v : row)
            cells << dbf::toText(v);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

std::set<qint64> numbers(engine::Engine& engine, const QString& statement)
{
    std::set<qint64> out;
    for (const auto& row : engine.select(statement).rows)
        out.insert(dbf::toWhole(row[0]));
    return out;
}

std::set<qint64> range(qint64 from, qint64 to)
{
    std::set<qint64> out;
    for (qint64 i = from; i <= to; ++i)
        out.insert(i);
    return out;
}

engine::Parameters text(const QString& value)
{
    engine::Parameters p;
    p.bind(QStringLiteral("T"), dbf::Value(value));
    return p;
}

// The files beside the data directory (safety archives land there).
QStringList besideData(const AdminWorld& w)
{
    return QDir(w.home.home()).entryList(QDir::Files, QDir::Name);
}

MergeReport merge(AdminWorld& w, const QString& archive, bool replace, QStringList* log = nullptr)
{
    w.ui.pushYes();
    w.ui.pushMessageResult(replace ? ResultDa : ResultNu);
    RegisterMerge m(*w.engine, w.home.data(), w.home.home() + QStringLiteral("/scratch"), *w.settings, w.ui);
    m.log = [log](const QString& line) {
        if (log)
            *log << line;
    };
    return m.run(archive, QStringLiteral("2010"), Villages);
}

TEST(RegisterMerge, ReplacingTakesTheSourceHouseholdsWithNewIdentifiers)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QStringList log;
    const QStringList before2009 = rowsOf(*w.engine, w.data(QStringLiteral("CAP1.dbf")), QStringLiteral(" WHERE ANUL=2009"));
    const MergeReport report = merge(w, archiveFixture("register.kt"), true, &log);

    EXPECT_EQ(report.common, 8);
    EXPECT_TRUE(report.replaced);
    ASSERT_EQ(report.tables.size(), 15);
    EXPECT_EQ(report.tables[0].name, QStringLiteral("Identificare"));
    EXPECT_EQ(report.tables[0].removed, 8);
    EXPECT_EQ(report.tables[0].appended, 8);
    EXPECT_EQ(report.tables[14].name, QStringLiteral("PozeTarla"));
    EXPECT_EQ(report.tables[1].removed, report.tables[1].appended); // CAP1: the same members come back

    const QString ident = engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")));
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT CODID FROM ") + ident + QStringLiteral(" WHERE ANUL=2010")), range(210, 217));
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT CODID FROM ") + ident + QStringLiteral(" WHERE ANUL=2009")), range(1, 5));
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT COD1 FROM ") + engine::quotedPath(w.data(QStringLiteral("CAP1.dbf")))
                                     + QStringLiteral(" WHERE ANUL=2010")),
              range(301, 310));
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT CODT FROM ") + engine::quotedPath(w.data(QStringLiteral("Tarlale.dbf")))
                                     + QStringLiteral(" WHERE ANUL=2010")),
              range(1101, 1103));
    EXPECT_EQ(rowsOf(*w.engine, w.data(QStringLiteral("CAP1.dbf")), QStringLiteral(" WHERE ANUL=2009")), before2009);
    // Household 210 is the source's 101 at position 1/1 of SAT NOU.
    const engine::ResultSet head = w.engine->select(QStringLiteral("SELECT NUMEP FROM ") + engine::quotedPath(w.data(QStringLiteral("CAP1.dbf")))
                                                    + QStringLiteral(" WHERE CODID=210 AND COD=1"));
    ASSERT_EQ(head.rows.size(), 1u);
    EXPECT_EQ(dbf::toText(head.rows[0][0]), QStringLiteral("POPESCU ION"));

    // Counters above every identifier of their kind.
    ASSERT_EQ(report.counters.size(), 3);
    EXPECT_EQ(report.counters[0].kind, QStringLiteral("CODID"));
    EXPECT_EQ(report.counters[0].before, 109);
    EXPECT_EQ(report.counters[0].after, 218);
    EXPECT_EQ(report.counters[1].after, 311);
    EXPECT_EQ(report.counters[2].after, 1104);
    EXPECT_EQ(w.settings->CodExistent(QStringLiteral("CODID")), QStringLiteral("218"));
    EXPECT_EQ(w.settings->CodExistent(QStringLiteral("CODT")), QStringLiteral("1104"));

    EXPECT_EQ(report.villages, Villages);
    EXPECT_EQ(readLineList(w.data(QStringLiteral("Sate.lst")), QStringLiteral("sate")), Villages);
    EXPECT_TRUE(QFileInfo::exists(report.safetyArchive));
    EXPECT_TRUE(QFileInfo(report.safetyArchive).fileName().startsWith(QStringLiteral("Lipire-")));
    EXPECT_FALSE(OperationMarker::read(w.home.data()).has_value());
    EXPECT_FALSE(QDir(w.home.home() + QStringLiteral("/scratch")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size() > 0);
    ASSERT_GE(log.size(), 4);
    EXPECT_TRUE(log.first().startsWith(QStringLiteral("SURSA : ")));
    EXPECT_EQ(log[1], QStringLiteral("Sursa contine 8 pozitii care exista deja."));
    EXPECT_EQ(log[2], QStringLiteral("Inlocuire."));
    EXPECT_EQ(log.last(), QStringLiteral("Operatie incheiata cu succes!"));
}

TEST(RegisterMerge, KeepingLeavesEveryRowAndNeverLowersACounter)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QMap<QString, QStringList> before;
    for (const QString& table : RegisterMerge::tableNames())
        before[table] = rowsOf(*w.engine, w.data(table + QStringLiteral(".dbf")));
    QStringList log;
    const MergeReport report = merge(w, archiveFixture("register.kt"), false, &log);
    EXPECT_EQ(report.common, 8);
    EXPECT_FALSE(report.replaced);
    for (const MergeReport::Table& table : report.tables) {
        EXPECT_EQ(table.removed, 0) << table.name.toStdString();
        EXPECT_EQ(table.appended, 0) << table.name.toStdString();
        EXPECT_EQ(rowsOf(*w.engine, w.data(table.name + QStringLiteral(".dbf"))), before[table.name]) << table.name.toStdString();
    }
    EXPECT_EQ(report.counters[0].after, 109);
    EXPECT_EQ(report.counters[1].after, 200);
    EXPECT_EQ(report.counters[2].after, 600);
    EXPECT_EQ(w.settings->CodExistent(QStringLiteral("COD1")), QStringLiteral("200"));
    EXPECT_TRUE(log.contains(QStringLiteral("Acestea NU vor fi inlocuite.")));
}

// Two households of this register at one position count once among the common positions.
TEST(RegisterMerge, APositionHeldTwiceInOneRegisterCountsOnce)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    const QString ident = engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")));
    w.engine->execute(QStringLiteral("INSERT INTO ") + ident + QStringLiteral(" (ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ) SELECT ANUL, 999, ")
                      + QStringLiteral("LOCALIT, TIPRA, VOLUM, POZ FROM ") + ident + QStringLiteral(" WHERE ANUL=2010 AND CODID=101"));
    const MergeReport report = merge(w, archiveFixture("register.kt"), false);
    EXPECT_EQ(report.common, 8);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Lipire"), QStringLiteral("Sursa contine 8 pozitii existente in baza noastra.")
                                                              + QChar(13) + QStringLiteral("Le inlocuim si pe acestea ?")));
}

// Households without members (107, 108) and a counter behind the identifiers: the shift still
// lands above every identifier, so nothing collides.
TEST(RegisterMerge, AStaleCounterStillShiftsAboveEveryIdentifier)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    w.settings->Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("5"));
    w.settings->Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODT"), QStringLiteral("1"));
    // Another year's positions, so nothing is common with the source's 2010.
    w.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")))
                      + QStringLiteral(" SET POZ=POZ+100 WHERE ANUL=2010"));
    const qint64 largestPlot = *numbers(*w.engine, QStringLiteral("SELECT MAX(CODT) FROM ") + engine::quotedPath(w.data(QStringLiteral("Tarlale.dbf")))).begin();
    const MergeReport report = merge(w, archiveFixture("register.kt"), true);
    EXPECT_EQ(report.common, 0);
    const QString ident = engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")));
    // Ours 101..108 stay, the source's come as 109 + 101.. = 210..217.
    std::set<qint64> expected = range(101, 108);
    for (qint64 id : range(210, 217))
        expected.insert(id);
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT CODID FROM ") + ident + QStringLiteral(" WHERE ANUL=2010")), expected);
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT CODT FROM ") + engine::quotedPath(w.data(QStringLiteral("Tarlale.dbf")))
                                     + QStringLiteral(" WHERE ANUL=2010 AND CODT>503")),
              range(501 + largestPlot + 1, 503 + largestPlot + 1));
    EXPECT_EQ(report.counters[0].before, 5);
    EXPECT_EQ(report.counters[0].after, 218);
    EXPECT_EQ(report.counters[2].after, 503 + largestPlot + 2);
}

struct Refusal {
    const char* name;
    std::function<QString(AdminWorld&)> archive; // builds or names the archive
    const char* message;                          // part of the error text; empty: any
};

QString archiveWithout(AdminWorld& w, const QString& table)
{
    QStringList files;
    for (const QString& path : KtArchive::filesToSave(test::fixturePath(QStringLiteral("register-dbase4")))) {
        if (QFileInfo(path).fileName() != table)
            files << path;
    }
    const QString out = QDir::tempPath() + QStringLiteral("/velmor-merge-lacking-%1.kt").arg(qintptr(&w));
    KtArchive::write(out, files);
    return out;
}

// Rewrites the household table of a data directory with NR2 CHAR(10), as older versions had it.
void narrowNr2(AdminWorld& w)
{
    const QString path = w.data(QStringLiteral("Identificare.dbf"));
    QList<dbf::FieldSpec> layout = dbf::DbfBulkWriter::layoutOf(path);
    for (dbf::FieldSpec& spec : layout) {
        if (spec.name == QLatin1String("NR2"))
            spec.width = 10;
    }
    const engine::ResultSet rows = w.engine->select(QStringLiteral("SELECT * FROM ") + engine::quotedPath(path));
    w.engine->forget(path);
    dbf::DbfBulkWriter writer(path, layout);
    for (const auto& row : rows.rows) {
        std::vector<dbf::Value> values;
        for (const dbf::FieldSpec& spec : layout) {
            const dbf::Value v = row[size_t(rows.fieldIndex(spec.name))];
            values.push_back(spec.name == QLatin1String("NR2") ? dbf::textValue(dbf::toText(v).left(10)) : v);
        }
        writer.append(values);
    }
    writer.finish();
    w.engine->forget(path);
}

QString archiveOf(AdminWorld& w, const QString& folder)
{
    const QString out = QDir::tempPath() + QStringLiteral("/velmor-merge-src-%1.kt").arg(qintptr(&w));
    KtArchive::write(out, KtArchive::filesToSave(folder));
    return out;
}

TEST(RegisterMerge, ADamagedIncompleteOrOldSourceChangesNothing)
{
    const std::vector<Refusal> cases {
        {"truncated", [](AdminWorld&) { return archiveFixture("truncated.kt"); }, ""},
        {"liar", [](AdminWorld&) { return archiveFixture("liar.kt"); }, ""},
        {"traversal", [](AdminWorld&) { return archiveFixture("traversal.kt"); }, ""},
        {"lacking", [](AdminWorld& w) { return archiveWithout(w, QStringLiteral("CAP5.dbf")); }, "Baza incompleta!"},
        {"old",
         [](AdminWorld& w) {
             auto source = std::make_unique<AdminWorld>(QStringLiteral("register-dbase4"));
             narrowNr2(*source);
             return archiveOf(w, source->home.data());
         },
         "Baza specificata este de la o versiune mai veche decat 2.78!"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        AdminWorld w(QStringLiteral("register-dbase4"));
        const QString archive = c.archive(w);
        const QMap<QString, QByteArray> files = test::filesOf(w.home.data());
        const QStringList beside = besideData(w);
        QStringList log;
        w.ui.pushYes().pushYes();
        RegisterMerge m(*w.engine, w.home.data(), w.home.home() + QStringLiteral("/scratch"), *w.settings, w.ui);
        m.log = [&log](const QString& line) { log << line; };
        try {
            m.run(archive, QStringLiteral("2010"), Villages);
            ADD_FAILURE() << "the merge was not refused";
        } catch (const MergeError& e) {
            if (*c.message)
                EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
            else
                EXPECT_TRUE(e.message().contains(QStringLiteral("nu s-a schimbat nimic"))) << e.message().toStdString();
        }
        EXPECT_EQ(test::filesOf(w.home.data()), files);
        EXPECT_EQ(besideData(w), beside);
        if (std::string(c.name) == "lacking")
            EXPECT_TRUE(log.last().contains(QStringLiteral("CAP5.dbf")));
        if (!archive.startsWith(test::fixturePath(QString())))
            QFile::remove(archive);
    }
}

// Values that would not fit this register's columns are refused before any change.
TEST(RegisterMerge, ValuesThatDoNotFitAreRefused)
{
    AdminWorld source(QStringLiteral("register-dbase4"));
    source.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(source.data(QStringLiteral("Identificare.dbf")))
                           + QStringLiteral(" SET CODID=9999999950 WHERE CODID=108"));
    const QString big = archiveOf(source, source.home.data());

    AdminWorld w(QStringLiteral("register-dbase4"));
    const QMap<QString, QByteArray> files = test::filesOf(w.home.data());
    w.ui.pushYes().pushYes();
    RegisterMerge m(*w.engine, w.home.data(), w.home.home() + QStringLiteral("/scratch"), *w.settings, w.ui);
    try {
        m.run(big, QStringLiteral("2010"), Villages);
        ADD_FAILURE() << "not refused";
    } catch (const MergeError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("10 cifre"))) << e.message().toStdString();
    }
    EXPECT_EQ(test::filesOf(w.home.data()), files);
    QFile::remove(big);

    // A register whose NR2 is narrower than the source's text.
    AdminWorld narrow(QStringLiteral("register-dbase4"));
    narrowNr2(narrow);
    AdminWorld wide(QStringLiteral("register-dbase4"));
    wide.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(wide.data(QStringLiteral("Identificare.dbf")))
                             + QStringLiteral(" SET NR2=:T WHERE CODID=101"),
                         text(QStringLiteral("BLOC A SCARA 2 AP 14")));
    const QString wideArchive = archiveOf(wide, wide.home.data());
    const QMap<QString, QByteArray> narrowFiles = test::filesOf(narrow.home.data());
    narrow.ui.pushYes().pushYes();
    RegisterMerge n(*narrow.engine, narrow.home.data(), narrow.home.home() + QStringLiteral("/scratch"), *narrow.settings, narrow.ui);
    try {
        n.run(wideArchive, QStringLiteral("2010"), Villages);
        ADD_FAILURE() << "not refused";
    } catch (const MergeError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NR2"))) << e.message().toStdString();
    }
    EXPECT_EQ(test::filesOf(narrow.home.data()), narrowFiles);
    QFile::remove(wideArchive);
}

// A step that fails after the first change puts the register back from the safety archive.
TEST(RegisterMerge, AFailureAfterTheFirstChangeIsUndone)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    // The village list cannot be replaced: its name is taken by a folder.
    QFile::remove(w.data(QStringLiteral("Sate.lst")));
    ASSERT_TRUE(QDir().mkpath(w.data(QStringLiteral("Sate.lst"))));
    const QMap<QString, QByteArray> files = test::filesOf(w.home.data());
    w.ui.pushYes().pushYes();
    RegisterMerge m(*w.engine, w.home.data(), w.home.home() + QStringLiteral("/scratch"), *w.settings, w.ui);
    try {
        m.run(archiveFixture("register.kt"), QStringLiteral("2010"), Villages);
        ADD_FAILURE() << "the merge did not fail";
    } catch (const MergeError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("nu s-a schimbat nimic"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("Lipire-"))) << e.message().toStdString();
    }
    EXPECT_EQ(test::filesOf(w.home.data()), files);
    EXPECT_FALSE(OperationMarker::read(w.home.data()).has_value());
    const QString ident = engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")));
    EXPECT_EQ(numbers(*w.engine, QStringLiteral("SELECT CODID FROM ") + ident + QStringLiteral(" WHERE ANUL=2010")), range(101, 108));
}

// The village list keeps its order; villages it lacks come in the source's order, then sorted.
TEST(RegisterMerge, TheVillageListKeepsItsOrder)
{
    AdminWorld source(QStringLiteral("register-dbase4"));
    const QString ident = engine::quotedPath(source.data(QStringLiteral("Identificare.dbf")));
    const char* const names[] = {"ZAVOI", "BRAZI", "PADURE"};
    for (int i = 0; i < 3; ++i)
        source.engine->execute(QStringLiteral("UPDATE ") + ident + QStringLiteral(" SET LOCALIT=:T WHERE CODID=%1").arg(101 + i),
                               text(QString::fromLatin1(names[i])));
    writeLineList(source.data(QStringLiteral("Sate.lst")), {QStringLiteral("ZAVOI"), QStringLiteral("SAT NOU")}, QStringLiteral("sate"));
    const QString archive = archiveOf(source, source.home.data());

    AdminWorld w(QStringLiteral("register-dbase4"));
    const QStringList mine {QStringLiteral("VALEA LUNGA"), QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("GOL")};
    w.ui.pushYes().pushYes();
    RegisterMerge m(*w.engine, w.home.data(), w.home.home() + QStringLiteral("/scratch"), *w.settings, w.ui);
    const MergeReport report = m.run(archive, QStringLiteral("2010"), mine);
    const QStringList expected = mine + QStringList {QStringLiteral("ZAVOI"), QStringLiteral("BRAZI"), QStringLiteral("PADURE")};
    EXPECT_EQ(report.villages, expected);
    EXPECT_EQ(readLineList(w.data(QStringLiteral("Sate.lst")), QStringLiteral("sate")), expected);
    EXPECT_EQ(report.common, 5); // 101..103 moved village
    QFile::remove(archive);
}

}
}
