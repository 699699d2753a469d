// Appends rows to two tables of a data directory, one statement a row, as another program sharing
// the directory would: `velmor_append_helper DIR FIRST COUNT` writes CODID FIRST .. FIRST+COUNT-1
// into CAP5 (plain) and CAP11 (memo notes "nota <CODID>"). It takes no data directory lock, so
// only the append lock of the tables keeps two of them apart.

#include "data/engine/Engine.h"
#include "data/engine/Parameters.h"
#include "data/engine/SqlText.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: velmor_append_helper DIR FIRST COUNT\n");
        return 2;
    }
    const QString dir = QDir(args[1]).absolutePath();
    const qint64 first = args[2].toLongLong();
    const qint64 count = args[3].toLongLong();
    try {
        velmor::engine::Engine engine(dir);
        const QString cap5 = velmor::engine::quotedPath(dir + QStringLiteral("/CAP5.dbf"));
        const QString cap11 = velmor::engine::quotedPath(dir + QStringLiteral("/CAP11.dbf"));
        for (qint64 codid = first; codid < first + count; ++codid) {
            velmor::engine::Parameters p;
            p.bind(QStringLiteral("C"), std::int64_t(codid));
            engine.execute(QStringLiteral("INSERT INTO ") + cap5 + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2024, :C, 1, 1)"), p);
            p.bind(QStringLiteral("M"), QStringLiteral("nota %1").arg(codid));
            engine.execute(QStringLiteral("INSERT INTO ") + cap11 + QStringLiteral(" (ANUL, CODID, MENTIUNI) VALUES (2024, :C, :M)"), p);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
