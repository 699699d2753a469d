#include "data/DemoRegister.h"
#include "support/FileBytes.h"

#include "data/ChapterCatalogue.h"
#include "data/Schema.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/engine/Engine.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace velmor;
using velmor::data::DemoOptions;

namespace {

double num(const dbf::Value& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return double(*i);
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    return 0;
}

qint64 whole(const dbf::Value& v)
{
    return std::llround(num(v));
}

QString str(const dbf::Value& v)
{
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    return {};
}

// Square metres of a (hectares, ares) pair.
qint64 m2(const dbf::Value& ha, const dbf::Value& ari)
{
    return std::llround(num(ha) * 10000 + num(ari) * 100);
}

// Personal numeric code as the register validates it; gives the sex and birth date it encodes.
bool validCnp(const QString& c, int* sex, QDate* birth)
{
    if (c.size() != 13)
        return false;
    for (QChar ch : c) {
        if (!ch.isDigit())
            return false;
    }
    const int s = c[0].digitValue();
    if (s != 1 && s != 2 && s != 5 && s != 6)
        return false;
    const QDate d((s <= 2 ? 1900 : 2000) + c.mid(1, 2).toInt(), c.mid(3, 2).toInt(), c.mid(5, 2).toInt());
    if (!d.isValid())
        return false;
    const int county = c.mid(7, 2).toInt();
    if (county < 1 || county > 47)
        return false;
    const QString key = QStringLiteral("279146358279");
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += c[i].digitValue() * key[i].digitValue();
    const int check = sum % 11 == 10 ? 1 : sum % 11;
    if (c[12].digitValue() != check)
        return false;
    *sex = s % 2 == 1 ? 1 : 2;
    *birth = d;
    return true;
}

QString q(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

// One generated register shared by the tests that only read it.
class DemoRegisterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_home = std::make_unique<test::TempHome>();
        ScriptedInteraction ui;
        DemoOptions o;
        o.households = 40;
        o.years = 3;
        o.firstYear = 2020;
        o.seed = 11;
        s_summary = data::generateDemoRegister(s_home->data(), o, ui);
        s_progressShown = ui.progressShowCount() == 1 && !ui.progressVisible();
        s_engine = std::make_unique<engine::Engine>(s_home->data());
    }
    static void TearDownTestSuite()
    {
        s_engine.reset();
        s_home.reset();
    }

    static QString table(const QString& name) { return QDir::toNativeSeparators(s_home->dataFile(name)); }
    static engine::ResultSet select(const QString& sql) { return s_engine->select(sql); }
    static qint64 scalar(const QString& sql)
    {
        const auto r = select(sql);
        return r.rows.empty() ? 0 : whole(r.rows[0][0]);
    }

    // Rows of a chapter by household and position: the listed columns of each row.
    static std::map<qint64, std::map<int, std::vector<dbf::Value>>> chapter(int n, const QString& columns)
    {
        std::map<qint64, std::map<int, std::vector<dbf::Value>>> out;
        const auto r = select(QStringLiteral("SELECT CODID, RAND, ") + columns + QStringLiteral(" FROM ")
                              + q(table(QStringLiteral("CAP%1.dbf").arg(n))));
        for (const auto& row : r.rows) {
            const int position = data::chapterPositionOfCode(n, num(row[1]));
            out[whole(row[0])][position] = std::vector<dbf::Value>(row.begin() + 2, row.end());
        }
        return out;
    }

    static std::unique_ptr<test::TempHome> s_home;
    static std::unique_ptr<engine::Engine> s_engine;
    static data::DemoSummary s_summary;
    static bool s_progressShown;
};

std::unique_ptr<test::TempHome> DemoRegisterTest::s_home;
std::unique_ptr<engine::Engine> DemoRegisterTest::s_engine;
data::DemoSummary DemoRegisterTest::s_summary;
bool DemoRegisterTest::s_progressShown = false;

TEST_F(DemoRegisterTest, WritesACompleteDataDirectory)
{
    EXPECT_TRUE(data::Schema::ExistaBaza(s_home->data()));
    QStringList files = QDir(s_home->data()).entryList(QDir::Files);
    files.sort();
    QStringList expected = data::demoRegisterFiles();
    expected.sort();
    EXPECT_EQ(files, expected);
    EXPECT_TRUE(s_progressShown);
    EXPECT_EQ(s_summary.firstYear, 2020);
    EXPECT_EQ(s_summary.lastYear, 2022);
    EXPECT_EQ(s_summary.householdRows, scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("Identificare.dbf")))));
    EXPECT_EQ(s_summary.memberRows, scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("CAP1.dbf")))));
    EXPECT_EQ(s_summary.plotRows, scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("Tarlale.dbf")))));
    EXPECT_EQ(s_summary.holderRows, scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("OmTarla.dbf")))));
    EXPECT_EQ(s_summary.pictureRows, scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("PozeTarla.dbf")))));
    qint64 chapterRows = 0;
    for (int n = 2; n <= 11; ++n)
        chapterRows += scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("CAP%1.dbf").arg(n))));
    EXPECT_EQ(s_summary.chapterRows, chapterRows);
}

