#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

// A text file holding one value a line, Windows-1250 with CR LF, as the program's lists
// (villages, plot value lists) are kept. `what` names the list in messages ("lista localitatilor").

// The non-blank lines as they stand. Empty when the file is missing; raises ServiceError when it
// exists but cannot be read.
QStringList readLineList(const QString& path, const QString& what);
// Replaces the file at once. Raises ServiceError naming a value Windows-1250 cannot hold or the
// file that cannot be written; the old file then stays as it was.
void writeLineList(const QString& path, const QStringList& lines, const QString& what);

}
