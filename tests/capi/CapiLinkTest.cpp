#include "capi/CapiLink.h"

#include "FakeCapiApi.h"
#include "FakeCapiMessages.h"
#include "capi/CapiListener.h"
#include "capi/CapiTexts.h"

#include <gtest/gtest.h>
#include <memory>

using namespace FakeCapiMessages;
using Op = FakeCapiApi::Op;

namespace {

const Bytes kListenReqController1 = {0x1a, 0x00, 0x01, 0x00, 0x05, 0x80, 0x00, 0x00, 0x01,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0x03,
                                     0xff, 0x1f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

class CapiLinkTest : public ::testing::Test
{
protected:
    CapiLinkTest()
    {
        link = std::make_unique<CapiLink>(fake);
        link->setFatalHandler([this](const QString& text) { fatals.push_back(text); });
        listener.setFatalHandler([this](const QString& text) { fatals.push_back(text); });
        listener.setCallHandler([this](const CapiLink::Call& call) { takeCall(call); });
    }

    void takeCall(const CapiLink::Call& call)
    {
        ++calls;
        callingAtCall.assign(call.calling.begin(), call.calling.end());
        calledAtCall.assign(call.called.begin(), call.called.end());
        summaryAtCall = fake.summary();
    }

    // One fetch from the link alone; a call is taken as the listener's are.
    void fetch()
    {
        const CapiLink::Fetched fetched = link->fetchOne();
        if (fetched.kind == CapiLink::Fetched::Kind::Call)
            takeCall(fetched.call);
    }

    // The listener's start-up, as ringvakt-listen does it.
    void startListener()
    {
        ASSERT_TRUE(listener.start());
        ASSERT_TRUE(fatals.empty());
        fake.clearCalls();
    }

    // Start-up as the program does it.
    void start()
    {
        const std::size_t fatalsBefore = fatals.size();
        ASSERT_TRUE(link->RegisterWithCapi());
        ASSERT_EQ(link->ListenAll(CapiLink::kCipMaskAll), 0u);
        ASSERT_EQ(fatals.size(), fatalsBefore);
        fake.clearCalls();
    }

    std::vector<Bytes> puts() const
    {
        std::vector<Bytes> all;
        for (const auto& call : fake.callsOf(Op::Put))
            all.push_back(call.bytes);
        return all;
    }

    FakeCapiApi fake;
    std::unique_ptr<CapiLink> link;
    // The link as ringvakt-listen holds it: handed over after each call.
    CapiListener listener{fake, 1000};
    std::vector<QString> fatals;
    int calls = 0;
    Bytes callingAtCall;
    Bytes calledAtCall;
    std::string summaryAtCall;
};

} // namespace

TEST_F(CapiLinkTest, StartupWithoutControllersSendsNothing)
{
    fake.setControllers(0);
    fake.setApplId(42);
    ASSERT_TRUE(link->RegisterWithCapi());
    EXPECT_EQ(link->ListenAll(CapiLink::kCipMaskAll), 0u);
    EXPECT_EQ(fake.summary(), "INSTALLED, REGISTER, GET_PROFILE");
    EXPECT_EQ(link->applId(), 42);
    EXPECT_EQ(fake.lastMessageBufferSize, 3072u);
    EXPECT_EQ(fake.lastMaxLogicalConnections, 2u);
    EXPECT_EQ(fake.lastMaxBDataBlocks, 7u);
    EXPECT_EQ(fake.lastMaxBDataLength, 2048u);
    EXPECT_EQ(fake.callsOf(Op::GetProfile).at(0).controller, 0u);
    EXPECT_TRUE(fatals.empty());
}

TEST_F(CapiLinkTest, ListenRequestPerControllerInOrder)
{
    fake.setControllers(2);
    ASSERT_TRUE(link->RegisterWithCapi());
    EXPECT_EQ(link->ListenAll(CapiLink::kCipMaskAll), 0u);
    EXPECT_EQ(fake.summary(),
              "INSTALLED, REGISTER, GET_PROFILE, PUT(LISTEN_REQ c1), PUT(LISTEN_REQ c2)");
    const auto sent = puts();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(hex(sent[0]), hex(kListenReqController1));
    Bytes second = kListenReqController1;
    second[8] = 0x02;
    EXPECT_EQ(hex(sent[1]), hex(second)); // message number 0, same CIP mask
}

TEST_F(CapiLinkTest, ListenAllStopsAtFirstFailingPut)
{
    fake.setControllers(3);
    ASSERT_TRUE(link->RegisterWithCapi());
    fake.scriptResult(Op::Put, kCapiNoError);
    fake.scriptResult(Op::Put, 0x1103);
    EXPECT_EQ(link->ListenAll(CapiLink::kCipMaskAll), 0x1103u);
    EXPECT_EQ(puts().size(), 2u);
    EXPECT_TRUE(fatals.empty()); // a failing listen put is not fatal
}

TEST_F(CapiLinkTest, ConfirmationsOnlyListenConfAboveFFIsFatal)
{
    start();
    fake.queueMessage(listenConf(1, 0x00FF));
    fake.queueMessage(connectConf(0x101, 0x2002));
    fake.queueMessage(disconnectConf(0x101, 0x2001));
    for (int i = 0; i < 3; ++i)
        fetch();
    EXPECT_TRUE(fatals.empty());
    EXPECT_EQ(fake.summary(), "GET, GET, GET");

    fake.queueMessage(listenConf(1, 0x0100));
    fetch();
    ASSERT_EQ(fatals.size(), 1u);
    EXPECT_EQ(fatals[0], QString::fromUtf8(CapiTexts::kNoListenConf));
    EXPECT_EQ(fatals[0], QStringLiteral("Ingen LISTEN_CONF !"));
}

TEST_F(CapiLinkTest, ConnectIndAnsweredBeforeItIsHandedOnThenTheLineIsHandedOver)
{
    fake.setControllers(2);
    startListener();
    fake.setApplId(9); // the next registration gets a new id
    fake.queueMessage(
        connectInd(5, 0x101, 1, calledNumber("7654321"), callingNumber("0212345678")));
    listener.poll();

    EXPECT_EQ(calls, 1);
    EXPECT_EQ(summaryAtCall, "GET, PUT(CONNECT_RESP)");
    // The next registration listens (its confirmation cannot be waited for
    // here), then the old one is drained and released.
    EXPECT_EQ(fake.summary(), "GET, PUT(CONNECT_RESP), INSTALLED, REGISTER, GET_PROFILE, "
                              "PUT(LISTEN_REQ c1), PUT(LISTEN_REQ c2), GET, GET, RELEASE");
    const auto sent = puts();
    ASSERT_EQ(sent.size(), 3u);
    // Message number 5, PLCI 0x101, reject 1; B protocol 0/0/0 with empty
    // configurations (global configuration included), additional info of
    // five empty structs (sending complete included): 34 bytes.
    EXPECT_EQ(hex(sent[0]), "2200010002830500"
                            "01010000"
                            "0100"
                            "0a00000000000000000000"
                            "000000"
                            "050000000000");
    EXPECT_EQ(fake.callsOf(Op::Release).at(0).applId, 1u);
    EXPECT_EQ(listener.link().applId(), 9);
    EXPECT_EQ(sent[1][2], 9); // the listen requests carry the new id
    EXPECT_EQ(sent[2][2], 9);

    EXPECT_EQ(hex(Bytes(callingAtCall.begin(), callingAtCall.begin() + 13)),
              hex(callingNumber("0212345678")));
    EXPECT_EQ(hex(Bytes(calledAtCall.begin(), calledAtCall.begin() + 9)),
              hex(calledNumber("7654321")));
    EXPECT_EQ(callingAtCall[13], 0); // the rest of the copy is cleared
    EXPECT_TRUE(fatals.empty());
}

TEST_F(CapiLinkTest, OtherIndicationsDroppedUnanswered)
{
    start();
    fake.queueMessage(disconnectInd(0x101, 0x3490));
    fake.queueMessage(infoInd(0x101, 0x0070, {0x81, '1', '2'}));
    fake.queueMessage(message(0x03, 0x82, 4, dword(0x101))); // CONNECT_ACTIVE_IND
    for (int i = 0; i < 3; ++i)
        fetch();
    EXPECT_EQ(fake.summary(), "GET, GET, GET");
    EXPECT_EQ(calls, 0);
}

TEST_F(CapiLinkTest, EmptyCallingNumberStillCopiedAndHandled)
{
    start();
    // A previous call leaves its numbers behind; the next must not show them.
    fake.queueMessage(connectInd(1, 0x101, 1, calledNumber("111"), callingNumber("999")));
    fetch();
    fake.queueMessage(connectInd(2, 0x102, 1, calledNumber("7654321"), callingNumber("")));
    fetch();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(callingAtCall, Bytes(CapiLink::kNumberCopySize, 0));
    EXPECT_EQ(calledAtCall[0], 8);
}

TEST_F(CapiLinkTest, FatalTextForEachFailingOperation)
{
    fake.scriptResult(Op::Installed, 0x1009);
    EXPECT_FALSE(link->RegisterWithCapi());
    EXPECT_EQ(fake.summary(), "INSTALLED"); // no register after the failed check

    fake.clearCalls();
    fake.scriptResult(Op::Register, 0x1008);
    EXPECT_FALSE(link->RegisterWithCapi());
    EXPECT_EQ(fake.summary(), "INSTALLED, REGISTER");

    ASSERT_TRUE(link->RegisterWithCapi());
    fake.scriptResult(Op::Release, 0x1101);
    EXPECT_FALSE(link->ReleaseCapi());

    fake.clearCalls();
    fake.scriptResult(Op::GetProfile, 0x1109);
    EXPECT_EQ(link->ListenAll(CapiLink::kCipMaskAll), 0x1109u);
    EXPECT_EQ(fake.summary(), "GET_PROFILE"); // no listen request without a count

    ASSERT_EQ(fatals.size(), 4u);
    EXPECT_EQ(fatals[0],
              QStringLiteral("Ingen ISDN kort og/eller CAPI 2.0 32-bit driver installert !"));
    EXPECT_EQ(fatals[1], QStringLiteral("Ringvakt ikke registrert av CAPI!"));
    EXPECT_EQ(fatals[2], QStringLiteral("Ringvakt ikke deregistrert av CAPI !"));
    EXPECT_EQ(fatals[3], QStringLiteral("Ukjent antall ISDN-kort !"));
}

TEST_F(CapiLinkTest, AHandOverThatCannotRegisterIsAFailureAndNothingIsFetchedAfterIt)
{
    startListener();
    fake.scriptResult(Op::Register, 0x1008);
    fake.queueMessage(connectInd(5, 0x101, 1, calledNumber("1"), callingNumber("2")));
    listener.poll();
    EXPECT_EQ(fake.summary(), "GET, PUT(CONNECT_RESP), INSTALLED, REGISTER, GET, RELEASE");
    ASSERT_EQ(fatals.size(), 1u);
    EXPECT_EQ(fatals[0], QString::fromUtf8(CapiTexts::kNotRegistered));
    EXPECT_EQ(calls, 1);
    listener.poll();
    EXPECT_EQ(fake.summary(), "GET, PUT(CONNECT_RESP), INSTALLED, REGISTER, GET, RELEASE");

    // The old registration that cannot be released once the next one
    // listens is no failure: the line is gone, and the library drops it.
    // A failed response is not looked at either: the call is handed on.
    fatals.clear();
    startListener();
    fake.scriptResult(Op::Put, 0x1108);
    fake.scriptResult(Op::Release, 0x1101);
    fake.queueMessage(connectInd(6, 0x102, 1, calledNumber("1"), callingNumber("2")));
    listener.poll();
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(fatals.empty());
    EXPECT_TRUE(listener.link().isRegistered());
}

TEST_F(CapiLinkTest, LongNumberStructIsCutWithoutOverrun)
{
    start();
    Bytes digits(255, 0);
    for (std::size_t i = 0; i < digits.size(); ++i)
        digits[i] = std::uint8_t('0' + i % 10);
    // Both in the long form (0xff, 16-bit length 255): the called number is
    // copied last, into the buffer that is followed by the link's handlers.
    fake.queueMessage(connectInd(3, 0x101, 1, cstruct(digits), cstruct(digits)));
    fetch();
    ASSERT_EQ(calls, 1);
    ASSERT_EQ(callingAtCall.size(), 208u);
    EXPECT_EQ(callingAtCall[0], 207);
    EXPECT_EQ(Bytes(callingAtCall.begin() + 1, callingAtCall.end()),
              Bytes(digits.begin(), digits.begin() + 207));
    EXPECT_EQ(calledAtCall, callingAtCall);
    // What lies after the copies is whole: the next call reads right.
    fake.queueMessage(connectInd(4, 0x102, 1, calledNumber("5"), callingNumber("6")));
    fetch();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Bytes(callingAtCall.begin(), callingAtCall.begin() + 4), (Bytes{3, 0x01, 0x80, '6'}));
}

