#include "CapiHandler.h"

#include "ApplIdAllocator.h"
#include "CapiDecoder.h"
#include "CapiEncoder.h"
#include "EventLog.h"

namespace {

// The result a registration gets when every id of the exchange is taken:
// "too many applications", which makes capi20_register fail.
constexpr uint16_t kInfoTooManyApplications = 0x1001;

const char* ignoredReason(const CapiConnection& conn)
{
    return conn.silent() ? "silent" : "muted";
}

void addSentFields(LogFields& fields, const std::string& message)
{
    if (message.size() < 8) {
        fields.bytes(message);
        return;
    }
    const capi::DecodedMessage m = capi::decode(message);
    fields.number("appl", m.appl).text("cmd", capi::commandName(m.command, m.subcommand));
    fields.number("msgnum", m.msgnum);
    if (m.command == 0x05 && m.subcommand == 0x81) {
        fields.number("controller", capi::dword(message, 8)).hex16("info", capi::word(message, 12));
    } else if (m.command == 0x02 && m.subcommand == 0x82) {
        fields.hex32("plci", capi::dword(message, 8)).hex32("cip", capi::word(message, 12));
    }
    fields.bytes(message);
}

} // namespace

CapiHandler::CapiHandler(EventLog& log, ApplIdAllocator& ids, const ServeOptions& options)
    : m_log(log), m_ids(ids), m_options(options)
{}

bool CapiHandler::handle(CapiConnection& conn, const std::string& message, const IdInUse& idInUse)
{
    const capi::DecodedMessage m = capi::decode(message);
    LogFields fields;
    // The length word the client wrote, when it disagrees with the frame.
    auto addLength = [&](LogFields& f) {
        f.bytes(message);
        if (m.lengthWord != message.size())
            f.number("lenword", m.lengthWord);
        if (m.truncated)
            f.text("truncated", "1");
    };

    switch (m.kind) {
    case capi::MessageKind::Register:
        return onRegister(conn, message, m.msgnum, idInUse);
    case capi::MessageKind::GetProfile:
        return onGetProfile(conn, message, m.msgnum);
    case capi::MessageKind::Release:
        fields.number("appl", m.appl).number("msgnum", m.msgnum);
        addLength(fields);
        if (conn.registered() && conn.applId() != m.appl)
            fields.number("registered", conn.applId());
        m_log.write(conn.number(), "RELEASE", fields);
        conn.release();
        return true;
    case capi::MessageKind::ListenReq:
        fields.number("appl", m.appl)
            .number("msgnum", m.msgnum)
            .number("controller", m.controller)
            .hex32("infomask", m.infoMask)
            .hex32("cip", m.cipMask)
            .hex32("cip2", m.cipMask2);
        addLength(fields);
        if (conn.quiet())
            fields.text("ignored", ignoredReason(conn));
        m_log.write(conn.number(), "LISTEN_REQ", fields);
        return m.truncated ? true : onListenReq(conn, message);
    case capi::MessageKind::ConnectResp:
        fields.number("appl", m.appl)
            .number("msgnum", m.msgnum)
            .hex32("plci", m.plci)
            .number("reject", m.reject);
        addLength(fields);
        m_log.write(conn.number(), "CONNECT_RESP", fields);
        return true;
    case capi::MessageKind::Other:
        fields.number("appl", m.appl)
            .text("cmd", capi::commandName(m.command, m.subcommand))
            .number("msgnum", m.msgnum);
        addLength(fields);
        m_log.write(conn.number(), "MESSAGE", fields);
        return true;
    }
    return true;
}

bool CapiHandler::onRegister(CapiConnection& conn, const std::string& message, uint16_t msgnum,
                             const IdInUse& idInUse)
{
    LogFields fields;
    if (conn.quiet()) {
        fields.number("msgnum", msgnum).bytes(message);
        fields.text("ignored", ignoredReason(conn));
        m_log.write(conn.number(), "REGISTER", fields);
        return true;
    }
    // A second REGISTER on one connection replaces the first registration.
    conn.release();
    const uint16_t applId = m_ids.allocate(idInUse);
    fields.number("appl", applId).number("msgnum", msgnum).bytes(message);
    if (applId == 0)
        fields.hex16("info", kInfoTooManyApplications);
    m_log.write(conn.number(), "REGISTER", fields);
    if (applId != 0)
        conn.registerAppl(applId);
    return sendReply(conn,
                     capi::registerReply(applId, msgnum, applId ? 0 : kInfoTooManyApplications),
                     "REGISTER_CONF");
}

bool CapiHandler::onGetProfile(CapiConnection& conn, const std::string& message, uint16_t msgnum)
{
    LogFields fields;
    fields.number("msgnum", msgnum)
        .number("controller", capi::decode(message).controller)
        .bytes(message);
    if (conn.quiet())
        fields.text("ignored", ignoredReason(conn));
    m_log.write(conn.number(), "GET_PROFILE", fields);
    if (conn.quiet())
        return true;
    return sendReply(conn, capi::profileReply(msgnum, m_options.controllers), "GET_PROFILE_CONF");
}

bool CapiHandler::onListenReq(CapiConnection& conn, const std::string& message)
{
    const capi::DecodedMessage m = capi::decode(message);
    // The controller number is the low 7 bits of the controller dword.
    if (conn.registered())
        conn.setListen(uint8_t(m.controller & 0x7f), m.cipMask);
    if (conn.quiet())
        return true;
    return sendMessage(conn,
                       capi::listenConf(m.appl, m.msgnum, m.controller, m_options.listenInfo));
}

bool CapiHandler::sendReply(CapiConnection& conn, const std::string& reply, const char* name)
{
    LogFields fields;
    fields.number("appl", capi::word(reply, 2))
        .text("cmd", name)
        .number("msgnum", capi::word(reply, 6));
    fields.bytes(reply);
    m_log.write(conn.number(), "SENT", fields);
    return conn.send(capi::shortFrame(reply));
}

bool CapiHandler::sendMessage(CapiConnection& conn, const std::string& message)
{
    LogFields fields;
    addSentFields(fields, message);
    m_log.write(conn.number(), "SENT", fields);
    return conn.send(capi::frame(message));
}

bool CapiHandler::sendBytes(CapiConnection& conn, const std::string& bytes)
{
    LogFields fields;
    fields.text("cmd", "RAW_BYTES").bytes(bytes);
    m_log.write(conn.number(), "SENT", fields);
    return conn.send(bytes);
}
