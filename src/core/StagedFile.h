#pragma once

#include "core/Error.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

namespace velmor {

// A file that could not be written; the message is the user's ("Nu pot scrie X: discul este plin.").
class WriteError : public Error {
public:
    using Error::Error;
};

// The one way to replace a file. The new content goes into a temporary file beside the target;
// every write is checked, and commit() flushes and syncs it, gives it the replaced file's
// permissions (a new file gets the usual ones of the user's umask), renames it over the target
// and syncs the folder. On any failure the temporary file is removed, the target stays as it was
// and a WriteError in plain Romanian is raised.
//
// Content is given whole (replace()), or streamed: write() chunk by chunk, seek() back to patch
// a header, or device() for writers that need a QIODevice (its writes are checked the same way:
// the first failure is kept and raised by commit() whatever the writer did with it).
class StagedFile {
public:
    // Creates the temporary file; throws WriteError.
    explicit StagedFile(const QString& target);
    // Removes the temporary file unless it was committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Writes the whole content to the target through a staged file; throws WriteError.
    static void replace(const QString& target, const QByteArray& content);

    const QString& target() const { return m_target; }
    // The temporary file.
    const QString& path() const { return m_temporary; }

    // Appends at the current position; throws WriteError.
    void write(const char* data, qint64 size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    // Moves the write position (within what was written); throws WriteError.
    void seek(qint64 position);
    qint64 position() const { return m_position; }
    // A write-only device over the temporary file, for QTextStream, zip writers and the like.
    QIODevice& device();

    // Flushes and syncs the staged file and gives it its permissions, without replacing anything
    // yet (for files that are put in place together); throws WriteError.
    void prepare();
    // Puts the new file in place (preparing it first); throws WriteError (the target is
    // untouched then).
    void commit();
    // Gives the staged file up now (as the destructor would).
    void discard();

    // Test seam: a function asked before each step of every staged file, with the target, the
    // step, the bytes written so far and the size of this write; a non-zero errno makes the step
    // fail as the system would (ENOSPC for a full disk). nullptr (the default) asks nothing.
    enum class Step { Write, Sync, Rename };
    using FaultHook = int (*)(const QString& target, Step step, qint64 written, qint64 size);
    static void setFaultHookForTests(FaultHook hook);

private:
    class Device;
    void flushBuffer();
    void rawWrite(const char* data, qint64 size, qint64 offset);
    [[noreturn]] void fail(const QString& reason);
    void closeHandle();

    QString m_target;
    QString m_temporary;
    QString m_final; // the file replaced (a link's target)
    int m_fd = -1;
    qint64 m_position = 0; // logical position, buffer included
    qint64 m_written = 0;  // bytes handed to the system
    qint64 m_end = 0;
    QByteArray m_buffer;
    qint64 m_bufferStart = 0;
    QString m_failure; // first failure, raised again by commit()
    bool m_prepared = false;
    bool m_committed = false;
    std::unique_ptr<Device> m_device;
};

}
