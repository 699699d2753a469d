#pragma once

#include <QString>

namespace velmor {

// The columns of an Identificare row the address text is made of.
struct AddressColumns {
    qint64 TIPRA = 0;
    QString STRADA;
    QString NR;
    QString JUDET;
    QString LOC;
    QString STR2;
    QString NR2;
};

// The longest address text of the household list.
inline constexpr int AddressWidth = 120;

// The address text of a household in the list (column ADRESA), by register type:
// types 1 and 3 "str." + S(STRADA) + " nr." + S(NR); type 2 "jud." + S(JUDET) + " loc." + S(LOC) +
// " str." + S(STR2) + " nr." + S(NR2); type 4 as type 2 with STRADA and NR. S(x) is x trimmed, or
// " -" when blank. Cut to AddressWidth characters; empty for an unknown type.
QString CalculeazaAdresa(const AddressColumns& row);

}
