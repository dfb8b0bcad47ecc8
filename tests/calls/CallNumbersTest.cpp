#include "calls/CallNumbers.h"

#include "CallTestSupport.h"

#include <gtest/gtest.h>

using test::calledStruct;
using test::callingStruct;
using test::rawStruct;

namespace {

CallNumbers extract(const std::vector<uint8_t>& calling, const std::vector<uint8_t>& called)
{
    return ExtractCallNumbers(calling.data(), called.data(), 208);
}

} // namespace

TEST(CallNumbers, DigitsOfBothStructs)
{
    const CallNumbers n = extract(callingStruct("0212345678"), calledStruct("7654321"));
    EXPECT_EQ(n.callerNumber, "0212345678");
    EXPECT_EQ(n.msn, "7654321");
    EXPECT_TRUE(n.numberDelivered);
}

TEST(CallNumbers, AbsentOrEmptyNumbersAreUnknown)
{
    // Empty structs; a calling struct with only its two leading octets; a
    // called struct with only its type octet.
    for (const auto& calling : {rawStruct({}), rawStruct({0x01, 0x80})}) {
        const CallNumbers n = extract(calling, rawStruct({0x81}));
        EXPECT_EQ(n.callerNumber, "Ukjent nummer");
        EXPECT_EQ(n.msn, "Ukjent nummer");
        EXPECT_FALSE(n.numberDelivered);
    }
}

TEST(CallNumbers, LengthOctetsOf128AndMoreMeanNoNumber)
{
    const CallNumbers n =
        extract(rawStruct({0x01, 0x80, '1', '2'}, 0x80), rawStruct({0x81, '5', '5'}, 0xFF));
    EXPECT_EQ(n.callerNumber, "Ukjent nummer");
    EXPECT_EQ(n.msn, "Ukjent nummer");
    EXPECT_FALSE(n.numberDelivered);
}

TEST(CallNumbers, ZeroOrControlOctetEndsTheNumber)
{
    // A line break in a number from the line would split the call log's
    // records: it ends the number like a zero octet.
    CallNumbers n =
        extract(rawStruct({0x01, 0x80, '1', '2', 0, '3'}), rawStruct({0x81, '4', '\n', '5'}));
    EXPECT_EQ(n.callerNumber, "12");
    EXPECT_EQ(n.msn, "4");

    // A number that begins with the zero octet carries no digits at all.
    n = extract(rawStruct({0x01, 0x80, 0, '3'}), rawStruct({0x81, '\r', '5'}));
    EXPECT_EQ(n.callerNumber, "Ukjent nummer");
    EXPECT_FALSE(n.numberDelivered);
    EXPECT_EQ(n.msn, "Ukjent nummer");
}

TEST(CallNumbers, NeverReadsPastTheCopy)
{
    // A length octet of 127 on a short copy: only the copy is read.
    std::vector<uint8_t> calling(10, '9');
    calling[0] = 127;
    calling[1] = 0x01;
    calling[2] = 0x80;
    std::vector<uint8_t> called(5, '7');
    called[0] = 127;
    called[1] = 0x81;
    const CallNumbers n = ExtractCallNumbers(calling.data(), called.data(), 5);
    EXPECT_EQ(n.callerNumber, "99");
    EXPECT_EQ(n.msn, "777");
}
