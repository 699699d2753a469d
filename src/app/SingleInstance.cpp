#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace velmor {

namespace {

const QByteArray kActivate = QByteArrayLiteral("ACTIVATE\n");

}

SingleInstance::SingleInstance(const QString& programHome, QObject* parent)
    : QObject(parent)
    , m_name(serverName(programHome))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& programHome)
{
    QFileInfo info(programHome);
    QString path = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    path = path.toLower();
#endif
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    return QStringLiteral("velmor-") + QString::fromLatin1(hash);
}

bool SingleInstance::activateRunning(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    socket.flush();
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::listen()
{
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    }
    if (m_server->isListening())
        return true;
    if (m_server->listen(m_name))
        return true;
    // A socket left behind by a copy that did not end cleanly (nobody answered on it).
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

bool SingleInstance::listening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::onConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kActivate.trimmed()))
                emit activationRequested();
        });
        if (socket->bytesAvailable() > 0 && socket->readAll().contains(kActivate.trimmed()))
            emit activationRequested();
    }
}

}
