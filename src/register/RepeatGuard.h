#pragma once

namespace velmor {

// Guard of a handler against re-entry: a call that arrives while the handler runs is only
// counted, and the running call repeats the handler at its end when such calls arrived.
class RepeatGuard {
public:
    bool running() const { return m_running; }

    template <typename Body>
    void run(Body&& body)
    {
        if (m_running) {
            m_pending = true;
            return;
        }
        m_running = true;
        struct Reset {
            RepeatGuard* guard;
            ~Reset()
            {
                guard->m_running = false;
                guard->m_pending = false;
            }
        } reset {this};
        do {
            m_pending = false;
            body();
        } while (m_pending);
    }

private:
    bool m_running = false;
    bool m_pending = false;
};

}
