#include "ui/QtRomanian.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>

namespace velmor {

namespace {

using Catalogue = QHash<QByteArray, QString>;

QByteArray keyOf(const char* context, const char* source)
{
    return QByteArray(context) + '\x04' + QByteArray(source);
}

const Catalogue& catalogue()
{
    static const Catalogue texts = [] {
        struct Entry {
            const char* context;
            const char* source;
            const char* romanian;
        };
        static const Entry entries[] = {
            // Standard buttons of dialogs and message boxes.
            {"QPlatformTheme", "OK", "OK"},
            {"QPlatformTheme", "Save", "Salveaza"},
            {"QPlatformTheme", "Save All", "Salveaza tot"},
            {"QPlatformTheme", "Open", "Deschide"},
            {"QPlatformTheme", "&Yes", "&Da"},
            {"QPlatformTheme", "Yes to &All", "Da la &toate"},
            {"QPlatformTheme", "&No", "&Nu"},
            {"QPlatformTheme", "N&o to All", "N&u la toate"},
            {"QPlatformTheme", "Abort", "Abandoneaza"},
            {"QPlatformTheme", "Retry", "Reincearca"},
            {"QPlatformTheme", "Ignore", "Ignora"},
            {"QPlatformTheme", "Close", "Inchide"},
            {"QPlatformTheme", "Cancel", "Renunta"},
            {"QPlatformTheme", "Discard", "Renunta la modificari"},
            {"QPlatformTheme", "Help", "Ajutor"},
            {"QPlatformTheme", "Apply", "Aplica"},
            {"QPlatformTheme", "Reset", "Reseteaza"},
            {"QPlatformTheme", "Restore Defaults", "Valorile initiale"},
            {"QPlatformTheme", "Don't Save", "Nu salva"},
            {"QPlatformTheme", "Close without Saving", "Inchide fara salvare"},
            // File and folder dialogs.
            {"QFileDialog", "Look in:", "Cauta in:"},
            {"QFileDialog", "File &name:", "&Nume fisier:"},
            {"QFileDialog", "Files of type:", "Fisiere de tipul:"},
            {"QFileDialog", "&Open", "&Deschide"},
            {"QFileDialog", "&Save", "&Salveaza"},
            {"QFileDialog", "&Choose", "&Alege"},
            {"QFileDialog", "Cancel", "Renunta"},
            {"QFileDialog", "Open", "Deschide"},
            {"QFileDialog", "Save As", "Salveaza ca"},
            {"QFileDialog", "Find Directory", "Alegeti directorul"},
            {"QFileDialog", "Directory:", "Director:"},
            {"QFileDialog", "Directories", "Directoare"},
            {"QFileDialog", "All Files (*)", "Toate fisierele (*)"},
            {"QFileDialog", "Back", "Inapoi"},
            {"QFileDialog", "Forward", "Inainte"},
            {"QFileDialog", "Parent Directory", "Directorul parinte"},
            {"QFileDialog", "Create New Folder", "Director nou"},
            {"QFileDialog", "New Folder", "Director nou"},
            {"QFileDialog", "&New Folder", "Director &nou"},
            {"QFileDialog", "List View", "Lista"},
            {"QFileDialog", "Detail View", "Detalii"},
            {"QFileDialog", "Show &hidden files", "Arata fisierele &ascunse"},
            {"QFileDialog", "&Rename", "&Redenumeste"},
            {"QFileDialog", "&Delete", "&Sterge"},
            {"QFileDialog", "Recent Places", "Locuri recente"},
            {"QFileDialog", "My Computer", "Computerul"},
            {"QFileDialog", "Computer", "Computerul"},
            {"QFileDialog", "File", "Fisier"},
            {"QFileDialog", "File Folder", "Director"},
            {"QFileDialog", "Folder", "Director"},
            {"QFileDialog", "Unknown", "Necunoscut"},
            {"QFileDialog", "%1 already exists.\nDo you want to replace it?", "%1 exista deja.\nDoriti sa il inlocuiti?"},
            {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
             "%1\nFisierul nu exista.\nVerificati numele fisierului."},
            {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
             "%1\nDirectorul nu exista.\nVerificati numele directorului."},
            {"QFileDialog", "Are you sure you want to delete '%1'?", "Sigur stergeti '%1'?"},
            {"QFileDialog", "Could not delete directory.", "Directorul nu poate fi sters."},
            {"QFileSystemModel", "Name", "Nume"},
            {"QFileSystemModel", "Size", "Marime"},
            {"QFileSystemModel", "Type", "Tip"},
            {"QFileSystemModel", "Kind", "Tip"},
            {"QFileSystemModel", "Date Modified", "Data modificarii"},
            {"QFileSystemModel", "My Computer", "Computerul"},
            {"QFileSystemModel", "Computer", "Computerul"},
            // Input prompts and message boxes.
            {"QInputDialog", "Enter a value:", "Introduceti o valoare:"},
            {"QMessageBox", "Show Details...", "Arata detaliile..."},
            {"QMessageBox", "Hide Details...", "Ascunde detaliile..."},
            // The edit menu of text fields.
            {"QLineEdit", "&Undo", "&Anuleaza"},
            {"QLineEdit", "&Redo", "&Refa"},
            {"QLineEdit", "Cu&t", "&Taie"},
            {"QLineEdit", "&Copy", "&Copiaza"},
            {"QLineEdit", "&Paste", "&Lipeste"},
            {"QLineEdit", "Delete", "Sterge"},
            {"QLineEdit", "Select All", "Selecteaza tot"},
            {"QWidgetTextControl", "&Undo", "&Anuleaza"},
            {"QWidgetTextControl", "&Redo", "&Refa"},
            {"QWidgetTextControl", "Cu&t", "&Taie"},
            {"QWidgetTextControl", "&Copy", "&Copiaza"},
            {"QWidgetTextControl", "&Paste", "&Lipeste"},
            {"QWidgetTextControl", "Delete", "Sterge"},
            {"QWidgetTextControl", "Select All", "Selecteaza tot"},
        };
        Catalogue c;
        for (const Entry& e : entries)
            c.insert(keyOf(e.context, e.source), QString::fromUtf8(e.romanian));
        return c;
    }();
    return texts;
}

}

QString RomanianQtTexts::translate(const char* context, const char* sourceText, const char*, int) const
{
    if (!context || !sourceText)
        return {};
    return catalogue().value(keyOf(context, sourceText));
}

void installRomanianQtTexts(QCoreApplication& app)
{
    auto* own = new RomanianQtTexts(&app);
    QCoreApplication::installTranslator(own);
    // Installed last, so asked first.
    auto* system = new QTranslator(&app);
    if (system->load(QStringLiteral("qtbase_ro"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(system);
    else
        delete system;
}

}
