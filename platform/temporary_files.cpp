#include "platform/temporary_files.hpp"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

namespace zelvo {
namespace {

constexpr std::size_t kSlots = 16;
constexpr std::size_t kPathBytes = 4096;

// A slot is free (0), being filled (1) or holds a path the handler may remove (2). Only what a
// signal handler may touch is used there: lock-free atomics, fixed buffers, unlink and _exit.
enum : int { kFree = 0, kFilling = 1, kNoted = 2 };
std::array<std::atomic<int>, kSlots> states{};
std::array<std::array<char, kPathBytes>, kSlots> paths{};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void removeNotedAndExit(int signal) {
    for (std::size_t i = 0; i < kSlots; ++i)
        if (states[i].load(std::memory_order_acquire) == kNoted) ::unlink(paths[i].data());
    ::_exit(128 + signal);
}

}  // namespace

int noteTemporaryFile(const std::string& path) {
    if (path.empty() || path.size() >= kPathBytes) return -1;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!states[i].compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(paths[i].data(), path.c_str(), path.size() + 1);
        states[i].store(kNoted, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

void forgetTemporaryFile(int ticket) {
    if (ticket >= 0 && static_cast<std::size_t>(ticket) < kSlots) states[ticket].store(kFree, std::memory_order_release);
}

void removeTemporaryFilesOnSignals() {
    struct sigaction action {};
    action.sa_handler = removeNotedAndExit;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace zelvo
