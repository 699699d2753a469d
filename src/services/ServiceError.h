#pragma once

#include <QString>

#include <stdexcept>

namespace velmor {

// An error of a shared service (settings file, registry store, counters). Carries a message
// meant for the user; what() holds the same text in UTF-8.
class ServiceError : public std::runtime_error {
public:
    explicit ServiceError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

}
