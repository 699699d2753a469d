#include "core/ErrorReport.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "core/SystemErrors.h"

namespace velmor {

QString errorMessage(const std::exception& error)
{
    if (const auto* known = dynamic_cast<const Error*>(&error))
        return withoutSystemTexts(known->message());
    return withoutSystemTexts(QString::fromUtf8(error.what()));
}

void showError(Interaction& ui, const std::exception& error, const QString& title)
{
    ui.Mesaj(title.isEmpty() ? QStringLiteral("Eroare") : title, errorMessage(error), KindError, ButtonsOk);
}

}
