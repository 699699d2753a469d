// Damaged headers and memo files, texts too long, stray statements, paths outside the program's
// folders and SQLite's own messages: each is a clear SqlError and no file changes.

#include "EngineTestSupport.h"

#include "data/engine/TableCursor.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <functional>

using namespace velmor;
using test::RawField;
using test::rawHeader;
using test::rawRecord;
using test::Register;
using test::writeBytes;

namespace {

const QList<RawField> kFields = {{"ANUL", 'N', 4, 0}, {"NUME", 'C', 10, 0}};
const QList<RawField> kMemoFields = {{"ANUL", 'N', 4, 0}, {"NOTE", 'M', 10, 0}};

QByteArray table(const QList<RawField>& fields, const QList<QList<QByteArray>>& rows)
{
    QByteArray b = rawHeader(fields.size() == 2 && fields[1].type == 'M' ? 0x8B : 0x03, quint32(rows.size()), fields);
    for (const auto& row : rows)
        b += rawRecord(fields, row);
    return b + "\x1A";
}

// A dBase IV memo file: header block, then one text "eleva" in block 1.
QByteArray memoFile(quint32 nextFree = 2)
{
    QByteArray memo(1024, '\0');
    qToLittleEndian<quint32>(nextFree, memo.data());
    qToLittleEndian<quint16>(512, memo.data() + 20);
    memo[512] = '\xFF';
    memo[513] = '\xFF';
    memo[514] = '\x08';
    qToLittleEndian<quint32>(8 + 5, memo.data() + 516);
    memo.replace(520, 5, "eleva");
    return memo;
}

// Every file below a folder with its bytes (a sparse giant is recorded by its size only).
QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        files.insert(path, info.size() > 64 * 1024 * 1024 ? QByteArray::number(info.size()) : test::existingFileBytes(path));
    }
    return files;
}

struct Case {
    const char* name;
    std::function<void(Register&)> setup;
    QString statement;
    QStringList expected; // parts of the message
};

class EngineHardening : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeBytes(reg.file(QStringLiteral("Bun.dbf")), table(kFields, {{"2010", "ION"}, {"2009", "ANA"}}));
    }

    // The statement fails with every expected part in its message and changes no file of the home.
    void expectRefused(const Case& c)
    {
        SCOPED_TRACE(c.name);
        const auto before = snapshot(reg.home.home());
        const QString message = reg.error(c.statement);
        EXPECT_FALSE(message.isEmpty()) << "no error";
        for (const QString& part : c.expected)
            EXPECT_TRUE(message.contains(part)) << "missing \"" << part.toStdString() << "\" in " << message.toStdString();
        EXPECT_EQ(snapshot(reg.home.home()), before);
        // The engine keeps working.
        EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Bun}")), "i:2");
    }

    void runAll(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            if (c.setup)
                c.setup(reg);
            expectRefused(c);
        }
    }

    Register reg;
};

