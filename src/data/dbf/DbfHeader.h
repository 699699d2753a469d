#pragma once

#include "data/dbf/DbfLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace velmor::dbf {

// Places in the header of a table file (all levels); numbers are little-endian.
namespace header {
constexpr int Version = 0;
constexpr int LastChange = 1;      // three bytes: year - 1900, month, day
constexpr int RecordCount = 4;     // 32 bits
constexpr int HeaderLength = 8;    // 16 bits
constexpr int RecordLength = 10;   // 16 bits
constexpr int ProductionIndex = 28; // non-zero when an .mdx belongs to the table
constexpr int LanguageDriver = 29;
constexpr int Level7DriverName = 32; // level 7 only: the language driver's name
constexpr int MinimumSize = 32;
// The leading bytes rewritten after appended records: version, date and record count.
constexpr int CountedPart = 8;
}

// The language driver byte of Windows-1250, given to new tables and to rewritten ones that have none.
constexpr std::uint8_t kWindows1250Driver = 0xC8;

constexpr char kEndOfFile = '\x1A';
constexpr char kFieldsEnd = '\x0D';

// Where the column descriptors are and what each holds, by level.
struct DescriptorLayout {
    int first;      // offset of the first descriptor
    int size;       // bytes per descriptor
    int nameLength; // the name, NUL-padded
    int typeAt;     // the type letter
    int widthAt;    // width, then decimals
};
DescriptorLayout descriptorLayout(Level level);

// What a table's header says.
struct TableHeader {
    Level level = Level::DBase4;
    std::uint8_t version = 0x03;
    std::uint8_t languageDriver = 0;
    bool productionIndex = false;
    QList<Field> fields;
    int headerLength = 0;
    int recordLength = 0;
    int recordCount = 0;
};

// Reads the header at the start of `data` (a file of `fileSize` bytes); throws DbfError naming the
// table at `path` when it is damaged or its columns are not plain names.
TableHeader parseHeader(const QByteArray& data, qint64 fileSize, const QString& path);

// The header bytes of a table with these columns, the date of today as its last change.
QByteArray buildHeader(Level level, std::uint8_t version, std::uint8_t languageDriver, const QList<Field>& fields,
                       int recordCount, int recordLength);

// The columns of a new layout with their offsets, checked (names, types, widths); throws DbfError
// naming the table at `path`.
QList<Field> layoutFields(const QList<FieldSpec>& specs, int* recordLength, const QString& path);

// The version byte of a table of this level with or without memo columns.
std::uint8_t versionFor(Level level, bool hasMemo);
bool hasMemoField(const QList<Field>& fields);

// Puts today's date into the last-change bytes of a header.
void stampLastChange(char* header);
// Sets the record count of a header.
void setRecordCount(char* header, quint32 count);
quint32 recordCountOf(const char* header);

// Throws the DbfError of a damaged table.
[[noreturn]] void tableDamaged(const QString& path, const QString& what);

}
