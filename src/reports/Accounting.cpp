#include "reports/Accounting.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "data/engine/TableHandle.h"
#include "domain/AreaMetres.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <optional>
#include <unordered_map>

namespace velmor::reports {

namespace {

int categoryIndex(int row)
{
    for (size_t i = 0; i < Accounting::Categories.size(); ++i) {
        if (Accounting::Categories[i] == row)
            return int(i);
    }
    return -1;
}

struct Head {
    QString village;
    QString name;
    dbf::Value role;
};

}

QString Accounting::categoryHeading(int category)
{
    switch (category) {
    case 1: return QStringLiteral("Arabil");
    case 2: return QStringLiteral("Pasuni");
    case 3: return QStringLiteral("Fanete");
    case 4: return QStringLiteral("Vii");
    case 6: return QStringLiteral("Livezi");
    case 9: return QStringLiteral("Paduri");
    case 10: return QStringLiteral("Curti, cl.");
    case 11: return QStringLiteral("Alte ter.");
    }
    return QString();
}

Accounting::Accounting(engine::Engine& engine, QString dataDirectory, QString workDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_workDirectory(std::move(workDirectory))
    , m_year(year)
{
    m_engine.addTableRoot(m_workDirectory);
}

QString Accounting::tablePath(const QString& fileName) const
{
    return QDir(m_workDirectory).filePath(fileName);
}

void Accounting::removeTables()
{
    for (const QString& name : {QStringLiteral("RC.dbf"), QStringLiteral("RCF.dbf")}) {
        const QString path = tablePath(name);
        m_engine.forget(path);
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw Error(QStringLiteral("Nu pot sterge tabelul temporar %1.").arg(QDir::toNativeSeparators(path)));
    }
}

void Accounting::build(Interaction* ui)
{
    const auto table = [this](const char* name) {
        return engine::quotedPath(QDir(m_dataDirectory).filePath(QLatin1String(name)));
    };
    std::optional<ProgressShown> progress;
    const auto step = [ui](int position) {
        if (ui) {
            ui->setProgressPosition(position);
            ui->processEvents();
        }
    };
    try {
        removeTables();
        if (ui) {
            ui->setProgressMaximum(100);
            progress.emplace(*ui, QStringLiteral("Creez raportul..."));
        }
        step(5);
        engine::Parameters year;
        year.bind(QStringLiteral("ANUL"), m_year);

        // The heads of household and their households.
        std::unordered_map<std::int64_t, std::pair<QString, dbf::Value>> households;
        for (const auto& row : m_engine.select(QStringLiteral("SELECT CODID, LOCALIT, ROL FROM ") + table("Identificare.dbf")
                                                   + QStringLiteral(" WHERE ANUL=:ANUL"),
                                               year)
                                   .rows) {
            if (!dbf::isNull(row[0]))
                households[dbf::toRoundedWhole(row[0])] = {dbf::storedText(row[1]), row[2]}; // CODID, LOCALIT, ROL
        }
        std::unordered_multimap<std::int64_t, Head> heads;
        for (const auto& row : m_engine.select(QStringLiteral("SELECT CODID, NUMEP FROM ") + table("CAP1.dbf")
                                                   + QStringLiteral(" WHERE ANUL=:ANUL AND COD=1"),
                                               year)
                                   .rows) {
            const std::int64_t code = dbf::toRoundedWhole(row[0]);
            const auto household = households.find(code);
            if (dbf::isNull(row[0]) || household == households.end())
                continue;
            bool known = false;
            const auto range = heads.equal_range(code);
            for (auto it = range.first; it != range.second; ++it)
                known = known || it->second.name == dbf::storedText(row[1]);
            if (!known)
                heads.emplace(code, Head{household->second.first, dbf::storedText(row[1]), household->second.second});
        }

        // Square metres per household and category: total and inside the built-up area.
        struct Land {
            std::array<qint64, 8> total{};
            std::array<qint64, 8> inside{};
        };
        std::unordered_map<std::int64_t, Land> land;
        const engine::ResultSet chapter2 = m_engine.select(QStringLiteral("SELECT CODID, RAND, AHA, AARI, IHA, IARI FROM ") + table("CAP2.dbf")
                                                               + QStringLiteral(" WHERE ANUL=:ANUL AND RAND IN (1,2,3,4,6,9,10,11)"),
                                                           year);
        const auto [codid, rand, aha, aari, iha, iari] = chapter2.columns({"CODID", "RAND", "AHA", "AARI", "IHA", "IARI"});
        for (const auto& row : chapter2.rows) {
            const int index = categoryIndex(int(dbf::toRoundedWhole(row[rand])));
            if (dbf::isNull(row[codid]) || index < 0 || !heads.count(dbf::toRoundedWhole(row[codid])))
                continue;
            Land& l = land[dbf::toRoundedWhole(row[codid])];
            l.total[size_t(index)] += area::metres(dbf::numberOnly(row[aha]), dbf::numberOnly(row[aari]));
            l.inside[size_t(index)] += area::metres(dbf::numberOnly(row[iha]), dbf::numberOnly(row[iari]));
        }
        step(50);

        QString columns = QStringLiteral("( CODID DECIMAL(10,0), LOCALIT CHAR(40), NUMEP CHAR(40), ROL DECIMAL(9,0)");
        for (const int n : Categories)
            columns += QStringLiteral(", I%1 DECIMAL(9,4), E%1 DECIMAL(9,4)").arg(n);
        columns += QStringLiteral(" )");
        const QString rcf = tablePath(QStringLiteral("RCF.dbf"));
        m_engine.execute(QStringLiteral("CREATE TABLE ") + engine::quotedPath(rcf) + QLatin1Char(' ') + columns);
        engine::TableHandle& handle = m_engine.table(rcf);
        // One row per head with land; every pair present (0 where the category is empty).
        std::map<std::int64_t, const Land*> ordered;
        for (const auto& [code, l] : land)
            ordered[code] = &l;
        for (const auto& [code, l] : ordered) {
            const auto range = heads.equal_range(code);
            for (auto it = range.first; it != range.second; ++it) {
                std::vector<dbf::Value> values{code, it->second.village, it->second.name, it->second.role};
                for (size_t i = 0; i < Categories.size(); ++i) {
                    values.emplace_back(double(l->inside[i]) / 10000);
                    values.emplace_back(double(l->total[i] - l->inside[i]) / 10000);
                }
                handle.append(values);
            }
        }
        step(95);
    } catch (...) {
        progress.reset();
        try {
            removeTables();
        } catch (const Error&) {
            // The first failure is the one reported.
        }
        throw;
    }
}

engine::ResultSet Accounting::rows() const
{
    QStringList sums;
    for (const int n : Categories)
        sums << QStringLiteral("SUM(I%1) AS TI%1, SUM(E%1) AS TE%1").arg(n);
    return m_engine.select(QStringLiteral("SELECT CODID, LOCALIT, NUMEP, ROL, ") + sums.join(QStringLiteral(", "))
                           + QStringLiteral(" FROM ") + engine::quotedPath(tablePath(QStringLiteral("RCF.dbf")))
                           + QStringLiteral(" GROUP BY LOCALIT, NUMEP, CODID, ROL ORDER BY LOCALIT, NUMEP, CODID"));
}

output::ReportForm accountingForm()
{
    using output::ReportElement;
    using output::ValueFormat;
    using Kind = ReportElement::Kind;
    constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    constexpr Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;

    output::ReportForm form;
    form.orientation = QPageLayout::Landscape;
    form.margins = QMarginsF(10, 10, 10, 10);
    const double width = form.bodyWidth();
    form.title.add(output::reportLabel(QStringLiteral("PRIMARIA"), QString(), QRectF(0, 0, width * 0.6, 5), left, 9, true));
    form.title.add(output::reportLabel(QStringLiteral("DATA"), QString(), QRectF(width * 0.6, 0, width * 0.4, 5), right));
    form.title.add(output::reportText(QStringLiteral("RAPORT CU TERENURILE IN PROPRIETATE"), QRectF(0, 8, width, 7),
                                      Qt::AlignHCenter | Qt::AlignTop, 12, true));
    form.title.height = 18;

    // Name, the eight pairs, the role number.
    const double nameWidth = 52;
    const double roleWidth = 17;
    const double cellWidth = (width - nameWidth - roleWidth) / 16;
    const auto framed = [](ReportElement element) {
        element.frame = true;
        return element;
    };
    form.columnHeader.add(framed(output::reportText(QStringLiteral("Numele si Prenumele"), QRectF(0, 0, nameWidth, 12), centre, 8, true)));
    double x = nameWidth;
    for (const int n : Accounting::Categories) {
        form.columnHeader.add(framed(output::reportText(Accounting::categoryHeading(n), QRectF(x, 0, 2 * cellWidth, 6), centre, 8, true)));
        form.columnHeader.add(framed(output::reportText(QStringLiteral("Intr."), QRectF(x, 6, cellWidth, 6), centre, 7, true)));
        form.columnHeader.add(framed(output::reportText(QStringLiteral("Extr."), QRectF(x + cellWidth, 6, cellWidth, 6), centre, 7, true)));
        x += 2 * cellWidth;
    }
    form.columnHeader.add(framed(output::reportText(QStringLiteral("ROL"), QRectF(x, 0, roleWidth, 12), centre, 8, true)));

    output::ReportGroup village;
    village.keyColumn = QStringLiteral("LOCALIT");
    village.header.add(output::reportText(QStringLiteral("LOCALITATEA"), QRectF(0, 1, 28, 5), left, 9, true));
    village.header.add(output::reportField(QStringLiteral("LOCALIT"), QRectF(28, 1, 100, 5), ValueFormat::Text, left));
    village.header.height = 7;
    form.groups.append(village);

    form.detail.add(framed(output::reportField(QStringLiteral("NUMEP"), QRectF(0, 0, nameWidth, 5), ValueFormat::Text, left)));
    form.summary.add(output::reportText(QStringLiteral("Total:"), QRectF(0, 2, 14, 5), left, 9, true));
    form.summary.add(output::reportElement(Kind::Count, QString(), QRectF(14, 2, 12, 5), ValueFormat::Text, right));
    form.summary.add(output::reportText(QStringLiteral("gospodarii"), QRectF(27, 2, 25, 5), left, 9, true));
    x = nameWidth;
    for (const int n : Accounting::Categories) {
        for (const char* side : {"TI", "TE"}) {
            const QString field = QLatin1String(side) + QString::number(n);
            form.detail.add(framed(output::reportField(field, QRectF(x, 0, cellWidth, 5), ValueFormat::Decimal4, right)));
            form.summary.add(output::reportElement(Kind::Sum, field, QRectF(x, 2, cellWidth, 5), ValueFormat::Decimal4, right));
            x += cellWidth;
        }
    }
    form.detail.add(framed(output::reportField(QStringLiteral("ROL"), QRectF(x, 0, roleWidth, 5), ValueFormat::Whole, right)));
    ReportElement page = output::reportElement(Kind::PageNumber, QString(), QRectF(0, 2, width, 5), ValueFormat::Text,
                                               Qt::AlignHCenter | Qt::AlignTop);
    page.text = QStringLiteral("Pagina %1 din %2");
    form.pageFooter.add(page);
    return form;
}

output::ReportDocument accountingDocument(engine::ResultSet rows, const QString& council, const QDate& today)
{
    return output::ReportDocument(accountingForm(), std::move(rows),
                                  {{QStringLiteral("PRIMARIA"), council},
                                   {QStringLiteral("DATA"), today.toString(QStringLiteral("dd.MM.yyyy"))}});
}

}
