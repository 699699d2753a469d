#pragma once

#include "data/engine/ResultSet.h"
#include "output/ReportDocument.h"

#include <QDate>
#include <QString>

#include <cstdint>

namespace velmor::engine {
class Engine;
}

namespace velmor::reports {

// The two printed lists of the heads of household of a year, found by the relationship text
// "Cap de gospodarie": with their address ("RomTelecom") and the index of positions ("Repertoar
// Pozitii"). Nothing is stored.
class HouseholdHeads {
public:
    enum class List { Address, Positions };

    HouseholdHeads(engine::Engine& engine, QString dataDirectory, std::int64_t year);

    // NUMEP LOCALIT STRADA NR, or NUMEP LOCALIT CNP POZ VOLUM, ordered by village and name.
    engine::ResultSet rows(List list) const;

    static QString title(List list);
    static output::ReportForm form(List list);
    static output::ReportDocument document(List list, engine::ResultSet rows, const QString& council, const QDate& today);

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
    std::int64_t m_year;
};

}
