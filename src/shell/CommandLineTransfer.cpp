#include "shell/CommandLineTransfer.h"

#include "contacts/ContactTransfer.h"
#include "numbers/PhoneNumbers.h"
#include "shell/ProgramOptions.h"

#include <QDir>

namespace {

TransferRun failed(const QString& file, const QString& why)
{
    TransferRun run;
    run.exitCode = 1;
    run.err = QStringLiteral("ringvakt: %1: %2\n").arg(QDir::toNativeSeparators(file), why);
    return run;
}

TransferRun done(const QString& text)
{
    TransferRun run;
    run.out = text + QLatin1Char('\n');
    return run;
}

} // namespace

TransferRun runTransfer(const ProgramOptions& options, const QString& dataDir,
                        const QString& country)
{
    const PhoneNumbers numbers(country);
    const QString book = QDir::toNativeSeparators(dataDir + QStringLiteral("/PhoneBk.dat"));
    QString error;
    switch (options.action) {
    case ProgramOptions::Action::Import: {
        const ImportOutcome outcome = importIntoDataDir(dataDir, options.file, numbers);
        if (!outcome.read || (!outcome.plan.added.empty() && !outcome.saved))
            return failed(options.file, outcome.message);
        return done(
            QStringLiteral("Imported %1 into %2: %3")
                .arg(QDir::toNativeSeparators(options.file), book, importSummary(outcome.plan)));
    }
    case ProgramOptions::Action::ExportPhoneBook:
        if (!exportPhoneBookFile(dataDir, options.file, &error))
            return failed(options.file, error);
        return done(QStringLiteral("Wrote the phone book %1 to %2 (vCard 3.0).")
                        .arg(book, QDir::toNativeSeparators(options.file)));
    case ProgramOptions::Action::ExportCalls:
        if (!exportCallLogFile(dataDir, numbers, options.file, &error))
            return failed(options.file, error);
        return done(QStringLiteral("Wrote the call log %1 to %2 (CSV).")
                        .arg(QDir::toNativeSeparators(dataDir + QStringLiteral("/CallID.dat")),
                             QDir::toNativeSeparators(options.file)));
    default:
        return failed(options.file, QStringLiteral("no transfer asked for"));
    }
}
