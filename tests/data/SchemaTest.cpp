#include "data/Schema.h"
#include "support/FileBytes.h"

#include "data/dbf/DbfTable.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::data::Schema;

namespace {

int headerByte(const QString& path, int offset)
{
    const QByteArray bytes = velmor::test::fileBytes(path);
    return bytes.size() > offset ? quint8(bytes[offset]) : -1;
}

void setHeaderByte(const QString& path, int offset, char value)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write(&value, 1), 1);
}

QString q(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

class SchemaTest : public ::testing::Test {
protected:
    SchemaTest()
        : engine(home.data())
        , schema(engine, home.data(), ui)
    {
    }

    QString path(const QString& name) const { return schema.tablePath(name); }
    qint64 count(const QString& name)
    {
        const auto rows = engine.select(QStringLiteral("SELECT COUNT(*) AS N FROM ") + q(path(name)));
        return std::get<std::int64_t>(rows.rows.at(0).at(0));
    }
    QStringList dataFiles() const
    {
        return QDir(home.data()).entryList(QDir::Files, QDir::Name);
    }

    test::TempHome home;
    engine::Engine engine;
    ScriptedInteraction ui;
    Schema schema;
};

TEST_F(SchemaTest, EmptyDirectoryGetsFifteenTablesAndTheMemoFile)
{
    EXPECT_FALSE(Schema::ExistaBaza(home.data()));
    schema.CreazaBaza();
    QStringList expected = Schema::tableFileNames();
    expected << QStringLiteral("CAP11.dbt");
    expected.sort();
    QStringList files = dataFiles();
    files.sort();
    EXPECT_EQ(files, expected);
    EXPECT_TRUE(Schema::ExistaBaza(home.data()));
    EXPECT_TRUE(ui.messages().empty());

    for (const QString& name : Schema::tableFileNames()) {
        const dbf::DbfTable table(path(name));
        EXPECT_EQ(table.recordCount(), 0) << name.toStdString();
        EXPECT_FALSE(table.productionIndexFlag()) << name.toStdString();
        EXPECT_EQ(table.versionByte(), name == QLatin1String("CAP11.dbf") ? 0x8B : 0x03) << name.toStdString();
    }
}

TEST_F(SchemaTest, CreatedLayoutsHaveTheDeclaredColumns)
{
    schema.CreazaBaza();
    const auto columns = [&](const QString& name) {
        QStringList out;
        const dbf::DbfTable table(path(name));
        for (const dbf::Field& f : table.fields())
            out << QStringLiteral("%1 %2 %3 %4").arg(f.name).arg(QLatin1Char(f.type)).arg(f.width).arg(f.decimals);
        return out.join(QStringLiteral(", "));
    };
    EXPECT_EQ(columns(QStringLiteral("Identificare.dbf")),
              QStringLiteral("ANUL N 4 0, POZ N 6 0, VOLUM N 6 0, ROL N 9 0, LOCALIT C 40 0, STRADA C 32 0, NR C 32 0, "
                             "JUDET C 20 0, LOC C 32 0, STR2 C 32 0, NR2 C 32 0, SIRUTA C 6 0, DENUMIRE C 40 0, "
                             "SUBUNIT C 40 0, SIRUES C 10 0, CODFISCAL C 10 0, CODID N 10 0, TIPRA N 6 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP1.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, NUMEP C 40 0, CNP C 13 0, CODSEX N 1 0, DENUM C 24 0, "
                             "COD N 1 0, DATAN D 8 0, COD1 N 10 0, MENTIUNI C 240 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP2.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, CATEG C 60 0, AHA N 4 0, AARI N 6 2, BHA N 4 0, BARI N 6 2, "
                             "CHA N 4 0, CARI N 6 2, RAND N 3 0, IHA N 4 0, IARI N 6 2"));
    EXPECT_EQ(columns(QStringLiteral("CAP3.dbf")), columns(QStringLiteral("CAP4.dbf")));
    EXPECT_EQ(columns(QStringLiteral("CAP4.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, CATEG C 60 0, HA N 4 0, ARI N 6 2, RAND N 3 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP5.dbf")), columns(QStringLiteral("CAP9.dbf")));
    EXPECT_EQ(columns(QStringLiteral("CAP9.dbf")), QStringLiteral("ANUL N 4 0, CODID N 10 0, CATEG C 60 0, NR N 7 0, RAND N 3 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP6.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, CATEG C 60 0, AHA N 4 0, AARI N 6 2, BHA N 4 0, BARI N 6 2, "
                             "CHA N 4 0, CARI N 6 2, RAND N 3 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP7.dbf")), QStringLiteral("ANUL N 4 0, CODID N 10 0, CATEG C 60 0, NR N 7 0, RAND N 4 1"));
    EXPECT_EQ(columns(QStringLiteral("CAP8.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, CATEG C 60 0, SEM_1 N 6 0, SEM_2 N 6 0, RAND N 3 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP10.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, DETALII N 8 2, UM C 2 0, RAND N 3 0, OBS C 40 0"));
    EXPECT_EQ(columns(QStringLiteral("CAP11.dbf")), QStringLiteral("ANUL N 4 0, CODID N 10 0, MENTIUNI M 10 0"));
    EXPECT_EQ(columns(QStringLiteral("Tarlale.dbf")),
              QStringLiteral("ANUL N 4 0, CODID N 10 0, CODT N 10 0, OBS C 240 0, ACT C 45 0, NRACT C 15 0, "
                             "DATAELIB C 11 0, INTRA C 10 0, TARLA C 32 0, NRTARLA C 16 0, NRPARC C 16 0, CATEG C 30 0, "
                             "SUPRAF N 10 4, VECN C 120 0, VECS C 120 0, VECE C 120 0, VECV C 120 0, CARFUN C 50 0, "
                             "NRCAD C 10 0, CINELUC C 40 0"));
    EXPECT_EQ(columns(QStringLiteral("OmTarla.dbf")), QStringLiteral("ANUL N 4 0, CODID N 10 0, CODT N 10 0, TITULAR C 40 0"));
    EXPECT_EQ(columns(QStringLiteral("PozeTarla.dbf")), QStringLiteral("ANUL N 4 0, CODT N 10 0, FISIER C 240 0"));
}

TEST_F(SchemaTest, CreatorsSendTheirStatementLinesExactly)
{
    const QString p = home.dataFile(QStringLiteral("X.dbf"));
    schema.CreazaIdentificare(p);
    EXPECT_EQ(schema.Sx().SQL(),
              QStringList({QStringLiteral("CREATE TABLE ") + q(p),
                           QStringLiteral("( ANUL DECIMAL(4,0), POZ DECIMAL(6,0), VOLUM DECIMAL(6,0), ROL DECIMAL(9,0), LOCALIT CHAR(40), STRADA CHAR(32),"),
                           QStringLiteral("NR  CHAR(32), JUDET CHAR(20), LOC CHAR(32), STR2 CHAR(32),"),
                           QStringLiteral("NR2 CHAR(32), SIRUTA CHAR(6), DENUMIRE CHAR(40), SUBUNIT CHAR(40),"),
                           QStringLiteral("SIRUES CHAR(10), CODFISCAL CHAR(10), CODID DECIMAL(10,0), TIPRA DECIMAL(6,0) )")}));
    schema.CreazaCap1(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("(ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
                           QStringLiteral("NUMEP CHAR(40), CNP CHAR(13), CODSEX DECIMAL(1,0), DENUM CHAR(24), COD DECIMAL(1,0),"),
                           QStringLiteral("DATAN DATE, COD1 DECIMAL(10,0), MENTIUNI CHAR(240) )")}));
    schema.CreazaCap7(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
                           QStringLiteral("CATEG CHAR(60), NR DECIMAL(7,0), RAND DECIMAL(4,1) )")}));
    schema.CreazaCap8(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("(ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
                           QStringLiteral("CATEG CHAR(60), SEM_1 DECIMAL(6,0), SEM_2 DECIMAL(6,0), RAND DECIMAL(3,0) )")}));
    schema.CreazaCap10(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
                           QStringLiteral("DETALII DECIMAL(8,2),UM CHAR(2), RAND DECIMAL(3,0), OBS CHAR(40) )")}));
    schema.CreazaCap11(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),MENTIUNI BLOB(1,1) )")}));
    schema.CreazaTarlale(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),CODT DECIMAL(10,0),"),
                           QStringLiteral(" OBS CHAR(240),  ACT CHAR(45), NRACT CHAR(15), DATAELIB CHAR(11),"),
                           QStringLiteral("INTRA CHAR(10),  TARLA CHAR(32), NRTARLA CHAR(16), NRPARC CHAR(16),"),
                           QStringLiteral("CATEG CHAR(30),  SUPRAF DECIMAL(10,4), VECN CHAR(120), VECS CHAR(120), VECE CHAR(120), VECV CHAR(120),"),
                           QStringLiteral("CARFUN CHAR(50), NRCAD CHAR(10), CINELUC CHAR(40) )")}));
    schema.CreazaOmTarla(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),CODT DECIMAL(10,0),"),
                           QStringLiteral(" TITULAR CHAR(40))")}));
    schema.CreazaPozeTarla(p);
    EXPECT_EQ(schema.Sx().SQL().mid(1),
              QStringList({QStringLiteral("(ANUL DECIMAL(4,0), CODT DECIMAL(10,0),"), QStringLiteral(" FISIER CHAR(240))")}));
    // The last creator left its table in place.
    EXPECT_EQ(dbf::DbfTable(p).fields().size(), 3);
}

