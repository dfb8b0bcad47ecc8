#include "phonebook/PhoneBook.h"
#include "platform/ListObserver.h"

#include <algorithm>

namespace {

void cutField(std::string& field)
{
    if (field.size() > kMaxPhoneBookField)
        field.resize(kMaxPhoneBookField);
}

} // namespace

bool operator==(const PhoneBookEntry& a, const PhoneBookEntry& b)
{
    return a.surname == b.surname && a.firstName == b.firstName && a.number == b.number;
}

int PhoneBookList::insertSorted(PhoneBookEntry entry)
{
    cutField(entry.surname);
    cutField(entry.firstName);
    cutField(entry.number);

    // After every row whose surname is equal under the collation, so rows
    // with the same surname keep the order in which they came.
    const auto place = std::upper_bound(m_rows.begin(), m_rows.end(), entry.surname,
                                        [](const std::string& surname, const Row& row) {
                                            return compareSurnames(surname, row.entry.surname) < 0;
                                        });
    const int row = int(place - m_rows.begin());
    if (m_observer)
        m_observer->beginInsertRows(row, row);
    m_rows.insert(place, Row{std::move(entry), 0});
    if (m_observer)
        m_observer->endInsertRows();
    return row;
}

void PhoneBookList::insertAllSorted(std::vector<PhoneBookEntry> entries)
{
    if (entries.empty())
        return;
    if (m_observer)
        m_observer->beginResetRows();
    m_rows.reserve(m_rows.size() + entries.size());
    for (PhoneBookEntry& entry : entries) {
        cutField(entry.surname);
        cutField(entry.firstName);
        cutField(entry.number);
        m_rows.push_back(Row{std::move(entry), 0});
    }
    // Stable: rows of an equal surname keep the order in which they came,
    // the new after the old.
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) {
        return compareSurnames(a.entry.surname, b.entry.surname) < 0;
    });
    if (m_observer)
        m_observer->endResetRows();
}

void PhoneBookList::setIcon(int row, int icon)
{
    if (row < 0 || row >= size() || m_rows[size_t(row)].icon == icon)
        return;
    m_rows[size_t(row)].icon = icon;
    if (m_observer)
        m_observer->rowChanged(row);
}

void PhoneBookList::removeAt(int row)
{
    if (row < 0 || row >= size())
        return;
    if (m_observer)
        m_observer->beginRemoveRows(row, row);
    m_rows.erase(m_rows.begin() + row);
    if (m_observer)
        m_observer->endRemoveRows();
}

void PhoneBookList::clear()
{
    if (m_observer)
        m_observer->beginResetRows();
    m_rows.clear();
    if (m_observer)
        m_observer->endResetRows();
}
