#pragma once

#include "core/Error.h"
#include "data/engine/ResultSet.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmor {
class Interaction;
namespace engine {
class Engine;
class Parameters;
}
}

namespace velmor::reports {

// Rows as UTF-8 TSV: the column names, then one line per row; numbers shortest with a point (at
// most the column's decimals, 4 for computed ones), dates dd.MM.yyyy, NULL empty, and \\ \t \r \n
// in text escaped.
QString totalsTsv(const engine::ResultSet& rows);

// The households and members the totals cover.
struct TotalsFilter {
    QString village;                   // empty: every village
    int type = 0;                      // register type 1..4; 0: any
    std::optional<std::int64_t> volume; // none: any volume
    int sex = 0;                       // 1 male, 2 female; 0: any
    bool anyBirthDate = true;          // when false, the birth date lies in [bornFrom, bornTo]
    QDate bornFrom;
    QDate bornTo;
};

// The tables the totals build, with their page and chart queries.
enum class TotalsTable { Population, Chapter2, Chapter3, Chapter4, Chapter5, Chapter6, Chapter7, Chapter8, Chapter8Net,
                         Chapter9, Chapter10 };

// Refusal to build: no household matches the filter.
class NoHouseholdsError : public Error {
public:
    using Error::Error;
};

// Adds up, over the households of a year the filter chooses, every chapter row by row into
// temporary dBase tables of a work folder (the program home for the window, a private folder for
// the command line). Values reach statements bound; areas are added in whole square metres.
class Totals {
public:
    static QString noHouseholdsMessage() { return QStringLiteral("Nici o gospodarie nu respecta toate conditiile selectate !"); }
    static QString emptyListMessage() { return QStringLiteral("Tabelul e gol. Nu aveti ce lista !"); }

    // Registers the work folder as a table root of the engine.
    Totals(engine::Engine& engine, QString dataDirectory, QString workDirectory, std::int64_t year);
    ~Totals();
    Totals(const Totals&) = delete;
    Totals& operator=(const Totals&) = delete;

    std::int64_t year() const { return m_year; }

    // The volumes the year's households are in, in order (the volume combo).
    std::vector<std::int64_t> volumes() const;
    // The household grid: LOCALIT, POZ, VOLUM, STRADA, NR, DENUMIRE, CODID ordered by LOCALIT,
    // VOLUM, POZ, following the filter.
    engine::ResultSet households(const TotalsFilter& filter) const;
    // The grid's client filter for the same households (values quoted by engine::filterText).
    static QString householdFilterText(std::int64_t year, const TotalsFilter& filter);

    // Builds every table ("Creaza Raport"), showing progress through `ui` when given. Throws
    // NoHouseholdsError, before anything is removed, when no household matches; other Errors from
    // the engine (a table built so far stays until removeTables).
    void build(const TotalsFilter& filter, Interaction* ui = nullptr);
    bool built() const { return m_built; }

    // The page query's rows of a table; the chart query's rows (hasChart tables only).
    engine::ResultSet page(TotalsTable table) const;
    static bool hasChart(TotalsTable table);
    engine::ResultSet chart(TotalsTable table) const;

    // Deletes every temporary table.
    void removeTables();

    // The file name of a table in the work folder ("Rap2.dbf").
    static QString tableFile(TotalsTable table);
    QString tablePath(TotalsTable table) const;

    // The texts of the printed forms: "LOCALIT : SAT NOU TIP : 1"; "ANUL : 2010" or "2010"; the
    // population line.
    static QString filterDescription(const TotalsFilter& filter);
    static QString yearLine(TotalsTable table, std::int64_t year);
    static QString populationLine(const TotalsFilter& filter);

private:
    QString householdCondition(const TotalsFilter& filter, const QString& prefix, engine::Parameters& parameters) const;
    QString dataTable(const char* name) const;
    QString workTable(const char* name) const;
    void removeTable(const QString& fileName);
    void create(const char* name, const char* columns);
    void append(const char* name, const std::vector<dbf::Value>& values);
    engine::ResultSet chapterSums(const char* chapter, const QString& sums, const QString& groupBy,
                                  const QString& where = QString()) const;
    void buildMembers(const TotalsFilter& filter);
    void buildChapter2();
    void buildChapter4();
    void buildCounts(const char* chapter, const char* table, const QString& groupBy);
    void buildChapter6();
    void buildChapter8();
    void buildChapter10();
    void buildChapter3();

    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_workDirectory;
    std::int64_t m_year;
    bool m_built = false;
};

}
