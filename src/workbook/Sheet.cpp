#include "workbook/Sheet.h"

#include "workbook/SharedStrings.h"
#include "workbook/WorkbookError.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmor::workbook {

namespace {

constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;
constexpr int RowsPerBlock = 32;

WorkbookError damagedSheet(const QString& what)
{
    return WorkbookError(QStringLiteral("Fisierul Excel este deteriorat: %1.").arg(what));
}

double decodeRk(quint32 rk)
{
    double value;
    if (rk & 0x02) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

bool isCellRecord(quint16 type)
{
    switch (type) {
    case rt::LabelSst: case rt::Label: case rt::RString: case rt::Number: case rt::Rk:
    case rt::MulRk: case rt::Blank: case rt::MulBlank: case rt::BoolErr: case rt::Formula:
        return true;
    default:
        return false;
    }
}

bool belongsToFormula(quint16 type)
{
    return type == rt::String || type == rt::Array || type == rt::ShrFmla || type == rt::Table;
}

QByteArray defaultRowRecord()
{
    QByteArray body;
    putU16(body, 0);
    putU16(body, 0);
    putU16(body, 0);
    putU16(body, 0x00FF); // default height
    putU16(body, 0);
    putU16(body, 0);
    putU32(body, 0x000F0100);
    return body;
}

// Shifts the row of a range by `by`; the second form clips a range against removed rows.
void moveRange(CellRange& range, int at, int by)
{
    if (range.firstRow >= at) {
        range.firstRow += by;
        range.lastRow += by;
    } else if (range.lastRow >= at) {
        range.lastRow += by;
    }
}

QString numberText(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

}

Sheet::Sheet(const Substream& part)
{
    enum class Stage { Head, Table, Tail } stage = Stage::Head;
    int depth = 0;
    for (const Record& record : part.records) {
        if (depth == 1 && (record.type == rt::Row || record.type == rt::DbCell || isCellRecord(record.type)
                           || (belongsToFormula(record.type) && m_lastFormula))) {
            if (stage == Stage::Head)
                stage = Stage::Table;
            if (record.type == rt::Row) {
                if (record.body.size() < 16)
                    throw damagedSheet(QStringLiteral("descrierea unui rand este prea scurta"));
                const int r = getU16(record.body, 0);
                m_rows[r].record = record.body.left(16);
                m_lastFormula = nullptr;
            } else if (record.type == rt::DbCell) {
                m_lastFormula = nullptr;
            } else if (belongsToFormula(record.type)) {
                m_lastFormula->raw.append(record);
            } else {
                readCellRecord(record);
            }
            continue;
        }
        if (record.type == rt::Bof)
            ++depth;
        else if (record.type == rt::Eof)
            --depth;
        if (stage == Stage::Head) {
            if (depth == 1 && record.type == rt::Index) {
                m_indexAt = int(m_head.size());
            } else if (depth == 1 && record.type == rt::Dimensions) {
                m_dimensionsAt = int(m_head.size());
            }
            m_head.append(record);
            continue;
        }
        stage = Stage::Tail;
        m_lastFormula = nullptr;
        if (depth == 1 && record.type == rt::MergedCells) {
            ByteReader in(record.body);
            const int count = in.u16();
            for (int i = 0; i < count; ++i) {
                CellRange range;
                range.firstRow = in.u16();
                range.lastRow = in.u16();
                range.firstColumn = in.u16();
                range.lastColumn = in.u16();
                if (range.lastRow < range.firstRow || range.lastColumn < range.firstColumn)
                    throw damagedSheet(QStringLiteral("o zona de celule unite este gresita"));
                m_merges.append(range);
            }
            if (m_mergesAt < 0)
                m_mergesAt = int(m_tail.size());
            continue;
        }
        if (depth == 1 && record.type == rt::Note && record.body.size() < 4)
            throw damagedSheet(QStringLiteral("o nota de celula este prea scurta"));
        if (depth == 1 && record.type == rt::Index)
            continue; // misplaced index: rebuilt in the head
        m_tail.append(record);
    }
    m_lastFormula = nullptr;
    if (stage == Stage::Head) {
        // No cell table: it belongs after DIMENSIONS (or before EOF when there is none).
        const int split = m_dimensionsAt >= 0 ? m_dimensionsAt + 1 : int(m_head.size()) - 1;
        while (m_head.size() > split && split > 0)
            m_tail.append(m_head.takeAt(split));
    }
    if (m_head.isEmpty() || m_tail.isEmpty() || m_tail.last().type != rt::Eof)
        throw damagedSheet(QStringLiteral("foaia nu se termina corect"));
    if (m_mergesAt < 0)
        m_mergesAt = int(m_tail.size()) - 1; // before EOF
}

void Sheet::checkRow(int row) const
{
    if (row < 0 || row >= MaxRows)
        throw WorkbookError(QStringLiteral("Randul %1 este in afara foii (cel mult %2 randuri).").arg(row + 1).arg(MaxRows));
}

void Sheet::readCellRecord(const Record& record)
{
    ByteReader in(record.body);
    const int row = in.u16();
    const int column = in.u16();
    if (column >= MaxColumns)
        throw damagedSheet(QStringLiteral("o celula este in afara foii"));
    m_lastFormula = nullptr;
    switch (record.type) {
    case rt::LabelSst: {
        Cell& c = cellAt(row, column);
        c = Cell{};
        c.xf = in.u16();
        c.kind = Cell::Kind::Text;
        c.sst = in.u32();
        break;
    }
    case rt::Number: {
        Cell& c = cellAt(row, column);
        c = Cell{};
        c.xf = in.u16();
        c.kind = Cell::Kind::Number;
        c.number = in.f64();
        break;
    }
    case rt::Rk: {
        Cell& c = cellAt(row, column);
        c = Cell{};
        c.xf = in.u16();
        c.kind = Cell::Kind::Rk;
        c.rk = in.u32();
        c.number = decodeRk(c.rk);
        break;
    }
    case rt::Blank: {
        Cell& c = cellAt(row, column);
        c = Cell{};
        c.xf = in.u16();
        break;
    }
    case rt::MulRk:
    case rt::MulBlank: {
        const bool numbers = record.type == rt::MulRk;
        const int each = numbers ? 6 : 2;
        const qsizetype entries = (record.body.size() - 6) / each;
        const int last = record.body.size() >= 6 ? getU16(record.body, record.body.size() - 2) : -1;
        if (entries <= 0 || last != column + entries - 1 || last >= MaxColumns)
            throw damagedSheet(QStringLiteral("un grup de celule este gresit"));
        for (int k = 0; k < entries; ++k) {
            Cell& c = cellAt(row, column + k);
            c = Cell{};
            c.xf = in.u16();
            if (numbers) {
                c.kind = Cell::Kind::Rk;
                c.rk = in.u32();
                c.number = decodeRk(c.rk);
            }
        }
        break;
    }
    default: {
        Cell& c = cellAt(row, column);
        c = Cell{};
        c.xf = in.u16();
        c.kind = Cell::Kind::Other;
        c.raw.append(record);
        if (record.type == rt::Formula)
            m_lastFormula = &c;
        break;
    }
    }
}

Cell& Sheet::cellAt(int row, int column)
{
    checkRow(row);
    if (column < 0 || column >= MaxColumns)
        throw WorkbookError(QStringLiteral("Coloana %1 este in afara foii (cel mult %2 coloane).").arg(column + 1).arg(MaxColumns));
    return m_rows[row].cells[column];
}

const Cell* Sheet::cell(int row, int column) const
{
    auto r = m_rows.find(row);
    if (r == m_rows.end())
        return nullptr;
    auto c = r->second.cells.find(column);
    return c == r->second.cells.end() ? nullptr : &c->second;
}

QString Sheet::displayText(int row, int column, const SharedStrings& strings) const
{
    const Cell* c = cell(row, column);
    if (!c)
        return {};
    switch (c->kind) {
    case Cell::Kind::Text:
        return strings.text(c->sst);
    case Cell::Kind::Number:
    case Cell::Kind::Rk:
        return numberText(c->number);
    case Cell::Kind::Other: {
        const Record& r = c->raw.first();
        if (r.type == rt::Label || r.type == rt::RString) {
            ByteReader in(r.body, 6);
            return readUnicodeString16(in);
        }
        return {};
    }
    case Cell::Kind::Blank:
        break;
    }
    return {};
}

void Sheet::setText(int row, int column, quint32 sstIndex)
{
    Cell& c = cellAt(row, column);
    c.kind = Cell::Kind::Text;
    c.sst = sstIndex;
    c.raw.clear();
}

void Sheet::setNumber(int row, int column, double value)
{
    Cell& c = cellAt(row, column);
    c.kind = Cell::Kind::Number;
    c.number = value;
    c.raw.clear();
}

void Sheet::clear(int row, int column)
{
    Cell* c = const_cast<Cell*>(cell(row, column));
    if (!c)
        return;
    c->kind = Cell::Kind::Blank;
    c->raw.clear();
}

int Sheet::rowEnd() const
{
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it) {
        if (!it->second.cells.empty())
            return it->first + 1;
    }
    return 0;
}

int Sheet::columnEnd() const
{
    int end = 0;
    for (const auto& [r, row] : m_rows) {
        if (!row.cells.empty())
            end = std::max(end, row.cells.rbegin()->first + 1);
    }
    return end;
}

void Sheet::insertRowCopies(int first, int last, int at, int times)
{
    if (times <= 0)
        return;
    if (first < 0 || last < first || at < 0)
        throw WorkbookError(QStringLiteral("Randurile de copiat sunt gresite."));
    const int height = last - first + 1;
    const int added = height * times;
    const int end = std::max(rowEnd(), m_rows.empty() ? 0 : m_rows.rbegin()->first + 1);
    if (std::max(end, at) + added > MaxRows || at + added > MaxRows)
        throw WorkbookError(QStringLiteral("Foaia nu are loc pentru inca %1 randuri (cel mult %2 randuri).").arg(added).arg(MaxRows));

    // The source rows and their merged ranges, taken before anything moves.
    std::map<int, Row> source;
    for (auto it = m_rows.lower_bound(first); it != m_rows.end() && it->first <= last; ++it)
        source.emplace(it->first - first, it->second);
    QList<CellRange> sourceMerges;
    for (const CellRange& m : m_merges) {
        if (m.firstRow >= first && m.lastRow <= last)
            sourceMerges.append(m);
    }

    // Everything from `at` down moves by `added`, the last rows first.
    std::map<int, Row> moved;
    for (auto it = m_rows.lower_bound(at); it != m_rows.end();) {
        auto node = m_rows.extract(it++);
        node.key() += added;
        moved.insert(std::move(node));
    }
    m_rows.merge(moved);
    for (CellRange& m : m_merges)
        moveRange(m, at, added);
    for (Record& r : m_tail) {
        if (r.type == rt::Note) {
            const int row = getU16(r.body, 0);
            if (row >= at)
                setU16(r.body, 0, quint16(row + added));
        }
    }

    for (int k = 0; k < times; ++k) {
        const int base = at + k * height;
        for (const auto& [offset, row] : source)
            m_rows[base + offset] = row;
        for (CellRange m : sourceMerges) {
            const int shift = base - first;
            m.firstRow += shift;
            m.lastRow += shift;
            m_merges.append(m);
        }
    }
}

void Sheet::deleteRows(int first, int count)
{
    if (count <= 0)
        return;
    if (first < 0)
        throw WorkbookError(QStringLiteral("Randurile de sters sunt gresite."));
    const int end = first + count;
    m_rows.erase(m_rows.lower_bound(first), m_rows.lower_bound(end));
    std::map<int, Row> moved;
    for (auto it = m_rows.lower_bound(end); it != m_rows.end();) {
        auto node = m_rows.extract(it++);
        node.key() -= count;
        moved.insert(std::move(node));
    }
    m_rows.merge(moved);

    QList<CellRange> kept;
    for (CellRange m : m_merges) {
        if (m.firstRow >= first && m.lastRow < end)
            continue;
        const int top = m.firstRow < first ? m.firstRow : (m.firstRow >= end ? m.firstRow - count : first);
        const int bottom = m.lastRow < first ? m.lastRow : (m.lastRow >= end ? m.lastRow - count : first - 1);
        m.firstRow = top;
        m.lastRow = bottom;
        if (m.lastRow < m.firstRow || (m.firstRow == m.lastRow && m.firstColumn == m.lastColumn))
            continue;
        kept.append(m);
    }
    m_merges = kept;

    QList<Record> tail;
    const int mergesAt = m_mergesAt;
    for (int i = 0; i < m_tail.size(); ++i) {
        Record r = m_tail[i];
        if (r.type == rt::Note) {
            const int row = getU16(r.body, 0);
            if (row >= first && row < end) {
                if (i < mergesAt)
                    --m_mergesAt;
                continue;
            }
            if (row >= end)
                setU16(r.body, 0, quint16(row - count));
        }
        tail.append(r);
    }
    m_tail = tail;
}

quint32 Sheet::sharedStringRefs() const
{
    quint32 refs = 0;
    forEachCell([&](int, int, const Cell& c) {
        if (c.kind == Cell::Kind::Text)
            ++refs;
    });
    return refs;
}

namespace {

// Writes the cells of one row, joining neighbouring blanks and RK numbers into MULBLANK and MULRK.
void writeRowCells(QByteArray& out, int row, const std::map<int, Cell>& cells)
{
    for (auto it = cells.begin(); it != cells.end();) {
        const int column = it->first;
        const Cell& c = it->second;
        if (c.kind == Cell::Kind::Blank || c.kind == Cell::Kind::Rk) {
            auto runEnd = std::next(it);
            int next = column + 1;
            while (runEnd != cells.end() && runEnd->first == next && runEnd->second.kind == c.kind) {
                ++runEnd;
                ++next;
            }
            const int count = next - column;
            QByteArray body;
            putU16(body, quint16(row));
            putU16(body, quint16(column));
            if (count == 1) {
                putU16(body, c.xf);
                if (c.kind == Cell::Kind::Rk)
                    putU32(body, c.rk);
                appendRecord(out, c.kind == Cell::Kind::Rk ? rt::Rk : rt::Blank, body);
            } else {
                for (auto k = it; k != runEnd; ++k) {
                    putU16(body, k->second.xf);
                    if (c.kind == Cell::Kind::Rk)
                        putU32(body, k->second.rk);
                }
                putU16(body, quint16(next - 1));
                appendRecord(out, c.kind == Cell::Kind::Rk ? rt::MulRk : rt::MulBlank, body);
            }
            it = runEnd;
            continue;
        }
        QByteArray body;
        putU16(body, quint16(row));
        putU16(body, quint16(column));
        putU16(body, c.xf);
        if (c.kind == Cell::Kind::Text) {
            putU32(body, c.sst);
            appendRecord(out, rt::LabelSst, body);
        } else if (c.kind == Cell::Kind::Number) {
            putF64(body, c.number);
            appendRecord(out, rt::Number, body);
        } else {
            for (int k = 0; k < c.raw.size(); ++k) {
                Record r = c.raw[k];
                if (k == 0) {
                    setU16(r.body, 0, quint16(row));
                    setU16(r.body, 2, quint16(column));
                } else if (r.type == rt::Array || r.type == rt::ShrFmla || r.type == rt::Table) {
                    // Their ranges start at the formula's row; keep them with it.
                    const int shift = row - getU16(c.raw[0].body, 0);
                    setU16(r.body, 0, quint16(getU16(r.body, 0) + shift));
                    setU16(r.body, 2, quint16(getU16(r.body, 2) + shift));
                }
                r.appendTo(out);
            }
        }
        ++it;
    }
}

}

QByteArray Sheet::serialize(qsizetype streamOffset) const
{
    // Row blocks of 32 rows by row number; a block is written when it holds a row record or a cell.
    std::map<int, std::vector<int>> blocks;
    for (const auto& [r, row] : m_rows) {
        if (!row.record.isEmpty() || !row.cells.empty())
            blocks[r / RowsPerBlock].push_back(r);
    }

    int firstUsed = -1;
    int lastUsed = -1;
    int firstColumn = MaxColumns;
    int columnEndValue = 0;
    for (const auto& [r, row] : m_rows) {
        if (row.cells.empty())
            continue;
        if (firstUsed < 0)
            firstUsed = r;
        lastUsed = r;
        firstColumn = std::min(firstColumn, row.cells.begin()->first);
        columnEndValue = std::max(columnEndValue, row.cells.rbegin()->first + 1);
    }

    // Head, with the INDEX record sized for the blocks and DIMENSIONS rebuilt.
    QByteArray indexBody;
    putU32(indexBody, 0);
    putU32(indexBody, quint32(firstUsed < 0 ? 0 : firstUsed));
    putU32(indexBody, quint32(lastUsed < 0 ? 0 : lastUsed + 1));
    putU32(indexBody, 0); // DEFCOLWIDTH position, set below
    for (size_t i = 0; i < blocks.size(); ++i)
        putU32(indexBody, 0);
    if (indexBody.size() > MaxRecordBody)
        throw WorkbookError(QStringLiteral("Foaia are prea multe randuri pentru a fi scrisa."));

    QByteArray dimensions;
    putU32(dimensions, quint32(firstUsed < 0 ? 0 : firstUsed));
    putU32(dimensions, quint32(lastUsed < 0 ? 0 : lastUsed + 1));
    putU16(dimensions, quint16(firstUsed < 0 ? 0 : firstColumn));
    putU16(dimensions, quint16(columnEndValue));
    putU16(dimensions, 0);

    QByteArray out;
    qsizetype indexPos = -1;
    qsizetype defColWidthPos = -1;
    for (int i = 0; i < m_head.size(); ++i) {
        const Record& r = m_head[i];
        if (i == 0 && m_indexAt < 0) {
            r.appendTo(out);
            indexPos = out.size();
            appendRecord(out, rt::Index, indexBody);
            continue;
        }
        if (i == m_indexAt) {
            indexPos = out.size();
            appendRecord(out, rt::Index, indexBody);
            continue;
        }
        if (i == m_dimensionsAt) {
            appendRecord(out, rt::Dimensions, dimensions);
            continue;
        }
        if (r.type == rt::DefColWidth && defColWidthPos < 0)
            defColWidthPos = out.size();
        r.appendTo(out);
    }
    if (m_dimensionsAt < 0)
        appendRecord(out, rt::Dimensions, dimensions);

    // Cell table.
    QList<quint32> dbCells;
    for (const auto& [block, rows] : blocks) {
        const qsizetype firstRowPos = out.size();
        for (int r : rows) {
            const Row& row = m_rows.at(r);
            QByteArray body = row.record.isEmpty() ? defaultRowRecord() : row.record;
            setU16(body, 0, quint16(r));
            if (!row.cells.empty()) {
                setU16(body, 2, quint16(row.cells.begin()->first));
                setU16(body, 4, quint16(row.cells.rbegin()->first + 1));
            }
            appendRecord(out, rt::Row, body);
        }
        QList<quint16> offsets;
        qsizetype previous = firstRowPos + 20;
        for (int r : rows) {
            const Row& row = m_rows.at(r);
            if (row.cells.empty()) {
                offsets.append(0);
                continue;
            }
            const qsizetype start = out.size();
            offsets.append(quint16(std::min<qsizetype>(start - previous, 0xFFFF)));
            previous = start;
            writeRowCells(out, r, row.cells);
        }
        QByteArray dbCell;
        putU32(dbCell, quint32(out.size() - firstRowPos));
        for (quint16 o : offsets)
            putU16(dbCell, o);
        dbCells.append(quint32(streamOffset + out.size()));
        appendRecord(out, rt::DbCell, dbCell);
    }

    // Tail, with the merged ranges at their place, at most 1026 to a record.
    for (int i = 0; i <= m_tail.size(); ++i) {
        if (i == m_mergesAt && !m_merges.isEmpty()) {
            for (qsizetype from = 0; from < m_merges.size(); from += 1026) {
                const qsizetype n = std::min<qsizetype>(1026, m_merges.size() - from);
                QByteArray body;
                putU16(body, quint16(n));
                for (qsizetype k = from; k < from + n; ++k) {
                    putU16(body, quint16(m_merges[k].firstRow));
                    putU16(body, quint16(m_merges[k].lastRow));
                    putU16(body, quint16(m_merges[k].firstColumn));
                    putU16(body, quint16(m_merges[k].lastColumn));
                }
                appendRecord(out, rt::MergedCells, body);
            }
        }
        if (i < m_tail.size())
            m_tail[i].appendTo(out);
    }

    // INDEX: DEFCOLWIDTH and DBCELL stream positions.
    if (indexPos >= 0) {
        setU32(out, indexPos + 4 + 12, defColWidthPos < 0 ? 0 : quint32(streamOffset + defColWidthPos));
        for (int i = 0; i < dbCells.size(); ++i)
            setU32(out, indexPos + 4 + 16 + 4 * i, dbCells[i]);
    }
    return out;
}

}
