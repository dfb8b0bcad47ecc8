#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A CAPI application on the real libcapi20, for testing the exchange from
// the client's side. Guards against the library's faults: it never calls
// capi20_get_message unless a whole frame is waiting (the call blocks on
// half a frame and overflows its stack on a frame above 4096 bytes).
class CapiClient
{
public:
    ~CapiClient();

    unsigned isInstalled();
    // CAPI_REGISTER as the program calls it (3072, 2, 7, 2048).
    unsigned registerAppl();
    unsigned applId() const { return m_applId; }
    unsigned profile(uint16_t& controllers);
    // LISTEN_REQ built with libcapi20's message utilities.
    unsigned listen(uint32_t controller, uint32_t cipMask);
    unsigned putConnectResp(uint16_t msgnum, uint32_t plci, uint16_t reject);
    unsigned release();

    // The next message, once a whole frame has arrived; nullopt after
    // timeoutMs or when the exchange closed the connection.
    std::optional<std::string> nextMessage(int timeoutMs = 5000);
    // Bytes waiting on the registration's connection, without taking them.
    std::string peek();
    // Waits until the exchange has closed the registration's connection.
    bool waitForClose(int timeoutMs = 5000);

private:
    unsigned m_applId = 0;
};
