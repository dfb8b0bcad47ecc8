#include "line/RetryTimer.h"

#include <QTimer>

namespace {

class QtRetryTimer : public RetryTimer
{
public:
    explicit QtRetryTimer(std::function<void()> fire)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(fire));
    }
    void start(int milliseconds) override { m_timer.start(milliseconds); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<RetryTimer> makeQtRetryTimer(std::function<void()> fire)
{
    return std::make_unique<QtRetryTimer>(std::move(fire));
}
