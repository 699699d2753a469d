#include "register/ui/UpperCase.h"

#include "domain/TextCase.h"

#include <QLineEdit>

namespace velmor {

void upperCaseWhileTyping(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = upperRomanian(text);
        if (upper == text)
            return;
        const int caret = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(caret);
    });
}

}
