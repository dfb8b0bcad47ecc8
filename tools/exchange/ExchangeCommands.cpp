// The commands of the control channel.
#include "ApplIdAllocator.h"
#include "CapiEncoder.h"
#include "Exchange.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// A refusal longer than a day is a typo, not a test.
constexpr int64_t kMaxRefuseSeconds = 86400;
// A call longer than a day is a typo, not a test.
constexpr uint32_t kMaxCallSeconds = 86400;
// The controller that CONNECT_IND arrives on.
constexpr uint8_t kRingController = 1;

// "dd.mm.yy hh:mm:ss" in local time, as a router's call monitor writes it.
std::string callMonitorTimestamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%y %H:%M:%S", &local);
    return text;
}

std::string stateText(bool on)
{
    return on ? "on" : "off";
}

std::optional<bool> parseState(const ControlRequest& request)
{
    const std::string* state = request.find("state");
    if (state && *state == "on")
        return true;
    if (state && *state == "off")
        return false;
    return std::nullopt;
}

} // namespace

std::string Exchange::onControlLine(const std::string& line)
{
    std::string error;
    const std::optional<ControlRequest> request = ControlRequest::parse(line, error);
    const std::string reply = request ? execute(*request) : "error " + error;

    LogFields fields;
    fields.text("cmd", request ? request->verb : "?");
    if (request) {
        for (const auto& arg : request->args)
            fields.text(arg.first.c_str(), codec::escapeToken(arg.second));
    }
    if (reply.compare(0, 2, "ok") == 0) {
        fields.text("result", "ok").tokens(reply.size() > 3 ? reply.substr(3) : "");
    } else {
        fields.text("result", "error")
            .text("reason", codec::escapeToken(reply.size() > 6 ? reply.substr(6) : ""));
    }
    m_log.write(0, "CONTROL", fields);
    return reply;
}

std::string Exchange::execute(const ControlRequest& request)
{
    const std::string& verb = request.verb;
    if (verb == "ring")
        return ring(request);
    if (verb == "raw")
        return sendRaw(request, true);
    if (verb == "raw-bytes")
        return sendRaw(request, false);
    if (verb == "drop")
        return drop();
    if (verb == "refuse")
        return refuse(request);
    if (verb == "silent")
        return setSilent(request);
    if (verb == "mute")
        return setMute(request);
    if (verb == "cm-raw")
        return cmRaw(request);
    if (verb == "connect")
        return connectCall(request);
    if (verb == "disconnect")
        return disconnectCall(request);
    if (verb == "cm-drop")
        return "ok cm=" + std::to_string(m_callMonitor.dropAll("cm-drop"));
    if (verb == "status")
        return status();
    if (verb == "quit") {
        m_stopping = true;
        m_stopDeadline = Clock::now() + kReplyGrace;
        m_stopReason = "quit";
        return "ok quit";
    }
    return "error unknown command " + verb;
}

std::string Exchange::ring(const ControlRequest& request)
{
    if (const std::string* when = request.find("when")) {
        if (*when != "release" && *when != "listen")
            return "error when must be release or listen";
        ArmedRing armed{*when == "release" ? capi::MessageKind::Release
                                           : capi::MessageKind::ListenReq,
                        request};
        armed.request.args.erase(
            std::remove_if(armed.request.args.begin(), armed.request.args.end(),
                           [](const auto& arg) { return arg.first == "when"; }),
            armed.request.args.end());
        m_armedRings.push_back(std::move(armed));
        return "ok armed=" + std::to_string(m_armedRings.size());
    }
    capi::ConnectIndication call;
    if (const std::string* from = request.find("from")) {
        if (from->size() > capi::kMaxCallingDigits)
            return "error from is longer than " + std::to_string(capi::kMaxCallingDigits) +
                   " bytes";
        call.callingDigits = *from;
    }
    if (const std::string* to = request.find("to")) {
        if (to->size() > capi::kMaxCalledDigits)
            return "error to is longer than " + std::to_string(capi::kMaxCalledDigits) + " bytes";
        call.calledDigits = *to;
    }
    call.cip = 1;
    if (const std::string* cip = request.find("cip")) {
        const std::optional<uint32_t> value = codec::parseNumber(*cip, 0xffff);
        if (!value)
            return "error cip needs a number from 0 to 65535";
        call.cip = uint16_t(*value);
    }

    // Each ring is one call: the call number goes into the PLCI's second
    // byte (1..255, as the PLCI has no more room), and every indication gets
    // the next message number.
    const uint8_t callNumber = m_nextCall;
    m_nextCall = m_nextCall == 255 ? 1 : uint8_t(m_nextCall + 1);
    call.plci = uint32_t(kRingController) | uint32_t(callNumber) << 8;
    m_rungCalls[callNumber] = {call.callingDigits.value_or(""), std::nullopt};
    m_lastRung = callNumber;

    std::vector<unsigned> reached;
    std::vector<unsigned> broken;
    for (auto& [number, conn] : m_capi) {
        if (!conn.registered() || conn.quiet() || conn.listenMask(kRingController) == 0)
            continue;
        call.applId = conn.applId();
        call.msgnum = m_nextMsgnum;
        m_nextMsgnum = m_nextMsgnum == 0xffff ? 1 : uint16_t(m_nextMsgnum + 1);
        if (m_handler.sendMessage(conn, capi::connectInd(call)))
            reached.push_back(number);
        else
            broken.push_back(number);
    }
    for (unsigned number : broken)
        closeCapi(number, "error");

    unsigned cm = 0;
    if (m_options.callMonitorPort) {
        const std::string line = callMonitorTimestamp() + ";RING;" + std::to_string(callNumber) +
                                 ";" + call.callingDigits.value_or("") + ";" + call.calledDigits +
                                 ";SIP0;\r\n";
        cm = m_callMonitor.broadcast(line);
    }
    return "ok capi=" + std::to_string(reached.size()) + " cm=" + std::to_string(cm);
}

