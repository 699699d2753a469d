#pragma once

#include "register/ChapterSession.h"

#include "grid/EditableGridModel.h"

#include <QList>

namespace velmor {

// A chapter's rows as an editable grid shows them: the session's rows (computed rows marked as
// such), chapter 10's house groups as heading rows, chapter 2's total and outside-built-up
// columns computed for each row, and the columns with their limits and formats. The ares of the
// area chapters show square metres (two decimals) when `squareMetres` is set.
class ChapterGridSource : public grid::EditableRowSource {
public:
    explicit ChapterGridSource(ChapterSession& session);

    // The grid's columns for the chapter.
    static QList<grid::EditableColumn> columnsFor(int chapter, bool squareMetres);
    // The format of an ares column under the square-metre switch.
    static grid::DisplayFormat aresFormat(bool squareMetres);

    // Rebuilds the row map after the session's rows changed.
    void rebuild();
    // Row of the session behind a grid row; -1 for a heading.
    int sessionRow(int gridRow) const;
    // Grid row of a session row.
    int gridRow(int sessionRow) const;

    int rowCount() const override { return int(m_rows.size()); }
    grid::RowKind rowKind(int row) const override;
    QString headingText(int row) const override;
    dbf::Value value(int row, const QString& field) const override;
    bool canEdit(int row, const QString& field) override;
    bool setValue(int row, const QString& field, const dbf::Value& value) override;
    bool readOnly() const override { return !m_session.unlocked(); }

private:
    struct GridRow {
        int sessionRow = -1;
        QString heading;
    };
    ChapterSession& m_session;
    QList<GridRow> m_rows;
};

// The settings key of the square-metre switch: CONST/BIFCAP2 = "DA" or "NU".
inline const char* const SquareMetreSection = "CONST";
inline const char* const SquareMetreKey = "BIFCAP2";

}
