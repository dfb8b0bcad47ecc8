#include "shell/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance()
    : SingleInstance(QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
                         .filePath(QStringLiteral("ringvakt.lock")))
{}

SingleInstance::SingleInstance(const QString& lockPath) : m_path(lockPath) {}

bool SingleInstance::acquire()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_path);
    // Stale only when its process is gone, never by age: a Ringvakt that
    // has run for a month still holds its lock.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

void SingleInstance::release()
{
    m_lock.reset();
}
