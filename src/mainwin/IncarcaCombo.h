#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace velmor::engine {
class Query;
}

namespace velmor {

// The distinct non-blank values of a column, ordered by it: "SELECT DISTINCT column",
// "FROM" the quoted table path, "WHERE condition" when one is given, "ORDER BY column". Each
// value is kept as read; one whose trimmed form is empty is skipped. Resets the query first and
// closes it afterwards. Statement errors propagate.
QStringList ValoriDistincte(engine::Query& query, const QString& table, const QString& column,
                            const QString& condition);

// The distinct-values fill of a combo box: appends those values to the box's items (the box is
// not emptied first) and selects its first item (none when it stays empty).
void IncarcaCombo(QComboBox* box, engine::Query& query, const QString& table, const QString& column,
                  const QString& condition);

}
