#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace velmor {

// One running copy per program home. The first copy listens on a local socket whose name is
// derived from the home path; a later copy connects, asks it to show its window and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programHome, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The local socket name of a program home (the same for any spelling of the same path).
    static QString serverName(const QString& programHome);

    QString name() const { return m_name; }

    // True when a copy already runs for this home; it has been asked to show its window.
    bool activateRunning(int timeoutMs = 2000);
    // Starts answering later copies; false when the socket cannot be made.
    bool listen();
    bool listening() const;

signals:
    // A later copy asked this one to restore and raise its window.
    void activationRequested();

private:
    void onConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

}
