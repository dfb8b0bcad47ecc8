#include "CapiEncoder.h"

namespace capi {

namespace {

void putWord(std::string& out, uint16_t value)
{
    out += char(value & 0xff);
    out += char(value >> 8);
}

void putDword(std::string& out, uint32_t value)
{
    putWord(out, uint16_t(value & 0xffff));
    putWord(out, uint16_t(value >> 16));
}

// The 8-byte CAPI header; the length word is set by finish().
std::string header(uint16_t applId, uint8_t command, uint8_t subcommand, uint16_t msgnum)
{
    std::string out;
    putWord(out, 0);
    putWord(out, applId);
    out += char(command);
    out += char(subcommand);
    putWord(out, msgnum);
    return out;
}

std::string finish(std::string message)
{
    message[0] = char(message.size() & 0xff);
    message[1] = char(message.size() >> 8);
    return message;
}

// The answer to a remote-CAPI call: command 0x20, subcommand 0x81, the
// operation code at byte 10 and the result word at bytes 16-17.
std::string remoteCallReply(uint16_t applId, uint16_t msgnum, uint8_t function, uint16_t info)
{
    std::string out = header(applId, 0x20, 0x81, msgnum);
    putWord(out, 2);
    out += char(function);
    out.append(5, '\0');
    putWord(out, info);
    return out;
}

} // namespace

std::string frame(const std::string& message)
{
    std::string out(1, char(0x80));
    putWord(out, uint16_t(message.size()));
    return out + message;
}

std::string shortFrame(const std::string& message)
{
    std::string out(1, char(0x80));
    out += char(message.size() & 0xff);
    return out + message;
}

std::string registerReply(uint16_t applId, uint16_t msgnum, uint16_t info)
{
    return finish(remoteCallReply(applId, msgnum, 0x09, info));
}

std::string profileReply(uint16_t msgnum, uint16_t controllers)
{
    std::string out = remoteCallReply(0, msgnum, 0x05, 0);
    std::string profile;
    putWord(profile, controllers);
    putWord(profile, 2);           // B channels per controller
    putDword(profile, 0x00000001); // global options: internal controller
    putDword(profile, 0x00000003); // B1: 64 kbit/s HDLC, 64 kbit/s transparent
    putDword(profile, 0x00000003); // B2: ISO 7776 (X.75 SLP), transparent
    putDword(profile, 0x00000001); // B3: transparent
    profile.resize(64, '\0');
    return finish(out + profile);
}

std::string listenConf(uint16_t applId, uint16_t msgnum, uint32_t controller, uint16_t info)
{
    std::string out = header(applId, 0x05, 0x81, msgnum);
    putDword(out, controller);
    putWord(out, info);
    return finish(out);
}

std::string connectInd(const ConnectIndication& call)
{
    std::string out = header(call.applId, 0x02, 0x82, call.msgnum);
    putDword(out, call.plci);
    putWord(out, call.cip);
    // Called party number: type of number and numbering plan (0x81), digits.
    out += char(1 + call.calledDigits.size());
    out += char(0x81);
    out += call.calledDigits;
    // Calling party number: type and plan (0x01), presentation and screening
    // (0x80), digits; or an empty struct when the caller sends no number.
    if (call.callingDigits) {
        out += char(2 + call.callingDigits->size());
        out += char(0x01);
        out += char(0x80);
        out += *call.callingDigits;
    } else {
        out += char(0);
    }
    // Called and calling party subaddress, BC, LLC, HLC, Additional Info.
    out.append(6, '\0');
    return finish(out);
}

} // namespace capi
