#include "output/ExportWriters.h"
#include "output/RowProgress.h"

#include <QStringList>

#include <algorithm>

namespace velmor::output::writers {

namespace {

constexpr int TabStop = 8;
const QString Gap = QStringLiteral("  ");

// The lines of a cell: line breaks split it, tabs become spaces.
QStringList cellLines(const QString& text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalized.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (!line.contains(QLatin1Char('\t')))
            continue;
        QString expanded;
        for (const QChar ch : line) {
            if (ch == QLatin1Char('\t'))
                expanded += QString(TabStop - expanded.size() % TabStop, QLatin1Char(' '));
            else
                expanded += ch;
        }
        line = expanded;
    }
    return lines;
}

QString stripTrailing(QString line)
{
    qsizetype end = line.size();
    while (end > 0 && line[end - 1] == QLatin1Char(' '))
        --end;
    line.truncate(end);
    return line;
}

}

QByteArray alignedText(const ExportTable& table, RowProgress* progress)
{
    const int columnCount = int(table.columns.size());
    // every cell as its lines, headings first
    std::vector<std::vector<QStringList>> cells;
    cells.reserve(table.rows.size() + 1);
    std::vector<QStringList> headings;
    for (const ExportColumn& column : table.columns)
        headings.push_back(cellLines(column.heading));
    cells.push_back(std::move(headings));
    std::vector<bool> rightAligned(size_t(columnCount), false);
    for (const auto& row : table.rows) {
        std::vector<QStringList> lines;
        for (int c = 0; c < columnCount; ++c)
            lines.push_back(cellLines(cellText(row[size_t(c)], table.columns[c])));
        cells.push_back(std::move(lines));
    }
    for (int c = 0; c < columnCount; ++c)
        rightAligned[size_t(c)] = table.columns[c].isNumeric();

    std::vector<int> widths(size_t(columnCount), 1);
    for (const auto& row : cells)
        for (int c = 0; c < columnCount; ++c)
            for (const QString& line : row[size_t(c)])
                widths[size_t(c)] = std::max(widths[size_t(c)], int(line.size()));

    QStringList out;
    if (!table.title.isEmpty()) {
        out << table.title << QString();
    }
    const auto writeRow = [&](const std::vector<QStringList>& row, bool heading) {
        qsizetype height = 1;
        for (const QStringList& lines : row)
            height = std::max(height, lines.size());
        for (qsizetype l = 0; l < height; ++l) {
            QString line;
            for (int c = 0; c < columnCount; ++c) {
                const QStringList& lines = row[size_t(c)];
                const QString part = l < lines.size() ? lines[l] : QString();
                if (c > 0)
                    line += Gap;
                line += (rightAligned[size_t(c)] && !heading) ? part.rightJustified(widths[size_t(c)])
                                                             : part.leftJustified(widths[size_t(c)]);
            }
            out << stripTrailing(line);
        }
    };
    writeRow(cells.front(), true);
    QStringList dashes;
    for (int c = 0; c < columnCount; ++c)
        dashes << QString(widths[size_t(c)], QLatin1Char('-'));
    out << dashes.join(Gap);
    for (size_t r = 1; r < cells.size(); ++r) {
        writeRow(cells[r], false);
        if (progress)
            progress->rowDone();
    }
    out << QString();
    if (!table.footer.isEmpty())
        out << table.footer;
    out << table.exportDateLine();
    return QByteArray("\xEF\xBB\xBF") + (out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

}
