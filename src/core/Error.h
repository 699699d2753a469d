#pragma once

#include <QString>

#include <stdexcept>

namespace velmor {

// The one error type of the program: every failure of storage, engine, archives, services and
// logic is an Error (or a subclass) carrying a message meant for the user. what() holds the same
// text in UTF-8.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

}
