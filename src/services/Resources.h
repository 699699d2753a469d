#pragma once

#include <QString>

namespace velmor {

// Writes the built-in resource ":/<type>/<name>" to the file at path, replacing an existing
// file (atomically). True when written; false when the resource does not exist or the file
// cannot be written.
bool ExtrageResursa(const QString& type, const QString& name, const QString& path);

}
