#include "data/dbf/MemoFile.h"

#include "core/StagedFile.h"
#include "data/dbf/DbfError.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <limits>

namespace velmor::dbf {

namespace {

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The first block holds the header, whatever the block size.
constexpr qint64 kHeaderSize = 512;
// Places in the header: the next free block (32 bits), and in dBase IV the table's name (8
// bytes) and the block size (16 bits).
constexpr int kNextFreeAt = 0;
constexpr int kTableNameAt = 8;
constexpr int kTableNameLength = 8;
constexpr int kBlockSizeAt = 20;
constexpr int kHeaderRead = 24;
// A dBase IV text starts with FF FF 08 00 and its length (32 bits) counting these 8 bytes.
constexpr quint32 kTextHeaderSize = 8;
constexpr int kTextLengthAt = 4;

}

MemoFile::MemoFile(const QString& path, Format format)
    : m_path(path)
    , m_format(format)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DbfError(QStringLiteral("Lipseste fisierul de texte \"%1\".").arg(fileName(path)));
    if (!info.isFile())
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi deschis: nu este un fisier.").arg(fileName(path)));
    if (info.size() < kHeaderSize)
        damaged(QStringLiteral("antet incomplet"));
}

void MemoFile::damaged(const QString& what) const
{
    throw DbfError(QStringLiteral("Fisierul de texte \"%1\" este deteriorat: %2.").arg(fileName(m_path), what));
}

void MemoFile::create(const QString& path, Format format, const QString& tableName)
{
    try {
        StagedFile::replace(path, emptyFile(format, tableName));
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
}

QByteArray MemoFile::emptyFile(Format format, const QString& tableName)
{
    QByteArray header(kHeaderSize, '\0');
    qToLittleEndian<quint32>(1, header.data() + kNextFreeAt);
    if (format == Format::DBase4) {
        const QByteArray name = tableName.toLatin1().left(kTableNameLength);
        std::copy(name.begin(), name.end(), header.data() + kTableNameAt);
        qToLittleEndian<quint16>(quint16(NewBlockSize), header.data() + kBlockSizeAt);
    }
    return header;
}

QByteArray MemoFile::blocks(Format format, const QByteArray& text, int blockSize)
{
    QByteArray payload;
    if (format == Format::DBase4) {
        payload.resize(kTextHeaderSize);
        payload[0] = '\xFF';
        payload[1] = '\xFF';
        payload[2] = '\x08';
        payload[3] = '\x00';
        qToLittleEndian<quint32>(quint32(text.size() + kTextHeaderSize), payload.data() + kTextLengthAt);
        payload += text;
    } else {
        payload = text + QByteArray("\x1A\x1A", 2);
    }
    const qsizetype count = (payload.size() + blockSize - 1) / blockSize;
    payload.append(QByteArray(count * blockSize - payload.size(), format == Format::DBase4 ? '\0' : '\x1A'));
    return payload;
}

MemoFile::Header MemoFile::readHeader(QFile& file) const
{
    if (file.size() < kHeaderSize)
        damaged(QStringLiteral("antet incomplet"));
    QByteArray bytes(kHeaderRead, '\0');
    if (!file.seek(0) || file.read(bytes.data(), bytes.size()) != bytes.size())
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi citit: %2").arg(fileName(m_path), file.errorString()));
    Header h;
    h.nextFree = qFromLittleEndian<quint32>(bytes.constData() + kNextFreeAt);
    if (m_format == Format::DBase4) {
        const int size = qFromLittleEndian<quint16>(bytes.constData() + kBlockSizeAt);
        if (size >= 64 && size % 64 == 0)
            h.blockSize = size;
    }
    return h;
}

QByteArray MemoFile::read(std::uint32_t block) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi deschis: %2").arg(fileName(m_path), file.errorString()));
    const Header h = readHeader(file);
    const qint64 fileSize = file.size();
    const qint64 start = qint64(block) * h.blockSize;
    if (block == 0 || start >= fileSize)
        damaged(QStringLiteral("blocul %1 lipseste").arg(block));
    const qint64 available = fileSize - start;
    auto beyondEnd = [&] { damaged(QStringLiteral("textul din blocul %1 depaseste fisierul").arg(block)); };

    QByteArray head(int(std::min<qint64>(kTextHeaderSize, available)), '\0');
    if (!file.seek(start) || file.read(head.data(), head.size()) != head.size())
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi citit: %2").arg(fileName(m_path), file.errorString()));
    if (m_format == Format::DBase4 && quint8(head[0]) == 0xFF && (available == 1 || quint8(head[1]) == 0xFF)) {
        // A block header cut by the end of the file is damage, not text.
        const quint32 length = available >= kTextHeaderSize ? qFromLittleEndian<quint32>(head.constData() + kTextLengthAt) : 0;
        if (length < kTextHeaderSize || qint64(length) - kTextHeaderSize > available - kTextHeaderSize)
            beyondEnd();
        if (qint64(length) - kTextHeaderSize > LongestText)
            damaged(QStringLiteral("textul din blocul %1 declara %2 octeti").arg(block).arg(length - kTextHeaderSize));
        QByteArray text(qsizetype(length - kTextHeaderSize), Qt::Uninitialized);
        if (file.read(text.data(), text.size()) != text.size())
            beyondEnd();
        return text;
    }
    // dBase III text, or a dBase IV block without the header: up to the end marker.
    if (!file.seek(start))
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi citit: %2").arg(fileName(m_path), file.errorString()));
    QByteArray text;
    QByteArray chunk(h.blockSize, Qt::Uninitialized);
    while (text.size() < available) {
        const qint64 got = file.read(chunk.data(), std::min<qint64>(chunk.size(), available - text.size()));
        if (got <= 0)
            break;
        const qsizetype end = QByteArrayView(chunk.constData(), got).indexOf('\x1A');
        if (end >= 0) {
            text.append(chunk.constData(), end);
            return text;
        }
        text.append(chunk.constData(), got);
        if (text.size() > LongestText)
            damaged(QStringLiteral("textul din blocul %1 nu are sfarsit").arg(block));
    }
    return text;
}