TEST_F(DemoRegisterTest, VillageListHasFiveVillagesInWindows1250)
{
    const QByteArray bytes = velmor::test::fileBytes(s_home->dataFile(QStringLiteral("Sate.lst")));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList villages = dbf::cp1250::decode(bytes.chopped(2)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(villages.size(), 5);
    EXPECT_EQ(QSet<QString>(villages.begin(), villages.end()).size(), 5);
    EXPECT_TRUE(villages.contains(QStringLiteral("M\u0102GURENI")));
    EXPECT_TRUE(bytes.contains('\xC3')); // the A with breve of Windows-1250

    const auto r = select(QStringLiteral("SELECT DISTINCT LOCALIT FROM ") + q(table(QStringLiteral("Identificare.dbf"))));
    EXPECT_GE(r.rows.size(), 4u);
    for (const auto& row : r.rows)
        EXPECT_TRUE(villages.contains(str(row[0]))) << str(row[0]).toStdString();
}

TEST_F(DemoRegisterTest, SettingsHoldTheConstantsAndCountersAboveEveryIdentifier)
{
    const QByteArray bytes = velmor::test::fileBytes(s_home->dataFile(QStringLiteral("Velmor.ini")));
    EXPECT_TRUE(bytes.contains("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    Settings settings(s_home->data());
    for (const char* key : {"NumePrimarie", "Comuna", "CodFiscal", "JUDET", "PRIMAR", "SECRETAR", "TIPLOC"})
        EXPECT_FALSE(settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QLatin1String(key)).isEmpty()) << key;
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC")), QStringLiteral("COMUNA"));
    const QString county = settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("JUDET"));

    const auto counter = [&](const char* key) {
        bool ok = false;
        const qint64 v = settings.CodExistent(QLatin1String(key)).toLongLong(&ok);
        EXPECT_TRUE(ok) << key;
        return v;
    };
    const qint64 codid = scalar(QStringLiteral("SELECT MAX(CODID) FROM ") + q(table(QStringLiteral("Identificare.dbf"))));
    const qint64 cod1 = scalar(QStringLiteral("SELECT MAX(COD1) FROM ") + q(table(QStringLiteral("CAP1.dbf"))));
    const qint64 codt = scalar(QStringLiteral("SELECT MAX(CODT) FROM ") + q(table(QStringLiteral("Tarlale.dbf"))));
    EXPECT_GT(counter("CODID"), codid);
    EXPECT_GT(counter("COD1"), cod1);
    EXPECT_GT(counter("CODT"), codt);
    EXPECT_GE(counter("ADEVNR"), 1);
    for (int n = 1; n <= 11; ++n) {
        EXPECT_LE(scalar(QStringLiteral("SELECT MAX(CODID) FROM ") + q(table(QStringLiteral("CAP%1.dbf").arg(n)))), codid);
    }
    EXPECT_LE(scalar(QStringLiteral("SELECT MAX(CODT) FROM ") + q(table(QStringLiteral("PozeTarla.dbf")))), codt);
    EXPECT_EQ(s_summary.lastCodid, codid);

    // Type 1 households carry the council's county.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("Identificare.dbf")))
                     + QStringLiteral(" WHERE TIPRA=1 AND JUDET<>\"") + county + QStringLiteral("\"")),
              0);
}

TEST_F(DemoRegisterTest, HouseholdsHaveUniqueCodesAndSlotsAndEveryRegisterType)
{
    const QString ident = q(table(QStringLiteral("Identificare.dbf")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + ident), scalar(QStringLiteral("SELECT COUNT(DISTINCT CODID) FROM ") + ident));
    EXPECT_TRUE(select(QStringLiteral("SELECT ANUL, LOCALIT, TIPRA, VOLUM, POZ, COUNT(*) FROM ") + ident
                       + QStringLiteral(" GROUP BY ANUL, LOCALIT, TIPRA, VOLUM, POZ HAVING COUNT(*)>1"))
                    .rows.empty());
    const auto years = select(QStringLiteral("SELECT DISTINCT ANUL FROM ") + ident + QStringLiteral(" ORDER BY ANUL"));
    ASSERT_EQ(years.rows.size(), 3u);
    EXPECT_EQ(whole(years.rows[0][0]), 2020);
    EXPECT_EQ(whole(years.rows[2][0]), 2022);
    const auto types = select(QStringLiteral("SELECT DISTINCT TIPRA FROM ") + ident + QStringLiteral(" WHERE ANUL=2020 ORDER BY TIPRA"));
    ASSERT_EQ(types.rows.size(), 4u);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(whole(types.rows[size_t(t)][0]), t + 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + ident + QStringLiteral(" WHERE ANUL=2020")), 40);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + ident + QStringLiteral(" WHERE ANUL=2020 AND TIPRA=1")),
              data::demoTypeCounts(40).type1);

    const auto rows = select(QStringLiteral("SELECT TIPRA, LOCALIT, STRADA, NR, JUDET, LOC, STR2, NR2, SIRUTA, DENUMIRE, "
                                            "CODFISCAL, POZ, VOLUM FROM ")
                             + ident);
    for (const auto& r : rows.rows) {
        const int type = int(whole(r[0]));
        EXPECT_GE(whole(r[11]), 1);
        EXPECT_GE(whole(r[12]), 1);
        EXPECT_FALSE(str(r[2]).isEmpty());
        EXPECT_FALSE(str(r[3]).isEmpty());
        switch (type) {
        case 1:
            EXPECT_EQ(str(r[5]), str(r[1]));
            EXPECT_TRUE(str(r[6]).isEmpty() && str(r[7]).isEmpty() && str(r[8]).isEmpty() && str(r[9]).isEmpty());
            break;
        case 2:
            EXPECT_EQ(str(r[2]), str(r[6]));
            EXPECT_EQ(str(r[3]), str(r[7]));
            EXPECT_FALSE(str(r[8]).isEmpty());
            EXPECT_TRUE(str(r[9]).isEmpty());
            break;
        default:
            EXPECT_FALSE(str(r[9]).isEmpty());
            EXPECT_FALSE(str(r[10]).isEmpty());
            EXPECT_FALSE(str(r[9]).contains(QLatin1Char('"')));
            EXPECT_EQ(str(r[2]), str(r[6]));
            break;
        }
    }
}

