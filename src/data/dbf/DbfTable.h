#pragma once

#include "data/dbf/DbfLayout.h"
#include "data/dbf/DbfValue.h"
#include "data/dbf/FieldCodec.h"
#include "data/dbf/FileStamp.h"
#include "data/dbf/MemoFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velmor {
class StagedFile;
}

namespace velmor::dbf {

class DbfTable;

// The values of one record of the table being rewritten, in the old layout.
class OldRecord {
public:
    OldRecord(const DbfTable& table, int row)
        : m_table(table)
        , m_row(row)
    {
    }
    Value value(int column) const;
    // Throws DbfError when the old layout has no such column (see has()).
    Value value(const QString& name) const;
    bool has(const QString& name) const;
    int row() const { return m_row; }
    bool deleted() const;
    const DbfTable& table() const { return m_table; }

private:
    const DbfTable& m_table;
    int m_row;
};

// Called once per record: `values` is in the new layout's order, pre-filled by column name
// (converted to the new column types; new columns Null); the fill may change any of them.
using RecordFill = std::function<void(const OldRecord& old, std::vector<Value>& values)>;

// One dBase table held in memory. Reads dBase III, IV and level 7; every change is written to the
// file at once (record in place, or appended record followed by the header count and the
// end-of-file marker), so the file is always complete.
class DbfTable {
public:
    // Opens and reads a table; throws DbfError naming the file when it is missing or damaged.
    explicit DbfTable(const QString& path);
    ~DbfTable();

    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    // Writes a new, empty dBase IV table (and its .dbt when a memo column exists), replacing files
    // of that name. Throws DbfError for an invalid layout or a file that cannot be written.
    static void create(const QString& path, const QList<FieldSpec>& fields);

    // Sets header byte 28 (production index present) to zero; false when the file cannot be opened.
    static bool clearProductionIndexFlag(const QString& path);

    const QString& path() const { return m_path; }
    QString fileName() const;
    Level level() const { return m_level; }
    std::uint8_t versionByte() const { return m_version; }
    std::uint8_t languageDriver() const { return m_languageDriver; }
    bool productionIndexFlag() const { return m_mdxFlag; }
    // The memo file of a table with memo columns; empty otherwise.
    QString memoPath() const;

    const QList<Field>& fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    // Column by name without regard to letter case; -1 when absent.
    int fieldIndex(const QString& name) const;

    int recordCount() const { return m_recordCount; }
    int recordLength() const { return m_recordLength; }
    // Grows by one with every change, so cached derived data can tell it is stale.
    std::uint64_t changeCount() const { return m_changeCount; }

    bool isDeleted(int row) const { return record(row)[-1] == '*'; }
    // Field bytes of a record start at record(row); the deletion flag is at record(row)[-1].
    const char* record(int row) const
    {
        return row < m_baseCount ? m_base + qsizetype(row) * m_recordLength + 1
                                 : m_tail.constData() + qsizetype(row - m_baseCount) * m_recordLength + 1;
    }

    // True when the record's bytes stay at the same address until the table is read again,
    // packed or restructured (records read from the file; appended ones may move).
    bool hasStableAddress(int row) const { return row < m_baseCount; }

    Value value(int row, int column) const;
    bool isNull(int row, int column) const;
    // Numeric value of an N/F column; nullopt when blank.
    std::optional<double> number(int row, int column) const;
    QString text(int row, int column) const;

    // Appends a record; `values` holds one value per column (missing trailing ones are Null).
    // Returns the new record number.
    int append(const std::vector<Value>& values);
    // Appends a record already encoded: recordLength() bytes, the deletion flag first.
    int appendEncoded(const QByteArray& record);
    // Rewrites the given columns of a record.
    void update(int row, const std::vector<std::pair<int, Value>>& changes);
    void setDeleted(int row, bool deleted);
    int deletedCount() const;

    // Drops deleted records; rewrites the file only when there is one.
    void pack();

    // Rewrites the table with another layout in one pass: columns are matched by name and values
    // converted (a memo turned into text takes the memo's text), then `fill` may set any value of
    // the new record. The new table (and its new memo file when the layout has memo columns) is
    // streamed into staged files that replace the old ones only when complete and holding every
    // record; a value that does not fit its new column, or any other failure, is an error and
    // leaves the files and the table as they were. Deleted records stay, deleted. The memo file of
    // a table left without memo columns is not touched.
    void restructure(const QList<FieldSpec>& newFields, const RecordFill& fill = {});

    // Between beginBatch() and endBatch() appended records are gathered and written in blocks,
    // each block followed by the header count, so the count never exceeds the records on disk.
    // Updates and deletions are written at once through a file handle kept open.
    void beginBatch();
    void endBatch();

    // True when the file on disk is no longer the one read (another program changed it).
    bool changedOnDisk() const;

    // Encoding of one value for a column, as written in a record; a memo text is appended to the
    // memo file at once (see FieldCodec.h for the other types).
    QByteArray encodeField(const Field& field, const Value& value);

    // The number codec of FieldCodec.h.
    static bool parseNumber(const char* field, int width, double& out) { return dbf::parseNumber(field, width, out); }
    static QByteArray formatNumber(double value, int decimals) { return dbf::formatNumber(value, decimals); }
    static int formatNumberInto(double value, int decimals, char* buffer)
    {
        return dbf::formatNumberInto(value, decimals, buffer);
    }

private:
    void load();
    void parseHeader(const QByteArray& data, qint64 fileSize);
    void rememberFileState();
    void openMemo();
    void writeRecordBytes(int row, const QByteArray& bytes);
    void writeHeaderCount();
    QString memoText(int row, int column) const;
    // The stored bytes of a memo field's text; empty when the field is blank.
    QByteArray memoBytes(int row, int column) const;
    // The on-disk record count of the file; throws DbfError when it cannot be read.
    qint64 recordCountOnDisk() const;
    // Replaces the file with what `write` puts into its staged copy, then reads the table again
    // (from the old file when the new one could not take its place).
    void replaceThrough(const std::function<void(StagedFile&)>& write);
    void releaseStorage();
    friend class TableRewrite;
    char* mutableRecord(int row);
    QFile& writer();
    // Takes the append lock of the file (until the writer closes) and the records other programs
    // appended meanwhile.
    void lockForAppend();
    void writePendingAppends();
    void closeWriter();

    QString m_path;
    Level m_level = Level::DBase4;
    std::uint8_t m_version = 0x03;
    std::uint8_t m_languageDriver = 0;
    bool m_mdxFlag = false;
    QList<Field> m_fields;
    QHash<QString, int> m_fieldByName;
    int m_headerLength = 0;
    int m_recordLength = 0;
    int m_recordCount = 0;
    // The records read from the file live in m_base: the file mapped copy-on-write (so a
    // change touches only its own page), or a heap copy where mapping is not possible. Records
    // appended since then live in m_tail.
    QByteArray m_header;
    char* m_base = nullptr;
    int m_baseCount = 0;
    std::unique_ptr<QFile> m_mapFile;
    QByteArray m_heapBase;
    QByteArray m_tail;
    std::unique_ptr<MemoFile> m_memo;
    std::uint64_t m_changeCount = 0;
    FileStamp m_fileStamp;
    int m_batchDepth = 0;
    int m_firstPending = -1; // first appended record not yet on disk
    std::unique_ptr<QFile> m_writer;
    bool m_appendLocked = false;
    bool m_foreignAppends = false;
    FileStamp m_memoStamp;
};

// The path of a table's memo file (same name, extension .dbt, whatever letter case exists).
QString memoPathFor(const QString& tablePath);

}