TEST_F(SchemaTest, CreatorReplacesAnExistingTableWithAnEmptyOne)
{
    schema.CreazaBaza();
    engine.execute(QStringLiteral("INSERT INTO ") + q(path(QStringLiteral("CAP2.dbf")))
                   + QStringLiteral(" (ANUL, CODID, RAND, CATEG) VALUES (2010, 1, 1, \"Teren arabil\")"));
    ASSERT_EQ(count(QStringLiteral("CAP2.dbf")), 1);
    schema.CreazaCap2(path(QStringLiteral("CAP2.dbf")));
    EXPECT_EQ(count(QStringLiteral("CAP2.dbf")), 0);
}

TEST_F(SchemaTest, CreatorFindsTheTableWhateverItsLetterCase)
{
    schema.CreazaBaza();
    engine.execute(QStringLiteral("INSERT INTO ") + q(path(QStringLiteral("CAP5.dbf")))
                   + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 1, 1, 3)"));
    engine.forget(path(QStringLiteral("CAP5.dbf")));
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("CAP5.dbf")), path(QStringLiteral("Cap5.DBF"))));
    EXPECT_TRUE(Schema::ExistaBaza(home.data()));
    schema.CreazaCap5(path(QStringLiteral("CAP5.dbf")));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Cap5.DBF"))));
    EXPECT_EQ(count(QStringLiteral("CAP5.dbf")), 0);
}

