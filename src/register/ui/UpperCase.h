#pragma once

class QLineEdit;

namespace velmor {

// Turns what is typed into `edit` to capitals as it is typed (the caret stays where it was).
void upperCaseWhileTyping(QLineEdit* edit);

}
