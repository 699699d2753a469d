#pragma once

#include "data/engine/ResultSet.h"
#include "output/ExportTable.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace velmor::engine {
class Engine;
}

namespace velmor::reports {

// The three lists handed to the export dialog: the residents of one street, the households with
// their number of members, the households that own dwelling houses.
class ResidentLists {
public:
    ResidentLists(engine::Engine& engine, QString dataDirectory, std::int64_t year);

    // The streets of the register type 1 households, each once, upper-cased, sorted.
    QStringList streets() const;

    // LOCALIT VOLUM POZ NR NUMEP DATAN: every member of the type 1 households whose street
    // upper-cases to `street`, ordered by village, house number (as text) and name.
    engine::ResultSet residents(const QString& street) const;
    // TIPRA LOCALIT VOLUM POZ ROL CAP_GOSP NRLOC: every household with a head (member code 1) and
    // its count of member rows (deceased members included), ordered by village, type, volume, position.
    engine::ResultSet householdSizes() const;
    // LOCALIT NUMEP ADRESA CNP ROL POZ VOLUM NRCASE: every household with a dwelling house, ordered
    // by village and name.
    engine::ResultSet dwellings() const;

    // The exports: the residents with their own headings and widths; the two other lists headed
    // by their column names. Both number the rows and carry a title and a footer line.
    static output::ExportTable residentsExport(const engine::ResultSet& rows, const QString& street);
    static output::ExportTable listExport(const engine::ResultSet& rows, const QString& title);

    // The address of a household as the dwellings list writes it ("str.MORII nr.12").
    static QString address(int type, const QString& county, const QString& locality, const QString& street,
                           const QString& number, const QString& domicileStreet, const QString& domicileNumber);

private:
    QString dataTable(const char* name) const;

    engine::Engine& m_engine;
    QString m_dataDirectory;
    std::int64_t m_year;
};

}
