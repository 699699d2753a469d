#include "register/NewHouseholdChapters.h"

#include "data/dbf/ValueConversions.h"

#include "data/ChapterCatalogue.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"

namespace velmor {

namespace {

// The zero-valued columns of a chapter's rows.
QStringList zeroColumns(int chapter)
{
    switch (chapter) {
    case 2: return {"AHA", "AARI", "BHA", "BARI", "CHA", "CARI", "IHA", "IARI"};
    case 3:
    case 4: return {"HA", "ARI"};
    case 5:
    case 7:
    case 9: return {"NR"};
    case 6: return {"AHA", "AARI", "BHA", "BARI", "CHA", "CARI"};
    case 8: return {"SEM_1", "SEM_2"};
    case 10: return {"DETALII"};
    default: return {};
    }
}

}

void createChapterRows(AppContext& ctx, const QString& year, qint64 codid)
{
    engine::Engine& db = *ctx.engine;
    const dbf::Value yearValue = dbf::yearValue(year);
    const dbf::Value household = std::int64_t(codid);
    for (int chapter = 2; chapter <= 11; ++chapter) {
        const QString path = engine::quotedPath(ctx.tablePath(QStringLiteral("CAP%1.dbf").arg(chapter)));
        engine::Parameters has;
        has.bind(QStringLiteral("CODID"), household);
        has.bind(QStringLiteral("ANUL"), yearValue);
        const engine::ResultSet existing = db.select(
            QStringLiteral("SELECT COUNT(*) AS N FROM ") + path + QStringLiteral(" WHERE CODID=:CODID AND ANUL=:ANUL"), has);
        if (dbf::toWhole(existing.rows.front().front()) > 0)
            continue;
        if (chapter == 11) {
            engine::Query q(db);
            q.add(QStringLiteral("INSERT INTO ") + path);
            q.add(QStringLiteral("(ANUL,CODID)"));
            q.add(QStringLiteral("VALUES (:ANUL, :CODID)"));
            q.bind(QStringLiteral("ANUL"), yearValue).bind(QStringLiteral("CODID"), household);
            q.execSQL();
            continue;
        }
        const QStringList zeros = zeroColumns(chapter);
        const bool named = chapter != 10;
        QStringList columns {QStringLiteral("ANUL"), QStringLiteral("CODID"), QStringLiteral("RAND")};
        QStringList values {QStringLiteral(":ANUL"), QStringLiteral(":CODID"), QStringLiteral(":RAND")};
        if (named) {
            columns << QStringLiteral("CATEG");
            values << QStringLiteral(":CATEG");
        }
        for (const QString& zero : zeros) {
            columns << zero;
            values << QStringLiteral("0");
        }
        const QString statement = QStringLiteral("INSERT INTO ") + path + QStringLiteral(" (") + columns.join(QLatin1Char(','))
            + QStringLiteral(")\nVALUES (") + values.join(QLatin1Char(',')) + QLatin1Char(')');
        const int count = data::chapterRowCount(chapter);
        for (int position = 1; position <= count; ++position) {
            engine::Parameters p;
            p.bind(QStringLiteral("ANUL"), yearValue);
            p.bind(QStringLiteral("CODID"), household);
            const double code = data::chapterRowCode(chapter, position);
            if (code == double(qint64(code)))
                p.bind(QStringLiteral("RAND"), std::int64_t(code));
            else
                p.bind(QStringLiteral("RAND"), code);
            if (named)
                p.bind(QStringLiteral("CATEG"), data::chapterRowName(chapter, position));
            db.execute(statement, p);
        }
    }
}

}