TEST_F(DemoRegisterTest, MembersHaveValidCodesAndOneHeadPerHousehold)
{
    const std::map<QString, int> kinship {
        {QStringLiteral("Cap de gospodarie"), 1}, {QStringLiteral("Sot / Sotie"), 2},     {QStringLiteral("Fiu / Fiica"), 3},
        {QStringLiteral("Alte rude"), 4},         {QStringLiteral("Neinrudit"), 5},       {QStringLiteral("Nepot / Nepoata"), 4},
        {QStringLiteral("Ginere / Nora"), 4},     {QStringLiteral("Concubin"), 5},
    };
    const QString members = q(table(QStringLiteral("CAP1.dbf")));
    const auto rows = select(QStringLiteral("SELECT C.CODID, C.ANUL, C.CNP, C.CODSEX, C.DATAN, C.DENUM, C.COD, C.NUMEP, I.ANUL FROM ")
                             + members + QStringLiteral(" C LEFT JOIN ") + q(table(QStringLiteral("Identificare.dbf")))
                             + QStringLiteral(" I ON I.CODID=C.CODID"));
    ASSERT_FALSE(rows.rows.empty());
    std::map<qint64, int> heads;
    std::map<qint64, int> sizes;
    std::set<QString> codes;
    for (const auto& r : rows.rows) {
        const QString cnp = str(r[2]);
        int sex = 0;
        QDate birth;
        ASSERT_TRUE(validCnp(cnp, &sex, &birth)) << cnp.toStdString();
        EXPECT_EQ(whole(r[3]), sex) << cnp.toStdString();
        ASSERT_TRUE(std::holds_alternative<QDate>(r[4]));
        EXPECT_EQ(std::get<QDate>(r[4]), birth) << cnp.toStdString();
        EXPECT_LE(birth.year(), whole(r[1]));
        ASSERT_TRUE(kinship.count(str(r[5]))) << str(r[5]).toStdString();
        EXPECT_EQ(whole(r[6]), kinship.at(str(r[5])));
        EXPECT_FALSE(str(r[7]).isEmpty());
        EXPECT_EQ(whole(r[1]), whole(r[8])) << "member of a household of another year";
        sizes[whole(r[0])] += 1;
        if (whole(r[6]) == 1)
            heads[whole(r[0])] += 1;
        codes.insert(cnp + QString::number(whole(r[1])));
    }
    EXPECT_EQ(codes.size(), rows.rows.size()) << "a code used twice in one year";
    for (const auto& [codid, size] : sizes) {
        EXPECT_LE(size, 6) << codid;
        EXPECT_EQ(heads[codid], 1) << codid;
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + members), scalar(QStringLiteral("SELECT COUNT(DISTINCT COD1) FROM ") + members));
    // Some households have no members (legal persons mostly).
    EXPECT_LT(sizes.size(), size_t(s_summary.householdRows));
}

TEST_F(DemoRegisterTest, EveryHouseholdHasEveryCatalogueRowOnce)
{
    const QString ident = q(table(QStringLiteral("Identificare.dbf")));
    for (int n = 2; n <= 10; ++n) {
        const QString t = q(table(QStringLiteral("CAP%1.dbf").arg(n)));
        SCOPED_TRACE(n);
        EXPECT_TRUE(select(QStringLiteral("SELECT CODID, RAND FROM ") + t + QStringLiteral(" GROUP BY CODID, RAND HAVING COUNT(*)<>1")).rows.empty());
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + t), s_summary.householdRows * data::chapterRowCount(n));
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + t + QStringLiteral(" C LEFT JOIN ") + ident
                         + QStringLiteral(" I ON I.CODID=C.CODID WHERE I.CODID IS NULL OR I.ANUL<>C.ANUL")),
                  0);
        // The distinct (code, name) pairs are exactly the catalogue.
        const QString name = n == 10 ? QString() : QStringLiteral(", CATEG");
        const auto pairs = select(QStringLiteral("SELECT DISTINCT RAND") + name + QStringLiteral(" FROM ") + t + QStringLiteral(" ORDER BY RAND"));
        ASSERT_EQ(int(pairs.rows.size()), data::chapterRowCount(n));
        for (int k = 1; k <= data::chapterRowCount(n); ++k) {
            EXPECT_DOUBLE_EQ(num(pairs.rows[size_t(k - 1)][0]), data::chapterRowCode(n, k));
            if (n != 10) {
                EXPECT_EQ(str(pairs.rows[size_t(k - 1)][1]), data::chapterRowName(n, k));
            }
        }
    }
    const QString notes = q(table(QStringLiteral("CAP11.dbf")));
    EXPECT_TRUE(select(QStringLiteral("SELECT CODID FROM ") + notes + QStringLiteral(" GROUP BY CODID HAVING COUNT(*)<>1")).rows.empty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + notes), s_summary.householdRows);
    EXPECT_GT(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + notes + QStringLiteral(" WHERE MENTIUNI IS NOT NULL")), 0);
}

TEST_F(DemoRegisterTest, ChapterTwoTotalsAndPlotsAgree)
{
    const auto c2 = chapter(2, QStringLiteral("AHA, AARI, BHA, BARI, CHA, CARI, IHA, IARI"));
    // Plot areas per household and chapter 2 row, and inside the built-up area.
    const std::map<QString, int> rowOf {
        {QStringLiteral("TEREN ARABIL"), 1},   {QStringLiteral("PASUNI NATURALE"), 2}, {QStringLiteral("FANETE NATURALE"), 3},
        {QStringLiteral("VII, PEPINIERE VITICOLE"), 4}, {QStringLiteral("LIVEZI"), 6}, {QStringLiteral("FOND FORESTIER"), 9},
        {QStringLiteral("CURTI SI CLADIRI"), 10}, {QStringLiteral("ALTE TERENURI"), 11},
    };
    std::map<qint64, std::map<int, qint64>> plotArea, plotInside;
    std::map<qint64, qint64> plotTotal;
    const auto plots = select(QStringLiteral("SELECT CODID, CATEG, INTRA, SUPRAF FROM ") + q(table(QStringLiteral("Tarlale.dbf"))));
    for (const auto& r : plots.rows) {
        ASSERT_TRUE(rowOf.count(str(r[1]))) << str(r[1]).toStdString();
        const qint64 area = std::llround(num(r[3]) * 10000);
        EXPECT_GT(area, 0);
        plotArea[whole(r[0])][rowOf.at(str(r[1]))] += area;
        plotTotal[whole(r[0])] += area;
        if (str(r[2]) == QLatin1String("INTRAVILAN"))
            plotInside[whole(r[0])][rowOf.at(str(r[1]))] += area;
        else
            EXPECT_EQ(str(r[2]), QStringLiteral("EXTRAVILAN"));
    }
    // The same total through the engine, per household.
    const auto sums = select(QStringLiteral("SELECT C.CODID, C.BHA, C.BARI, SUM(T.SUPRAF) FROM ") + q(table(QStringLiteral("CAP2.dbf")))
                             + QStringLiteral(" C LEFT JOIN ") + q(table(QStringLiteral("Tarlale.dbf")))
                             + QStringLiteral(" T ON T.CODID=C.CODID WHERE C.RAND=12 GROUP BY C.CODID, C.BHA, C.BARI"));
    EXPECT_EQ(qint64(sums.rows.size()), s_summary.householdRows);
    for (const auto& r : sums.rows)
        EXPECT_EQ(m2(r[1], r[2]), std::llround(num(r[3]) * 10000)) << whole(r[0]);

    int withLand = 0;
    for (const auto& [codid, rows] : c2) {
        SCOPED_TRACE(codid);
        ASSERT_EQ(rows.size(), 12u);
        std::map<int, std::array<qint64, 4>> v; // A, B, C, I
        for (const auto& [k, cols] : rows) {
            v[k] = {m2(cols[0], cols[1]), m2(cols[2], cols[3]), m2(cols[4], cols[5]), m2(cols[6], cols[7])};
            EXPECT_EQ(v[k][0], v[k][1]) << "A = B, row " << k;
            EXPECT_LE(v[k][3], v[k][1]) << "I <= B, row " << k;
            for (int c : {1, 3, 5, 7}) {
                EXPECT_GE(num(cols[size_t(c)]), 0.0);
                EXPECT_LT(num(cols[size_t(c)]), 100.0);
            }
        }
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(v[8][c], v[1][c] + v[2][c] + v[3][c] + v[4][c] + v[6][c]) << "row 8 column " << c;
            EXPECT_EQ(v[12][c], v[8][c] + v[9][c] + v[10][c] + v[11][c]) << "row 12 column " << c;
        }
        EXPECT_LE(v[5][0], v[4][0]);
        EXPECT_LE(v[7][0], v[6][0]);
        for (int k : {1, 2, 3, 4, 6, 9, 10, 11}) {
            EXPECT_EQ(v[k][1], plotArea[codid][k]) << "row " << k;
            EXPECT_EQ(v[k][3], plotInside[codid][k]) << "row " << k;
        }
        EXPECT_EQ(v[12][1], plotTotal[codid]);
        withLand += v[12][1] > 0 ? 1 : 0;
    }
    EXPECT_GT(withLand, int(c2.size()) * 3 / 4);
}

