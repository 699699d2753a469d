#pragma once

#include "data/dbf/DbfLayout.h"
#include "data/dbf/DbfValue.h"

#include <QByteArray>
#include <QString>

namespace velmor::dbf {

// The bytes of the fields of a record and the values they hold, for every writer and reader of
// tables (DbfTable, DbfBulkWriter, the engine's virtual tables). Memo fields hold a block number;
// their texts are read and written by MemoFile.

// Room for any number written into a numeric field (a double written out in full is at most
// 309 digits before the point).
constexpr int kNumberTextSize = 400;
// Whole numbers of smaller magnitude are exact in a double and read as 64-bit integers.
constexpr double kLargestExactWhole = 9.0e15;

// True when every byte is a blank or NUL.
bool isBlankField(const char* field, int width);
// The field without leading and trailing blanks and NULs (a view of its bytes).
QByteArray trimmedField(const char* field, int width);

// The number in the bytes of a numeric field; false when blank or not a number. Plain decimals
// give the nearest double to their text; other spellings go to the general parser.
bool parseNumber(const char* field, int width, double& out);
// A number as written in a numeric field with `decimals` decimals (no padding); "-0" is "0".
QByteArray formatNumber(double value, int decimals);
// The same into a buffer of kNumberTextSize bytes; returns the length.
int formatNumberInto(double value, int decimals, char* buffer);

// The value in a field of any type but memo; blank fields (and unreadable numbers or dates) are
// Null, texts are right-trimmed.
Value decodeField(const Field& field, const char* bytes);
// The field bytes of a value for a column of any type but memo, converted as the column needs.
// Throws DbfError naming the column and `table` for a value that does not fit or is of no use
// to the column (a text too long is refused, not cut).
QByteArray encodeField(const Field& field, const Value& value, const QString& table);

// The text a memo field stores for a value (numbers as digits; dates and logicals none).
QString memoTextOf(const Value& value);

// The refusal of a text longer than its character column.
QString textTooLong(const Field& field, int length, const QString& table);

}
