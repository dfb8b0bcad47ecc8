// The exchange's parts on their own: encodings, the control line, the
// allocation of application ids.
#include "ApplIdAllocator.h"
#include "CapiDecoder.h"
#include "CapiEncoder.h"
#include "ControlLine.h"
#include "TextCodec.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

std::string bytes(const char* hex)
{
    return QByteArray::fromHex(hex).toStdString();
}

TEST(PartsTest, ConnectIndOfTheProtocolNotesIsBuiltExactly)
{
    capi::ConnectIndication call;
    call.applId = 1;
    call.msgnum = 5;
    call.plci = 0x101;
    call.cip = 1;
    call.calledDigits = "7654321";
    call.callingDigits = "0212345678";
    EXPECT_EQ(capi::frame(capi::connectInd(call)),
              bytes("802a00 2a00 0100 0282 0500 01010000 0100 08 81 37363534333231 "
                    "0c 01 80 30323132333435363738 000000000000"));

    const capi::DecodedMessage resp = capi::decode(
        bytes("2200 0100 0283 0500 01010000 0100 0900000000000000000000 000000 0400000000"));
    EXPECT_EQ(resp.kind, capi::MessageKind::ConnectResp);
    EXPECT_EQ(resp.msgnum, 5);
    EXPECT_EQ(resp.plci, 0x101u);
    EXPECT_EQ(resp.reject, 1);
    EXPECT_EQ(capi::commandName(0x02, 0x83), "CONNECT_RESP");
    EXPECT_EQ(capi::commandName(0x99, 0x82), "0x99/0x82");
    EXPECT_TRUE(capi::decode(bytes("1000 0100 0580 0000 01000000")).truncated);
}

TEST(PartsTest, EscapesCarryEveryByte)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    std::string error;
    const std::string token = codec::escapeToken(all);
    EXPECT_EQ(token.find(' '), std::string::npos);
    EXPECT_EQ(codec::unescape(token, error), all);

    EXPECT_EQ(codec::unescape("a\\r\\n\\t\\0\\\\\\x41", error), std::string("a\r\n\t\0\\A", 7));
    EXPECT_FALSE(codec::unescape("\\x4", error));
    EXPECT_FALSE(codec::unescape("\\q", error));
    EXPECT_FALSE(codec::unescape("end\\", error));

    EXPECT_EQ(codec::fromHex("80 0E:00ff"), bytes("800e00ff"));
    EXPECT_FALSE(codec::fromHex("8"));
    EXPECT_FALSE(codec::fromHex("8 0"));
    EXPECT_EQ(codec::toHex(bytes("00ff1a")), "00ff1a");

    EXPECT_EQ(codec::parseNumber("0x1FFF", 0xffff), 0x1fffu);
    EXPECT_EQ(codec::parseNumber("65535", 0xffff), 65535u);
    EXPECT_FALSE(codec::parseNumber("65536", 0xffff));
    EXPECT_FALSE(codec::parseNumber("0x", 0xffff));
    EXPECT_FALSE(codec::parseNumber("-1", 0xffff));
    EXPECT_EQ(codec::parseSeconds("1", 10), 1000);
    EXPECT_EQ(codec::parseSeconds("0.25", 10), 250);
    EXPECT_FALSE(codec::parseSeconds("1.", 10));
    EXPECT_FALSE(codec::parseSeconds("11", 10));
    EXPECT_FALSE(codec::parseSeconds("0.0001", 10));
}

TEST(PartsTest, ControlLinesRoundTripAndRejectWhatTheyDoNotKnow)
{
    ControlRequest ring;
    ring.verb = "ring";
    ring.set("from", std::string("02 12\r\n\0", 8));
    ring.set("to", "");
    std::string error;
    const std::optional<ControlRequest> parsed = ControlRequest::parse(ring.format(), error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(*parsed->find("from"), std::string("02 12\r\n\0", 8));
    EXPECT_EQ(*parsed->find("to"), "");
    EXPECT_EQ(parsed->find("cip"), nullptr);

    const std::optional<ControlRequest> positional = ControlRequest::parse("cm-raw a=b\r", error);
    ASSERT_TRUE(positional) << error;
    EXPECT_EQ(*positional->find("text"), "a=b");

    EXPECT_FALSE(ControlRequest::parse("", error));
    EXPECT_FALSE(ControlRequest::parse("dial 123", error));
    EXPECT_EQ(error, "unknown command dial");
    EXPECT_FALSE(ControlRequest::parse("ring 0212345678", error));
    EXPECT_FALSE(ControlRequest::parse("silent on off", error));
    EXPECT_FALSE(ControlRequest::parse("ring to=1 to=2", error));
}

TEST(PartsTest, BlocksOfIdsAreClaimedOncePerLockFolder)
{
    QTemporaryDir dir;
    const std::string lockDir = dir.path().toStdString();
    std::string error;
    auto first = ApplIdAllocator::claimBlock(lockDir, 5, error);
    auto second = ApplIdAllocator::claimBlock(lockDir, 5, error);
    ASSERT_TRUE(first && second) << error;
    EXPECT_EQ(first->describe(), "81-96");
    EXPECT_EQ(second->describe(), "97-112");

    // The last block stops at 1023, the highest application id.
    auto last = ApplIdAllocator::claimBlock(lockDir, 63, error);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->describe(), "1009-1023");
    // The block of an allocator that is gone is free again.
    first.reset();
    auto again = ApplIdAllocator::claimBlock(lockDir, 5, error);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->lowest(), 81);

    // Round robin within the block, skipping ids still in use.
    std::set<uint16_t> used = {82, 83};
    auto inUse = [&used](uint16_t id) { return used.count(id) != 0; };
    EXPECT_EQ(again->allocate(inUse), 81);
    EXPECT_EQ(again->allocate(inUse), 84);
    for (uint16_t id = 81; id <= 96; ++id)
        used.insert(id);
    EXPECT_EQ(again->allocate(inUse), 0);
    used.erase(81);
    EXPECT_EQ(again->allocate(inUse), 81);
}

TEST(PartsTest, FirstIdCountsUpToTheLastIdAndWraps)
{
    auto ids = ApplIdAllocator::fromFirstId(1022);
    auto none = [](uint16_t) { return false; };
    EXPECT_EQ(ids->allocate(none), 1022);
    EXPECT_EQ(ids->allocate(none), 1023);
    EXPECT_EQ(ids->allocate(none), 1);
    EXPECT_EQ(ids->describe(), "1022-1023,1-1021");
}

} // namespace
