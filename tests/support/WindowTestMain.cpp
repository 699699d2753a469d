#include "UiTestUtil.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

// Seconds a window test may run; VELMOR_TEST_LIMIT overrides (a slow sanitizer build).
int testLimitSeconds()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("VELMOR_TEST_LIMIT", &ok);
    return ok && value > 0 ? value : 60;
}

// Fails a window test that runs past its limit and closes every modal window and popup until the
// test returns, so a missed answer costs a minute, not the whole run. Should the event loop not run
// at all, a thread ends the process a little later, naming the test.
class Watchdog : public ::testing::EmptyTestEventListener {
public:
    Watchdog()
        : m_limit(testLimitSeconds())
        , m_killer([this] { killWhenStuck(); })
    {
        m_timer.setSingleShot(false);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { overdue(); });
    }
    ~Watchdog() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_killer.join();
    }

    void OnTestStart(const ::testing::TestInfo& info) override
    {
        m_reported = false;
        m_timer.start(m_limit * 1000);
        std::lock_guard lock(m_mutex);
        m_running = std::string(info.test_suite_name()) + "." + info.name();
        m_hardDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_limit + 30);
        m_wake.notify_all();
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        m_timer.stop();
        velmor::test::endPendingAnswers();
        std::lock_guard lock(m_mutex);
        m_running.clear();
        m_wake.notify_all();
    }

private:
    void overdue()
    {
        if (!m_reported) {
            m_reported = true;
            ADD_FAILURE() << "the test ran past its limit of " << m_limit << " s; closing its windows";
            m_timer.setInterval(50);
        }
        velmor::test::closeModalsAndPopups();
    }

    void killWhenStuck()
    {
        std::unique_lock lock(m_mutex);
        while (!m_quit) {
            if (m_running.empty()) {
                m_wake.wait(lock);
                continue;
            }
            const std::string name = m_running;
            if (m_wake.wait_until(lock, m_hardDeadline) == std::cv_status::timeout && m_running == name
                && std::chrono::steady_clock::now() >= m_hardDeadline) {
                std::fprintf(stderr, "\n%s did not finish within %d s and its windows could not be closed\n",
                             name.c_str(), m_limit + 30);
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }

    const int m_limit;
    QTimer m_timer;
    bool m_reported = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_running;
    std::chrono::steady_clock::time_point m_hardDeadline;
    bool m_quit = false;
    std::thread m_killer;
};

}

int main(int argc, char** argv)
{
    // Window tests run headless unless told otherwise (test discovery included).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    auto* watchdog = new Watchdog;
    listeners.Append(watchdog);
    const int status = RUN_ALL_TESTS();
    // Gone before the application, as its timer must be.
    delete listeners.Release(watchdog);
    return status;
}
