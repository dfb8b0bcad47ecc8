#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One Ringvakt per user session: a lock file in the user's runtime
// directory. A lock left behind by a process that crashed, was killed or
// ended through the fatal exit is stale and is taken over, so it never
// outlives its process; so is a lock file that is empty or unreadable and
// older than a few seconds (a crash or a power loss between creating it and
// writing it), since a starting instance writes its lock at once.
class SingleInstance
{
public:
    enum class Result
    {
        Acquired,    // this process now holds the lock
        HeldByOther, // another live Ringvakt holds it
        Failed,      // the lock cannot be had at all; error() says why
    };

    // A lock file that cannot be read is taken for one being written by a
    // starting instance for this long.
    static constexpr int kUnreadableGraceMs = 5000;

    // The lock in $XDG_RUNTIME_DIR (or Qt's fallback for it).
    SingleInstance();
    explicit SingleInstance(const QString& lockPath);

    Result acquire();
    // Why the lock could not be had, after Failed.
    QString error() const { return m_error; }
    // Gives the lock up (also done when this object ends).
    void release();

    QString lockPath() const { return m_path; }

private:
    // True when what holds the lock path is a file nobody can be writing.
    bool isAbandoned() const;

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    QString m_error;
};
