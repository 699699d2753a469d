// The schema upgrade's own rules: positions decoded digit by digit, notes flattened, birth dates,
// the column sizes it never narrows, what an interrupted older run left behind, and a rewrite that
// fails leaving the old files as they were.

#include "core/StagedFile.h"
#include "data/SchemaUpgrade.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <map>

#include <gtest/gtest.h>

using namespace velmor;
using data::SchemaUpgrade;
using data::UpgradeStep;

namespace {

QString text(const dbf::Value& v)
{
    const auto* s = std::get_if<QString>(&v);
    return s ? *s : QString();
}

qint64 whole(const dbf::Value& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return qint64(*d);
    return -1;
}

// The values of a column by each row's key (CODID, COD1); a key no row has reads as null.
struct ColumnByKey {
    std::map<qint64, dbf::Value> values;
    dbf::Value operator[](qint64 key) const
    {
        const auto it = values.find(key);
        return it == values.end() ? dbf::Value() : it->second;
    }
};

ColumnByKey columnByKey(const dbf::DbfTable& t, const char* key, const char* name)
{
    const int k = t.fieldIndex(QLatin1String(key));
    const int c = t.fieldIndex(QLatin1String(name));
    EXPECT_GE(k, 0) << key;
    EXPECT_GE(c, 0) << name;
    ColumnByKey column;
    for (int r = 0; k >= 0 && c >= 0 && r < t.recordCount(); ++r)
        column.values[whole(t.value(r, k))] = t.value(r, c);
    return column;
}

const dbf::Field* field(const dbf::DbfTable& t, const char* name)
{
    const int i = t.fieldIndex(QLatin1String(name));
    return i < 0 ? nullptr : &t.fields()[i];
}

// A copy of an older data directory and an upgrade over it.
struct Directory {
    test::TempHome home;
    ScriptedInteraction ui;
    std::unique_ptr<engine::Engine> engine;
    int firstChanges = 0;
    QStringList villagesAdded;

    explicit Directory(const char* fixture)
    {
        home.copyFixture(QLatin1String(fixture));
        engine = std::make_unique<engine::Engine>(home.data());
    }
    QString path(const QString& name) const { return dbf::resolveFileName(home.dataFile(name)); }
    QString quoted(const QString& name) const { return engine::quotedPath(path(name)); }
    void sql(const QString& statement)
    {
        engine::Query q(*engine);
        q.add(statement);
        q.execSQL();
    }
    dbf::DbfTable table(const QString& name) const { return dbf::DbfTable(path(name)); }
    data::UpgradeReport upgrade()
    {
        SchemaUpgrade::Environment env;
        env.localit = QStringLiteral("TÂRGU VECHI");
        env.addVillage = [this](const QString& v) { villagesAdded << v; };
        env.beforeFirstChange = [this] { ++firstChanges; };
        // Fresh engine: the upgrade reads the files as they are now.
        engine = std::make_unique<engine::Engine>(home.data());
        return SchemaUpgrade(*engine, home.data(), ui, env).UpGrade();
    }
};

const UpgradeStep& step(const data::UpgradeReport& report, const QString& id)
{
    for (const UpgradeStep& s : report.steps) {
        if (s.id == id)
            return s;
    }
    static const UpgradeStep none;
    ADD_FAILURE() << "no step " << id.toStdString();
    return none;
}

}

TEST(SchemaUpgradeRules, PositionIsDecodedFromTheStoredDigits)
{
    const struct {
        double stored;
        int decimals;
        qint64 position, volume;
    } cases[] = {
        {7.12, 2, 7, 12}, {1.13, 2, 1, 13}, {123.05, 2, 123, 5}, {1.01, 2, 1, 1}, {7.12, 4, 7, 12}, {5.0, 2, 5, 0}, {0.99, 2, 0, 99},
    };
    for (const auto& c : cases) {
        qint64 position = -1, volume = -1;
        ASSERT_TRUE(SchemaUpgrade::splitPosition(c.stored, c.decimals, position, volume)) << c.stored;
        EXPECT_EQ(position, c.position) << c.stored;
        EXPECT_EQ(volume, c.volume) << c.stored;
    }
    qint64 position = 0, volume = 0;
    EXPECT_FALSE(SchemaUpgrade::splitPosition(-1.5, 2, position, volume));
}

