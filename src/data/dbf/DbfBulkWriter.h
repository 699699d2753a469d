#pragma once

#include "data/dbf/DbfLayout.h"
#include "data/dbf/DbfValue.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace velmor {
class StagedFile;
}

namespace velmor::dbf {

// Writes a whole new dBase IV table (and its .dbt when a memo column exists) from rows streamed
// in memory, in one pass: the bytes are those DbfTable::create followed by one DbfTable::append
// per row would leave, written without rereading or rewriting anything per row.
//
// Rows go to temporary files beside the table (StagedFile) that replace the table and its memo
// file on finish(); until then, and after any failure, the files of that name stay as they were.
// A writer destroyed without finish() leaves them as they were.
//
// Records are built in a caller's buffer of recordLength() bytes (deletion flag first, then the
// fields), starting from blankRecord() or from a prepared template, and set field by field.
class DbfBulkWriter {
public:
    // Throws DbfError for an invalid layout or a file that cannot be written.
    DbfBulkWriter(const QString& path, const QList<FieldSpec>& fields);
    ~DbfBulkWriter();

    DbfBulkWriter(const DbfBulkWriter&) = delete;
    DbfBulkWriter& operator=(const DbfBulkWriter&) = delete;

    // The columns of an existing table, as declared (to write a table with the same layout).
    static QList<FieldSpec> layoutOf(const QString& tablePath);

    const QString& path() const { return m_path; }
    const QList<Field>& fields() const { return m_fields; }
    // Column by name without regard to letter case; throws DbfError when absent.
    int column(const QString& name) const;
    int recordLength() const { return m_recordLength; }
    int recordCount() const { return m_recordCount; }

    // A record with the deletion flag clear and every field blank (Null).
    QByteArray blankRecord() const;

    // Field setters on a record buffer. Each throws DbfError, as DbfTable does, for a value that
    // does not fit a numeric field or a character Windows-1250 lacks.
    // Any value, converted as DbfTable::append converts it (a memo text is stored at once).
    void setValue(char* record, int column, const Value& value);
    // A whole number into a numeric column (written with the column's decimals).
    void setInteger(char* record, int column, qint64 value);
    // A numeric column from its value times 10^decimals, exactly (12345 in N(6,2) is "123.45").
    void setScaled(char* record, int column, qint64 scaled);
    // A character column; longer texts are cut to the width.
    void setText(char* record, int column, QStringView text);
    // A character column from bytes already in Windows-1250; longer ones are cut.
    void setBytes(char* record, int column, const QByteArray& bytes);
    void setDate(char* record, int column, const QDate& date);
    // A memo text (stored in the .dbt at once); an empty text leaves the field blank.
    void setMemo(char* record, int column, const QString& text);
    // Makes a field blank.
    void clear(char* record, int column) const;

    // Adds a record of recordLength() bytes.
    void appendRecord(const char* record);
    // Builds and adds a record from one value per column (missing trailing ones are Null).
    void append(const std::vector<Value>& values);

    // Writes the record count and the end marker and puts the files in place. Throws DbfError
    // (the earlier files stay then).
    void finish();

private:
    void flush();
    void putInPlace();
    void checkNumeric(int column) const;
    [[noreturn]] void tooWide(const Field& field, const QByteArray& text) const;

    QString m_path;
    QList<Field> m_fields;
    QHash<QString, int> m_columnByName; // upper-case names
    int m_recordLength = 0;
    int m_recordCount = 0;
    QByteArray m_header;
    QByteArray m_buffer;
    std::unique_ptr<StagedFile> m_file;
    bool m_hasMemo = false;
    QString m_memoPath;
    std::unique_ptr<StagedFile> m_memoFile;
    QByteArray m_memoHeader;
    quint32 m_nextMemoBlock = 1;
    bool m_finished = false;
};

}
