#include "app/CliSearch.h"

#include "app/CliInteraction.h"
#include "app/RegisterServices.h"
#include "app/CliOptions.h"
#include "app/CliOutput.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "domain/TextCase.h"
#include "data/dbf/ValueConversions.h"
#include "tariffs/LocalTariffs.h"
#include "search/ChapterSummaries.h"
#include "search/NameSearch.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <QDir>
#include <QTextStream>

namespace velmor::cli {

int runSummary(const Options& o)
{
    o.require({"data", "household"});
    o.requirePositional(0, 0);
    bool ok = false;
    const qint64 codid = o.value(QStringLiteral("household")).trimmed().toLongLong(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("Optiunea --household cere un cod de gospodarie, nu \"%1\".")
                             .arg(o.value(QStringLiteral("household"))));
    const QString dir = existingDataDirectory(o);
    engine::Engine engine(dir);

    engine::Parameters household;
    household.bind(QStringLiteral("CODID"), std::int64_t(codid));
    const engine::ResultSet found = engine.select(
        QStringLiteral("SELECT CODID, ANUL FROM ") + engine::quotedPath(dir + QStringLiteral("/Identificare.dbf"))
            + QStringLiteral(" WHERE CODID=:CODID ORDER BY ANUL DESC"),
        household);
    if (found.rows.empty())
        throw Error(QStringLiteral("Gospodaria cu codul %1 nu exista.").arg(codid));

    Settings settings(dir);
    search::ChapterSummaries summaries(engine, dir, LocalTariffs(settings).load());
    // The household's rows of the latest year that holds it.
    summaries.setYear(dbf::toWhole(found.value(0, "ANUL")));
    const QList<search::ChapterSummaries::Summary> all = summaries.all(codid);
    QTextStream out(stdout);
    for (const search::ChapterSummaries::Summary& summary : all)
        out << summary.name << '\t' << summary.text << '\n';
    out.flush();
    return 0;
}

int runFind(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const QString dir = existingDataDirectory(o);
    const RegisterServices services(QString(), dir);
    Settings& settings = services.settings();
    CliInteraction ui;

    AppContext ctx;
    services.attachTo(ctx, &ui);
    CouncilConstants constants;
    constants.JUDET = settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("JUDET"));
    ctx.profile.setConstants(constants);
    ctx.year.setYears({o.value(QStringLiteral("year"))});

    search::NameSearch search(ctx);
    search.open(search::NameSearch::allVillages());
    // The typed fields of the window upper-case what is typed; the lists offer the stored values.
    search::SearchCriteria criteria;
    criteria.name = search::typedSearchText(o.value(QStringLiteral("name")));
    criteria.headsOnly = o.has(QStringLiteral("heads-only"));
    criteria.cnp = search::typedSearchText(o.value(QStringLiteral("cnp")));
    criteria.company = o.value(QStringLiteral("company"));
    criteria.street = o.value(QStringLiteral("street"));
    criteria.number = search::typedSearchText(o.value(QStringLiteral("number")));
    criteria.domicile = o.value(QStringLiteral("domicile"));
    search.setCriteria(criteria);

    static const char* const fields[] = {"NUMEP", "TIPRA", "VOLUM", "POZ", "CNP", "LOCALIT", "DENUMIRE", "ADRESA", "DOMSTAB", "CODID"};
    QTextStream out(stdout);
    out << (search::NameSearch::headings() << QStringLiteral("CODID")).join(QLatin1Char('\t')) << '\n';
    for (int row = 0; row < search.shownCount(); ++row) {
        QStringList cells;
        for (const char* field : fields)
            cells << formatCell(search.shownText(row, QString::fromLatin1(field)));
        out << cells.join(QLatin1Char('\t')) << '\n';
    }
    out.flush();
    return 0;
}

}
