#include "controller/LineSlot.h"

#include "callmonitor/CallMonitorLine.h"
#include "capi/LineKeeper.h"
#include "controller/SharingSettings.h"
#include "line/Line.h"
#include "platform/Cp1252.h"
#include "settings/Settings.h"
#include "sharing/MqttLine.h"

#include <algorithm>

namespace {

// What the line is built from; a change of it replaces the line.
QString lineChoiceOf(const Settings& s)
{
    if (s.LINE == LineKind::Mqtt)
        return QStringLiteral("mqtt\n") + connectionChoiceOf(sharingConfigOf(s));
    if (s.LINE != LineKind::CallMonitor)
        return QStringLiteral("capi");
    return QStringLiteral("callmonitor %1:%2")
        .arg(cp1252::toQString(s.CALLMONITOR_HOST))
        .arg(s.CALLMONITOR_PORT);
}

} // namespace

LineSlot::LineSlot(LineParts parts, QObject* parent) : QObject(parent), m_parts(std::move(parts)) {}

LineSlot::~LineSlot()
{
    // Before the place in the library they share goes.
    m_line.reset();
    for (const QPointer<Line>& line : m_retired)
        delete line.data();
}

void LineSlot::setFatalHandler(std::function<void(const QString&)> handler)
{
    m_fatal = std::move(handler);
}

void LineSlot::create(const Settings& s)
{
    m_choice = lineChoiceOf(s);
    if (s.LINE == LineKind::CallMonitor) {
        m_line = std::make_unique<CallMonitorLine>(cp1252::toQString(s.CALLMONITOR_HOST),
                                                   quint16(s.CALLMONITOR_PORT), m_parts.timing);
    } else if (s.LINE == LineKind::Mqtt) {
        auto line = std::make_unique<MqttLine>(sharingConfigOf(s), m_parts.timing);
        // A received call's own time is compared with the clock its row is
        // written with.
        line->setClock(m_parts.clock);
        m_line = std::move(line);
    } else {
        // Any other value is the line of old.
        auto keeper = std::make_unique<LineKeeper>(
            m_parts.capi, m_parts.timing,
            m_parts.inBackground ? LineKeeper::Execution::Thread : LineKeeper::Execution::Inline,
            &m_capiWorkers);
        keeper->setFatalHandler([this](const QString& text) {
            if (m_fatal)
                m_fatal(text);
        });
        m_line = std::move(keeper);
    }
    connect(m_line.get(), &Line::notice, this, &LineSlot::notice);
    connect(m_line.get(), &Line::stateChanged, this, &LineSlot::stateChanged);
    connect(m_line.get(), &Line::incomingCall, this, &LineSlot::incomingCall);
    connect(m_line.get(), &Line::callEnded, this, &LineSlot::callEnded);
    connect(m_line.get(), &Line::callsWaiting, this, &LineSlot::callsWaiting);
}

bool LineSlot::differs(const Settings& settings) const
{
    return lineChoiceOf(settings) != m_choice;
}

void LineSlot::replace(const Settings& settings)
{
    m_line->shutDown();
    if (m_line->backgroundWorkRunning()) {
        // Not waited for: it goes when its work has ended.
        Line* old = m_line.release();
        old->disconnect(this);
        old->setParent(this);
        connect(old, &Line::backgroundWorkEnded, old, &QObject::deleteLater);
        // Those that have gone are forgotten.
        m_retired.erase(std::remove_if(m_retired.begin(), m_retired.end(),
                                       [](const QPointer<Line>& line) { return !line; }),
                        m_retired.end());
        m_retired.push_back(old);
    } else {
        m_line.reset();
    }
    create(settings);
}

LineKeeper* LineSlot::capiLine() const
{
    return qobject_cast<LineKeeper*>(m_line.get());
}

bool LineSlot::backgroundWorkRunning() const
{
    if (m_line && m_line->backgroundWorkRunning())
        return true;
    // A worker given up because it never ended may still be in the library.
    if (m_capiWorkers.givenUpRunning())
        return true;
    return std::any_of(m_retired.begin(), m_retired.end(), [](const QPointer<Line>& line) {
        return line && line->backgroundWorkRunning();
    });
}