// Header field names that would break out of the column list SQLite is given.
TEST_F(EngineHardening, FieldNamesOtherThanLettersDigitsAndUnderscoreAreRefused)
{
    const auto withNames = [](const char* file, QList<RawField> fields) {
        return [=](Register& r) {
            writeBytes(r.file(QString::fromLatin1(file)), table(fields, {{"2010", "ION", "X"}}));
        };
    };
    const QList<RawField> hiding = {{"ANUL", 'N', 4, 0}, {"A\"B);--", 'C', 3, 0}, {"NUME", 'C', 3, 0}};
    const QList<RawField> adding = {{"ANUL", 'N', 4, 0}, {"X\" N,\"Y", 'C', 3, 0}};
    const QList<RawField> twice = {{"ANUL", 'N', 4, 0}, {"NUME", 'C', 3, 0}, {"nume", 'C', 3, 0}};
    runAll({
        {"hiding, select", withNames("Ascuns.dbf", hiding), QStringLiteral("SELECT * FROM {Ascuns}"),
         {QStringLiteral("Ascuns.dbf"), QStringLiteral("A\"B);--")}},
        {"hiding, update", nullptr, QStringLiteral("UPDATE {Ascuns} SET NUME=\"Z\""),
         {QStringLiteral("Ascuns.dbf"), QStringLiteral("A\"B);--")}},
        {"hiding, insert", nullptr, QStringLiteral("INSERT INTO {Ascuns} (ANUL) VALUES (1)"),
         {QStringLiteral("Ascuns.dbf"), QStringLiteral("A\"B);--")}},
        {"adding, select", withNames("Adaug.dbf", adding), QStringLiteral("SELECT * FROM {Adaug}"),
         {QStringLiteral("Adaug.dbf"), QStringLiteral("X\" N,\"Y")}},
        {"adding, join", nullptr, QStringLiteral("SELECT Count(*) FROM {Bun} B, {Adaug} A WHERE A.ANUL=B.ANUL"),
         {QStringLiteral("Adaug.dbf")}},
        {"same name twice", withNames("Dublu.dbf", twice), QStringLiteral("UPDATE {Dublu} SET ANUL=1"),
         {QStringLiteral("Dublu.dbf"), QStringLiteral("nume")}},
    });
    // The table cursor reads the same header.
    engine::TableCursor cursor(reg.engine);
    cursor.setTableName(reg.file(QStringLiteral("Ascuns.dbf")));
    try {
        cursor.open();
        ADD_FAILURE() << "cursor opened";
    } catch (const engine::SqlError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("A\"B);--"))) << e.message().toStdString();
    }
}

TEST_F(EngineHardening, MemoFilesAreCheckedAndReadOnlyWhereAMemoIsAsked)
{
    const auto memoTable = [](const char* name, const QByteArray& memo) {
        return [=](Register& r) {
            writeBytes(r.file(QString::fromLatin1(name) + QStringLiteral(".dbf")),
                       table(kMemoFields, {{"2010", "1"}, {"2011", ""}}));
            writeBytes(r.file(QString::fromLatin1(name) + QStringLiteral(".dbt")), memo);
        };
    };
    QByteArray pastEnd = memoFile();
    qToLittleEndian<quint32>(8 + 4000, pastEnd.data() + 516);
    runAll({
        // A next free block of FFFFFFFF would write some two terabytes into the file.
        {"next free block far away, update", memoTable("Liber", memoFile(0xFFFFFFFFu)),
         QStringLiteral("UPDATE {Liber} SET NOTE=\"text nou\" WHERE ANUL=2011"),
         {QStringLiteral("Liber.dbt"), QStringLiteral("4294967295")}},
        {"next free block far away, insert", nullptr,
         QStringLiteral("INSERT INTO {Liber} (ANUL, NOTE) VALUES (2012, \"text\")"), {QStringLiteral("Liber.dbt")}},
        {"next free block one past the end", memoTable("Unu", memoFile(3)),
         QStringLiteral("UPDATE {Unu} SET NOTE=\"text\""), {QStringLiteral("Unu.dbt"), QStringLiteral("(3)")}},
        {"text running past the end", memoTable("Lung", pastEnd), QStringLiteral("SELECT NOTE FROM {Lung}"),
         {QStringLiteral("Lung.dbt"), QStringLiteral("depaseste")}},
    });
    // A sound pointer at the end of the file appends there.
    writeBytes(reg.file(QStringLiteral("Unu.dbt")), memoFile(2));
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Unu} SET NOTE=\"bun\" WHERE ANUL=2011")), 1);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT NOTE FROM {Unu} ORDER BY ANUL")), (std::vector<std::string> {"t:eleva", "t:bun"}));
    // Statements without the memo column still read the table whose memo is damaged.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ANUL FROM {Lung} ORDER BY ANUL")), (std::vector<std::string> {"i:2010", "i:2011"}));
}

