#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One Ringvakt per user session: a lock file in the user's runtime
// directory. A lock left behind by a process that crashed, was killed or
// ended through the fatal exit is stale and is taken over, so it never
// outlives its process.
class SingleInstance
{
public:
    // The lock in $XDG_RUNTIME_DIR (or Qt's fallback for it).
    SingleInstance();
    explicit SingleInstance(const QString& lockPath);

    // True when this process now holds the lock; false when another live
    // Ringvakt holds it.
    bool acquire();
    // Gives the lock up (also done when this object ends).
    void release();

    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
