#include "services/LineListFile.h"

#include "core/Paths.h"
#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "services/ServiceError.h"

#include <QFile>
#include <QFileInfo>

namespace velmor {

QStringList readLineList(const QString& path, const QString& what)
{
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ServiceError(QStringLiteral("Nu pot citi %1 %2: %3").arg(what, nativePath(path), file.errorString()));
    const QString text = dbf::cp1250::decode(file.readAll());
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            lines << line;
    }
    return lines;
}

void writeLineList(const QString& path, const QStringList& lines, const QString& what)
{
    QByteArray bytes;
    for (const QString& value : lines) {
        QByteArray line;
        QChar bad;
        if (!dbf::cp1250::tryEncode(value, line, &bad)) {
            throw ServiceError(QStringLiteral("Valoarea \"%1\" contine caracterul \"%2\", care nu poate fi scris in %3.")
                                   .arg(value, QString(bad), nativePath(path)));
        }
        bytes += line + "\r\n";
    }
    Q_UNUSED(what);
    try {
        StagedFile::replace(path, bytes);
    } catch (const WriteError& e) {
        throw ServiceError(e.message());
    }
}

}