TEST_F(DemoRegisterTest, ComputedRowsOfChaptersThreeToSevenAreConsistent)
{
    const auto c2 = chapter(2, QStringLiteral("AHA, AARI"));
    const auto c3 = chapter(3, QStringLiteral("HA, ARI"));
    const auto c4 = chapter(4, QStringLiteral("HA, ARI"));
    const auto c5 = chapter(5, QStringLiteral("NR"));
    const auto c6 = chapter(6, QStringLiteral("AHA, AARI, BHA, BARI, CHA, CARI"));
    const auto c7 = chapter(7, QStringLiteral("NR"));
    qint64 cultivated = 0, animals = 0, trees = 0;
    for (const auto& [codid, rows] : c3) {
        SCOPED_TRACE(codid);
        const auto m = [&](int k) { return m2(rows.at(k)[0], rows.at(k)[1]); };
        const auto& two = c2.at(codid);
        EXPECT_EQ(m(1), m2(two.at(8)[0], two.at(8)[1]));
        EXPECT_EQ(m(2), m(3) + m(4) + m(5) + m(6) + m(7));
        EXPECT_EQ(m(8), m(9) + m(10) + m(11) + m(12) + m(13));
        EXPECT_LE(m(14), m(8));
        EXPECT_EQ(m(15), m(1) + m(2) - m(8));
        EXPECT_GE(m(15), 0);
    }
    for (const auto& [codid, rows] : c4) {
        SCOPED_TRACE(codid);
        const auto m = [&](int k) { return m2(rows.at(k)[0], rows.at(k)[1]); };
        qint64 s = 0;
        for (int k = 1; k <= 35; ++k) {
            EXPECT_EQ(m(k) % 10, 0) << "one decimal of ares, row " << k;
            if (k <= 20 || k == 26 || k == 27 || (k >= 29 && k <= 32))
                s += m(k);
        }
        EXPECT_EQ(m(21), m(22) + m(23) + m(24) + m(25));
        EXPECT_EQ(m(33), s + m(21));
        EXPECT_EQ(m(35), m(33) + m(34));
        EXPECT_LE(m(28), m(27));
        cultivated += m(33);
    }
    for (const auto& [codid, rows] : c5) {
        qint64 s = 0;
        for (int k = 2; k <= 11; ++k)
            s += whole(rows.at(k)[0]);
        EXPECT_EQ(whole(rows.at(1)[0]), s) << codid;
        trees += s;
    }
    for (const auto& [codid, rows] : c6) {
        SCOPED_TRACE(codid);
        std::map<int, std::array<qint64, 3>> v;
        for (const auto& [k, cols] : rows)
            v[k] = {m2(cols[0], cols[1]), m2(cols[2], cols[3]), m2(cols[4], cols[5])};
        for (int c = 0; c < 3; ++c) {
            qint64 s = 0;
            for (int k = 2; k <= 10; ++k)
                s += v[k][c];
            EXPECT_EQ(v[1][c], s);
            EXPECT_EQ(v[15][c], s + v[11][c] + v[12][c] + v[13][c] + v[14][c]);
        }
        for (int k = 1; k <= 15; ++k)
            EXPECT_EQ(v[k][0], v[k][1]);
    }
    for (const auto& [codid, rows] : c7) {
        SCOPED_TRACE(codid);
        ASSERT_EQ(rows.size(), 33u);
        const auto n = [&](int k) { return whole(rows.at(k)[0]); };
        EXPECT_EQ(n(1), n(2) + n(3) + n(4) + n(5) + n(6) + n(8) + n(10));
        EXPECT_LE(n(7), n(6));
        EXPECT_LE(n(9), n(8));
        EXPECT_GE(n(11), n(12) + n(13) + n(14) + n(15)); // position 15 is code 14.1
        EXPECT_GE(n(16), n(17));
        EXPECT_GE(n(18), n(19) + n(20) + n(21) + n(22));
        EXPECT_GE(n(23), n(24) + n(25));
        EXPECT_GE(n(31), n(32));
        animals += n(1) + n(18) + n(31);
    }
    EXPECT_GT(cultivated, 0);
    EXPECT_GT(animals, 0);
    EXPECT_GT(trees, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("CAP7.dbf"))) + QStringLiteral(" WHERE RAND=14.1")),
              s_summary.householdRows);
}

