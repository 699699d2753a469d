#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class QFile;

namespace velmor::dbf {

// The .dbt file of a table with memo columns. Texts are kept in blocks; a record holds the number
// of the first block. dBase III ends a text with 1A 1A; dBase IV (and level 7) starts each text
// with FF FF 08 00 and its length including that 8-byte block header.
//
// Nothing of the file is held in memory: each text is read from its blocks when asked for, so a
// statement that touches no memo column reads nothing of the file, whatever its size.
class MemoFile {
public:
    enum class Format { DBase3, DBase4 };

    // The block size of the memo files written here.
    static constexpr int NewBlockSize = 512;

    // The longest text read or written; a longer one is taken as damage.
    static constexpr qint64 LongestText = 16 * 1024 * 1024;

    // Checks that the file exists and holds at least its header block; throws DbfError otherwise.
    MemoFile(const QString& path, Format format);

    // Writes an empty memo file (header block only), replacing one of that name.
    static void create(const QString& path, Format format, const QString& tableName);
    // The bytes of an empty memo file.
    static QByteArray emptyFile(Format format, const QString& tableName);

    // A text as it is stored from its first block on: the dBase IV block header (or the dBase III
    // end marker) and the padding up to a whole number of blocks.
    static QByteArray blocks(Format format, const QByteArray& text, int blockSize);

    const QString& path() const { return m_path; }

    // The text bytes starting at a block; throws DbfError for a block outside the file or a text
    // that runs past its end.
    QByteArray read(std::uint32_t block) const;

    // Appends a text and returns its first block. Throws DbfError, with the file left as it was,
    // when the header's next free block lies beyond the end of the file.
    std::uint32_t append(const QByteArray& text);

private:
    struct Header {
        quint32 nextFree = 0;
        int blockSize = 512;
    };
    Header readHeader(QFile& file) const;
    [[noreturn]] void damaged(const QString& what) const;

    QString m_path;
    Format m_format;
};

}
