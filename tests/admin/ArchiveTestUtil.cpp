#include "ArchiveTestUtil.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

namespace velmor::test {

namespace {

void appendInt32(QByteArray& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

}

QByteArray makeArchive(const std::vector<RawMember>& members, std::optional<qint32> count)
{
    QByteArray out;
    appendInt32(out, count.value_or(qint32(members.size())));
    for (const RawMember& m : members) {
        appendInt32(out, qint32(m.name.size()));
        out += m.name;
        appendInt32(out, m.declared.value_or(qint32(m.content.size())));
        uLongf length = compressBound(uLong(m.content.size()));
        QByteArray stream(int(length), '\0');
        EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(stream.data()), &length,
                            reinterpret_cast<const Bytef*>(m.content.constData()), uLong(m.content.size()),
                            Z_DEFAULT_COMPRESSION),
                  Z_OK);
        stream.resize(int(length));
        if (m.corruptStream && stream.size() > 8)
            stream[stream.size() / 2] = char(stream[stream.size() / 2] ^ 0x5A);
        out += stream;
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QMap<QString, QByteArray> filesOf(const QString& dir)
{
    QMap<QString, QByteArray> files;
    const QDir d(dir);
    for (const QString& name : d.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
        files.insert(name, velmor::test::existingFileBytes(d.filePath(name)));
    return files;
}

QStringList entriesBelow(const QString& dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(dir);
    while (it.hasNext())
        entries << base.relativeFilePath(it.next());
    entries.sort();
    return entries;
}

}
