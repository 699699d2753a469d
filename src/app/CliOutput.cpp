#include "app/CliOutput.h"

#include "core/ErrorReport.h"
#include "data/dbf/DbfValue.h"

#include <cmath>

namespace velmor::cli {

namespace {

QString escapeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

}

QString messageLines(QString message)
{
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return withoutSystemTexts(message);
}

QString formatCell(const dbf::Value& value)
{
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&value))
        return dbf::decimalText(*d, 10);
    if (const auto* s = std::get_if<QString>(&value))
        return escapeText(*s);
    if (const auto* date = std::get_if<QDate>(&value))
        return date->toString(QStringLiteral("yyyy-MM-dd"));
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? QStringLiteral("1") : QStringLiteral("0");
    return {};
}

QString formatResult(const engine::ResultSet& result)
{
    QString out;
    QStringList names;
    for (const auto& f : result.fields)
        names << f.name;
    out += names.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const auto& row : result.rows) {
        QStringList cells;
        for (const auto& v : row)
            cells << formatCell(v);
        out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

}