TEST(SchemaUpgradeRules, NotesLoseTheirLineBreaksAsBlanks)
{
    const struct {
        const char* note;
        const char* flat;
    } cases[] = {
        {"eleva\r\nlinia a doua", "eleva linia a doua"},
        {"a\nb\rc", "a b c"},
        {"  DECEDATA 2009 \r\n", "DECEDATA 2009"},
        {"unu\r\n\r\ndoi", "unu  doi"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SchemaUpgrade::flattenNote(QString::fromUtf8(c.note)), QString::fromUtf8(c.flat)) << c.note;
}

TEST(SchemaUpgradeRules, BirthDateFromTheCodeElseTheYearElseNone)
{
    const struct {
        const char* cnp;
        dbf::Value year;
        QDate born;
    } cases[] = {
        {"5030415012340", dbf::Value(), QDate(2003, 4, 15)},
        {"5030415012340", dbf::Value(std::int64_t(1990)), QDate(2003, 4, 15)},
        {"1800101221144", dbf::Value(), QDate(1980, 1, 1)},
        {"5030415012341", dbf::Value(std::int64_t(1950)), QDate(1950, 1, 1)}, // wrong check digit
        {"", dbf::Value(1975.0), QDate(1975, 1, 1)},
        {"", dbf::Value(std::int64_t(0)), QDate()},
        {"", dbf::Value(), QDate()},
        {"7030415012340", dbf::Value(), QDate()}, // S = 7 is not valid for the upgrade
    };
    for (const auto& c : cases)
        EXPECT_EQ(SchemaUpgrade::birthDate(QLatin1String(c.cnp), c.year), c.born) << c.cnp;
}

// ChangeField never narrows, keeps an attribute given as 0 and leaves an unchanged layout alone.
TEST(SchemaUpgradeRules, ChangeFieldNeverNarrowsAndSkipsAnUnchangedLayout)
{
    const struct {
        int width, decimals;
        bool rewritten;
        int finalWidth, finalDecimals;
    } cases[] = {
        {6, 2, true, 6, 2}, {4, 2, false, 5, 2}, {5, 2, false, 5, 2}, {0, 0, false, 5, 2},
        {8, 0, true, 8, 2}, {0, 1, false, 5, 2}, {7, 3, true, 7, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(c.width).arg(c.decimals).toStdString());
        test::TempHome home;
        const QString path = home.dataFile(QStringLiteral("CAP3.dbf"));
        dbf::DbfTable::create(path, {{QStringLiteral("ANUL"), 'N', 4, 0}, {QStringLiteral("ARI"), 'N', 5, 2}});
        {
            dbf::DbfTable t(path);
            t.append({std::int64_t(2010), 12.5});
            t.append({std::int64_t(2010), 99.99});
        }
        const QByteArray before = test::existingFileBytes(path);
        ScriptedInteraction ui;
        engine::Engine engine(home.data());
        SchemaUpgrade upgrade(engine, home.data(), ui, {});
        EXPECT_EQ(upgrade.ChangeField(QStringLiteral("CAP3"), QStringLiteral("ARI"), c.width, c.decimals), c.rewritten);
        if (!c.rewritten)
            EXPECT_EQ(test::existingFileBytes(path), before);
        dbf::DbfTable t(path);
        const dbf::Field* ari = field(t, "ARI");
        ASSERT_TRUE(ari);
        EXPECT_EQ(ari->width, c.finalWidth);
        EXPECT_EQ(ari->decimals, c.finalDecimals);
        ASSERT_EQ(t.recordCount(), 2);
        EXPECT_DOUBLE_EQ(std::get<double>(t.value(0, 1)), 12.5);
        EXPECT_DOUBLE_EQ(std::get<double>(t.value(1, 1)), 99.99);
    }
}

TEST(SchemaUpgradeRules, ChangeFieldRefusesAValueThatWouldNotFitAndChangesNothing)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("CAP7.dbf"));
    dbf::DbfTable::create(path, {{QStringLiteral("ANUL"), 'N', 4, 0}, {QStringLiteral("RAND"), 'N', 3, 0}});
    {
        dbf::DbfTable t(path);
        t.append({std::int64_t(2010), std::int64_t(150)});
    }
    const QByteArray before = test::existingFileBytes(path);
    ScriptedInteraction ui;
    engine::Engine engine(home.data());
    SchemaUpgrade upgrade(engine, home.data(), ui, {});
    EXPECT_ANY_THROW(upgrade.ChangeField(QStringLiteral("CAP7"), QStringLiteral("RAND"), 4, 1));
    EXPECT_EQ(test::existingFileBytes(path), before);
}

