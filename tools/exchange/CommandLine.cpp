#include "CommandLine.h"

#include "CapiEncoder.h"
#include "TextCodec.h"
#include "version/Version.h"

#include <QCommandLineParser>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

namespace {

// The options of one subcommand after a first pass: named values, flags and
// positional arguments.
struct RawArguments
{
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;
};

bool scan(int argc, char** argv, const std::set<std::string>& valueOptions,
          const std::set<std::string>& flagOptions, RawArguments& out, std::string& error)
{
    // Each byte becomes one character (Latin-1) for the parser and back, so
    // that a value can carry any byte, as a number from a line may.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const std::string& name : valueOptions)
        parser.addOption(
            QCommandLineOption(QString::fromStdString(name), QString(), QStringLiteral("value")));
    for (const std::string& name : flagOptions)
        parser.addOption(QCommandLineOption(QString::fromStdString(name), QString()));
    QStringList arguments{QStringLiteral("ringvakt-exchange")};
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    if (!parser.parse(arguments)) {
        error = parser.errorText().toStdString();
        return false;
    }
    for (const std::string& name : valueOptions) {
        const QStringList values = parser.values(QString::fromStdString(name));
        if (values.size() > 1) {
            error = "--" + name + " given twice";
            return false;
        }
        if (values.size() == 1)
            out.values[name] = values.first().toLatin1().toStdString();
    }
    for (const std::string& name : flagOptions) {
        if (parser.isSet(QString::fromStdString(name)))
            out.flags.insert(name);
    }
    for (const QString& positional : parser.positionalArguments())
        out.positional.push_back(positional.toLatin1().toStdString());
    return true;
}

bool number(const RawArguments& raw, const std::string& name, uint32_t min, uint32_t max,
            uint32_t& out, std::string& error)
{
    const auto it = raw.values.find(name);
    if (it == raw.values.end())
        return true;
    const std::optional<uint32_t> value = codec::parseNumber(it->second, max);
    if (!value || *value < min) {
        error = "--" + name + " needs a number from " + std::to_string(min) + " to " +
                std::to_string(max) + ", not '" + it->second + "'";
        return false;
    }
    out = *value;
    return true;
}

std::string value(const RawArguments& raw, const std::string& name)
{
    const auto it = raw.values.find(name);
    return it == raw.values.end() ? std::string() : it->second;
}

bool parseServe(int argc, char** argv, ServeOptions& serve, std::string& error)
{
    RawArguments raw;
    if (!scan(argc, argv,
              {"port", "controllers", "listen-info", "first-appl-id", "control", "log", "port-file",
               "callmonitor-port", "callmonitor-port-file"},
              {"exit-with-stdin"}, raw, error))
        return false;
    if (!raw.positional.empty()) {
        error = "serve takes no argument '" + raw.positional[0] + "'";
        return false;
    }
    uint32_t port = serve.port, controllers = serve.controllers, info = 0, first = 0, cm = 0;
    if (!number(raw, "port", 0, 65535, port, error) ||
        !number(raw, "controllers", 0, 127, controllers, error) ||
        !number(raw, "listen-info", 0, 0xffff, info, error) ||
        !number(raw, "first-appl-id", 1, 1023, first, error) ||
        !number(raw, "callmonitor-port", 0, 65535, cm, error))
        return false;
    serve.port = uint16_t(port);
    serve.controllers = uint16_t(controllers);
    serve.listenInfo = uint16_t(info);
    serve.firstApplId = uint16_t(first);
    if (raw.values.count("callmonitor-port"))
        serve.callMonitorPort = uint16_t(cm);
    serve.controlPath = value(raw, "control");
    serve.logPath = value(raw, "log");
    serve.portFile = value(raw, "port-file");
    serve.callMonitorPortFile = value(raw, "callmonitor-port-file");
    serve.exitWithStdin = raw.flags.count("exit-with-stdin") > 0;
    if (!serve.callMonitorPortFile.empty() && !serve.callMonitorPort) {
        error = "--callmonitor-port-file needs --callmonitor-port";
        return false;
    }
    return true;
}

bool unescapeInto(ControlRequest& request, const std::string& name, const std::string& text,
                  const std::string& what, std::string& error)
{
    std::string escapeError;
    const std::optional<std::string> bytes = codec::unescape(text, escapeError);
    if (!bytes) {
        error = what + ": " + escapeError;
        return false;
    }
    request.set(name, *bytes);
    return true;
}

bool parseRing(const RawArguments& raw, ControlRequest& request, std::string& error)
{
    const bool hasFrom = raw.values.count("from") != 0;
    if (hasFrom == (raw.flags.count("no-from") != 0)) {
        error = "ring needs either --from DIGITS or --no-from";
        return false;
    }
    if (hasFrom && !unescapeInto(request, "from", value(raw, "from"), "--from", error))
        return false;
    if (!unescapeInto(request, "to", value(raw, "to"), "--to", error))
        return false;
    uint32_t cip = 1;
    if (!number(raw, "cip", 0, 0xffff, cip, error))
        return false;
    request.set("cip", std::to_string(cip));
    if (raw.flags.count("on-release") != 0 && raw.flags.count("on-listen") != 0) {
        error = "ring takes --on-release or --on-listen, not both";
        return false;
    }
    if (raw.flags.count("on-release") != 0)
        request.set("when", "release");
    if (raw.flags.count("on-listen") != 0)
        request.set("when", "listen");
    if (request.find("from") && request.find("from")->size() > capi::kMaxCallingDigits) {
        error = "--from is longer than " + std::to_string(capi::kMaxCallingDigits) + " bytes";
        return false;
    }
    if (request.find("to")->size() > capi::kMaxCalledDigits) {
        error = "--to is longer than " + std::to_string(capi::kMaxCalledDigits) + " bytes";
        return false;
    }
    return true;
}

// connect [--call N] [--extension N], disconnect [--call N] [--seconds N].
bool parseCallEvent(const RawArguments& raw, ControlRequest& request, std::string& error)
{
    uint32_t call = 0;
    if (!number(raw, "call", 1, 255, call, error))
        return false;
    if (raw.values.count("call"))
        request.set("call", std::to_string(call));
    if (raw.values.count("extension")) {
        const std::string extension = value(raw, "extension");
        if (extension.empty() || extension.size() > 16 ||
            extension.find_first_not_of("0123456789") != std::string::npos) {
            error = "--extension needs up to 16 digits, not '" + extension + "'";
            return false;
        }
        request.set("extension", extension);
    }
    uint32_t seconds = 0;
    if (!number(raw, "seconds", 0, 86400, seconds, error))
        return false;
    if (raw.values.count("seconds"))
        request.set("seconds", std::to_string(seconds));
    return true;
}

bool parseClient(const std::string& verb, int argc, char** argv, CommandLine& out,
                 std::string& error)
{
    std::set<std::string> values = {"control", "port"};
    std::set<std::string> flags;
    size_t positionalCount = 0;
    if (verb == "ring") {
        values.insert({"from", "to", "cip"});
        flags.insert({"no-from", "on-release", "on-listen"});
    } else if (verb == "refuse") {
        values.insert("seconds");
    } else if (verb == "connect") {
        values.insert({"call", "extension"});
    } else if (verb == "disconnect") {
        values.insert({"call", "seconds"});
    } else if (verb == "raw" || verb == "raw-bytes" || verb == "silent" || verb == "mute" ||
               verb == "cm-raw") {
        positionalCount = 1;
    }
    RawArguments raw;
    if (!scan(argc, argv, values, flags, raw, error))
        return false;
    if (raw.positional.size() != positionalCount) {
        error = verb + (positionalCount ? " needs exactly one argument" : " takes no argument");
        return false;
    }
    if (raw.values.count("control") && raw.values.count("port")) {
        error = "give either --control or --port, not both";
        return false;
    }
    uint32_t port = 5031;
    if (!number(raw, "port", 1, 65535, port, error))
        return false;
    out.controlPath =
        raw.values.count("control") ? value(raw, "control") : defaultControlPath(uint16_t(port));
    ControlRequest& request = out.request;
    request.verb = verb;
    if (verb == "ring")
        return parseRing(raw, request, error);
    if (verb == "refuse") {
        if (!raw.values.count("seconds")) {
            error = "refuse needs --seconds N";
            return false;
        }
        if (!codec::parseSeconds(value(raw, "seconds"), 86400)) {
            error = "--seconds needs a number of seconds from 0 to 86400, not '" +
                    value(raw, "seconds") + "'";
            return false;
        }
        request.set("seconds", value(raw, "seconds"));
    } else if (verb == "raw" || verb == "raw-bytes") {
        const std::optional<std::string> bytes = codec::fromHex(raw.positional[0]);
        if (!bytes || bytes->empty()) {
            error = verb + " needs the bytes as hex digits, two per byte";
            return false;
        }
        request.set("hex", codec::toHex(*bytes));
    } else if (verb == "silent" || verb == "mute") {
        if (raw.positional[0] != "on" && raw.positional[0] != "off") {
            error = verb + " needs on or off";
            return false;
        }
        request.set("state", raw.positional[0]);
    } else if (verb == "cm-raw") {
        return unescapeInto(request, "text", raw.positional[0], "cm-raw", error);
    } else if (verb == "connect" || verb == "disconnect") {
        return parseCallEvent(raw, request, error);
    }
    return true;
}

bool parseWriteCapiRc(int argc, char** argv, CommandLine& out, std::string& error)
{
    RawArguments raw;
    if (!scan(argc, argv, {"home", "port"}, {}, raw, error))
        return false;
    if (!raw.positional.empty()) {
        error = "write-capirc takes no argument '" + raw.positional[0] + "'";
        return false;
    }
    if (!raw.values.count("home") || value(raw, "home").empty()) {
        error = "write-capirc needs --home DIR";
        return false;
    }
    uint32_t port = 5031;
    if (!number(raw, "port", 1, 65535, port, error))
        return false;
    out.home = value(raw, "home");
    out.capircPort = uint16_t(port);
    return true;
}

bool isClientVerb(const std::string& verb)
{
    static const std::set<std::string> verbs = {
        "ring",   "raw",     "raw-bytes", "drop",       "refuse", "silent", "mute",
        "cm-raw", "cm-drop", "connect",   "disconnect", "status", "quit"};
    return verbs.count(verb) != 0;
}

} // namespace

