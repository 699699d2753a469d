#pragma once

#include "data/dbf/DbfValue.h"
#include "data/engine/ResultSet.h"

#include <QList>
#include <QString>

namespace velmor::grid {

// How a column shows its values.
struct DisplayFormat {
    enum class Kind { Text, WholeNumber, Decimals, Date };

    Kind kind = Kind::Text;
    int decimals = 0;   // Decimals only
    bool fixed = false; // Decimals only: always `decimals` digits ("0.00") or at most that many ("#.##")

    static DisplayFormat text() { return {}; }
    static DisplayFormat wholeNumber() { return {Kind::WholeNumber, 0, false}; }
    static DisplayFormat upTo(int decimals) { return {Kind::Decimals, decimals, false}; }
    static DisplayFormat fixedDecimals(int decimals) { return {Kind::Decimals, decimals, true}; }
    static DisplayFormat date() { return {Kind::Date, 0, false}; }

    // "#" or "0": whole numbers; "#.##": up to two decimals; "0.00": always two; "dd.MM.yyyy": date;
    // "" or "@": text. Throws GridError for anything else.
    static DisplayFormat fromPattern(const QString& pattern);
    // The format a field of this type shows with when no description says otherwise.
    static DisplayFormat forField(const engine::ResultField& field);

    bool isNumeric() const { return kind == Kind::WholeNumber || kind == Kind::Decimals; }
    bool operator==(const DisplayFormat&) const = default;
};

// The text a value shows as: null is empty; numbers use a point and no thousands separator; dates
// are dd.MM.yyyy. A value of another kind than the format expects shows as its own text.
QString formatValue(const dbf::Value& value, const DisplayFormat& format);

// One column of a grid over a query result.
struct ColumnDescription {
    QString field;   // column name in the result (letter case ignored)
    QString heading; // column title; the field name when empty
    int width = 0;   // in characters; 0 takes the field's width or its heading's length
    DisplayFormat format;
    bool editable = false;
    bool hidden = false;

    QString shownHeading() const { return heading.isEmpty() ? field : heading; }
};

// Every field of a result, titled with its name, formatted by its type, as wide as the field.
QList<ColumnDescription> describeAllFields(const QList<engine::ResultField>& fields);

}
