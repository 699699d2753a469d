#pragma once

// One writer per file format; DataExport chooses among them.

#include "output/ExportTable.h"

#include <QByteArray>
#include <QString>

namespace velmor::output {

class RowProgress;

namespace writers {

// Lines of fields separated by `separator`, CRLF line ends; a field holding the separator, a
// double quote or a line break is put in double quotes with its quotes doubled (RFC 4180).
QString delimitedText(const ExportTable& table, QChar separator, RowProgress* progress);
// The same text in UTF-8 with a byte order mark.
QByteArray delimited(const ExportTable& table, QChar separator, RowProgress* progress);

// An HTML5 page in UTF-8 holding one table; well-formed XML as well.
QByteArray html(const ExportTable& table, RowProgress* progress);

// An RTF document (code page 1250, letters outside ASCII as \uN with a code page fallback)
// holding one table.
QByteArray rtf(const ExportTable& table, RowProgress* progress);

// Plain UTF-8 text (with a byte order mark, CRLF line ends) with the columns aligned: headings,
// a line of dashes under each column, then the rows, numbers on the right. A text with line
// breaks takes several lines of its row; tabs become spaces up to the next multiple of 8.
QByteArray alignedText(const ExportTable& table, RowProgress* progress);

// An Excel workbook written to `path` through libxlsxwriter; throws ExportError.
void xlsx(const ExportTable& table, const QString& path, RowProgress* progress);

}

}