TEST_F(SchemaTest, FailingCreationRaisesTheEngineError)
{
    EXPECT_THROW(schema.CreazaCap3(home.dataFile(QStringLiteral("missing/CAP3.dbf"))), engine::SqlError);
}

TEST_F(SchemaTest, IdentificareThatCannotBeDeletedEndsTheProgram)
{
    // A directory of that name cannot be removed as a file.
    const QString p = path(QStringLiteral("Identificare.dbf"));
    ASSERT_TRUE(QDir().mkpath(p + QStringLiteral("/inside")));
    try {
        schema.CreazaIdentificare(p);
        FAIL() << "no termination";
    } catch (const data::ProgramTermination& e) {
        EXPECT_EQ(e.reason(), QStringLiteral("Restartati calculatorul si reveniti!"));
    }
    ASSERT_EQ(ui.messages().size(), 1u);
    const auto& m = ui.lastMessage();
    EXPECT_EQ(m.title, QStringLiteral("Problema de Windows!"));
    EXPECT_EQ(m.text, QStringLiteral("Restartati calculatorul si reveniti!"));
    EXPECT_EQ(m.kind, KindError);
    EXPECT_EQ(m.buttons, ButtonsOk);
    EXPECT_TRUE(QFileInfo(p).isDir());
}

TEST_F(SchemaTest, MissingChapterIsRecreatedEmptyAndTheOthersAreLeftAlone)
{
    schema.CreazaBaza();
    for (const QString& name : {QStringLiteral("CAP5.dbf"), QStringLiteral("CAP2.dbf"), QStringLiteral("Identificare.dbf")}) {
        engine.execute(QStringLiteral("INSERT INTO ") + q(path(name)) + QStringLiteral(" (ANUL, CODID) VALUES (2010, 7)"));
    }
    engine.execute(QStringLiteral("INSERT INTO ") + q(path(QStringLiteral("CAP11.dbf")))
                   + QStringLiteral(" (ANUL, CODID, MENTIUNI) VALUES (2010, 7, \"note\")"));
    // Make every file look old, so a rewrite would show in its time.
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    std::map<QString, QByteArray> before;
    for (const QString& name : dataFiles()) {
        QFile f(home.dataFile(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
        before[name] = velmor::test::fileBytes(home.dataFile(name));
    }

    engine.forget(path(QStringLiteral("CAP5.dbf")));
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("CAP5.dbf"))));
    EXPECT_FALSE(Schema::ExistaBaza(home.data()));

    schema.CreazaBaza();
    EXPECT_TRUE(Schema::ExistaBaza(home.data()));
    EXPECT_EQ(count(QStringLiteral("CAP5.dbf")), 0);
    for (const auto& [name, bytes] : before) {
        if (name == QLatin1String("CAP5.dbf"))
            continue;
        EXPECT_EQ(velmor::test::fileBytes(home.dataFile(name)), bytes) << name.toStdString();
        EXPECT_EQ(QFileInfo(home.dataFile(name)).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch())
            << name.toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("CAP2.dbf")), 1);
}