TEST_F(DemoRegisterTest, BuildingsPassTheChapterTenChecks)
{
    const auto rows = select(QStringLiteral("SELECT ANUL, RAND, DETALII FROM ") + q(table(QStringLiteral("CAP10.dbf"))));
    int houses = 0;
    for (const auto& r : rows.rows) {
        const int code = int(whole(r[1]));
        const qint64 v = whole(r[2]);
        EXPECT_GE(v, 0);
        if (v == 0)
            continue;
        if (code == 2 || code == 5 || code == 8 || code == 11) {
            EXPECT_LE(v, 5) << "material code";
        }
        if (code == 3 || code == 6 || code == 9 || code == 12) {
            EXPECT_GE(v, 1700);
            EXPECT_LE(v, whole(r[0]));
        }
        houses += code == 1 ? 1 : 0;
    }
    EXPECT_GT(houses, 0);
}

TEST_F(DemoRegisterTest, PlotsHaveHoldersAndPicturesPointAtPlotsOfTheirYear)
{
    const QString plots = q(table(QStringLiteral("Tarlale.dbf")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + plots), scalar(QStringLiteral("SELECT COUNT(DISTINCT CODT) FROM ") + plots));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + plots + QStringLiteral(" T WHERE NOT EXISTS (SELECT * FROM ")
                     + q(table(QStringLiteral("OmTarla.dbf"))) + QStringLiteral(" O WHERE O.CODT=T.CODT AND O.CODID=T.CODID AND O.ANUL=T.ANUL)")),
              0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("OmTarla.dbf")))
                     + QStringLiteral(" O LEFT JOIN ") + plots + QStringLiteral(" T ON T.CODT=O.CODT WHERE T.CODT IS NULL OR T.ANUL<>O.ANUL")),
              0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("PozeTarla.dbf")))
                     + QStringLiteral(" P LEFT JOIN ") + plots + QStringLiteral(" T ON T.CODT=P.CODT WHERE T.CODT IS NULL OR T.ANUL<>P.ANUL")),
              0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + q(table(QStringLiteral("OmTarla.dbf")))
                     + QStringLiteral(" WHERE TITULAR IS NULL")),
              0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + plots + QStringLiteral(" WHERE SUPRAF<=0 OR ACT IS NULL OR TARLA IS NULL")), 0);
}

TEST_F(DemoRegisterTest, EachYearCarriesThePreviousHouseholdsOverWithNewCodes)
{
    const QString ident = q(table(QStringLiteral("Identificare.dbf")));
    for (int year : {2021, 2022}) {
        SCOPED_TRACE(year);
        const qint64 previousMax = scalar(QStringLiteral("SELECT MAX(CODID) FROM ") + ident + QStringLiteral(" WHERE ANUL=%1").arg(year - 1));
        EXPECT_GT(scalar(QStringLiteral("SELECT MIN(CODID) FROM ") + ident + QStringLiteral(" WHERE ANUL=%1").arg(year)), previousMax);
        const qint64 count = scalar(QStringLiteral("SELECT COUNT(*) FROM ") + ident + QStringLiteral(" WHERE ANUL=%1").arg(year));
        const qint64 carried = scalar(QStringLiteral("SELECT COUNT(*) FROM ") + ident + QStringLiteral(" N, ") + ident
                                      + QStringLiteral(" P WHERE N.ANUL=%1 AND P.ANUL=%2 AND N.ROL=P.ROL AND N.LOCALIT=P.LOCALIT "
                                                       "AND N.TIPRA=P.TIPRA AND N.VOLUM=P.VOLUM AND N.POZ=P.POZ")
                                          .arg(year)
                                          .arg(year - 1));
        EXPECT_GE(carried * 10, count * 8);
        EXPECT_LE(carried, count);
    }
}

TEST(DemoRegister, SameSeedSameFilesOtherSeedOtherData)
{
    test::TempHome a, b, c;
    ScriptedInteraction ui;
    DemoOptions o;
    o.households = 12;
    o.years = 2;
    o.firstYear = 2018;
    o.seed = 5;
    data::generateDemoRegister(a.data(), o, ui);
    data::generateDemoRegister(b.data(), o, ui);
    o.seed = 6;
    data::generateDemoRegister(c.data(), o, ui);
    const QStringList files = QDir(a.data()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, QDir(b.data()).entryList(QDir::Files, QDir::Name));
    for (const QString& name : files) {
        QByteArray x = velmor::test::fileBytes(a.dataFile(name));
        QByteArray y = velmor::test::fileBytes(b.dataFile(name));
        if (name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive) && x.size() > 4 && y.size() > 4) {
            // The header date is the day of writing.
            x.replace(1, 3, "\0\0\0");
            y.replace(1, 3, "\0\0\0");
        }
        EXPECT_TRUE(x == y) << name.toStdString();
    }
    EXPECT_NE(velmor::test::fileBytes(a.dataFile(QStringLiteral("CAP1.dbf"))), velmor::test::fileBytes(c.dataFile(QStringLiteral("CAP1.dbf"))));
    EXPECT_NE(velmor::test::fileBytes(a.dataFile(QStringLiteral("Tarlale.dbf"))), velmor::test::fileBytes(c.dataFile(QStringLiteral("Tarlale.dbf"))));
}

