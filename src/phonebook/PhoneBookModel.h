#pragma once

#include "platform/ObservedTableModel.h"

class PhoneBookList;

// The phone book list as a table of three columns (surname, first name,
// number), row for row as the list keeps them in surname order. The first
// column carries the row's sound icon: the loudspeaker when the number has a
// personal sound, the crossed-out loudspeaker when it has none. The model
// holds nothing of its own.
class PhoneBookModel : public ObservedTableModel
{
    Q_OBJECT
public:
    static constexpr int kColumns = 3;
    static constexpr int kNoSoundIcon = 117;
    static constexpr int kSoundIcon = 111;

    explicit PhoneBookModel(PhoneBookList& list, QObject* parent = nullptr);
    ~PhoneBookModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    PhoneBookList& m_list;
};
