#include "phonebook/PhoneBookModel.h"

#include "phonebook/PhoneBook.h"
#include "platform/Cp1252.h"
#include "platform/Icons.h"

namespace {
const char* const kPhoneBookTitles[PhoneBookModel::kColumns] = {
    QT_TRANSLATE_NOOP("PhoneBookModel", "Etternavn"),
    QT_TRANSLATE_NOOP("PhoneBookModel", "Fornavn"),
    QT_TRANSLATE_NOOP("PhoneBookModel", "Tlf.nummer"),
};
}

PhoneBookModel::PhoneBookModel(PhoneBookList& list, QObject* parent)
    : ObservedTableModel(parent), m_list(list)
{
    m_list.setObserver(this);
}

PhoneBookModel::~PhoneBookModel()
{
    m_list.setObserver(nullptr);
}

int PhoneBookModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.size();
}

int PhoneBookModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant PhoneBookModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DecorationRole && index.column() == 0)
        return icons::icon(m_list.icon(index.row()) == 1 ? kSoundIcon : kNoSoundIcon);
    if (role != Qt::DisplayRole)
        return {};
    const PhoneBookEntry& entry = m_list.at(index.row());
    switch (index.column()) {
    case 0:
        return cp1252::toQString(entry.surname);
    case 1:
        return cp1252::toQString(entry.firstName);
    case 2:
        return cp1252::toQString(entry.number);
    default:
        return {};
    }
}

QVariant PhoneBookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return tr(kPhoneBookTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
