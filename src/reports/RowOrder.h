#pragma once

#include "data/engine/ResultSet.h"
#include "data/dbf/ValueConversions.h"

#include <QList>

#include <algorithm>

namespace velmor::reports {

// Orders rows by the given columns: empty values first, then numbers by value and text as it is.
inline void sortRows(engine::ResultSet& rows, const QList<int>& columns)
{
    const auto compare = [](const dbf::Value& a, const dbf::Value& b) {
        if (dbf::isNull(a) || dbf::isNull(b))
            return int(!dbf::isNull(a)) - int(!dbf::isNull(b));
        if (std::holds_alternative<QString>(a) || std::holds_alternative<QString>(b))
            return dbf::storedText(a).compare(dbf::storedText(b));
        const double x = dbf::numberOnly(a);
        const double y = dbf::numberOnly(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    };
    std::stable_sort(rows.rows.begin(), rows.rows.end(), [&](const auto& a, const auto& b) {
        for (const int c : columns) {
            const int order = compare(a[size_t(c)], b[size_t(c)]);
            if (order != 0)
                return order < 0;
        }
        return false;
    });
}

}
