#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace velmor::output {

// File formats of the export. Word is the RTF document under a .doc name, which word processors
// open as a document.
enum class ExportFormat { Xlsx, Csv, Tsv, Html, Rtf, Word, Text };

QList<ExportFormat> allExportFormats();

// "xlsx", "csv", "tsv", "html", "rtf", "doc", "txt".
QString formatName(ExportFormat format);
// The format a name stands for (letter case ignored; also "excel", "tab", "htm", "word", "text");
// nullopt when none.
std::optional<ExportFormat> formatFromName(const QString& name);
// The format a file's extension stands for; nullopt when none.
std::optional<ExportFormat> formatFromPath(const QString& path);

// Extension written by the format, without the dot.
QString formatExtension(ExportFormat format);
// Name shown in the format dialog ("Excel (.xlsx)").
QString formatTitle(ExportFormat format);
// A file dialog filter for the format ("Excel (*.xlsx)").
QString formatFileFilter(ExportFormat format);
// The path with the format's extension appended when it has none of the format's.
QString pathWithExtension(const QString& path, ExportFormat format);

}
