#pragma once

#include <QString>
#include <random>
#include <string>
#include <vector>

// Realistic data files for the benchmarks: Norwegian names, numbers of 8 to
// 10 digits, half of the calls from numbers in the phone book.
class BenchData
{
public:
    explicit BenchData(unsigned seed) : m_random(seed) {}

    // Writes "PhoneBk.dat" with `entries` entries in surname order and
    // returns their numbers (all different).
    std::vector<std::string> writePhoneBook(const QString& dataDir, int entries);

    // Writes "CallID.dat" with `calls` calls; half of them come from
    // `known`, the rest from unknown numbers or "Ukjent nummer".
    void writeCallLog(const QString& dataDir, int calls, const std::vector<std::string>& known);

    // Writes "CallID.dat" with one call from each of `callers`, in order.
    void writeCalls(const QString& dataDir, const std::vector<std::string>& callers);

    // Writes "sound/<number>.wav" for each number, plus the intro and outro.
    void writeSounds(const QString& dataDir, const std::vector<std::string>& numbers);

    // A number of 8 to 10 digits that no phone book entry of this data has.
    std::string unknownNumber();
    std::string pick(const std::vector<std::string>& from);

private:
    std::string digits(int count, char first);

    std::mt19937 m_random;
};

// Writes a file, or ends the program with a message: the benchmarks cannot
// run without their data.
void writeBenchFile(const QString& path, const std::string& bytes);