std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error)
{
    CommandLine out;
    if (argc < 1) {
        error = "no command given";
        return std::nullopt;
    }
    const std::string verb = argv[0];
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h") {
            out.action = CommandLine::Action::Help;
            return out;
        }
    }
    if (verb == "--version" && argc == 1) {
        out.action = CommandLine::Action::Version;
        return out;
    }
    bool ok = false;
    if (verb == "serve") {
        out.action = CommandLine::Action::Serve;
        ok = parseServe(argc - 1, argv + 1, out.serve, error);
    } else if (verb == "write-capirc") {
        out.action = CommandLine::Action::WriteCapiRc;
        ok = parseWriteCapiRc(argc - 1, argv + 1, out, error);
    } else if (isClientVerb(verb)) {
        out.action = CommandLine::Action::Client;
        ok = parseClient(verb, argc - 1, argv + 1, out, error);
    } else {
        error = "unknown command '" + verb + "'";
    }
    if (!ok)
        return std::nullopt;
    return out;
}

std::string defaultControlPath(uint16_t port)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = runtime && *runtime ? runtime : "/tmp";
    return dir + "/ringvakt-exchange-" + std::to_string(port) + ".sock";
}

std::string versionText()
{
    return std::string("ringvakt-exchange ") + kRingvaktVersion + "\n";
}

