#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

// `velmor --screenshots DIR`: starts the program on its home without showing anything to the
// user (messages are recorded, not asked), renders every window built so far into DIR as PNG
// files named after the window, and returns the exit code. Messages of the start-up go to
// `log`.
int takeScreenshots(const QString& programHome, const QString& directory, QStringList* written = nullptr,
                    QStringList* log = nullptr);

}
