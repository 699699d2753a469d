#pragma once

#include <QString>
#include <QStringList>

#include <utility>

namespace velmor::data::demo {

// What Velmor.ini records of a generated register.
struct SettingsContents {
    int firstYear = 0;
    int lastYear = 0;
    qint64 lastCodid = 0, lastCod1 = 0, lastCodt = 0;
    qint64 households = 0;               // households of the last year
    std::pair<int, int> lastAdded {0, 0}; // volume and position handed out last
};

// Text files of the data directory, in Windows-1250 with CR LF line ends. Each throws DemoError
// when the file cannot be written.
void writeTextFile(const QString& path, const QStringList& lines);
// Sate.lst: the villages of the council.
void writeVillageList(const QString& dataDirectory);
// Velmor.ini: the council constants and the counters above every identifier handed out.
void writeSettingsFile(const QString& dataDirectory, const SettingsContents& contents);

}
