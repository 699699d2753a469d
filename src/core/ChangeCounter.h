#pragma once

#include <QtGlobal>

namespace velmor {

// Counts the changes an operation makes to its files (a statement that changed a table, a file
// written, renamed or deleted) and can stop the process right after the n-th one, without any
// clean-up, as a power cut would: the tests of the recovery use it. Off unless stopAfter() is set.
class ChangeCounter {
public:
    // Status of a process stopped after its n-th change.
    static constexpr int StoppedStatus = 3;

    // 0 switches the stop off.
    static void stopAfter(qint64 n);
    // One change done; ends the process with StoppedStatus when it is the n-th.
    static void count();
    // Changes counted since the start of the process.
    static qint64 done();
};

}
