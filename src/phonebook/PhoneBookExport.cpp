#include "phonebook/PhoneBookExport.h"

#include "contacts/ContactTransfer.h"
#include "contacts/PhoneBookVCard.h"
#include "platform/FileChoice.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const char* const kExportCaption = "Ringvakt";

// The export's texts belong to the phone book window, from whose menu it
// comes (or from the call log's Fil menu, with the same words).
struct PhoneBookExportTexts
{
    Q_DECLARE_TR_FUNCTIONS(PhoneBookWindow)
};

} // namespace

void exportPhoneBookFile(QWidget* owner, const std::vector<PhoneBookEntry>& entries)
{
    // The suggested name is the user's to keep or change: in the user's
    // language.
    const QString path = filechoice::saveFile(
        owner, PhoneBookExportTexts::tr("Eksporter katalogen"),
        PhoneBookExportTexts::tr("Katalog.vcf"), PhoneBookExportTexts::tr("vCard (*.vcf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeExportFile(path, phoneBookToVCard(entries), &error)) {
        msgbox::inform(owner, QString::fromLatin1(kExportCaption), error);
        return;
    }
    msgbox::inform(owner, QString::fromLatin1(kExportCaption),
                   PhoneBookExportTexts::tr("Katalogen er eksportert til %1.")
                       .arg(QDir::toNativeSeparators(path)));
}

void exportPhoneBookFile(QWidget* owner, const QString& dataDir)
{
    PhoneBookList list;
    if (LoadPhoneBook(list, dataDir) == PhoneBookFileState::Unreadable) {
        msgbox::inform(
            owner, QString::fromLatin1(kExportCaption),
            PhoneBookExportTexts::tr("PhoneBk.dat kunne ikke leses. Ingenting er eksportert."));
        return;
    }
    std::vector<PhoneBookEntry> entries;
    for (int row = 0; row < list.size(); ++row)
        entries.push_back(list.at(row));
    exportPhoneBookFile(owner, entries);
}
