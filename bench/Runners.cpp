#include "bench/Runners.h"

#include "data/engine/DialectTranslator.h"

#include <QFileInfo>

namespace velmor::bench {

QString NativeRunner::tableNameOf(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(p).completeBaseName().toUpper();
}

int NativeRunner::run(const QString& statement, engine::ResultSet* rows)
{
    const engine::Statement s = engine::translateStatement(statement, [](const QString& path) {
        return QLatin1Char('"') + tableNameOf(path) + QLatin1Char('"');
    });
    switch (s.kind) {
    case engine::Statement::CreateTable: {
        QStringList columns;
        for (const auto& c : s.columns) {
            const QString type = c.type == 'N' ? QStringLiteral("DECIMAL(%1,%2)").arg(c.width).arg(c.decimals)
                : c.type == 'D'               ? QStringLiteral("DATE")
                                              : QStringLiteral("CHAR(%1) COLLATE RTRIM").arg(c.width);
            columns << c.name + QLatin1Char(' ') + type;
        }
        return m_mirror.run(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(tableNameOf(s.path), columns.join(QLatin1Char(','))));
    }
    case engine::Statement::DropTable:
        return m_mirror.run(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(tableNameOf(s.path)));
    case engine::Statement::CreateIndex:
        return m_mirror.run(QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1_%2\" ON \"%1\" (%2)")
                                .arg(tableNameOf(s.path), s.indexColumn));
    default:
        return m_mirror.run(s.sql, rows);
    }
}

}