std::string usageText()
{
    return R"(Usage:
  ringvakt-exchange serve [--port N] [--controllers N] [--listen-info N]
                          [--first-appl-id N] [--control PATH] [--log PATH]
                          [--port-file PATH] [--callmonitor-port N]
                          [--callmonitor-port-file PATH] [--exit-with-stdin]
  ringvakt-exchange ring [--control PATH | --port N] (--from DIGITS | --no-from)
                         [--to DIGITS] [--cip N] [--on-release | --on-listen]
  ringvakt-exchange raw [...] HEX         a CAPI message, sent as one frame
  ringvakt-exchange raw-bytes [...] HEX   bytes sent exactly as given
  ringvakt-exchange drop [...]            close every CAPI and call-monitor connection
  ringvakt-exchange refuse [...] --seconds N
                                          drop everything, refuse connections for N s
  ringvakt-exchange silent [...] on|off   answer nothing on new connections
  ringvakt-exchange mute [...] on|off     go quiet on the connections now open
  ringvakt-exchange cm-raw [...] TEXT     send TEXT to every call-monitor client
  ringvakt-exchange cm-drop [...]         close every call-monitor client
  ringvakt-exchange connect [...] [--call N] [--extension N]
                                          the call is taken (call monitor CONNECT)
  ringvakt-exchange disconnect [...] [--call N] [--seconds N]
                                          the call ends (call monitor DISCONNECT)
  ringvakt-exchange status [...]          one line: applications and connections
  ringvakt-exchange quit [...]
  ringvakt-exchange write-capirc --home DIR [--port N]
  ringvakt-exchange --help | --version

ring --on-release rings at the moment the next CAPI_RELEASE of any client
arrives, --on-listen when the next LISTEN_REQ does (rings so armed go off in
the order they were armed, one per such message). Rings are numbered from 1
in the order they are rung (the call monitor's connection id); connect and
disconnect act on the last ring unless --call names another. connect's
extension is 1 unless given; disconnect sends the seconds since connect (0
for a call nobody took) unless --seconds says otherwise.
serve listens on 127.0.0.1 only; --port 0 picks a free port and writes it to
--port-file. The other commands talk to a running exchange through its
control socket: --control PATH, or the default for --port N (5031):
${XDG_RUNTIME_DIR:-/tmp}/ringvakt-exchange-<port>.sock.
Numbers are decimal or 0x hex. --from, --to and TEXT accept the C escapes
\\ \r \n \t \0 \xNN. Exit codes: 0 ok, 1 error, 2 bad usage.
)";
}
