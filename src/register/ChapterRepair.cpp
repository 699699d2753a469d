#include "register/ChapterRepair.h"

#include "data/dbf/ValueConversions.h"

#include "register/ChapterRules.h"

#include "admin/OperationGuard.h"
#include "core/Error.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"

namespace velmor {

ChapterRepair::ChapterRepair(engine::Engine& engine, QString dataDirectory, QString scratchDirectory, Interaction& ui)
    : m_engine(engine)
    , m_dataDirectory(dataDirectory)
    , m_completion(engine, std::move(dataDirectory), std::move(scratchDirectory), ui)
{
}

ChapterRepair::Report ChapterRepair::run(qint64 year, std::optional<qint64> household)
{
    engine::Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    QString statement = QStringLiteral("SELECT CODID FROM ") + engine::quotedPath(m_dataDirectory + QStringLiteral("/Identificare.dbf"))
                        + QStringLiteral(" WHERE ANUL=:ANUL");
    if (household) {
        statement += QStringLiteral(" AND CODID=:CODID");
        p.bind(QStringLiteral("CODID"), std::int64_t(*household));
    }
    const engine::ResultSet households = m_engine.select(statement + QStringLiteral(" ORDER BY CODID"), p);
    if (household && households.rows.empty())
        throw Error(QStringLiteral("Gospodaria cu CODID %1 nu exista in anul %2.").arg(*household).arg(year));
    std::vector<qint64> codids;
    for (const auto& row : households.rows) {
        double codid = 0;
        if (dbf::storedNumber(row[0], codid))
            codids.push_back(qint64(codid));
    }
    Report report;
    report.households = int(codids.size());
    // Every table checked before the first change; interrupted, the repair is run again.
    OperationGuard guard(m_dataDirectory, QString::fromLatin1(OperationMarker::Chapters), &m_engine);
    guard.preflight(OperationGuard::registerFiles());
    guard.marker().values.insert(QStringLiteral("year"), QString::number(year));
    if (household)
        guard.marker().values.insert(QStringLiteral("household"), QString::number(*household));
    guard.begin();
    // Chapter by chapter, so chapter 3 reads the chapter 2 totals already recomputed and the
    // scratch table of the completion serves every household of a chapter.
    for (int chapter = 2; chapter <= 11; ++chapter) {
        for (qint64 codid : codids)
            repairChapter(chapter, codid, year, report);
        if (m_chapterDone)
            m_chapterDone(chapter, report.chapters[size_t(chapter)]);
    }
    guard.finish();
    return report;
}

void ChapterRepair::repairChapter(int chapter, qint64 codid, qint64 year, Report& report)
{
    CompletionReport done = m_completion.complete(chapter, codid, year);
    ChapterCounts& counts = report.chapters[size_t(chapter)];
    counts.added += done.added;
    counts.removed += done.removed;
    report.kept << done.kept;
    if (chapter == 11)
        return;
    ChapterRows computed = done.rows;
    switch (chapter) {
    case 2:
        chapter_rules::totalsCap2(computed);
        break;
    case 6:
        chapter_rules::totalsCap6(computed);
        break;
    default:
        applyLoadRules(m_engine, m_dataDirectory, chapter, codid, year, computed);
        break;
    }
    const QString overflow = overflowMessage(done.rows, computed);
    if (!overflow.isEmpty()) {
        report.refused << QStringLiteral("CAP%1\t%2\t%3").arg(chapter).arg(codid).arg(QString(overflow).replace(QLatin1Char('\r'), QLatin1Char(' ')));
        return;
    }
    const ChapterStore store(m_engine, m_completion.tablePath(chapter), chapter, year);
    counts.changed += writeChanges(store, codid, done.rows, computed);
}

}
