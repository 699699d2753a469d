// velmor-cli run as a program on damaged tables, memo files and archives and on stray statements:
// each ends with status 1 and a message (never a signal), and no file changes.

#include "../admin/ArchiveTestUtil.h"
#include "../data/dbf/DbfTestSupport.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

using namespace velmor;
using test::RawField;
using test::rawHeader;
using test::rawRecord;

namespace {

struct CliRun {
    bool crashed = false;
    int status = -1;
    QString err;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(VELMOR_CLI_PATH), arguments);
    EXPECT_TRUE(p.waitForFinished(60000)) << arguments.join(QLatin1Char(' ')).toStdString();
    CliRun r;
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.status = p.exitCode();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QMap<QString, QByteArray> everyFile(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, test::existingFileBytes(path));
    }
    return files;
}

void write(const QString& path, const QByteArray& bytes)
{
    test::writeFile(path, bytes);
}

const QList<RawField> kPeople = {{"ANUL", 'N', 4, 0}, {"NUME", 'C', 32, 0}};
const QList<RawField> kNotes = {{"ANUL", 'N', 4, 0}, {"NOTE", 'M', 10, 0}};

QByteArray table(unsigned char version, const QList<RawField>& fields, const QList<QByteArray>& row)
{
    return rawHeader(version, 1, fields) + rawRecord(fields, row) + "\x1A";
}

// A dBase IV memo file with one text in block 1 and the given next free block.
QByteArray memo(quint32 nextFree)
{
    QByteArray m(1024, '\0');
    qToLittleEndian<quint32>(nextFree, m.data());
    qToLittleEndian<quint16>(512, m.data() + 20);
    m[512] = '\xFF';
    m[513] = '\xFF';
    m[514] = '\x08';
    qToLittleEndian<quint32>(8 + 5, m.data() + 516);
    m.replace(520, 5, "eleva");
    return m;
}

struct Case {
    const char* name;
    std::function<void(const test::TempHome&)> setup;
    std::function<QStringList(const test::TempHome&)> arguments;
    QStringList expected; // parts of the message on standard error
};

// The cases of the sql verb: `statement` with {T} for the quoted path of T.dbf in the data folder.
Case sqlCase(const char* name, std::function<void(const test::TempHome&)> setup, const QString& statement,
             const QStringList& expected)
{
    return {name, std::move(setup),
            [statement](const test::TempHome& home) {
                QString s = statement;
                static const QRegularExpression table(QStringLiteral("\\{(\\w+)\\}"));
                QRegularExpressionMatch m;
                while ((m = table.match(s)).hasMatch())
                    s.replace(m.capturedStart(), m.capturedLength(),
                              QLatin1Char('"') + home.dataFile(m.captured(1) + QStringLiteral(".dbf")) + QLatin1Char('"'));
                return QStringList {QStringLiteral("sql"), QStringLiteral("--data"), home.data(), s};
            },
            expected};
}

Case restoreCase(const char* name, QByteArray archive, const QStringList& expected)
{
    return {name,
            [archive](const test::TempHome& home) { write(home.home() + QStringLiteral("/salvare.kt"), archive); },
            [](const test::TempHome& home) {
                return QStringList {QStringLiteral("restore"), home.home() + QStringLiteral("/salvare.kt"),
                                    QStringLiteral("--into"), home.data()};
            },
            expected};
}

