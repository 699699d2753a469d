#include "workbook/Workbook.h"

#include "workbook/WorkbookError.h"

#include <QDir>

#include <cmath>

namespace velmor::workbook {

struct Workbook::Part {
    Substream raw;                 // parts the engine does not edit (charts, modules)
    std::optional<Sheet> sheet;    // worksheets and macro sheets
};

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

bool isWorksheet(quint16 kind) { return kind == 0x0010 || kind == 0x0040; }

}

Workbook::Workbook(const QString& path)
    : m_name(path)
{
    load(CompoundFile::read(path));
}

Workbook::Workbook(const QByteArray& bytes, const QString& name)
    : m_name(name)
{
    load(CompoundFile::fromBytes(bytes, name));
}

Workbook::~Workbook() = default;
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;

void Workbook::load(CompoundFile file)
{
    m_file = std::move(file);
    const CompoundFile::Entry* stream = m_file.topStream(QStringLiteral("Workbook"));
    if (!stream) {
        if (m_file.topStream(QStringLiteral("Book")))
            throw WorkbookError(QStringLiteral("Fisierul %1 este in formatul Excel 5/95; salvati-l ca Excel 97-2003.").arg(native(m_name)));
        throw WorkbookError(QStringLiteral("Fisierul %1 nu este un registru Excel (nu are foi de calcul).").arg(native(m_name)));
    }
    m_streamName = stream->path;
    try {
        QList<Substream> parts = readSubstreams(stream->data);
        m_globals = parts.takeFirst();
        for (const Record& r : m_globals.records) {
            if (r.type == rt::Sst)
                m_strings.read(r);
        }
        for (Substream& p : parts) {
            auto part = std::make_unique<Part>();
            if (isWorksheet(p.kind()))
                part->sheet.emplace(p);
            part->raw = std::move(p);
            if (part->sheet)
                part->raw.records.clear(); // the sheet holds them now
            m_parts.push_back(std::move(part));
        }
        for (int i = 0; i < m_globals.records.size(); ++i) {
            const Record& r = m_globals.records[i];
            if (r.type != rt::BoundSheet)
                continue;
            if (r.body.size() < 8)
                throw WorkbookError(QStringLiteral("Fisierul Excel este deteriorat: descrierea unei foi este prea scurta."));
            const qsizetype offset = getU32(r.body, 0);
            int found = -1;
            for (int k = 0; k < int(m_parts.size()); ++k) {
                if (m_parts[size_t(k)]->raw.offset == offset)
                    found = k;
            }
            if (found < 0)
                throw WorkbookError(QStringLiteral("Fisierul Excel este deteriorat: o foaie nu este unde o arata registrul."));
            m_sheetParts.append(found);
            m_boundSheets.append(i);
        }
    } catch (const WorkbookError& e) {
        throw WorkbookError(QStringLiteral("%1\n(%2)").arg(e.message(), native(m_name)));
    }
    if (m_sheetParts.isEmpty())
        throw WorkbookError(QStringLiteral("Registrul %1 nu are nicio foaie.").arg(native(m_name)));
    selectSheet(1);
}

QString Workbook::sheetName(int number) const
{
    const int i = toIndex(number, "foaia");
    if (i >= m_boundSheets.size())
        return {};
    ByteReader in(m_globals.records[m_boundSheets[i]].body, 6);
    const quint8 count = in.u8();
    const quint8 flags = in.u8();
    QString name;
    for (int k = 0; k < count; ++k)
        name.append(QChar((flags & 1) ? in.u16() : in.u8()));
    return name;
}

int Workbook::toIndex(int number, const char* what)
{
    if (number < 1)
        throw WorkbookError(QStringLiteral("Numarul %1 nu este valid pentru %2.").arg(number).arg(QLatin1String(what)));
    return number - 1;
}

void Workbook::selectSheet(int number)
{
    const int i = toIndex(number, "foaia");
    if (i >= m_sheetParts.size())
        throw WorkbookError(QStringLiteral("Registrul %1 nu are foaia %2.").arg(native(m_name)).arg(number));
    if (!m_parts[size_t(m_sheetParts[i])]->sheet)
        throw WorkbookError(QStringLiteral("Foaia %1 a registrului %2 nu este o foaie de calcul.").arg(number).arg(native(m_name)));
    m_selected = m_sheetParts[i];
}

Sheet& Workbook::sheet()
{
    return *m_parts[size_t(m_selected)]->sheet;
}