// ---- leftovers of an interrupted older run, built as its statements left them ----

TEST(SchemaUpgradeLeftovers, NumberColumnDroppedBeforeItWasAddedAgain)
{
    Directory d("old-layouts/gen-b");
    const QString id = d.quoted(QStringLiteral("Identificare.dbf"));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD XXX CHAR(32)").arg(id));
    d.sql(QStringLiteral("UPDATE %1 SET XXX=NR").arg(id));
    d.sql(QStringLiteral("ALTER TABLE %1 DROP NR").arg(id));
    const data::UpgradeReport report = d.upgrade();
    EXPECT_EQ(step(report, QStringLiteral("R")).status, UpgradeStep::Status::Applied);
    EXPECT_FALSE(report.failed()) << report.failures().join(QLatin1Char('\n')).toStdString();
    const dbf::DbfTable t = d.table(QStringLiteral("Identificare.dbf"));
    EXPECT_FALSE(field(t, "XXX"));
    ASSERT_TRUE(field(t, "NR"));
    EXPECT_EQ(field(t, "NR")->width, 32);
    const int codid = t.fieldIndex(QStringLiteral("CODID"));
    const int nr = t.fieldIndex(QStringLiteral("NR"));
    bool seen = false;
    for (int r = 0; r < t.recordCount(); ++r) {
        if (whole(t.value(r, codid)) == 102) {
            EXPECT_EQ(text(t.value(r, nr)), QStringLiteral("10A"));
            seen = true;
        }
    }
    EXPECT_TRUE(seen);
}

TEST(SchemaUpgradeLeftovers, NumberColumnAddedAgainButNotFilled)
{
    Directory d("old-layouts/gen-b");
    const QString id = d.quoted(QStringLiteral("Identificare.dbf"));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD XXX CHAR(32)").arg(id));
    d.sql(QStringLiteral("UPDATE %1 SET XXX=NR").arg(id));
    d.sql(QStringLiteral("ALTER TABLE %1 DROP NR").arg(id));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD NR CHAR(32)").arg(id));
    d.upgrade();
    const dbf::DbfTable t = d.table(QStringLiteral("Identificare.dbf"));
    EXPECT_FALSE(field(t, "XXX"));
    EXPECT_EQ(text(columnByKey(t, "CODID", "NR")[101]), QStringLiteral("12"));
}

TEST(SchemaUpgradeLeftovers, SecondNumberWidenedButPartlyFilled)
{
    Directory d("old-layouts/gen-b");
    const QString id = d.quoted(QStringLiteral("Identificare.dbf"));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD XXX CHAR(32)").arg(id));
    d.sql(QStringLiteral("UPDATE %1 SET XXX=NR2").arg(id));
    d.sql(QStringLiteral("ALTER TABLE %1 DROP NR2").arg(id));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD NR2 CHAR(32)").arg(id));
    d.sql(QStringLiteral("UPDATE %1 SET NR2=XXX WHERE CODID=105").arg(id));
    const data::UpgradeReport report = d.upgrade();
    const dbf::DbfTable t = d.table(QStringLiteral("Identificare.dbf"));
    EXPECT_FALSE(field(t, "XXX"));
    const ColumnByKey nr2 = columnByKey(t, "CODID", "NR2");
    for (const qint64 codid : {105, 106})
        EXPECT_FALSE(text(nr2[codid]).isEmpty()) << codid;
    // NR2 is wide already: the gate is closed, nothing else runs.
    EXPECT_EQ(step(report, QStringLiteral("2")).status, UpgradeStep::Status::Skipped);
}

