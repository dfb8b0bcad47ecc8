#include "shell/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

SingleInstance::SingleInstance()
    : SingleInstance(QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
                         .filePath(QStringLiteral("ringvakt.lock")))
{}

SingleInstance::SingleInstance(const QString& lockPath) : m_path(lockPath) {}

SingleInstance::Result SingleInstance::acquire()
{
    m_error.clear();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_path);
    // Stale only when its process is gone, never by age: a Ringvakt that
    // has run for a month still holds its lock.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Result::Acquired;

    if (m_lock->error() == QLockFile::LockFailedError) {
        if (QFileInfo(m_path).isDir()) {
            m_error =
                QStringLiteral("%1 is a directory; remove it so that Ringvakt can run").arg(m_path);
            return Result::Failed;
        }
        if (!isAbandoned())
            return Result::HeldByOther;
        // QLockFile takes a lock it cannot read for a live one: taken over
        // here, as a lock of a process that is gone would be.
        m_lock->removeStaleLockFile();
        if (m_lock->tryLock(0))
            return Result::Acquired;
        if (m_lock->error() == QLockFile::LockFailedError)
            return Result::HeldByOther;
    }
    m_error = QStringLiteral("cannot create the lock %1 (check that its directory is yours "
                             "and writable)")
                  .arg(m_path);
    return Result::Failed;
}

bool SingleInstance::isAbandoned() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->getLockInfo(&pid, &host, &application))
        return false; // a lock that names its process is QLockFile's to judge
    const QFileInfo info(m_path);
    return info.lastModified().msecsTo(QDateTime::currentDateTime()) > kUnreadableGraceMs;
}

void SingleInstance::release()
{
    m_lock.reset();
}
