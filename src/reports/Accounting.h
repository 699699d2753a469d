#pragma once

#include "data/engine/ResultSet.h"
#include "output/ReportDocument.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace velmor {
class Interaction;
namespace engine {
class Engine;
}
}

namespace velmor::reports {

// The land of every head of household by category, inside and outside the built-up area, for the
// council's accounting office ("Contabilitate"). The work table RCF.dbf lives in the work folder
// (the program directory for the window) from build() until removeTables().
class Accounting {
public:
    // The chapter 2 rows reported and their headings.
    static constexpr std::array<int, 8> Categories{1, 2, 3, 4, 6, 9, 10, 11};
    static QString categoryHeading(int category);

    Accounting(engine::Engine& engine, QString dataDirectory, QString workDirectory, std::int64_t year);
    Accounting(const Accounting&) = delete;
    Accounting& operator=(const Accounting&) = delete;

    // Builds the work table, showing progress through `ui` when given. On any failure both work
    // tables are removed and the Error is raised again.
    void build(Interaction* ui = nullptr);

    // The window's rows: CODID LOCALIT NUMEP ROL TI1 TE1 ... TI11 TE11 in hectares, one per head of
    // household, ordered by village, name and household.
    engine::ResultSet rows() const;

    // Deletes RC.dbf and RCF.dbf.
    void removeTables();
    QString tablePath(const QString& fileName) const;

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_workDirectory;
    std::int64_t m_year;
};

// The printed report: labels council name and date, a group per village, the summary with the
// household count and the column sums.
output::ReportForm accountingForm();
output::ReportDocument accountingDocument(engine::ResultSet rows, const QString& council, const QDate& today);

}
