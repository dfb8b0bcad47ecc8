#pragma once

#include "controller/Controller.h"

#include <QTest>

namespace test {

// Runs the event loop until no call waits for its announcement and none is
// under way; false when that did not come.
inline bool announcementsDone(const Controller& core)
{
    return QTest::qWaitFor([&] { return core.announcer().waiting() == 0 && !core.busy(); });
}

} // namespace test