TEST(DemoRegister, RefusesADirectoryHoldingARegisterAndBadOptions)
{
    test::TempHome home;
    ScriptedInteraction ui;
    QFile lst(home.dataFile(QStringLiteral("SATE.LST")));
    ASSERT_TRUE(lst.open(QIODevice::WriteOnly));
    lst.write("SAT\r\n");
    lst.close();
    DemoOptions o;
    o.households = 3;
    o.firstYear = 2020;
    EXPECT_THROW(data::generateDemoRegister(home.data(), o, ui), data::DemoError);
    EXPECT_EQ(QDir(home.data()).entryList(QDir::Files), QStringList {QStringLiteral("SATE.LST")});
    EXPECT_EQ(velmor::test::fileBytes(lst.fileName()), QByteArray("SAT\r\n"));

    test::TempHome empty;
    const QString dir = empty.dataFile(QStringLiteral("new"));
    for (auto change : std::vector<std::function<void(DemoOptions&)>> {
             [](DemoOptions& x) { x.households = 0; },
             [](DemoOptions& x) { x.years = 0; },
             [](DemoOptions& x) { x.firstYear = 2004; },
             [](DemoOptions& x) { x.firstYear = 9999; x.years = 2; },
         }) {
        DemoOptions bad = o;
        change(bad);
        EXPECT_THROW(data::generateDemoRegister(dir, bad, ui), data::DemoError);
        EXPECT_FALSE(QFileInfo::exists(dir));
    }
    QFile file(empty.dataFile(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_THROW(data::generateDemoRegister(file.fileName(), o, ui), data::DemoError);

    // A new nested directory is created.
    o.households = 1;
    const data::DemoSummary s = data::generateDemoRegister(dir + QStringLiteral("/deeper"), o, ui);
    EXPECT_EQ(s.householdRows, 1);
    EXPECT_TRUE(data::Schema::ExistaBaza(dir + QStringLiteral("/deeper")));
}

// A named catalogue row and a part of its catalogue name.
struct NamedRow {
    int chapter;
    int position;
    const char* name;
};

TEST(DemoRegister, NamedRowsAreTheCatalogueRowsOfTheirNames)
{
    using namespace data;
    const NamedRow rows[] = {
        {2, cap2::Arable, "Teren arabil"}, {2, cap2::Pasture, "Pasuni naturale"}, {2, cap2::Hayfields, "Fanete naturale"},
        {2, cap2::Vineyards, "Vii, pepiniere"}, {2, cap2::VineyardsBearing, "vii pe rod"},
        {2, cap2::Orchards, "Livezi de pomi"}, {2, cap2::OrchardsBearing, "livezi pe rod"},
        {2, cap2::AgriculturalTotal, "TEREN AGRICOL"}, {2, cap2::Forest, "Fond forestier"},
        {2, cap2::YardsAndBuildings, "Curti si cladiri"}, {2, cap2::OtherLand, "Alte terenuri"},
        {2, cap2::TotalArea, "SUPRAFATA TOTALA"},

        {3, cap3::Owned, "in proprietate"}, {3, cap3::ReceivedTotal, "agricola primita"},
        {3, cap3::ReceivedLease, "in arenda"}, {3, cap3::ReceivedShare, "in parte"},
        {3, cap3::ReceivedAssociation, "in asociere"}, {3, cap3::ReceivedAsShares, "actiuni"},
        {3, cap3::ReceivedOther, "alte forme"}, {3, cap3::GivenTotal, "agricola data"},
        {3, cap3::GivenLease, "in arenda"}, {3, cap3::GivenShare, "in parte"},
        {3, cap3::GivenAssociation, "in asociere"}, {3, cap3::GivenAsShares, "actiuni"},
        {3, cap3::GivenOther, "alte forme"}, {3, cap3::GivenToCompanies, "la societati"}, {3, cap3::Used, "utilizata"},

        {4, cap4::Wheat, "Grau"}, {4, cap4::Rye, "Secara"}, {4, cap4::Barley, "Orz"}, {4, cap4::TwoRowBarley, "Orzoaica"},
        {4, cap4::Oats, "Ovaz"}, {4, cap4::GrainMaize, "Porumb"}, {4, cap4::OtherCereals, "Alte cereale"},
        {4, cap4::Peas, "Mazare"}, {4, cap4::Beans, "Fasole"}, {4, cap4::OtherPulses, "Alte leguminoase"},
        {4, cap4::TextilePlants, "textile"}, {4, cap4::Sunflower, "Floarea soarelui"}, {4, cap4::Rapeseed, "Rapita"},
        {4, cap4::Soybeans, "Soia"}, {4, cap4::OtherOilPlants, "uleioase"}, {4, cap4::SugarBeet, "Sfecla"},
        {4, cap4::Tobacco, "Tutun"}, {4, cap4::OtherIndustrialPlants, "industrializari"},
        {4, cap4::MedicinalPlants, "medicinale"}, {4, cap4::Potatoes, "Cartofi"}, {4, cap4::VegetablesTotal, "Legume"},
        {4, cap4::Tomatoes, "tomate"}, {4, cap4::Cabbage, "varza"}, {4, cap4::Peppers, "ardei"},
        {4, cap4::OtherVegetables, "alte legume"}, {4, cap4::Melons, "Pepeni"}, {4, cap4::FodderPlants, "Plante nutret"},
        {4, cap4::Lucerne, "lucerna"}, {4, cap4::SeedCrops, "seminte"}, {4, cap4::Strawberries, "Capsun"},
        {4, cap4::Flowers, "Flori"}, {4, cap4::OtherCrops, "Alte culturi"},
        {4, cap4::CultivatedTotal, "ARABILA CULTIVATA"}, {4, cap4::Unsown, "NEINSAMANTAT"},
        {4, cap4::ArableTotal, "TOTAL TEREN ARABIL"},

        {5, cap5::BearingTotal, "POMI PE ROD"}, {5, cap5::Apple, "Meri"}, {5, cap5::Pear, "Peri"},
        {5, cap5::Quince, "Gutui"}, {5, cap5::Plum, "Pruni"}, {5, cap5::Apricot, "Caisi"}, {5, cap5::Peach, "Piersici"},
        {5, cap5::Cherry, "Ciresi"}, {5, cap5::SourCherry, "Visini"}, {5, cap5::Walnut, "Nuci"},
        {5, cap5::OtherTrees, "Alti pomi"}, {5, cap5::YoungTrees, "Pomi tineri"}, {5, cap5::Mulberry, "Duzi"},

        {6, cap6::ArableTotal, "TEREN ARABIL TOTAL"}, {6, cap6::WheatAndRye, "grau + secara"},
        {6, cap6::GrainMaize, "porumb"}, {6, cap6::Sunflower, "floarea soarelui"}, {6, cap6::Soybeans, "soia"},
        {6, cap6::SugarBeet, "sfecla"}, {6, cap6::Vegetables, "legume"}, {6, cap6::Potatoes, "cartofi"},
        {6, cap6::FodderPlants, "nutret"}, {6, cap6::OtherCrops, "alte culturi"}, {6, cap6::Pasture, "Pasuni"},
        {6, cap6::Hayfields, "Fanete"}, {6, cap6::Vineyards, "viticole"}, {6, cap6::Orchards, "pomicole"},
        {6, cap6::AgriculturalTotal, "TOTAL TEREN AGRICOL"},

        {7, cap7::BovineTotal, "Bovine - Total"}, {7, cap7::Cows, "Vaci"}, {7, cap7::PregnantHeifers, "Junici"},
        {7, cap7::Bulls, "Tauri"}, {7, cap7::WorkOxen, "Boi"}, {7, cap7::YoungFemales, "Tineret femel"},
        {7, cap7::YoungFemalesUnder6Months, "sub 6 luni"}, {7, cap7::YoungMales, "Tineret mascul"},
        {7, cap7::YoungMalesUnder6Months, "sub 6 luni"}, {7, cap7::BovineFattening, "ingrasat"},
        {7, cap7::SheepTotal, "Ovine"}, {7, cap7::Ewes, "oi fatatoare"}, {7, cap7::MatedYoungEwes, "mioare"},
        {7, cap7::LambsUnderOneYear, "sub 1 an"}, {7, cap7::Rams, "berbeci"}, {7, cap7::GoatsTotal, "Caprine"},
        {7, cap7::SheGoats, "capre"}, {7, cap7::PigsTotal, "Porcine"}, {7, cap7::Sows, "scroafe"},
        {7, cap7::YoungBreedingSows, "femel prasila"}, {7, cap7::Weaners, "crescatorii"}, {7, cap7::Boars, "vieri"},
        {7, cap7::HorsesTotal, "Cabaline -total"}, {7, cap7::WorkHorses, "cabaline de munca"},
        {7, cap7::Stallions, "armasari"}, {7, cap7::DonkeysAndMules, "Magari"}, {7, cap7::Rabbits, "Iepuri"},
        {7, cap7::Foxes, "Vulpi"}, {7, cap7::Minks, "Nurci"}, {7, cap7::Nutrias, "Nutrii"},
        {7, cap7::PoultryTotal, "Pasari -total"}, {7, cap7::LayingHens, "ouatoare"}, {7, cap7::BeeFamilies, "Albine"},

        {8, cap8::CalvesBorn, "Bovine > Vitei"}, {8, cap8::BovinePurchases, "Cumparari"},
        {8, cap8::BovineOtherIn, "Alte intrari"}, {8, cap8::BovineSales, "Vanzari"},
        {8, cap8::BovineSlaughtered, "Taieri"}, {8, cap8::BovineDead, "moarte"}, {8, cap8::BovineOtherOut, "Alte iesiri"},
        {8, cap8::CowPurchases, "vaci si bivolite > Cumparari"}, {8, cap8::CowOtherIn, "Alte intrari"},
        {8, cap8::CowSales, "Vanzari"}, {8, cap8::CowSlaughtered, "Taieri"}, {8, cap8::CowDead, "moarte"},
        {8, cap8::CowOtherOut, "Alte iesiri"},
        {8, cap8::LambsBorn, "Ovine   > Miei"}, {8, cap8::SheepPurchases, "Cumparari"},
        {8, cap8::SheepOtherIn, "Alte intrari"}, {8, cap8::SheepSales, "Vanzari"},
        {8, cap8::SheepSlaughtered, "Taieri"}, {8, cap8::SheepDead, "moarte"}, {8, cap8::SheepOtherOut, "Alte iesiri"},
        {8, cap8::KidsBorn, "Caprine > Iezi"}, {8, cap8::GoatPurchases, "Cumparari"}, {8, cap8::GoatOtherIn, "Alte intrari"},
        {8, cap8::GoatSales, "Vanzari"}, {8, cap8::GoatSlaughtered, "Taieri"}, {8, cap8::GoatDead, "moarte"},
        {8, cap8::GoatOtherOut, "Alte iesiri"},
        {8, cap8::PigletsBorn, "Porcine > Purcei"}, {8, cap8::PigPurchases, "Cumparari"}, {8, cap8::PigOtherIn, "Alte intrari"},
        {8, cap8::PigSales, "Vanzari"}, {8, cap8::PigSlaughtered, "Taieri"}, {8, cap8::PigDead, "moarte"},
        {8, cap8::PigOtherOut, "Alte iesiri"},
        {8, cap8::FoalsBorn, "Cabaline > Manji"}, {8, cap8::HorsePurchases, "Cumparari"},
        {8, cap8::HorseOtherIn, "Alte intrari"}, {8, cap8::HorseSales, "Vanzari"}, {8, cap8::HorseDead, "moarte"},
        {8, cap8::HorseOtherOut, "Alte iesiri"},

        {9, cap9::TractorsUpTo45Hp, "la 45 CP"}, {9, cap9::Tractors46To55Hp, "46-55 CP"},
        {9, cap9::Tractors56To65Hp, "56-65 CP"}, {9, cap9::TractorsOver65Hp, "peste 65 CP"},
        {9, cap9::Motocultivators, "Motocultoare"}, {9, cap9::MotorMowers, "Motocositoare"},
        {9, cap9::TractorPloughs, "Pluguri pentru tractor"}, {9, cap9::AnimalPloughs, "Pluguri cu tractiune animala"},
        {9, cap9::Cultivators, "Cultivatoare"}, {9, cap9::TractorHarrows, "Grape cu tractiune mecanica"},
        {9, cap9::AnimalHarrows, "Grape cu tractiune animala"}, {9, cap9::Combinators, "Combinatoare"},
        {9, cap9::CerealSeeders, "> paioase"}, {9, cap9::RowCropSeeders, "> prasitoare"},
        {9, cap9::AnimalSeeders, "Semanatori cu tractiune animala"}, {9, cap9::PotatoPlanters, "plantat cartofi"},
        {9, cap9::SeedlingPlanters, "rasaduri"}, {9, cap9::FertiliserSpreaders, "ingrasaminte chimice"},
        {9, cap9::ManureSpreaders, "ingrasaminte organice"}, {9, cap9::Sprayers, "stropit"},
        {9, cap9::HerbicideSprayers, "erbicidat"}, {9, cap9::CerealCombines, "> cereale paioase"},
        {9, cap9::MaizeCombines, "> porumb"}, {9, cap9::ForageCombines, "> furaje"}, {9, cap9::Threshers, "Batoze"},
        {9, cap9::BeetCombines, "recoltat sfecla"}, {9, cap9::BeetLifters, "Dislocatoare"},
        {9, cap9::BeetToppers, "decoletat"}, {9, cap9::PotatoHarvesters, "recoltat cartofi"},
        {9, cap9::TractorMowers, "Cositori"}, {9, cap9::Windrowers, "Vindrovere"}, {9, cap9::BalingPresses, "Prese"},
        {9, cap9::TractorTrailers, "Remorci"}, {9, cap9::LorriesUpTo1_5t, "pana la 1.5 t"},
        {9, cap9::LorriesOver1_5t, "peste 1.5 t"}, {9, cap9::Carts, "Care si carute"},
        {9, cap9::HydraulicLoaders, "Incarcatoare"}, {9, cap9::IrrigationPumps, "Motopompe"},
        {9, cap9::MilkingMachines, "muls"}, {9, cap9::FeedPreparation, "prepararea furajelor"},
        {9, cap9::ManureRemoval, "dejectiilor"}, {9, cap9::BrandyStills, "tuica"},
    };
    // Every row of chapters 2 to 9 is named exactly once.
    std::map<int, std::set<int>> seen;
    for (const NamedRow& row : rows) {
        EXPECT_TRUE(chapterRowName(row.chapter, row.position).contains(QLatin1String(row.name)))
            << row.chapter << "/" << row.position << ": " << chapterRowName(row.chapter, row.position).toStdString()
            << " lacks " << row.name;
        EXPECT_TRUE(seen[row.chapter].insert(row.position).second) << row.chapter << "/" << row.position;
    }
    const int counts[] = {cap2::Count, cap3::Count, cap4::Count, cap5::Count, cap6::Count, cap7::Count, cap8::Count,
                          cap9::Count, cap10::Count};
    for (int n = 2; n <= 10; ++n) {
        EXPECT_EQ(counts[n - 2], chapterRowCount(n)) << n;
        if (n <= 9) {
            EXPECT_EQ(int(seen[n].size()), chapterRowCount(n)) << n;
        }
    }
    // Positions that do not carry their own number as code.
    EXPECT_EQ(chapterRowCodeText(7, cap7::Rams), QStringLiteral("14.1"));
    EXPECT_EQ(chapterRowCodeText(7, cap7::Boars), QStringLiteral("20.1"));
    EXPECT_EQ(chapterRowCodeText(7, cap7::Stallions), QStringLiteral("22.1"));
    EXPECT_EQ(chapterRowCodeText(7, cap7::BeeFamilies), QStringLiteral("30"));
    // Chapter 10 rows have no catalogue names: the dwelling houses take three rows each from
    // row 1, the annexes rows 13 ("Grajduri") to 19 ("Cladiri Anexe").
    const std::pair<int, int> chapter10[] = {
        {cap10::HouseAArea, 1}, {cap10::HouseAMaterial, 2}, {cap10::HouseAYear, 3}, {cap10::HouseBArea, 4},
        {cap10::HouseCArea, 7}, {cap10::HouseDArea, 10}, {cap10::HouseDYear, 12}, {cap10::Stables, 13},
        {cap10::Corncribs, 14}, {cap10::Granaries, 15}, {cap10::Barns, 16}, {cap10::Sheds, 17},
        {cap10::Garages, 18}, {cap10::Annexes, 19},
    };
    for (const auto& [row, code] : chapter10)
        EXPECT_EQ(chapterRowCode(10, row), double(code)) << code;
}

TEST_F(DemoRegisterTest, TablesHaveTheColumnsOfTheirLayouts)
{
    for (const QString& name : data::Schema::tableFileNames()) {
        QStringList actual;
        for (const dbf::FieldSpec& f : dbf::DbfBulkWriter::layoutOf(table(name)))
            actual << f.name;
        EXPECT_EQ(actual, data::Schema::layoutColumns(data::Schema::tableLayout(name))) << name.toStdString();
    }
    EXPECT_EQ(data::Schema::layoutColumns(data::Layout::Cap8),
              QStringList({"ANUL", "CODID", "CATEG", "SEM_1", "SEM_2", "RAND"}));
    EXPECT_EQ(data::Schema::layoutColumns(data::Layout::Cap11), QStringList({"ANUL", "CODID", "MENTIUNI"}));
    EXPECT_EQ(data::Schema::layoutColumns(data::Layout::Identificare).size(), 18);
    EXPECT_EQ(data::Schema::tableLayout(QStringLiteral("cap4.DBF")), data::Layout::Cap3);
    EXPECT_EQ(data::Schema::tableLayout(QStringLiteral("CAP9")), data::Layout::Cap5);
    EXPECT_EQ(data::Schema::tableLayout(QStringLiteral("omtarla.dbf")), data::Layout::OmTarla);
    EXPECT_THROW(data::Schema::tableLayout(QStringLiteral("CAP12.dbf")), std::invalid_argument);
    EXPECT_THROW(data::Schema::tableLayout(QStringLiteral("Sate.lst")), std::invalid_argument);
}

TEST(DemoRegister, TypeCounts)
{
    const auto one = data::demoTypeCounts(1);
    EXPECT_EQ(one.type1, 1);
    EXPECT_EQ(one.type2 + one.type3 + one.type4, 0);
    for (int n : {4, 5, 20, 100, 3000}) {
        const auto c = data::demoTypeCounts(n);
        EXPECT_EQ(c.type1 + c.type2 + c.type3 + c.type4, n);
        EXPECT_GE(c.type2, 1);
        EXPECT_GE(c.type3, 1);
        EXPECT_GE(c.type4, 1);
        if (n >= 20) {
            EXPECT_GT(c.type1, 4 * (c.type2 + c.type3 + c.type4));
        }
    }
}

}
