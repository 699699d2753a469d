#pragma once

#include "core/Error.h"

#include <QList>
#include <QString>

namespace velmor {

class Interaction;
class Settings;
namespace engine {
class Engine;
}

// A take-over that was refused before any change, or failed and was undone.
class TakeoverError : public Error {
public:
    using Error::Error;
};

// What a take-over did.
struct TakeoverReport {
    struct Table {
        QString name; // "Identificare", "CAP1", ...
        qint64 rows = 0;
    };
    struct Counter {
        QString kind; // "CODID", "COD1", "CODT"
        qint64 before = 0;
        qint64 after = 0;
    };
    QString fromYear;
    QString toYear;
    QList<Table> tables;     // in copy order
    QList<Counter> counters; // CODID, COD1, CODT
    QString safetyArchive;   // the archive saved before the first change
};

// The year take-over: copies the register of the latest year with households into an empty later
// year, with new identifiers. Before the first change the whole data directory is saved into a
// safety archive beside it ("Preluare-<Y>-yyyyMMdd-HHmmss.kt"); any failure restores the data
// directory from it through the staged restore, so the register is either fully copied or as it
// was. Identifiers move by a linear shift: for each kind, new = old - lo + C, where lo is the
// smallest identifier of the kind in the copied year and C its counter, raised to the first identifier
// that no year holds; the counter becomes
// C + (hi - lo) + 1.
class YearTakeover {
public:
    // `programDirectory` holds the scratch table tmp.dbf; counters live in the data directory's
    // settings file (`settings`). Progress goes through `ui`.
    YearTakeover(engine::Engine& engine, QString dataDirectory, QString programDirectory, Settings& settings,
                 Interaction& ui);

    // The latest year that has households; empty when the register is empty.
    QString latestYear() const;
    // Whether the year has at least one household.
    bool hasHouseholds(const QString& year) const;

    // Copies the latest year into `targetYear`. Throws TakeoverError, with nothing changed, when the
    // target already has households, is not later than the latest year, the register is empty, the
    // identifiers would not fit their columns or the safety archive cannot be written; and when a
    // step fails (the data directory is then restored from the safety archive, which is kept).
    TakeoverReport run(const QString& targetYear);

private:
    engine::Engine& m_engine;
    QString m_dataDir;
    QString m_programDir;
    Settings& m_settings;
    Interaction& m_ui;
};

}
