#pragma once

#include "register/ChapterLayout.h"

#include "data/dbf/DbfValue.h"
#include "domain/AreaMetres.h"

#include <QHash>
#include <QList>
#include <QString>

#include <cmath>

namespace velmor {

namespace engine {
class Engine;
}

// One row of a household's chapter, as read from its table.
struct ChapterRow {
    qint64 record = -1; // record number in the table file
    double code = 0;    // RAND
    QString name;       // CATEG
    // Stored value columns by field name; numbers are held as reals, blank fields as null.
    QHash<QString, dbf::Value> values;

    // Row code x 10, rounded: exact for the one-decimal codes of chapter 7.
    int codeTenths() const { return int(std::lround(code * 10.0)); }
    double number(const QString& field) const;
    void setNumber(const QString& field, double value) { values[field] = value; }
    QString text(const QString& field) const;
    // Square metres of an area pair ("A", "B", ... or "" for HA/ARI).
    qint64 metres(const QString& pair) const;
    void setArea(const QString& pair, qint64 squareMetres);
    void setArea(const QString& pair, const area::HaAri& value);
    // True when every value column is zero, blank or empty.
    bool holdsNothing() const;
    // The same code and values (within a rounding tolerance).
    bool sameValues(const ChapterRow& other) const;
};

// The rows of one chapter of one household, in RAND order, addressed by their code.
class ChapterRows {
public:
    ChapterRows() = default;
    ChapterRows(int chapter, QList<ChapterRow> rows);

    int chapter() const { return m_chapter; }
    const ChapterLayout& layout() const { return ChapterLayout::of(m_chapter); }
    QList<ChapterRow>& rows() { return m_rows; }
    const QList<ChapterRow>& rows() const { return m_rows; }
    int size() const { return int(m_rows.size()); }

    // The first row with a code (x 10); null when the household has none.
    ChapterRow* byCode(int codeTenths);
    const ChapterRow* byCode(int codeTenths) const;
    // Of a whole code (1, 2, ...), the catalogue position's row in chapter 7 included.
    ChapterRow* at(int code) { return byCode(code * 10); }
    const ChapterRow* at(int code) const { return byCode(code * 10); }
    // The row of a catalogue position.
    ChapterRow* atPosition(int position);
    const ChapterRow* atPosition(int position) const;

    // Square metres of a pair in the row of a whole code; 0 when the row is missing.
    qint64 metres(int code, const QString& pair) const;
    double number(int code, const QString& field) const;

private:
    int m_chapter = 0;
    QList<ChapterRow> m_rows;
};

// The household's rows of a chapter table, read and written through the engine by CODID and
// record number (so duplicate codes stay apart).
class ChapterStore {
public:
    // Every statement is limited to the rows of `year`.
    ChapterStore(engine::Engine& engine, QString tablePath, int chapter, qint64 year);

    const QString& tablePath() const { return m_path; }

    ChapterRows load(qint64 codid) const;
    // Writes the value columns of a row (chapter 11: MENTIUNI). Throws SqlError.
    void write(qint64 codid, const ChapterRow& row) const;
    void remove(qint64 codid, qint64 record) const;

private:
    engine::Engine& m_engine;
    QString m_path;
    int m_chapter;
    qint64 m_year;
};

}

namespace velmor {

// The rows of `after` whose values differ from the row of the same record in `before`.
QList<const ChapterRow*> changedRows(const ChapterRows& before, const ChapterRows& after);
// The message for the first changed value that its column cannot hold ("" when all fit): nothing
// is written then.
QString overflowMessage(const ChapterRows& before, const ChapterRows& after);
// Writes the changed rows; returns how many. Check overflowMessage first.
int writeChanges(const ChapterStore& store, qint64 codid, const ChapterRows& before, const ChapterRows& after);

}
