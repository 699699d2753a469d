#include "register/ChapterCompletion.h"

#include "core/Error.h"
#include "data/ChapterCatalogue.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace velmor {

ChapterCompletion::ChapterCompletion(engine::Engine& engine, QString dataDirectory, QString scratchDirectory, Interaction& ui)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_scratchDirectory(std::move(scratchDirectory))
    , m_ui(ui)
{
}

ChapterCompletion::~ChapterCompletion()
{
    dropScratch();
}

void ChapterCompletion::dropScratch()
{
    const QString scratch = scratchTablePath();
    if (QFile::exists(scratch))
        QFile::remove(scratch);
    m_engine.forget(scratch);
    m_scratchChapter = 0;
}

QString ChapterCompletion::tablePath(int chapter) const
{
    return m_dataDirectory + QLatin1Char('/') + ChapterLayout::of(chapter).tableFile;
}

QString ChapterCompletion::scratchTablePath() const
{
    return m_scratchDirectory + QStringLiteral("/Ft.dbf");
}

CompletionReport ChapterCompletion::complete(int chapter, qint64 codid, qint64 year)
{
    const ChapterStore store(m_engine, tablePath(chapter), chapter, year);
    CompletionReport report;
    report.rows = store.load(codid);

    if (chapter == 11) {
        if (report.rows.size() == 0) {
            engine::Parameters p;
            p.bind(QStringLiteral("ANUL"), std::int64_t(year));
            p.bind(QStringLiteral("CODID"), std::int64_t(codid));
            m_engine.execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(tablePath(11))
                                 + QStringLiteral(" (ANUL,CODID) VALUES (:ANUL,:CODID)"),
                             p);
            report.added = 1;
            report.rows = store.load(codid);
        }
        return report;
    }

    const int count = data::chapterRowCount(chapter);
    QHash<int, QList<int>> byCode; // code x 10 -> indexes of rows
    for (int i = 0; i < report.rows.size(); ++i)
        byCode[report.rows.rows()[i].codeTenths()] << i;

    QList<int> missing;
    for (int position = 1; position <= count; ++position) {
        if (!byCode.contains(data::chapterRowCodeTenths(chapter, position)))
            missing << position;
    }
    if (!missing.isEmpty()) {
        report.added = insertMissing(chapter, codid, year, missing);
        report.rows = store.load(codid);
        byCode.clear();
        for (int i = 0; i < report.rows.size(); ++i)
            byCode[report.rows.rows()[i].codeTenths()] << i;
    }

    QSet<qint64> removed;
    for (int position = 1; position <= count; ++position) {
        const int tenths = data::chapterRowCodeTenths(chapter, position);
        const QList<int> copies = byCode.value(tenths);
        if (copies.size() < 2)
            continue;
        // Empty copies and copies repeating the values of an earlier one go; one copy always stays.
        QList<int> holding, empty;
        for (int i : copies) {
            const ChapterRow& row = report.rows.rows()[i];
            const bool repeated = std::any_of(holding.cbegin(), holding.cend(),
                                              [&](int kept) { return report.rows.rows()[kept].sameValues(row); });
            (row.holdsNothing() || repeated ? empty : holding) << i;
        }
        if (holding.isEmpty())
            empty.removeFirst();
        for (int i : empty) {
            const ChapterRow& row = report.rows.rows()[i];
            store.remove(codid, row.record);
            removed.insert(row.record);
        }
        if (holding.size() > 1)
            report.kept << KeptDuplicates {chapter, codid, report.rows.rows()[holding.first()].code, int(holding.size())};
    }
    if (!removed.isEmpty()) {
        report.removed = int(removed.size());
        report.rows.rows().removeIf([&](const ChapterRow& row) { return removed.contains(row.record); });
    }
    return report;
}

