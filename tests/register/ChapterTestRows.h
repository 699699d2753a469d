#pragma once

#include "register/ChapterRows.h"

#include "data/ChapterCatalogue.h"

namespace velmor::test {

// A household's complete chapter in memory: the catalogue rows with zero values, record numbers
// 1, 2, ...
inline ChapterRows catalogueRows(int chapter)
{
    const ChapterLayout& layout = ChapterLayout::of(chapter);
    QList<ChapterRow> rows;
    for (int position = 1; position <= data::chapterRowCount(chapter); ++position) {
        ChapterRow row;
        row.record = position;
        row.code = data::chapterRowCode(chapter, position);
        row.name = data::chapterRowName(chapter, position);
        for (const ChapterColumn& c : layout.columns)
            row.values.insert(c.field, c.isNumeric() ? dbf::Value(0.0) : dbf::Value(QString()));
        rows << row;
    }
    return ChapterRows(chapter, rows);
}

// Sets a pair of a row addressed by its whole code.
inline void setPair(ChapterRows& rows, int code, const QString& pair, double ha, double ari)
{
    rows.at(code)->setNumber(ChapterLayout::haField(pair), ha);
    rows.at(code)->setNumber(ChapterLayout::ariField(pair), ari);
}

inline int indexOfCode(const ChapterRows& rows, int code)
{
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.rows()[i].codeTenths() == code * 10)
            return i;
    }
    return -1;
}

}