std::uint32_t MemoFile::append(const QByteArray& text)
{
    if (text.size() > LongestText)
        throw DbfError(QStringLiteral("Textul are %1 octeti; fisierul de texte \"%2\" primeste cel mult %3.")
                           .arg(text.size())
                           .arg(fileName(m_path))
                           .arg(LongestText));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi scris: %2")
                           .arg(fileName(m_path), file.errorString()));
    const Header h = readHeader(file);
    const qint64 fileSize = file.size();
    const qint64 blocksInFile = (fileSize + h.blockSize - 1) / h.blockSize;
    // The next free block lies at the end of the file or before it; one past it would write far
    // beyond the data (a header of FFFFFFFF means an offset of terabytes).
    if (qint64(h.nextFree) > blocksInFile)
        damaged(QStringLiteral("urmatorul bloc liber (%1) este dincolo de sfarsitul fisierului (%2 blocuri)")
                    .arg(h.nextFree)
                    .arg(blocksInFile));
    const qint64 block = std::max<qint64>(std::max<quint32>(h.nextFree, 1), blocksInFile);

    const QByteArray payload = blocks(m_format, text, h.blockSize);
    const qint64 count = payload.size() / h.blockSize;
    if (block + count > qint64(std::numeric_limits<quint32>::max()))
        damaged(QStringLiteral("fisierul nu mai are blocuri libere"));

    const qint64 offset = block * h.blockSize;
    QByteArray nextHeader(4, '\0');
    qToLittleEndian<quint32>(quint32(block + count), nextHeader.data());
    if (!file.seek(offset) || file.write(payload) != payload.size() || !file.seek(kNextFreeAt)
        || file.write(nextHeader) != 4 || !file.flush()) {
        const QString error = file.errorString();
        // What was appended is taken back; the header was written last.
        file.resize(fileSize);
        throw DbfError(QStringLiteral("Fisierul de texte \"%1\" nu poate fi scris: %2").arg(fileName(m_path), error));
    }
    return quint32(block);
}

}
