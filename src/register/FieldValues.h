#pragma once

#include "data/dbf/ValueConversions.h"

// The former names of the stored-value readers, kept while code still uses them; new code calls
// the dbf:: readers of data/dbf/ValueConversions.h.
namespace velmor::fields {

inline dbf::Value year(const QString& text) { return dbf::yearValue(text); }
inline qint64 whole(const dbf::Value& value) { return dbf::toWhole(value); }
inline double real(const dbf::Value& value) { return dbf::toReal(value); }
inline QString text(const dbf::Value& value) { return dbf::toText(value); }
inline dbf::Value textValue(const QString& text) { return dbf::textValue(text); }

}
