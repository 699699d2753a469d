#include "data/Identifiers.h"

#include "core/Error.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace velmor::data {

namespace {

QStringList tablesOf(const QString& kind)
{
    if (kind == QLatin1String("CODID"))
        return {QStringLiteral("Identificare.dbf")};
    if (kind == QLatin1String("COD1"))
        return {QStringLiteral("CAP1.dbf")};
    if (kind == QLatin1String("CODT"))
        return {QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf"), QStringLiteral("PozeTarla.dbf")};
    throw Error(QStringLiteral("Tip de cod necunoscut: %1.").arg(kind));
}

// The table file of that name in the directory, whatever the letter case on disk; empty when absent.
QString existingTable(const QString& dataDirectory, const QString& name)
{
    const QDir dir(dataDirectory);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList found = dir.entryList({QStringLiteral("*.dbf"), QStringLiteral("*.DBF")}, QDir::Files);
    for (const QString& file : found) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    }
    return QString();
}

}

qint64 firstFreeIdentifier(engine::Engine& engine, const QString& dataDirectory, const QString& kind)
{
    qint64 largest = 0;
    for (const QString& name : tablesOf(kind)) {
        const QString path = existingTable(dataDirectory, name);
        if (path.isEmpty())
            continue;
        engine::Query q(engine);
        q.add(QStringLiteral("SELECT MAX(%1) AS HI FROM ").arg(kind) + engine::quotedPath(path));
        q.open();
        if (!q.isEmpty() && !q.field(0).isNull())
            largest = std::max(largest, q.field(0).asInteger());
    }
    return largest + 1;
}

}
