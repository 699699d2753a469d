#pragma once

#include <QObject>

namespace velmor {

// Whether the administrator unlocked changes for this run. Every window hears of each setting
// through `changed` (also when the state stays as it was); a read-only register stays locked.
class UnlockState : public QObject {
    Q_OBJECT
public:
    bool unlocked() const { return m_unlocked; }
    // Ignored when `on` asks to unlock a read-only register.
    void set(bool on, bool readOnly);

signals:
    void changed(bool unlocked);

private:
    bool m_unlocked = false;
};

}
