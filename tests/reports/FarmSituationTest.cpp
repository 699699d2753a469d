// The farm situation: the worked example of group a, an empty group, the class walk of every group,
// a template holding every placeholder filled and read back, the second document beside an open one,
// the missing template.

#include "ExportReaders.h"
#include "core/Error.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "reports/FarmSituation.h"
#include "services/ScriptedInteraction.h"
#include "support/EmptyRegister.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <gtest/gtest.h>

using namespace velmor;
using reports::FarmSituation;

namespace {

class Register : public test::EmptyRegister {
public:
    void animals(std::int64_t codid, double row, std::int64_t count)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("RAND"), row);
        p.bind(QStringLiteral("NR"), count);
        engine.execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(home.dataFile(QStringLiteral("CAP7.dbf")))
                           + QStringLiteral(" (ANUL, CODID, CATEG, RAND, NR) VALUES (2010, :CODID, 'x', :RAND, :NR)"),
                       p);
    }
    QHash<QString, QString> values()
    {
        QHash<QString, QString> map;
        for (const auto& [placeholder, text] :
             FarmSituation(engine, home.data(), home.home(), 2010).values(QStringLiteral("ALBA"), QDate(2010, 3, 1), QStringLiteral(",")))
            map.insert(placeholder, text);
        return map;
    }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}

TEST(FarmSituation, GroupAExampleAndAnEmptyGroup)
{
    Register r;
    r.animals(1, 2, 3);
    r.animals(2, 3, 250);
    r.animals(3, 2, 0);  // no animals: not counted
    r.animals(4, 1, 99); // bovines in all: no group
    r.animals(5, 16, 2);
    r.animals(6, 16, 1);
    r.animals(7, 16, 0);
    r.animals(8, 16, 60);
    const QHash<QString, QString> v = r.values();
    EXPECT_EQ(v.value("[JUDET]"), "ALBA");
    EXPECT_EQ(v.value("[DATA]"), "01.03.2010");
    EXPECT_EQ(v.value("[a12]"), "2");
    EXPECT_EQ(v.value("[a15]"), "1");
    EXPECT_EQ(v.value("[a16]"), "50,00");
    EXPECT_EQ(v.value("[a119]"), "1");
    EXPECT_EQ(v.value("[a120]"), "50,00");
    EXPECT_EQ(v.value("[a13]"), "0");
    EXPECT_EQ(v.value("[a14]"), "0,00");
    EXPECT_EQ(v.value("[a22]"), "253");
    EXPECT_EQ(v.value("[a25]"), "3");
    EXPECT_EQ(v.value("[a26]"), "1,19"); // 3/253 = 0.0119
    EXPECT_EQ(v.value("[a219]"), "250");
    EXPECT_EQ(v.value("[a220]"), "98,81");
    EXPECT_EQ(v.value("[a32]"), "126,50");
    EXPECT_EQ(v.value("[a35]"), "3,00");
    EXPECT_EQ(v.value("[a36]"), "0,00");
    EXPECT_EQ(v.value("[a319]"), "250,00");
    // Group g: 2 and 1 animals in class 2, 60 in class 4; shares 2/3 round half away.
    EXPECT_EQ(v.value("[g12]"), "3");
    EXPECT_EQ(v.value("[g13]"), "2");
    EXPECT_EQ(v.value("[g14]"), "66,67");
    EXPECT_EQ(v.value("[g17]"), "1");
    EXPECT_EQ(v.value("[g18]"), "33,33");
    EXPECT_EQ(v.value("[g32]"), "21,00");
    EXPECT_EQ(v.value("[g33]"), "1,50");
    EXPECT_FALSE(v.contains("[g19]"));
    // Group b has no row: whole-number cells 0, the others 0.00, up to its last column.
    for (int row = 1; row <= 3; ++row) {
        for (int column = 2; column <= 20; ++column) {
            const bool whole = row <= 2 && (column == 2 || (column % 2 == 1 && column <= 17));
            EXPECT_EQ(v.value(QStringLiteral("[b%1%2]").arg(row).arg(column)), whole ? "0" : "0,00") << row << " " << column;
        }
    }
    EXPECT_EQ(v.size(), 2 + 3 * (19 + 19 + 19 + 19 + 17 + 17 + 7));
}

