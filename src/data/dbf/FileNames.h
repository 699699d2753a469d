#pragma once

#include <QString>

namespace velmor::dbf {

// The existing file whose name matches the last component of `path` without regard to letter
// case, or `path` itself when it exists or nothing matches ("CAP1.dbf" and "Cap1.dbf" are one).
QString resolveFileName(const QString& path);

// `path` with its extension (the text after the last dot of the file name) replaced.
QString withExtension(const QString& path, const QString& extension);

}
