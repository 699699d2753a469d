#pragma once

#include "workbook/BiffRecord.h"

#include <QHash>
#include <QList>
#include <QString>

namespace velmor::workbook {

// The workbook's shared string table (SST). Strings read from the file keep their index and their
// formatting runs and phonetic data, so cells of sheets the engine does not edit stay valid; new
// texts are added at the end, once each.
class SharedStrings {
public:
    // Reads an SST record and its continuations; throws WorkbookError when damaged.
    void read(const Record& sst);

    int count() const { return int(m_entries.size()); }
    // Text of an entry; throws WorkbookError for an index outside the table.
    const QString& text(quint32 index) const;
    // Index of a plain entry holding the text, added when missing.
    quint32 indexOf(const QString& text);

    // The SST record (split into CONTINUE records as needed) and the EXTSST record that indexes it,
    // for an SST starting at `streamOffset` in the workbook stream. `totalRefs` is the number of
    // cells of the workbook that refer to the table.
    QByteArray serialize(qsizetype streamOffset, quint32 totalRefs) const;

private:
    struct Entry {
        QString text;
        QByteArray runs; // formatting runs, 4 bytes each
        QByteArray ext;  // phonetic data
    };
    QList<Entry> m_entries;
    QHash<QString, quint32> m_plain;
};

}
