#pragma once

#include "FileDescriptor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Hands out CAPI application ids. libcapi20 keeps its table of application
// ids in shared memory for every process of the machine, so two exchanges
// running side by side must never hand out the same id: each one owns a
// block of 16 ids, claimed with flock() on a lock file that stays open while
// it serves.
class ApplIdAllocator
{
public:
    static constexpr unsigned kBlockSize = 16;
    static constexpr unsigned kBlockCount = 64;
    static constexpr uint16_t kMaxApplId = 1023;
    static constexpr const char* kLockDir = "/tmp/ringvakt-exchange-ids";

    // Claims the first free block from firstBlock upwards (wrapping) with a
    // lock file "block-<b>.lock" in lockDir. Null and an error when every
    // block is taken.
    static std::unique_ptr<ApplIdAllocator> claimBlock(const std::string& lockDir,
                                                       unsigned firstBlock, std::string& error);
    // Every id from firstId upwards (wrapping after 1023 to 1), no lock.
    static std::unique_ptr<ApplIdAllocator> fromFirstId(uint16_t firstId);

    // The next id, round robin, skipping those inUse says are taken; 0 when
    // every id is taken.
    uint16_t allocate(const std::function<bool(uint16_t)>& inUse);

    uint16_t lowest() const { return m_low; }
    uint16_t highest() const { return m_high; }
    // "17-32" for a block, "5-1023,1-4" for --first-appl-id 5.
    std::string describe() const;

private:
    ApplIdAllocator(uint16_t low, uint16_t high, uint16_t next, FileDescriptor lock);

    uint16_t m_low;
    uint16_t m_high;
    uint16_t m_first;
    uint16_t m_next;
    FileDescriptor m_lock;
};
