#include "phonebook/PhoneBookExport.h"

#include "contacts/ContactTransfer.h"
#include "contacts/PhoneBookVCard.h"
#include "platform/FileChoice.h"
#include "platform/MessageBoxes.h"

#include <QDir>

namespace {

const char* const kExportCaption = "Ringvakt";

} // namespace

void exportPhoneBookFile(QWidget* owner, const std::vector<PhoneBookEntry>& entries)
{
    const QString path =
        filechoice::saveFile(owner, QStringLiteral("Eksporter katalogen"),
                             QStringLiteral("Katalog.vcf"), QStringLiteral("vCard (*.vcf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeExportFile(path, phoneBookToVCard(entries), &error)) {
        msgbox::inform(owner, QString::fromLatin1(kExportCaption), error);
        return;
    }
    msgbox::inform(
        owner, QString::fromLatin1(kExportCaption),
        QStringLiteral("Katalogen er eksportert til %1.").arg(QDir::toNativeSeparators(path)));
}

void exportPhoneBookFile(QWidget* owner, const QString& dataDir)
{
    PhoneBookList list;
    if (LoadPhoneBook(list, dataDir) == PhoneBookFileState::Unreadable) {
        msgbox::inform(owner, QString::fromLatin1(kExportCaption),
                       QStringLiteral("PhoneBk.dat kunne ikke leses. Ingenting er eksportert."));
        return;
    }
    std::vector<PhoneBookEntry> entries;
    for (int row = 0; row < list.size(); ++row)
        entries.push_back(list.at(row));
    exportPhoneBookFile(owner, entries);
}
