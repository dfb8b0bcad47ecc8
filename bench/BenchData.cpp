#include "BenchData.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

const char* const kSurnames[] = {"Hansen",
                                 "Johansen",
                                 "Olsen",
                                 "Larsen",
                                 "Andersen",
                                 "Pedersen",
                                 "Nilsen",
                                 "Kristiansen",
                                 "Jensen",
                                 "Karlsen",
                                 "Johnsen",
                                 "Pettersen",
                                 "Eriksen",
                                 "Berg",
                                 "Haugen",
                                 "Hagen",
                                 "Johannessen",
                                 "Andreassen",
                                 "Jacobsen",
                                 "Dahl",
                                 "J\xF8rgensen",
                                 "Halvorsen",
                                 "Lund",
                                 "S\xE6ther",
                                 "\xC5s",
                                 "\xD8"
                                 "degaard",
                                 "Bakken",
                                 "Moen",
                                 "Str\xF8m",
                                 "Vik"};
const char* const kFirstNames[] = {"Kari",  "Ola",  "Per",   "Anne", "Nils",    "Eva", "Bj\xF8rn",
                                   "Inger", "Lars", "Marit", "Knut", "Solveig", "",    "P\xE5l"};

// A WAV header of a second of silence is not needed: the purge never opens
// the files, so a short content stands in for it.
const char kWavStub[] = "RIFF\x24\0\0\0WAVEfmt ";

} // namespace

void writeBenchFile(const QString& path, const std::string& bytes)
{
    // A plain write: the data is made anew for every run, and syncing
    // thousands of files to the disk would only disturb the figures.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

std::string BenchData::digits(int count, char first)
{
    std::string number(1, first);
    for (int i = 1; i < count; ++i)
        number.push_back(char('0' + m_random() % 10));
    return number;
}

std::string BenchData::unknownNumber()
{
    // Phone book numbers start with 2 to 9; these start with 0 or 1, so they
    // are never in the book.
    return digits(8 + int(m_random() % 3), char('0' + m_random() % 2));
}

std::string BenchData::pick(const std::vector<std::string>& from)
{
    return from[m_random() % from.size()];
}

std::vector<std::string> BenchData::writePhoneBook(const QString& dataDir, int entries)
{
    struct Entry
    {
        std::string surname, firstName, number;
    };
    std::vector<Entry> book;
    std::set<std::string> used;
    while (int(book.size()) < entries) {
        std::string number = digits(8 + int(m_random() % 3), char('2' + m_random() % 8));
        if (!used.insert(number).second)
            continue;
        book.push_back({kSurnames[m_random() % std::size(kSurnames)],
                        kFirstNames[m_random() % std::size(kFirstNames)], std::move(number)});
    }
    std::stable_sort(book.begin(), book.end(),
                     [](const Entry& a, const Entry& b) { return a.surname < b.surname; });

    std::string bytes;
    std::vector<std::string> numbers;
    for (const Entry& entry : book) {
        bytes += entry.surname + "\r\n" + entry.firstName + "\r\n" + entry.number + "\r\n";
        numbers.push_back(entry.number);
    }
    writeBenchFile(QDir(dataDir).filePath("PhoneBk.dat"), bytes);
    return numbers;
}

void BenchData::writeCallLog(const QString& dataDir, int calls,
                             const std::vector<std::string>& known)
{
    std::vector<std::string> callers;
    callers.reserve(size_t(calls));
    for (int call = 0; call < calls; ++call) {
        if (call % 2 == 0)
            callers.push_back(pick(known));
        else if (call % 20 == 1)
            callers.push_back("Ukjent nummer");
        else
            callers.push_back(unknownNumber());
    }
    writeCalls(dataDir, callers);
}

void BenchData::writeCalls(const QString& dataDir, const std::vector<std::string>& callers)
{
    const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                  "Jul", "Aug", "Sep", "Okt", "Nov", "Des"};
    const std::string msns[] = {"7654321", "7654322", "7654323"};
    std::string bytes;
    bytes.reserve(callers.size() * 50);
    for (const std::string& caller : callers) {
        char when[32];
        std::snprintf(when, sizeof when, "%02d-%s-2026\r\n%02d:%02d:%02d\r\n",
                      int(1 + m_random() % 28), months[m_random() % 12], int(m_random() % 24),
                      int(m_random() % 60), int(m_random() % 60));
        bytes += when;
        bytes += msns[m_random() % 3] + "\r\n";
        bytes += caller + "\r\n";
    }
    writeBenchFile(QDir(dataDir).filePath("CallID.dat"), bytes);
}

void BenchData::writeSounds(const QString& dataDir, const std::vector<std::string>& numbers)
{
    QDir(dataDir).mkpath("sound");
    const std::string stub(kWavStub, sizeof kWavStub - 1);
    const QDir sound(QDir(dataDir).filePath("sound"));
    for (const std::string& number : numbers)
        writeBenchFile(sound.filePath(QString::fromStdString(number) + ".wav"), stub);
    writeBenchFile(sound.filePath("Intro.wav"), stub);
    writeBenchFile(sound.filePath("Outro.wav"), stub);
}
