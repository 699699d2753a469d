#include "data/dbf/MemoFile.h"

#include "data/dbf/DbfError.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace velmor::dbf {

namespace {

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

}

MemoFile::MemoFile(const QString& path, Format format)
    : m_path(path)
    , m_format(format)
{
    QFile file(path);
    if (!file.exists())
        throw DbfError(QStringLiteral("Lipseste fisierul de texte \"%1\".").arg(fileName(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi deschis: %2")
                           .arg(fileName(path), file.errorString()));
    m_data = file.readAll();
    if (m_data.size() < 512)
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" este deteriorat: antet incomplet.").arg(fileName(path)));
    if (m_format == Format::DBase4) {
        const int size = qFromLittleEndian<quint16>(m_data.constData() + 20);
        if (size >= 64 && size % 64 == 0)
            m_blockSize = size;
    }
}

void MemoFile::create(const QString& path, Format format, const QString& tableName)
{
    QByteArray header(512, '\0');
    qToLittleEndian<quint32>(1, header.data());
    if (format == Format::DBase4) {
        const QByteArray name = tableName.toLatin1().left(8);
        std::copy(name.begin(), name.end(), header.data() + 8);
        qToLittleEndian<quint16>(512, header.data() + 20);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(header) != header.size())
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi scris: %2")
                           .arg(fileName(path), file.errorString()));
}

QByteArray MemoFile::read(std::uint32_t block) const
{
    const qint64 start = qint64(block) * m_blockSize;
    if (block == 0 || start >= m_data.size())
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" este deteriorat: blocul %2 lipseste.")
                           .arg(fileName(m_path))
                           .arg(block));
    const char* p = m_data.constData() + start;
    const qint64 available = m_data.size() - start;
    if (m_format == Format::DBase4 && quint8(p[0]) == 0xFF && (available == 1 || quint8(p[1]) == 0xFF)) {
        // A block header cut by the end of the file is damage, not text.
        const quint32 length = available >= 8 ? qFromLittleEndian<quint32>(p + 4) : 0;
        if (length < 8 || length - 8 > available - 8)
            throw DbfError(QStringLiteral("Fisierul de texte \"%1\" este deteriorat: textul din blocul %2 depaseste fisierul.")
                               .arg(fileName(m_path))
                               .arg(block));
        return QByteArray(p + 8, length - 8);
    }
    // dBase III text, or a dBase IV block without the header: up to the end marker.
    qint64 end = 0;
    while (end < available && p[end] != '\x1A')
        ++end;
    return QByteArray(p, end);
}

std::uint32_t MemoFile::append(const QByteArray& text)
{
    const quint32 nextFree = qFromLittleEndian<quint32>(m_data.constData());
    const qint64 blocksInFile = (m_data.size() + m_blockSize - 1) / m_blockSize;
    const quint32 block = std::max<qint64>(std::max<quint32>(nextFree, 1), blocksInFile);

    QByteArray payload;
    if (m_format == Format::DBase4) {
        payload.resize(8);
        payload[0] = '\xFF';
        payload[1] = '\xFF';
        payload[2] = '\x08';
        payload[3] = '\x00';
        qToLittleEndian<quint32>(quint32(text.size() + 8), payload.data() + 4);
        payload += text;
    } else {
        payload = text + QByteArray("\x1A\x1A", 2);
    }
    const qint64 blocks = (payload.size() + m_blockSize - 1) / m_blockSize;
    payload.append(QByteArray(blocks * m_blockSize - payload.size(), m_format == Format::DBase4 ? '\0' : '\x1A'));

    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi scris: %2")
                           .arg(fileName(m_path), file.errorString()));
    const qint64 offset = qint64(block) * m_blockSize;
    QByteArray nextHeader(4, '\0');
    qToLittleEndian<quint32>(quint32(block + blocks), nextHeader.data());
    if (!file.seek(offset) || file.write(payload) != payload.size() || !file.seek(0)
        || file.write(nextHeader) != 4)
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi scris: %2")
                           .arg(fileName(m_path), file.errorString()));
    file.close();

    if (m_data.size() < offset)
        m_data.append(QByteArray(offset - m_data.size(), '\0'));
    m_data.resize(offset);
    m_data.append(payload);
    std::copy(nextHeader.begin(), nextHeader.end(), m_data.data());
    return block;
}

}
