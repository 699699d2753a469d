#pragma once

#include <QString>

#include <stdexcept>

namespace velmor::engine {

// A statement or cursor operation that failed; carries the engine's message.
class SqlError : public std::runtime_error {
public:
    explicit SqlError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

}
