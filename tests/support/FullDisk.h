#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace velmor::test {

// A folder on a disk that can be made full, for the tests of writes that must fail without
// losing the file they would replace.
//
// Mode::RealFileSystem mounts a small tmpfs on the folder and fill() takes its last free byte
// with a filler file: every write of new data then fails with ENOSPC in the system itself. Only
// root can mount; elsewhere (and always in Mode::InjectedFault) the folder is an ordinary one in
// which fill() makes every write of a StagedFile under it fail with ENOSPC, through StagedFile's
// fault hook. So the tests run, and pass, with or without root; real() says which disk it is.
class FullDisk {
public:
    enum class Mode { RealFileSystem, InjectedFault };

    explicit FullDisk(Mode mode);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // True on a mounted tmpfs; false when the fault is injected in this process.
    bool real() const { return m_mounted; }
    // The folder on that disk.
    QString dir() const { return m_dir.path(); }
    QString file(const QString& name) const { return dir() + QLatin1Char('/') + name; }

    // From now on writes of new data under dir() fail as on a full disk.
    void fill();
    // Frees the disk again.
    void release();

    // The files of dir() (hidden ones too) other than the filler, with their contents, to check
    // that a failed write left everything as it was.
    QMap<QString, QByteArray> contents() const;

    static QString modeName(Mode mode);

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_filled = false;
};

}
