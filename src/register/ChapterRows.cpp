#include "register/ChapterRows.h"

#include "data/dbf/ValueConversions.h"

#include "data/ChapterCatalogue.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"

#include <algorithm>

namespace velmor {

double ChapterRow::number(const QString& field) const
{
    const auto it = values.constFind(field);
    return it == values.cend() ? 0 : dbf::toReal(*it);
}

QString ChapterRow::text(const QString& field) const
{
    const auto it = values.constFind(field);
    if (it == values.cend())
        return QString();
    if (const auto* s = std::get_if<QString>(&*it))
        return *s;
    return QString();
}

qint64 ChapterRow::metres(const QString& pair) const
{
    return area::metres(number(ChapterLayout::haField(pair)), number(ChapterLayout::ariField(pair)));
}

void ChapterRow::setArea(const QString& pair, qint64 squareMetres)
{
    setArea(pair, area::split(squareMetres));
}

void ChapterRow::setArea(const QString& pair, const area::HaAri& value)
{
    setNumber(ChapterLayout::haField(pair), double(value.ha));
    setNumber(ChapterLayout::ariField(pair), value.ari);
}

bool ChapterRow::holdsNothing() const
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (dbf::isNull(*it))
            continue;
        if (const auto* s = std::get_if<QString>(&*it)) {
            if (!s->trimmed().isEmpty())
                return false;
        } else if (std::abs(dbf::toReal(*it)) > 1e-9) {
            return false;
        }
    }
    return true;
}

bool ChapterRow::sameValues(const ChapterRow& other) const
{
    if (codeTenths() != other.codeTenths() || values.size() != other.values.size())
        return false;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const auto there = other.values.constFind(it.key());
        if (there == other.values.cend())
            return false;
        if (dbf::isNull(*it) != dbf::isNull(*there))
            return false;
        const auto* a = std::get_if<QString>(&*it);
        const auto* b = std::get_if<QString>(&*there);
        if (a || b) {
            if (!a || !b || *a != *b)
                return false;
        } else if (std::abs(dbf::toReal(*it) - dbf::toReal(*there)) > 1e-6) {
            return false;
        }
    }
    return true;
}

ChapterRows::ChapterRows(int chapter, QList<ChapterRow> rows)
    : m_chapter(chapter)
    , m_rows(std::move(rows))
{
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const ChapterRow& a, const ChapterRow& b) { return a.codeTenths() < b.codeTenths(); });
}

ChapterRow* ChapterRows::byCode(int codeTenths)
{
    for (ChapterRow& row : m_rows) {
        if (row.codeTenths() == codeTenths)
            return &row;
    }
    return nullptr;
}

const ChapterRow* ChapterRows::byCode(int codeTenths) const
{
    return const_cast<ChapterRows*>(this)->byCode(codeTenths);
}

ChapterRow* ChapterRows::atPosition(int position)
{
    return byCode(data::chapterRowCodeTenths(m_chapter, position));
}

const ChapterRow* ChapterRows::atPosition(int position) const
{
    return const_cast<ChapterRows*>(this)->atPosition(position);
}

qint64 ChapterRows::metres(int code, const QString& pair) const
{
    const ChapterRow* row = at(code);
    return row ? row->metres(pair) : 0;
}

double ChapterRows::number(int code, const QString& field) const
{
    const ChapterRow* row = at(code);
    return row ? row->number(field) : 0;
}

ChapterStore::ChapterStore(engine::Engine& engine, QString tablePath, int chapter, qint64 year)
    : m_engine(engine)
    , m_path(std::move(tablePath))
    , m_chapter(chapter)
    , m_year(year)
{
}

