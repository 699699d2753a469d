#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace velmor::dbf {

// The .dbt file of a table with memo columns. Texts are kept in blocks; a record holds the number
// of the first block. dBase III ends a text with 1A 1A; dBase IV (and level 7) starts each text
// with FF FF 08 00 and its length including that 8-byte block header.
class MemoFile {
public:
    enum class Format { DBase3, DBase4 };

    // Reads the whole file; throws DbfError when it is missing or damaged.
    MemoFile(const QString& path, Format format);

    // Writes an empty memo file (header block only).
    static void create(const QString& path, Format format, const QString& tableName);

    const QString& path() const { return m_path; }

    // The text bytes starting at a block; throws DbfError for a block outside the file.
    QByteArray read(std::uint32_t block) const;

    // Appends a text and returns its first block.
    std::uint32_t append(const QByteArray& text);

private:
    QString m_path;
    Format m_format;
    int m_blockSize = 512;
    QByteArray m_data;
};

}
