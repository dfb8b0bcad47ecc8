#include "calllog/CallLogModel.h"

#include "calllog/CallLog.h"
#include "calllog/ShownCaller.h"
#include "outcomes/CallOutcomes.h"
#include "platform/Cp1252.h"

namespace {

constexpr int kColumns = 6;
const char* const kCallLogTitles[] = {
    QT_TRANSLATE_NOOP("CallLogModel", "Dato"), QT_TRANSLATE_NOOP("CallLogModel", "Klokkeslett"),
    QT_TRANSLATE_NOOP("CallLogModel", "MSN"),  QT_TRANSLATE_NOOP("CallLogModel", "Hvem ringte"),
    QT_TRANSLATE_NOOP("CallLogModel", "Navn"),
};

// "2:15", and "1:02:15" for an hour or more.
QString lengthOf(int seconds)
{
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 % 60;
    const QString rest =
        QStringLiteral("%1:%2").arg(minutes).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (hours == 0)
        return rest;
    return QStringLiteral("%1:%2").arg(hours).arg(rest.rightJustified(5, QLatin1Char('0')));
}

} // namespace

CallLogModel::CallLogModel(CallLog& log, const CallOutcomes* outcomes, QObject* parent)
    : ObservedTableModel(parent), m_log(log), m_outcomes(outcomes)
{
    m_log.setObserver(this);
    if (m_outcomes) {
        connect(m_outcomes, &CallOutcomes::outcomeChanged, this, [this](int row) {
            emit dataChanged(index(row, kStatusColumn), index(row, kStatusColumn));
        });
    }
}

QString CallLogModel::statusText(const CallOutcome* outcome)
{
    if (!outcome)
        return {};
    switch (outcome->state) {
    case CallState::Answered:
        return tr("Besvart %1").arg(lengthOf(outcome->seconds));
    case CallState::Voicemail:
        return tr("Telefonsvarer %1").arg(lengthOf(outcome->seconds));
    case CallState::Missed:
        return tr("Ubesvart");
    case CallState::Ringing:
    case CallState::Unknown:
        break;
    }
    return {};
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
    return parent.isValid() ? 0 : kColumns;
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
        return ShownCaller::number(r.msn);
    case 3:
        return ShownCaller::number(r.callerNumber);
    case 4:
        return ShownCaller::name(r.callerName);
    case kStatusColumn:
        return statusText(m_outcomes ? m_outcomes->at(index.row()) : nullptr);
    default:
        return {};
    }
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return section == kStatusColumn ? tr("Status") : tr(kCallLogTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
