#include "core/ErrorReport.h"

#include "core/Error.h"
#include "core/Interaction.h"

namespace velmor {

QString withoutSystemTexts(QString text)
{
    static const struct {
        const char* english;
        const char* romanian;
    } texts[] = {
        {"Permission denied", "acces interzis"},
        {"Operation not permitted", "operatia nu este permisa"},
        {"No such file or directory", "fisierul sau dosarul nu exista"},
        {"No space left on device", "nu mai este loc pe disc"},
        {"Disk quota exceeded", "s-a depasit spatiul permis pe disc"},
        {"Read-only file system", "discul este numai pentru citire"},
        {"Input/output error", "eroare de citire sau scriere pe disc"},
        {"Device or resource busy", "fisierul este folosit de alt program"},
        {"Text file busy", "fisierul este folosit de alt program"},
        {"Resource temporarily unavailable", "fisierul este ocupat acum"},
        {"Is a directory", "este un dosar"},
        {"Not a directory", "nu este un dosar"},
        {"File exists", "fisierul exista deja"},
        {"File name too long", "numele fisierului este prea lung"},
        {"Too many open files", "prea multe fisiere deschise"},
        {"Directory not empty", "dosarul nu este gol"},
        {"Invalid cross-device link", "fisierul nu poate fi mutat pe alt disc"},
        {"No file name specified", "lipseste numele fisierului"},
        {"Unknown error", "eroare necunoscuta"},
    };
    for (const auto& t : texts)
        text.replace(QLatin1String(t.english), QLatin1String(t.romanian), Qt::CaseInsensitive);
    return text;
}

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
