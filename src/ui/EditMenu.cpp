#include "ui/EditMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>

namespace velmor {

void showEditMenu(QLineEdit* edit, const QPoint& globalPos, const std::function<void()>& cut,
                  const std::function<void()>& paste)
{
    QMenu menu(edit);
    const bool selected = edit->hasSelectedText();
    const bool writable = !edit->isReadOnly();

    QAction* cutAction = menu.addAction(QStringLiteral("Tai&e"));
    cutAction->setEnabled(writable && selected);
    QAction* copyAction = menu.addAction(QStringLiteral("&Copiaza"));
    copyAction->setEnabled(selected);
    QAction* pasteAction = menu.addAction(QStringLiteral("&Lipeste"));
    pasteAction->setEnabled(writable && !QApplication::clipboard()->text().isEmpty());
    menu.addSeparator();
    QAction* allAction = menu.addAction(QStringLiteral("&Selecteaza tot"));
    allAction->setEnabled(!edit->text().isEmpty());

    QAction* chosen = menu.exec(globalPos);
    if (chosen == cutAction)
        cut();
    else if (chosen == copyAction)
        edit->copy();
    else if (chosen == pasteAction)
        paste();
    else if (chosen == allAction)
        edit->selectAll();
}

}
