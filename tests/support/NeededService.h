#pragma once

#include <QtGlobal>
#include <gtest/gtest.h>

namespace test {

// True where the suite runs as the project's CI (RINGVAKT_CI set), which
// installs everything the tests need.
inline bool runsAsCi()
{
    return !qEnvironmentVariableIsEmpty("RINGVAKT_CI");
}

} // namespace test

// A service the test needs (a session bus, a broker) could not be had: a
// failure in CI, where it must be there, and a skip on a developer's machine
// that lacks it. Ends the test (or its SetUp) either way.
#define RINGVAKT_NEED_SERVICE(available, what)                                                     \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (test::runsAsCi())                                                                  \
                GTEST_FAIL() << what << " (needed where RINGVAKT_CI is set)";                      \
            else                                                                                   \
                GTEST_SKIP() << what;                                                              \
        }                                                                                          \
    } while (false)
