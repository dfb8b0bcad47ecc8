#include "contacts/ImportPlan.h"

#include "contacts/ContactFileMessages.h"
#include "contacts/ImportProgress.h"
#include "numbers/NumberIndex.h"
#include "numbers/PhoneNumbers.h"
#include "platform/Cp1252.h"

namespace {

// One line of the phone book file: no line break, no control character,
// runs of blanks made one, no blank first or last.
QString asField(const QString& text)
{
    QString field = text;
    for (QChar& c : field) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return field.simplified();
}

std::string cut(std::string bytes)
{
    if (bytes.size() > kMaxPhoneBookField)
        bytes.resize(kMaxPhoneBookField);
    return bytes;
}

} // namespace

ImportPlan planImport(const std::vector<PhoneBookEntry>& existing,
                      const std::vector<Contact>& contacts, const PhoneNumbers& numbers,
                      ImportProgress* progress)
{
    NumberIndex index(numbers);
    for (const PhoneBookEntry& entry : existing)
        index.add(entry.number);

    ImportPlan plan;
    if (progress) {
        progress->phase = ImportProgress::Planning;
        progress->total = qint64(contacts.size());
        progress->done = 0;
    }
    for (const Contact& contact : contacts) {
        if (progress) {
            if (progress->stopped())
                break;
            ++progress->done;
        }
        // Each number is parsed once: its line form and that form's E.164
        // form come from the one reading.
        std::vector<PhoneNumbers::LineForm> lineNumbers;
        for (const QString& written : contact.numbers) {
            if (std::optional<PhoneNumbers::LineForm> line = numbers.lineFormAndE164(written)) {
                if (line->line.size() > kMaxPhoneBookField) {
                    // A number cut to the field is no longer the one read.
                    line->line = cut(std::move(line->line));
                    line->e164 = numbers.matchable(line->line);
                }
                lineNumbers.push_back(std::move(*line));
            }
        }
        if (lineNumbers.empty()) {
            ++plan.withoutNumber;
            continue;
        }
        // A first name alone stays a first name: the export writes such an
        // entry with an empty surname, and an import gives it back as it was.
        const QString surname = asField(contact.surname);
        const QString firstName = asField(contact.firstName);
        const bool storable = cp1252::canEncode(surname) && cp1252::canEncode(firstName);
        for (const PhoneNumbers::LineForm& line : lineNumbers) {
            const std::string& number = line.line;
            if (index.find(number, line.e164)) {
                ++plan.alreadyThere;
            } else if (!storable) {
                ++plan.unstorable;
            } else {
                const std::string surnameBytes = surname.isEmpty() && firstName.isEmpty()
                                                     ? number
                                                     : cp1252::fromQString(surname);
                plan.added.push_back(
                    PhoneBookEntry{cut(surnameBytes), cut(cp1252::fromQString(firstName)), number});
                index.add(number, line.e164);
            }
        }
    }
    return plan;
}

QString importSummary(const ImportPlan& plan)
{
    const int added = int(plan.added.size());
    QStringList parts;
    // Norwegian says "1 ny oppføring" but "3 nye oppføringer": the one has a
    // text of its own; each is a plural form for other languages.
    parts.append(added == 1 ? ContactTexts::tr("%n ny oppføring", nullptr, added)
                            : ContactTexts::tr("%n nye oppføringer", nullptr, added));
    if (plan.alreadyThere > 0)
        parts.append(ContactTexts::tr("%n fantes fra før", nullptr, plan.alreadyThere));
    if (plan.withoutNumber > 0)
        parts.append(ContactTexts::tr("%n uten nummer", nullptr, plan.withoutNumber));
    if (plan.unstorable > 0)
        parts.append(ContactTexts::tr("%n med tegn som ikke kan lagres", nullptr, plan.unstorable));
    return parts.join(QStringLiteral(", "));
}
