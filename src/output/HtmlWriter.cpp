#include "output/ExportWriters.h"
#include "output/RowProgress.h"

namespace velmor::output::writers {

namespace {

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&#39;"); break;
        case '\r': out += QStringLiteral("&#13;"); break;
        default: out += ch;
        }
    }
    return out;
}

}

QByteArray html(const ExportTable& table, RowProgress* progress)
{
    QString out;
    out += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n");
    out += QStringLiteral("<title>%1</title>\n").arg(escaped(table.title));
    out += QStringLiteral("<style>\ntable { border-collapse: collapse; }\n"
                          "th, td { border: 1px solid #808080; padding: 2px 6px; white-space: pre-wrap; vertical-align: top; }\n"
                          "th { font-weight: bold; }\ntd.n { text-align: right; }\n</style>\n</head>\n<body>\n");
    if (!table.title.isEmpty())
        out += QStringLiteral("<h3>%1</h3>\n").arg(escaped(table.title));
    out += QStringLiteral("<table>\n<thead>\n<tr>");
    for (const ExportColumn& column : table.columns)
        out += QStringLiteral("<th>%1</th>").arg(escaped(column.heading));
    out += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
    for (const auto& row : table.rows) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < table.columns.size(); ++c) {
            const dbf::Value& value = row[size_t(c)];
            const bool number = std::holds_alternative<std::int64_t>(value) || std::holds_alternative<double>(value);
            out += number ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>");
            out += escaped(cellText(value, table.columns[c]));
            out += QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>\n");
        if (progress)
            progress->rowDone();
    }
    out += QStringLiteral("</tbody>\n</table>\n");
    if (!table.footer.isEmpty())
        out += QStringLiteral("<p class=\"footer\">%1</p>\n").arg(escaped(table.footer));
    out += QStringLiteral("<p class=\"date\">%1</p>\n</body>\n</html>\n").arg(escaped(table.exportDateLine()));
    return out.toUtf8();
}

}
