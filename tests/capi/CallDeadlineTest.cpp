#include "capi/CallDeadline.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct SocketPair
{
    SocketPair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
    ~SocketPair()
    {
        close(fds[0]);
        close(fds[1]);
    }
    int fds[2] = {-1, -1};
};

} // namespace

TEST(CallDeadlineTest, InterruptsABlockingReadOnceThePassedLimit)
{
    SocketPair pair;
    char byte = 0;
    {
        CallDeadline deadline(std::chrono::milliseconds(100));
        // Nobody ever writes: without the deadline this read never returns.
        const ssize_t n = read(pair.fds[0], &byte, 1);
        const int error = errno;
        EXPECT_EQ(n, -1);
        EXPECT_EQ(error, EINTR);
    }
}

TEST(CallDeadlineTest, CallsThatFinishInTimeAreUntouched)
{
    SocketPair pair;
    for (int i = 0; i < 20; ++i) {
        CallDeadline deadline(std::chrono::milliseconds(10000));
        ASSERT_EQ(write(pair.fds[1], "y", 1), 1);
        char byte = 0;
        EXPECT_EQ(read(pair.fds[0], &byte, 1), 1);
    }
}
