#include "workbook/CellListing.h"

#include "workbook/Workbook.h"

#include <QTextStream>

namespace velmor::workbook {

QString cellAddress(int row, int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

namespace {

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        default: out += c;
        }
    }
    return out;
}

}

void listCells(const Workbook& workbook, QTextStream& out)
{
    const int rows = workbook.lastRow();
    const int columns = workbook.lastColumn();
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            const CellValue value = workbook.cell(r, c);
            if (value.kind == CellValue::Kind::Number)
                out << cellAddress(r, c) << "\tn\t" << value.text << '\n';
            else if (value.kind == CellValue::Kind::Text && !value.text.isEmpty())
                out << cellAddress(r, c) << "\ts\t" << escaped(value.text) << '\n';
        }
    }
    for (const CellRange& m : workbook.mergedRanges())
        out << "MERGE\t" << cellAddress(m.firstRow, m.firstColumn) << ':' << cellAddress(m.lastRow, m.lastColumn) << '\n';
}

int printWorkbookCells(const QString& file, QTextStream& out)
{
    const Workbook workbook(file);
    listCells(workbook, out);
    out.flush();
    return 0;
}

}
