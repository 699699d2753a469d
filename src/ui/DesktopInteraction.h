#pragma once

#include "core/Interaction.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace velmor {

class TContor;
class TErori;

// The desktop program's side of the interaction seam: the message dialog, the balloon, the
// progress window and the system's file dialogs. Uses the given windows, or makes its own.
class DesktopInteraction : public Interaction {
public:
    explicit DesktopInteraction(TErori* erori = nullptr, TContor* contor = nullptr);
    ~DesktopInteraction() override;

    TErori* erori() const { return m_erori; }
    TContor* contor() const { return m_contor; }

    int Mesaj(const QString& title, const QString& text, int kind, int buttons) override;
    void ArataProblema(const QString& text, const QString& anchor) override;

    void Arata() override;
    void Distruge() override;
    void setProgressLabel(const QString& text) override;
    void setProgressMaximum(int maximum) override;
    void setProgressPosition(int position) override;

    void processEvents() override;

    QString chooseOpenFile(const QString& title, const QString& directory, const QString& filter) override;
    QString chooseSaveFile(const QString& title, const QString& directory, const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& directory) override;

    std::optional<QString> askText(const QString& title, const QString& label, const QString& initial,
                                   bool secret) override;

    bool openFile(const QString& path) override;

    // The window the user works in now: the active modal window, else the active window.
    QWidget* currentWindow() const;
    // The control named `anchor` in the current window (or in any visible window), else null.
    QWidget* findAnchor(const QString& anchor) const;

private:
    std::unique_ptr<TErori> m_ownErori;
    std::unique_ptr<TContor> m_ownContor;
    TErori* m_erori = nullptr;
    TContor* m_contor = nullptr;
    QPointer<QWidget> m_progressForm;
};

}
