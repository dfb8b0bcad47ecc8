#include "outcomes/CallOutcomes.h"

#include "calllog/CallLog.h"
#include "platform/Report.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <iterator>

CallOutcomes::CallOutcomes(CallLog& log, QObject* parent)
    : QObject(parent), m_log(log), m_rows(size_t(log.size()))
{
    m_report = reportToStandardError;
    m_log.setCompanion(this);
}

CallOutcomes::~CallOutcomes()
{
    m_log.setCompanion(nullptr);
}

QString CallOutcomes::filePath() const
{
    return QDir(m_log.dataDir()).filePath(QString::fromLatin1(outcomefile::kFileName));
}

void CallOutcomes::setReport(std::function<void(const QString&)> report)
{
    m_report = std::move(report);
}

void CallOutcomes::load()
{
    std::string bytes;
    const FileReadState state = readWholeFile(filePath(), &bytes);
    if (state == FileReadState::Missing)
        return;
    if (state == FileReadState::Unreadable) {
        report(QStringLiteral("%1 cannot be read: the calls are shown without their status")
                   .arg(QDir::toNativeSeparators(filePath())));
        return;
    }
    int badLine = 0;
    const std::optional<std::vector<outcomefile::Entry>> entries =
        outcomefile::parse(bytes, &badLine);
    if (!entries) {
        report(QStringLiteral("%1 is damaged (line %2): the calls are shown without their "
                              "status until it is written anew")
                   .arg(QDir::toNativeSeparators(filePath()))
                   .arg(badLine));
        return;
    }
    const std::vector<int> rows = outcomefile::matchRows(*entries, m_log);
    bool missed = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] < 0)
            continue;
        m_rows[size_t(rows[i])] =
            std::make_unique<Followed>(Followed{(*entries)[i].outcome, m_nextHandle++});
        missed = missed || (*entries)[i].outcome.unseenMiss();
        emit outcomeChanged(rows[i]);
    }
    if (missed)
        emit missedChanged();
}

bool CallOutcomes::save()
{
    std::string bytes;
    outcomefile::appendHeader(bytes);
    for (int row = 0; row < m_log.size() && size_t(row) < m_rows.size(); ++row) {
        const Followed* followed = m_rows[size_t(row)].get();
        if (followed && followed->outcome.lasting() && outcomefile::canName(m_log.at(row)))
            outcomefile::appendEntry(bytes, m_log.at(row), followed->outcome);
    }
    if (replaceFileAtomically(filePath(), bytes)) {
        m_saveFailed = false;
        return true;
    }
    if (!m_saveFailed)
        report(QStringLiteral("could not write %1; the calls' status is kept in memory")
                   .arg(QDir::toNativeSeparators(filePath())));
    m_saveFailed = true;
    return false;
}

const CallOutcome* CallOutcomes::at(int row) const
{
    if (row < 0 || size_t(row) >= m_rows.size() || !m_rows[size_t(row)])
        return nullptr;
    return &m_rows[size_t(row)]->outcome;
}

quint64 CallOutcomes::follow(int row, CallOutcome outcome)
{
    set(row, std::move(outcome));
    const bool known = row >= 0 && size_t(row) < m_rows.size() && m_rows[size_t(row)];
    return known ? m_rows[size_t(row)]->handle : 0;
}

int CallOutcomes::rowOf(quint64 handle) const
{
    // The calls followed are the latest: looked for from the end.
    for (int row = int(m_rows.size()) - 1; row >= 0 && handle != 0; --row) {
        if (m_rows[size_t(row)] && m_rows[size_t(row)]->handle == handle)
            return row;
    }
    return -1;
}

int CallOutcomes::rowOfCallId(const QString& callId) const
{
    for (int row = int(m_rows.size()) - 1; row >= 0 && !callId.isEmpty(); --row) {
        if (m_rows[size_t(row)] && m_rows[size_t(row)]->outcome.callId == callId)
            return row;
    }
    return -1;
}

void CallOutcomes::set(int row, CallOutcome outcome)
{
    if (row < 0 || size_t(row) >= m_rows.size())
        return;
    std::unique_ptr<Followed>& slot = m_rows[size_t(row)];
    const bool wasLasting = slot && slot->outcome.lasting();
    const bool wasMissed = slot && slot->outcome.unseenMiss();
    if (!slot)
        slot = std::make_unique<Followed>(Followed{CallOutcome(), m_nextHandle++});
    slot->outcome = std::move(outcome);
    const bool lasting = slot->outcome.lasting();
    const bool missed = slot->outcome.unseenMiss();
    if (lasting || wasLasting)
        save();
    emit outcomeChanged(row);
    if (missed != wasMissed)
        emit missedChanged();
}

int CallOutcomes::unseenMissed() const
{
    int count = 0;
    for (const std::unique_ptr<Followed>& followed : m_rows)
        count += followed && followed->outcome.unseenMiss() ? 1 : 0;
    return count;
}

int CallOutcomes::lastUnseenMissed() const
{
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        if (m_rows[size_t(row)] && m_rows[size_t(row)]->outcome.unseenMiss())
            return row;
    }
    return -1;
}

void CallOutcomes::markSeen()
{
    bool changed = false;
    for (const std::unique_ptr<Followed>& followed : m_rows) {
        if (followed && followed->outcome.unseenMiss()) {
            followed->outcome.seen = true;
            changed = true;
        }
    }
    if (!changed)
        return;
    save();
    emit missedChanged();
}

void CallOutcomes::beginInsertRows(int first, int last)
{
    m_first = first;
    m_last = last;
}

void CallOutcomes::endInsertRows()
{
    std::vector<std::unique_ptr<Followed>> none(size_t(m_last - m_first + 1));
    m_rows.insert(m_rows.begin() + m_first, std::make_move_iterator(none.begin()),
                  std::make_move_iterator(none.end()));
}

void CallOutcomes::beginRemoveRows(int first, int last)
{
    m_first = first;
    m_last = last;
}

void CallOutcomes::endRemoveRows()
{
    const auto begin = m_rows.begin() + m_first;
    const auto end = m_rows.begin() + m_last + 1;
    bool lasting = false;
    bool missed = false;
    for (auto it = begin; it != end; ++it) {
        lasting = lasting || (*it && (*it)->outcome.lasting());
        missed = missed || (*it && (*it)->outcome.unseenMiss());
    }
    m_rows.erase(begin, end);
    // The file follows the rows at once: a deleted call's outcome goes too.
    if (lasting)
        save();
    if (missed)
        emit missedChanged();
}

void CallOutcomes::beginResetRows()
{
    // The rows are still those of before: each outcome is taken with its
    // row's fields, to find its row again among the new ones.
    m_resetting.clear();
    m_resettingHandles.clear();
    for (int row = 0; row < m_log.size() && size_t(row) < m_rows.size(); ++row) {
        const Followed* followed = m_rows[size_t(row)].get();
        if (!followed)
            continue;
        const CallRecord& r = m_log.at(row);
        m_resetting.push_back({r.date, r.time, r.msn, r.callerNumber, followed->outcome});
        m_resettingHandles.push_back(followed->handle);
    }
}

void CallOutcomes::endResetRows()
{
    m_rows.clear();
    m_rows.resize(size_t(m_log.size()));
    const std::vector<int> rows = outcomefile::matchRows(m_resetting, m_log);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] >= 0)
            m_rows[size_t(rows[i])] = std::make_unique<Followed>(
                Followed{std::move(m_resetting[i].outcome), m_resettingHandles[i]});
    }
    m_resetting.clear();
    m_resettingHandles.clear();
    emit missedChanged();
}