TEST_F(CapiLinkTest, MalformedStructsAreDropped)
{
    start();
    // A length byte of 0xff followed by plain digits: read as the long form,
    // the struct claims 0x3130 bytes and runs far past the message.
    Bytes plain = {0xff};
    for (int i = 0; i < 255; ++i)
        plain.push_back(std::uint8_t('0' + i % 2));
    fake.queueMessage(connectInd(1, 0x101, 1, calledNumber("1"), plain));

    // A message whose length word ends inside the calling number.
    Bytes shortened = connectInd(2, 0x101, 1, calledNumber("7654321"), callingNumber("0212345678"));
    shortened[0] = 8 + 4 + 2 + 9 + 5;
    fake.queueMessage(shortened);

    // Fewer bytes received than the length word says.
    Bytes cut = connectInd(3, 0x101, 1, calledNumber("7654321"), callingNumber("0212345678"));
    cut.resize(cut.size() - 3);
    fake.queueMessage(cut);

    // A message without its trailing structs.
    Bytes noTrailer = connectInd(4, 0x101, 1, calledNumber("7654321"), callingNumber("02"));
    noTrailer.resize(noTrailer.size() - 6);
    noTrailer[0] = std::uint8_t(noTrailer.size());
    fake.queueMessage(noTrailer);

    for (int i = 0; i < 4; ++i)
        fetch();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(fake.summary(), "GET, GET, GET, GET"); // nothing answered
}

