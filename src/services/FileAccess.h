#pragma once

#include <QFileInfo>

namespace velmor {

// True when the file carries the read-only attribute (on Unix: no write permission for its owner
// or for the current user). Checked before replacing a file through a rename, which would
// otherwise succeed on a read-only file.
inline bool isReadOnly(const QFileInfo& info)
{
    const auto permissions = info.permissions();
    return !(permissions & QFileDevice::WriteOwner) || !(permissions & QFileDevice::WriteUser);
}

}
