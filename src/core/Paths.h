#pragma once

#include <QChar>
#include <QString>

namespace velmor {

// The line break inside a message of the message dialog: a single carriage return.
inline constexpr QChar CR = QChar(13);

// A path as the user sees it: the platform's separators.
QString nativePath(const QString& path);

// A folder chosen by the user without its trailing separator (a root keeps it).
QString withoutTrailingSeparator(const QString& folder);

// Whether two paths name the same directory (after resolving links and "..", and without regard
// to letter case on Windows).
bool sameDirectory(const QString& a, const QString& b);

}
