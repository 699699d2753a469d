#include "bench/BenchLists.h"

#include "bench/BenchRun.h"
#include "data/engine/Engine.h"
#include "search/HouseholdLists.h"

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

namespace velmor::bench {

std::vector<ListTiming> benchLists(engine::Engine& engine, const QString& dataDir, const QString& workDir, std::int64_t year,
                                   int rounds, const QString& only)
{
    using namespace velmor::search;
    std::vector<ListTiming> results;
    const RowLists lists(engine, dataDir, year);
    const auto wanted = [&](const QString& name) { return only.isEmpty() || name.contains(only); };

    if (wanted(QStringLiteral("row lists of a year"))) {
        std::size_t offered = 0;
        const double ms = timed(rounds, [&] {
            offered = 0;
            for (int chapter : listChapters())
                offered += lists.rows(chapter).size();
        });
        results.push_back({QStringLiteral("row lists of a year (%1 rows)").arg(offered), ms});
    }
    if (wanted(QStringLiteral("advanced list of a year"))) {
        ListChoices choices;
        choices.addColumn(2, lists.offered(2, 1));
        choices.addColumn(7, lists.offered(7, 1));
        choices.addColumn(10, lists.offered(10, 1));
        choices.addCondition(3, lists.offered(3, 1), QStringLiteral("1"), QString());
        AdvancedList list(engine, dataDir, workDir, year);
        std::size_t heads = 0;
        const double ms = timed(rounds, [&] { heads = list.build(choices, {}).rows.size(); });
        results.push_back({QStringLiteral("advanced list of a year (%1 heads)").arg(heads), ms});
    }
    if (wanted(QStringLiteral("selection list of a year"))) {
        const SelectionList list(engine, dataDir, year);
        const ListRow arable = lists.offered(2, 1);
        std::size_t heads = 0;
        const double ms = timed(rounds, [&] { heads = list.build(2, arable, QStringLiteral("1"), QString(), {}).rows.rows.size(); });
        results.push_back({QStringLiteral("selection list of a year (%1 lines)").arg(heads), ms});
    }
    return results;
}

}
