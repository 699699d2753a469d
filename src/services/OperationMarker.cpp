#include "services/OperationMarker.h"

#include "core/ChangeCounter.h"
#include "core/Paths.h"
#include "core/StagedFile.h"
#include "services/DataDirectoryLock.h"
#include "services/ServiceError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor {

namespace {

QString joined(const QStringList& list)
{
    return list.join(QLatin1Char('|'));
}

QStringList split(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('|'));
}

// The one place the marker is written; complete or not at all.
void writeMarkerFile(const QString& path, const QByteArray& contents)
{
    try {
        StagedFile::replace(path, contents);
    } catch (const WriteError& e) {
        throw ServiceError(e.message());
    }
}

}

OperationMarker OperationMarker::start(const QString& operation)
{
    OperationMarker m;
    m.operation = operation;
    m.computer = DataDirectoryLock::computerName();
    m.process = QCoreApplication::applicationPid();
    m.time = QDateTime::currentDateTime();
    return m;
}

QString OperationMarker::pathIn(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QString::fromLatin1(FileName));
}

std::optional<OperationMarker> OperationMarker::read(const QString& dataDirectory)
{
    QFile file(pathIn(dataDirectory));
    if (!file.exists())
        return std::nullopt;
    OperationMarker m;
    if (!file.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (key == QLatin1String("operation"))
            m.operation = value;
        else if (key == QLatin1String("computer"))
            m.computer = value;
        else if (key == QLatin1String("process"))
            m.process = value.toLongLong();
        else if (key == QLatin1String("time"))
            m.time = QDateTime::fromString(value, Qt::ISODate);
        else if (key == QLatin1String("archive"))
            m.archive = value;
        else if (key == QLatin1String("staging"))
            m.staging = value;
        else if (key == QLatin1String("empty"))
            m.empty = split(value);
        else if (key == QLatin1String("missing"))
            m.missing = split(value);
        else if (key.startsWith(QLatin1String("value.")))
            m.values.insert(key.mid(6), value);
    }
    if (!m.time.isValid())
        m.time = QFileInfo(file).lastModified();
    return m;
}

void OperationMarker::write(const QString& dataDirectory) const
{
    QString text;
    auto add = [&](const QString& key, const QString& value) { text += key + QLatin1Char('=') + value + QLatin1Char('\n'); };
    add(QStringLiteral("operation"), operation);
    add(QStringLiteral("computer"), computer);
    add(QStringLiteral("process"), QString::number(process));
    add(QStringLiteral("time"), time.toString(Qt::ISODate));
    add(QStringLiteral("archive"), archive);
    add(QStringLiteral("staging"), staging);
    add(QStringLiteral("empty"), joined(empty));
    add(QStringLiteral("missing"), joined(missing));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        add(QStringLiteral("value.") + it.key(), it.value());
    writeMarkerFile(pathIn(dataDirectory), text.toUtf8());
    ChangeCounter::count();
}

void OperationMarker::remove(const QString& dataDirectory)
{
    const QString path = pathIn(dataDirectory);
    if (!QFile::exists(path))
        return;
    if (!QFile::remove(path))
        throw ServiceError(QStringLiteral("Nu pot sterge %1.").arg(nativePath(path)));
    ChangeCounter::count();
}

bool OperationMarker::holderRunning(const QString& dataDirectory) const
{
    if (process == QCoreApplication::applicationPid() && computer == DataDirectoryLock::computerName())
        return true;
    if (computer == DataDirectoryLock::computerName())
        return DataDirectoryLock::processRunning(process);
    // Another computer: its operation runs while it holds the data directory's lock.
    const DataDirectoryLock::Holder h = DataDirectoryLock(dataDirectory).holder();
    return h.computer == computer && h.process == process;
}

QString OperationMarker::displayName() const
{
    static const QMap<QString, QString> names {
        {QString::fromLatin1(Restore), QStringLiteral("restaurare")},
        {QString::fromLatin1(Takeover), QStringLiteral("preluare an")},
        {QString::fromLatin1(Chapters), QStringLiteral("completare capitole")},
        {QString::fromLatin1(Recalc), QStringLiteral("recalculare")},
        {QString::fromLatin1(HouseholdDelete), QStringLiteral("stergere gospodarie")},
        {QString::fromLatin1(VillageRename), QStringLiteral("redenumire localitate")},
        {QString::fromLatin1(VillageDelete), QStringLiteral("stergere localitate")},
        {QString::fromLatin1(Merge), QStringLiteral("lipire salvare")},
        {QString::fromLatin1(Upgrade), QStringLiteral("actualizare baza de date")},
    };
    return names.value(operation, operation.isEmpty() ? QStringLiteral("necunoscuta") : operation);
}

QString OperationMarker::interruptedText() const
{
    return QStringLiteral("Operatia %1 din %2 nu s-a terminat.")
        .arg(displayName(), time.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
}

}
