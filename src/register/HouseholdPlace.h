#pragma once

#include <QString>

namespace velmor {

// Where a household stands in the register: its code and its slot (register type, village, volume,
// position). What a search hands back to the household register editor.
struct HouseholdPlace {
    qint64 codid = -1;
    QString type;    // TIPRA as text, "1".."4"
    QString village; // LOCALIT
    qint64 position = 0;
    qint64 volume = 0;
};

}
