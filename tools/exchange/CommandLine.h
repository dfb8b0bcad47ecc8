#pragma once

#include "ControlLine.h"

#include <cstdint>
#include <optional>
#include <string>

struct ServeOptions
{
    uint16_t port = 5031; // 0: pick a free port
    uint16_t controllers = 1;
    uint16_t listenInfo = 0;
    uint16_t firstApplId = 0; // 0: ids from a claimed block
    std::string controlPath;  // empty: the default for the port in use
    std::string logPath;      // empty: standard output
    std::string portFile;
    std::optional<uint16_t> callMonitorPort;
    std::string callMonitorPortFile;
    // End when standard input reaches its end: a test that starts the
    // exchange through a pipe takes it down with it however it ends.
    bool exitWithStdin = false;
};

struct CommandLine
{
    enum class Action
    {
        Help,
        Version,
        Serve,
        Client,
        WriteCapiRc
    };
    Action action = Action::Help;
    ServeOptions serve;
    // Client subcommands: where to find the exchange, and what to send.
    std::string controlPath;
    ControlRequest request;
    // write-capirc
    std::string home;
    uint16_t capircPort = 5031;
};

// Parses the arguments after the program name. Arguments are taken as bytes,
// unconverted, so that a number or a text can carry any byte. Sets error
// (for a usage message and exit code 2) when they make no sense.
std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error);
std::string usageText();
std::string versionText();
// "${XDG_RUNTIME_DIR:-/tmp}/ringvakt-exchange-<port>.sock"
std::string defaultControlPath(uint16_t port);
