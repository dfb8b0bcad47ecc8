#pragma once

#include <cstdint>
#include <string>

// A plain TCP client on 127.0.0.1, to speak to the exchange byte by byte
// where libcapi20 would hang or crash (silent exchanges, garbage, oversized
// frames) and to read the call monitor.
class TcpClient
{
public:
    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    bool connectTo(uint16_t port);
    bool send(const std::string& bytes);
    // Reads until count bytes have arrived, the peer closed, or the time
    // is up; returns what arrived.
    std::string read(size_t count, int timeoutMs = 5000);
    // What has arrived so far, without waiting.
    std::string readAvailable();
    // Waits until the peer has closed the connection.
    bool waitForClose(int timeoutMs = 5000);
    void close();

    // A REGISTER exactly as libcapi20's fritzbox module frames it.
    static std::string registerFrame();
    // The application id in a REGISTER reply (2-byte header + message).
    static uint16_t applIdOfReply(const std::string& reply);

private:
    int m_fd = -1;
};
