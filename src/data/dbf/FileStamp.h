#pragma once

#include <QString>

namespace velmor::dbf {

// Size and modification time of a file, read with one system call; tells whether a file
// changed since it was read.
struct FileStamp {
    qint64 size = -1;       // -1: the file does not exist
    qint64 modified = 0;    // nanoseconds (or the finest unit the platform gives)

    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

}
