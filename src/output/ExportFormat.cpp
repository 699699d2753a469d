#include "output/ExportFormat.h"

#include <QFileInfo>

namespace velmor::output {

namespace {

struct FormatInfo {
    ExportFormat format;
    const char* name;
    const char* extension;
    const char* title;
    QStringList aliases; // other names and extensions
};

const QList<FormatInfo>& formats()
{
    static const QList<FormatInfo> list = {
        {ExportFormat::Xlsx, "xlsx", "xlsx", "Excel", {QStringLiteral("excel")}},
        {ExportFormat::Html, "html", "html", "HTML", {QStringLiteral("htm")}},
        {ExportFormat::Word, "doc", "doc", "Word", {QStringLiteral("word")}},
        {ExportFormat::Rtf, "rtf", "rtf", "RTF", {}},
        {ExportFormat::Text, "txt", "txt", "Text", {QStringLiteral("text")}},
        {ExportFormat::Csv, "csv", "csv", "CSV", {}},
        {ExportFormat::Tsv, "tsv", "tsv", "Text separat prin tab", {QStringLiteral("tab")}},
    };
    return list;
}

const FormatInfo& infoOf(ExportFormat format)
{
    for (const FormatInfo& info : formats())
        if (info.format == format)
            return info;
    return formats().front();
}

}

QList<ExportFormat> allExportFormats()
{
    QList<ExportFormat> list;
    for (const FormatInfo& info : formats())
        list << info.format;
    return list;
}

QString formatName(ExportFormat format)
{
    return QString::fromLatin1(infoOf(format).name);
}

std::optional<ExportFormat> formatFromName(const QString& name)
{
    const QString wanted = name.trimmed().toLower();
    for (const FormatInfo& info : formats())
        if (wanted == QLatin1String(info.name) || wanted == QLatin1String(info.extension) || info.aliases.contains(wanted))
            return info.format;
    return std::nullopt;
}

std::optional<ExportFormat> formatFromPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return std::nullopt;
    return formatFromName(suffix);
}

QString formatExtension(ExportFormat format)
{
    return QString::fromLatin1(infoOf(format).extension);
}

QString formatTitle(ExportFormat format)
{
    return QStringLiteral("%1 (.%2)").arg(QString::fromLatin1(infoOf(format).title), formatExtension(format));
}

QString formatFileFilter(ExportFormat format)
{
    return QStringLiteral("%1 (*.%2)").arg(QString::fromLatin1(infoOf(format).title), formatExtension(format));
}

QString pathWithExtension(const QString& path, ExportFormat format)
{
    if (formatFromPath(path) == format)
        return path;
    return path + QLatin1Char('.') + formatExtension(format);
}

}
