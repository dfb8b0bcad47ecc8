#include "../phonebook/PhoneBookTesting.h"
#include "contacts/ContactFileMessages.h"
#include "contacts/ContactFileReader.h"
#include "contacts/ContactTransfer.h"
#include "contacts/ImportPlan.h"
#include "numbers/PhoneNumbers.h"
#include "support/QtPrinting.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const std::vector<PhoneBookEntry> kBook = {{"Dahl", "Nils", "22123456"}};

// Writes the file, reads it as the import does, and plans the import into
// the book.
struct Imported
{
    ContactList read;
    ImportPlan plan;
    QString summary;
};

Imported import(const test::TempDataDir& dir, const QString& name, const std::string& bytes,
                const std::vector<PhoneBookEntry>& book = kBook)
{
    dir.write(name, bytes);
    Imported result;
    result.read = readContactFile(dir.file(name));
    EXPECT_EQ(result.read.error, QString()) << qPrintable(name);
    result.plan = planImport(book, result.read.contacts, PhoneNumbers(QStringLiteral("NO")));
    result.summary = importSummary(result.plan);
    return result;
}

QString errorOf(const test::TempDataDir& dir, const QString& name, const std::string& bytes)
{
    dir.write(name, bytes);
    const ContactList read = readContactFile(dir.file(name));
    EXPECT_TRUE(read.contacts.empty()) << qPrintable(name);
    return read.error;
}

} // namespace

