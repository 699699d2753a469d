#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

class Interaction;
namespace engine {
class Engine;
class Query;
}

// The consistency checks of the register: the four checks of the verification window, the
// deletion of the households check 1 lists and the missing positions of the working year.
// Each check opens the given query on its rows and returns the result line ("Rezultat : ...").
class DataChecks {
public:
    // `scratchDirectory` holds the check table VTemp.dbf (the program home).
    DataChecks(engine::Engine& engine, QString dataDirectory, QString scratchDirectory, Interaction& ui);

    // Check 1, all years: households with a year outside 2000..2100 or a blank or impossible
    // village, position, volume or identifier.
    QString householdCheck(engine::Query& query);
    // Check 2, year Y: members without name, personal code or sex 1/2, or of a household with
    // blank or impossible identification.
    QString memberCheck(engine::Query& query, const QString& year);
    // Check 3, year Y: households without exactly one head (no head first, empty count).
    QString headCheck(engine::Query& query, const QString& year);
    // Check 4, year Y: households whose chapter 2 row 12 area is more than 1 m2 away from the total
    // of their plots. Raises Error "Eroare la intocmirea raportului!" when it cannot be computed.
    QString areaCheck(engine::Query& query, const QString& year);

    // "&Sterge-le !": deletes the households check 1 lists, and, for each of their identifiers
    // that no other household row keeps, its rows of CAP1..CAP11, Tarlale, OmTarla and the
    // pictures of its plots, whatever the year; then runs check 1 again into `query` and returns
    // its line. An operation over several files: undone when a step fails.
    QString deleteListed(engine::Query& query);

    // The lines of the missing positions of year Y, per village, register type and volume.
    QStringList missingPositions(const QString& year);

    // The check table in the scratch directory; removed by removeScratch().
    QString scratchTable() const;
    void removeScratch();

    static constexpr int MaxMissingLines = 100;

private:
    engine::Engine& m_engine;
    QString m_dataDir;
    QString m_scratchDir;
    Interaction& m_ui;
};

}