TEST_F(EngineHardening, AHugeMemoFileIsNotReadForOtherColumns)
{
    writeBytes(reg.file(QStringLiteral("Mare.dbf")), table(kMemoFields, {{"2010", "1"}, {"2011", ""}}));
    writeBytes(reg.file(QStringLiteral("Mare.dbt")), memoFile());
    {
        QFile memo(reg.file(QStringLiteral("Mare.dbt")));
        ASSERT_TRUE(memo.open(QIODevice::ReadWrite));
        ASSERT_TRUE(memo.resize(qint64(6) * 1024 * 1024 * 1024));
    }
    struct stat st {};
    ASSERT_EQ(::stat(reg.file(QStringLiteral("Mare.dbt")).toLocal8Bit().constData(), &st), 0);
    if (qint64(st.st_blocks) * 512 > 64 * 1024 * 1024)
        GTEST_SKIP() << "the file system here does not keep sparse files";
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Mare}")), "i:2");
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ANUL FROM {Mare} ORDER BY ANUL")), (std::vector<std::string> {"i:2010", "i:2011"}));
    // The memo asked for is read from its block alone.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NOTE FROM {Mare} WHERE ANUL=2010")), "t:eleva");
}

TEST_F(EngineHardening, TextLongerThanItsColumnIsRefusedEverywhere)
{
    const QString long254 = QString(254, QLatin1Char('X'));
    const QString accented = QStringLiteral("ŞTEFĂNESCU ŢĂRANU");
    const QString expected = QStringLiteral("Textul are 254 caractere; coloana NUME din tabelul \"Bun.dbf\" primeste cel mult 10.");
    runAll({
        {"insert literal", nullptr, QStringLiteral("INSERT INTO {Bun} (ANUL, NUME) VALUES (2011, \"%1\")").arg(long254), {expected}},
        {"update literal", nullptr, QStringLiteral("UPDATE {Bun} SET NUME=\"%1\" WHERE ANUL=2010").arg(long254), {expected}},
        {"update expression", nullptr, QStringLiteral("UPDATE {Bun} SET NUME=NUME || \"-POPESCU\" WHERE ANUL=2010"),
         {QStringLiteral("Textul are 11 caractere; coloana NUME")}},
        {"text outside ASCII", nullptr, QStringLiteral("UPDATE {Bun} SET NUME=\"%1\"").arg(accented),
         {QStringLiteral("Textul are 17 caractere; coloana NUME din tabelul \"Bun.dbf\" primeste cel mult 10.")}},
        {"insert select", nullptr,
         QStringLiteral("INSERT INTO {Bun} (ANUL, NUME) SELECT ANUL+10, NUME || NUME || NUME || NUME FROM {Bun}"),
         {QStringLiteral("Textul are 12 caractere")}},
        {"number into text", nullptr, QStringLiteral("UPDATE {Bun} SET NUME=12345678901.5"),
         {QStringLiteral("Textul are 13 caractere; coloana NUME")}},
    });

    // Bound values too.
    const auto before = snapshot(reg.home.home());
    for (const QString& sql : {QStringLiteral("INSERT INTO {Bun} (ANUL, NUME) VALUES (2011, :NUME)"),
                               QStringLiteral("UPDATE {Bun} SET NUME=:NUME WHERE ANUL=2010")}) {
        engine::Parameters p;
        p.bind(QStringLiteral("NUME"), long254);
        try {
            reg.engine.execute(reg.expand(sql), p);
            ADD_FAILURE() << sql.toStdString();
        } catch (const engine::SqlError& e) {
            EXPECT_EQ(e.message(), expected);
        }
    }
    EXPECT_EQ(snapshot(reg.home.home()), before);

    // The table cursor: the row stays pending and nothing is written.
    engine::TableCursor cursor(reg.engine);
    cursor.setTableName(reg.file(QStringLiteral("Bun.dbf")));
    cursor.open();
    cursor.edit();
    cursor.setCurrentValue(1, accented);
    try {
        cursor.post();
        ADD_FAILURE() << "posted";
    } catch (const engine::SqlError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("coloana NUME"))) << e.message().toStdString();
    }
    EXPECT_EQ(cursor.state(), engine::TableCursor::State::Edit);
    cursor.cancel();
    cursor.append();
    cursor.setCurrentValue(1, long254);
    EXPECT_THROW(cursor.post(), engine::SqlError);
    cursor.cancel();
    cursor.close();
    EXPECT_EQ(snapshot(reg.home.home()), before);

    // What fits is written; blanks past the width are only padding; an explicit cut is the way.
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Bun} SET NUME=\"ION       \"   WHERE ANUL=2010")), 1);
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Bun} SET NUME=\"IONESCU              \" WHERE ANUL=2010")), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Bun} WHERE ANUL=2010")), "t:IONESCU");
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Bun} SET NUME=SUBSTRING(\"%1\" FROM 1 FOR 10) WHERE ANUL=2009").arg(accented)), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Bun} WHERE ANUL=2009")), "t:ŞTEFĂNESCU");
}