TEST(ContactImport, VCardsOfEveryVersion)
{
    test::TempDataDir dir;
    // 2.1 as older phones write it: quoted-printable with a soft line break,
    // charsets of both kinds, a folded value that keeps its blank, a photo
    // and a card inside a card.
    const Imported v21 =
        import(dir, "v21.vcf",
               "BEGIN:VCARD\r\n"
               "VERSION:2.1\r\n"
               "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=98stby;Kari;=\r\n"
               "Anne;;\r\n"
               "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Kari Anne =C3=98stby\r\n"
               "TEL;CELL;PREF:+47 912 34 567\r\n"
               "TEL;HOME:22 12 34 56\r\n"
               "END:VCARD\r\n"
               "\r\n"
               "begin:vcard\r\n"
               "version:2.1\r\n"
               "N;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:S=E6ther;P=E5l\r\n"
               "TEL;WORK;VOICE:+49 30\r\n"
               " 1234567\r\n"
               "PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD\r\n"
               " /2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkICQkK\r\n"
               "\r\n"
               "AGENT:\r\n"
               "BEGIN:VCARD\r\n"
               "VERSION:2.1\r\n"
               "N:Agent;Anne\r\n"
               "TEL:99999999\r\n"
               "END:VCARD\r\n"
               "end:vcard\r\n"
               "BEGIN:VCARD\r\n"
               "VERSION:2.1\r\n"
               "N:Lund;Liv\r\n"
               " Marie;;\r\n"
               "TEL:+47 22 33 44 00\r\n"
               "END:VCARD\r\n");
    EXPECT_EQ(v21.read.contacts.size(), 3u);
    const std::vector<PhoneBookEntry> added21 = {{"\xD8stby", "Kari Anne", "91234567"},
                                                 {"S\xE6ther", "P\xE5l", "0049301234567"},
                                                 {"Lund", "Liv Marie", "22334400"}};
    EXPECT_EQ(v21.plan.added, added21);
    EXPECT_EQ(v21.summary, QString::fromUtf8("3 nye oppføringer, 1 fantes fra før"));

    // 3.0: groups, escapes, a folded line, a number twice, a name code page
    // 1252 cannot hold, an organisation only, a contact without a number.
    const Imported v30 =
        import(dir, "v30.vcf",
               "BEGIN:VCARD\n"
               "VERSION:3.0\n"
               "N:Nordmann;Ola;;;\n"
               "FN:Ola Nordmann\n"
               "item1.TEL;TYPE=CELL:+47 41 23 45 67\n"
               "item1.X-ABLabel:mobil\n"
               "TEL;TYPE=HOME:41 23 45 67\n"
               "END:VCARD\n"
               "BEGIN:VCARD\n"
               "VERSION:3.0\n"
               "N:;;;;\n"
               "FN:\xCE\xA3\xCF\x89\xCE\xBA\xCF\x81\xCE\xAC\xCF\x84\xCE\xB7\xCF\x82\n"
               "TEL:+30 21 0123 4567\n"
               "END:VCARD\n"
               "BEGIN:VCARD\n"
               "VERSION:3.0\n"
               "N:;;;;\n"
               "FN:\n"
               "ORG:R\xC3\xB8rlegger\\, Hansen & S\xC3\xB8nn AS;Service\n"
               "TEL;TYPE=WORK:23 45 67 89\n"
               "END:VCARD\n"
               "BEGIN:VCARD\n"
               "VERSION:3.0\n"
               "N:Kristiansen-Johannesse\n"
               " n;Ingrid;;;\n"
               "TEL;TYPE=HOME,VOICE:+47 99 88 77 66\n"
               "END:VCARD\n"
               "BEGIN:VCARD\n"
               "VERSION:3.0\n"
               "N:Berg;Eva;;;\n"
               "EMAIL:eva@example.invalid\n"
               "END:VCARD\n");
    const std::vector<PhoneBookEntry> added30 = {
        {"Nordmann", "Ola", "41234567"},
        {"R\xF8rlegger, Hansen & S\xF8nn AS", "", "23456789"},
        {"Kristiansen-Johannessen", "Ingrid", "99887766"}};
    EXPECT_EQ(v30.plan.added, added30);
    EXPECT_EQ(v30.summary, QString::fromUtf8("3 nye oppføringer, 1 fantes fra før, 1 uten "
                                             "nummer, 1 med tegn som ikke kan lagres"));

    // 4.0: tel: values, quoted parameters, a name written whole.
    const Imported v40 = import(dir, "v40.vcf",
                                "BEGIN:VCARD\r\n"
                                "VERSION:4.0\r\n"
                                "FN:Per Hansen\r\n"
                                "N:Hansen;Per;;;\r\n"
                                "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+47-22-33-44-55\r\n"
                                "TEL;VALUE=uri;TYPE=cell:tel:+47-913-45-678;ext=2\r\n"
                                "END:VCARD\r\n"
                                "BEGIN:VCARD\r\n"
                                "VERSION:4.0\r\n"
                                "FN:Liv Marie Lund\r\n"
                                "TEL:+46 8 123 456 78\r\n"
                                "END:VCARD\r\n");
    const std::vector<PhoneBookEntry> added40 = {{"Hansen", "Per", "22334455"},
                                                 {"Hansen", "Per", "91345678"},
                                                 {"Lund", "Liv Marie", "0046812345678"}};
    EXPECT_EQ(v40.plan.added, added40);
    EXPECT_EQ(v40.summary, QString::fromUtf8("3 nye oppføringer"));

    // A card cut short spoils the file, though the cards before it are
    // whole.
    EXPECT_EQ(errorOf(dir, "cut.vcf",
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A B\r\nTEL:22334455\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:C D\r\nTEL:22"),
              contactfile::truncatedCardMessage());
}

TEST(ContactImport, RouterPhoneBook)
{
    test::TempDataDir dir;
    const Imported router =
        import(dir, "phonebook.xml",
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<phonebooks>\n"
               " <phonebook name=\"Telefonbok\">\n"
               "  <contact>\n"
               "   <category>0</category>\n"
               "   <person><realName>Kari Nordmann</realName></person>\n"
               "   <telephony nid=\"2\">\n"
               "    <number type=\"home\" prio=\"1\" id=\"0\">22 99 88 77</number>\n"
               "    <number type=\"mobile\" id=\"1\">+47 900 11 222</number>\n"
               "   </telephony>\n"
               "   <services/><setup/><uniqueid>12</uniqueid>\n"
               "  </contact>\n"
               "  <contact>\n"
               "   <person><realName>Nordmann, Ola</realName></person>\n"
               "   <telephony><number type=\"work\">0047 22998877</number></telephony>\n"
               "  </contact>\n"
               "  <contact>\n"
               "   <person><realName>Legevakt &amp; Sykehus</realName></person>\n"
               "   <telephony><number type=\"work\">116117</number></telephony>\n"
               "  </contact>\n"
               "  <contact><person><realName>Tom Kontakt</realName></person><telephony nid=\"0\"/>"
               "</contact>\n"
               " </phonebook>\n"
               "</phonebooks>\n",
               {});
    const std::vector<PhoneBookEntry> added = {{"Nordmann", "Kari", "22998877"},
                                               {"Nordmann", "Kari", "90011222"},
                                               {"Sykehus", "Legevakt &", "116117"}};
    EXPECT_EQ(router.plan.added, added);
    EXPECT_EQ(router.summary,
              QString::fromUtf8("3 nye oppføringer, 1 fantes fra før, 1 uten nummer"));

    EXPECT_EQ(
        errorOf(dir, "cut.xml", "<?xml version=\"1.0\"?>\n<phonebooks>\n<phonebook>\n<contact>\n"),
        contactfile::badXmlMessage(5));
    EXPECT_EQ(errorOf(dir, "page.xml", "<html><body>22123456</body></html>"),
              contactfile::unknownFormatMessage());
}

TEST(ContactImport, CsvOfGoogleAndOfNorwegianOutlook)
{
    test::TempDataDir dir;
    // Google Contacts: UTF-8 with a byte order mark, commas, a quoted field
    // with a line break, several numbers in one field.
    const Imported google =
        import(dir, "contacts.csv",
               "\xEF\xBB\xBF"
               "First Name,Middle Name,Last Name,Organization Name,Notes,Phone 1 - Label,"
               "Phone 1 - Value,Phone 2 - Label,Phone 2 - Value\r\n"
               "\xC3\x85se,Marie,Vik,,\"Ringer ofte,\r\nhelst kveld\",Mobile,"
               "+47 922 33 444 ::: +47 22 44 55 66,Work,22 44 55 67\r\n"
               ",,,\"Firma \"\"Sol\"\" AS\",,Work,23 00 00 00,,\r\n"
               "Bj\xC3\xB8rn,,\xC3\x98"
               "degaard,,,,,,\r\n"
               ",,,,,,,,\r\n");
    const std::vector<PhoneBookEntry> fromGoogle = {{"Vik", "\xC5se Marie", "92233444"},
                                                    {"Vik", "\xC5se Marie", "22445566"},
                                                    {"Vik", "\xC5se Marie", "22445567"},
                                                    {"Firma \"Sol\" AS", "", "23000000"}};
    EXPECT_EQ(google.plan.added, fromGoogle);
    EXPECT_EQ(google.summary, QString::fromUtf8("4 nye oppføringer, 1 uten nummer"));

    // Outlook in Norwegian: semicolons, code page 1252.
    const Imported outlook =
        import(dir, "outlook.csv",
               "Fornavn;Etternavn;Firma;Telefon (arbeid);Telefon (privat);Mobiltelefon;"
               "E-postadresse\r\n"
               "P\xE5l;S\xE6ther;;22 12 34 56;;+47 913 00 111;pal@example.invalid\r\n");
    const std::vector<PhoneBookEntry> fromOutlook = {{"S\xE6ther", "P\xE5l", "91300111"}};
    EXPECT_EQ(outlook.plan.added, fromOutlook);
    EXPECT_EQ(outlook.summary, QString::fromUtf8("1 ny oppføring, 1 fantes fra før"));

    EXPECT_EQ(errorOf(dir, "bare.csv", "Kari Nordmann,22123456\r\nOla,22998877\r\n"),
              contactfile::noCsvHeaderMessage());
    EXPECT_EQ(errorOf(dir, "open.csv", "Navn;Telefon\r\n\"Kari;22123456\r\n"),
              contactfile::openQuoteMessage());
}

TEST(ContactImport, FilesThatAreNoContactsChangeNothing)
{
    test::TempDataDir dir;
    EXPECT_EQ(readContactFile(dir.file("none.vcf")).error, contactfile::missingMessage());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.vcf"));
    EXPECT_EQ(readContactFile(dir.file("folder.vcf")).error, contactfile::cannotReadMessage());
    EXPECT_EQ(errorOf(dir, "empty.csv", " \r\n"), contactfile::emptyMessage());
    EXPECT_EQ(errorOf(dir, "image.vcf", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)),
              contactfile::unknownFormatMessage());
    EXPECT_EQ(errorOf(dir, "letter.txt", "Hei Kari!\nRing meg.\n"),
              contactfile::unknownFormatMessage());

    // Past the limit by a byte: refused before it is read.
    QFile large(dir.file("large.vcf"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    large.write("BEGIN:VCARD\r\n");
    ASSERT_TRUE(large.resize(kMaxContactFileBytes + 1));
    large.close();
    EXPECT_EQ(readContactFile(dir.file("large.vcf")).error, contactfile::tooLargeMessage());

    // UTF-16 as Windows writes "Unicode" text is read like UTF-8.
    const QString text = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lie;Tor\r\n"
                                        "TEL:22555555\r\nEND:VCARD\r\n");
    std::string utf16 = "\xFF\xFE";
    utf16.append(reinterpret_cast<const char*>(text.utf16()), size_t(text.size()) * 2);
    const Imported wide = import(dir, "wide.vcf", utf16);
    ASSERT_EQ(wide.plan.added.size(), 1u);
    EXPECT_EQ(wide.plan.added[0], (PhoneBookEntry{"Lie", "Tor", "22555555"}));
}

TEST(ContactImport, RouterFilesWithADtdAreRefusedAndChangeNothing)
{
    test::TempDataDir dir;
    const std::string book = "Dahl\r\nNils\r\n22123456\r\n";
    dir.write("PhoneBk.dat", book);
    const std::string contacts = "<phonebooks><phonebook><contact><person><realName>&xxe;"
                                 "</realName></person><telephony><number>22998877</number>"
                                 "</telephony></contact></phonebook></phonebooks>\n";
    // An external entity, and a small file that would expand a thousandfold.
    dir.write("external.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE phonebooks [\n"
                              "<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>\n" +
                                  contacts);
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE phonebooks [\n<!ENTITY big \"" +
                       std::string(4000, 'x') + "\">\n<!ENTITY xxe \"";
    for (int i = 0; i < 1000; ++i)
        bomb += "&big;";
    dir.write("bomb.xml", bomb + "\">]>\n" + contacts);

    for (const char* name : {"external.xml", "bomb.xml"}) {
        const ImportOutcome outcome =
            importIntoDataDir(dir.path(), dir.file(name), PhoneNumbers(QStringLiteral("NO")));
        EXPECT_FALSE(outcome.read) << name;
        EXPECT_EQ(outcome.message, contactfile::dtdMessage()) << name;
        EXPECT_EQ(dir.read("PhoneBk.dat"), book) << name;
    }
}

TEST(ContactImport, APhonesExportWithPhotosIsReadAsAStream)
{
    // 5,000 cards of a phone, each with a photo of some 12 KB in one of the
    // forms of 2.1, 3.0 and 4.0, and a long note: about 60 MB.
    const std::string base64Line(76, 'Q');
    std::string file;
    for (int i = 0; i < 5000; ++i) {
        const std::string number = std::to_string(40000000 + i);
        file += "BEGIN:VCARD\r\n";
        switch (i % 3) {
        case 0:
            file += "VERSION:2.1\r\nN:Lie;Tor\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n";
            break;
        case 1:
            file +=
                "VERSION:3.0\r\nN:Lie;Tor;;;\r\nitem1.PHOTO;ENCODING=b;TYPE=JPEG:" + base64Line +
                "\r\n";
            break;
        default:
            file += "VERSION:4.0\r\nN:Lie;Tor;;;\r\nPHOTO:data:image/jpeg;base64," + base64Line +
                    "\r\n";
            break;
        }
        for (int line = 0; line < 160; ++line)
            file += " " + base64Line + "\r\n";
        file += "\r\nNOTE:" + std::string(20000, 'n') + "\r\nTEL;CELL:" + number + "\r\n";
        file += "END:VCARD\r\n";
    }
    ASSERT_GT(file.size(), 60u * 1000 * 1000);
    test::TempDataDir dir;
    dir.write("phone.vcf", file);
    file.clear();

    const ContactList read = readContactFile(dir.file("phone.vcf"));
    ASSERT_EQ(read.error, QString());
    ASSERT_EQ(read.contacts.size(), 5000u);
    for (const size_t i : {size_t(0), size_t(1), size_t(2), size_t(4999)}) {
        EXPECT_EQ(read.contacts[i].surname, "Lie");
        EXPECT_EQ(read.contacts[i].firstName, "Tor");
        EXPECT_EQ(read.contacts[i].numbers, QStringList{QString::number(40000000 + i)});
    }
}
