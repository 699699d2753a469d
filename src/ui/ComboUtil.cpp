#include "ui/ComboUtil.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace velmor {

void SelecteazaInCombo(QComboBox* combo, const QString& text)
{
    if (!combo)
        return;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text) {
            combo->setCurrentIndex(i);
            QCoreApplication::processEvents();
            return;
        }
    }
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(QString());
    QCoreApplication::processEvents();
}

}
