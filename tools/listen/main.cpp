// ringvakt-listen: watches the telephone line through the CAPI link and
// prints the numbers of every incoming call, one line per call:
//
//   call from 0212345678 to 7654321
//
// It registers, listens on every controller and polls once a second, as the
// program does; each call is ignored (never answered), and the next
// registration listens before the one that took the call is released. A
// fatal CAPI failure prints its text on standard error and ends with exit
// code 1; SIGINT and SIGTERM release the registration and end with exit
// code 0.

#include "capi/CapiListener.h"
#include "capi/Libcapi20Api.h"
#include "platform/SignalNotifier.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kPollMilliseconds = 1000;

// The digits of a number copy, from `first` on; bytes that are not
// printable are shown as \xNN, so a number from the line cannot play
// tricks on the terminal.
std::string digits(const std::uint8_t* copy, std::size_t first)
{
    const std::size_t length = copy[0];
    std::string text;
    for (std::size_t i = first; i <= length; ++i) {
        const std::uint8_t c = copy[i];
        if (c >= 0x20 && c < 0x7f) {
            text += char(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    return text.empty() ? std::string("(none)") : text;
}

void printCall(const CapiLink::Call& call)
{
    // Calling party number: type and plan, presentation and screening, then
    // the digits; called party number: type and plan, then the digits.
    const std::string from = digits(call.calling.data(), 3);
    const std::string to = digits(call.called.data(), 2);
    std::printf("call from %s to %s\n", from.c_str(), to.c_str());
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    std::exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ringvakt-listen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the numbers of every incoming call on the CAPI line."));
    parser.addHelpOption();
    parser.process(app);

    const LineTiming timing;
    Libcapi20Api api(timing);
    CapiListener listener(api, timing.callLimitMs);
    listener.setFatalHandler(fail);
    listener.setCallHandler(printCall);

    SignalNotifier quitSignals({SIGINT, SIGTERM});
    if (!quitSignals.isValid()) {
        std::fprintf(stderr, "ringvakt-listen: %s\n", qPrintable(quitSignals.error()));
        return 1;
    }

    if (!listener.start())
        return 1;
    std::fprintf(stderr, "ringvakt-listen: listening as application %u\n",
                 unsigned(listener.link().applId()));
    std::fflush(stderr);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&listener] { listener.poll(); });
    poll.start(kPollMilliseconds);

    QObject::connect(&quitSignals, &SignalNotifier::signalled, [&] {
        poll.stop();
        if (listener.release())
            app.quit();
    });
    return app.exec();
}
