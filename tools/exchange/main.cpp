// ringvakt-exchange: a simulated telephone line for Ringvakt. Serves CAPI
// over TCP to libcapi20's fritzbox module and, optionally, a router's call
// monitor; the other subcommands drive a running exchange.
#include "ApplIdAllocator.h"
#include "AtomicFile.h"
#include "CommandLine.h"
#include "ControlClient.h"
#include "EventLog.h"
#include "Exchange.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int serve(const ServeOptions& options)
{
    std::string error;
    EventLog log;
    if (!log.open(options.logPath, error)) {
        std::cerr << "ringvakt-exchange: " << error << "\n";
        return 1;
    }
    std::unique_ptr<ApplIdAllocator> ids =
        options.firstApplId != 0
            ? ApplIdAllocator::fromFirstId(options.firstApplId)
            : ApplIdAllocator::claimBlock(ApplIdAllocator::kLockDir,
                                          unsigned(::getpid()) % ApplIdAllocator::kBlockCount,
                                          error);
    if (!ids) {
        std::cerr << "ringvakt-exchange: " << error << "\n";
        return 1;
    }
    Exchange exchange(options, log, *ids);
    if (!exchange.start(error)) {
        std::cerr << "ringvakt-exchange: " << error << "\n";
        return 1;
    }
    exchange.run();
    return 0;
}

int runClient(const CommandLine& command)
{
    std::string reply;
    std::string error;
    if (!ControlClient(command.controlPath).send(command.request, reply, error)) {
        std::cerr << "ringvakt-exchange: " << error << "\n";
        return 1;
    }
    std::cout << reply << std::endl;
    return reply == "ok" || reply.compare(0, 3, "ok ") == 0 ? 0 : 1;
}

int writeCapiRc(const CommandLine& command)
{
    struct stat info;
    if (::stat(command.home.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        std::cerr << "ringvakt-exchange: " << command.home << " is no directory\n";
        return 1;
    }
    const std::string content =
        "REMOTE fritzbox 127.0.0.1 " + std::to_string(command.capircPort) + "\nTRACELEVEL 0\n";
    std::string error;
    if (!writeFileAtomically(command.home + "/.capi20rc", content, error)) {
        std::cerr << "ringvakt-exchange: " << error << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<CommandLine> command = parseCommandLine(argc - 1, argv + 1, error);
    if (!command) {
        std::cerr << "ringvakt-exchange: " << error << "\n"
                  << "Try 'ringvakt-exchange --help'.\n";
        return 2;
    }
    switch (command->action) {
    case CommandLine::Action::Help:
        std::cout << usageText();
        return 0;
    case CommandLine::Action::Version:
        std::cout << versionText();
        return 0;
    case CommandLine::Action::Serve:
        return serve(command->serve);
    case CommandLine::Action::Client:
        return runClient(*command);
    case CommandLine::Action::WriteCapiRc:
        return writeCapiRc(*command);
    }
    return 2;
}
