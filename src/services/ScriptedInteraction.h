#pragma once

#include "core/Interaction.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace velmor {

// Test double of the interaction seam: records every call and answers from a script.
//
// Answers are queued per kind of question and taken in order. With nothing queued, a message
// returns 2 (as if closed with Escape), a file or folder choice returns "" (cancelled), a text
// question returns nullopt (cancelled) and opening a file succeeds. A message with buttons 0 is
// recorded as not shown, returns 2 and takes no scripted answer.
class ScriptedInteraction : public Interaction {
public:
    struct Message {
        QString title;
        QString text;
        int kind = 0;
        int buttons = 0;
        int result = ResultCancel;
        bool shown = true; // false for buttons 0
    };

    struct Balloon {
        QString text;
        QString anchor;
    };

    enum class ChoiceKind { OpenFile, SaveFile, Folder };

    struct Choice {
        ChoiceKind kind = ChoiceKind::OpenFile;
        QString title;
        QString directory;
        QString filter; // empty for folders
        QString answer; // empty when cancelled
    };

    struct TextQuestion {
        QString title;
        QString label;
        QString initial;
        bool secret = false;
        std::optional<QString> answer;
    };

    enum class ProgressEventType { Show, Hide, Label, Maximum, Position };

    struct ProgressEvent {
        ProgressEventType type = ProgressEventType::Show;
        QString label;  // for Label
        int value = 0;  // for Maximum and Position
    };

    // ---- script ----
    // Result of the next shown message (1, 2, 6 or 7). A result that none of the message's
    // buttons gives (other than 2, Escape) makes the message throw std::logic_error, which
    // points at a wrong script rather than at the code under test.
    ScriptedInteraction& pushMessageResult(int result);
    ScriptedInteraction& pushYes() { return pushMessageResult(ResultDa); }
    ScriptedInteraction& pushNo() { return pushMessageResult(ResultNu); }
    ScriptedInteraction& pushOk() { return pushMessageResult(ResultOk); }
    ScriptedInteraction& pushOpenFile(const QString& path);
    ScriptedInteraction& pushSaveFile(const QString& path);
    ScriptedInteraction& pushFolder(const QString& path);
    ScriptedInteraction& pushText(const QString& text);
    ScriptedInteraction& pushTextCancel();
    // Outcome of every later openFile call.
    ScriptedInteraction& setOpenFileSucceeds(bool succeeds);
    // Answers messages for which no result is queued; the queue is used first.
    ScriptedInteraction& setMessageHandler(std::function<int(const Message&)> handler);

    // Scripted answers not used yet.
    int pendingMessageResults() const { return int(m_messageResults.size()); }
    int pendingFileAnswers() const;
    int pendingTextAnswers() const { return int(m_texts.size()); }
    bool scriptUsedUp() const;

    // ---- records ----
    const std::vector<Message>& messages() const { return m_messages; }
    // The last message; throws std::logic_error when there was none.
    const Message& lastMessage() const;
    // Messages whose text contains the fragment.
    std::vector<Message> messagesContaining(const QString& fragment) const;
    bool hasMessage(const QString& title, const QString& text) const;

    const std::vector<Balloon>& balloons() const { return m_balloons; }
    const std::vector<Choice>& choices() const { return m_choices; }
    const std::vector<TextQuestion>& textQuestions() const { return m_textQuestions; }
    const QStringList& openedFiles() const { return m_openedFiles; }

    const std::vector<ProgressEvent>& progressEvents() const { return m_progress; }
    bool progressVisible() const { return m_progressVisible; }
    int progressShowCount() const { return m_showCount; }
    int progressHideCount() const { return m_hideCount; }
    QString progressLabel() const { return m_progressLabel; }
    int progressMaximum() const { return m_progressMaximum; }
    int progressPosition() const { return m_progressPosition; }
    QStringList progressLabels() const;
    std::vector<int> progressPositions() const;
    std::vector<int> progressMaxima() const;
    int processEventsCount() const { return m_processEvents; }

    // Forgets records and script.
    void clear();

    // ---- Interaction ----
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

private:
    QString takeChoice(std::deque<QString>& queue, ChoiceKind kind, const QString& title,
                       const QString& directory, const QString& filter);

    std::deque<int> m_messageResults;
    std::deque<QString> m_openFiles;
    std::deque<QString> m_saveFiles;
    std::deque<QString> m_folders;
    std::deque<std::optional<QString>> m_texts;
    std::function<int(const Message&)> m_messageHandler;
    bool m_openFileSucceeds = true;

    std::vector<Message> m_messages;
    std::vector<Balloon> m_balloons;
    std::vector<Choice> m_choices;
    std::vector<TextQuestion> m_textQuestions;
    QStringList m_openedFiles;
    std::vector<ProgressEvent> m_progress;
    bool m_progressVisible = false;
    int m_showCount = 0;
    int m_hideCount = 0;
    QString m_progressLabel;
    int m_progressMaximum = 100;
    int m_progressPosition = 0;
    int m_processEvents = 0;
};

}