TEST(SchemaUpgradeLeftovers, PositionsHalfSplit)
{
    Directory d("old-layouts/gen-a");
    const QString id = d.quoted(QStringLiteral("Identificare.dbf"));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD POZ DECIMAL(6,0), ADD VOLUM DECIMAL(6,0)").arg(id));
    d.sql(QStringLiteral("UPDATE %1 SET POZ=99, VOLUM=99 WHERE CODID=101").arg(id));
    const data::UpgradeReport report = d.upgrade();
    EXPECT_FALSE(report.failed()) << report.failures().join(QLatin1Char('\n')).toStdString();
    const dbf::DbfTable t = d.table(QStringLiteral("Identificare.dbf"));
    EXPECT_FALSE(field(t, "POZITIA"));
    const ColumnByKey poz = columnByKey(t, "CODID", "POZ");
    const ColumnByKey volum = columnByKey(t, "CODID", "VOLUM");
    EXPECT_EQ(whole(poz[101]), 1);
    EXPECT_EQ(whole(volum[101]), 1);
    EXPECT_EQ(whole(poz[104]), 1);
    EXPECT_EQ(whole(volum[104]), 2);
}

TEST(SchemaUpgradeLeftovers, NotesHelperWhileTheMemoIsStillThere)
{
    Directory d("old-layouts/gen-a");
    d.sql(QStringLiteral("ALTER TABLE %1 ADD MENTEMP CHAR(240)").arg(d.quoted(QStringLiteral("CAP1.dbf"))));
    const data::UpgradeReport report = d.upgrade();
    EXPECT_FALSE(report.failed()) << report.failures().join(QLatin1Char('\n')).toStdString();
    const dbf::DbfTable t = d.table(QStringLiteral("CAP1.dbf"));
    EXPECT_FALSE(field(t, "MENTEMP"));
    ASSERT_TRUE(field(t, "MENTIUNI"));
    EXPECT_EQ(field(t, "MENTIUNI")->type, 'C');
    EXPECT_EQ(text(columnByKey(t, "COD1", "MENTIUNI")[103]), QStringLiteral("eleva linia a doua"));
}

TEST(SchemaUpgradeLeftovers, NotesHelperAfterTheMemoWasReplaced)
{
    Directory d("old-layouts/gen-b");
    const QString cap1 = d.quoted(QStringLiteral("CAP1.dbf"));
    d.sql(QStringLiteral("ALTER TABLE %1 ADD MENTEMP CHAR(240)").arg(cap1));
    d.sql(QStringLiteral("UPDATE %1 SET MENTEMP=MENTIUNI").arg(cap1));
    d.sql(QStringLiteral("UPDATE %1 SET MENTIUNI=NULL WHERE COD1=103").arg(cap1));
    d.sql(QStringLiteral("UPDATE %1 SET MENTEMP=\"vechi\", MENTIUNI=\"pastrat\" WHERE COD1=101").arg(cap1));
    d.upgrade();
    const dbf::DbfTable t = d.table(QStringLiteral("CAP1.dbf"));
    EXPECT_FALSE(field(t, "MENTEMP"));
    const ColumnByKey notes = columnByKey(t, "COD1", "MENTIUNI");
    EXPECT_EQ(text(notes[103]), QStringLiteral("eleva"));
    EXPECT_EQ(text(notes[101]), QStringLiteral("pastrat"));
}

TEST(SchemaUpgradeLeftovers, RowNineteenGivenOnlyToTheHouseholdYearsWithoutIt)
{
    Directory d("old-layouts/gen-a");
    const QString cap10 = d.quoted(QStringLiteral("CAP10.dbf"));
    // An older run's appends stopped after the first household.
    d.sql(QStringLiteral("INSERT INTO %1 (ANUL, CODID, RAND, DETALII, UM) VALUES (2010, 101, 19, 0, \"mp\")").arg(cap10));
    const data::UpgradeReport report = d.upgrade();
    EXPECT_FALSE(report.failed()) << report.failures().join(QLatin1Char('\n')).toStdString();
    engine::Engine check(d.home.data());
    engine::Query q(check);
    q.add(QStringLiteral("SELECT ANUL, CODID, COUNT(*) AS N FROM %1 WHERE RAND=19 GROUP BY ANUL, CODID").arg(cap10));
    q.open();
    int households = 0;
    for (q.first(); !q.eof(); q.next()) {
        EXPECT_EQ(q.fieldByName(QStringLiteral("N")).asInteger(), 1);
        ++households;
    }
    engine::Query all(check);
    all.add(QStringLiteral("SELECT DISTINCT ANUL, CODID FROM %1").arg(cap10));
    all.open();
    EXPECT_EQ(households, all.recordCount());
    EXPECT_GE(households, 1);
}