TEST_F(SchemaTest, ExistaBazaNeedsEveryTable)
{
    schema.CreazaBaza();
    for (const QString& name : Schema::tableFileNames()) {
        test::TempHome other;
        for (const QString& copy : Schema::tableFileNames()) {
            if (copy != name) {
                ASSERT_TRUE(QFile::copy(path(copy), other.dataFile(copy)));
            }
        }
        EXPECT_FALSE(Schema::ExistaBaza(other.data())) << name.toStdString();
    }
    EXPECT_TRUE(Schema::ExistaBaza(home.data() + QLatin1Char('/')));
    EXPECT_FALSE(Schema::ExistaBaza(home.dataFile(QStringLiteral("nowhere"))));
}

TEST_F(SchemaTest, ChapterSevenKeepsOneDecimalOfTheRowCode)
{
    schema.CreazaBaza();
    engine.execute(QStringLiteral("INSERT INTO ") + q(path(QStringLiteral("CAP7.dbf")))
                   + QStringLiteral(" (ANUL, CODID, RAND, CATEG, NR) VALUES (2010, 1, 4.1, \"x\", 2)"));
    engine.execute(QStringLiteral("INSERT INTO ") + q(path(QStringLiteral("CAP2.dbf")))
                   + QStringLiteral(" (ANUL, CODID, RAND, CATEG) VALUES (2010, 1, 4, \"x\")"));
    const auto seven = engine.select(QStringLiteral("SELECT RAND FROM ") + q(path(QStringLiteral("CAP7.dbf"))) + QStringLiteral(" WHERE RAND=4.1"));
    ASSERT_EQ(seven.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(std::get<double>(seven.rows[0][0]), 4.1);
    const auto two = engine.select(QStringLiteral("SELECT RAND FROM ") + q(path(QStringLiteral("CAP2.dbf"))));
    ASSERT_EQ(two.rows.size(), 1u);
    EXPECT_EQ(std::get<std::int64_t>(two.rows[0][0]), 4);
    EXPECT_EQ(dbf::DbfTable(path(QStringLiteral("CAP2.dbf"))).fields()[9].decimals, 0);
}

TEST_F(SchemaTest, RemoveIndexClearsTheFlagOfReferenceTablesAndDeletesTheirMdx)
{
    home.copyFixture(QStringLiteral("register-dbase4"));
    for (const QString& name : Schema::tableFileNames()) {
        const QString p = path(name);
        const QString mdx = p.left(p.size() - 4) + QStringLiteral(".mdx");
        const bool indexed = name != QLatin1String("CAP1.dbf");
        EXPECT_EQ(headerByte(p, 28), indexed ? 1 : 0) << name.toStdString();
        EXPECT_EQ(QFileInfo::exists(mdx), indexed) << name.toStdString();
        schema.RemoveIndex(p);
        EXPECT_EQ(headerByte(p, 28), 0) << name.toStdString();
        EXPECT_FALSE(QFileInfo::exists(mdx)) << name.toStdString();
        EXPECT_GE(count(name), 0) << name.toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("Identificare.dbf")), 13);
}

