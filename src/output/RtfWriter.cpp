#include "output/ExportWriters.h"
#include "output/RowProgress.h"
#include "output/RtfText.h"

#include <algorithm>

namespace velmor::output::writers {

namespace {

constexpr int TwipsPerCharacter = 110;
constexpr int CellPadding = 200;
constexpr int MaxCellCharacters = 60;

QByteArray paragraph(const QString& text, const QByteArray& style)
{
    return "{\\pard" + style + ' ' + rtfEscaped(text) + "\\par}\n";
}

}

QByteArray rtf(const ExportTable& table, RowProgress* progress)
{
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1\n";
    out += "{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\n";
    out += "\\paperw16838\\paperh11906\\landscape\\margl567\\margr567\\margt567\\margb567\\f0\\fs18\n";
    if (!table.title.isEmpty())
        out += paragraph(table.title, "\\b\\fs24");

    QByteArray rowStart = "\\trowd\\trgaph70\\trleft0\\trhdr";
    QByteArray cells;
    int right = 0;
    for (const ExportColumn& column : table.columns) {
        right += std::min(std::max({column.width, int(column.heading.size()), 3}), MaxCellCharacters) * TwipsPerCharacter + CellPadding;
        cells += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10"
                 "\\cellx" + QByteArray::number(right);
    }
    // the heading row repeats on every page (\trhdr)
    out += rowStart + cells + '\n';
    for (const ExportColumn& column : table.columns)
        out += "\\pard\\intbl\\b " + rtfEscaped(column.heading) + "\\b0\\cell\n";
    out += "\\row\n";
    const QByteArray dataRow = "\\trowd\\trgaph70\\trleft0" + cells + '\n';
    for (const auto& row : table.rows) {
        out += dataRow;
        for (int c = 0; c < table.columns.size(); ++c) {
            const dbf::Value& value = row[size_t(c)];
            const bool number = std::holds_alternative<std::int64_t>(value) || std::holds_alternative<double>(value);
            out += number ? "\\pard\\intbl\\qr " : "\\pard\\intbl\\ql ";
            out += rtfEscaped(cellText(value, table.columns[c])) + "\\cell\n";
        }
        out += "\\row\n";
        if (progress)
            progress->rowDone();
    }
    out += "\\pard\\par\n";
    if (!table.footer.isEmpty())
        out += paragraph(table.footer, QByteArray());
    out += paragraph(table.exportDateLine(), QByteArray());
    out += "}\n";
    return out;
}

}
