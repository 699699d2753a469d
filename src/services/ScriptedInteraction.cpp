#include "services/ScriptedInteraction.h"

#include <stdexcept>

namespace velmor {

namespace {

// Whether a button set can produce the result; 2 (Escape, close box) always can.
bool buttonsAllow(int buttons, int result)
{
    switch (result) {
    case ResultCancel:
        return true;
    case ResultDa:
        return buttons & ButtonDa;
    case ResultNu:
        return buttons & ButtonNu;
    case ResultOk:
        return buttons & ButtonOk;
    default:
        return false;
    }
}

}

ScriptedInteraction& ScriptedInteraction::pushMessageResult(int result)
{
    m_messageResults.push_back(result);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::pushOpenFile(const QString& path)
{
    m_openFiles.push_back(path);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::pushSaveFile(const QString& path)
{
    m_saveFiles.push_back(path);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::pushFolder(const QString& path)
{
    m_folders.push_back(path);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::pushText(const QString& text)
{
    m_texts.emplace_back(text);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::pushTextCancel()
{
    m_texts.emplace_back(std::nullopt);
    return *this;
}

ScriptedInteraction& ScriptedInteraction::setOpenFileSucceeds(bool succeeds)
{
    m_openFileSucceeds = succeeds;
    return *this;
}

ScriptedInteraction& ScriptedInteraction::setMessageHandler(std::function<int(const Message&)> handler)
{
    m_messageHandler = std::move(handler);
    return *this;
}

int ScriptedInteraction::pendingFileAnswers() const
{
    return int(m_openFiles.size() + m_saveFiles.size() + m_folders.size());
}

bool ScriptedInteraction::scriptUsedUp() const
{
    return m_messageResults.empty() && pendingFileAnswers() == 0 && m_texts.empty();
}

const ScriptedInteraction::Message& ScriptedInteraction::lastMessage() const
{
    if (m_messages.empty())
        throw std::logic_error("ScriptedInteraction: no message was shown");
    return m_messages.back();
}

std::vector<ScriptedInteraction::Message> ScriptedInteraction::messagesContaining(const QString& fragment) const
{
    std::vector<Message> found;
    for (const Message& m : m_messages) {
        if (m.text.contains(fragment))
            found.push_back(m);
    }
    return found;
}

bool ScriptedInteraction::hasMessage(const QString& title, const QString& text) const
{
    for (const Message& m : m_messages) {
        if (m.title == title && m.text == text)
            return true;
    }
    return false;
}

QStringList ScriptedInteraction::progressLabels() const
{
    QStringList labels;
    for (const ProgressEvent& e : m_progress) {
        if (e.type == ProgressEventType::Label)
            labels << e.label;
    }
    return labels;
}

std::vector<int> ScriptedInteraction::progressPositions() const
{
    std::vector<int> values;
    for (const ProgressEvent& e : m_progress) {
        if (e.type == ProgressEventType::Position)
            values.push_back(e.value);
    }
    return values;
}

std::vector<int> ScriptedInteraction::progressMaxima() const
{
    std::vector<int> values;
    for (const ProgressEvent& e : m_progress) {
        if (e.type == ProgressEventType::Maximum)
            values.push_back(e.value);
    }
    return values;
}

void ScriptedInteraction::clear()
{
    *this = ScriptedInteraction();
}

int ScriptedInteraction::Mesaj(const QString& title, const QString& text, int kind, int buttons)
{
    Message message { title, text, kind, buttons, ResultCancel, true };
    if ((buttons & (ButtonDa | ButtonNu | ButtonOk | ButtonRenunt)) == 0) {
        message.shown = false;
        m_messages.push_back(message);
        return ResultCancel;
    }
    int result = ResultCancel;
    if (!m_messageResults.empty()) {
        result = m_messageResults.front();
        m_messageResults.pop_front();
    } else if (m_messageHandler) {
        result = m_messageHandler(message);
    }
    if (!buttonsAllow(buttons, result)) {
        throw std::logic_error("ScriptedInteraction: scripted result " + std::to_string(result)
                               + " is not given by buttons " + std::to_string(buttons) + " of message \""
                               + text.toStdString() + "\"");
    }
    message.result = result;
    m_messages.push_back(message);
    return result;
}

void ScriptedInteraction::ArataProblema(const QString& text, const QString& anchor)
{
    m_balloons.push_back({ text, anchor });
}

void ScriptedInteraction::Arata()
{
    m_progressVisible = true;
    ++m_showCount;
    m_progress.push_back({ ProgressEventType::Show, {}, 0 });
}

void ScriptedInteraction::Distruge()
{
    m_progressVisible = false;
    ++m_hideCount;
    m_progress.push_back({ ProgressEventType::Hide, {}, 0 });
}

void ScriptedInteraction::setProgressLabel(const QString& text)
{
    m_progressLabel = text;
    m_progress.push_back({ ProgressEventType::Label, text, 0 });
}

void ScriptedInteraction::setProgressMaximum(int maximum)
{
    m_progressMaximum = maximum;
    m_progress.push_back({ ProgressEventType::Maximum, {}, maximum });
}

void ScriptedInteraction::setProgressPosition(int position)
{
    m_progressPosition = position;
    m_progress.push_back({ ProgressEventType::Position, {}, position });
}

void ScriptedInteraction::processEvents()
{
    ++m_processEvents;
}

QString ScriptedInteraction::takeChoice(std::deque<QString>& queue, ChoiceKind kind, const QString& title,
                                        const QString& directory, const QString& filter)
{
    QString answer;
    if (!queue.empty()) {
        answer = queue.front();
        queue.pop_front();
    }
    m_choices.push_back({ kind, title, directory, filter, answer });
    return answer;
}

QString ScriptedInteraction::chooseOpenFile(const QString& title, const QString& directory, const QString& filter)
{
    return takeChoice(m_openFiles, ChoiceKind::OpenFile, title, directory, filter);
}

QString ScriptedInteraction::chooseSaveFile(const QString& title, const QString& directory, const QString& filter)
{
    return takeChoice(m_saveFiles, ChoiceKind::SaveFile, title, directory, filter);
}

QString ScriptedInteraction::chooseFolder(const QString& title, const QString& directory)
{
    return takeChoice(m_folders, ChoiceKind::Folder, title, directory, QString());
}

std::optional<QString> ScriptedInteraction::askText(const QString& title, const QString& label,
                                                    const QString& initial, bool secret)
{
    std::optional<QString> answer;
    if (!m_texts.empty()) {
        answer = m_texts.front();
        m_texts.pop_front();
    }
    m_textQuestions.push_back({ title, label, initial, secret, answer });
    return answer;
}

bool ScriptedInteraction::openFile(const QString& path)
{
    m_openedFiles << path;
    return m_openFileSucceeds;
}

}
