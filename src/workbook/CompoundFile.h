#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmor::workbook {

// The streams and storages of a Compound File (OLE2) document, read and written through libgsf.
// Everything is kept in memory in its original order, so a document is written back with the
// same entries, only the streams that were replaced having new contents.
class CompoundFile {
public:
    struct Entry {
        QString path;      // names from the root joined by '/'
        bool storage = false;
        QByteArray data;   // streams only
        QByteArray classId; // storages only: 16 bytes, or empty
    };

    // Reads every entry of the file; throws WorkbookError when it is missing, unreadable or not a
    // Compound File.
    static CompoundFile read(const QString& path);

    // Reads a file already in memory (same errors); `name` is used in messages.
    static CompoundFile fromBytes(const QByteArray& bytes, const QString& name);

    const QList<Entry>& entries() const { return m_entries; }
    // The stream at the top level whose name matches without regard to letter case; nullptr
    // when there is none.
    const Entry* topStream(const QString& name) const;
    void setStream(const QString& path, const QByteArray& data);
    void addStorage(const QString& path, const QByteArray& classId = {});
    const QByteArray& rootClassId() const { return m_rootClassId; }
    void setRootClassId(const QByteArray& id) { m_rootClassId = id; }

    // Writes the document into a temporary file beside `path` and puts it in place only when it
    // is complete; throws WorkbookError (an existing file at `path` is then left as it was).
    void write(const QString& path) const;

private:
    QList<Entry> m_entries;
    QByteArray m_rootClassId;
};

}
