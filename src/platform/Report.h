#pragma once

#include <QString>
#include <functional>

// Where the program's reports go: one line each, for the user to read in the
// terminal or the session's journal (a line lost and back, calls that could
// not be recorded, messages ignored). The parts that report take a sink so
// that tests can read the lines; the program's is standard error.
using ReportSink = std::function<void(const QString& line)>;

// "ringvakt: <line>" on standard error, flushed at once.
void reportToStandardError(const QString& line);
