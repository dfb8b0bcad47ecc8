#pragma once

#include <QObject>
#include <atomic>
#include <memory>

// The one place for a worker inside libcapi20, whose state is the whole
// process's: a line that replaces another (the settings changed from CAPI
// to the call monitor and back) waits until the work of the one it
// replaced has ended. Used on the program's thread only; the count of
// workers given up is shared with them.
class CapiWorkers : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes the place for `owner`; false while another owner has it.
    bool acquire(const void* owner);
    // Gives the place back; waiting owners are told (freed).
    void release(const void* owner);
    bool heldBy(const void* owner) const { return m_owner == owner; }

    // A worker given up because it did not end in time counts here until
    // it ends; the process must not tear down what it may still use.
    std::shared_ptr<std::atomic<int>> givenUp() const { return m_givenUp; }
    bool givenUpRunning() const { return m_givenUp->load() > 0; }

signals:
    void freed();

private:
    const void* m_owner = nullptr;
    std::shared_ptr<std::atomic<int>> m_givenUp = std::make_shared<std::atomic<int>>(0);
};
