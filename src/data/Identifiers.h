#pragma once

#include <QString>

namespace velmor::engine {
class Engine;
}

namespace velmor::data {

// The smallest identifier of the kind ("CODID", "COD1" or "CODT") that no row of any year
// holds: the largest one found in the tables that carry it, plus one (1 when there is none).
// CODID is read from Identificare, COD1 from CAP1, CODT from Tarlale, OmTarla and PozeTarla.
// A table that does not exist counts as empty.
qint64 firstFreeIdentifier(engine::Engine& engine, const QString& dataDirectory, const QString& kind);

}
