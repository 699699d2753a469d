#include "reports/FarmSituation.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "output/TRTFReplace.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QFileInfo>

#include <optional>
#include <vector>

namespace velmor::reports {

namespace {

// numerator / denominator rounded half away from zero; the denominator is not 0.
std::int64_t roundedQuotient(std::int64_t numerator, std::int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const bool negative = numerator < 0;
    const std::int64_t magnitude = negative ? -numerator : numerator;
    const std::int64_t quotient = (2 * magnitude + denominator) / (2 * denominator);
    return negative ? -quotient : quotient;
}

// Hundredths as "0.00".
QString hundredthsText(std::int64_t hundredths, const QString& separator)
{
    const bool negative = hundredths < 0;
    const std::int64_t magnitude = negative ? -hundredths : hundredths;
    return (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100) + separator
        + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

}

const QList<FarmSituation::Group>& FarmSituation::groups()
{
    static const QList<Group> all{
        {'a', "AND (RAND=2 OR RAND=3)", {0, 2, 5, 10, 15, 20, 30, 50, 200}, 20, {2, 3, 5, 7, 9, 11, 13, 15, 17, 19}},
        {'b', "AND (RAND=6 OR RAND=8)", {0, 2, 5, 15, 25, 35, 50, 100}, 20, {2, 3, 5, 7, 9, 11, 13, 15, 17}},
        {'c', "AND RAND=18", {0, 1, 3, 10, 15, 25, 50, 75, 100}, 20, {2, 3, 5, 7, 9, 11, 13, 15, 17, 19}},
        {'d', "AND RAND=17", {0, 3, 10, 25, 50, 75, 100, 500}, 20, {2, 3, 5, 7, 9, 11, 13, 15, 17, 19}},
        {'e', "AND RAND=13", {0, 5, 10, 20, 50, 100, 200, 500}, 18, {2, 3, 5, 7, 9, 11, 13, 15, 17}},
        {'f', "AND RAND=28", {0, 25, 50, 75, 100, 500, 1000}, 18, {2, 3, 5, 7, 9, 11, 13, 15}},
        {'g', "AND RAND=16", {0, 10, 50}, 8, {2, 3, 5, 7}},
    };
    return all;
}

int FarmSituation::sizeClass(const Group& group, std::int64_t animals)
{
    const int classes = int(group.bounds.size()) + 1;
    if (animals < 0)
        return classes;
    for (int k = 0; k < group.bounds.size(); ++k) {
        if (animals <= group.bounds[k])
            return k + 1;
    }
    return classes;
}

FarmSituation::FarmSituation(engine::Engine& engine, QString dataDirectory, QString programDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_programDirectory(std::move(programDirectory))
    , m_year(year)
{
}

QString FarmSituation::templatePath() const
{
    return QDir(m_dataDirectory).filePath(QStringLiteral("ModelDir.rtf"));
}

QList<QPair<QString, QString>> FarmSituation::values(const QString& county, const QDate& today, const QString& decimalSeparator,
                                                     Interaction* ui) const
{
    QList<QPair<QString, QString>> result{{QStringLiteral("[JUDET]"), county},
                                          {QStringLiteral("[DATA]"), today.toString(QStringLiteral("dd.MM.yyyy"))}};
    std::optional<ProgressShown> progress;
    if (ui) {
        ui->setProgressMaximum(7);
        progress.emplace(*ui, QStringLiteral("Calculez..."));
    }
    int done = 0;
    for (const Group& group : groups()) {
        const int classes = int(group.bounds.size()) + 1;
        std::vector<std::int64_t> holdings(size_t(classes) + 1, 0);
        std::vector<std::int64_t> animals(size_t(classes) + 1, 0);
        engine::Parameters parameters;
        parameters.bind(QStringLiteral("ANUL"), m_year);
        const engine::ResultSet rows = m_engine.select(
            QStringLiteral("SELECT Count(*) AS NRX, SUM(NR) AS TOT, NR FROM ")
                + engine::quotedPath(QDir(m_dataDirectory).filePath(QStringLiteral("Cap7.dbf")))
                + QStringLiteral(" WHERE ANUL=:ANUL ") + QLatin1String(group.rows) + QStringLiteral(" GROUP BY NR ORDER BY NR"),
            parameters);
        const auto [count, total, heads] = rows.columns({"NRX", "TOT", "NR"});
        for (const auto& row : rows.rows) {
            const int k = sizeClass(group, dbf::toRoundedWhole(row[heads]));
            holdings[size_t(k)] += dbf::toRoundedWhole(row[count]);
            animals[size_t(k)] += dbf::toRoundedWhole(row[total]);
        }
        std::int64_t n = 0;
        std::int64_t t = 0;
        for (int k = 2; k <= classes; ++k) {
            n += holdings[size_t(k)];
            t += animals[size_t(k)];
        }
        // Every cell in hundredths.
        std::vector<std::vector<std::int64_t>> cells(4, std::vector<std::int64_t>(size_t(group.lastColumn) + 1, 0));
        cells[1][2] = n * 100;
        cells[2][2] = t * 100;
        cells[3][2] = n == 0 ? 0 : roundedQuotient(t * 100, n);
        for (int k = 2; k <= classes && 2 * k <= group.lastColumn; ++k) {
            const size_t odd = size_t(2 * k - 1);
            const size_t even = size_t(2 * k);
            cells[1][odd] = holdings[size_t(k)] * 100;
            cells[1][even] = n == 0 ? 0 : roundedQuotient(holdings[size_t(k)] * 10000, n);
            cells[2][odd] = animals[size_t(k)] * 100;
            cells[2][even] = t == 0 ? 0 : roundedQuotient(animals[size_t(k)] * 10000, t);
            cells[3][odd] = holdings[size_t(k)] == 0 ? 0 : roundedQuotient(animals[size_t(k)] * 100, holdings[size_t(k)]);
        }
        for (int r = 1; r <= 3; ++r) {
            for (int c = 2; c <= group.lastColumn; ++c) {
                const std::int64_t value = cells[size_t(r)][size_t(c)];
                const bool whole = r <= 2 && group.wholeColumns.contains(c);
                result.append({QStringLiteral("[%1%2%3]").arg(QLatin1Char(group.letter)).arg(r).arg(c),
                               whole ? QString::number(value / 100) : hundredthsText(value, decimalSeparator)});
            }
        }
        if (ui) {
            ui->setProgressPosition(++done);
            ui->processEvents();
        }
    }
    return result;
}

QString FarmSituation::write(const QString& county, const QDate& today, const QString& decimalSeparator, Interaction* ui,
                             const QString& output) const
{
    const QString model = templatePath();
    if (!QFileInfo(model).isFile())
        throw Error(QStringLiteral("Lipseste fisierul model ") + QDir::toNativeSeparators(model) + QStringLiteral("!"));
    output::TRTFReplace filler;
    filler.RTFSursa = model;
    const bool chosen = output.isEmpty() ? filler.StabilesteDest(QDir(m_programDirectory).filePath(QStringLiteral("SitFerm")))
                                         : (filler.RTFDest = output, true);
    if (!chosen)
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!"));
    const QList<QPair<QString, QString>> pairs = values(county, today, decimalSeparator, ui);
    if (!filler.IncepeDocument())
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!\n") + filler.errorString());
    filler.GolesteLista();
    for (const auto& [placeholder, value] : pairs)
        filler.Inlocuieste(placeholder, value);
    if (!filler.ScrieCorp(1) || !filler.InchideDocument())
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!\n") + filler.errorString());
    return output.isEmpty() ? filler.RTFDest : QFileInfo(output).absoluteFilePath();
}

}
