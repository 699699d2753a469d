#include "workbook/NewWorkbook.h"

#include "workbook/BiffRecord.h"
#include "workbook/CompoundFile.h"
#include "workbook/SharedStrings.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookError.h"

#include <QTemporaryDir>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace velmor::workbook {

namespace {

constexpr quint16 FirstCellXf = 16; // 0..14 style formats, 15 the default cell format

QByteArray bof(quint16 kind)
{
    QByteArray b;
    putU16(b, 0x0600);
    putU16(b, kind);
    putU16(b, 0x0DBB);
    putU16(b, 0x07CC);
    putU32(b, 0);
    putU32(b, 0x00000006);
    return b;
}

QByteArray shortString(const QString& text)
{
    QByteArray b;
    putU8(b, quint8(text.size()));
    if (isLatin1(text)) {
        putU8(b, 0);
        b.append(text.toLatin1());
    } else {
        putU8(b, 1);
        for (QChar c : text)
            putU16(b, c.unicode());
    }
    return b;
}

QByteArray font(const FontStyle& f)
{
    QByteArray b;
    putU16(b, quint16(f.points * 20));
    putU16(b, 0);
    putU16(b, 0x7FFF);
    putU16(b, f.bold ? 700 : 400);
    putU16(b, 0);
    putU8(b, 0);
    putU8(b, 2); // swiss family
    putU8(b, 0xEE); // East European character set
    putU8(b, 0);
    b.append(shortString(f.name));
    return b;
}

QByteArray xf(quint16 fontIndex, bool styleXf, const CellStyle& s)
{
    QByteArray b;
    putU16(b, fontIndex);
    putU16(b, quint16(s.numberFormat));
    putU16(b, styleXf ? 0xFFF5 : 0x0001);
    quint8 align = quint8(int(s.align)) | (s.wrap ? 0x08 : 0) | ((s.middle ? 1 : 2) << 4);
    putU8(b, align);
    putU8(b, 0);
    putU8(b, 0);
    putU8(b, styleXf ? 0 : (s.numberFormat ? 0xFC : 0xF8));
    const quint32 line = s.border ? 1 : 0;
    const quint32 black = s.border ? 8 : 0;
    putU32(b, line | (line << 4) | (line << 8) | (line << 12) | (black << 16) | (black << 23));
    putU32(b, black | (black << 7));
    putU16(b, quint16(0x40 | (0x41 << 7)));
    return b;
}

// The stream of the design, before the engine adds row blocks and their index.
QByteArray designStream(const WorkbookDesign& d)
{
    SharedStrings strings;
    QByteArray globals;
    appendRecord(globals, rt::Bof, bof(0x0005));
    QByteArray codePage;
    putU16(codePage, 1200);
    appendRecord(globals, 0x0042, codePage);
    QByteArray window1;
    for (int v : {0, 0, 0x3000, 0x1E00, 0x0038, 0, 0, 1, 0x0258})
        putU16(window1, quint16(v));
    appendRecord(globals, 0x003D, window1);
    // Fonts 0..3 are the default; index 4 does not exist in BIFF; the design's fonts follow.
    for (int i = 0; i < 4; ++i)
        appendRecord(globals, 0x0031, font(d.fonts.value(0)));
    for (const FontStyle& f : d.fonts)
        appendRecord(globals, 0x0031, font(f));
    auto fontIndex = [&](int designFont) -> quint16 {
        if (designFont < 0 || designFont >= d.fonts.size())
            throw WorkbookError(QStringLiteral("Stil cu un font inexistent."));
        return quint16(5 + designFont);
    };
    for (int i = 0; i < 15; ++i)
        appendRecord(globals, 0x00E0, xf(0, true, CellStyle{}));
    appendRecord(globals, 0x00E0, xf(fontIndex(0), false, CellStyle{}));
    for (const CellStyle& s : d.styles)
        appendRecord(globals, 0x00E0, xf(fontIndex(s.font), false, s));
    QByteArray style;
    putU16(style, 0x8000);
    putU8(style, 0);
    putU8(style, 0xFF);
    appendRecord(globals, 0x0293, style);

    const int sheets = 1 + std::max(0, d.emptySheets);
    QList<QString> names {d.sheetName};
    for (int i = 1; i < sheets; ++i)
        names.append(QStringLiteral("Sheet%1").arg(i + 1));

    // Sheets first, so their offsets are known when the globals are put together.
    auto xfOf = [&](int styleIndex) -> quint16 {
        if (styleIndex < -1 || styleIndex >= d.styles.size())
            throw WorkbookError(QStringLiteral("Celula cu un stil inexistent."));
        return styleIndex < 0 ? 15 : quint16(FirstCellXf + styleIndex);
    };
    QList<QByteArray> sheetBytes;
    for (int s = 0; s < sheets; ++s) {
        QByteArray sheet;
        appendRecord(sheet, rt::Bof, bof(0x0010));
        QByteArray defWidth;
        putU16(defWidth, 8);
        appendRecord(sheet, rt::DefColWidth, defWidth);
        if (s == 0) {
            for (const auto& [column, width] : d.columnWidths) {
                QByteArray info;
                putU16(info, quint16(column - 1));
                putU16(info, quint16(column - 1));
                putU16(info, quint16(std::lround(width * 256)));
                putU16(info, 15);
                putU16(info, 0);
                putU16(info, 0);
                appendRecord(sheet, 0x007D, info);
            }
        }
        appendRecord(sheet, rt::Dimensions, QByteArray(14, '\0'));
        if (s == 0) {
            QList<int> rows;
            for (const auto& c : d.cells)
                rows.append(c.row);
            for (const auto& [row, height] : d.rowHeights)
                rows.append(row);
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            for (int row : rows) {
                if (row < 1 || row > 65536)
                    throw WorkbookError(QStringLiteral("Rand in afara foii: %1.").arg(row));
                QByteArray body;
                putU16(body, quint16(row - 1));
                putU16(body, 0);
                putU16(body, 0);
                const auto custom = std::find_if(d.rowHeights.begin(), d.rowHeights.end(),
                                                 [&](const auto& h) { return h.first == row; });
                putU16(body, custom == d.rowHeights.end() ? 0x00FF : quint16(std::lround(custom->second * 20)));
                putU16(body, 0);
                putU16(body, 0);
                putU32(body, 0x000F0100 | (custom == d.rowHeights.end() ? 0 : 0x40));
                appendRecord(sheet, rt::Row, body);
            }
            for (const auto& c : d.cells) {
                if (c.column < 1 || c.column > 256)
                    throw WorkbookError(QStringLiteral("Coloana in afara foii: %1.").arg(c.column));
                QByteArray body;
                putU16(body, quint16(c.row - 1));
                putU16(body, quint16(c.column - 1));
                putU16(body, xfOf(c.style));
                if (const QString* text = std::get_if<QString>(&c.value)) {
                    putU32(body, strings.indexOf(*text));
                    appendRecord(sheet, rt::LabelSst, body);
                } else if (const double* number = std::get_if<double>(&c.value)) {
                    putF64(body, *number);
                    appendRecord(sheet, rt::Number, body);
                } else {
                    appendRecord(sheet, rt::Blank, body);
                }
            }
        }
        QByteArray window2;
        for (int v : {s == 0 ? 0x06B6 : 0x00B6, 0, 0, 0x40, 0, 0, 0, 0, 0})
            putU16(window2, quint16(v));
        appendRecord(sheet, 0x023E, window2);
        if (s == 0 && !d.merges.isEmpty()) {
            QByteArray merged;
            putU16(merged, quint16(d.merges.size()));
            for (const auto& m : d.merges) {
                putU16(merged, quint16(m.firstRow - 1));
                putU16(merged, quint16(m.lastRow - 1));
                putU16(merged, quint16(m.firstColumn - 1));
                putU16(merged, quint16(m.lastColumn - 1));
            }
            appendRecord(sheet, rt::MergedCells, merged);
        }
        appendRecord(sheet, rt::Eof, {});
        sheetBytes.append(sheet);
    }

    QList<qsizetype> boundAt;
    for (const QString& name : names) {
        boundAt.append(globals.size());
        QByteArray body;
        putU32(body, 0);
        putU8(body, 0);
        putU8(body, 0);
        body.append(shortString(name));
        appendRecord(globals, rt::BoundSheet, body);
    }
    globals.append(strings.serialize(globals.size(), quint32(std::count_if(d.cells.begin(), d.cells.end(), [](const auto& c) {
        return std::holds_alternative<QString>(c.value);
    }))));
    appendRecord(globals, rt::Eof, {});

    QByteArray stream = globals;
    for (int s = 0; s < sheets; ++s) {
        setU32(stream, boundAt[s] + 4, quint32(stream.size()));
        stream.append(sheetBytes[s]);
    }
    return stream;
}

}

QByteArray writeNewWorkbook(const WorkbookDesign& design)
{
    CompoundFile file;
    file.setStream(QStringLiteral("Workbook"), designStream(design));
    // Through the engine, which lays out the row blocks, their index and the dimensions.
    QTemporaryDir dir;
    if (!dir.isValid())
        throw WorkbookError(QStringLiteral("Nu pot crea un dosar temporar."));
    const QString draft = dir.filePath(QStringLiteral("draft.xls"));
    file.write(draft);
    const Workbook workbook(draft);
    const QString final = dir.filePath(QStringLiteral("final.xls"));
    workbook.saveAs(final);
    QFile result(final);
    if (!result.open(QIODevice::ReadOnly))
        throw WorkbookError(QStringLiteral("Nu pot citi registrul scris: %1").arg(result.errorString()));
    return result.readAll();
}

}
