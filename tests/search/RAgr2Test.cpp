// The statistical form R.AGR.2: sums by holder kind, the form's placeholders, the delivered model
// filled and read back, the report-number counter.

#include "EditorTestWorld.h"
#include "ExportReaders.h"

#include "admin/Models.h"
#include "core/Error.h"
#include "search/RAgr2Report.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;

namespace {

constexpr int kYear = 2011;

void chapterRow(EditorWorld& w, const char* table, const char* column, qint64 codid, int code, double value)
{
    engine::Parameters p;
    p.bind(QStringLiteral("CODID"), std::int64_t(codid));
    p.bind(QStringLiteral("RAND"), std::int64_t(code));
    p.bind(QStringLiteral("V"), value);
    w.engine->execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(w.ctx.tablePath(QLatin1String(table))) + QStringLiteral(" (ANUL, CODID, RAND, ")
                          + QLatin1String(column) + QStringLiteral(") VALUES (2011, :CODID, :RAND, :V)"),
                      p);
}

// Households of the four register types with machines and buildings.
struct FormWorld : EditorWorld {
    FormWorld()
        : EditorWorld(QString::number(kYear))
    {
        for (int type = 1; type <= 4; ++type)
            addHousehold(QString::number(kYear), 700 + type, QStringLiteral("SAT NOU"), type, 1, type);
        chapterRow(*this, "CAP9.dbf", "NR", 701, 1, 2);   // tractors, type 1
        chapterRow(*this, "CAP9.dbf", "NR", 701, 1, 1);
        chapterRow(*this, "CAP9.dbf", "NR", 702, 1, 5);   // type 2
        chapterRow(*this, "CAP9.dbf", "NR", 703, 1, 3);   // types 3 and 4 share column 3
        chapterRow(*this, "CAP9.dbf", "NR", 704, 1, 4);
        chapterRow(*this, "CAP9.dbf", "NR", 704, 42, 1);  // the form's last machine row
        chapterRow(*this, "CAP9.dbf", "NR", 704, 43, 9);  // beyond the form: left out
        chapterRow(*this, "CAP10.dbf", "DETALII", 701, 13, 12.5);
        chapterRow(*this, "CAP10.dbf", "DETALII", 701, 13, 0.12);
        chapterRow(*this, "CAP10.dbf", "DETALII", 702, 17, 30);
        chapterRow(*this, "CAP10.dbf", "DETALII", 703, 12, 99); // not a form row
    }
};

}

TEST(RAgr2, SumsByHolderKindOnTheFormsRows)
{
    FormWorld w;
    const RAgr2Report::Values v = RAgr2Report(*w.engine, w.home.data()).values(kYear);
    struct Cell {
        int row;
        int column;
        double value;
    };
    const Cell cells[] = {
        {11, 1, 3}, {11, 2, 5}, {11, 3, 7}, {52, 3, 1}, {53, 1, 12.62}, {57, 2, 30}, {52, 1, 0}, {56, 3, 0},
    };
    for (const Cell& c : cells)
        EXPECT_DOUBLE_EQ(v[size_t(c.row - RAgr2Report::FirstRow)][size_t(c.column - 1)], c.value) << c.row << '/' << c.column;
    double total = 0;
    for (const auto& row : v)
        for (double cell : row)
            total += cell;
    EXPECT_DOUBLE_EQ(total, 3 + 5 + 7 + 1 + 12.62 + 30);

    const std::pair<double, const char*> texts[] = {{0, "0"}, {3, "3"}, {2.5, "2.5"}, {0.1234, "0.1234"}, {12.62339999, "12.6234"}, {-0.00001, "0"}};
    for (const auto& [value, text] : texts)
        EXPECT_EQ(RAgr2Report::numberText(value), QLatin1String(text)) << value;
}

TEST(RAgr2, DeliveredModelFilledWithEveryPlaceholder)
{
    FormWorld w;
    InstaleazaModele(w.home.home());
    RAgr2Request request;
    request.year = kYear;
    request.siruta = QStringLiteral("54321");
    request.number = QStringLiteral("17");
    request.date = QDate(2026, 12, 9);
    request.council.JUDET = QStringLiteral("Olt");
    request.council.Comuna = QStringLiteral("Balș");
    request.council.TIPLOC = QStringLiteral("ORASUL");
    const QString model = w.home.home() + QStringLiteral("/RAGR2.rtf");
    const QString written = RAgr2Report(*w.engine, w.home.data()).write(request, model, w.home.home());
    EXPECT_EQ(written, w.home.home() + QStringLiteral("/Ragr00.rtf"));

    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QString problem;
    const QStringList text = test::readRtfText(bytes, &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    const QString all = text.join(QLatin1Char('\n'));
    EXPECT_FALSE(QRegularExpression(QStringLiteral("\\[[0-9A-Z]{3}\\]")).match(all).hasMatch());
    for (const char* expected : {"OLT", "BALș", "54321", "17", "09.12.2026", "2011", "12.62", "30"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected;
    // Only the council's own type carries its name.
    const auto pairs = RAgr2Report::placeholders(RAgr2Report::Values {}, request);
    EXPECT_EQ(pairs.size(), 47 * 3 + 8);
    for (const auto& [placeholder, value] : pairs) {
        if (placeholder == QLatin1String("[R08]"))
            EXPECT_EQ(value, QStringLiteral("Balș"));
        else if (placeholder.startsWith(QLatin1String("[R0")))
            EXPECT_TRUE(value.isEmpty());
    }

    // A missing model writes nothing.
    EXPECT_THROW(RAgr2Report(*w.engine, w.home.data()).write(request, w.home.home() + QStringLiteral("/Lipsa.rtf"), w.home.home()), Error);
    EXPECT_FALSE(QFile::exists(w.home.home() + QStringLiteral("/Ragr01.rtf")));
    // An output that cannot be written is reported.
    EXPECT_THROW(RAgr2Report(*w.engine, w.home.data()).write(request, model, w.home.home(), w.home.home() + QStringLiteral("/nu/exista.rtf")),
                 Error);
}

TEST(RAgr2, EveryOpeningTakesANumberAndConfirmingContinuesAfterTheShownOne)
{
    EditorWorld w(QString::number(kYear));
    const qint64 before = w.settings->CodExistent(QStringLiteral("RAGR2")).toLongLong();
    RAgr2Report::proposedHeader(*w.settings); // opened and cancelled
    const auto [siruta, number] = RAgr2Report::proposedHeader(*w.settings);
    EXPECT_EQ(number.toLongLong(), before + 1);
    RAgr2Report::storeHeader(*w.settings, QStringLiteral("123456"), number);
    EXPECT_EQ(w.settings->CodExistent(QStringLiteral("RAGR2")).toLongLong(), before + 2);
    EXPECT_EQ(RAgr2Report::proposedHeader(*w.settings).first, QStringLiteral("123456"));
    // An empty number leaves the counter as the opening advanced it.
    RAgr2Report::storeHeader(*w.settings, QString(), QString());
    EXPECT_EQ(w.settings->CodExistent(QStringLiteral("RAGR2")).toLongLong(), before + 3);
}
