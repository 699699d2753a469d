#include "services/UnlockState.h"

namespace velmor {

void UnlockState::set(bool on, bool readOnly)
{
    if (on && readOnly)
        return;
    m_unlocked = on;
    emit changed(on);
}

}
