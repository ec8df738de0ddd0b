#include "io/temp_file_table.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

namespace morvane::temp_files {

namespace {

// A slot is claimed by compare-and-swap before it is written or unlinked, so a handler never
// reads a path while a thread is copying another into the same slot. A slot the handler claimed
// stays claimed: the process is about to end.
enum SlotState : int { kFree, kFilling, kLive, kClaimed };

constexpr int kSlots = 256;
constexpr std::size_t kPathBytes = 4096;

struct Slot {
    std::atomic<int> state{kFree};
    char path[kPathBytes];
};

Slot table[kSlots];

// Threads between making a temporary file and recording it, and whether the process is ending. A
// handler on one thread waits for another thread's file to be recorded before it removes the
// table's files, so no file made in that moment is left behind.
std::atomic<int> creating{0};
std::atomic<bool> ending{false};
constexpr long kCreationWaitSpins = 200'000'000;

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free slots");

}  // namespace

bool add(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length >= kPathBytes) return false;
    for (Slot& slot : table) {
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slot.path, path, length + 1);
        slot.state.store(kLive, std::memory_order_release);
        return true;
    }
    return false;
}

void forget(const char* path) {
    for (Slot& slot : table) {
        if (slot.state.load(std::memory_order_acquire) != kLive) continue;
        if (std::strcmp(slot.path, path) != 0) continue;
        int expected = kLive;
        if (slot.state.compare_exchange_strong(expected, kFilling)) slot.state.store(kFree);
        return;
    }
}

bool beginCreate() {
    creating.fetch_add(1);
    if (!ending.load()) return true;
    creating.fetch_sub(1);
    return false;
}

void endCreate() {
    creating.fetch_sub(1);
}

void removeAll() {
    ending.store(true);
    for (long spin = 0; creating.load() != 0 && spin < kCreationWaitSpins; ++spin) {
    }
    for (Slot& slot : table) {
        int expected = kLive;
        if (slot.state.compare_exchange_strong(expected, kClaimed)) unlink(slot.path);
    }
}

}  // namespace morvane::temp_files