int ChapterCompletion::insertMissing(int chapter, qint64 codid, qint64 year, const QList<int>& positions)
{
    const ChapterLayout& layout = ChapterLayout::of(chapter);
    const QString scratch = scratchTablePath();
    data::Schema schema(m_engine, m_dataDirectory, m_ui);
    if (m_scratchChapter != chapter) {
        dropScratch();
        if (QFile::exists(scratch))
            throw Error(QStringLiteral("Tabelul temporar %1 nu poate fi sters.").arg(scratch));
        schema.CreazaCapitol(chapter, scratch);
        m_scratchChapter = chapter;
    }
    engine::Parameters household;
    household.bind(QStringLiteral("CODID"), std::int64_t(codid));
    const QString clearScratch = QStringLiteral("DELETE FROM ") + engine::quotedPath(scratch) + QStringLiteral(" WHERE CODID=:CODID");

    const QStringList columns = layout.insertColumns();
    QStringList placeholders;
    for (const QString& c : columns)
        placeholders << QLatin1Char(':') + c;
    const QString insert = QStringLiteral("INSERT INTO ") + engine::quotedPath(scratch) + QStringLiteral(" (")
                           + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") + placeholders.join(QStringLiteral(", "))
                           + QLatin1Char(')');
    for (int position : positions) {
        engine::Parameters p;
        p.bind(QStringLiteral("ANUL"), std::int64_t(year));
        p.bind(QStringLiteral("CODID"), std::int64_t(codid));
        const double code = data::chapterRowCode(chapter, position);
        if (chapter == 7)
            p.bind(QStringLiteral("RAND"), code);
        else
            p.bind(QStringLiteral("RAND"), std::int64_t(std::llround(code)));
        if (layout.hasCategory())
            p.bind(QStringLiteral("CATEG"), data::chapterRowName(chapter, position));
        for (const ChapterColumn& c : layout.columns) {
            if (c.isNumeric())
                p.bind(c.field, std::int64_t(0));
            else
                p.bind(c.field, QString());
        }
        try {
            m_engine.execute(insert, p);
        } catch (...) {
            // Nothing reaches the chapter table; the next opening tries again.
            dropScratch();
            throw;
        }
    }

    const QString target = tablePath(chapter);
    const QString list = columns.join(QStringLiteral(", "));
    try {
        m_engine.execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(target) + QStringLiteral(" (") + list
                             + QStringLiteral(")\nSELECT ") + list + QStringLiteral("\nFROM ") + engine::quotedPath(scratch)
                             + QStringLiteral("\nWHERE CODID=:CODID"),
                         household);
        m_engine.execute(clearScratch, household);
    } catch (...) {
        dropScratch();
        throw;
    }
    schema.RemoveIndex(target);
    schema.CreazaIndex(target, QStringLiteral("ANUL;CODID;RAND"));
    return int(positions.size());
}

}

#include "register/ChapterRules.h"

namespace velmor {

QString applyLoadRules(engine::Engine& engine, const QString& dataDirectory, int chapter, qint64 codid, qint64 year,
                       ChapterRows& rows)
{
    switch (chapter) {
    case 3: {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), std::int64_t(codid));
        p.bind(QStringLiteral("ANUL"), std::int64_t(year));
        p.bind(QStringLiteral("RAND"), std::int64_t(data::cap2::AgriculturalTotal));
        const engine::ResultSet owned = engine.select(QStringLiteral("SELECT AHA,AARI FROM ")
                                                          + engine::quotedPath(dataDirectory + QStringLiteral("/CAP2.dbf"))
                                                          + QStringLiteral(" WHERE (CODID=:CODID) AND (ANUL=:ANUL) AND (RAND=:RAND)"),
                                                      p);
        double ha = 0, ari = 0;
        if (!owned.rows.empty()) {
            ChapterRow probe;
            probe.values.insert(QStringLiteral("AHA"), owned.value(0, "AHA"));
            probe.values.insert(QStringLiteral("AARI"), owned.value(0, "AARI"));
            ha = probe.number(QStringLiteral("AHA"));
            ari = probe.number(QStringLiteral("AARI"));
        }
        chapter_rules::CalculeazaCAP3(rows, ha, ari);
        return chapter_rules::VerificaCAP3(rows);
    }
    case 4:
        chapter_rules::CalculeazaCAP4Intern(rows);
        break;
    case 5:
        chapter_rules::CalculeazaCAP5Intern(rows);
        break;
    case 7:
        chapter_rules::CalculeazaCAP7Intern(rows);
        break;
    default:
        break;
    }
    return QString();
}

}
