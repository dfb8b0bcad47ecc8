#include "calllog/CallLogModel.h"

#include "calllog/CallLog.h"
#include "platform/Cp1252.h"

namespace {
const char* const kTitles[] = {"Dato", "Klokkeslett", "MSN", "Hvem ringte", "Navn"};
}

CallLogModel::CallLogModel(CallLog& log, QObject* parent) : ObservedTableModel(parent), m_log(log)
{
    m_log.setObserver(this);
}

CallLogModel::~CallLogModel()
{
    m_log.setObserver(nullptr);
}

int CallLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_log.size();
}

int CallLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

QVariant CallLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_log.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const CallRecord& r = m_log.at(index.row());
    switch (index.column()) {
    case 0:
        return cp1252::toQString(r.date);
    case 1:
        return cp1252::toQString(r.time);
    case 2:
        return cp1252::toQString(r.msn);
    case 3:
        return cp1252::toQString(r.callerNumber);
    case 4:
        return cp1252::toQString(r.callerName);
    default:
        return {};
    }
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= 5)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
