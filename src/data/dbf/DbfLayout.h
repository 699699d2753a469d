#pragma once

#include <QList>
#include <QString>

namespace velmor::dbf {

enum class Level {
    DBase3, // version 0x03 / 0x83, 32-byte descriptors, dBase III memo
    DBase4, // version 0x03 / 0x8B, 32-byte descriptors, dBase IV memo
    Level7, // version 0x04 / 0x8C, 68-byte header, 48-byte descriptors
};

// A column as declared when a table is created or restructured.
struct FieldSpec {
    QString name;
    char type = 'C'; // C, N, F, D, L, M
    int width = 0;
    int decimals = 0;
};

// A column as found in a file.
struct Field {
    QString name; // as stored (upper case in the register's tables)
    char type = 'C';
    int width = 0;
    int decimals = 0;
    int offset = 0; // from the start of the record, after the deletion flag byte

    bool isNumeric() const { return type == 'N' || type == 'F'; }
    bool isInteger() const { return isNumeric() && decimals == 0; }
    FieldSpec declaration() const { return {name, type, width, decimals}; }
};

}
