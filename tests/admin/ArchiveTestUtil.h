#pragma once

#include <QByteArray>
#include "support/FileBytes.h"
#include <QMap>
#include <QString>

#include <optional>
#include <vector>

namespace velmor::test {

// One member of a hand-made archive.
struct RawMember {
    RawMember(QByteArray name, QByteArray content, std::optional<qint32> declared = std::nullopt,
              bool corruptStream = false)
        : name(std::move(name))
        , content(std::move(content))
        , declared(declared)
        , corruptStream(corruptStream)
    {
    }

    QByteArray name;                // bytes as stored
    QByteArray content;             // what the stream holds
    std::optional<qint32> declared; // size written in the header; content size when absent
    bool corruptStream = false;     // flips a byte inside the deflate data
};

// Builds an archive in memory; `count` overrides the member count when given.
QByteArray makeArchive(const std::vector<RawMember>& members, std::optional<qint32> count = std::nullopt);

void writeFile(const QString& path, const QByteArray& bytes);

// File name -> content of every regular file directly in the directory.
QMap<QString, QByteArray> filesOf(const QString& dir);
// Every entry (files and folders, hidden included) below the directory, as relative paths.
QStringList entriesBelow(const QString& dir);

}
