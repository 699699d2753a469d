#include "workbook/SharedStrings.h"

#include "workbook/WorkbookError.h"

#include <algorithm>

namespace velmor::workbook {

namespace {

WorkbookError damagedTable()
{
    return WorkbookError(QStringLiteral("Fisierul Excel este deteriorat: tabela de texte nu poate fi citita."));
}

// Reads across the SST body and its CONTINUE bodies.
class SegmentReader {
public:
    explicit SegmentReader(const Record& record)
    {
        m_segments.append(record.body);
        m_segments.append(record.continues);
    }

    bool atSegmentEnd() const { return m_pos >= m_segments[m_segment].size(); }
    bool atEnd()
    {
        skipEmpty();
        return m_segment >= m_segments.size();
    }

    quint8 u8()
    {
        skipEmpty();
        if (m_segment >= m_segments.size())
            throw damagedTable();
        return quint8(m_segments[m_segment][m_pos++]);
    }
    quint16 u16()
    {
        const quint16 lo = u8();
        return quint16(lo | (u8() << 8));
    }
    quint32 u32()
    {
        const quint32 lo = u16();
        return lo | (quint32(u16()) << 16);
    }
    QByteArray take(qsizetype n)
    {
        QByteArray out;
        out.reserve(n);
        while (n > 0) {
            skipEmpty();
            if (m_segment >= m_segments.size())
                throw damagedTable();
            const qsizetype piece = std::min(n, m_segments[m_segment].size() - m_pos);
            out.append(m_segments[m_segment].constData() + m_pos, piece);
            m_pos += piece;
            n -= piece;
        }
        return out;
    }

    // Characters of a string; at a record boundary the next record starts with a new flags byte.
    QString chars(int count, bool wide)
    {
        QString text;
        text.reserve(count);
        while (count > 0) {
            if (atSegmentEnd()) {
                nextSegment();
                wide = (u8() & 0x01) != 0;
            }
            const qsizetype left = m_segments[m_segment].size() - m_pos;
            const int width = wide ? 2 : 1;
            const int n = int(std::min<qsizetype>(count, left / width));
            if (n == 0)
                throw damagedTable();
            const char* p = m_segments[m_segment].constData() + m_pos;
            for (int i = 0; i < n; ++i) {
                if (wide)
                    text.append(QChar(quint16(quint8(p[2 * i]) | (quint8(p[2 * i + 1]) << 8))));
                else
                    text.append(QChar(quint8(p[i])));
            }
            m_pos += qsizetype(n) * width;
            count -= n;
        }
        return text;
    }

private:
    void skipEmpty()
    {
        while (m_segment < m_segments.size() && m_pos >= m_segments[m_segment].size())
            nextSegment();
    }
    void nextSegment()
    {
        ++m_segment;
        m_pos = 0;
        if (m_segment >= m_segments.size())
            throw damagedTable();
    }

    QList<QByteArray> m_segments;
    qsizetype m_segment = 0;
    qsizetype m_pos = 0;
};

}

void SharedStrings::read(const Record& sst)
{
    m_entries.clear();
    m_plain.clear();
    SegmentReader in(sst);
    in.u32(); // total references, recomputed on save
    const quint32 unique = in.u32();
    // A count larger than the bytes could hold is a damaged table, not a reason to allocate.
    qsizetype bytes = sst.body.size();
    for (const QByteArray& c : sst.continues)
        bytes += c.size();
    if (unique > quint32(bytes / 3 + 1))
        throw damagedTable();
    m_entries.reserve(unique);
    for (quint32 i = 0; i < unique; ++i) {
        const quint16 count = in.u16();
        const quint8 flags = in.u8();
        const bool rich = flags & 0x08;
        const bool phonetic = flags & 0x04;
        const quint16 runs = rich ? in.u16() : 0;
        const quint32 extSize = phonetic ? in.u32() : 0;
        if (extSize > quint32(bytes))
            throw damagedTable();
        Entry entry;
        entry.text = in.chars(count, flags & 0x01);
        entry.runs = in.take(qsizetype(runs) * 4);
        entry.ext = in.take(extSize);
        if (entry.runs.isEmpty() && entry.ext.isEmpty() && !m_plain.contains(entry.text))
            m_plain.insert(entry.text, quint32(m_entries.size()));
        m_entries.append(std::move(entry));
    }
}

const QString& SharedStrings::text(quint32 index) const
{
    if (index >= quint32(m_entries.size()))
        throw WorkbookError(QStringLiteral("Fisierul Excel este deteriorat: o celula trimite la un text inexistent."));
    return m_entries[index].text;
}

quint32 SharedStrings::indexOf(const QString& text)
{
    auto it = m_plain.constFind(text);
    if (it != m_plain.cend())
        return *it;
    const quint32 index = quint32(m_entries.size());
    m_entries.append(Entry{text, {}, {}});
    m_plain.insert(text, index);
    return index;
}

namespace {

// Writes the SST body and CONTINUE records, never splitting a string header and starting a
// continuation inside the characters with a new flags byte.
class SstWriter {
public:
    explicit SstWriter(qsizetype streamOffset)
        : m_base(streamOffset)
    {
    }

