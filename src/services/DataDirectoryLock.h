#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class QLockFile;

namespace velmor {

// The one-writer lock of a data directory: the file Velmor.lck beside the tables, held through
// QLockFile with a stale time of 0, so that only the lock of a process of this computer that no
// longer runs is taken away; a lock of another computer stays until its holder lets it go (or an
// administrator takes it over). The file tells who holds it: computer, user, program, process and
// the time it was taken. The desktop program holds it for its whole run, each writing command of
// velmor-cli for that command.
class DataDirectoryLock {
public:
    static constexpr const char* FileName = "Velmor.lck";

    // Who holds a lock, as its file tells.
    struct Holder {
        QString computer;
        QString user;
        QString program;
        qint64 process = 0;
        QDateTime time;
    };

    explicit DataDirectoryLock(const QString& dataDirectory);
    ~DataDirectoryLock(); // lets the lock go
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;

    const QString& path() const { return m_path; }

    // Takes the lock, waiting up to `waitMs` for another holder to let it go. A lock left by a
    // process of this computer that ended is taken over. False when another holds it.
    bool tryLock(int waitMs = 0);
    bool isLocked() const;
    void unlock();
    // Removes the lock of another holder and takes it (the administrator's choice, after asking).
    bool takeOver();

    // The holder named in the lock file; empty fields when there is none.
    Holder holder() const;
    // "Baza de date este folosita de <computer> (<user>) din dd.MM.yyyy hh:mm."
    QString busyText() const;
    // Why tryLock() failed: busyText() when another holds the lock, else why the lock file could
    // not be written ("Nu pot scrie .../Velmor.lck: discul este plin.").
    QString refusalText() const;
    // The question of the desktop program: refusalText() + " Deschidem doar pentru consultare?"
    QString readOnlyQuestion() const;

    // How long a writing command of velmor-cli waits for the lock (10 s, or VELMOR_LOCK_WAIT_MS).
    static int commandWaitMs();
    // Whether a process of this computer is running.
    static bool processRunning(qint64 pid);
    // The user and computer names written into lock and marker files.
    static QString userName();
    static QString computerName();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

}