std::string Exchange::sendRaw(const ControlRequest& request, bool framed)
{
    const std::string* hex = request.find("hex");
    const std::optional<std::string> bytes = hex ? codec::fromHex(*hex) : std::nullopt;
    if (!bytes || bytes->empty())
        return "error " + request.verb + " needs the bytes as hex digits, two per byte";
    if (framed && bytes->size() > capi::kMaxFramedMessage)
        return "error a message longer than " + std::to_string(capi::kMaxFramedMessage) +
               " bytes makes a frame longer than " + std::to_string(capi::kMaxFrame) +
               " bytes (use raw-bytes to send one on purpose)";

    unsigned sent = 0;
    std::vector<unsigned> broken;
    for (auto& [number, conn] : m_capi) {
        if (!conn.registered() || conn.quiet())
            continue;
        const bool ok =
            framed ? m_handler.sendMessage(conn, *bytes) : m_handler.sendBytes(conn, *bytes);
        if (ok)
            ++sent;
        else
            broken.push_back(number);
    }
    for (unsigned number : broken)
        closeCapi(number, "error");
    return "ok capi=" + std::to_string(sent);
}

std::string Exchange::drop()
{
    const unsigned capi = unsigned(m_capi.size());
    while (!m_capi.empty())
        closeCapi(m_capi.begin()->first, "drop");
    const unsigned cm = m_callMonitor.dropAll("drop");
    return "ok capi=" + std::to_string(capi) + " cm=" + std::to_string(cm);
}

std::string Exchange::refuse(const ControlRequest& request)
{
    const std::string* seconds = request.find("seconds");
    const std::optional<int64_t> ms =
        seconds ? codec::parseSeconds(*seconds, kMaxRefuseSeconds) : std::nullopt;
    if (!ms)
        return "error refuse needs seconds from 0 to " + std::to_string(kMaxRefuseSeconds);
    const unsigned capi = unsigned(m_capi.size());
    while (!m_capi.empty())
        closeCapi(m_capi.begin()->first, "refuse");
    const unsigned cm = m_callMonitor.dropAll("refuse");
    // Closing the listening sockets makes the kernel refuse connections
    // (and reset those still waiting to be accepted), as a router that
    // restarts does.
    m_capiListener.reset();
    m_callMonitor.closeListener();
    m_listenAgainAt = Clock::now() + std::chrono::milliseconds(*ms);
    return "ok capi=" + std::to_string(capi) + " cm=" + std::to_string(cm);
}

std::string Exchange::setSilent(const ControlRequest& request)
{
    const std::optional<bool> on = parseState(request);
    if (!on)
        return "error silent needs on or off";
    m_silent = *on;
    return "ok silent=" + stateText(m_silent);
}

std::string Exchange::setMute(const ControlRequest& request)
{
    const std::optional<bool> on = parseState(request);
    if (!on)
        return "error mute needs on or off";
    unsigned capi = 0;
    for (auto& entry : m_capi) {
        if (entry.second.muted() != *on) {
            entry.second.setMuted(*on);
            ++capi;
        }
    }
    const unsigned cm = m_callMonitor.setMuted(*on);
    return "ok mute=" + stateText(*on) + " capi=" + std::to_string(capi) +
           " cm=" + std::to_string(cm);
}

