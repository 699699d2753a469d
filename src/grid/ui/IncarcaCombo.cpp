#include "grid/ui/IncarcaCombo.h"

#include "data/engine/DistinctValues.h"

#include <QComboBox>

namespace velmor {

void IncarcaCombo(QComboBox* box, engine::Query& query, const QString& table, const QString& column,
                  const QString& condition, Interaction* ui)
{
    const QStringList values = engine::ValoriDistincte(query, table, column, condition, {}, ui);
    if (!box)
        return;
    box->addItems(values);
    box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

}
