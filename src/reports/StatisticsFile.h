#pragma once

#include "services/CouncilProfile.h"
#include "services/IniFile.h"

#include <QDate>
#include <QString>

#include <cstdint>

namespace velmor {
class Interaction;
namespace engine {
class Engine;
}
}

namespace velmor::reports {

// The register's totals per village and register type, chapter by chapter, as the profile-style
// text file the county statistics office reads ("Raport Directia Statistica").
class StatisticsFile {
public:
    static QString title() { return QStringLiteral("Raport statistic"); }
    static QString deliveryTitle() { return QStringLiteral("Salvare raport"); }
    static QString noCommuneMessage() { return QStringLiteral("Nu ati trecut denumirea localitatii la sectiunea Administrare!"); }
    static QString noYearMessage() { return QStringLiteral("Nu ati ales ANUL !"); }
    static QString noFiscalCodeMessage() { return QStringLiteral("Nu ati trecut codul fiscal la sectiunea Administrare!"); }
    static QString noRecordsMessage(const QString& year)
    {
        return QStringLiteral(" Nu aveti nici o inregistrare in anul ") + year + QStringLiteral("!");
    }
    static QString successMessage() { return QStringLiteral("Raport creat cu succes!"); }
    static QString folderQuestion() { return QStringLiteral("Unde salvam raportul?"); }

    // What the whole operation came to.
    enum class Outcome { Delivered, Refused, Cancelled, Kept, Failed };

    StatisticsFile(engine::Engine& engine, QString dataDirectory, QString programDirectory);

    // "ABC_08_12_2009.txt": the commune name, with the characters a file name cannot hold as "_".
    static QString fileName(const QString& commune, const QDate& day);

    // The document of a year: every section in memory, nothing written. Shows progress through
    // `ui` when given. Throws Error with the message of an empty year (no household of a known
    // register type).
    IniDocument build(const CouncilConstants& constants, std::int64_t year, Interaction* ui = nullptr) const;

    // The menu item: checks, builds, writes the working copy in the program directory, asks for
    // the folder and delivers the file there without ever losing an existing one. `day` names the
    // file. Every message goes through `ui`.
    Outcome run(const CouncilConstants& constants, const QString& year, const QDate& day, Interaction& ui);

    // The file delivered by the last run (empty unless Delivered).
    QString deliveredPath() const { return m_delivered; }

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_programDirectory;
    QString m_delivered;
};

}
