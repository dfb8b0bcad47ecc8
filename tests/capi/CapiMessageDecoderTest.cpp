#include "capi/CapiMessageDecoder.h"

#include "FakeCapiMessages.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

using namespace FakeCapiMessages;

namespace {

// The CONNECT_IND of a call from 0212345678 to 7654321 as a router sends it.
const Bytes kExampleConnectInd = {0x2a, 0x00, 0x01, 0x00, 0x02, 0x82, 0x05, 0x00, 0x01, 0x01, 0x00,
                                  0x00, 0x01, 0x00, 0x08, 0x81, 0x37, 0x36, 0x35, 0x34, 0x33, 0x32,
                                  0x31, 0x0c, 0x01, 0x80, 0x30, 0x32, 0x31, 0x32, 0x33, 0x34, 0x35,
                                  0x36, 0x37, 0x38, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

Bytes structBytes(_cstruct s)
{
    if (s == nullptr)
        return {};
    return Bytes(s, s + 1 + s[0]);
}

} // namespace

TEST(CapiMessageDecoderTest, DecodesARealConnectInd)
{
    CapiMessageDecoder decoder;
    _cmsg record;
    ASSERT_TRUE(decoder.decode(kExampleConnectInd.data(), kExampleConnectInd.size(), record));
    EXPECT_EQ(record.Command, 0x02);
    EXPECT_EQ(record.Subcommand, 0x82);
    EXPECT_EQ(record.Messagenumber, 5);
    EXPECT_EQ(record.adr.adrPLCI, 0x101u);
    EXPECT_EQ(record.CIPValue, 1);
    EXPECT_EQ(hex(structBytes(record.CalledPartyNumber)), hex(calledNumber("7654321")));
    EXPECT_EQ(hex(structBytes(record.CallingPartyNumber)), hex(callingNumber("0212345678")));
    EXPECT_EQ(kExampleConnectInd,
              connectInd(5, 0x101, 1, calledNumber("7654321"), callingNumber("0212345678")));
}

TEST(CapiMessageDecoderTest, LengthWordMustFitWhatWasReceived)
{
    CapiMessageDecoder decoder;
    _cmsg record;
    Bytes m = kExampleConnectInd;
    // More received than the message says (a frame with trailing bytes): fine.
    Bytes longer = m;
    longer.insert(longer.end(), {0xde, 0xad});
    EXPECT_TRUE(decoder.decode(longer.data(), longer.size(), record));
    // Received fewer bytes than the length word says.
    EXPECT_FALSE(decoder.decode(m.data(), m.size() - 1, record));
    EXPECT_EQ(record.Command, 0); // a refused message leaves a cleared record
    // A length word below the header.
    m[0] = 7;
    EXPECT_FALSE(decoder.decode(m.data(), m.size(), record));
    EXPECT_FALSE(decoder.decode(m.data(), 7, record));
    // A length word beyond the largest frame, even with the bytes there.
    Bytes huge = message(0x08, 0x82, 0, concat({dword(1), word(2), cstruct(Bytes(5000, 'x'))}));
    huge[0] = 0;
    huge[1] = 0x20;
    EXPECT_FALSE(decoder.decode(huge.data(), huge.size(), record));
}

TEST(CapiMessageDecoderTest, KnownCommandsAreExactlyCapi20)
{
    EXPECT_TRUE(CapiMessageDecoder::isKnownCommand(0x02, 0x82));
    EXPECT_TRUE(CapiMessageDecoder::isKnownCommand(0x05, 0x81));
    EXPECT_TRUE(CapiMessageDecoder::isKnownCommand(0x41, 0x80));
    EXPECT_TRUE(CapiMessageDecoder::isKnownCommand(0xff, 0x83));
    EXPECT_FALSE(CapiMessageDecoder::isKnownCommand(0x00, 0x00));
    EXPECT_FALSE(CapiMessageDecoder::isKnownCommand(0x01, 0x82)); // ALERT has no IND
    EXPECT_FALSE(CapiMessageDecoder::isKnownCommand(0x99, 0x82));
    EXPECT_FALSE(CapiMessageDecoder::isKnownCommand(0x05, 0x82)); // LISTEN has no IND
    EXPECT_FALSE(CapiMessageDecoder::isKnownCommand(0x02, 0x84));
    int known = 0;
    for (int c = 0; c < 256; ++c) {
        for (int s = 0; s < 256; ++s)
            known += CapiMessageDecoder::isKnownCommand(std::uint8_t(c), std::uint8_t(s));
    }
    EXPECT_EQ(known, 48);
}

TEST(CapiMessageDecoderTest, RandomMessagesNeverEscapeTheMessage)
{
    // Random parameters for every known command: whatever the unpacker makes
    // of them, an accepted record has every struct inside the message.
    CapiMessageDecoder decoder;
    std::mt19937 random(20240601);
    const std::uint8_t commands[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x08, 0x41, 0x80,
                                     0x82, 0x83, 0x84, 0x86, 0x87, 0x88, 0xff};
    int accepted = 0;
    for (std::uint8_t command : commands) {
        for (std::uint8_t subcommand = 0x80; subcommand <= 0x83; ++subcommand) {
            if (!CapiMessageDecoder::isKnownCommand(command, subcommand))
                continue;
            for (int i = 0; i < 300; ++i) {
                Bytes params(random() % 60);
                for (auto& b : params) {
                    const unsigned r = random() % 10;
                    b = r < 2 ? 0xff : r < 6 ? 0 : std::uint8_t(random() % 8);
                }
                const Bytes m = message(command, subcommand, 1, params);
                _cmsg record;
                if (!decoder.decode(m.data(), m.size(), record))
                    continue;
                ++accepted;
                for (_cstruct s :
                     {record.CalledPartyNumber, record.CallingPartyNumber, record.BC, record.LLC,
                      record.HLC, record.InfoElement, record.NCPI, record.Facilitydataarray}) {
                    if (s == nullptr)
                        continue;
                    // Each struct lies within the decoder's copy of m.
                    const std::size_t len = s[0] == 0xff ? 3u + (s[1] | (s[2] << 8)) : 1u + s[0];
                    EXPECT_LE(len, m.size());
                }
            }
        }
    }
    EXPECT_GT(accepted, 0); // the check ran on real records
}

TEST(CapiMessageDecoderTest, CopyStructCutsAndClears)
{
    std::uint8_t out[208];
    std::memset(out, 0xaa, sizeof out);
    const Bytes shortStruct = callingNumber("12");
    CapiMessageDecoder::copyStruct(shortStruct.data(), out, sizeof out);
    EXPECT_EQ(Bytes(out, out + 5), shortStruct);
    EXPECT_EQ(Bytes(out + 5, out + 208), Bytes(203, 0));

    Bytes content(300);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = std::uint8_t(i);
    const Bytes longStruct = cstruct(content);
    ASSERT_EQ(longStruct[0], 0xff);
    std::uint8_t guarded[210];
    std::memset(guarded, 0xaa, sizeof guarded);
    CapiMessageDecoder::copyStruct(longStruct.data(), guarded + 1, 208);
    EXPECT_EQ(guarded[0], 0xaa);
    EXPECT_EQ(guarded[209], 0xaa); // nothing written past the 208 bytes
    EXPECT_EQ(guarded[1], 207);
    EXPECT_EQ(Bytes(guarded + 2, guarded + 209), Bytes(content.begin(), content.begin() + 207));

    CapiMessageDecoder::copyStruct(nullptr, out, sizeof out);
    EXPECT_EQ(Bytes(out, out + 208), Bytes(208, 0));
}
