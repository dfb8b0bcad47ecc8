#include "../phonebook/PhoneBookTesting.h"
#include "calllog/CallLog.h"
#include "contacts/CallLogCsv.h"
#include "contacts/ContactFileReader.h"
#include "contacts/ImportPlan.h"
#include "contacts/PhoneBookVCard.h"
#include "numbers/PhoneNumbers.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>

TEST(ContactExport, PhoneBookThroughVCardComesBackTheSame)
{
    const std::string longSurname =
        std::string(40, 'x') + "\xE6\xF8\xE5\xC6\xD8\xC5" + std::string(53, 'y'); // 99 bytes
    const std::vector<PhoneBookEntry> book = {
        {"Dahl", "Nils", "22123456"},
        {"R\xF8rlegger, Hansen & S\xF8nn AS", "", "23456789"},
        {"Semi;colon\\Back", "Per", "201"},
        {"S\xE6ther", "P\xE5l", "0049301234567"},
        {"S\xE6ther", "P\xE5l", "91300111"},
        {longSurname, "Kari Anne", "99887766"},
        {"Euro \x80 Caf\xE9", "\x8A", "0046812345678"},
        {"", "Kari", "22998877"},
    };
    const std::string vcard = phoneBookToVCard(book);

    // As 3.0 wants it: CR LF after every line, none longer than 75 bytes.
    size_t start = 0;
    for (size_t end = vcard.find("\r\n"); end != std::string::npos;
         start = end + 2, end = vcard.find("\r\n", start))
        EXPECT_LE(end - start, 75u) << vcard.substr(start, end - start);
    EXPECT_EQ(start, vcard.size());
    EXPECT_EQ(vcard.find('\n', 0), vcard.find("\r\n", 0) + 1);
    EXPECT_NE(vcard.find("N:Semi\\;colon\\\\Back;Per;;;\r\n"), std::string::npos);

    test::TempDataDir dir;
    dir.write("book.vcf", vcard);
    const ContactList read = readContactFile(dir.file("book.vcf"));
    ASSERT_EQ(read.error, QString());
    const ImportPlan plan = planImport({}, read.contacts, PhoneNumbers(QStringLiteral("NO")));
    EXPECT_EQ(plan.added, book);
    EXPECT_EQ(plan.alreadyThere + plan.withoutNumber + plan.unstorable, 0);
}

TEST(ContactExport, CallLogAsCsvForSpreadsheets)
{
    test::TempDataDir dir;
    dir.write("PhoneBk.dat", "Hansen, jr.\r\nKari \"Kk\"\r\n22123456\r\n"
                             "S\xE6ther\r\nP\xE5l\r\n91300111\r\n");
    dir.write("CallID.dat", "07-Des-2026\r\n14:03:09\r\n7654321\r\n22123456\r\n"
                            "29-Feb-2028\r\n08:00:00\r\n7654321\r\n91300111\r\n"
                            "31-Feb-2026\r\n23:59:59\r\n7654322\r\nUkjent nummer\r\n"
                            "01-Jan-2027\r\n00:00:01\r\n7654321\r\n=HYPERLINK(\"x\")\r\n"
                            "02-Jan-2027\r\n00:00:02\r\n7654321\r\n+4722123456\r\n");
    CallLog log(dir.path());
    LoadCallLog(log);
    ASSERT_EQ(log.size(), 5);

    EXPECT_EQ(callLogToCsv(log, nullptr), "\xEF\xBB\xBF"
                                          "Dato,Klokkeslett,MSN,Hvem ringte,Navn,Dato (ISO 8601),"
                                          "Status,Varighet\r\n"
                                          "07-Des-2026,14:03:09,7654321,22123456,"
                                          "\"Kari \"\"Kk\"\" Hansen, jr.\",2026-12-07,,\r\n"
                                          "29-Feb-2028,08:00:00,7654321,91300111,"
                                          "P\xC3\xA5l S\xC3\xA6ther,2028-02-29,,\r\n"
                                          "31-Feb-2026,23:59:59,7654322,Ukjent nummer,,,,\r\n"
                                          "01-Jan-2027,00:00:01,7654321,\"'=HYPERLINK(\"\"x\"\")\","
                                          ",2027-01-01,,\r\n"
                                          "02-Jan-2027,00:00:02,7654321,+4722123456,"
                                          "\"Kari \"\"Kk\"\" Hansen, jr.\",2027-01-02,,\r\n");
}