    qsizetype room() const { return MaxRecordBody - m_current.size(); }
    // Stream offset where the next byte will go, and the offset inside its record.
    qsizetype streamPos() const { return m_base + m_done.size() + 4 + m_current.size(); }
    qsizetype recordPos() const { return 4 + m_current.size(); }

    void ensure(qsizetype n)
    {
        if (room() < n)
            flush();
    }
    void flush()
    {
        appendRecord(m_done, m_type, m_current);
        m_current.clear();
        m_type = rt::Continue;
    }
    QByteArray& current() { return m_current; }
    QByteArray finish()
    {
        flush();
        return m_done;
    }

private:
    qsizetype m_base;
    QByteArray m_done;
    QByteArray m_current;
    quint16 m_type = rt::Sst;
};

}

QByteArray SharedStrings::serialize(qsizetype streamOffset, quint32 totalRefs) const
{
    SstWriter out(streamOffset);
    putU32(out.current(), totalRefs);
    putU32(out.current(), quint32(m_entries.size()));

    const int perBucket = std::max(8, int((m_entries.size() + 127) / 128));
    QByteArray ext;
    putU16(ext, quint16(perBucket));

    for (int i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        const bool wide = !isLatin1(e.text);
        const int header = 3 + (e.runs.isEmpty() ? 0 : 2) + (e.ext.isEmpty() ? 0 : 4);
        // The header and at least one character stay together.
        out.ensure(header + (wide ? 2 : 1));
        if (i % perBucket == 0) {
            putU32(ext, quint32(out.streamPos()));
            putU16(ext, quint16(out.recordPos()));
            putU16(ext, 0);
        }
        QByteArray& cur = out.current();
        putU16(cur, quint16(e.text.size()));
        putU8(cur, quint8((wide ? 0x01 : 0) | (e.ext.isEmpty() ? 0 : 0x04) | (e.runs.isEmpty() ? 0 : 0x08)));
        if (!e.runs.isEmpty())
            putU16(cur, quint16(e.runs.size() / 4));
        if (!e.ext.isEmpty())
            putU32(cur, quint32(e.ext.size()));

        const int width = wide ? 2 : 1;
        int next = 0;
        while (next < e.text.size()) {
            if (out.room() < width + 1 && next > 0) {
                out.flush();
                putU8(out.current(), wide ? 1 : 0);
            }
            const int n = int(std::min<qsizetype>(e.text.size() - next, out.room() / width));
            QByteArray& c = out.current();
            for (int k = next; k < next + n; ++k) {
                if (wide)
                    putU16(c, e.text[k].unicode());
                else
                    putU8(c, quint8(e.text[k].unicode()));
            }
            next += n;
        }
        // Runs and phonetic data go on in the next record when they do not fit.
        QByteArray tail = e.runs + e.ext;
        while (!tail.isEmpty()) {
            if (out.room() == 0)
                out.flush();
            const qsizetype n = std::min(tail.size(), out.room());
            out.current().append(tail.left(n));
            tail.remove(0, n);
        }
    }

    QByteArray records = out.finish();
    appendRecord(records, rt::ExtSst, ext);
    return records;
}

}
