#pragma once

#include "core/Error.h"

#include <QString>


namespace velmor {
class Interaction;
}

namespace velmor::data {

struct DemoOptions {
    int households = 100; // households of the first year
    int years = 1;
    int firstYear = 0;    // 0: the register ends in the current calendar year
    quint64 seed = 1;
};

// What a generated register holds.
struct DemoSummary {
    int firstYear = 0;
    int lastYear = 0;
    qint64 householdRows = 0; // Identificare rows, all years
    qint64 memberRows = 0;
    qint64 chapterRows = 0;   // CAP2 to CAP11
    qint64 plotRows = 0;
    qint64 holderRows = 0;
    qint64 pictureRows = 0;
    qint64 lastCodid = 0;     // highest identifiers handed out
    qint64 lastCod1 = 0;
    qint64 lastCodt = 0;
};

// Options out of range or a directory that already holds a register; nothing was written.
class DemoError : public Error {
public:
    using Error::Error;
};

// The register type counts of the first year for a number of households: mostly type 1, and at
// least one household of every type once there are four or more.
struct DemoTypeCounts {
    int type1 = 0, type2 = 0, type3 = 0, type4 = 0;
};
DemoTypeCounts demoTypeCounts(int households);

// Writes a complete, realistic data directory: the fifteen tables (created by the schema's
// creators, then filled), Sate.lst with five villages and Velmor.ini with the council constants
// and the counters. Every year carries the previous year's households over with new identifiers
// and small changes. The same options give the same files (the header date aside, which is the
// day of writing). The directory is created when missing and must not hold register files.
// Progress goes through the interaction seam. Throws DemoError, or dbf::DbfError when a file
// cannot be written.
DemoSummary generateDemoRegister(const QString& dataDirectory, const DemoOptions& options, Interaction& ui);

// The files of a data directory the generator writes (and refuses to overwrite).
QStringList demoRegisterFiles();

}
