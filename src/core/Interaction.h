#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// Message kinds of the message dialog.
enum MessageKind : int {
    KindWarning = 0,
    KindError = 1,
    KindInformation = 2,
    KindConfirmation = 3,
};

// Button flags of the message dialog; the program passes ButtonsOk and ButtonsDaNu.
enum MessageButtons : int {
    ButtonDa = 1,
    ButtonNu = 2,
    ButtonOk = 4,
    ButtonRenunt = 8,
    ButtonsDaNu = ButtonDa | ButtonNu,
    ButtonsOk = ButtonOk,
};

// Results of the message dialog.
enum MessageResult : int {
    ResultOk = 1,
    ResultCancel = 2,
    ResultDa = 6,
    ResultNu = 7,
};

// Everything a logic class needs from the user. Logic classes never create widgets: the desktop
// program implements this with its dialogs, tests with a scripted double, the CLI from its options.
class Interaction {
public:
    virtual ~Interaction() = default;

    // The message dialog; returns 1, 2, 6 or 7. Buttons 0 shows nothing and returns 2.
    virtual int Mesaj(const QString& title, const QString& text, int kind, int buttons) = 0;

    // Balloon warning "Problema !" pointing at the named control of the active window.
    virtual void ArataProblema(const QString& text, const QString& anchor) = 0;

    // Progress window: shown over the current window (Arata), hidden again (Distruge).
    virtual void Arata() = 0;
    virtual void Distruge() = 0;
    virtual void setProgressLabel(const QString& text) = 0;
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressPosition(int position) = 0;

    // Lets pending window messages run between long steps.
    virtual void processEvents() = 0;

    // File and folder choices; an empty text means the user cancelled. Choosing an existing file to
    // save over asks nothing: the caller asks its own question.
    virtual QString chooseOpenFile(const QString& title, const QString& directory, const QString& filter) = 0;
    virtual QString chooseSaveFile(const QString& title, const QString& directory, const QString& filter) = 0;
    virtual QString chooseFolder(const QString& title, const QString& directory) = 0;

    // One line of text; nullopt when the user cancelled. `secret` hides what is typed.
    virtual std::optional<QString> askText(const QString& title, const QString& label,
                                           const QString& initial, bool secret) = 0;

    // Opens a document or picture with the system's default program; false when that failed.
    virtual bool openFile(const QString& path) = 0;
};

}
