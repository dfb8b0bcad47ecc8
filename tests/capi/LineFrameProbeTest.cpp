#include "capi/LineFrameProbe.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using FrameState = LineFrame::State;

class LineFrameProbeTest : public ::testing::Test
{
protected:
    LineFrameProbeTest() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
    ~LineFrameProbeTest() override
    {
        closeFd(fds[0]);
        closeFd(fds[1]);
    }
    void closeFd(int& fd)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    void send(const std::vector<std::uint8_t>& bytes)
    {
        ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    int line() const { return fds[0]; }

    int fds[2] = {-1, -1};
};

std::vector<std::uint8_t> frame(std::size_t length, std::uint8_t command = 0x05,
                                std::uint8_t subcommand = 0x81)
{
    std::vector<std::uint8_t> f(3 + length, 0);
    f[0] = 0x80;
    f[1] = std::uint8_t(length & 0xff);
    f[2] = std::uint8_t(length >> 8);
    if (length >= 6) {
        f[3 + 4] = command;
        f[3 + 5] = subcommand;
    }
    return f;
}

} // namespace

TEST_F(LineFrameProbeTest, WholeFramesOnlyAndNothingTaken)
{
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Empty);

    const auto f = frame(14);
    send({f[0], f[1]});
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Partial);
    send(std::vector<std::uint8_t>(f.begin() + 2, f.begin() + 10));
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Partial);
    send(std::vector<std::uint8_t>(f.begin() + 10, f.end()));
    send(frame(20, 0x02, 0x82)); // a second frame behind it

    LineFrame found = LineFrameProbe::probe(line());
    EXPECT_EQ(found.state, FrameState::Whole);
    EXPECT_EQ(found.length, 14u);
    EXPECT_EQ(found.command, 0x05);
    EXPECT_EQ(found.subcommand, 0x81);
    // Peeking takes nothing: the same frame again.
    EXPECT_EQ(LineFrameProbe::probe(line()).length, 14u);

    ASSERT_TRUE(LineFrameProbe::discard(line(), 14));
    found = LineFrameProbe::probe(line());
    EXPECT_EQ(found.state, FrameState::Whole);
    EXPECT_EQ(found.command, 0x02);
    ASSERT_TRUE(LineFrameProbe::discard(line(), 20));
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Empty);
}

TEST_F(LineFrameProbeTest, OversizedHeaderSeenAtOnce)
{
    send({0x80, 0x88, 0x13}); // 5000 bytes announced, none sent
    const LineFrame found = LineFrameProbe::probe(line());
    EXPECT_EQ(found.state, FrameState::Oversized);
    EXPECT_EQ(found.length, 5000u);

    closeFd(fds[1]);
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    auto largest = frame(4096);
    send(largest);
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Whole);
}

TEST_F(LineFrameProbeTest, ClosedPeerIsNotAnEmptyQueue)
{
    // A whole frame before the close is still delivered, then the close.
    send(frame(14));
    send({0x80, 0x10}); // half a header that will never be completed
    closeFd(fds[1]);
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Whole);
    ASSERT_TRUE(LineFrameProbe::discard(line(), 14));
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Closed);
    char rest[2];
    ASSERT_EQ(read(line(), rest, 2), 2);
    EXPECT_EQ(LineFrameProbe::probe(line()).state, FrameState::Closed);
}

TEST(LineFrameProbeDeviceTest, DescriptorThatIsNoSocket)
{
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    EXPECT_EQ(LineFrameProbe::probe(pipeFds[0]).state, FrameState::NotSocket);
    close(pipeFds[0]);
    close(pipeFds[1]);
}
