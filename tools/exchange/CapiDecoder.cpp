#include "CapiDecoder.h"

#include <cstdio>

namespace capi {

namespace {

// libcapi20's fritzbox module wraps the CAPI operations themselves into
// messages of command 0x20, subcommand 0x80; the byte at offset 10 names the
// operation.
constexpr uint8_t kRemoteCallCommand = 0x20;
constexpr uint8_t kRemoteCallSubcommand = 0x80;
constexpr size_t kRemoteCallFunction = 10;
constexpr uint8_t kFunctionRegister = 0x09;
constexpr uint8_t kFunctionGetProfile = 0x05;
constexpr uint8_t kFunctionRelease = 0x03;
constexpr size_t kProfileController = 14;

const char* baseName(uint8_t command)
{
    switch (command) {
    case 0x01:
        return "ALERT";
    case 0x02:
        return "CONNECT";
    case 0x03:
        return "CONNECT_ACTIVE";
    case 0x04:
        return "DISCONNECT";
    case 0x05:
        return "LISTEN";
    case 0x08:
        return "INFO";
    case 0x41:
        return "SELECT_B_PROTOCOL";
    case 0x80:
        return "FACILITY";
    case 0x82:
        return "CONNECT_B3";
    case 0x83:
        return "CONNECT_B3_ACTIVE";
    case 0x84:
        return "DISCONNECT_B3";
    case 0x86:
        return "DATA_B3";
    case 0x87:
        return "RESET_B3";
    case 0x88:
        return "CONNECT_B3_T90_ACTIVE";
    case 0xff:
        return "MANUFACTURER";
    default:
        return nullptr;
    }
}

const char* subName(uint8_t subcommand)
{
    switch (subcommand) {
    case 0x80:
        return "REQ";
    case 0x81:
        return "CONF";
    case 0x82:
        return "IND";
    case 0x83:
        return "RESP";
    default:
        return nullptr;
    }
}

} // namespace

uint16_t word(const std::string& message, size_t offset)
{
    auto byte = [&](size_t i) -> uint16_t {
        return i < message.size() ? static_cast<unsigned char>(message[i]) : 0;
    };
    return uint16_t(byte(offset) | byte(offset + 1) << 8);
}

uint32_t dword(const std::string& message, size_t offset)
{
    return uint32_t(word(message, offset)) | uint32_t(word(message, offset + 2)) << 16;
}

std::string commandName(uint8_t command, uint8_t subcommand)
{
    const char* base = baseName(command);
    const char* sub = subName(subcommand);
    if (base && sub)
        return std::string(base) + '_' + sub;
    char text[16];
    std::snprintf(text, sizeof text, "0x%02x/0x%02x", unsigned(command), unsigned(subcommand));
    return text;
}

DecodedMessage decode(const std::string& message)
{
    DecodedMessage m;
    m.lengthWord = word(message, 0);
    m.appl = word(message, 2);
    m.command = message.size() > 4 ? uint8_t(message[4]) : 0;
    m.subcommand = message.size() > 5 ? uint8_t(message[5]) : 0;
    m.msgnum = word(message, 6);
    m.truncated = message.size() < 8;

    if (m.command == kRemoteCallCommand && m.subcommand == kRemoteCallSubcommand &&
        message.size() > kRemoteCallFunction) {
        switch (uint8_t(message[kRemoteCallFunction])) {
        case kFunctionRegister:
            m.kind = MessageKind::Register;
            m.truncated = message.size() < 20;
            break;
        case kFunctionGetProfile:
            m.kind = MessageKind::GetProfile;
            m.controller = word(message, kProfileController);
            m.truncated = message.size() < kProfileController + 2;
            break;
        case kFunctionRelease:
            m.kind = MessageKind::Release;
            break;
        default:
            break;
        }
    } else if (m.command == 0x05 && m.subcommand == 0x80) {
        m.kind = MessageKind::ListenReq;
        m.controller = dword(message, 8);
        m.infoMask = dword(message, 12);
        m.cipMask = dword(message, 16);
        m.cipMask2 = dword(message, 20);
        m.truncated = message.size() < 24;
    } else if (m.command == 0x02 && m.subcommand == 0x83) {
        m.kind = MessageKind::ConnectResp;
        m.plci = dword(message, 8);
        m.reject = word(message, 12);
        m.truncated = message.size() < 14;
    }
    return m;
}

} // namespace capi
