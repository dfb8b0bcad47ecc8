#pragma once

#include <QString>

// Starts the sound recorder for one file and does not wait for it. Behind an
// interface so that tests can see what would have been started.
class RecorderStarter
{
public:
    virtual ~RecorderStarter() = default;
    // True when the recorder was started. The path is always a file inside
    // "sound/" (the windows build it through the sound-path rule).
    virtual bool startRecorder(const QString& wavPath) = 0;
};

// Starts `ringvakt-recorder /NEW <path>` detached, with an argument vector,
// never through a shell: whatever the path holds, it is one argument. The
// recorder is looked for beside the program's own executable first, then
// on PATH.
class ProcessRecorderStarter : public RecorderStarter
{
public:
    ProcessRecorderStarter();
    // A given program, for tests.
    explicit ProcessRecorderStarter(QString program);

    bool startRecorder(const QString& wavPath) override;

    // Where the recorder was found; empty when nowhere.
    QString program() const { return m_program; }

    static QString findRecorder();

private:
    QString m_program;
};
