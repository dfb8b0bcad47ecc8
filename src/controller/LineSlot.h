#pragma once

#include "capi/CapiWorkers.h"
#include "line/LineCall.h"
#include "line/LineCallEnd.h"
#include "line/LineTiming.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class CapiApi;
class Clock;
class Line;
class LineKeeper;
struct Settings;

// What the lines are made with.
struct LineParts
{
    CapiApi& capi;
    const Clock& clock;
    // How patiently the line is kept, and whether CAPI registrations are
    // made in the background (the program) or at once (tests with a
    // scripted line).
    LineTiming timing;
    bool inBackground = true;
};

// The line the settings choose, through its life: made from the settings
// (CAPI, the router's call monitor, or calls from another desktop over
// MQTT), and replaced when they choose another kind or address. A line
// replaced while work of its own still runs on another thread is left to
// end that work and goes then; the CAPI lines share one place in the
// library (CapiWorkers), so the new one waits for it.
class LineSlot : public QObject
{
    Q_OBJECT
public:
    explicit LineSlot(LineParts parts, QObject* parent = nullptr);
    ~LineSlot() override;

    // What a fatal failure of a CAPI line does.
    void setFatalHandler(std::function<void(const QString&)> handler);

    // Makes the line the settings choose.
    void create(const Settings& settings);
    // True when the settings choose another line than the one there is.
    bool differs(const Settings& settings) const;
    // Ends the line there is and makes the one the settings choose.
    void replace(const Settings& settings);

    Line& line() { return *m_line; }
    const Line& line() const { return *m_line; }
    // The CAPI line, when that is the line.
    LineKeeper* capiLine() const;
    // True while a line (this one, or one replaced) still has work running
    // on another thread.
    bool backgroundWorkRunning() const;

signals:
    void stateChanged();
    void notice(const QString& text);
    void incomingCall(const LineCall& call);
    void callEnded(const LineCallEnd& end);
    void callsWaiting();

private:
    LineParts m_parts;
    std::function<void(const QString&)> m_fatal;
    CapiWorkers m_capiWorkers;
    std::unique_ptr<Line> m_line;
    // What the line was built from.
    QString m_choice;
    // Lines replaced while work of theirs still ran; each deletes itself
    // when that work ends.
    std::vector<QPointer<Line>> m_retired;
};
