#include "output/StagedFile.h"

#include "output/ExportError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>

namespace velmor::output {

namespace {

ExportError notWritable(const QString& target, const QString& reason)
{
    return ExportError(QStringLiteral("Fisierul %1 nu poate fi scris: %2")
                           .arg(QDir::toNativeSeparators(target), reason));
}

}

StagedFile::StagedFile(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath())
{
    const QFileInfo info(m_target);
    if (info.isDir())
        throw notWritable(target, QStringLiteral("este un dosar."));
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        throw notWritable(target, file.errorString());
    m_temporary = file.fileName();
    file.close();
    QFile::setPermissions(m_temporary, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

StagedFile::~StagedFile()
{
    if (!m_committed && !m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

void StagedFile::write(const QByteArray& content)
{
    QFile file(m_temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw notWritable(m_target, file.errorString());
    if (file.write(content) != content.size() || !file.flush())
        throw notWritable(m_target, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw notWritable(m_target, file.errorString());
}

void StagedFile::commit()
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_temporary.toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), error);
    if (error)
        throw notWritable(m_target, QString::fromLocal8Bit(error.message().c_str()));
    m_committed = true;
}

}