TEST_F(SchemaTest, RemoveIndexWithoutMdxFileOpensTheTable)
{
    schema.CreazaBaza();
    const QString p = path(QStringLiteral("CAP4.dbf"));
    engine.execute(QStringLiteral("INSERT INTO ") + q(p) + QStringLiteral(" (ANUL, CODID, RAND) VALUES (2010, 1, 1)"));
    engine.forget(p);
    setHeaderByte(p, 28, 1);
    ASSERT_TRUE(dbf::DbfTable(p).productionIndexFlag());
    schema.RemoveIndex(p);
    EXPECT_EQ(headerByte(p, 28), 0);
    EXPECT_FALSE(dbf::DbfTable(p).productionIndexFlag());
    EXPECT_EQ(count(QStringLiteral("CAP4.dbf")), 1);
}

TEST_F(SchemaTest, RemoveIndexMatchesTheMdxNameWithoutRegardToCase)
{
    schema.CreazaBaza();
    const QString p = path(QStringLiteral("Tarlale.dbf"));
    QFile mdx(home.dataFile(QStringLiteral("TARLALE.MDX")));
    ASSERT_TRUE(mdx.open(QIODevice::WriteOnly));
    mdx.write("junk");
    mdx.close();
    schema.RemoveIndex(p);
    EXPECT_FALSE(mdx.exists());
}