ChapterRows ChapterStore::load(qint64 codid) const
{
    const ChapterLayout& layout = ChapterLayout::of(m_chapter);
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("CODID"), std::int64_t(codid));
    parameters.bind(QStringLiteral("ANUL"), std::int64_t(m_year));
    const engine::ResultSet result = m_engine.select(QStringLiteral("SELECT rowid AS RECNO, * FROM ") + engine::quotedPath(m_path)
                                                         + QStringLiteral(" WHERE CODID=:CODID AND ANUL=:ANUL"),
                                                     parameters);
    const int recno = result.fieldIndex(QStringLiteral("RECNO"));
    const int rand = result.fieldIndex(QStringLiteral("RAND"));
    const int categ = result.fieldIndex(QStringLiteral("CATEG"));
    QList<std::pair<QString, int>> valueFields;
    for (const ChapterColumn& c : layout.columns)
        valueFields.append({c.field, result.fieldIndex(c.field)});
    QList<ChapterRow> rows;
    rows.reserve(qsizetype(result.rows.size()));
    for (const auto& values : result.rows) {
        ChapterRow row;
        row.record = qint64(dbf::toReal(values[size_t(recno)]));
        if (rand >= 0)
            row.code = dbf::toReal(values[size_t(rand)]);
        if (categ >= 0) {
            if (const auto* s = std::get_if<QString>(&values[size_t(categ)]))
                row.name = *s;
        }
        for (const auto& [field, index] : valueFields) {
            if (index < 0)
                continue;
            const dbf::Value& v = values[size_t(index)];
            const ChapterColumn* column = layout.column(field);
            if (column->isNumeric() && !dbf::isNull(v))
                row.values.insert(field, dbf::toReal(v));
            else
                row.values.insert(field, v);
        }
        rows << row;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ChapterRow& a, const ChapterRow& b) { return a.record < b.record; });
    return ChapterRows(m_chapter, std::move(rows));
}

void ChapterStore::write(qint64 codid, const ChapterRow& row) const
{
    const ChapterLayout& layout = ChapterLayout::of(m_chapter);
    engine::Parameters parameters;
    QStringList sets;
    for (const ChapterColumn& c : layout.columns) {
        if (!row.values.contains(c.field))
            continue;
        sets << c.field + QStringLiteral("=:") + c.field;
        const dbf::Value& v = row.values.value(c.field);
        if (c.isNumeric() && !dbf::isNull(v)) {
            const double number = row.number(c.field);
            if (c.decimals == 0)
                parameters.bind(c.field, std::int64_t(std::llround(number)));
            else
                parameters.bind(c.field, number);
        } else {
            parameters.bind(c.field, v);
        }
    }
    if (sets.isEmpty())
        return;
    parameters.bind(QStringLiteral("CODID"), std::int64_t(codid));
    parameters.bind(QStringLiteral("RECNO"), std::int64_t(row.record));
    parameters.bind(QStringLiteral("ANUL"), std::int64_t(m_year));
    m_engine.execute(QStringLiteral("UPDATE ") + engine::quotedPath(m_path) + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
                         + QStringLiteral(" WHERE CODID=:CODID AND ANUL=:ANUL AND rowid=:RECNO"),
                     parameters);
}

void ChapterStore::remove(qint64 codid, qint64 record) const
{
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("CODID"), std::int64_t(codid));
    parameters.bind(QStringLiteral("RECNO"), std::int64_t(record));
    parameters.bind(QStringLiteral("ANUL"), std::int64_t(m_year));
    m_engine.execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(m_path)
                         + QStringLiteral(" WHERE CODID=:CODID AND ANUL=:ANUL AND rowid=:RECNO"),
                     parameters);
}

}

namespace velmor {

QList<const ChapterRow*> changedRows(const ChapterRows& before, const ChapterRows& after)
{
    QHash<qint64, const ChapterRow*> old;
    for (const ChapterRow& row : before.rows())
        old.insert(row.record, &row);
    QList<const ChapterRow*> changed;
    for (const ChapterRow& row : after.rows()) {
        const ChapterRow* was = old.value(row.record);
        if (!was || !was->sameValues(row))
            changed << &row;
    }
    return changed;
}

QString overflowMessage(const ChapterRows& before, const ChapterRows& after)
{
    const ChapterLayout& layout = after.layout();
    for (const ChapterRow* row : changedRows(before, after)) {
        for (const ChapterColumn& c : layout.columns) {
            if (!c.isNumeric() || !row->values.contains(c.field) || dbf::isNull(row->values.value(c.field)))
                continue;
            const double value = row->number(c.field);
            if (!c.fits(value)) {
                return QStringLiteral("Valoarea %1 calculata la linia cod %2 nu incape in coloana \"%3\" !")
                           .arg(dbf::decimalText(value, c.decimals), dbf::decimalText(row->code, 1), layout.caption(c.field))
                       + QLatin1Char('\r') + QStringLiteral("Modificarea nu a fost salvata.");
            }
        }
    }
    return QString();
}

int writeChanges(const ChapterStore& store, qint64 codid, const ChapterRows& before, const ChapterRows& after)
{
    const QList<const ChapterRow*> changed = changedRows(before, after);
    for (const ChapterRow* row : changed)
        store.write(codid, *row);
    return int(changed.size());
}

}
