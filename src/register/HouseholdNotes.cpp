#include "register/HouseholdNotes.h"

#include "register/ChapterCompletion.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"

namespace velmor {

HouseholdNotes::HouseholdNotes(AppContext& ctx)
    : m_ctx(ctx)
{
}

QString HouseholdNotes::lineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void HouseholdNotes::open(qint64 codid)
{
    m_open = false;
    m_codid = codid;
    ChapterCompletion completion(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.interaction);
    m_year = m_ctx.workingYear().toLongLong();
    const CompletionReport report = completion.complete(11, codid, m_year);
    m_record = -1;
    m_text.clear();
    if (!report.rows.rows().isEmpty()) {
        const ChapterRow& row = report.rows.rows().first();
        m_record = row.record;
        m_text = lineFeeds(row.text(QStringLiteral("MENTIUNI")));
    }
    m_edited = m_text;
    m_open = true;
}

bool HouseholdNotes::StopCap(bool unlocked)
{
    if (!m_open)
        return true;
    if (unlocked && isChanged() && m_record >= 0) {
        ChapterRow row;
        row.record = m_record;
        row.values.insert(QStringLiteral("MENTIUNI"), QString(m_edited).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
        try {
            ChapterStore(*m_ctx.engine, m_ctx.tablePath(QStringLiteral("CAP11.dbf")), 11, m_year).write(m_codid, row);
        } catch (const std::exception& error) {
            showError(*m_ctx.interaction, error, QStringLiteral("Mentiuni speciale"));
            return false;
        }
        m_text = m_edited;
    }
    m_open = false;
    return true;
}

}