TEST(FarmSituation, SizeClasses)
{
    const QList<FarmSituation::Group>& groups = FarmSituation::groups();
    ASSERT_EQ(groups.size(), 7);
    const struct {
        char letter;
        std::int64_t animals;
        int expected;
    } cases[] = {{'a', 0, 1},   {'a', 2, 2},    {'a', 3, 3},    {'a', 200, 9},  {'a', 201, 10}, {'a', -1, 10},
                 {'b', 15, 4},  {'b', 101, 9},  {'c', 1, 2},    {'c', 2, 3},    {'c', 101, 10}, {'d', 500, 8},
                 {'d', 501, 9}, {'e', 500, 8},  {'e', 501, 9},  {'f', 1000, 7}, {'f', 1001, 8}, {'g', 10, 2},
                 {'g', 11, 3},  {'g', 51, 4},   {'g', -5, 4}};
    for (const auto& c : cases) {
        const auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.letter == c.letter; });
        ASSERT_NE(group, groups.end());
        EXPECT_EQ(FarmSituation::sizeClass(*group, c.animals), c.expected) << c.letter << " " << c.animals;
    }
}

TEST(FarmSituation, TemplateFilledAndSecondDocumentBesideAnOpenOne)
{
    Register r;
    r.animals(1, 2, 3);
    r.animals(2, 3, 250);
    FarmSituation farms(r.engine, r.home.data(), r.home.home(), 2010);
    ScriptedInteraction ui;
    EXPECT_THROW(
        {
            try {
                farms.write(QStringLiteral("ALBA"), QDate(2010, 3, 1), QStringLiteral("."), &ui);
            } catch (const Error& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Lipseste fisierul model ") + QDir::toNativeSeparators(farms.templatePath())
                                           + QStringLiteral("!"));
                throw;
            }
        },
        Error);

    // A template with every placeholder, one paragraph each.
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\pard Judetul [JUDET] la [DATA]\\par\r\n";
    const auto values = farms.values(QStringLiteral("ALBA"), QDate(2010, 3, 1), QStringLiteral("."));
    for (const auto& [placeholder, text] : values.mid(2))
        rtf += "\\pard " + placeholder.toLatin1() + "=" + placeholder.toLatin1() + "\\par\r\n";
    rtf += "}\r\n";
    writeFile(farms.templatePath(), rtf);
    writeFile(QDir(r.home.home()).filePath(QStringLiteral("SitFerm0.rtf")), "open elsewhere");
    writeFile(QDir(r.home.home()).filePath(QStringLiteral(".~lock.SitFerm0.rtf#")), "lock");

    const QString path = farms.write(QStringLiteral("ALBA"), QDate(2010, 3, 1), QStringLiteral("."), &ui);
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("SitFerm1.rtf"));
    EXPECT_EQ(ui.progressLabels().value(0), QStringLiteral("Calculez..."));
    EXPECT_EQ(ui.progressPositions().back(), 7);
    EXPECT_FALSE(ui.progressVisible());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString problem;
    const QStringList paragraphs = test::readRtfText(file.readAll(), &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    ASSERT_EQ(paragraphs.size(), values.size() - 1);
    EXPECT_EQ(paragraphs[0], QStringLiteral("Judetul ALBA la 01.03.2010"));
    for (qsizetype i = 2; i < values.size(); ++i)
        EXPECT_EQ(paragraphs[i - 1], values[i].second + QLatin1Char('=') + values[i].second) << values[i].first.toStdString();
    EXPECT_TRUE(paragraphs.join(QLatin1Char(' ')).indexOf(QLatin1Char('[')) < 0) << "every placeholder is filled";
    EXPECT_EQ(paragraphs[5], QStringLiteral("50.00=50.00")); // [a16]
}
