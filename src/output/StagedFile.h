#pragma once

#include <QByteArray>
#include <QString>

namespace velmor::output {

// A file written beside its target under a temporary name and put in its place only when complete,
// so a failed export leaves neither a half file nor a damaged older one.
class StagedFile {
public:
    // Creates the temporary file in the target's folder; throws ExportError when it cannot.
    explicit StagedFile(const QString& target);
    // Removes the temporary file unless it was committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // The temporary file, to be written by the caller.
    const QString& path() const { return m_temporary; }
    // Writes the whole content into the temporary file; throws ExportError.
    void write(const QByteArray& content);
    // Replaces the target by the temporary file; throws ExportError (the target is untouched then).
    void commit();

private:
    QString m_target;
    QString m_temporary;
    bool m_committed = false;
};

}
