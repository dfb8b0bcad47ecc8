#include "callmonitor/CallMonitorLine.h"

#include "line/KeepAlive.h"
#include "platform/Report.h"

#include <QCoreApplication>

CallMonitorLine::CallMonitorLine(QString host, quint16 port, LineTiming timing, QObject* parent)
    : Line(parent), m_host(std::move(host)), m_port(port), m_report(reportToStandardError),
      m_recovery(std::move(timing), [this] { connectNow(); })
{
    m_connectTimeout.setSingleShot(true);
    connect(&m_connectTimeout, &QTimer::timeout, this, [this] {
        // A host that swallows the connection attempt: given up like a
        // refused one, and tried again later.
        m_socket.abort();
        onFailure(QStringLiteral("no answer from %1:%2").arg(m_host).arg(m_port), false);
    });
    connect(&m_socket, &QTcpSocket::connected, this, &CallMonitorLine::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &CallMonitorLine::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            return; // reported by disconnected
        onFailure(m_socket.errorString(), e == QAbstractSocket::ConnectionRefusedError);
    });
    connect(&m_socket, &QTcpSocket::disconnected, this,
            [this] { onFailure(QStringLiteral("the call monitor closed the connection"), false); });
}

CallMonitorLine::~CallMonitorLine()
{
    m_on = false;
    m_socket.abort();
}

void CallMonitorLine::setReport(std::function<void(const QString&)> report)
{
    m_report = report;
    m_recovery.setReport(std::move(report));
}

QString CallMonitorLine::displayName() const
{
    // Shown in the tray's tooltip.
    return QCoreApplication::translate("TrayIcon", "samtalemonitor %1:%2").arg(m_host).arg(m_port);
}

bool CallMonitorLine::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool CallMonitorLine::startUp()
{
    switchOn();
    return true;
}

void CallMonitorLine::switchOn()
{
    if (m_on)
        return;
    m_on = true;
    connectNow();
}

void CallMonitorLine::switchOff()
{
    m_on = false;
    m_recovery.stop();
    m_connectTimeout.stop();
    m_socket.abort();
    m_pending.clear();
    endAll();
    emit stateChanged();
}

void CallMonitorLine::shutDown()
{
    switchOff();
}

void CallMonitorLine::connectNow()
{
    if (!m_on)
        return;
    m_socket.abort();
    m_parser.reset();
    m_connectTimeout.start(m_recovery.timing().callLimitMs);
    m_socket.connectToHost(m_host, m_port);
}

void CallMonitorLine::onConnected()
{
    m_connectTimeout.stop();
    watchConnection();
    m_recovery.back();
    emit stateChanged();
}

void CallMonitorLine::watchConnection()
{
    // A router that lost its power says nothing: the connection is probed
    // after a minute of silence and given up after five unanswered probes.
    keepConnectionAlive(int(m_socket.socketDescriptor()), m_recovery.timing());
}

void CallMonitorLine::onReadyRead()
{
    if (readAvailable())
        emit callsWaiting();
}

bool CallMonitorLine::readAvailable()
{
    if (m_socket.bytesAvailable() <= 0)
        return false;
    const QByteArray bytes = m_socket.readAll();
    bool any = false;
    for (CallMonitorEvent& event :
         m_parser.feed(std::string_view(bytes.constData(), size_t(bytes.size())))) {
        m_pending.push_back({std::move(event), false});
        any = true;
    }
    return any;
}

void CallMonitorLine::handOn(const CallMonitorEvent& event)
{
    if (const std::optional<LineCallEnd> end = m_calls.follow(event))
        emit callEnded(*end);
    if (event.kind != CallMonitorEvent::Kind::Ring)
        return;
    LineCall call = LineCall::fromTextNumbers(event.caller, event.called);
    call.connectionId = QString::fromStdString(event.connectionId);
    emit incomingCall(call);
}

void CallMonitorLine::endAll()
{
    for (const LineCallEnd& end : m_calls.lose())
        emit callEnded(end);
}

void CallMonitorLine::poll()
{
    // One call at a time, in the order they rang; each is handled to the
    // end (sounds included) before the next. What came in meanwhile is read
    // here too: the socket does not announce data again while its last
    // announcement is being handled.
    readAvailable();
    while (!m_pending.empty() && m_on) {
        const Step step = std::move(m_pending.front());
        m_pending.pop_front();
        if (step.connectionLost)
            endAll();
        else
            handOn(step.event);
        if (m_pending.empty())
            readAvailable();
    }
}

void CallMonitorLine::onFailure(const QString& why, bool refused)
{
    if (!m_on)
        return;
    m_connectTimeout.stop();
    if (refused && !m_refusalNoticed) {
        m_refusalNoticed = true;
        m_report(QStringLiteral("the call monitor at %1:%2 refuses the connection; it is switched "
                                "on by dialling #96*5* on a telephone connected to the router")
                     .arg(m_host)
                     .arg(m_port));
        emit notice(QCoreApplication::translate("TrayIcon",
                                                "Samtalemonitoren på %1:%2 svarer ikke.\n"
                                                "Den slås på ved å ringe #96*5* fra en telefon "
                                                "som er koblet til ruteren.")
                        .arg(m_host)
                        .arg(m_port));
    }
    // Several reports of one failure (an error, then the disconnect)
    // schedule one try.
    if (m_recovery.retryPending())
        return;
    // The calls not yet ended are lost with the connection, after the
    // events it carried before.
    if (!m_pending.empty() || m_calls.open() > 0) {
        m_pending.push_back({CallMonitorEvent(), true});
        emit callsWaiting();
    }
    m_recovery.lost(why);
    emit stateChanged();
}
