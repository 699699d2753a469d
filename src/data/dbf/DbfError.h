#pragma once

#include <QString>

#include <stdexcept>

namespace velmor::dbf {

// A dBase file that cannot be read or written; the message names the file and the problem.
class DbfError : public std::runtime_error {
public:
    explicit DbfError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

}
