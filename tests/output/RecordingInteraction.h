#pragma once

// Interaction seam for the export tests: answers file choices from a queue and records progress,
// messages and opened files.

#include "core/Interaction.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace velmor::test {

class RecordingInteraction : public Interaction {
public:
    struct Progress {
        char kind; // 'S'how, 'H'ide, 'L'abel, 'M'aximum, 'P'osition
        QString label;
        int value = 0;
    };

    std::deque<QString> saveAnswers;
    bool openSucceeds = true;

    std::vector<Progress> progress;
    QStringList messages;      // "title|text"
    QStringList saveFilters;   // filter of each save-file question
    QStringList openedFiles;
    int processed = 0;

    int Mesaj(const QString& title, const QString& text, int, int) override
    {
        messages << title + QLatin1Char('|') + text;
        return ResultOk;
    }
    void ArataProblema(const QString& text, const QString&) override { messages << QStringLiteral("balloon|") + text; }
    void Arata() override { progress.push_back({'S', {}, 0}); }
    void Distruge() override { progress.push_back({'H', {}, 0}); }
    void setProgressLabel(const QString& text) override { progress.push_back({'L', text, 0}); }
    void setProgressMaximum(int maximum) override { progress.push_back({'M', {}, maximum}); }
    void setProgressPosition(int position) override { progress.push_back({'P', {}, position}); }
    void processEvents() override { ++processed; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString& filter) override
    {
        saveFilters << filter;
        if (saveAnswers.empty())
            return {};
        QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> askText(const QString&, const QString&, const QString&, bool) override { return std::nullopt; }
    bool openFile(const QString& path) override
    {
        openedFiles << path;
        return openSucceeds;
    }

    // The progress events as text: "S", "M250", "P100", "Lxyz", "H".
    QStringList progressTrace() const
    {
        QStringList trace;
        for (const Progress& p : progress) {
            if (p.kind == 'L')
                trace << QStringLiteral("L") + p.label;
            else if (p.kind == 'M' || p.kind == 'P')
                trace << QLatin1Char(p.kind) + QString::number(p.value);
            else
                trace << QString(QLatin1Char(p.kind));
        }
        return trace;
    }
};

}
