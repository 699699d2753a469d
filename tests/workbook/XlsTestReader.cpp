// libgsf (GLib) before Qt, which defines "signals" as a macro.
#include <gsf/gsf.h>

#include "XlsTestReader.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace velmor::test {

namespace {

quint16 u16(const QByteArray& b, qsizetype at) { return quint16(quint8(b[at]) | (quint8(b[at + 1]) << 8)); }
quint32 u32(const QByteArray& b, qsizetype at) { return quint32(u16(b, at)) | (quint32(u16(b, at + 2)) << 16); }

double rkValue(quint32 rk)
{
    double v;
    if (rk & 2) {
        v = double(qint32(rk) >> 2);
    } else {
        quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 1) ? v / 100 : v;
}

QString number(double v)
{
    if (v == double(qint64(v)))
        return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

QByteArray workbookStreamOf(const QString& path, QString& fault)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fault = QStringLiteral("cannot open");
        return {};
    }
    const QByteArray bytes = file.readAll();
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.constData()), bytes.size(), FALSE);
    GError* error = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &error);
    QByteArray stream;
    if (!ole) {
        fault = QStringLiteral("not a compound file");
        if (error)
            g_error_free(error);
    } else {
        GsfInput* child = gsf_infile_child_by_name(ole, "Workbook");
        if (!child) {
            fault = QStringLiteral("no Workbook stream");
        } else {
            const gsf_off_t size = gsf_input_size(child);
            stream.resize(qsizetype(size));
            if (size > 0 && !gsf_input_read(child, size_t(size), reinterpret_cast<guint8*>(stream.data())))
                fault = QStringLiteral("Workbook stream unreadable");
            g_object_unref(child);
        }
        g_object_unref(ole);
    }
    g_object_unref(input);
    return stream;
}

// Strings of the SST, following the CONTINUE rules; also checks EXTSST against string positions.
QStringList readSst(const QList<XlsRecord>& globals, QStringList& faults)
{
    QStringList strings;
    int at = -1;
    for (int i = 0; i < globals.size(); ++i) {
        if (globals[i].type == 0x00FC)
            at = i;
    }
    if (at < 0)
        return strings;
    QList<const XlsRecord*> parts {&globals[at]};
    for (int i = at + 1; i < globals.size() && globals[i].type == 0x003C; ++i)
        parts.append(&globals[i]);
    int part = 0;
    qsizetype pos = 8;
    QList<qsizetype> starts; // stream offsets of string starts
    auto byte = [&]() -> quint8 {
        while (part < parts.size() && pos >= parts[part]->body.size()) {
            ++part;
            pos = 0;
        }
        if (part >= parts.size())
            throw 1;
        return quint8(parts[part]->body[pos++]);
    };
    const quint32 unique = u32(parts[0]->body, 4);
    try {
        for (quint32 i = 0; i < unique; ++i) {
            while (part < parts.size() && pos >= parts[part]->body.size()) {
                ++part;
                pos = 0;
            }
            if (part < parts.size())
                starts.append(parts[part]->offset + 4 + pos);
            const quint16 count = quint16(byte() | (byte() << 8));
            quint8 flags = byte();
            int runs = 0;
            quint32 ext = 0;
            if (flags & 8)
                runs = byte() | (byte() << 8);
            if (flags & 4) {
                for (int k = 0; k < 4; ++k)
                    ext |= quint32(byte()) << (8 * k);
            }
            QString text;
            for (int k = 0; k < count; ++k) {
                if (pos >= parts[part]->body.size()) {
                    ++part;
                    pos = 0;
                    if (part >= parts.size())
                        throw 1;
                    flags = quint8(parts[part]->body[pos++]);
                }
                if (flags & 1)
                    text.append(QChar(quint16(byte() | (byte() << 8))));
                else
                    text.append(QChar(byte()));
            }
            for (quint32 k = 0; k < quint32(runs) * 4 + ext; ++k)
                byte();
            strings.append(text);
        }
    } catch (int) {
        faults << QStringLiteral("SST ends early");
    }
    // EXTSST
    for (int i = at + 1; i < globals.size(); ++i) {
        if (globals[i].type != 0x00FF)
            continue;
        const QByteArray& b = globals[i].body;
        const int perBucket = u16(b, 0);
        for (qsizetype k = 0; 2 + 8 * k + 8 <= b.size(); ++k) {
            const qsizetype index = k * perBucket;
            if (index >= starts.size() || u32(b, 2 + 8 * k) != quint32(starts[index]))
                faults << QStringLiteral("EXTSST bucket %1 does not point at its string").arg(k);
        }
    }
    return strings;
}

}

