#pragma once

#include "core/Error.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmor {

class Interaction;

// A backup archive that cannot be written or read: a file that cannot be opened, a damaged,
// truncated or unsafe archive. The message names the archive and, where there is one, the member.
class ArchiveError : public Error {
public:
    using Error::Error;
};

// The ".kt" backup archive: int32 member count, then per member int32 name length, the name
// ("Data\" + file name, Windows-1250), int32 size and one zlib stream holding the file.
class KtArchive {
public:
    struct Member {
        QString name;   // as stored, e.g. "Data\CAP1.dbf"
        qint64 size = 0;
        quint32 crc = 0; // CRC-32 of the member's bytes (filled by verify())
    };

    // Where extracted members land.
    enum class Layout {
        // Member "Data\X" becomes <target>/Data/X (extraction below a base directory).
        BelowBase,
        // Member "Data\X" becomes <target>/X; every member must be a plain file of "Data\".
        DataDirectory,
    };

    // Regular files of the directory whose size is above zero, as full paths, in name order
    // (so that two backups of the same files are identical). Raises ArchiveError when the
    // directory does not exist.
    static QStringList filesToSave(const QString& dataDir);

    // Writes the archive of the files. An empty list writes nothing (no file is created).
    // The archive is written to a temporary file (StagedFile), read back whole and checked (every
    // member's name, size and CRC-32 against the files saved) and only then renamed over the
    // target, so a failed write leaves any earlier archive of that name as it was and no cut
    // archive. Progress: maximum N, position i before member i (from 0). Returns the member count.
    static int write(const QString& archivePath, const QStringList& files, Interaction* ui = nullptr);

    // The member count read from the archive's first four bytes. Raises ArchiveError.
    static int memberCount(const QString& archivePath);

    // Reads the whole archive and checks every member (name, stream, size) without writing.
    // Damage as well: bytes after the last declared member, two members for one file (in any
    // letter case), a name the file system cannot hold.
    static std::vector<Member> verify(const QString& archivePath);

    // Extracts the archive into the target directory (created when missing). The members are
    // first written into a scratch folder inside the target and moved into place only when the
    // whole archive has been read without fault (the checks of verify()), so a bad archive
    // changes nothing. Files of the
    // target that the archive also holds are replaced; with removeOthers every other file of the
    // target is removed as well (the target then holds exactly the archive's files). On a failure
    // while moving files into place the earlier files are put back. Progress: maximum N, position
    // i for member i (from 1). Returns the written paths.
    static QStringList extract(const QString& archivePath, const QString& targetDir, Layout layout,
                               bool removeOthers = false, Interaction* ui = nullptr);

    // The zlib stream of one member can inflate to at most this many times its length.
    static constexpr qint64 MaxInflateRatio = 1032;
};


}