TEST_F(EngineHardening, OneStatementPerCall)
{
    runAll({
        {"select then delete", nullptr, QStringLiteral("SELECT * FROM {Bun}; DELETE FROM {Bun}"),
         {QStringLiteral("mai multe instructiuni"), QStringLiteral("DELETE")}},
        {"update then drop", nullptr, QStringLiteral("UPDATE {Bun} SET ANUL=1;\nDROP TABLE {Bun}"),
         {QStringLiteral("mai multe instructiuni")}},
        {"two drops", nullptr, QStringLiteral("DROP TABLE {Bun}; DROP TABLE {Bun}"), {QStringLiteral("mai multe instructiuni")}},
        {"two semicolons", nullptr, QStringLiteral("DELETE FROM {Bun};;"), {QStringLiteral("mai multe instructiuni")}},
    });
    // One statement with a single ";" after it runs.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Bun};")), "i:2");
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Bun} SET ANUL=2008 WHERE ANUL=2009 ;  \n")), 1);
    EXPECT_EQ(reg.exec(QStringLiteral("CREATE INDEX ANUL ON {Bun} (ANUL);")), 0);
    // A ";" inside a text is text.
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Bun} SET NUME=\"A;B\" WHERE ANUL=2008")), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Bun} WHERE ANUL=2008")), "t:A;B");
}

