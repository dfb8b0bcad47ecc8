#include "BenchData.h"
#include "BenchFigures.h"
#include "calllog/CallLog.h"
#include "phonebook/PhoneBook.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

// Prints one line per figure, "name: <milliseconds> ms" and its target,
// each the median of a few runs on files generated in a temporary directory.
namespace {

class FixedClock : public Clock
{
public:
    LocalDateTime now() const override { return {2026, 12, 6, 2, 39, 46}; }
    qint64 steadyMs() const override { return 0; }
};

void loadCallLog(QTemporaryDir& root)
{
    const QString dir = freshDir(root, "load");
    BenchData data(1);
    data.writeCallLog(dir, 100000, data.writePhoneBook(dir, 10000));
    int rows = 0;
    const double ms = medianMs([] {},
                               [&] {
                                   CallLog log(dir);
                                   LoadCallLog(log);
                                   rows = log.size();
                               });
    if (rows != 100000)
        std::fprintf(stderr, "load_calllog_100k_pb10k: %d rows loaded\n", rows);
    printFigure("load_calllog_100k_pb10k", ms, 30);
}

void purgeSounds(QTemporaryDir& root)
{
    const QString dir = freshDir(root, "purge");
    BenchData data(2);
    const std::vector<std::string> numbers = data.writePhoneBook(dir, 10000);
    // 4,000 sounds of people in the book, 998 orphans, the intro and outro.
    std::vector<std::string> owned(numbers.begin(), numbers.begin() + 4000);
    std::vector<std::string> orphans;
    for (int i = 0; i < 998; ++i)
        orphans.push_back(data.unknownNumber());
    data.writeSounds(dir, owned);

    int deleted = 0;
    const double ms = medianMs([&] { data.writeSounds(dir, orphans); },
                               [&] { deleted = PurgeOrphanSounds(dir, "Intro.wav", "Outro.wav"); });
    const int left = int(QDir(QDir(dir).filePath("sound")).entryList(QDir::Files).size());
    if (left != 4002 || deleted <= 0)
        std::fprintf(stderr, "purge_5k_wav_pb10k: %d deleted, %d left\n", deleted, left);
    printFigure("purge_5k_wav_pb10k", ms, 200);
}

void addAndSave(QTemporaryDir& root)
{
    const QString dir = freshDir(root, "add");
    BenchData data(3);
    const std::vector<std::string> numbers = data.writePhoneBook(dir, 10000);
    data.writeCallLog(dir, 100000, numbers);
    CallLog log(dir);
    LoadCallLog(log);
    const FixedClock clock;
    bool saved = true;
    const double ms = medianMs([] {},
                               [&] {
                                   AddCall(log, data.pick(numbers), "7654321", clock);
                                   saved = SaveCallLog(log) && saved;
                               });
    if (!saved)
        std::fprintf(stderr, "add_and_save_100k: a save failed\n");
    printFigure("add_and_save_100k", ms, 50);
}

void literalAgainstIndexed(QTemporaryDir& root)
{
    const QString dir = freshDir(root, "literal");
    BenchData data(4);
    data.writeCallLog(dir, 2000, data.writePhoneBook(dir, 2000));

    CallLog log(dir);
    LoadCallLog(log);
    // The literal way: one read of the phone book file for every row.
    int literalFound = 0;
    const double literal = medianMs([] {},
                                    [&] {
                                        literalFound = 0;
                                        for (int row = 0; row < log.size(); ++row)
                                            literalFound +=
                                                PhoneBookIndex::read(dir, log.numbers())
                                                    .find(log.at(row).callerNumber) != nullptr;
                                    });
    const double indexed = medianMs([] {},
                                    [&] {
                                        CallLog fresh(dir);
                                        LoadCallLog(fresh);
                                    });
    if (literalFound != 1000)
        std::fprintf(stderr, "literal_vs_indexed_2k: %d of 2000 found\n", literalFound);
    std::printf(
        "literal_vs_indexed_2k: literal %.1f ms, indexed %.1f ms, ratio %.0f (target \u2265 "
        "200)\n",
        literal, indexed, literal / indexed);
}

// The form in which the line delivers a number that the book holds as
// national digits: the same for every call from that number, as a line
// would give it.
std::string otherForm(const std::string& national)
{
    return (national.back() % 2 ? "+47" : "0047") + national;
}

// A call log load that names callers whose number the line delivers in
// another form than the book holds it: the book read and its numbers indexed
// across forms, the calls read, and each caller named. Half of the calls come
// from known numbers in another form, a quarter from known numbers as stored,
// the rest from unknown numbers or "Ukjent nummer".
void loadMixedForms(QTemporaryDir& root)
{
    const QString dir = freshDir(root, "mixed");
    BenchData data(5);
    const std::vector<std::string> numbers = data.writePhoneBook(dir, 10000);
    // A ten-digit number that starts with 47 reads as a Norwegian number
    // with its country code, so it has no other form.
    std::vector<std::string> national;
    std::copy_if(numbers.begin(), numbers.end(), std::back_inserter(national),
                 [](const std::string& number) { return number.compare(0, 2, "47") != 0; });
    std::vector<std::string> callers;
    for (int call = 0; call < 100000; ++call) {
        if (call % 2 == 0)
            callers.push_back(otherForm(data.pick(national)));
        else if (call % 4 == 1)
            callers.push_back(data.pick(numbers));
        else if (call % 20 == 3)
            callers.push_back("Ukjent nummer");
        else
            callers.push_back(data.unknownNumber());
    }
    data.writeCalls(dir, callers);

    int rows = 0;
    int named = 0;
    const double ms = medianMs([] {},
                               [&] {
                                   CallLog log(dir);
                                   log.setCountry(QStringLiteral("NO"));
                                   LoadCallLog(log);
                                   rows = log.size();
                                   named = 0;
                                   for (int row = 0; row < rows; ++row)
                                       named += log.at(row).callerName != kUnknownName;
                               });
    if (rows != 100000 || named != 75000)
        std::fprintf(stderr, "load_calllog_100k_pb10k_mixed_forms: %d rows, %d named\n", rows,
                     named);
    printFigure("load_calllog_100k_pb10k_mixed_forms", ms, 60);
}

} // namespace

double medianMs(const std::function<void()>& prepare, const std::function<void()>& work)
{
    constexpr int kRuns = 5;
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        times.push_back(elapsed.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void printFigure(const char* name, double ms, double targetMs)
{
    std::printf("%s: %.1f ms (target \u2264 %.0f ms)\n", name, ms, targetMs);
}

QString freshDir(QTemporaryDir& root, const char* name)
{
    const QString path = QDir(root.path()).filePath(name);
    QDir().mkpath(path);
    return path;
}

int main(int argc, char** argv)
{
    // The phone book window is opened off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir root;
    if (!root.isValid()) {
        std::fprintf(stderr, "cannot create a temporary directory\n");
        return 1;
    }
    // `ringvakt_bench [PART]` runs only the figures whose function names
    // hold PART.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const std::pair<const char*, void (*)(QTemporaryDir&)> figures[] = {
        {"load", loadCallLog},
        {"purge", purgeSounds},
        {"add", addAndSave},
        {"literal", literalAgainstIndexed},
        {"mixed", loadMixedForms},
        {"import", importFigures},
        {"window", phoneBookWindowFigure}};
    for (const auto& [name, figure] : figures) {
        if (only.isEmpty() || QString::fromLatin1(name).contains(only))
            figure(root);
    }
    return 0;
}
