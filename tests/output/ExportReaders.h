#pragma once

// Independent readers of the text formats the export writes, for round-trip tests. Each gives
// back the title, headings, rows of cell texts, footer and date line of a file written with a
// title and a footer.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmor::test {

struct ReadBack {
    QString title;
    QStringList headings;
    QList<QStringList> rows;
    QString footer;
    QString dateLine;
    QString problem; // what made the file unreadable; empty when it was read
};

// RFC 4180 records separated by `separator`; reports a missing UTF-8 byte order mark or a bare LF
// line end outside quotes as a problem.
ReadBack readDelimited(const QByteArray& bytes, QChar separator);
// The page must be well-formed XML with a UTF-8 meta charset.
ReadBack readHtml(const QByteArray& bytes);
// Control words, groups, \uN with its fallback skipped, \'xx in Windows-1250, table rows by \cell
// and \row; the font and colour tables are skipped.
ReadBack readRtf(const QByteArray& bytes);
// Every paragraph and table cell of an RTF document as text, in order; empty with `problem` set
// when the document is not well-formed RTF in code page 1250.
QStringList readRtfText(const QByteArray& bytes, QString* problem);
// Columns sliced at the runs of the dashes line; rows are the physical lines (a cell with line
// breaks spans several).
ReadBack readAlignedText(const QByteArray& bytes);

}
