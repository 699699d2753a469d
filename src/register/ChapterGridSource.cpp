#include "register/ChapterGridSource.h"

#include "register/ChapterRules.h"

namespace velmor {

ChapterGridSource::ChapterGridSource(ChapterSession& session)
    : m_session(session)
{
    rebuild();
}

grid::DisplayFormat ChapterGridSource::aresFormat(bool squareMetres)
{
    return squareMetres ? grid::DisplayFormat::upTo(2) : grid::DisplayFormat::wholeNumber();
}

QList<grid::EditableColumn> ChapterGridSource::columnsFor(int chapter, bool squareMetres)
{
    const ChapterLayout& layout = ChapterLayout::of(chapter);
    QList<grid::EditableColumn> columns;
    for (const ChapterGridColumn& g : layout.gridColumns) {
        grid::EditableColumn c;
        c.description.field = g.field;
        c.description.heading = g.heading;
        c.description.width = g.width;
        c.description.editable = g.editable;
        c.group = g.group;
        switch (g.kind) {
        case ChapterColumn::Kind::Hectares:
        case ChapterColumn::Kind::Count:
            c.description.format = grid::DisplayFormat::wholeNumber();
            break;
        case ChapterColumn::Kind::Ares:
            c.description.format = aresFormat(squareMetres);
            break;
        case ChapterColumn::Kind::Decimal:
            c.description.format = grid::DisplayFormat::upTo(g.field == QLatin1String("RAND") ? 1 : 2);
            c.zeroAsEmpty = g.field != QLatin1String("RAND");
            break;
        case ChapterColumn::Kind::Text:
            c.description.format = grid::DisplayFormat::text();
            break;
        }
        if (const ChapterColumn* stored = layout.column(g.field)) {
            c.maxDigits = stored->typedDigits;
            c.maxDecimals = stored->typedDecimals;
        }
        columns << c;
    }
    return columns;
}

void ChapterGridSource::rebuild()
{
    m_rows.clear();
    const ChapterRows& rows = m_session.rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (m_session.chapter() == 10) {
            const int tenths = rows.rows()[i].codeTenths();
            if (tenths % 30 == 10 && tenths <= 100)
                m_rows << GridRow {-1, QStringLiteral("Case de locuit ") + constructionHouse(tenths / 10) + QLatin1Char(')')};
        }
        m_rows << GridRow {i, QString()};
    }
}

int ChapterGridSource::sessionRow(int gridRow) const
{
    return gridRow >= 0 && gridRow < m_rows.size() ? m_rows[gridRow].sessionRow : -1;
}

int ChapterGridSource::gridRow(int sessionRow) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].sessionRow == sessionRow)
            return i;
    }
    return -1;
}

grid::RowKind ChapterGridSource::rowKind(int row) const
{
    const int s = sessionRow(row);
    if (s < 0)
        return grid::RowKind::Heading;
    return m_session.isComputedRow(s) ? grid::RowKind::Computed : grid::RowKind::Input;
}

QString ChapterGridSource::headingText(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].heading : QString();
}

dbf::Value ChapterGridSource::value(int row, const QString& field) const
{
    const int s = sessionRow(row);
    if (s < 0)
        return {};
    const ChapterRow& r = m_session.row(s);
    if (field == QLatin1String("CATEG"))
        return r.name;
    if (field == QLatin1String("RAND"))
        return r.code;
    if (field == QLatin1String("NUME"))
        return constructionRowName(r.codeTenths() / 10);
    if (m_session.chapter() == 2 && (field.startsWith(QLatin1Char('T')) || field.startsWith(QLatin1Char('E')))) {
        const area::HaAri pair = field.startsWith(QLatin1Char('T')) ? chapter_rules::totalOfCap2Row(r) : chapter_rules::outsideOfCap2Row(r);
        return field.endsWith(QLatin1String("HA")) ? dbf::Value(double(pair.ha)) : dbf::Value(pair.ari);
    }
    return r.values.value(field);
}

bool ChapterGridSource::canEdit(int row, const QString& field)
{
    return m_session.canEdit(sessionRow(row), field);
}

bool ChapterGridSource::setValue(int row, const QString& field, const dbf::Value& value)
{
    return m_session.setValue(sessionRow(row), field, value);
}

}
