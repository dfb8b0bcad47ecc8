#include "FakeNotificationProcess.h"

#include "support/FileUtil.h"

#include <gtest/gtest.h>

namespace test {

bool FakeNotificationProcess::start(const QString& busAddress, const QString& log)
{
    m_log = log;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
    m_process.setProcessEnvironment(env);
    m_process.start(qEnvironmentVariable("RINGVAKT_BUILD_DIR") +
                        "/tests/notify/ringvakt-fake-notifications",
                    {log});
    if (!m_process.waitForReadyRead(10000) ||
        m_process.readAllStandardOutput().trimmed() != "ready") {
        ADD_FAILURE() << "the notification service did not come up";
        return false;
    }
    return true;
}

FakeNotificationProcess::~FakeNotificationProcess()
{
    m_process.kill();
    m_process.waitForFinished();
}

QStringList FakeNotificationProcess::lines() const
{
    return QString::fromStdString(readFile(m_log)).split('\n', Qt::SkipEmptyParts);
}

} // namespace test
