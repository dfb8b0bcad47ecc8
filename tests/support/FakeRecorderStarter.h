#pragma once

#include "platform/RecorderStarter.h"

#include <QStringList>

namespace test {

// Records the files the recorder would have been started for.
class FakeRecorderStarter : public RecorderStarter
{
public:
    bool startRecorder(const QString& wavPath) override
    {
        started << wavPath;
        return true;
    }
    QStringList started;
};

} // namespace test