TEST_F(EngineHardening, TablesOutsideTheRegisteredFoldersAreRefused)
{
    // A table beside the data folder, one in another folder, links inside the data folder to them.
    const QString beside = reg.home.home() + QStringLiteral("/Afara.dbf");
    writeBytes(beside, table(kFields, {{"2010", "ION"}}));
    QTemporaryDir other;
    const QString elsewhere = other.filePath(QStringLiteral("Alt.dbf"));
    writeBytes(elsewhere, table(kFields, {{"2010", "ION"}}));
    ASSERT_TRUE(QFile::link(elsewhere, reg.file(QStringLiteral("Legat.dbf"))));
    writeBytes(reg.file(QStringLiteral("Note.dbf")), table(kMemoFields, {{"2010", "1"}}));
    writeBytes(other.filePath(QStringLiteral("Note.dbt")), memoFile());
    ASSERT_TRUE(QFile::link(other.filePath(QStringLiteral("Note.dbt")), reg.file(QStringLiteral("Note.dbt"))));
    const QString dotdot = reg.home.data() + QStringLiteral("/../Afara.dbf");
    const auto outside = snapshot(other.path());

    runAll({
        {"up and out", nullptr, QStringLiteral("SELECT * FROM \"%1\"").arg(dotdot), {dotdot, QStringLiteral("in afara")}},
        {"up and out, relative", nullptr, QStringLiteral("DELETE FROM \"..\\Afara.dbf\""), {QStringLiteral("..\\Afara.dbf")}},
        {"absolute path", nullptr, QStringLiteral("UPDATE \"%1\" SET ANUL=1").arg(elsewhere), {elsewhere}},
        {"drop elsewhere", nullptr, QStringLiteral("DROP TABLE \"%1\"").arg(elsewhere), {elsewhere}},
        {"create elsewhere", nullptr, QStringLiteral("CREATE TABLE \"%1\" (A CHAR(2))").arg(other.filePath(QStringLiteral("Nou.dbf"))),
         {QStringLiteral("Nou.dbf")}},
        {"alter elsewhere", nullptr, QStringLiteral("ALTER TABLE \"%1\" ADD B CHAR(2)").arg(beside), {beside}},
        {"joined with a good table", nullptr,
         QStringLiteral("INSERT INTO {Bun} (ANUL, NUME) SELECT ANUL, NUME FROM \"%1\"").arg(elsewhere), {elsewhere}},
        {"link in the data folder", nullptr, QStringLiteral("UPDATE {Legat} SET ANUL=1"), {QStringLiteral("Legat.dbf"), elsewhere}},
        {"memo file linked outside", nullptr, QStringLiteral("UPDATE {Note} SET NOTE=\"x\""), {QStringLiteral("Note.dbt")}},
    });
    EXPECT_EQ(snapshot(other.path()), outside);
    EXPECT_FALSE(QFile::exists(other.filePath(QStringLiteral("Nou.dbf"))));

    engine::TableCursor cursor(reg.engine);
    cursor.setTableName(elsewhere);
    EXPECT_THROW(cursor.open(), engine::SqlError);

    // Registered folders are reached.
    reg.engine.addTableRoot(reg.home.home());
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM \"%1\"").arg(dotdot)), "i:1");
    reg.engine.addTableRoot(other.path());
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Legat} SET ANUL=2011")), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NOTE FROM {Note}")), "t:eleva");
}

TEST_F(EngineHardening, SqliteMessagesInRomanianWithTheTablePath)
{
    const QString bun = reg.file(QStringLiteral("Bun.dbf"));
    QString deep = QStringLiteral("1");
    for (int i = 0; i < 3000; ++i)
        deep = QLatin1Char('(') + deep + QLatin1Char(')');
    runAll({
        {"unquoted table", nullptr, QStringLiteral("SELECT * FROM CAP1"),
         {QStringLiteral("Tabelul CAP1 nu exista"), QStringLiteral("(SQLite: no such table: CAP1)")}},
        {"unknown column", nullptr, QStringLiteral("INSERT INTO {Bun} (ANUL, NUEXISTA) VALUES (1, 2)"),
         {QStringLiteral("Tabelul \"%1\" nu are coloana NUEXISTA.").arg(bun),
          QStringLiteral("(SQLite: table \"%1\" has no column named NUEXISTA)").arg(bun)}},
        {"values and columns", nullptr, QStringLiteral("INSERT INTO {Bun} (ANUL, NUME) VALUES (1)"),
         {QStringLiteral("Instructiunea da 1 valori pentru 2 coloane."), QStringLiteral("1 values for 2 columns")}},
        {"deep nesting", nullptr, QStringLiteral("SELECT %1 FROM {Bun}").arg(deep), {QStringLiteral("prea complicata")}},
        {"syntax", nullptr, QStringLiteral("SELECT ANUL FROM {Bun} WHERE"), {QStringLiteral("incompleta"), QStringLiteral("SQLite:")}},
        {"column in two tables", nullptr, QStringLiteral("SELECT ANUL FROM {Bun} A, {Bun} B"),
         {QStringLiteral("Coloana ANUL se afla in mai multe tabele")}},
        {"select column", nullptr, QStringLiteral("SELECT NIMIC FROM {Bun}"), {QStringLiteral("Coloana NIMIC nu exista")}},
    });
    // Division by zero stays an empty value.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT ANUL/0 FROM {Bun} WHERE ANUL=2010")), "NULL");
}

}