TEST_F(SchemaTest, RemoveIndexOfAPathWithoutExtensionTouchesNoOtherFile)
{
    // Cutting four characters off "…/Data/Tabel" would name "…/Data/Ta.mdx".
    const QString p = home.dataFile(QStringLiteral("Tabel"));
    dbf::DbfTable::create(p, {{QStringLiteral("ANUL"), 'N', 4, 0}});
    setHeaderByte(p, 28, 1);
    QFile other(home.dataFile(QStringLiteral("Ta.mdx")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    QFile own(home.dataFile(QStringLiteral("Tabel.mdx")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    schema.RemoveIndex(p);
    EXPECT_EQ(headerByte(p, 28), 0);
    EXPECT_TRUE(other.exists());
    EXPECT_FALSE(own.exists());
}

TEST_F(SchemaTest, RemoveIndexLeavesAnUnopenableTableAlone)
{
    const QString missing = path(QStringLiteral("CAP3.dbf"));
    QFile mdx(home.dataFile(QStringLiteral("CAP3.mdx")));
    ASSERT_TRUE(mdx.open(QIODevice::WriteOnly));
    mdx.close();
    EXPECT_NO_THROW(schema.RemoveIndex(missing));
    EXPECT_TRUE(mdx.exists());
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString folder = path(QStringLiteral("CAP6.dbf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile mdx6(home.dataFile(QStringLiteral("CAP6.mdx")));
    ASSERT_TRUE(mdx6.open(QIODevice::WriteOnly));
    mdx6.close();
    EXPECT_NO_THROW(schema.RemoveIndex(folder));
    EXPECT_TRUE(mdx6.exists());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(SchemaTest, PackingWithoutDeletedRowsLeavesTheFileUntouched)
{
    schema.CreazaBaza();
    const QString p = path(QStringLiteral("CAP9.dbf"));
    for (int k = 1; k <= 3; ++k)
        engine.execute(QStringLiteral("INSERT INTO ") + q(p) + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 1, %1, 2)").arg(k));
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QByteArray before = velmor::test::fileBytes(p);
    schema.Impacheteaza(p);
    EXPECT_EQ(velmor::test::fileBytes(p), before);
    EXPECT_EQ(QFileInfo(p).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    EXPECT_FALSE(schema.Tx().active());
}

TEST_F(SchemaTest, PackingDropsDeletedRows)
{
    schema.CreazaBaza();
    const QString p = path(QStringLiteral("CAP9.dbf"));
    for (int k = 1; k <= 4; ++k)
        engine.execute(QStringLiteral("INSERT INTO ") + q(p) + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 1, %1, %1)").arg(k));
    engine.execute(QStringLiteral("DELETE FROM ") + q(p) + QStringLiteral(" WHERE RAND=2 OR RAND=3"));
    ASSERT_EQ(dbf::DbfTable(p).recordCount(), 4);
    schema.Impacheteaza(p);
    const dbf::DbfTable table(p);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(table.deletedCount(), 0);
    const auto rows = engine.select(QStringLiteral("SELECT NR FROM ") + q(p) + QStringLiteral(" ORDER BY RAND"));
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(std::get<std::int64_t>(rows.rows[0][0]), 1);
    EXPECT_EQ(std::get<std::int64_t>(rows.rows[1][0]), 4);
}

TEST_F(SchemaTest, PackingClosesTheSharedCursorAndClearsItsFilter)
{
    schema.CreazaBaza();
    auto& tx = schema.Tx();
    tx.setTableName(path(QStringLiteral("CAP2.dbf")));
    tx.setFilter(QStringLiteral("RAND=1"));
    tx.setFiltered(true);
    tx.open();
    schema.Impacheteaza(path(QStringLiteral("CAP3.dbf")));
    EXPECT_FALSE(tx.active());
    EXPECT_FALSE(tx.filtered());
    EXPECT_TRUE(tx.filter().isEmpty());
    EXPECT_FALSE(tx.exclusive());
}

TEST_F(SchemaTest, PackingAMissingTableRaisesAndClosesTheCursor)
{
    EXPECT_THROW(schema.Impacheteaza(path(QStringLiteral("CAP3.dbf"))), engine::SqlError);
    EXPECT_FALSE(schema.Tx().active());
    EXPECT_FALSE(schema.Tx().exclusive());
}

TEST_F(SchemaTest, CreazaIndexSendsOneStatementPerColumnAndSkipsFailures)
{
    schema.CreazaBaza();
    const QString p = path(QStringLiteral("CAP2.dbf"));
    schema.CreazaIndex(p, QStringLiteral("ANUL; CODID ;NOPE;RAND"));
    EXPECT_EQ(schema.Sx().SQL(), QStringList {QStringLiteral("CREATE INDEX RAND ON ") + q(p) + QStringLiteral(" (RAND)")});
    EXPECT_EQ(ui.processEventsCount(), 4);
    // The engine refuses the missing column; CreazaIndex went on past it.
    EXPECT_THROW(engine.execute(QStringLiteral("CREATE INDEX NOPE ON ") + q(p) + QStringLiteral(" (NOPE)")), engine::SqlError);
    // Indexing a missing table is swallowed too.
    EXPECT_NO_THROW(schema.CreazaIndex(path(QStringLiteral("Nope.dbf")), QStringLiteral("ANUL")));
}

TEST_F(SchemaTest, StergePuneIndexPacksThenIndexesTheListedColumns)
{
    schema.CreazaBaza();
    const QString ident = path(QStringLiteral("Identificare.dbf"));
    for (int k = 1; k <= 3; ++k)
        engine.execute(QStringLiteral("INSERT INTO ") + q(ident) + QStringLiteral(" (ANUL, CODID) VALUES (2010, %1)").arg(k));
    engine.execute(QStringLiteral("DELETE FROM ") + q(ident) + QStringLiteral(" WHERE CODID=2"));
    schema.StergePuneIndex(ident, Schema::indexColumns(QStringLiteral("Identificare.dbf")));
    EXPECT_EQ(dbf::DbfTable(ident).recordCount(), 2);
    EXPECT_EQ(schema.Sx().SQL(), QStringList {QStringLiteral("CREATE INDEX ANUL ON ") + q(ident) + QStringLiteral(" (ANUL)")});
    EXPECT_EQ(ui.processEventsCount(), 1);

    const QString members = path(QStringLiteral("CAP1.dbf"));
    engine.execute(QStringLiteral("INSERT INTO ") + q(members) + QStringLiteral(" (ANUL, CODID, COD1) VALUES (2010, 1, 1)"));
    engine.execute(QStringLiteral("DELETE FROM ") + q(members) + QStringLiteral(" WHERE COD1=1"));
    schema.StergePuneIndex(members, Schema::indexColumns(QStringLiteral("CAP1.dbf")));
    EXPECT_EQ(dbf::DbfTable(members).recordCount(), 0);
    // No index statement for an empty list.
    EXPECT_EQ(schema.Sx().SQL(), QStringList {QStringLiteral("CREATE INDEX ANUL ON ") + q(ident) + QStringLiteral(" (ANUL)")});
    EXPECT_EQ(ui.processEventsCount(), 1);
}

TEST(SchemaLists, IndexColumnsOfEveryTable)
{
    EXPECT_EQ(Schema::indexColumns(QStringLiteral("Identificare.dbf")), QStringList {QStringLiteral("ANUL")});
    EXPECT_TRUE(Schema::indexColumns(QStringLiteral("CAP1.dbf")).isEmpty());
    for (int n = 2; n <= 10; ++n)
        EXPECT_EQ(Schema::indexColumns(QStringLiteral("Cap%1.DBF").arg(n)).join(QLatin1Char(';')), QStringLiteral("ANUL;CODID;RAND"));
    for (const char* name : {"CAP11.dbf", "Tarlale.dbf", "OmTarla.dbf"})
        EXPECT_EQ(Schema::indexColumns(QLatin1String(name)).join(QLatin1Char(';')), QStringLiteral("ANUL;CODID"));
    EXPECT_EQ(Schema::indexColumns(QStringLiteral("PozeTarla.dbf")).join(QLatin1Char(';')), QStringLiteral("ANUL;CODT"));
    EXPECT_TRUE(Schema::indexColumns(QStringLiteral("Ft.dbf")).isEmpty());
}

TEST(SchemaLists, ChapterLayouts)
{
    EXPECT_EQ(Schema::chapterLayout(3), data::Layout::Cap3);
    EXPECT_EQ(Schema::chapterLayout(4), data::Layout::Cap3);
    EXPECT_EQ(Schema::chapterLayout(5), data::Layout::Cap5);
    EXPECT_EQ(Schema::chapterLayout(9), data::Layout::Cap5);
    EXPECT_EQ(Schema::chapterLayout(11), data::Layout::Cap11);
    EXPECT_THROW(Schema::chapterLayout(12), std::invalid_argument);
    EXPECT_EQ(Schema::tableFileNames().size(), 15);
}

}