// ---- notes longer than the column ----

TEST(SchemaUpgradeNotes, LongNoteGoesWholeIntoTheFileOnce)
{
    Directory d("old-layouts/gen-a");
    const QString longNote = QString(QStringLiteral("ŢARA ")).repeated(60).trimmed() + QStringLiteral("\r\nSFARSIT");
    {
        dbf::DbfTable t(d.path(QStringLiteral("CAP1.dbf")));
        const int code = t.fieldIndex(QStringLiteral("COD1"));
        const int notes = t.fieldIndex(QStringLiteral("MENTIUNI"));
        for (int r = 0; r < t.recordCount(); ++r) {
            if (whole(t.value(r, code)) == 104)
                t.update(r, {{notes, longNote}});
        }
    }
    const QString saved = d.home.home() + QStringLiteral("/CAP1-old");
    ASSERT_TRUE(QDir().mkpath(saved));
    ASSERT_TRUE(QFile::copy(d.path(QStringLiteral("CAP1.dbf")), saved + QStringLiteral("/CAP1.dbf")));
    ASSERT_TRUE(QFile::copy(dbf::memoPathFor(d.path(QStringLiteral("CAP1.dbf"))), saved + QStringLiteral("/CAP1.dbt")));

    const data::UpgradeReport report = d.upgrade();
    EXPECT_FALSE(report.failed()) << report.failures().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(report.longNotes, QStringList {QStringLiteral("104")});
    const QString flat = SchemaUpgrade::flattenNote(longNote);
    ASSERT_GT(flat.size(), 240);
    const QByteArray line = dbf::cp1250::encode(QString(QStringLiteral("104\t") + flat)) + "\r\n";
    const QString file = d.home.dataFile(QStringLiteral("MentiuniLungi.txt"));
    EXPECT_EQ(test::existingFileBytes(file), line);
    {
        const QString kept = text(columnByKey(d.table(QStringLiteral("CAP1.dbf")), "COD1", "MENTIUNI")[104]);
        EXPECT_EQ(kept.toStdString(), flat.left(240).trimmed().toStdString());
    }

    // The memo table back, as if the run had stopped before CAP1 was rewritten: no line twice.
    d.engine.reset();
    for (const QString& name : {QStringLiteral("CAP1.dbf"), QStringLiteral("CAP1.dbt")}) {
        QFile::remove(d.home.dataFile(name));
        ASSERT_TRUE(QFile::copy(saved + QLatin1Char('/') + name, d.home.dataFile(name)));
    }
    d.upgrade();
    EXPECT_EQ(test::existingFileBytes(file), line);
}

// ---- failures ----

namespace {
QString g_readOnlyDir;
int readOnlyDirectory(const QString& target, StagedFile::Step, qint64, qint64)
{
    return QFileInfo(target).absolutePath() == g_readOnlyDir ? EROFS : 0;
}
}

TEST(SchemaUpgradeFailures, RewriteRefusedByTheDiskLeavesTheOldFilesAndTheGateOpen)
{
    Directory d("old-layouts/gen-b");
    QMap<QString, QByteArray> before;
    for (const QString& name : QDir(d.home.data()).entryList(QDir::Files))
        before.insert(name, test::existingFileBytes(d.home.dataFile(name)));
    g_readOnlyDir = QFileInfo(d.home.data()).absoluteFilePath();
    StagedFile::setFaultHookForTests(readOnlyDirectory);
    const data::UpgradeReport report = d.upgrade();
    StagedFile::setFaultHookForTests(nullptr);
    EXPECT_TRUE(report.failed());
    EXPECT_EQ(step(report, QStringLiteral("17")).status, UpgradeStep::Status::Failed);
    EXPECT_EQ(step(report, QStringLiteral("18")).status, UpgradeStep::Status::Skipped);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(test::existingFileBytes(d.home.dataFile(it.key())), it.value()) << it.key().toStdString();
    EXPECT_FALSE(report.failures().isEmpty());

    // The disk takes files again: the next run finishes.
    const data::UpgradeReport again = d.upgrade();
    EXPECT_FALSE(again.failed()) << again.failures().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(field(d.table(QStringLiteral("Identificare.dbf")), "NR2")->width, 32);
}

