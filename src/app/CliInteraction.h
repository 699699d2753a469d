#pragma once

#include "core/Interaction.h"

namespace velmor::cli {

// The interaction seam of programs without windows: messages go to standard error, questions
// are answered "no" (OK when it is the only button), choices are cancelled, progress is silent.
class CliInteraction : public Interaction {
public:
    int Mesaj(const QString& title, const QString& text, int kind, int buttons) override;
    void ArataProblema(const QString& text, const QString& anchor) override;
    void Arata() override {}
    void Distruge() override {}
    void setProgressLabel(const QString&) override {}
    void setProgressMaximum(int) override {}
    void setProgressPosition(int) override {}
    void processEvents() override {}
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> askText(const QString&, const QString&, const QString&, bool) override { return std::nullopt; }
    bool openFile(const QString&) override { return false; }
};

}
