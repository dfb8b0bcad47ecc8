#include "ApplIdAllocator.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

ApplIdAllocator::ApplIdAllocator(uint16_t low, uint16_t high, uint16_t next, FileDescriptor lock)
    : m_low(low), m_high(high), m_first(next), m_next(next), m_lock(std::move(lock))
{}

std::unique_ptr<ApplIdAllocator>
ApplIdAllocator::claimBlock(const std::string& lockDir, unsigned firstBlock, std::string& error)
{
    // Every user's exchanges share the folder, as they share libcapi20's
    // table: make it writable for all, like /tmp itself.
    if (::mkdir(lockDir.c_str(), 01777) == 0)
        ::chmod(lockDir.c_str(), 01777);

    std::string lastError = "no block tried";
    for (unsigned i = 0; i < kBlockCount; ++i) {
        const unsigned block = (firstBlock + i) % kBlockCount;
        const std::string path = lockDir + "/block-" + std::to_string(block) + ".lock";
        FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        if (!fd.valid()) {
            lastError = path + ": " + std::strerror(errno);
            continue;
        }
        ::fchmod(fd.get(), 0666); // the umask must not lock other users out
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            lastError = "every block is in use";
            continue;
        }
        // Block 63 would reach 1024, which is no valid application id.
        const auto low = uint16_t(block * kBlockSize + 1);
        const auto high = uint16_t(std::min<unsigned>(low + kBlockSize - 1, kMaxApplId));
        return std::unique_ptr<ApplIdAllocator>(new ApplIdAllocator(low, high, low, std::move(fd)));
    }
    error = "cannot claim a block of application ids in " + lockDir + ": " + lastError;
    return nullptr;
}

std::unique_ptr<ApplIdAllocator> ApplIdAllocator::fromFirstId(uint16_t firstId)
{
    return std::unique_ptr<ApplIdAllocator>(
        new ApplIdAllocator(1, kMaxApplId, firstId, FileDescriptor()));
}

uint16_t ApplIdAllocator::allocate(const std::function<bool(uint16_t)>& inUse)
{
    const unsigned count = unsigned(m_high - m_low) + 1;
    for (unsigned i = 0; i < count; ++i) {
        const uint16_t id = m_next;
        m_next = id == m_high ? m_low : uint16_t(id + 1);
        if (!inUse(id))
            return id;
    }
    return 0;
}

std::string ApplIdAllocator::describe() const
{
    if (m_first == m_low)
        return std::to_string(m_low) + "-" + std::to_string(m_high);
    return std::to_string(m_first) + "-" + std::to_string(m_high) + "," + std::to_string(m_low) +
           "-" + std::to_string(m_first - 1);
}
