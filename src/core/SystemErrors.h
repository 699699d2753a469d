#pragma once

#include <QFileDevice>
#include <QString>

#include <system_error>

namespace velmor {

// The kinds of system failure the user is told about in their own words.
enum class SystemFault { DiskFull, InUse, AccessDenied, NoFolder, Other };

// The kind of an errno value (on Windows also of a Win32 error code given as std::error_code).
SystemFault classifyErrno(int errorNumber);
SystemFault classifyError(const std::error_code& error);

// The reason of a failure in plain Romanian, ending with a full stop, e.g. "discul este plin.".
QString systemErrorReason(int errorNumber);
QString systemErrorReason(const std::error_code& error);
// For a failed QFile operation: the errno left by it when it names a known fault, else the
// device's own error kind and text.
QString fileErrorReason(const QFileDevice& file, int errorNumber);

// `text` with the system's own English texts (as Qt and the C library give them) in Romanian.
QString withoutSystemTexts(QString text);

// "Nu pot scrie <file>: <reason>", the one form of every failed write.
QString cannotWriteMessage(const QString& file, const QString& reason);

}
