#pragma once

#include "register/ChapterCompletion.h"
#include "register/ChapterRows.h"

#include <QObject>

namespace velmor {

struct AppContext;

// The logic of one chapter page (chapters 2 to 10) of the household register editor: opening the
// household's chapter (CompleteazaCapitol and the load-time computations), the row being edited,
// saving it with the chapter's after-save computations and checks, and leaving the page (StopCap).
// Values are checked against the grid's limits before they are taken; computed rows refuse
// editing; nothing can be edited while the program is locked. Messages go through the context's
// interaction seam, anchored at the grid named gridName().
class ChapterSession : public QObject {
    Q_OBJECT
public:
    ChapterSession(AppContext& ctx, int chapter, QObject* parent = nullptr);

    int chapter() const { return m_chapter; }
    const ChapterLayout& layout() const { return ChapterLayout::of(m_chapter); }
    QString gridName() const { return QStringLiteral("DBGridCap%1").arg(m_chapter); }

    // Opens the chapter of a household: completes its rows, runs the load-time computations and
    // saves what they changed, then shows the chapter 3 check's message and any kept duplicates.
    // A failing completion is reported and the rows the table holds are shown.
    void open(qint64 codid);
    // Leaves the page: the row being edited is saved (a refusal is reported and the edit
    // dropped), then the chapter is closed.
    void StopCap();
    bool isOpen() const { return m_open; }
    qint64 codid() const { return m_codid; }

    const ChapterRows& rows() const { return m_rows; }
    int rowCount() const { return m_rows.size(); }
    // The row as shown: the pending edit when the row is being edited.
    const ChapterRow& row(int index) const;
    const CompletionReport& completion() const { return m_completion; }

    bool unlocked() const { return m_unlocked; }
    void setUnlocked(bool unlocked) { m_unlocked = unlocked; }

    bool isComputedRow(int index) const;
    // Whether a cell can be edited; starting an edit in a computed row is refused (chapter 7 row 1
    // says so in a balloon).
    bool canEdit(int index, const QString& field, bool tellUser = true);
    // Why a value cannot be typed into a column ("" when it can): beyond the limit, too many
    // decimals, negative, text too long.
    static QString refusal(const ChapterColumn& column, const dbf::Value& value);
    // Puts a typed value into the row being edited (moving to another row saves the previous one
    // first). False, and nothing changed, when it cannot be edited or the value is refused (the
    // reason is shown in a balloon at the grid).
    bool setValue(int index, const QString& field, const dbf::Value& value);
    bool hasPending() const { return m_pendingIndex >= 0; }
    int pendingIndex() const { return m_pendingIndex; }
    // Saves the row being edited and runs the after-save computations. A save whose totals do not
    // fit, or that the table refuses, is reported; the edit is dropped and every row keeps the
    // value it had. True when nothing was pending or the row was saved.
    bool post();
    void cancel();

    // The year whose constructions are checked (chapter 10); the current year by default.
    void setCurrentYear(int year) { m_currentYear = year; }

signals:
    // Rows were loaded, saved or recomputed: the grid shows them again.
    void rowsChanged();

private:
    QStringList afterSave(ChapterRows& rows, int saved, QString& message);
    void showWarnings(const QStringList& warnings);
    void reload();

    AppContext& m_ctx;
    int m_chapter;
    bool m_open = false;
    bool m_unlocked = true;
    qint64 m_codid = 0;
    qint64 m_year = 0; // the working year the session was opened in
    ChapterRows m_rows;
    CompletionReport m_completion;
    int m_pendingIndex = -1;
    ChapterRow m_pending;
    int m_currentYear = 0;
};

// The message shown for duplicate rows that all hold data.
QString keptDuplicatesMessage(const QList<KeptDuplicates>& kept);

}