TEST_F(CapiLinkTest, UnknownCommandsDroppedAndLineStillHeard)
{
    start();
    fake.queueMessage(message(0x00, 0x00, 1, dword(0x101)));
    fake.queueMessage(message(0x01, 0x82, 1, dword(0x101)));
    fake.queueMessage(message(0x99, 0x82, 1, dword(0x101)));
    fake.queueMessage(message(0x47, 0x82, 1, dword(0x101))); // libcapi20 names it garbage
    fake.queueMessage(message(0x22, 0x80, 1, dword(0x101)));
    fake.queueMessage(message(0x02, 0x84, 1, dword(0x101)));
    fake.queueMessage({0x04, 0x00, 0x01, 0x00}); // shorter than a header
    fake.queueMessage({});
    const int junk = 8;
    fake.queueMessage(connectInd(5, 0x101, 1, calledNumber("1"), callingNumber("2")));
    for (int i = 0; i < junk; ++i)
        fetch();
    EXPECT_TRUE(fake.callsOf(Op::Put).empty());
    fetch();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(fatals.empty());
}

TEST_F(CapiLinkTest, OneMessagePerPollAndTheRestOfACallsRegistrationDrained)
{
    fake.countApplIds();
    startListener();
    fake.queueMessageFor(1, listenConf(1, 0));
    fake.queueMessageFor(1, connectInd(5, 0x101, 1, calledNumber("1"), callingNumber("2")));
    fake.queueMessageFor(1, connectInd(6, 0x102, 1, calledNumber("1"), callingNumber("3")));
    fake.queueMessageFor(1, listenConf(1, 0x2000));
    listener.poll();
    EXPECT_EQ(fake.callsOf(Op::Get).size(), 1u);
    EXPECT_EQ(fake.queuedMessages(), 3u);

    // A call: what its registration still holds is taken before the
    // release, once the next one listens, each call answered and handed on,
    // a late confirmation (even a refusal) dropped with the registration it
    // belongs to. The next registration's own confirmation counts.
    std::vector<Bytes> callers;
    listener.setCallHandler([&](const CapiLink::Call& call) {
        callers.push_back(Bytes(call.calling.begin(), call.calling.begin() + 4));
    });
    fake.queueMessageFor(2, listenConf(1, 0));
    listener.poll();
    EXPECT_EQ(fake.queuedMessages(), 0u);
    EXPECT_EQ(callers, (std::vector<Bytes>{{3, 0x01, 0x80, '2'}, {3, 0x01, 0x80, '3'}}));
    EXPECT_EQ(fake.summary(), "GET, GET, PUT(CONNECT_RESP), INSTALLED, REGISTER, GET_PROFILE, "
                              "PUT(LISTEN_REQ c1), GET, GET, PUT(CONNECT_RESP), GET, GET, "
                              "RELEASE");
    EXPECT_EQ(listener.link().applId(), 2);
    EXPECT_TRUE(fatals.empty());
}

