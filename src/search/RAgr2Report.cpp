#include "search/RAgr2Report.h"

#include "data/dbf/ValueConversions.h"
#include "core/Error.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "output/TRTFReplace.h"
#include "services/Settings.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <QFileInfo>

#include <cmath>

namespace velmor {

namespace {

// Column 0 for register type 1, 1 for type 2, 2 for every other type.
size_t holderColumn(const dbf::Value& type)
{
    const double t = dbf::toReal(type);
    return t == 1 ? 0 : t == 2 ? 1 : 2;
}

}

RAgr2Report::RAgr2Report(engine::Engine& engine, QString dataDirectory)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
{
}

RAgr2Report::Values RAgr2Report::values(int year) const
{
    Values grid {};
    const auto table = [&](const char* name) { return engine::quotedPath(m_dataDirectory + QLatin1Char('/') + QLatin1String(name)); };
    engine::Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    const auto add = [&](const engine::ResultSet& rows, int firstCode, int lastCode, int offset) {
        const auto [rand, sum, type] = rows.columns({"RAND", "AA", "TIPRA"});
        for (const auto& row : rows.rows) {
            const int code = int(std::lround(dbf::toReal(row[rand])));
            // Only the rows the form has; anything else a register may hold is left out.
            if (code < firstCode || code > lastCode)
                continue;
            grid[size_t(code + offset - FirstRow)][holderColumn(row[type])] += dbf::toReal(row[sum]);
        }
    };
    add(m_engine.select(QStringLiteral("SELECT C.RAND, SUM(C.NR) AS AA, I.TIPRA\nFROM ") + table("CAP9.dbf") + QStringLiteral(" C,\n")
                            + table("Identificare.dbf")
                            + QStringLiteral(" I\nWHERE C.ANUL=:ANUL AND C.CODID=I.CODID AND I.ANUL=C.ANUL\nGROUP BY C.RAND, I.TIPRA\nORDER BY C.RAND"),
                        p),
        1, 42, 10);
    add(m_engine.select(QStringLiteral("SELECT C.RAND, SUM(C.DETALII) AS AA, I.TIPRA\nFROM ") + table("CAP10.dbf")
                            + QStringLiteral(" C,\n") + table("Identificare.dbf")
                            + QStringLiteral(" I\nWHERE C.ANUL=:ANUL AND C.RAND IN (13,14,15,16,17) AND C.CODID=I.CODID AND I.ANUL=C.ANUL\n"
                                             "GROUP BY C.RAND, I.TIPRA"),
                        p),
        13, 17, 40);
    for (auto& row : grid) {
        for (double& cell : row)
            cell = std::round(cell * 10000.0) / 10000.0;
    }
    return grid;
}

QString RAgr2Report::numberText(double value)
{
    QString text = QString::number(std::round(value * 10000.0) / 10000.0, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QList<QPair<QString, QString>> RAgr2Report::placeholders(const Values& values, const RAgr2Request& request)
{
    QList<QPair<QString, QString>> pairs;
    for (int row = FirstRow; row <= LastRow; ++row) {
        for (int column = 1; column <= 3; ++column)
            pairs.append({QStringLiteral("[%1%2]").arg(column).arg(row), numberText(values[size_t(row - FirstRow)][size_t(column - 1)])});
    }
    pairs.append({QStringLiteral("[J01]"), request.council.JUDET});
    const QStringList types = TipuriLocalitate();
    for (int i = 0; i < 3; ++i) {
        const bool ours = i < types.size() && types[i] == request.council.TIPLOC;
        pairs.append({QStringLiteral("[R0%1]").arg(7 + i), ours ? request.council.Comuna : QString()});
    }
    pairs.append({QStringLiteral("[003]"), request.siruta});
    pairs.append({QStringLiteral("[004]"), request.number});
    pairs.append({QStringLiteral("[005]"), request.date.toString(QStringLiteral("dd.MM.yyyy"))});
    pairs.append({QStringLiteral("[006]"), QString::number(request.year)});
    return pairs;
}

QPair<QString, QString> RAgr2Report::storedHeader(const Settings& settings)
{
    return {settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("SIRUTA")), settings.CodExistent(QStringLiteral("RAGR2"))};
}

QPair<QString, QString> RAgr2Report::proposedHeader(Settings& settings)
{
    return {settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("SIRUTA")), settings.CodNou(QStringLiteral("RAGR2"))};
}

void RAgr2Report::storeHeader(Settings& settings, const QString& siruta, const QString& number)
{
    if (!number.trimmed().isEmpty())
        settings.SetCod(QStringLiteral("RAGR2"), number.trimmed());
    if (!siruta.trimmed().isEmpty())
        settings.Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("SIRUTA"), siruta.trimmed());
}

QString RAgr2Report::write(const RAgr2Request& request, const QString& model, const QString& programDirectory,
                           const QString& outputPath) const
{
    if (!QFileInfo(model).isFile())
        throw Error(QStringLiteral("Lipseste fisierul RAGR2.rtf!\nActualizati programul!"));
    const Values grid = values(request.year);
    output::TRTFReplace filler;
    filler.RTFSursa = model;
    // The filler writes through a staged file: a named output is replaced only by a complete form,
    // and until then the old one stays.
    const bool chosen = outputPath.isEmpty()
                            ? filler.StabilesteDest(QDir(programDirectory).filePath(QStringLiteral("Ragr0")))
                            : (filler.RTFDest = outputPath, true);
    if (!chosen || !filler.IncepeDocument())
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!\n") + filler.errorString());
    filler.GolesteLista();
    for (const auto& [placeholder, value] : placeholders(grid, request))
        filler.Inlocuieste(placeholder, value);
    if (!filler.ScrieCorp(1) || !filler.InchideDocument())
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!\n") + filler.errorString());
    return outputPath.isEmpty() ? filler.RTFDest : QFileInfo(outputPath).absoluteFilePath();
}

}
