#pragma once

#include "core/Error.h"
#include "data/engine/ResultSet.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace velmor::engine {
class Engine;
class Parameters;
}

namespace velmor::search {

// Lists of the heads of household of a year by what they own: the rows a chapter offers, the
// advanced list (columns and conditions over several chapter rows) and the selection list of one
// chapter row. Values reach statements bound; areas are added and compared in whole square metres.

// The chapters the lists offer, in the order of the chapter selector: 1, 2, 3, 4, 5, 7, 8, 9, 10.
const std::vector<int>& listChapters();
// The selector text of a chapter ("CAP   2. - Terenuri in proprietate"); empty for one not offered.
QString listChapterText(int chapter);
bool isListChapter(int chapter);

// One row a chapter offers: its code and its catalogue name.
struct ListRow {
    double code = 0;
    QString name;
};

// The households both ways choose from.
struct ListFilter {
    QString village;                    // empty: every village
    int type = 0;                       // register type 1..4; 0: any
    std::optional<std::int64_t> volume; // none: any volume
};

// Where a refusal points in the lists window.
enum class RefusalAnchor { ColumnAdd, ColumnRemove, ConditionAdd, ConditionRemove, Minimum, Row, Bound };

// A request the lists refuse, with the window's message and the control it concerns.
class ListRefusal : public Error {
public:
    ListRefusal(const QString& message, RefusalAnchor anchor)
        : Error(message)
        , m_anchor(anchor)
    {
    }
    RefusalAnchor anchor() const { return m_anchor; }

private:
    RefusalAnchor m_anchor;
};

// Messages of the lists.
QString columnTakenMessage(const QString& name);
QString conditionTakenMessage(const QString& name);
QString noConditionMessage();
QString noRowMessage();
QString notANumberMessage(const QString& text);
QString rowNotOfferedMessage(int chapter, const QString& code);

// A row code as statements and column names write it: "14.1", "3".
QString rowCodeText(double code);
// A row name as a list item shows it: trimmed, blanks reduced, leading non-letters removed
// ("> din care: sub 6 luni" gives "din care: sub 6 luni").
QString itemName(const QString& rowName);
// A bound as typed: empty gives none; a text that is not a number is refused (RefusalAnchor::Bound).
std::optional<double> parseBound(const QString& text);

// The rows of the chapters for one year, from the catalogue and the year's data.
class RowLists {
public:
    RowLists(engine::Engine& engine, QString dataDirectory, std::int64_t year);

    // In code order, each catalogue code present in the year's rows once, under the catalogue's
    // name (a code outside the catalogue is not offered). Chapter 1 offers its one row, chapter 10
    // the ten fixed names with codes 1..10.
    std::vector<ListRow> rows(int chapter) const;
    // The offered row of a code; refused (RefusalAnchor::Row) when the year does not offer it.
    ListRow offered(int chapter, double code) const;

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
    std::int64_t m_year;
};

// One item of the advanced lists: a chapter row and, for a condition, its bounds as typed.
struct ListItem {
    int chapter = 0;
    double code = 0;
    QString name;
    QString minimum;
    QString maximum;

    QString codeText() const { return rowCodeText(code); }
    // "C" + chapter + code with "." as "_" (chapter 7 row 14.1: "C714_1").
    QString columnName() const;
    // The result columns the item gives (chapter 2: four areas, chapter 8: two half-years);
    // chapter 1: CODSEX.
    QStringList columnNames() const;
};

// The columns and conditions of the advanced list. The first three columns (village, head of
// household, personal code) are always there.
class ListChoices {
public:
    ListChoices();

    const std::vector<ListItem>& columns() const { return m_columns; }
    const std::vector<ListItem>& conditions() const { return m_conditions; }
    static constexpr int fixedColumns = 3;

    // Refused with "Coloana ... este deja adaugata!" when the row is a column already.
    void addColumn(int chapter, const ListRow& row);
    // Refused with "Nu ati pus nici o conditie!" when both bounds are empty, with a message naming
    // the text when a bound is not a number, and with "Randul ... mai este deja adaugat!" when the
    // row is a condition already. Conditions are kept sorted by their text.
    void addCondition(int chapter, const ListRow& row, const QString& minimum, const QString& maximum);
    // Refused for no selection (-1) and for one of the first three columns.
    void removeColumn(int index);
    // Refused for an empty list and for no selection (-1).
    void removeCondition(int index);
    // Keeps the three fixed columns only and no condition ("Anulare filtrare avansata").
    void clear();

    // True when the list is the advanced one: a column beyond the fixed three or a condition.
    bool advanced() const { return m_columns.size() + m_conditions.size() >= 4; }

    // Index of the item of a chapter and code; -1 when there is none.
    static int find(const std::vector<ListItem>& items, int chapter, double code);

private:
    std::vector<ListItem> m_columns;
    std::vector<ListItem> m_conditions;
};

// Builds the advanced list in temporary tables of a work folder (the program home for the window,
// a private folder for the command line) and returns its rows: LOCALIT, NUMEP, CNP, [CODSEX], then
// the columns of the chosen items, by village and name.
class AdvancedList {
public:
    // Registers the work folder as a table root of the engine.
    AdvancedList(engine::Engine& engine, QString dataDirectory, QString workDirectory, std::int64_t year);

    engine::ResultSet build(const ListChoices& choices, const ListFilter& filter);

    static QStringList tableFiles(); // ListCap.dbf, ListBig.dbf, ListRez.dbf
    // Deletes the temporary tables.
    void removeTables();

private:
    engine::ResultSet buildTables(const ListChoices& choices, const ListFilter& filter);
    void removeTable(const QString& file);
    QString workTable(const QString& file) const;
    QString dataTable(const QString& file) const;

    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_workDirectory;
    std::int64_t m_year;
};

// One selection list: its rows, the sums of its value columns and the form's texts.
struct SelectionResult {
    int chapter = 0;
    ListRow row;
    engine::ResultSet rows;
    QStringList valueColumns;           // the summed columns (chapter 1: none; persons are counted)
    std::vector<dbf::Value> totals;     // one per value column; chapter 1: the number of persons
    QString subject;
    QString filterLine;
};

// The printed list of the heads of household (chapter 1: every member of their households) that
// have, at one chapter row, a value within optional bounds.
class SelectionList {
public:
    SelectionList(engine::Engine& engine, QString dataDirectory, std::int64_t year);

    // Bounds as typed (empty: no bound; refused when not a number).
    SelectionResult build(int chapter, const ListRow& row, const QString& minimum, const QString& maximum,
                          const ListFilter& filter) const;

    static QString subjectLine(int chapter, const ListRow& row, const ListFilter& filter);
    static QString filterLine(int chapter, const ListFilter& filter);

private:
    QString dataTable(const QString& file) const;
    QString headsCondition(const ListFilter& filter, engine::Parameters& parameters) const;
    QString dwellingStatement(const ListRow& row, std::optional<double> minimum, std::optional<double> maximum,
                              const QString& heads, const QString& head, engine::Parameters& p) const;
    static void addTotals(SelectionResult& result);

    engine::Engine& m_engine;
    QString m_dataDirectory;
    std::int64_t m_year;
};

}
