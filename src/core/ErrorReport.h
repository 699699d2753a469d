#pragma once

#include "core/SystemErrors.h"

#include <QString>

#include <exception>

namespace velmor {

class Interaction;

// The program's general error report: shows the failure's message in an error box titled `title`
// ("Eroare" by default) through the interaction seam. An Error shows its message; any other
// exception its what() text.
void showError(Interaction& ui, const std::exception& error, const QString& title = QString());

// The message of any exception, as showError shows it, without system texts in English.
QString errorMessage(const std::exception& error);


}
