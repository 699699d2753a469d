#include "services/ServiceError.h"

namespace velmor {

ServiceError::ServiceError(const QString& message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

}
