#include "BenchData.h"
#include "BenchFigures.h"
#include "contacts/ContactTransfer.h"
#include "numbers/PhoneNumbers.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <string>

namespace {

constexpr int kContacts = 50000;

// vCards 3.0 as a phone exports them, one mobile number each, in the
// international form; `first` is the first number's national digits.
std::string phoneExport(int count, int first)
{
    const char* const surnames[] = {"Hansen", "Olsen", "Berg", "Dahl", "Lie", "Moen", "Vik"};
    std::string cards;
    for (int i = 0; i < count; ++i) {
        const std::string surname = surnames[i % 7];
        const std::string given = "Kari" + std::to_string(i);
        cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + surname + ";" + given + ";;;\r\nFN:" + given +
                 " " + surname + "\r\nTEL;TYPE=CELL:+47 " + std::to_string(first + i) +
                 "\r\nEND:VCARD\r\n";
    }
    return cards;
}

// Imports the file into the book `book` holds, made anew before every run.
void importFigure(QTemporaryDir& root, const char* name, const std::string& book, double targetMs)
{
    const QString dir = freshDir(root, name);
    const QString file = QDir(dir).filePath("phone.vcf");
    writeBenchFile(file, phoneExport(kContacts, 90000000));
    const PhoneNumbers norway(QStringLiteral("NO"));
    int added = 0;
    const double ms = medianMs([&] { writeBenchFile(QDir(dir).filePath("PhoneBk.dat"), book); },
                               [&] {
                                   const ImportOutcome outcome =
                                       importIntoDataDir(dir, file, norway);
                                   added = outcome.saved ? int(outcome.plan.added.size()) : -1;
                               });
    if (added != kContacts)
        std::fprintf(stderr, "%s: %d added\n", name, added);
    printFigure(name, ms, targetMs);
}

} // namespace

void importFigures(QTemporaryDir& root)
{
    importFigure(root, "import_50k_vcards_into_empty", "", 500);
    // A book of 50,000 other entries in surname order, as the program saves
    // it.
    std::string book;
    for (int i = 0; i < kContacts; ++i) {
        book.append(i < kContacts / 2 ? "Andersen\r\nOla" : "Pedersen\r\nPer");
        book.append(std::to_string(i)).append("\r\n");
        book.append(std::to_string(40000000 + i)).append("\r\n");
    }
    importFigure(root, "import_50k_vcards_into_pb50k", book, 1000);
}
