#include "phonebook/ImportProgressDialog.h"

#include "contacts/ImportWorker.h"
#include "numbers/PhoneNumbers.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

namespace {

constexpr int kProgressSteps = 1000;
// How often the dialog looks at the worker's progress.
constexpr int kProgressTickMs = 100;

// The progress is the phone book window's import.
struct ImportProgressTexts
{
    Q_DECLARE_TR_FUNCTIONS(PhoneBookWindow)
};

} // namespace

std::optional<ImportOutcome> planImportShowingProgress(QWidget* parent, const QString& path,
                                                       std::vector<PhoneBookEntry> book,
                                                       const PhoneNumbers& numbers)
{
    QProgressDialog progress(ImportProgressTexts::tr("Leser kontaktene…"),
                             ImportProgressTexts::tr("Avbryt"), 0, kProgressSteps, parent);
    progress.setWindowTitle(QStringLiteral("Ringvakt"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);

    // Calls go on being recorded in this loop while the worker reads; it
    // ends with the outcome, on "Avbryt", or when the program ends (which
    // ends every event loop).
    QEventLoop loop;
    std::optional<ImportOutcome> outcome;
    ImportWorker worker(&loop, [&](ImportOutcome planned) {
        outcome = std::move(planned);
        loop.quit();
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    QTimer ticker;
    ticker.setInterval(kProgressTickMs);
    QObject::connect(&ticker, &QTimer::timeout, &progress, [&progress, &worker] {
        const ImportProgress& state = worker.progress();
        const qint64 total = state.total;
        if (state.phase == ImportProgress::Planning)
            progress.setLabelText(ImportProgressTexts::tr("Ser etter nye oppføringer…"));
        progress.setValue(total > 0 ? int(state.done * kProgressSteps / total) : 0);
    });
    worker.start(path, std::move(book), numbers);
    progress.show();
    ticker.start();
    loop.exec();
    return outcome;
}
