#include "output/ExportWriters.h"
#include "output/RowProgress.h"

namespace velmor::output::writers {

namespace {

QString field(const QString& text, QChar separator)
{
    const bool quoted = text.contains(separator) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r'));
    if (!quoted)
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

}

QString delimitedText(const ExportTable& table, QChar separator, RowProgress* progress)
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString out;
    if (!table.title.isEmpty())
        out += field(table.title, separator) + lineEnd;
    QStringList headings;
    for (const ExportColumn& column : table.columns)
        headings << field(column.heading, separator);
    out += headings.join(separator) + lineEnd;
    for (const auto& row : table.rows) {
        for (int c = 0; c < table.columns.size(); ++c) {
            if (c > 0)
                out += separator;
            out += field(cellText(row[size_t(c)], table.columns[c]), separator);
        }
        out += lineEnd;
        if (progress)
            progress->rowDone();
    }
    if (!table.footer.isEmpty())
        out += field(table.footer, separator) + lineEnd;
    out += field(table.exportDateLine(), separator) + lineEnd;
    return out;
}

QByteArray delimited(const ExportTable& table, QChar separator, RowProgress* progress)
{
    return QByteArray("\xEF\xBB\xBF") + delimitedText(table, separator, progress).toUtf8();
}

}
