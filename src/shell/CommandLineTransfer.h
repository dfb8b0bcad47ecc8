#pragma once

#include <QString>

struct ProgramOptions;

// What a transfer from the command line printed and how it ended.
struct TransferRun
{
    int exitCode = 0; // 0 done, 1 failed (nothing changed)
    QString out;      // what was done, for standard output
    QString err;      // why it failed, for standard error
};

// ringvakt --import, --export-phonebook and --export-calls on the files of
// `dataDir`, numbers read as those of `country`. An import must only run
// while this process holds the single-instance lock: a running program's
// phone book window would otherwise save over what was added.
TransferRun runTransfer(const ProgramOptions& options, const QString& dataDir,
                        const QString& country);
