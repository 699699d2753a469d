#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace velmor {

struct AppContext;

// The administrator password's one-way scrambling. Works on the Windows-1250 bytes of the text
// (a character the code page lacks counts as "?") and returns the scrambled bytes decoded from
// Windows-1250 again, so the result can be stored as text and compared exactly.
QString CodeazaStr(const QString& text);
// The same scrambling on raw bytes.
QByteArray CodeazaBytes(const QByteArray& bytes);

// The administrator entry and the password change. Talks to the user through the context's
// interaction seam and asks for the password through `inputQuery2` (the login prompt's
// InputQuery2: caption, label, value in and out; false when cancelled).
class AccessControl {
public:
    using InputQuery = std::function<bool(const QString& caption, const QString& label, QString& value)>;

    enum class Outcome {
        Opened,        // unlocked already: the administration window was opened
        Unlocked,      // the state was switched on (password right, or none stored)
        WrongPassword, // "PAROLA INCORECTA !" shown; still locked
        Cancelled,     // the login prompt was cancelled; nothing changed
    };

    enum class ChangeOutcome {
        Mismatch, // the two fields differ (error shown; the window beeps)
        Changed,  // a new password was stored
        Cleared,  // both fields empty, DA: the password was removed
        Kept,     // both fields empty, not DA: nothing changed
        Failed,   // the registry could not be written (error shown)
    };

    static constexpr const char* PasswordValue = "Erori";

    AccessControl(AppContext& ctx, InputQuery inputQuery2 = {});

    // The main window's "Administrare" button: opens the administration window when unlocked,
    // otherwise asks for the password (or warns that none is set) and unlocks.
    Outcome Administrare(const std::function<void()>& openAdministration);

    // "&Schimba parola" with the texts of "Parola noua" and "Inca odata".
    ChangeOutcome SchimbaParola(const QString& newPassword, const QString& again);

    // Switches the unlocked state on for the rest of the run.
    void Deblocheaza();

    // The stored (scrambled) password; empty when none is set.
    QString storedPassword() const;

private:
    AppContext& m_ctx;
    InputQuery m_inputQuery2;
};

}
