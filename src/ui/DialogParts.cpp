#include "ui/DialogParts.h"

#include <QPushButton>
#include <QStatusBar>

namespace velmor {

QPushButton* commandButton(const QString& caption, const QString& objectName, QWidget* parent, const QString& hint)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}

QStatusBar* statusLine(QWidget* parent, const QString& text)
{
    auto* status = new QStatusBar(parent);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->showMessage(text);
    return status;
}

}