TEST(SchemaUpgradeFailures, ChapterSevenFailureIsShownAndTheRestGoesOn)
{
    Directory d("old-layouts/gen-a");
    d.sql(QStringLiteral("UPDATE %1 SET RAND=150 WHERE RAND=30").arg(d.quoted(QStringLiteral("CAP7.dbf"))));
    const data::UpgradeReport report = d.upgrade();
    EXPECT_EQ(step(report, QStringLiteral("9")).status, UpgradeStep::Status::Failed);
    EXPECT_EQ(step(report, QStringLiteral("9")).table, QStringLiteral("CAP7"));
    EXPECT_EQ(step(report, QStringLiteral("12")).status, UpgradeStep::Status::Applied);
    EXPECT_EQ(step(report, QStringLiteral("18")).status, UpgradeStep::Status::Skipped);
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_EQ(d.ui.messages()[0].title, QStringLiteral("UpGrade Cap.7"));
    EXPECT_EQ(d.ui.messages()[0].kind, int(KindError));
    // CAP7 kept its row codes and their column.
    const dbf::DbfTable cap7 = d.table(QStringLiteral("CAP7.dbf"));
    EXPECT_EQ(field(cap7, "RAND")->width, 3);
    EXPECT_EQ(field(cap7, "RAND")->decimals, 0);
    int high = 0;
    for (int r = 0; r < cap7.recordCount(); ++r)
        high += whole(cap7.value(r, cap7.fieldIndex(QStringLiteral("RAND")))) == 150 ? 1 : 0;
    EXPECT_GT(high, 0);
    EXPECT_EQ(d.firstChanges, 1);
    // The gate stays open: NR2 is still narrow.
    EXPECT_EQ(field(d.table(QStringLiteral("Identificare.dbf")), "NR2")->width, 10);
}

TEST(SchemaUpgradeFailures, RefusedFirstChangeChangesNothing)
{
    Directory d("old-layouts/gen-a");
    QMap<QString, QByteArray> before;
    for (const QString& name : QDir(d.home.data()).entryList(QDir::Files))
        before.insert(name, test::existingFileBytes(d.home.dataFile(name)));
    SchemaUpgrade::Environment env;
    env.beforeFirstChange = [] { throw Error(QStringLiteral("Nu pot scrie salvarea de siguranta.")); };
    engine::Engine engine(d.home.data());
    const data::UpgradeReport report = SchemaUpgrade(engine, d.home.data(), d.ui, env).UpGrade();
    EXPECT_TRUE(report.failed());
    EXPECT_EQ(report.steps.size(), 19u);
    EXPECT_TRUE(report.failures().join(QString()).contains(QStringLiteral("salvarea de siguranta")));
    QMap<QString, QByteArray> after;
    for (const QString& name : QDir(d.home.data()).entryList(QDir::Files))
        after.insert(name, test::existingFileBytes(d.home.dataFile(name)));
    EXPECT_EQ(after, before);
}

TEST(SchemaUpgradeVillage, HouseholdsWithoutAVillageTakeTheCouncilsLocalityAndTheChaptersStayWithout)
{
    Directory d("old-layouts/gen-a");
    d.sql(QStringLiteral("ALTER TABLE %1 DROP SATUL").arg(d.quoted(QStringLiteral("Identificare.dbf"))));
    const data::UpgradeReport report = d.upgrade();
    EXPECT_FALSE(report.failed()) << report.failures().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(step(report, QStringLiteral("10")).status, UpgradeStep::Status::Applied);
    EXPECT_EQ(d.villagesAdded, QStringList {QStringLiteral("TÂRGU VECHI")});
    const dbf::DbfTable t = d.table(QStringLiteral("Identificare.dbf"));
    const int village = t.fieldIndex(QStringLiteral("LOCALIT"));
    ASSERT_GE(village, 0);
    for (int r = 0; r < t.recordCount(); ++r)
        EXPECT_EQ(text(t.value(r, village)), QStringLiteral("TÂRGU VECHI"));
    for (int n = 1; n <= 11; ++n)
        EXPECT_FALSE(field(d.table(QStringLiteral("CAP%1.dbf").arg(n)), "LOCALIT")) << n;
}
