#pragma once

#include "data/DemoRegister.h"
#include "data/demo/Farm.h"
#include "data/demo/Household.h"
#include "data/demo/Land.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <map>
#include <memory>

namespace velmor::dbf {
class DbfBulkWriter;
}

namespace velmor::data::demo {

// Writes the households of each year into the fifteen tables of a data directory (created
// empty by the schema's creators) and hands out the identifiers CODID, COD1 and CODT. Columns
// are addressed by name. Counts the rows written into the summary.
class RegisterWriter {
public:
    // Opens every table for writing; throws DemoError when a table's columns are not its
    // layout's.
    RegisterWriter(const QString& dataDirectory, DemoSummary& summary);
    ~RegisterWriter();

    // Record templates of chapters 2 to 10 for the year: every catalogue row with the year, the
    // row code, the row name and zero values.
    void startYear(int year);
    // One household of the year under a new CODID: identification, members, chapters 1 to 11,
    // plots with their holders and pictures.
    void writeHousehold(const Household& h, const LandChapters& land, const FarmChapters& farm, int year);
    // Puts every table in place.
    void finish();

    qint64 lastCodid() const { return m_codid; }
    qint64 lastCod1() const { return m_cod1; }
    qint64 lastCodt() const { return m_codt; }

private:
    dbf::DbfBulkWriter& table(const QString& fileName);
    void writeIdentification(const Household& h, int year, qint64 codid);
    void writeMembers(const Household& h, int year, qint64 codid);
    void writeChapters(const Household& h, const LandChapters& land, const FarmChapters& farm, int year, qint64 codid);
    void writePlots(const Household& h, int year, qint64 codid);

    struct Columns;

    DemoSummary& m_summary;
    std::unique_ptr<Columns> m_columns; // resolved by name when the tables are opened
    std::map<QString, std::unique_ptr<dbf::DbfBulkWriter>> m_tables;
    std::array<dbf::DbfBulkWriter*, 12> m_chapters {}; // CAP1 to CAP11 by number
    std::array<QByteArray, 12> m_templates;            // per chapter, all rows of a household
    qint64 m_codid = 0, m_cod1 = 0, m_codt = 0;
};

}
