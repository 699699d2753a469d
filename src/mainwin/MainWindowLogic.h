#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace velmor {

struct AppContext;
class Interaction;

namespace engine {
class Query;
}

// The algorithms of the main window TForm3: the working-year list, the guarded opening of
// windows, the checks of "Evidente", the administrator entry, the legislation documents and the
// close sequence with the automatic backup offer. Talks to the user only through the
// interaction seam of the context and reaches other windows through callbacks, so tests drive
// it without showing anything.
class MainWindowLogic {
public:
    enum class CloseDecision {
        Terminate, // the program ends
        Stay,      // the close was cancelled; the main window stays open
    };

    // The login prompt: caption, label, value in and out; false when cancelled.
    using InputQuery2 = std::function<bool(const QString& caption, const QString& label, QString& value)>;

    explicit MainWindowLogic(AppContext& ctx);
    ~MainWindowLogic();

    AppContext& context() { return m_ctx; }

    // The clock; tests fix the date.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }
    QDate today() const;
    QString calendarYear() const;

    // The query the main window's statements run through (over the context's engine).
    engine::Query& query();

    // Working-year items: the distinct years of Identificare ascending, then the calendar year
    // when it is not among them. The last item is the one selected.
    QStringList yearItems();
    // Appends the calendar year to `items` when missing.
    void appendCalendarYear(QStringList& items) const;

    // Disables the button, lets pending events run, runs `open` and enables the button again,
    // also when `open` throws (the exception then goes on to the caller).
    void guardedOpen(const std::function<void(bool)>& setEnabled, const std::function<void()>& open);

    // "Evidente": the checks before the household register editor opens. False (after the error
    // "Problema") when there are no villages; a locked program is warned and still opens.
    bool EvidenteChecks();
    // The checks, then the guarded opening of the editor.
    void Evidente(const std::function<void(bool)>& setEnabled, const std::function<void()>& openEditor);

    // "Administrare" and F10: the administrator entry through the access control; opens the
    // administration window when the program is unlocked already. Returns the access control's
    // outcome (AccessControl::Outcome).
    int Administrare();
    void setInputQuery2(InputQuery2 prompt) { m_inputQuery2 = std::move(prompt); }
    void setOpenAdministration(std::function<void()> open) { m_openAdministration = std::move(open); }

    // Legislation menu item `Pop1`..`Pop5`: opens program directory + "/" + item + ".pdf", or
    // shows the balloon at `LegisB` when the file is missing.
    void Aratalege(const QString& itemName);
    QString legislationPath(const QString& itemName) const;

    // The close sequence; `runAutomaticBackup` receives the archive path.
    CloseDecision CloseSequence();
    void setAutomaticBackup(std::function<void(const QString&)> run) { m_automaticBackup = std::move(run); }

    // True when a file can be created in the directory (checked with Test.txt, which is
    // created and deleted; an existing Test.txt is left alone and a temporary name is used).
    static bool canWriteIn(const QString& directory);
    // directory + "/" + dd.MM.yyyy + "_" + n + ".kt" with the smallest n not taken.
    QString automaticBackupPath(const QString& directory) const;

    // The message for a window or report that this version does not have yet.
    void windowNotAvailable(const QString& name);
    void reportNotAvailable(const QString& name);

private:
    AppContext& m_ctx;
    std::function<QDate()> m_today;
    std::unique_ptr<engine::Query> m_query;
    void* m_queryEngine = nullptr;
    InputQuery2 m_inputQuery2;
    std::function<void()> m_openAdministration;
    std::function<void(const QString&)> m_automaticBackup;
};

}