TEST(CliHardening, DamagedInputEndsWithStatusOneAndChangesNothing)
{
    const auto people = [](const char* file, const QList<RawField>& fields) {
        return [=](const test::TempHome& home) {
            write(home.dataFile(QString::fromLatin1(file)), table(0x03, fields, {"2010", "ION", "X"}));
        };
    };
    const auto notes = [](quint32 nextFree) {
        return [=](const test::TempHome& home) {
            write(home.dataFile(QStringLiteral("Note.dbf")), table(0x8B, kNotes, {"2010", "1"}));
            write(home.dataFile(QStringLiteral("Note.dbt")), memo(nextFree));
        };
    };
    const QByteArray good = "good";
    const QByteArray longName = QByteArray("Data\\") + QByteArray(300, 'n');
    const std::vector<Case> cases = {
        sqlCase("column name hiding the next ones", people("Ascuns.dbf", {{"ANUL", 'N', 4, 0}, {"A\"B);--", 'C', 3, 0}, {"NUME", 'C', 3, 0}}),
                QStringLiteral("UPDATE {Ascuns} SET NUME=\"Z\""), {QStringLiteral("Ascuns.dbf"), QStringLiteral("A\"B);--")}),
        sqlCase("column name adding a column", people("Adaug.dbf", {{"ANUL", 'N', 4, 0}, {"X\" N,\"Y", 'C', 3, 0}}),
                QStringLiteral("SELECT * FROM {Adaug}"), {QStringLiteral("Adaug.dbf"), QStringLiteral("X\" N,\"Y")}),
        sqlCase("memo next free block at FFFFFFFF", notes(0xFFFFFFFFu), QStringLiteral("UPDATE {Note} SET NOTE=\"text nou\""),
                {QStringLiteral("Note.dbt"), QStringLiteral("4294967295")}),
        sqlCase("text longer than its column", people("Oameni.dbf", kPeople),
                QStringLiteral("INSERT INTO {Oameni} (ANUL, NUME) VALUES (2011, \"%1\")").arg(QString(254, QLatin1Char('N'))),
                {QStringLiteral("Textul are 254 caractere; coloana NUME din tabelul \"Oameni.dbf\" primeste cel mult 32.")}),
        sqlCase("a second statement", people("Oameni.dbf", kPeople), QStringLiteral("SELECT * FROM {Oameni}; DELETE FROM {Oameni}"),
                {QStringLiteral("mai multe instructiuni")}),
        sqlCase("a table above the data folder",
                [](const test::TempHome& home) {
                    write(home.home() + QStringLiteral("/Afara.dbf"), table(0x03, kPeople, {"2010", "ION"}));
                },
                QStringLiteral("DROP TABLE \"..\\Afara.dbf\""), {QStringLiteral("..\\Afara.dbf"), QStringLiteral("in afara")}),
        sqlCase("an unknown column", people("Oameni.dbf", kPeople), QStringLiteral("INSERT INTO {Oameni} (NUEXISTA) VALUES (1)"),
                {QStringLiteral("nu are coloana NUEXISTA"), QStringLiteral("Oameni.dbf")}),
        restoreCase("bytes after the last member",
                    test::makeArchive({{"Data\\Identificare.dbf", good}}) + QByteArray(5, '\0'),
                    {QStringLiteral("mai urmeaza 5 octeti")}),
        restoreCase("a member count too small",
                    test::makeArchive({{"Data\\Identificare.dbf", good}, {"Data\\CAP1.dbf", good}}, 1),
                    {QStringLiteral("dupa ultimul fisier declarat (1)")}),
        restoreCase("two members for one file",
                    test::makeArchive({{"Data\\Identificare.dbf", good}, {"Data\\IDENTIFICARE.DBF", "evil"}}),
                    {QStringLiteral("de doua ori")}),
        restoreCase("a member name too long", test::makeArchive({{"Data\\Identificare.dbf", good}, {longName, good}}),
                    {QStringLiteral("cel mult 255")}),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempHome home;
        // A register the failed command must leave as it was.
        write(home.dataFile(QStringLiteral("Identificare.dbf")), table(0x03, kPeople, {"2010", "POPESCU"}));
        c.setup(home);
        const auto before = everyFile(home.home());
        const QStringList entries = test::entriesBelow(home.home());
        const CliRun r = cli(c.arguments(home));
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.status, 1);
        for (const QString& part : c.expected)
            EXPECT_TRUE(r.err.contains(part)) << "missing \"" << part.toStdString() << "\" in " << r.err.toStdString();
        EXPECT_EQ(everyFile(home.home()), before);
        EXPECT_EQ(test::entriesBelow(home.home()), entries);
    }
}

}
