#pragma once

#include "callmonitor/CallMonitorCalls.h"
#include "callmonitor/CallMonitorParser.h"
#include "line/Line.h"
#include "line/LineRecovery.h"

#include <QTcpSocket>
#include <QTimer>
#include <deque>

// A router's call monitor as the line: a TCP connection (port 1012 on the
// routers that have one, switched on by dialling #96*5*) on which the router
// sends a text line for every call event. A RING becomes a call exactly as
// a CONNECT_IND would, with the router's connection id, and the CONNECT and
// DISCONNECT that follow it become the call's end (answered, with the
// extension and the length, or missed). A call whose end the connection did
// not live to carry ends Unknown.
//
// The call monitor is never fatal: a router that cannot be reached, refuses
// the port or drops the connection is the "no line" state, with its tries.
// A connection that carries nothing is normal (nobody calls); a router that
// vanished is found by TCP keepalive, never by a read timeout. Reading never
// blocks: the socket is read when it has data.
class CallMonitorLine : public Line
{
    Q_OBJECT
public:
    CallMonitorLine(QString host, quint16 port, LineTiming timing, QObject* parent = nullptr);
    ~CallMonitorLine() override;

    void setReport(std::function<void(const QString&)> report);

    // Connects (in the background); never fails.
    bool startUp() override;
    // Hands on the calls that arrived, in order.
    void poll() override;
    void switchOff() override;
    void switchOn() override;
    void shutDown() override;

    bool isLineLost() const override { return m_recovery.isLost(); }
    QDateTime lostAt() const override { return m_recovery.lostAt(); }
    // "samtalemonitor fritz.box:1012", in the language of the windows.
    QString displayName() const override;

    bool isConnected() const;
    int droppedLines() const { return m_parser.dropped(); }

private:
    void connectNow();
    void onConnected();
    void onReadyRead();
    // Parses what the socket holds; true when an event came of it.
    bool readAvailable();
    // Hands on one event: a call, or the end of one.
    void handOn(const CallMonitorEvent& event);
    void endAll();
    void onFailure(const QString& why, bool refused);
    void watchConnection();

    QString m_host;
    quint16 m_port;
    std::function<void(const QString&)> m_report;
    LineRecovery m_recovery;
    QTcpSocket m_socket;
    QTimer m_connectTimeout;
    CallMonitorParser m_parser;
    CallMonitorCalls m_calls;
    // What waits to be handed on, in order: events, and the loss of the
    // connection that carried them.
    struct Step
    {
        CallMonitorEvent event;
        bool connectionLost = false;
    };
    std::deque<Step> m_pending;
    bool m_on = false;
    bool m_refusalNoticed = false;
};