const Sheet& Workbook::sheet() const
{
    return *m_parts[size_t(m_selected)]->sheet;
}

CellValue Workbook::cell(int row, int column) const
{
    const Cell* c = sheet().cell(toIndex(row, "rand"), toIndex(column, "coloana"));
    CellValue value;
    if (!c)
        return value;
    switch (c->kind) {
    case Cell::Kind::Blank:
        return value;
    case Cell::Kind::Number:
    case Cell::Kind::Rk:
        value.kind = CellValue::Kind::Number;
        value.number = c->number;
        break;
    case Cell::Kind::Text:
        value.kind = CellValue::Kind::Text;
        break;
    case Cell::Kind::Other:
        value.kind = c->raw.first().type == rt::Label || c->raw.first().type == rt::RString ? CellValue::Kind::Text
                                                                                              : CellValue::Kind::Other;
        break;
    }
    value.text = sheet().displayText(row - 1, column - 1, m_strings);
    return value;
}

QString Workbook::text(int row, int column) const
{
    return sheet().displayText(toIndex(row, "rand"), toIndex(column, "coloana"), m_strings);
}

void Workbook::setText(int row, int column, const QString& text)
{
    const int r = toIndex(row, "rand");
    const int c = toIndex(column, "coloana");
    if (text.size() > 32767)
        throw WorkbookError(QStringLiteral("Textul pentru celula %1:%2 este prea lung.").arg(row).arg(column));
    sheet().setText(r, c, m_strings.indexOf(text));
}

void Workbook::setNumber(int row, int column, double value)
{
    if (!std::isfinite(value))
        throw WorkbookError(QStringLiteral("Valoarea pentru celula %1:%2 nu este un numar.").arg(row).arg(column));
    sheet().setNumber(toIndex(row, "rand"), toIndex(column, "coloana"), value);
}

void Workbook::clearCell(int row, int column)
{
    sheet().clear(toIndex(row, "rand"), toIndex(column, "coloana"));
}

int Workbook::lastRow() const { return sheet().rowEnd(); }
int Workbook::lastColumn() const { return sheet().columnEnd(); }

QList<CellRange> Workbook::mergedRanges() const
{
    QList<CellRange> ranges = sheet().mergedRanges();
    for (CellRange& r : ranges) {
        ++r.firstRow;
        ++r.lastRow;
        ++r.firstColumn;
        ++r.lastColumn;
    }
    return ranges;
}

void Workbook::insertRowCopies(int first, int last, int at, int times)
{
    sheet().insertRowCopies(toIndex(first, "rand"), toIndex(last, "rand"), toIndex(at, "rand"), times);
}

void Workbook::deleteRows(int first, int count)
{
    sheet().deleteRows(toIndex(first, "rand"), count);
}

QByteArray Workbook::workbookStream() const
{
    quint32 refs = 0;
    for (const auto& part : m_parts) {
        if (part->sheet) {
            refs += part->sheet->sharedStringRefs();
        } else {
            for (const Record& r : part->raw.records)
                refs += r.type == rt::LabelSst ? 1 : 0;
        }
    }

    QByteArray out;
    QList<qsizetype> boundSheetAt;
    bool sstWritten = false;
    for (int i = 0; i < m_globals.records.size(); ++i) {
        const Record& r = m_globals.records[i];
        if (r.type == rt::ExtSst)
            continue;
        if (r.type == rt::Sst || (r.type == rt::Eof && i == m_globals.records.size() - 1 && !sstWritten && m_strings.count() > 0)) {
            out.append(m_strings.serialize(out.size(), refs));
            sstWritten = true;
            if (r.type == rt::Sst)
                continue;
        }
        if (r.type == rt::BoundSheet)
            boundSheetAt.append(out.size());
        r.appendTo(out);
    }

    QList<qsizetype> partOffsets;
    for (const auto& part : m_parts) {
        partOffsets.append(out.size());
        if (part->sheet) {
            out.append(part->sheet->serialize(out.size()));
        } else {
            for (const Record& r : part->raw.records)
                r.appendTo(out);
        }
    }
    for (int k = 0; k < boundSheetAt.size(); ++k)
        setU32(out, boundSheetAt[k] + 4, quint32(partOffsets[m_sheetParts[k]]));
    return out;
}

void Workbook::saveAs(const QString& path) const
{
    CompoundFile file = m_file;
    file.setStream(m_streamName, workbookStream());
    file.write(path);
}

}