std::string Exchange::cmRaw(const ControlRequest& request)
{
    if (!m_options.callMonitorPort)
        return "error no call monitor is served (start with --callmonitor-port)";
    const std::string* text = request.find("text");
    if (!text || text->empty())
        return "error cm-raw needs a text";
    return "ok cm=" + std::to_string(m_callMonitor.broadcast(*text));
}

std::optional<uint8_t> Exchange::rungCall(const ControlRequest& request, std::string& error) const
{
    uint32_t number = m_lastRung;
    if (const std::string* call = request.find("call")) {
        const std::optional<uint32_t> value = codec::parseNumber(*call, 255);
        if (!value || *value == 0) {
            error = "error call needs a number from 1 to 255";
            return std::nullopt;
        }
        number = *value;
    }
    if (m_rungCalls.count(uint8_t(number)) == 0) {
        error = number == 0 ? "error no call has rung"
                            : "error call " + std::to_string(number) + " does not ring or talk";
        return std::nullopt;
    }
    return uint8_t(number);
}

std::string Exchange::connectCall(const ControlRequest& request)
{
    std::string error;
    const std::optional<uint8_t> number = rungCall(request, error);
    if (!number)
        return error;
    RungCall& call = m_rungCalls[*number];
    if (call.connectedAt)
        return "error call " + std::to_string(*number) + " is taken already";
    const std::string* given = request.find("extension");
    const std::string extension = given ? *given : "1";
    if (extension.empty() || extension.size() > 16 ||
        extension.find_first_not_of("0123456789") != std::string::npos)
        return "error extension needs up to 16 digits";
    call.connectedAt = Clock::now();
    unsigned cm = 0;
    if (m_options.callMonitorPort)
        cm =
            m_callMonitor.broadcast(callMonitorTimestamp() + ";CONNECT;" + std::to_string(*number) +
                                    ";" + extension + ";" + call.caller + ";\r\n");
    return "ok call=" + std::to_string(*number) + " cm=" + std::to_string(cm);
}

std::string Exchange::disconnectCall(const ControlRequest& request)
{
    std::string error;
    const std::optional<uint8_t> number = rungCall(request, error);
    if (!number)
        return error;
    const RungCall call = m_rungCalls[*number];
    // How long it was taken: as given, or since the CONNECT (0 for a call
    // nobody took).
    int64_t seconds = 0;
    if (const std::string* given = request.find("seconds")) {
        const std::optional<uint32_t> value = codec::parseNumber(*given, kMaxCallSeconds);
        if (!value)
            return "error seconds needs a number from 0 to " + std::to_string(kMaxCallSeconds);
        seconds = *value;
    } else if (call.connectedAt) {
        seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - *call.connectedAt)
                      .count();
    }
    m_rungCalls.erase(*number);
    unsigned cm = 0;
    if (m_options.callMonitorPort)
        cm = m_callMonitor.broadcast(callMonitorTimestamp() + ";DISCONNECT;" +
                                     std::to_string(*number) + ";" + std::to_string(seconds) +
                                     ";\r\n");
    return "ok call=" + std::to_string(*number) + " cm=" + std::to_string(cm);
}

std::string Exchange::status() const
{
    std::string appls;
    unsigned registered = 0;
    unsigned muted = 0;
    for (const auto& entry : m_capi) {
        const CapiConnection& conn = entry.second;
        muted += conn.muted() ? 1 : 0;
        if (!conn.registered())
            continue;
        ++registered;
        std::string masks;
        for (const auto& [controller, mask] : conn.listenMasks()) {
            char text[24];
            std::snprintf(text, sizeof text, "%s%u:0x%08x", masks.empty() ? "" : ",",
                          unsigned(controller), unsigned(mask));
            masks += text;
        }
        appls += " appl=" + std::to_string(conn.applId()) +
                 " listen=" + (masks.empty() ? std::string("none") : masks);
    }
    return "ok registered=" + std::to_string(registered) + appls +
           " connections=" + std::to_string(m_capi.size()) +
           " cm=" + std::to_string(m_callMonitor.clientCount()) + " silent=" + stateText(m_silent) +
           " muted=" + std::to_string(muted + m_callMonitor.mutedCount()) +
           " refusing=" + stateText(m_listenAgainAt.has_value()) + " ids=" + m_ids.describe();
}