QString address(int row, int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

XlsContent readXlsStream(const QByteArray& stream)
{
    XlsContent out;
    // All records, split into parts at top-level BOF/EOF.
    QList<QList<XlsRecord>> parts;
    QList<XlsRecord> current;
    int depth = 0;
    for (qsizetype pos = 0; pos + 4 <= stream.size();) {
        XlsRecord r;
        r.type = u16(stream, pos);
        const quint16 length = u16(stream, pos + 2);
        r.offset = pos;
        if (pos + 4 + length > stream.size()) {
            out.faults << QStringLiteral("record past the end at %1").arg(pos);
            break;
        }
        r.body = stream.mid(pos + 4, length);
        pos += 4 + length;
        if (depth == 0 && r.type != 0x0809)
            break;
        if (r.type == 0x0809)
            ++depth;
        if (r.type == 0x000A)
            --depth;
        current.append(r);
        if (depth == 0) {
            parts.append(current);
            current.clear();
        }
    }
    if (parts.isEmpty()) {
        out.faults << QStringLiteral("no records");
        return out;
    }
    out.globals = parts.takeFirst();
    out.sheets = parts;
    const QStringList strings = readSst(out.globals, out.faults);

    // Sheet positions.
    QList<quint32> sheetOffsets;
    for (const XlsRecord& r : out.globals) {
        if (r.type == 0x0085)
            sheetOffsets.append(u32(r.body, 0));
    }
    out.sheetCount = int(sheetOffsets.size());
    for (quint32 offset : sheetOffsets) {
        if (offset + 4 > quint32(stream.size()) || u16(stream, offset) != 0x0809)
            out.faults << QStringLiteral("BOUNDSHEET offset %1 is not a BOF").arg(offset);
    }
    if (out.sheets.isEmpty() || sheetOffsets.isEmpty() || out.sheets[0].first().offset != qsizetype(sheetOffsets[0])) {
        out.faults << QStringLiteral("sheet 1 not found");
        return out;
    }

    // Row index and blocks of every sheet.
    for (const auto& sheet : out.sheets) {
        for (const XlsRecord& r : sheet) {
            if (r.type != 0x020B)
                continue;
            for (qsizetype k = 16; k + 4 <= r.body.size(); k += 4) {
                const quint32 at = u32(r.body, k);
                if (at + 4 > quint32(stream.size()) || u16(stream, at) != 0x00D7) {
                    out.faults << QStringLiteral("INDEX entry %1 is not a DBCELL").arg(at);
                    continue;
                }
                const quint32 back = u32(stream, at + 4);
                if (back > at || u16(stream, at - back) != 0x0208)
                    out.faults << QStringLiteral("DBCELL at %1 does not point back at a ROW").arg(at);
            }
        }
    }

    // Cells of sheet 1.
    auto put = [&](int row, int column, const QString& value) { out.cells.insert(address(row + 1, column + 1), value); };
    for (const XlsRecord& r : out.sheets[0]) {
        const QByteArray& b = r.body;
        switch (r.type) {
        case 0x00FD: {
            const quint32 index = u32(b, 6);
            if (index >= quint32(strings.size()))
                out.faults << QStringLiteral("LABELSST index %1 outside the SST").arg(index);
            else
                put(u16(b, 0), u16(b, 2), QStringLiteral("s:") + strings[index]);
            break;
        }
        case 0x0203: {
            double v;
            std::memcpy(&v, b.constData() + 6, 8);
            put(u16(b, 0), u16(b, 2), QStringLiteral("n:") + number(v));
            break;
        }
        case 0x027E:
            put(u16(b, 0), u16(b, 2), QStringLiteral("n:") + number(rkValue(u32(b, 6))));
            break;
        case 0x00BD:
            for (qsizetype k = 4, c = u16(b, 2); k + 6 <= b.size() - 2; k += 6, ++c)
                put(u16(b, 0), int(c), QStringLiteral("n:") + number(rkValue(u32(b, k + 2))));
            break;
        case 0x00E5:
            for (int k = 0; k < u16(b, 0); ++k) {
                const qsizetype at = 2 + 8 * k;
                out.merges << address(u16(b, at) + 1, u16(b, at + 4) + 1) + QLatin1Char(':') + address(u16(b, at + 2) + 1, u16(b, at + 6) + 1);
            }
            break;
        case 0x0208:
            out.rowHeights.insert(u16(b, 0) + 1, u16(b, 6));
            break;
        default:
            break;
        }
    }
    std::sort(out.merges.begin(), out.merges.end());
    return out;
}

XlsContent readXls(const QString& path)
{
    QString fault;
    const QByteArray stream = workbookStreamOf(path, fault);
    if (!fault.isEmpty()) {
        XlsContent out;
        out.faults << fault;
        return out;
    }
    return readXlsStream(stream);
}

}