TEST_F(CapiLinkTest, ALostLineIsHandedOverAndAFailureThenIsFatal)
{
    fake.setControllers(2);
    startListener();
    // A registration whose line is gone hears nothing: it goes first.
    fake.scriptResult(Op::Get, kCapiLineLost);
    listener.poll();
    EXPECT_EQ(fake.summary(), "GET, RELEASE, INSTALLED, REGISTER, GET_PROFILE, "
                              "PUT(LISTEN_REQ c1), PUT(LISTEN_REQ c2), GET");
    EXPECT_TRUE(fatals.empty());

    // Other get errors only end the poll.
    fake.clearCalls();
    fake.scriptResult(Op::Get, kCapiIllegalApplId);
    fake.scriptResult(Op::Get, 0x1105);
    listener.poll();
    listener.poll();
    EXPECT_EQ(fake.summary(), "GET, GET");

    // When the next registration cannot be made, the failure is fatal.
    fake.clearCalls();
    fake.scriptResult(Op::Get, kCapiLineLost);
    fake.scriptResult(Op::Installed, 0x1009);
    listener.poll();
    EXPECT_EQ(fake.summary(), "GET, RELEASE, INSTALLED");
    ASSERT_EQ(fatals.size(), 1u);
    EXPECT_EQ(fatals[0], QString::fromUtf8(CapiTexts::kNotInstalled));
}
